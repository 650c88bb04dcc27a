#include "plugins/tmx/TileParts.h"

#include "plugins/tmx/TiledMap.h"

#include <algorithm>
#include <cmath>

namespace
{

int64_t FloorDiv(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Transparent pixels are written as the colour Tessella's PNG reader turns them into.
void ClearPixel(uint8_t *pixel)
{
    pixel[0] = 255;
    pixel[1] = 0;
    pixel[2] = 255;
    pixel[3] = 0;
}

void Place(int64_t start, int32_t size, int32_t grid, int32_t &delta, int32_t &phase,
           int32_t &count)
{
    const int64_t cell = FloorDiv(start, grid);
    delta = static_cast<int32_t>(cell);
    phase = static_cast<int32_t>(start - cell * grid);
    count = static_cast<int32_t>((int64_t{phase} + size + grid - 1) / grid);
}

} // namespace

TTilePlacement PlaceTile(int32_t TileWidth, int32_t TileHeight, bool Diagonal, int64_t OffsetX,
                         int64_t OffsetY, int32_t GridWidth, int32_t GridHeight, bool AtGridSize,
                         bool KeepAspect)
{
    // The anti-diagonal flip swaps the sides of the picture.
    const int32_t width = Diagonal ? TileHeight : TileWidth;
    const int32_t height = Diagonal ? TileWidth : TileHeight;
    TTilePlacement placement;
    placement.Width = width;
    placement.Height = height;
    int64_t left = OffsetX;
    int64_t top = int64_t{GridHeight} - height + OffsetY;
    if (AtGridSize) {
        placement.Width = GridWidth;
        placement.Height = GridHeight;
        if (KeepAspect && width > 0 && height > 0) {
            const double scale = std::min(static_cast<double>(GridWidth) / width,
                                          static_cast<double>(GridHeight) / height);
            placement.Width = std::max(1, static_cast<int32_t>(std::lround(width * scale)));
            placement.Height = std::max(1, static_cast<int32_t>(std::lround(height * scale)));
        }
        // Drawn in the cell, centred when the aspect is kept.
        left = OffsetX + (GridWidth - placement.Width) / 2;
        top = OffsetY + (GridHeight - placement.Height) / 2;
    }
    Place(left, placement.Width, GridWidth, placement.DeltaX, placement.PhaseX, placement.Columns);
    Place(top, placement.Height, GridHeight, placement.DeltaY, placement.PhaseY, placement.Rows);
    return placement;
}

TRgbaImage DrawTile(const TRgbaImage &Source, int32_t SourceX, int32_t SourceY, int32_t SourceWidth,
                    int32_t SourceHeight, uint32_t Flags, int32_t Width, int32_t Height)
{
    const bool diagonal = (Flags & kFlipDiagonal) != 0;
    const bool horizontal = (Flags & kFlipHorizontal) != 0;
    const bool vertical = (Flags & kFlipVertical) != 0;
    // The picture after the anti-diagonal flip, before scaling.
    const int64_t flippedWidth = diagonal ? SourceHeight : SourceWidth;
    const int64_t flippedHeight = diagonal ? SourceWidth : SourceHeight;
    TRgbaImage drawn;
    drawn.Resize(Width, Height);
    for (int32_t y = 0; y < Height; ++y) {
        int64_t v = (int64_t{y} * flippedHeight + flippedHeight / 2) / Height;
        if (vertical)
            v = flippedHeight - 1 - v;
        for (int32_t x = 0; x < Width; ++x) {
            int64_t u = (int64_t{x} * flippedWidth + flippedWidth / 2) / Width;
            if (horizontal)
                u = flippedWidth - 1 - u;
            const int64_t sx = SourceX + (diagonal ? v : u);
            const int64_t sy = SourceY + (diagonal ? u : v);
            uint8_t *out = drawn.At(x, y);
            if (sx < 0 || sy < 0 || sx >= Source.Width || sy >= Source.Height) {
                ClearPixel(out);
                continue;
            }
            std::copy_n(Source.At(static_cast<int32_t>(sx), static_cast<int32_t>(sy)), 4, out);
        }
    }
    return drawn;
}

void CopyPart(const TRgbaImage &Drawn, const TTilePlacement &Placement, int32_t Column, int32_t Row,
              int32_t GridWidth, int32_t GridHeight, TRgbaImage &Target, int32_t TargetX,
              int32_t TargetY)
{
    for (int32_t y = 0; y < GridHeight; ++y) {
        const int64_t dy = int64_t{Row} * GridHeight - Placement.PhaseY + y;
        for (int32_t x = 0; x < GridWidth; ++x) {
            const int64_t dx = int64_t{Column} * GridWidth - Placement.PhaseX + x;
            uint8_t *out = Target.At(TargetX + x, TargetY + y);
            if (dx < 0 || dy < 0 || dx >= Drawn.Width || dy >= Drawn.Height) {
                ClearPixel(out);
                continue;
            }
            std::copy_n(Drawn.At(static_cast<int32_t>(dx), static_cast<int32_t>(dy)), 4, out);
        }
    }
}
