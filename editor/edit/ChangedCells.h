// Which cells a recorded write changed within a window of the map, so that a redraw can be
// limited to them (a flood fill records its whole layer). Reads log records only.
#pragma once

#include "editor/map/MapDataUnit.h"

// The smallest rectangle within Window (map cells, inside the map) holding every cell whose
// value before and after Record differ; inactive when none does.
TSelection ChangedCells(const TModifyRecord &Record, int32_t MapWidth, const TSelection &Window);
