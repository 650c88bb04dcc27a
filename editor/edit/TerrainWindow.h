// What the terrain tools ask of the window they paint in: the terrain sets of a layer's parts
// image (defined in the parts window), the terrain the user chose, and showing a terrain
// picked from the map. The main window implements it; tests use a small fake.
#pragma once

#include "editor/map/TerrainSet.h"

#include <cstdint>

class TTerrainWindow
{
public:
    virtual ~TTerrainWindow() = default;

    // The terrain sets of the layer's parts image; null when the image has none.
    virtual const TTerrainTileset *TerrainsOfLayer(int32_t Layer) = 0;
    virtual TTerrainChoice ChosenTerrain() const = 0;
    // The right button picked a terrain from the map: it becomes the chosen one.
    virtual void ChooseTerrain(const TTerrainChoice &Choice) = 0;
    // The fill tool fills terrains rather than parts (the parts window shows terrains and
    // one is chosen).
    virtual bool FillsTerrain() const = 0;
};
