// The two common arrangements of a terrain block in a parts image, from which a whole set is
// defined at once, counted from the block's top-left part, row by row:
// - the 16-part corner layout, 4 x 4: part i has the inner terrain at the corners whose bit is
//   set in i (1 top-left, 2 top-right, 4 bottom-left, 8 bottom-right), the outer one elsewhere;
// - the 47-part blob layout, 8 columns (the last row holds 7): every mask of the eight places
//   (1 top, 2 top-right, 4 right, 8 bottom-right, 16 bottom, 32 bottom-left, 64 left,
//   128 top-left) in which a corner is set only with both its edges, in increasing order.
#pragma once

#include "TerrainSet.h"

#include <cstdint>
#include <vector>

enum class TTerrainLayout : uint8_t { Corner16, Blob47 };

struct TTerrainLayoutBlock {
    TTerrainSetType Type = TTerrainSetType::Corner;
    int32_t Columns = 0;
    // One wang id per part of the block, row by row.
    std::vector<TWangId> Ids;
};

TTerrainLayoutBlock TerrainLayoutBlock(TTerrainLayout Layout, uint8_t Outer, uint8_t Inner);
// The 47 blob masks in increasing order.
std::vector<uint8_t> BlobMasks();
