// Terrain painting on a layer: a terrain is put on every corner and edge of a set of cells,
// and the parts of those cells and of the cells around them are chosen again so that each
// fits its neighbours. Where a place held a terrain with no transition to the painted one,
// the places around it step through the terrains between (sand between water and grass).
// Cells that still fit keep their parts; cells beyond a few rings are never changed. Where the
// set lacks the part a cell needs, the closest one (fewest places differing) is taken and the
// cell is reported unmatched. Nothing is written here: the caller writes the result.
#pragma once

#include "TerrainMatcher.h"
#include "editor/map/MapDataUnit.h"

#include <cstdint>
#include <vector>

struct TTerrainCell {
    int32_t X = 0;
    int32_t Y = 0;
    bool operator==(const TTerrainCell &) const = default;
};

// The cells a brush of Size cells covers with the cell (X, Y) at its middle (the cell left of
// and above the middle for even sizes): the square, or those of its cells whose middles lie
// within the circle it encloses; clipped to a Width × Height map.
std::vector<TTerrainCell> BrushCells(int32_t X, int32_t Y, int32_t Size, bool Round, int32_t Width,
                                     int32_t Height);

struct TTerrainPaint {
    // The rectangle holding every changed cell (Active 0 when nothing changed) and its cells
    // after the paint, row by row.
    TSelection Area;
    std::vector<uint16_t> Cells;
    // The cells whose parts were chosen: fitting every neighbour, or the closest the set has.
    std::vector<TTerrainCell> Matched;
    std::vector<TTerrainCell> Unmatched;
};

// Paints Terrain (1 .. the set's terrains) on the corners and edges of Cells of a layer.
// Seed fixes the random choices among equally good parts: the same seed paints the same
// picture.
TTerrainPaint PaintTerrain(const TMap &Map, int32_t Layer, const TTerrainMatcher &Matcher,
                           const std::vector<TTerrainCell> &Cells, uint8_t Terrain, uint64_t Seed);

// The part of cell (X, Y) agrees with every neighbour of the set on the places they share
// (cells of no terrain, and places either leaves open, agree with anything).
bool FitsNeighbours(const TMap &Map, int32_t Layer, const TTerrainMatcher &Matcher, int32_t X,
                    int32_t Y);

// A number in [0, 1) that depends only on the seed and the cell.
double CellRandom(uint64_t Seed, int32_t X, int32_t Y);
