// The flood fill behind TMap::FillArea, on a bare array of cells: the 4-connected region of
// cells equal to the seed's value, turned into another value. It works row span by row span,
// so a large uniform region costs about one pass over its rows instead of a push and a pop per
// cell; only the set of cells it changes matters, not the order it visits them in.
#pragma once

#include <cstdint>

// Cells holds Width × Height values row by row; (SeedX, SeedY) lies inside and holds OldValue,
// which differs from NewValue.
void FillRegion(uint16_t *Cells, int32_t Width, int32_t Height, int32_t SeedX, int32_t SeedY,
                uint16_t OldValue, uint16_t NewValue);
