// The edit controller's cell writers: the pen, the eraser, the tiling pen, one-value fills,
// the Delete and Ctrl+Delete commands and Fill.... Each write is recorded in the map's log
// inside the group its caller opened, and shows only the cells it wrote.
#include "EditController.h"

#include "FloatingBlocks.h"
#include "SelectionRules.h"

TModified TEditController::PenData(bool &ready) const
{
    ready = false;
    TModified request;
    if (FPatternMode) {
        request = FPatternData;
        ready = !request.Data.empty() && request.Source.Active;
    } else {
        request = FCurrentData;
        ready = FWindow.PickedParts(request);
    }
    request.Layer = FWindow.CurrentLayer();
    return request;
}

uint16_t TEditController::GetCurrentChip() const
{
    if (FPatternMode)
        return FPatternData.Data.empty() ? 0 : FPatternData.Data.front();
    TModified request;
    if (!FWindow.PickedParts(request) || request.Data.empty())
        return 0;
    return request.Data.front();
}

TMap *TEditController::MapForSelectionWrite()
{
    TMap *map = FProject.Map();
    if (map == nullptr || !map->IsReady())
        return nullptr;
    // An unusable selection writes nothing and ends the gesture, so that a stroke cut short
    // still leaves a whole group in the log.
    if (IsFailedSelection(FView.Selection, map->Width(), map->Height())) {
        FView.Selection.Active = 0;
        EndGesture();
        return nullptr;
    }
    return map;
}

void TEditController::WriteCurrentData(bool Update)
{
    TMap *map = MapForSelectionWrite();
    if (map == nullptr)
        return;
    bool ready = false;
    TModified request = PenData(ready);
    if (!ready)
        return;
    request.Target = FView.Selection;
    const TSelection block{
        1, request.Target.X, request.Target.Y, request.Source.DX, request.Source.DY, 0};
    if (!FPatternMode)
        FCurrentData = request;
    map->WriteData(request, GetMaxIndex());
    FView.Selection.Active = 0;
    NoteWritten(block);
    if (Update) {
        FWindow.UpdateCanvas(block.X, block.Y, block.DX, block.DY);
        FWindow.RefreshCommands();
    }
}

void TEditController::Erase(bool Update)
{
    TMap *map = MapForSelectionWrite();
    if (map == nullptr)
        return;
    TModified request;
    request.Layer = FWindow.CurrentLayer();
    request.Target = FView.Selection;
    request.Source = FView.Selection;
    request.Data.assign(1, InvisiblePart());
    const TSelection cell{1, FView.Selection.X, FView.Selection.Y, 0, 0, 0};
    map->WriteData(request, GetMaxIndex());
    FView.Selection.Active = 0;
    NoteWritten(cell);
    if (Update) {
        FWindow.UpdateCanvas(cell.X, cell.Y, 0, 0);
        FWindow.RefreshCommands();
    }
}

void TEditController::WriteTileCurrentData(bool Update)
{
    TMap *map = MapForSelectionWrite();
    if (map == nullptr)
        return;
    bool ready = false;
    TModified request = PenData(ready);
    // Without a parts selection the last pen data is used.
    if (!ready && !FPatternMode)
        request = FCurrentData;
    request.Layer = FWindow.CurrentLayer();
    if (request.Data.empty())
        return;
    TSelection target = FView.Selection;
    // A tiled write records the whole target: it must lie on the map.
    ClipSelection(target, map->Width(), map->Height());
    request.Target = target;
    map->WriteTiledData(request, GetMaxIndex());
    NoteWritten(target);
    if (Update) {
        FView.Selection.Active = 0;
        RepaintCells(target);
        FWindow.RefreshCommands();
    }
}

void TEditController::WriteSingleData(int32_t Layer, const TSelection &Rect, bool Update,
                                      uint16_t Value)
{
    TMap *map = FProject.Map();
    if (map == nullptr || !map->IsReady())
        return;
    TSelection rect = Rect;
    if (IsFailedSelection(rect, map->Width(), map->Height())) {
        EndGesture();
        return;
    }
    ClipSelection(rect, map->Width(), map->Height());
    WriteSingleValue(*map, Layer, rect, Value, GetMaxIndex());
    NoteWritten(rect);
    if (Update) {
        RepaintCells(rect);
        FWindow.RefreshCommands();
    }
}

void TEditController::RunAsOneStep(const std::function<void()> &write)
{
    TMap *map = FProject.Map();
    if (map == nullptr || !map->IsReady())
        return;
    // A command with its own undo step: whatever gesture runs ends first.
    EndGesture();
    if (!BeginGesture())
        return;
    write();
    EndGesture();
}

void TEditController::DelSelectionMenuItemClick()
{
    if (FView.Floating) {
        DiscardFloatingBlocks();
        return;
    }
    RunAsOneStep([this] {
        const uint16_t value = UseInvisiblePart() ? InvisiblePart() : GetCurrentChip();
        WriteSingleData(FWindow.CurrentLayer(), FView.Selection, true, value);
    });
}

void TEditController::FillSelectionMenuItemClick()
{
    RunAsOneStep([this] { WriteTileCurrentData(true); });
}

void TEditController::RunFill(int32_t FillType)
{
    TMap *map = FProject.Map();
    if (map == nullptr || !map->IsReady())
        return;
    EndGesture();
    const TSelection shown = FView.Selection;
    if (BeginGesture()) {
        if (FillType == 0)
            WriteTileCurrentData(true);
        else
            WriteSingleData(FWindow.CurrentLayer(), FView.Selection, true,
                            UseInvisiblePart() ? InvisiblePart() : 0);
        EndGesture();
    }
    FView.Selection.Active = 0;
    RepaintCells(shown);
}
