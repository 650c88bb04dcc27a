// One tile as Tiled draws it on an orthogonal map, cut along the map's grid: where it lands
// relative to its cell (anchored at the cell's bottom left, moved by the offsets), which
// cells its picture covers, and the picture itself, flipped (anti-diagonal first, then
// horizontal, then vertical) and, for tilesets drawn at grid size, scaled.
#pragma once

#include "plugins/tmx/PngFile.h"

#include <cstdint>

struct TTilePlacement {
    int32_t Width = 0, Height = 0;  // as drawn
    int32_t DeltaX = 0, DeltaY = 0; // cell of the top-left part, relative to the tile's cell
    int32_t PhaseX = 0, PhaseY = 0; // pixels of that part left of and above the picture
    int32_t Columns = 0, Rows = 0;  // parts covered
};

// TileWidth × TileHeight: the tile's own size (before any flip). OffsetX/Y: the tileset's
// and the layers' offsets together. AtGridSize/KeepAspect: tilerendersize="grid" and
// fillmode="preserve-aspect-fit".
TTilePlacement PlaceTile(int32_t TileWidth, int32_t TileHeight, bool Diagonal, int64_t OffsetX,
                         int64_t OffsetY, int32_t GridWidth, int32_t GridHeight, bool AtGridSize,
                         bool KeepAspect);

// The tile's picture: the source rectangle (pixels outside the source are transparent)
// flipped by Flags and scaled (nearest neighbour) to Width × Height.
TRgbaImage DrawTile(const TRgbaImage &Source, int32_t SourceX, int32_t SourceY, int32_t SourceWidth,
                    int32_t SourceHeight, uint32_t Flags, int32_t Width, int32_t Height);

// Part (Column, Row) of a drawn tile placed with Placement, copied into Target with its
// top-left pixel at (TargetX, TargetY); pixels outside the picture become transparent.
void CopyPart(const TRgbaImage &Drawn, const TTilePlacement &Placement, int32_t Column, int32_t Row,
              int32_t GridWidth, int32_t GridHeight, TRgbaImage &Target, int32_t TargetX,
              int32_t TargetY);
