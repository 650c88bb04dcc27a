// The editor's off-screen bitmap: 24 or 32 bits per pixel, rows addressed by index, row 0 at
// the top. A 32-bit pixel is 0x00RRGGBB (bytes blue, green, red, fourth byte in memory); a
// 24-bit pixel is blue, green, red. Rows are padded to 4 bytes. The buffer is also the
// picture of a parts image as the map sees it (TChipImage).
#pragma once

#include "editor/map/DefineUnit.h"

#include <cstdint>
#include <vector>

class TPixelBuffer : public TChipImage
{
public:
    TPixelBuffer() = default;
    // A buffer of the given size with every byte 0. Negative sizes count as 0.
    TPixelBuffer(int32_t Width, int32_t Height, int32_t BitsPerPixel = 32);

    // Discards the contents; every byte of the new buffer is 0.
    void SetSize(int32_t Width, int32_t Height, int32_t BitsPerPixel = 32);

    int32_t Width() const { return FWidth; }
    int32_t Height() const { return FHeight; }
    int32_t BitsPerPixel() const { return FBitsPerPixel; }
    int32_t RowBytes() const { return FRowBytes; }
    bool IsEmpty() const { return FWidth == 0 || FHeight == 0; }

    int32_t ImageWidth() const override { return FWidth; }
    int32_t ImageHeight() const override { return FHeight; }

    // Row Y, 0 <= Y < Height. Row32 requires 32 bits per pixel.
    uint8_t *Row(int32_t Y) { return FBits.data() + static_cast<size_t>(Y) * FRowBytes; }
    const uint8_t *Row(int32_t Y) const
    {
        return FBits.data() + static_cast<size_t>(Y) * FRowBytes;
    }
    uint32_t *Row32(int32_t Y) { return reinterpret_cast<uint32_t *>(Row(Y)); }
    const uint32_t *Row32(int32_t Y) const { return reinterpret_cast<const uint32_t *>(Row(Y)); }
    uint8_t *Bits() { return FBits.data(); }
    const uint8_t *Bits() const { return FBits.data(); }

    // 32-bit pixel access; the buffer must hold 32 bits per pixel.
    uint32_t Pixel(int32_t X, int32_t Y) const { return Row32(Y)[X]; }
    void SetPixel(int32_t X, int32_t Y, uint32_t Value) { Row32(Y)[X] = Value; }

    // In-place format changes. 24 -> 32 leaves the fourth byte of every pixel 0;
    // 32 -> 24 drops it. Converting to the format already held does nothing.
    void ConvertTo32();
    void ConvertTo24();

    // Fills the whole buffer (32 bits per pixel) with one pixel value.
    void Fill(uint32_t Pixel);

private:
    std::vector<uint8_t> FBits;
    int32_t FWidth = 0;
    int32_t FHeight = 0;
    int32_t FBitsPerPixel = 32;
    int32_t FRowBytes = 0;
};
