// Lines, frames, hatches and brush fills drawn with our own code, pixel for pixel, so that
// the overlays are exact and leave the fourth byte of every pixel they touch 0. Rectangles
// are (Left, Top) to (Right, Bottom), exclusive at the right and bottom; everything is
// clipped to the buffer and to an optional clip rectangle.
#pragma once

#include "PixelBuffer.h"

#include <algorithm>
#include <cstdint>

struct TPixelRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(int32_t X, int32_t Y) const
    {
        return X >= Left && X < Right && Y >= Top && Y < Bottom;
    }
    TPixelRect Intersected(const TPixelRect &Other) const
    {
        return {std::max(Left, Other.Left), std::max(Top, Other.Top), std::min(Right, Other.Right),
                std::min(Bottom, Other.Bottom)};
    }
    bool operator==(const TPixelRect &) const = default;
};

// The whole buffer as a rectangle.
inline TPixelRect BufferRect(const TPixelBuffer &Buffer)
{
    return {0, 0, Buffer.Width(), Buffer.Height()};
}

// Every pixel of the rectangle := Pixel.
void FillPixelRect(TPixelBuffer &Dest, const TPixelRect &Rect, uint32_t Pixel,
                   const TPixelRect &Clip);

// The rectangle filled with Pattern as a repeating brush whose origin is the buffer's (0, 0);
// white when there is no pattern.
void FillWithBrush(TPixelBuffer &Dest, const TPixelRect &Rect, const TPixelBuffer *Pattern,
                   const TPixelRect &Clip);

// A horizontal line from (X0, Y) to (X1, Y), X1 excluded; a vertical one likewise.
void DrawHorizontalLine(TPixelBuffer &Dest, int32_t X0, int32_t X1, int32_t Y, uint32_t Pixel,
                        const TPixelRect &Clip);
void DrawVerticalLine(TPixelBuffer &Dest, int32_t X, int32_t Y0, int32_t Y1, uint32_t Pixel,
                      const TPixelRect &Clip);

// A frame along the inside of the rectangle. Wider pens are centred on that frame: a pen of
// width 3 covers it and one pixel on each side of it.
void FrameRectangle(TPixelBuffer &Dest, const TPixelRect &Rect, uint32_t Pixel,
                    const TPixelRect &Clip, int32_t PenWidth = 1);

// A diagonal cross-hatch (kHatchPeriod pixels, both diagonals, tied to the buffer's corner)
// over the rectangle; the pixels between the hatch lines stay as they are.
constexpr int32_t kHatchPeriod = 8;
void HatchRectangle(TPixelBuffer &Dest, const TPixelRect &Rect, uint32_t Pixel,
                    const TPixelRect &Clip);

// The layer marker: a right triangle with its right angle at (X, Y) and legs of Size pixels
// to the right and downwards, filled with Fill and outlined one pixel wide with Outline.
void DrawCornerTriangle(TPixelBuffer &Dest, int32_t X, int32_t Y, int32_t Size, uint32_t Fill,
                        uint32_t Outline, const TPixelRect &Clip);
