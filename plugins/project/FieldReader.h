// Sequential reads of the fields of a chunk's byte stream, never past a limit (the end of
// the chunk, or of the file where the old layouts ignore chunk sizes).
#pragma once

#include "common/platform/InputFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

class TFieldReader
{
public:
    TFieldReader(TInputFile &file, uint64_t limit) : File(file), Limit(limit) {}

    uint64_t Remaining() const { return File.Position() < Limit ? Limit - File.Position() : 0; }

    bool ReadU8(uint8_t &value);
    bool ReadU32(uint32_t &value);
    bool ReadBytes(void *buffer, uint64_t count);
    // A NUL-terminated string; keeps at most keep bytes of it but always consumes it
    // whole. False when no NUL comes before the limit.
    bool ReadString(std::string &text, size_t keep = SIZE_MAX);

private:
    TInputFile &File;
    uint64_t Limit;
};
