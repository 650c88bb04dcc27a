#include "MemoryStatus.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

std::optional<TMemoryStatus> ParseMemInfo(const std::string &text)
{
    std::map<std::string, uint64_t> kilobytes;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        std::istringstream value(line.substr(colon + 1));
        uint64_t amount = 0;
        // Beyond a petabyte the figures are no memory; capped, no sum or product overflows.
        if (value >> amount)
            kilobytes[line.substr(0, colon)] = std::min<uint64_t>(amount, uint64_t(1) << 40);
    }
    const auto total = kilobytes.find("MemTotal");
    if (total == kilobytes.end() || total->second == 0)
        return std::nullopt;
    uint64_t available = 0;
    if (const auto found = kilobytes.find("MemAvailable"); found != kilobytes.end())
        available = found->second;
    else
        available = kilobytes["MemFree"] + kilobytes["Buffers"] + kilobytes["Cached"];
    available = std::min(available, total->second);

    TMemoryStatus status;
    status.TotalPhysical = total->second * 1024;
    status.AvailPhysical = available * 1024;
    status.MemoryLoad = static_cast<uint32_t>((total->second - available) * 100 / total->second);
    return status;
}

std::optional<TMemoryStatus> ReadMemoryStatus()
{
    std::ifstream file("/proc/meminfo");
    if (!file)
        return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return ParseMemInfo(text.str());
}
