// Where the terrain fill works: the region of one terrain around a cell, and which terrain a
// point of a cell shows.
#pragma once

#include "TerrainBrush.h"
#include "TerrainMatcher.h"
#include "editor/map/MapDataUnit.h"

#include <cstdint>
#include <vector>

// The cells joined to (X, Y) through their four neighbours whose every corner and edge the
// set uses holds Terrain; Terrain 0 stands for the cells that take no part in the set. Empty
// when (X, Y) itself is not such a cell.
std::vector<TTerrainCell> TerrainRegion(const TMap &Map, int32_t Layer,
                                        const TTerrainMatcher &Matcher, int32_t X, int32_t Y,
                                        uint8_t Terrain);

// The terrain of the corner or edge of the part Chip nearest the point (U, V) of the cell,
// both in [0, 1) from its top-left; 0 when the part takes no part in the set.
uint8_t TerrainAtPoint(const TTerrainMatcher &Matcher, uint16_t Chip, double U, double V);
