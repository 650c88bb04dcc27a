// The main window's cell writers: the pen, the eraser, the tiling pen, one-value fills, and
// the Delete and Ctrl+Delete commands. Each write is recorded in the map's log inside the
// group its caller opened, and shows only the cells it wrote.
#include "editor/edit/FloatingBlocks.h"
#include "editor/edit/SelectionRules.h"
#include "editor/map/DialogSeam.h"
#include "editor/parts/ChipForm.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/MapDocument.h"
#include "editor/shell/language/Language.h"
#include "editor/shell/windows/LayerForm.h"
#include "editor/shell/windows/PreviewForm.h"

bool TMainForm::DoEditCurrentLayer()
{
    const int32_t layer = CurrentLayerIndex();
    if (FLayerForm != nullptr && layer >= 0 && FLayerForm->GetLayerVisibleState(layer))
        return true;
    ShowMessageBox(
        mkInformation,
        GetLangMessage(19, "Since the selection layer is not displayed, it cannot edit."));
    EndGesture();
    return false;
}

TModified TMainForm::PenData(bool &ready) const
{
    ready = false;
    TModified request;
    if (FPatternMode) {
        request = FPatternData;
        ready = !request.Data.empty() && request.Source.Active;
    } else if (FChipForm != nullptr) {
        request = FCurrentData;
        ready = FChipForm->SetCurrentData(request);
    }
    request.Layer = CurrentLayerIndex();
    return request;
}

uint16_t TMainForm::GetCurrentChip() const
{
    if (FPatternMode)
        return FPatternData.Data.empty() ? 0 : FPatternData.Data.front();
    TModified request;
    if (FChipForm == nullptr || !FChipForm->SetCurrentData(request) || request.Data.empty())
        return 0;
    return request.Data.front();
}

TMap *TMainForm::MapForSelectionWrite()
{
    TMap *map = MapDocument();
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

void TMainForm::WriteCurrentData(bool Update)
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
        UpdateCanvas(block.X, block.Y, block.DX, block.DY);
        ToolButtonMediator();
    }
}

void TMainForm::Erase(bool Update)
{
    TMap *map = MapForSelectionWrite();
    if (map == nullptr)
        return;
    TModified request;
    request.Layer = CurrentLayerIndex();
    request.Target = FView.Selection;
    request.Source = FView.Selection;
    request.Data.assign(1, InvisiblePart());
    const TSelection cell{1, FView.Selection.X, FView.Selection.Y, 0, 0, 0};
    map->WriteData(request, GetMaxIndex());
    FView.Selection.Active = 0;
    NoteWritten(cell);
    if (Update) {
        UpdateCanvas(cell.X, cell.Y, 0, 0);
        ToolButtonMediator();
    }
}

void TMainForm::WriteTileCurrentData(bool Update)
{
    TMap *map = MapForSelectionWrite();
    if (map == nullptr)
        return;
    bool ready = false;
    TModified request = PenData(ready);
    // Without a parts selection the last pen data is used.
    if (!ready && !FPatternMode)
        request = FCurrentData;
    request.Layer = CurrentLayerIndex();
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
        ToolButtonMediator();
    }
}

void TMainForm::WriteSingleData(int32_t Layer, const TSelection &Rect, bool Update, uint16_t Value)
{
    TMap *map = MapDocument();
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
        ToolButtonMediator();
    }
}

void TMainForm::RunAsOneStep(const std::function<void()> &write)
{
    TMap *map = MapDocument();
    if (map == nullptr || !map->IsReady())
        return;
    // A command with its own undo step: whatever gesture runs ends first.
    EndGesture();
    if (!BeginGesture())
        return;
    write();
    EndGesture();
}

void TMainForm::DelSelectionMenuItemClick()
{
    RunAsOneStep([this] {
        const uint16_t value = UseInvisiblePart() ? InvisiblePart() : GetCurrentChip();
        WriteSingleData(CurrentLayerIndex(), FView.Selection, true, value);
    });
}

void TMainForm::FillSelectionMenuItemClick()
{
    RunAsOneStep([this] { WriteTileCurrentData(true); });
}
