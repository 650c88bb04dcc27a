// A regular file opened for reading, with 64-bit sizes and positions. Every read is
// bounded by the file's size as it was when opened.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

class TInputFile
{
public:
    TInputFile() = default;
    ~TInputFile() { Close(); }
    TInputFile(const TInputFile &) = delete;
    TInputFile &operator=(const TInputFile &) = delete;

    // Opens a regular file; false when it cannot be opened or is not a regular file.
    bool Open(const char *path);
    void Close();
    bool IsOpen() const { return Stream != nullptr; }

    uint64_t Size() const { return FileSize; }
    uint64_t Position() const { return Offset; }
    uint64_t Remaining() const { return FileSize - Offset; }

    // Moves to offset (at most Size()); false on failure.
    bool Seek(uint64_t offset);
    bool Skip(uint64_t count) { return count <= Remaining() && Seek(Offset + count); }

    // Reads up to count bytes; returns how many were read.
    size_t Read(void *buffer, size_t count);
    // Reads exactly count bytes; false (position unspecified) when fewer are there.
    bool ReadExact(void *buffer, size_t count) { return Read(buffer, count) == count; }
    // The next byte, or -1 at the end of the file or on a read error.
    int ReadByte();

private:
    std::FILE *Stream = nullptr;
    uint64_t FileSize = 0;
    uint64_t Offset = 0;
};
