#include "PixelBuffer.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace
{
int32_t RowBytesFor(int32_t Width, int32_t BitsPerPixel)
{
    const int64_t bytes = static_cast<int64_t>(Width) * (BitsPerPixel / 8);
    return static_cast<int32_t>((bytes + 3) & ~int64_t{3});
}
} // namespace

TPixelBuffer::TPixelBuffer(int32_t Width, int32_t Height, int32_t BitsPerPixel)
{
    SetSize(Width, Height, BitsPerPixel);
}

void TPixelBuffer::SetSize(int32_t Width, int32_t Height, int32_t BitsPerPixel)
{
    if (BitsPerPixel != 24 && BitsPerPixel != 32)
        throw std::invalid_argument("TPixelBuffer: 24 or 32 bits per pixel");
    Width = std::max(Width, 0);
    Height = std::max(Height, 0);
    const int64_t rowBytes = (static_cast<int64_t>(Width) * (BitsPerPixel / 8) + 3) & ~int64_t{3};
    if (rowBytes > INT32_MAX)
        throw std::length_error("TPixelBuffer: bitmap too wide");
    std::vector<uint8_t> bits(static_cast<size_t>(rowBytes) * static_cast<size_t>(Height));
    FBits.swap(bits);
    FWidth = Width;
    FHeight = Height;
    FBitsPerPixel = BitsPerPixel;
    FRowBytes = static_cast<int32_t>(rowBytes);
}

void TPixelBuffer::ConvertTo32()
{
    if (FBitsPerPixel == 32)
        return;
    const int32_t newRowBytes = RowBytesFor(FWidth, 32);
    std::vector<uint8_t> bits(static_cast<size_t>(newRowBytes) * static_cast<size_t>(FHeight));
    for (int32_t y = 0; y < FHeight; ++y) {
        const uint8_t *src = Row(y);
        uint8_t *dst = bits.data() + static_cast<size_t>(y) * newRowBytes;
        for (int32_t x = 0; x < FWidth; ++x) {
            dst[4 * x] = src[3 * x];
            dst[4 * x + 1] = src[3 * x + 1];
            dst[4 * x + 2] = src[3 * x + 2];
            dst[4 * x + 3] = 0;
        }
    }
    FBits.swap(bits);
    FBitsPerPixel = 32;
    FRowBytes = newRowBytes;
}

void TPixelBuffer::ConvertTo24()
{
    if (FBitsPerPixel == 24)
        return;
    const int32_t newRowBytes = RowBytesFor(FWidth, 24);
    std::vector<uint8_t> bits(static_cast<size_t>(newRowBytes) * static_cast<size_t>(FHeight));
    for (int32_t y = 0; y < FHeight; ++y) {
        const uint8_t *src = Row(y);
        uint8_t *dst = bits.data() + static_cast<size_t>(y) * newRowBytes;
        for (int32_t x = 0; x < FWidth; ++x) {
            dst[3 * x] = src[4 * x];
            dst[3 * x + 1] = src[4 * x + 1];
            dst[3 * x + 2] = src[4 * x + 2];
        }
    }
    FBits.swap(bits);
    FBitsPerPixel = 24;
    FRowBytes = newRowBytes;
}

void TPixelBuffer::Fill(uint32_t Pixel)
{
    ConvertTo32();
    for (int32_t y = 0; y < FHeight; ++y)
        std::fill_n(Row32(y), FWidth, Pixel);
}
