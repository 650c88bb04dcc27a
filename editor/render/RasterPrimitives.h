// The rectangle operations every view is composed with. They work on the rows of 32-bit
// buffers (a buffer in another format is converted in place first and stays converted),
// clip to the destination, scale by nearest neighbour and allocate nothing. A failure inside
// a pixel loop is shown as "failed : <operation>()" + its text + ")" and the drawing goes on.
#pragma once

#include "PixelBuffer.h"

#include <cstdint>
#include <string>
#include <vector>

// Colour values as callers hold them are 0x00BBGGRR; pixels are 0x00RRGGBB.
constexpr uint32_t ColorToPixel32(uint32_t Color)
{
    return ((Color & 0xFFu) << 16) | (Color & 0xFF00u) | ((Color >> 16) & 0xFFu);
}

// The colour value of a pixel (the fourth byte dropped).
constexpr uint32_t PixelToColor(uint32_t Pixel)
{
    return ((Pixel & 0xFFu) << 16) | (Pixel & 0xFF00u) | ((Pixel >> 16) & 0xFFu);
}

// Per channel floor((a + b) / 2) without carries; the fourth byte is a AND b.
constexpr uint32_t HalfBlend(uint32_t A, uint32_t B)
{
    return (A & B) + (((A ^ B) & 0x00FEFEFEu) >> 1);
}

// Copies the source rectangle onto the destination rectangle, scaling by nearest neighbour
// with 24.8 fixed-point steps taken from the unclipped sizes.
void DIBCopyRect32(TPixelBuffer &Dest, int32_t DX, int32_t DY, int32_t DW, int32_t DH,
                   TPixelBuffer &Src, int32_t SX, int32_t SY, int32_t SW, int32_t SH);

// Every pixel of the rectangle becomes the half blend of itself and the colour (0x00BBGGRR).
void DIBFillColor(TPixelBuffer &Dest, int32_t X, int32_t Y, int32_t W, int32_t H, uint32_t Color);

// As DIBCopyRect32; source pixels equal to ColorToPixel32(Key) (all 32 bits) are not written.
void DIBCopyRectUseKey32(TPixelBuffer &Dest, int32_t DX, int32_t DY, int32_t DW, int32_t DH,
                         TPixelBuffer &Src, int32_t SX, int32_t SY, int32_t SW, int32_t SH,
                         uint32_t Key);

// As DIBCopyRectUseKey32, but each written pixel is the half blend of source and destination.
void DIBHalfBlendUseKey32(TPixelBuffer &Dest, int32_t DX, int32_t DY, int32_t DW, int32_t DH,
                          TPixelBuffer &Src, int32_t SX, int32_t SY, int32_t SW, int32_t SH,
                          uint32_t Key);

// The stretching copy for equal or larger destinations: pixel for pixel at equal size, each
// source pixel repeated when enlarging (destination column c shows source column
// floor(c × SW / DW), exactly). Clips like the operations above.
void StretchCopyRect32(TPixelBuffer &Dest, int32_t DX, int32_t DY, int32_t DW, int32_t DH,
                       TPixelBuffer &Src, int32_t SX, int32_t SY, int32_t SW, int32_t SH);

// The source offsets that destination pixels 0 .. Dest - 1 of an unclipped operation read
// along one axis, Source pixels being scaled to Dest: the 24.8 fixed-point steps of the copies
// and keyed operations, and the exact steps of the stretching copy.
std::vector<int32_t> FixedPointSteps(int32_t Source, int32_t Dest);
std::vector<int32_t> ExactSteps(int32_t Source, int32_t Dest);

// Writes the bitmap as an uncompressed 24-bit BMP file (converting it to 24 bits in place).
// Throws std::runtime_error when the file cannot be created or written.
void SaveBitmap24(const std::string &FileName, TPixelBuffer &Bitmap);
