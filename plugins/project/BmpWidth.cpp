#include "plugins/project/BmpWidth.h"

#include "common/platform/InputFile.h"
#include "plugins/project/RiffFormat.h"

namespace
{

constexpr size_t FileHeaderSize = 14;
constexpr size_t CoreHeaderSize = 12; // the old OS/2 header with 16-bit sizes
constexpr size_t ReadAhead = FileHeaderSize + 40;

bool IsBitCount(uint32_t bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool IsInfoHeaderSize(uint32_t size)
{
    return size == 16 || size == 40 || size == 52 || size == 56 || size == 64 || size == 108 ||
           size == 124;
}

} // namespace

bool ParseBmpWidth(const uint8_t *data, size_t size, uint64_t fileSize, uint32_t &width)
{
    if (size < FileHeaderSize + 4 || data[0] != 'B' || data[1] != 'M')
        return false;
    const uint32_t pixelOffset = LoadU32(data + 10);
    const uint32_t headerSize = LoadU32(data + 14);
    if (pixelOffset >= fileSize || pixelOffset < FileHeaderSize + headerSize)
        return false;

    if (headerSize == CoreHeaderSize) {
        if (size < FileHeaderSize + CoreHeaderSize)
            return false;
        const uint16_t w = LoadU16(data + 18);
        const uint16_t h = LoadU16(data + 20);
        if (w == 0 || h == 0 || LoadU16(data + 22) != 1 || !IsBitCount(LoadU16(data + 24)))
            return false;
        width = w;
        return true;
    }
    if (!IsInfoHeaderSize(headerSize) || size < FileHeaderSize + 16)
        return false;
    const auto w = static_cast<int32_t>(LoadU32(data + 18));
    const auto h = static_cast<int32_t>(LoadU32(data + 22));
    if (w <= 0 || h == 0 || LoadU16(data + 26) != 1 || !IsBitCount(LoadU16(data + 28)))
        return false;
    width = static_cast<uint32_t>(w);
    return true;
}

bool ReadBmpWidth(const char *path, uint32_t &width)
{
    TInputFile file;
    if (!file.Open(path))
        return false;
    uint8_t head[ReadAhead] = {};
    const size_t got = file.Read(head, sizeof head);
    return ParseBmpWidth(head, got, file.Size(), width);
}
