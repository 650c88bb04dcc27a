// The terrain marks over the parts window's picture: for every part shown that takes part in
// the set, a triangle on each of its corners or edges in the colour of the terrain there,
// half blended with the part and outlined in the full colour, so the part stays visible.
#pragma once

#include "ChipCanvas.h"
#include "editor/map/TerrainSet.h"
#include "editor/render/PixelBuffer.h"

void DrawTerrainOverlay(TPixelBuffer &Back, const TChipCanvasState &State,
                        const TTerrainTileset &Tileset, const TTerrainSet &Set);
