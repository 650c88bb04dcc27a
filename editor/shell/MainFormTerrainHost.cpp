// The main window as the terrain tools' window: the terrain sets and the chosen terrain come
// from the parts window's terrain mode.
#include "MainFormEditHost.h"

#include "MainForm.h"
#include "editor/parts/ChipForm.h"

const TTerrainTileset *TMainFormEditHost::TerrainsOfLayer(int32_t Layer)
{
    const TMap *map = FForm.Project().Map();
    if (FForm.FChipForm == nullptr || map == nullptr || !map->IsValidLayer(Layer))
        return nullptr;
    TTerrainMode &terrain = FForm.FChipForm->Terrain();
    // The chosen terrain names a set of the image the parts window shows: the current layer's.
    if (Layer == CurrentLayer())
        terrain.ShowImage(map->GetLayerChip(Layer), map->PartsWidth(), map->PartsHeight());
    return terrain.TilesetOf(map->GetLayerChip(Layer), map->PartsWidth(), map->PartsHeight());
}

TTerrainChoice TMainFormEditHost::ChosenTerrain() const
{
    return FForm.FChipForm != nullptr ? FForm.FChipForm->Terrain().Choice() : TTerrainChoice{};
}

void TMainFormEditHost::ChooseTerrain(const TTerrainChoice &Choice)
{
    if (FForm.FChipForm != nullptr)
        FForm.FChipForm->Terrain().Choose(Choice);
}

bool TMainFormEditHost::FillsTerrain() const
{
    return FForm.FChipForm != nullptr && FForm.FChipForm->Terrain().IsActive() &&
           FForm.FChipForm->Terrain().Choice().IsChosen();
}
