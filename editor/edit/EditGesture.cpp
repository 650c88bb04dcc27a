// The edit controller's gesture: opening and closing its modification group, every early
// end of a drag, and what a gesture leaves for the views (the cells to repaint, the
// overview's area, the cursor block).
#include "EditController.h"

#include "FloatingBlocks.h"
#include "SelectionRules.h"
#include "editor/map/DialogSeam.h"
#include "editor/map/TessellaClipboardUnit.h"

#include <algorithm>

namespace
{

TSelection Union(const TSelection &a, const TSelection &b)
{
    if (!a.Active)
        return b;
    if (!b.Active)
        return a;
    const int32_t left = std::min(a.X, b.X);
    const int32_t top = std::min(a.Y, b.Y);
    const int32_t right = std::max(a.X + a.DX, b.X + b.DX);
    const int32_t bottom = std::max(a.Y + a.DY, b.Y + b.DY);
    return TSelection{1, left, top, right - left, bottom - top, 0};
}

} // namespace

TEditController::TEditController(TProjectDocument &Project, TMapViewState &View,
                                 TEditWindow &Window)
    : FProject(Project), FView(View), FWindow(Window),
      FClipboard(std::make_unique<TTessellaClipboard>())
{
    FView.FloatingBlocks = &FFloatingBlocks;
}

TEditController::~TEditController() = default;

int32_t TEditController::GetMaxIndex() const
{
    const TMap *map = FProject.Map();
    return map != nullptr && map->BitCount() >= 16 ? 65536 : 256;
}

bool TEditController::BeginGesture()
{
    TMap *map = FProject.Map();
    FStrokeArea = TSelection();
    return map != nullptr && map->BeginModify();
}

void TEditController::EndGesture()
{
    TMap *map = FProject.Map();
    // A drag cut short by a command is normalised as a drag that was let go.
    if (FView.Dragging && !FView.Floating && FView.Selection.Active && FView.ToolMode != tmPen &&
        FView.ToolMode != tmEraser && map != nullptr)
        FixSelection(FView.Selection, map->Width());
    FView.Dragging = false;
    if (map == nullptr) {
        FView.Floating = false;
        return;
    }
    if (FView.Floating) {
        FView.Floating = false;
        WriteSelectData(false);
    }
    if (map->InModify())
        map->EndModify();
    if (FStrokeArea.Active) {
        const TSelection area = FStrokeArea;
        FStrokeArea = TSelection();
        FWindow.RefreshOverviewCells(area);
        FWindow.RefreshCommands();
    }
    FWindow.GestureEnded();
}

void TEditController::DiscardFloatingBlocks()
{
    TMap *map = FProject.Map();
    if (map == nullptr || !FView.Floating)
        return;
    // The block goes unwritten: its group keeps only what the lift cleared, so one undo
    // gives back the map from before the lift. A copy cleared nothing: its group vanishes.
    FView.Floating = false;
    FView.Dragging = false;
    const std::vector<TModifyRecord> &records = map->ModifyRecords();
    const int32_t cursor = map->ModifyCursor();
    if (cursor > 0 && records[static_cast<size_t>(cursor - 1)].Kind == mtBegin)
        map->DropEmptyModify();
    else if (map->InModify())
        map->EndModify();
    FFloatingBlocks.clear();
    RepaintCells(FView.Selection);
    if (FStrokeArea.Active) {
        FWindow.RefreshOverviewCells(FStrokeArea);
        FStrokeArea = TSelection();
    }
    FWindow.RefreshCommands();
    FWindow.GestureEnded();
}

void TEditController::EndDrag()
{
    if (!FView.Dragging)
        return;
    if (FView.Floating) {
        // The block stays lifted (its group open) until it is put down.
        FView.Dragging = false;
        return;
    }
    if (FView.Selection.Active && FView.ToolMode != tmPen && FView.ToolMode != tmEraser &&
        FProject.Map() != nullptr)
        FixSelection(FView.Selection, FProject.Map()->Width());
    EndGesture();
}

bool TEditController::DoEditCurrentLayer()
{
    const int32_t layer = FWindow.CurrentLayer();
    if (layer >= 0 && FWindow.LayerShown(layer))
        return true;
    Dialogs().ShowMessageBox(
        mkInformation, Dialogs().GetLangMessage(
                           19, "Since the selection layer is not displayed, it cannot edit."));
    EndGesture();
    return false;
}

void TEditController::CloseData()
{
    // The document is going: its floating blocks and its drag go with it, unwritten.
    FView.Selection = TSelection();
    FView.Floating = false;
    FView.Dragging = false;
    FView.FoundMark = false;
    FFloatingBlocks.clear();
    FView.FloatingBlocks = &FFloatingBlocks;
    FCurrentData.Data.clear();
    FStrokeArea = TSelection();
    FView.ScrollX = 0;
    FView.ScrollY = 0;
    FWindow.ClearCursorFrame();
}

void TEditController::NoteWritten(const TSelection &Cells)
{
    if (Cells.Active)
        FStrokeArea = Union(FStrokeArea, Cells);
}

void TEditController::RepaintCells(const TSelection &Cells)
{
    if (!Cells.Active || FProject.Map() == nullptr)
        return;
    TSelection area = Cells;
    FixSelection(area, FProject.Map()->Width());
    // A find result's thick frame reaches one pixel into the next column and row.
    FWindow.UpdateCanvas(area.X, area.Y, area.DX + 1, area.DY + 1);
}

void TEditController::RefreshCursorBlock()
{
    FView.CursorBlock = FPatternMode ? FPatternData.Source : FWindow.PickedPartsArea();
}
