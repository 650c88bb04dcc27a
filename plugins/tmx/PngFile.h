// Tileset pictures in memory as 8-bit RGBA, read from and written to PNG files with libpng:
// the tileset images that have to be cut into parts, and the parts images made from them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TRgbaImage {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Pixels; // rows top down, R, G, B, A

    void Resize(int32_t width, int32_t height)
    {
        Width = width;
        Height = height;
        Pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
    }
    uint8_t *At(int32_t x, int32_t y)
    {
        return Pixels.data() + (static_cast<size_t>(y) * static_cast<size_t>(Width) + x) * 4;
    }
    const uint8_t *At(int32_t x, int32_t y) const
    {
        return Pixels.data() + (static_cast<size_t>(y) * static_cast<size_t>(Width) + x) * 4;
    }
};

// Reads a PNG file of any colour type and depth (palette, grey, alpha, 16 bits, interlaced).
// False with Reason set when it is not a PNG file, is broken, or is larger than 2^28 pixels.
bool ReadPngFile(const std::string &Path, TRgbaImage &Image, std::string &Reason);

// The image as a PNG file (8-bit RGBA), with a text chunk "Software" = Software.
std::vector<uint8_t> EncodePng(const TRgbaImage &Image, const std::string &Software);

// Whether the PNG file carries the text chunk "Software" = Software (false when it is not
// a PNG file or cannot be read).
bool PngFileHasSoftware(const std::string &Path, const std::string &Software);
