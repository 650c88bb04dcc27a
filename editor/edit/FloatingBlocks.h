// Lifting a rectangle of cells off the map into floating blocks, and putting the blocks down
// again: the map and log work of moving a selection, without any drawing. The caller opens
// the modification group before lifting and closes it after putting down, so a whole move is
// one undo step. Knows nothing of windows.
#pragma once

#include "editor/map/MapDataUnit.h"

#include <cstdint>
#include <vector>

struct TLiftRequest {
    TSelection Selection;        // inside the map (clipped by the caller)
    std::vector<int32_t> Layers; // the layers lifted, each one block, in this order
    bool KeepSource = false;     // a copy: the cells under the selection stay
    uint16_t ClearValue = 0;     // what lifted cells become otherwise
    int32_t Limit = 256;         // the map's value limit
};

// One block per layer of the request, read from the selection; unless KeepSource, the cells
// under the selection are then cleared in those layers (recorded in the open group).
std::vector<TModified> LiftBlocks(TMap &Map, const TLiftRequest &Request);

// Writes every block that still holds data with its top-left at At (recorded, cut at every
// edge of the map) and marks it written. Returns the cells written, inactive when the block
// lies wholly off the map or nothing was left to write.
TSelection PutBlocksDown(TMap &Map, std::vector<TModified> &Blocks, const TSelection &At,
                         int32_t Limit);

// Fills Rect of Layer with one value as one recorded write; Rect is cut to the map first.
// False when nothing of it lies on the map or the layer does not exist.
bool WriteSingleValue(TMap &Map, int32_t Layer, const TSelection &Rect, uint16_t Value,
                      int32_t Limit);
