// What the tools do to the map and the selection as the pointer presses, drags and lets go:
// pen and eraser strokes, the pressed cell of the other tools, lifting, stamping and moving
// floating blocks, dragging a selection's corner, and each tool's work at the release. The
// tool input decides which of these runs; nothing here knows of the pointer or the keys.
#include "EditController.h"

#include "ChangedCells.h"
#include "FloatingBlocks.h"
#include "SelectionRules.h"

#include <algorithm>

bool TEditController::BeginStroke(int32_t X, int32_t Y)
{
    TMap *map = FProject.Map();
    ClearSelectionForTool();
    FView.Selection = CellSelection(X, Y, map->Width());
    // Without an open group the stroke would write outside any undo step.
    if (!BeginGesture())
        return false;
    StrokeTo(X, Y);
    return true;
}

void TEditController::StrokeTo(int32_t X, int32_t Y)
{
    FView.Selection = CellSelection(X, Y, FProject.Map()->Width());
    if (FView.ToolMode == tmPen)
        WriteCurrentData(true);
    else
        Erase(true);
}

void TEditController::SelectCellForTool(int32_t X, int32_t Y)
{
    ClearSelectionForTool();
    FView.Selection = CellSelection(X, Y, FProject.Map()->Width());
}

bool TEditController::LiftSelection(bool EveryLayer, bool KeepSource)
{
    TMap *map = FProject.Map();
    TSelection selection = FView.Selection;
    FixSelection(selection, map->Width());
    ClipSelection(selection, map->Width(), map->Height());
    if (!LiesInsideMap(selection, map->Width(), map->Height()))
        return false;
    TLiftRequest request;
    request.Selection = selection;
    request.KeepSource = KeepSource;
    request.ClearValue = UseInvisiblePart() ? InvisiblePart() : 0;
    request.Limit = GetMaxIndex();
    if (EveryLayer) {
        const int32_t count = map->LayerCount() % 256;
        for (int32_t layer = 0; layer < count; ++layer)
            if (map->GetLayerVisible(layer) && FWindow.LayerShown(layer))
                request.Layers.push_back(layer);
    } else {
        if (!DoEditCurrentLayer())
            return false;
        request.Layers.push_back(FWindow.CurrentLayer());
    }
    if (request.Layers.empty() || !BeginGesture())
        return false;
    FFloatingBlocks = LiftBlocks(*map, request);
    if (FFloatingBlocks.empty()) {
        EndGesture();
        return false;
    }
    FView.Selection = selection;
    FView.Selection.Active = 1;
    FView.FloatingBlocks = &FFloatingBlocks;
    FView.Floating = true;
    if (!request.KeepSource)
        NoteWritten(selection);
    FWindow.UpdateCanvas(selection.X, selection.Y, selection.DX, selection.DY);
    return true;
}

bool TEditController::StampFloatingSelection(bool EveryLayer)
{
    TMap *map = FProject.Map();
    EndGesture();
    ClipSelection(FView.Selection, map->Width(), map->Height());
    return LiftSelection(EveryLayer, true);
}

void TEditController::DragSelectionTo(int32_t X, int32_t Y)
{
    const TSelection before = FView.Selection;
    FView.Selection.DX = X - FView.Selection.X;
    FView.Selection.DY = Y - FView.Selection.Y;
    FView.Selection.Active = 1;
    if (FView.ToolMode == tmTiledPen)
        FWindow.RedrawAll(); // the lattice covers the whole view
    else
        UpdateSelectionArea(before, FView.Selection);
}

void TEditController::MoveFloatingSelection(int32_t DX, int32_t DY)
{
    const TSelection before = FView.Selection;
    FView.Selection.X += DX;
    FView.Selection.Y += DY;
    FView.Selection.Index = FView.Selection.Y * FProject.Map()->Width() + FView.Selection.X;
    if (!FFloatingBlocks.empty())
        FFloatingBlocks.front().Target = FView.Selection;
    UpdateSelectionArea(before, FView.Selection);
}

void TEditController::UpdateSelectionArea(const TSelection &Before, const TSelection &After)
{
    const int32_t width = FProject.Map()->Width();
    TSelection a = Before;
    TSelection b = After;
    FixSelection(a, width);
    FixSelection(b, width);
    a.Active = b.Active = 1;
    // Apart, the two places are drawn each; touching or overlapping, their union once.
    const bool apart = a.X > b.X + b.DX + 1 || b.X > a.X + a.DX + 1 || a.Y > b.Y + b.DY + 1 ||
                       b.Y > a.Y + a.DY + 1;
    if (apart) {
        FWindow.UpdateCanvas(a.X, a.Y, a.DX, a.DY);
        FWindow.UpdateCanvas(b.X, b.Y, b.DX, b.DY);
    } else {
        const int32_t left = std::min(a.X, b.X);
        const int32_t top = std::min(a.Y, b.Y);
        const int32_t right = std::max(a.X + a.DX, b.X + b.DX);
        const int32_t bottom = std::max(a.Y + a.DY, b.Y + b.DY);
        FWindow.UpdateCanvas(left, top, right - left, bottom - top);
    }
    FWindow.ShowSelectionStatus();
}

void TEditController::ReleaseTiledPen()
{
    FView.Dragging = false;
    FixSelection(FView.Selection, FProject.Map()->Width());
    if (BeginGesture()) {
        NoteWritten(FView.Selection);
        WriteTileCurrentData(true);
        EndGesture();
    }
    FWindow.RedrawAll(); // the lattice goes
}

void TEditController::ReleaseFill()
{
    TMap *map = FProject.Map();
    bool ready = false;
    TModified source = PenData(ready);
    const int32_t cursor = map->ModifyCursor();
    if (ready)
        map->FillArea(FView.Selection.X, FView.Selection.Y, source);
    const TSelection seed = FView.Selection;
    FView.Selection.Active = 0;
    FView.Dragging = false;
    FWindow.RefreshCommands();
    RepaintCells(seed);
    // The fill records its whole layer: only the changed cells on the view are redrawn.
    if (map->ModifyCursor() == cursor + 3) {
        const TModifyRecord &fill = map->ModifyRecords()[static_cast<size_t>(cursor + 1)];
        const TSelection shown{
            1,
            FView.ScrollX,
            FView.ScrollY,
            std::min(FView.ViewWidth / FView.ViewCellWidth, map->Width() - 1 - FView.ScrollX),
            std::min(FView.ViewHeight / FView.ViewCellHeight, map->Height() - 1 - FView.ScrollY),
            0};
        RepaintCells(ChangedCells(fill, map->Width(), shown));
        FWindow.RefreshOverview();
    }
}

void TEditController::ReleasePattern()
{
    if (!FView.Selection.Active)
        return;
    FView.Dragging = false;
    if (FView.Floating)
        EndGesture(); // the pattern is what the view shows: the block put down
    FixSelection(FView.Selection, FProject.Map()->Width());
    SetPatternSelect();
    UnSelect(true);
    FWindow.RefreshCommands();
}

void TEditController::ReleaseSelect()
{
    FixSelection(FView.Selection, FProject.Map()->Width());
    const TSelection &s = FView.Selection;
    FWindow.UpdateCanvas(s.X, s.Y, s.DX, s.DY);
    FWindow.ShowSelectionStatus();
    FWindow.RefreshCommands();
}
