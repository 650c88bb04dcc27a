// Windows bitmaps as image plug-ins hand them over, turned into the editor's 32-bit buffers.
#include "SusiePluginHost.h"

#include <cstring>

namespace
{

constexpr int64_t kMaxPixels = int64_t{1} << 28;

uint32_t Read32(const uint8_t *P)
{
    return static_cast<uint32_t>(P[0]) | static_cast<uint32_t>(P[1]) << 8 |
           static_cast<uint32_t>(P[2]) << 16 | static_cast<uint32_t>(P[3]) << 24;
}

uint16_t Read16(const uint8_t *P)
{
    return static_cast<uint16_t>(P[0] | P[1] << 8);
}

// A channel of a bit-field pixel scaled to 8 bits.
uint32_t Channel(uint32_t Pixel, uint32_t Mask)
{
    if (Mask == 0)
        return 0;
    int shift = 0;
    while (((Mask >> shift) & 1u) == 0)
        ++shift;
    const uint32_t max = Mask >> shift;
    return ((Pixel & Mask) >> shift) * 255u / max;
}

} // namespace

bool BitmapFromDib(const uint8_t *Info, const uint8_t *Bits, TPixelBuffer &Bitmap)
{
    const uint32_t headerSize = Read32(Info);
    if (headerSize < 40 || headerSize > 1024)
        return false;
    const int32_t width = static_cast<int32_t>(Read32(Info + 4));
    const int32_t rawHeight = static_cast<int32_t>(Read32(Info + 8));
    const uint16_t bitCount = Read16(Info + 14);
    const uint32_t compression = Read32(Info + 16);
    uint32_t colorsUsed = Read32(Info + 32);
    if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN)
        return false;
    const bool topDown = rawHeight < 0;
    const int32_t height = topDown ? -rawHeight : rawHeight;
    if (static_cast<int64_t>(width) * height > kMaxPixels)
        return false;

    uint32_t masks[3] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    if (bitCount == 16)
        masks[0] = 0x7C00u, masks[1] = 0x03E0u, masks[2] = 0x001Fu;
    if (compression == 3) { // bit fields: after a 40-byte header, or inside a larger one
        if (bitCount != 16 && bitCount != 32)
            return false;
        const uint8_t *m = Info + 40;
        for (int i = 0; i < 3; ++i)
            masks[i] = Read32(m + 4 * i);
    } else if (compression != 0) {
        return false;
    }
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        return false;

    const uint8_t *palette = Info + headerSize;
    const uint32_t paletteMax = bitCount <= 8 ? (1u << bitCount) : 0;
    if (colorsUsed == 0 || colorsUsed > paletteMax)
        colorsUsed = paletteMax;

    const size_t stride = ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
    Bitmap.SetSize(width, height, 32);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t *row = Bits + stride * static_cast<size_t>(topDown ? y : height - 1 - y);
        uint32_t *out = Bitmap.Row32(y);
        for (int32_t x = 0; x < width; ++x) {
            uint32_t pixel = 0;
            if (bitCount <= 8) {
                const size_t bit = static_cast<size_t>(x) * bitCount;
                const uint32_t index =
                    (row[bit / 8] >> (8 - bitCount - bit % 8)) & ((1u << bitCount) - 1);
                if (index < colorsUsed) {
                    const uint8_t *q = palette + 4 * index;
                    pixel =
                        static_cast<uint32_t>(q[2]) << 16 | static_cast<uint32_t>(q[1]) << 8 | q[0];
                }
            } else if (bitCount == 24) {
                const uint8_t *p = row + 3 * static_cast<size_t>(x);
                pixel = static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
            } else {
                const uint32_t raw = bitCount == 16 ? Read16(row + 2 * static_cast<size_t>(x))
                                                    : Read32(row + 4 * static_cast<size_t>(x));
                pixel = Channel(raw, masks[0]) << 16 | Channel(raw, masks[1]) << 8 |
                        Channel(raw, masks[2]);
            }
            out[x] = pixel;
        }
    }
    return true;
}
