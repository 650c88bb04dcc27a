// The machine's physical memory as the about box shows it: total, available and the share
// in use. Read from /proc/meminfo here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct TMemoryStatus {
    uint64_t TotalPhysical = 0; // bytes
    uint64_t AvailPhysical = 0; // bytes
    uint32_t MemoryLoad = 0;    // percent in use, 0..100
};

// The status of this machine; nothing when it cannot be read.
std::optional<TMemoryStatus> ReadMemoryStatus();
// The status from the text of /proc/meminfo ("MemTotal:  16303412 kB" lines); nothing when
// the total is missing. Without "MemAvailable" (old kernels) free, buffers and cache count.
std::optional<TMemoryStatus> ParseMemInfo(const std::string &text);
