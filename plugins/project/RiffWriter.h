// Writing RIFF chunks whose sizes are known before they are written: each chunk is begun
// with its data size, filled, and ended, which checks that exactly that many bytes went
// in and adds the pad byte after an odd size. Nothing is ever patched afterwards, so the
// output streams straight to the file.
#pragma once

#include <cstddef>
#include <cstdint>

class TReplacingFile;

class TRiffWriter
{
public:
    explicit TRiffWriter(TReplacingFile &output) : Output(output) {}

    bool BeginChunk(uint32_t id, uint32_t size);
    // A "RIFF" form or "LIST": size counts the type and every sub-chunk with its pad.
    bool BeginList(uint32_t id, uint32_t listType, uint32_t size);
    bool Write(const void *data, size_t count);
    bool EndChunk();

    // One whole chunk holding data.
    bool WriteChunk(uint32_t id, const void *data, uint32_t size);

    // False once any write failed or a chunk got more or fewer bytes than it declared.
    bool Ok() const { return !Failed; }

private:
    struct TOpenChunk {
        uint64_t Declared;
        uint64_t Written;
    };
    static constexpr int MaxDepth = 4;

    bool Emit(const void *data, size_t count);
    bool Fail()
    {
        Failed = true;
        return false;
    }

    TReplacingFile &Output;
    TOpenChunk Open[MaxDepth] = {};
    int Depth = 0;
    bool Failed = false;
};
