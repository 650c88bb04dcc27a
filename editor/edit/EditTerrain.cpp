// The edit controller's terrain tools: the terrain brush's stroke, the terrain fill and the
// right button's pick. Each stroke and each fill is one modification group, written through
// the map's block writer as one record per brush position, so undo and redo replay exactly
// the parts chosen.
#include "EditController.h"

#include "SelectionRules.h"
#include "TerrainFill.h"
#include "editor/map/DialogSeam.h"

#include <algorithm>
#include <random>

namespace
{

uint64_t StrokeSeed(uint64_t Base, uint64_t Stroke)
{
    uint64_t z = Base + Stroke * 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int32_t FixedColumns(uint8_t BitCount)
{
    return BitCount >= 16 ? 256 : 16;
}

} // namespace

void TEditController::SetTerrainWindow(TTerrainWindow *Window)
{
    FTerrainWindow = Window;
    FView.TerrainMarks = &FTerrainMarks;
    FTerrainSeedBase =
        (static_cast<uint64_t>(std::random_device{}()) << 32) ^ std::random_device{}();
}

void TEditController::SetTerrainSeed(uint64_t Seed)
{
    FTerrainSeedBase = Seed;
    FTerrainStrokes = 0;
}

bool TEditController::FillsTerrain() const
{
    return FTerrainWindow != nullptr && FTerrainWindow->FillsTerrain();
}

bool TEditController::PrepareTerrain()
{
    FTerrainMatcher.reset();
    TMap *map = FProject.Map();
    if (map == nullptr || !map->IsReady() || FTerrainWindow == nullptr)
        return false;
    const int32_t layer = FWindow.CurrentLayer();
    const TTerrainTileset *tileset = FTerrainWindow->TerrainsOfLayer(layer);
    const TTerrainChoice choice = FTerrainWindow->ChosenTerrain();
    if (tileset == nullptr || !choice.IsChosen() ||
        static_cast<size_t>(choice.Set) >= tileset->Sets.size())
        return false;
    const TTerrainSet &set = tileset->Sets[static_cast<size_t>(choice.Set)];
    if (choice.Terrain > set.Colours.size())
        return false;
    const int32_t columns = FProject.FixedAlignment()
                                ? FixedColumns(map->BitCount())
                                : FWindow.ImageColumns(map->BitCount(), layer);
    FTerrainMatcher = std::make_unique<TTerrainMatcher>(*tileset, set, columns, map->PartsWidth(),
                                                        map->PartsHeight(), GetMaxIndex());
    FTerrain = choice.Terrain;
    FTerrainLayer = layer;
    return !FTerrainMatcher->Parts().empty();
}

void TEditController::PaintTerrainCells(const std::vector<TTerrainCell> &Cells)
{
    TMap *map = FProject.Map();
    if (map == nullptr || !FTerrainMatcher || !map->IsValidLayer(FTerrainLayer))
        return;
    TTerrainPaint paint =
        PaintTerrain(*map, FTerrainLayer, *FTerrainMatcher, Cells, FTerrain, FTerrainSeed);
    const int32_t width = map->Width();
    TSelection shown = paint.Area;
    if (paint.Area.Active) {
        TModified request;
        request.Layer = FTerrainLayer;
        request.Target = paint.Area;
        request.Source = TSelection{1, 0, 0, paint.Area.DX, paint.Area.DY, 0};
        request.SrcPitch = paint.Area.DX;
        request.Data = std::move(paint.Cells);
        map->WriteData(request, GetMaxIndex());
        NoteWritten(paint.Area);
    }
    // A cell painted again loses its mark, or gets a new one; both are shown.
    const auto include = [&shown](const TTerrainCell &cell) {
        const TSelection one{1, cell.X, cell.Y, 0, 0, 0};
        if (!shown.Active) {
            shown = one;
            return;
        }
        const int32_t right = std::max(shown.X + shown.DX, cell.X);
        const int32_t bottom = std::max(shown.Y + shown.DY, cell.Y);
        shown.X = std::min(shown.X, cell.X);
        shown.Y = std::min(shown.Y, cell.Y);
        shown.DX = right - shown.X;
        shown.DY = bottom - shown.Y;
    };
    const std::vector<uint16_t> &cells = map->GetLayer(FTerrainLayer).Data;
    for (const TTerrainCell &cell : paint.Matched) {
        if (FTerrainMarks.Shown(*map, FTerrainLayer, cell.X, cell.Y))
            include(cell);
        FTerrainMarks.Clear(FTerrainLayer, cell.X, cell.Y, width);
    }
    // A cell marked earlier whose neighbours have since come to fit it shows nothing wrong.
    std::vector<TTerrainCell> fitting;
    FTerrainMarks.ForEachShown(*map, [&](int32_t layer, int32_t x, int32_t y) {
        if (layer == FTerrainLayer && FitsNeighbours(*map, layer, *FTerrainMatcher, x, y))
            fitting.push_back({x, y});
    });
    for (const TTerrainCell &cell : fitting) {
        FTerrainMarks.Clear(FTerrainLayer, cell.X, cell.Y, width);
        include(cell);
    }
    for (const TTerrainCell &cell : paint.Unmatched) {
        FTerrainMarks.Mark(FTerrainLayer, cell.X, cell.Y, width,
                           cells[static_cast<size_t>(cell.Y) * width + cell.X]);
        include(cell);
    }
    if (shown.Active)
        FWindow.UpdateCanvas(shown.X, shown.Y, shown.DX, shown.DY);
}

bool TEditController::BeginTerrainStroke(int32_t X, int32_t Y)
{
    ClearSelectionForTool();
    // Without a chosen terrain that the layer's parts can paint there is nothing to do.
    if (!PrepareTerrain()) {
        Dialogs().Beep();
        return false;
    }
    if (!BeginGesture())
        return false;
    FTerrainSeed = StrokeSeed(FTerrainSeedBase, ++FTerrainStrokes);
    TerrainStrokeTo(X, Y);
    return true;
}

void TEditController::TerrainStrokeTo(int32_t X, int32_t Y)
{
    TMap *map = FProject.Map();
    if (map == nullptr || !map->IsReady() || !map->InModify())
        return;
    PaintTerrainCells(BrushCells(X, Y, FView.TerrainBrushSize, FView.TerrainBrushRound,
                                 map->Width(), map->Height()));
}

bool TEditController::TerrainFill(int32_t X, int32_t Y)
{
    TMap *map = FProject.Map();
    if (map == nullptr || !map->IsReady())
        return false;
    EndGesture();
    if (!PrepareTerrain()) {
        Dialogs().Beep();
        return false;
    }
    const TTerrainPart *part = FTerrainMatcher->PartOf(
        map->GetLayer(FTerrainLayer).Data[static_cast<size_t>(Y) * map->Width() + X]);
    // The clicked cell's terrain, when all of it is of one (or of none).
    uint8_t clicked = 0;
    if (part != nullptr)
        clicked = TerrainAtPoint(*FTerrainMatcher, part->Chip, 0.5, 0.5);
    const std::vector<TTerrainCell> region =
        TerrainRegion(*map, FTerrainLayer, *FTerrainMatcher, X, Y, clicked);
    if (region.empty() || clicked == FTerrain) {
        Dialogs().Beep();
        return false;
    }
    if (!BeginGesture())
        return false;
    FTerrainSeed = StrokeSeed(FTerrainSeedBase, ++FTerrainStrokes);
    PaintTerrainCells(region);
    EndGesture();
    FWindow.RefreshCommands();
    return true;
}

void TEditController::ReleaseTerrainFill()
{
    const TSelection seed = FView.Selection;
    FView.Selection.Active = 0;
    FView.Dragging = false;
    if (seed.Active)
        TerrainFill(seed.X, seed.Y);
    RepaintCells(seed);
}

bool TEditController::PickTerrain(int32_t X, int32_t Y, double U, double V)
{
    TMap *map = FProject.Map();
    if (map == nullptr || !map->IsReady() || FTerrainWindow == nullptr)
        return false;
    const int32_t layer = FWindow.CurrentLayer();
    const TTerrainTileset *tileset = FTerrainWindow->TerrainsOfLayer(layer);
    if (tileset == nullptr || !map->IsValidLayer(layer) || X < 0 || Y < 0 || X >= map->Width() ||
        Y >= map->Height())
        return false;
    const uint16_t chip = map->GetLayer(layer).Data[static_cast<size_t>(Y) * map->Width() + X];
    const int32_t columns = FProject.FixedAlignment()
                                ? FixedColumns(map->BitCount())
                                : FWindow.ImageColumns(map->BitCount(), layer);
    // The chosen set first, then the others in their order.
    std::vector<int32_t> order;
    const TTerrainChoice chosen = FTerrainWindow->ChosenTerrain();
    if (chosen.Set >= 0 && static_cast<size_t>(chosen.Set) < tileset->Sets.size())
        order.push_back(chosen.Set);
    for (int32_t set = 0; set < static_cast<int32_t>(tileset->Sets.size()); ++set)
        if (set != chosen.Set)
            order.push_back(set);
    for (int32_t set : order) {
        const TTerrainMatcher matcher(*tileset, tileset->Sets[static_cast<size_t>(set)], columns,
                                      map->PartsWidth(), map->PartsHeight(), GetMaxIndex());
        const uint8_t terrain = TerrainAtPoint(matcher, chip, U, V);
        if (terrain != 0) {
            FTerrainWindow->ChooseTerrain({set, terrain});
            return true;
        }
    }
    Dialogs().Beep();
    return false;
}
