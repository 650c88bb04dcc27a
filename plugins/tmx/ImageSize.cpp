#include "plugins/tmx/ImageSize.h"

#include "common/platform/InputFile.h"

#include <cstring>
#include <limits>
#include <vector>

namespace
{

constexpr size_t kHeaderBytes = 1 << 20;

uint32_t Be16(const uint8_t *p)
{
    return uint32_t{p[0]} << 8 | p[1];
}
uint32_t Be32(const uint8_t *p)
{
    return Be16(p) << 16 | Be16(p + 2);
}
uint32_t Le16(const uint8_t *p)
{
    return uint32_t{p[1]} << 8 | p[0];
}
uint32_t Le32(const uint8_t *p)
{
    return Le16(p + 2) << 16 | Le16(p);
}

bool Accept(int64_t width, int64_t height, TImageSize &result)
{
    if (width <= 0 || height <= 0 || width > std::numeric_limits<int32_t>::max() ||
        height > std::numeric_limits<int32_t>::max())
        return false;
    result.Width = static_cast<int32_t>(width);
    result.Height = static_cast<int32_t>(height);
    return true;
}

bool ParsePng(const uint8_t *data, size_t size, TImageSize &result)
{
    // The signature, then the IHDR chunk: length, type, width, height.
    if (size < 24 || std::memcmp(data + 12, "IHDR", 4) != 0)
        return false;
    return Accept(Be32(data + 16), Be32(data + 20), result);
}

bool ParseBmp(const uint8_t *data, size_t size, TImageSize &result)
{
    if (size < 22)
        return false;
    const uint32_t infoSize = Le32(data + 14);
    if (infoSize == 12) // the old OS/2 header: 16-bit sizes
        return Accept(Le16(data + 18), Le16(data + 20), result);
    if (infoSize < 40 || size < 26)
        return false;
    const auto height = static_cast<int32_t>(Le32(data + 22));
    // A negative height stores the rows top down.
    return Accept(static_cast<int32_t>(Le32(data + 18)),
                  height < 0 ? -static_cast<int64_t>(height) : height, result);
}

bool ParseGif(const uint8_t *data, size_t size, TImageSize &result)
{
    if (size < 10)
        return false;
    return Accept(Le16(data + 6), Le16(data + 8), result);
}

bool IsStartOfFrame(uint8_t marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool ParseJpeg(const uint8_t *data, size_t size, TImageSize &result)
{
    size_t at = 2;
    while (at < size) {
        if (data[at] != 0xFF)
            return false;
        while (at < size && data[at] == 0xFF) // fill bytes
            ++at;
        if (at >= size)
            return false;
        const uint8_t marker = data[at++];
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8))
            continue; // markers without a length
        if (marker == 0xD9 || at + 2 > size)
            return false;
        const uint32_t length = Be16(data + at);
        if (length < 2)
            return false;
        if (IsStartOfFrame(marker)) {
            // Length, precision, height, width.
            if (length < 7 || at + 7 > size)
                return false;
            return Accept(Be16(data + at + 5), Be16(data + at + 3), result);
        }
        at += length;
    }
    return false;
}

} // namespace

TImageFormat SniffImageFormat(const uint8_t *Data, size_t Size)
{
    static const uint8_t png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (Size >= sizeof png && std::memcmp(Data, png, sizeof png) == 0)
        return TImageFormat::Png;
    if (Size >= 2 && Data[0] == 'B' && Data[1] == 'M')
        return TImageFormat::Bmp;
    if (Size >= 6 && (std::memcmp(Data, "GIF87a", 6) == 0 || std::memcmp(Data, "GIF89a", 6) == 0))
        return TImageFormat::Gif;
    if (Size >= 3 && Data[0] == 0xFF && Data[1] == 0xD8 && Data[2] == 0xFF)
        return TImageFormat::Jpeg;
    return TImageFormat::Unknown;
}

bool ParseImageSize(const uint8_t *Data, size_t Size, TImageSize &Result)
{
    switch (SniffImageFormat(Data, Size)) {
    case TImageFormat::Png:
        return ParsePng(Data, Size, Result);
    case TImageFormat::Bmp:
        return ParseBmp(Data, Size, Result);
    case TImageFormat::Gif:
        return ParseGif(Data, Size, Result);
    case TImageFormat::Jpeg:
        return ParseJpeg(Data, Size, Result);
    case TImageFormat::Unknown:
        break;
    }
    return false;
}

bool ReadImageSize(const std::string &Path, TImageSize &Result, TImageFormat *Format)
{
    TInputFile file;
    if (!file.Open(Path.c_str()))
        return false;
    std::vector<uint8_t> header(file.Size() < kHeaderBytes ? file.Size() : kHeaderBytes);
    if (!file.ReadExact(header.data(), header.size()))
        return false;
    if (Format != nullptr)
        *Format = SniffImageFormat(header.data(), header.size());
    return ParseImageSize(header.data(), header.size(), Result);
}
