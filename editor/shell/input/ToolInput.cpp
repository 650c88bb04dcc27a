// The map view's tool state machine: presses, moves and releases of the pointer become the
// writing and selection operations of editor/edit/, with the modification group opened at
// the press and closed at the release (or at EndGesture, wherever a gesture ends early).
// Drawing goes through the view's partial and full updates; nothing here touches pixels.
#include "MapViewWidget.h"
#include "ToolCursors.h"
#include "editor/edit/ChangedCells.h"
#include "editor/edit/FloatingBlocks.h"
#include "editor/edit/SelectionRules.h"
#include "editor/edit/StrokeLine.h"
#include "editor/parts/ChipForm.h"
#include "editor/render/MapViewRenderer.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/MapDocument.h"
#include "editor/shell/language/Language.h"
#include "editor/shell/windows/LayerForm.h"
#include "editor/shell/windows/PreviewForm.h"

#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <algorithm>

namespace
{

// Division rounding towards minus infinity: a pointer left of or above the view lies in
// the cell before the first, not in the first.
int32_t FloorDiv(int32_t value, int32_t divisor)
{
    const int32_t quotient = value / divisor;
    return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? quotient - 1 : quotient;
}

constexpr Qt::MouseButtons kToolButtons = Qt::LeftButton | Qt::RightButton | Qt::MiddleButton;

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

int32_t TMainForm::CurrentLayerIndex() const
{
    return FLayerForm != nullptr ? FLayerForm->GetCurrentLayerIndex() : -1;
}

bool TMainForm::BeginGesture()
{
    TMap *map = MapDocument();
    FStrokeArea = TSelection();
    return map != nullptr && map->BeginModify();
}

void TMainForm::EndGesture()
{
    FView.Dragging = false;
    FGestureButton = Qt::NoButton;
    TMap *map = MapDocument();
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
        if (FPreviewForm != nullptr)
            FPreviewForm->UpdatePreviewRect(area.X, area.Y, area.DX, area.DY);
        ToolButtonMediator();
    }
}

void TMainForm::EndDrag()
{
    if (!FView.Dragging)
        return;
    if (FView.Floating) {
        // The block stays lifted (its group open) until it is put down.
        FView.Dragging = false;
        FGestureButton = Qt::NoButton;
        return;
    }
    if (FView.Selection.Active && FView.ToolMode != tmPen && FView.ToolMode != tmEraser &&
        MapDocument() != nullptr)
        FixSelection(FView.Selection, MapDocument()->Width());
    EndGesture();
}

void TMainForm::NoteWritten(const TSelection &cells)
{
    if (cells.Active)
        FStrokeArea = Union(FStrokeArea, cells);
}

void TMainForm::RefreshOverview()
{
    if (FPreviewForm != nullptr)
        FPreviewForm->UpdatePreview();
}

void TMainForm::RefreshCursorBlock()
{
    if (FPatternMode)
        FView.CursorBlock = FPatternData.Source;
    else if (FChipForm != nullptr)
        FView.CursorBlock = FChipForm->GetSelectedInfo();
    else
        FView.CursorBlock = TSelection();
}

void TMainForm::RepaintCells(const TSelection &cells)
{
    if (!cells.Active || MapDocument() == nullptr)
        return;
    TSelection area = cells;
    FixSelection(area, MapDocument()->Width());
    // A find result's thick frame reaches one pixel into the next column and row.
    UpdateCanvas(area.X, area.Y, area.DX + 1, area.DY + 1);
}

void TMainForm::ClearSelectionForTool()
{
    const TSelection shown = FView.Selection;
    UnSelect(false);
    // The old selection's hatch (or a block put down there) must not stay on the screen.
    RepaintCells(shown);
}

void TMainForm::FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int32_t x,
                              int32_t y)
{
    TMap *map = MapDocument();
    if (map == nullptr || !map->IsReady() || FLayerForm == nullptr || FView.ViewCellWidth <= 0 ||
        FView.ViewCellHeight <= 0)
        return;
    if (!(kToolButtons & button))
        return;
    // One gesture at a time: a second button pressed during a drag starts nothing.
    if (FView.Dragging)
        return;
    const TViewPoint view{FloorDiv(x, FView.ViewCellWidth), FloorDiv(y, FView.ViewCellHeight)};
    const int64_t column = static_cast<int64_t>(view.X) + FView.ScrollX;
    const int64_t row = static_cast<int64_t>(view.Y) + FView.ScrollY;
    if (column < 0 || row < 0 || column >= map->Width() || row >= map->Height())
        return; // outside the map: nothing to do
    const TViewPoint cell{static_cast<int32_t>(column), static_cast<int32_t>(row)};
    FLastCell = view;
    if (button == Qt::RightButton) {
        if (!DoEditCurrentLayer())
            return;
        FPreviousTool = FView.ToolMode;
        ToolMenuItemClick(tmPattern);
    }
    PressTool(button, modifiers, cell);
}

void TMainForm::PressTool(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, TViewPoint cell)
{
    TMap *map = MapDocument();
    const int32_t width = map->Width();
    switch (FView.ToolMode) {
    case tmPen:
    case tmEraser:
        if (!DoEditCurrentLayer())
            return;
        ClearSelectionForTool();
        FView.Selection = CellSelection(cell.X, cell.Y, width);
        // Without an open group the stroke would write outside any undo step.
        if (!BeginGesture())
            return;
        if (FView.ToolMode == tmPen)
            WriteCurrentData(true);
        else
            Erase(true);
        break;
    case tmTiledPen:
    case tmFill:
        if (!DoEditCurrentLayer())
            return;
        ClearSelectionForTool();
        FView.Selection = CellSelection(cell.X, cell.Y, width);
        break;
    case tmHand:
        if (FViewWidget != nullptr)
            FViewWidget->setCursor(ToolCursor(4));
        break;
    case tmPattern:
    case tmSelect:
        if (!DoEditCurrentLayer())
            return;
        if (FView.Selection.Active && SelectionContains(FView.Selection, cell.X, cell.Y)) {
            if (!FView.Floating) {
                if (!LiftSelection(modifiers))
                    return;
            } else if (modifiers & Qt::ControlModifier) {
                // Stamp: put the block down here and lift a copy of it at once.
                EndGesture();
                ClipSelection(FView.Selection, width, map->Height());
                if (!LiftSelection(modifiers))
                    return;
            }
            break;
        }
        ClearSelectionForTool();
        FView.Selection = CellSelection(cell.X, cell.Y, width);
        break;
    default:
        return;
    }
    FView.Dragging = true;
    FGestureButton = button;
    if (FView.ToolMode == tmTiledPen) {
        RefreshCursorBlock();
        RedrawAll(); // the lattice anchored at the pressed cell
    }
}

bool TMainForm::LiftSelection(Qt::KeyboardModifiers modifiers)
{
    TMap *map = MapDocument();
    TSelection selection = FView.Selection;
    FixSelection(selection, map->Width());
    ClipSelection(selection, map->Width(), map->Height());
    if (!LiesInsideMap(selection, map->Width(), map->Height()))
        return false;
    const bool everyLayer = modifiers & Qt::ShiftModifier;
    TLiftRequest request;
    request.Selection = selection;
    request.KeepSource = modifiers & Qt::ControlModifier;
    request.ClearValue = UseInvisiblePart() ? InvisiblePart() : 0;
    request.Limit = GetMaxIndex();
    if (everyLayer) {
        const int32_t count = map->LayerCount() % 256;
        for (int32_t layer = 0; layer < count; ++layer)
            if (map->GetLayerVisible(layer) && FLayerForm->GetLayerVisibleState(layer))
                request.Layers.push_back(layer);
    } else {
        if (!DoEditCurrentLayer())
            return false;
        request.Layers.push_back(CurrentLayerIndex());
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
    UpdateCanvas(selection.X, selection.Y, selection.DX, selection.DY);
    return true;
}

void TMainForm::FormMouseMove(Qt::MouseButtons buttons, int32_t x, int32_t y)
{
    TMap *map = MapDocument();
    if (FLayerForm == nullptr || map == nullptr || !map->IsReady() || FView.ViewCellWidth <= 0 ||
        FView.ViewCellHeight <= 0)
        return;
    if (FView.Dragging && !(buttons & FGestureButton)) {
        // The release never arrived (a window took the pointer): end the gesture as if it had.
        FormMouseUp(FGestureButton, buttons);
    }
    const TViewPoint view{FloorDiv(x, FView.ViewCellWidth), FloorDiv(y, FView.ViewCellHeight)};
    if (view == FLastCell)
        return;
    const int64_t column = static_cast<int64_t>(view.X) + FView.ScrollX;
    const int64_t row = static_cast<int64_t>(view.Y) + FView.ScrollY;
    const bool inside = column >= 0 && row >= 0 && column < map->Width() && row < map->Height();
    const TViewPoint cell{static_cast<int32_t>(std::clamp<int64_t>(column, 0, map->Width() - 1)),
                          static_cast<int32_t>(std::clamp<int64_t>(row, 0, map->Height() - 1))};
    if (FSettings.AutoActive && !isActiveWindow())
        activateWindow();
    if (!(FView.ToolMode == tmTiledPen && FView.Dragging))
        ShowCursorGrid(cell);

    switch (FView.ToolMode) {
    case tmPen:
    case tmEraser:
        if (FView.Dragging) {
            // A quick stroke jumps cells between two reports: every cell on the way is written.
            const TStrokeCell from{std::clamp(FLastCell.X + FView.ScrollX, 0, map->Width() - 1),
                                   std::clamp(FLastCell.Y + FView.ScrollY, 0, map->Height() - 1)};
            for (const TStrokeCell &step : StrokeCells(from, {cell.X, cell.Y})) {
                FView.Selection = CellSelection(step.X, step.Y, map->Width());
                if (FView.ToolMode == tmPen)
                    WriteCurrentData(true);
                else
                    Erase(true);
            }
        }
        break;
    case tmHand:
        if (FView.Dragging)
            ScrollBy(FLastCell.X - view.X, FLastCell.Y - view.Y);
        break;
    case tmTiledPen:
    case tmPattern:
    case tmSelect:
        if (!FView.Dragging) {
            // Over an active selection the cursor offers to move it.
            if (FViewWidget != nullptr && FView.Selection.Active) {
                const bool over = SelectionContains(FView.Selection, cell.X, cell.Y);
                FViewWidget->setCursor(over ? Qt::SizeAllCursor : Qt::CrossCursor);
            }
        } else if (!FView.Floating) {
            DragSelection(cell, view);
        } else {
            MoveFloatingSelection(view);
            return; // the status bar keeps its text while a block moves
        }
        break;
    default:
        break;
    }
    FLastCell = view;
    ShowCursorText(cell, inside);
}

void TMainForm::DragSelection(TViewPoint cell, TViewPoint view)
{
    const TSelection before = FView.Selection;
    FView.Selection.DX = cell.X - FView.Selection.X;
    FView.Selection.DY = cell.Y - FView.Selection.Y;
    FView.Selection.Active = 1;
    if (FView.ToolMode == tmTiledPen)
        RedrawAll(); // the lattice covers the whole view
    else
        UpdateSelectionArea(before, FView.Selection);
    // Past the view's edge the view follows, one cell per move.
    int32_t columns = 0;
    int32_t rows = 0;
    if (view.X >= FView.ViewWidth / FView.ViewCellWidth)
        columns = 1;
    if (view.Y >= FView.ViewHeight / FView.ViewCellHeight)
        rows = 1;
    if (view.X < 1)
        columns = -1;
    if (view.Y < 1)
        rows = -1;
    if (columns != 0 || rows != 0)
        ScrollBy(columns, rows);
}

void TMainForm::MoveFloatingSelection(TViewPoint view)
{
    const TSelection before = FView.Selection;
    FView.Selection.X += view.X - FLastCell.X;
    FView.Selection.Y += view.Y - FLastCell.Y;
    FView.Selection.Index = FView.Selection.Y * MapDocument()->Width() + FView.Selection.X;
    if (!FFloatingBlocks.empty())
        FFloatingBlocks.front().Target = FView.Selection;
    FLastCell = view;
    UpdateSelectionArea(before, FView.Selection);
}

void TMainForm::UpdateSelectionArea(const TSelection &before, const TSelection &after)
{
    const int32_t width = MapDocument()->Width();
    TSelection a = before;
    TSelection b = after;
    FixSelection(a, width);
    FixSelection(b, width);
    a.Active = b.Active = 1;
    // Apart, the two places are drawn each; touching or overlapping, their union once.
    const bool apart = a.X > b.X + b.DX + 1 || b.X > a.X + a.DX + 1 || a.Y > b.Y + b.DY + 1 ||
                       b.Y > a.Y + a.DY + 1;
    if (apart) {
        UpdateCanvas(a.X, a.Y, a.DX, a.DY);
        UpdateCanvas(b.X, b.Y, b.DX, b.DY);
    } else {
        const TSelection both = Union(a, b);
        UpdateCanvas(both.X, both.Y, both.DX, both.DY);
    }
    ShowSelectionStatus();
}

void TMainForm::ScrollBy(int32_t columns, int32_t rows)
{
    const TMap *map = MapDocument();
    if (map == nullptr || FHorzScrollBar == nullptr)
        return;
    const int32_t horizontal =
        ClampScrollPosition(FHorzScrollBar->value() + columns, map->Width(),
                            FView.ViewWidth / std::max(1, FView.ViewCellWidth));
    const int32_t vertical =
        ClampScrollPosition(FVertScrollBar->value() + rows, map->Height(),
                            FView.ViewHeight / std::max(1, FView.ViewCellHeight));
    if (horizontal == FHorzScrollBar->value() && vertical == FVertScrollBar->value())
        return;
    // Both bars move before the one redraw.
    FViewReady = false;
    FHorzScrollBar->setValue(horizontal);
    FVertScrollBar->setValue(vertical);
    FViewReady = true;
    ScrollBarsMoved();
}

void TMainForm::ShowCursorText(TViewPoint cell, bool inside)
{
    const TMap *map = MapDocument();
    QString text = QString::fromStdString(GetLangString(1, "Corsor")) + "(";
    const int32_t layer = CurrentLayerIndex();
    if (inside && layer >= 0 && layer < map->LayerCount()) {
        const size_t index = static_cast<size_t>(cell.Y) * static_cast<size_t>(map->Width()) +
                             static_cast<size_t>(cell.X);
        const std::vector<uint16_t> &cells = map->GetLayer(layer).Data;
        const uint16_t value = index < cells.size() ? cells[index] : 0;
        text += QString::number(cell.X) + ", " + QString::number(cell.Y) + ")=(" +
                QString::number(value) + ")";
    } else {
        text += QString::fromStdString(GetLangString(9, "Outside map range")) + ")";
    }
    FStatusPanels[0]->setText(text);
}

void TMainForm::ShowCursorGrid(TViewPoint cell)
{
    if (FViewWidget == nullptr)
        return;
    RefreshCursorBlock();
    TPixelRect frame;
    if (!FView.ViewReady || !ActiveGridFrame(FView, cell.X, cell.Y, frame)) {
        FViewWidget->SetCursorFrame(QRect(), FView.AGridColor);
        return;
    }
    FViewWidget->SetCursorFrame(
        QRect(QPoint(frame.Left, frame.Top), QPoint(frame.Right - 1, frame.Bottom - 1)),
        FView.AGridColor);
}

void TMainForm::FormMouseUp(Qt::MouseButton button, Qt::MouseButtons)
{
    TMap *map = MapDocument();
    if (map == nullptr || !map->IsReady())
        return;
    // Only the button that started the drag ends it.
    if (!FView.Dragging || button != FGestureButton)
        return;
    const bool temporaryPattern = button == Qt::RightButton;
    ReleaseTool(button);
    FView.Dragging = false;
    FGestureButton = Qt::NoButton;
    if (temporaryPattern && FPreviousTool != tmPattern)
        ToolMenuItemClick(FPreviousTool);
    if (FSpaceReleasedWhileDragging) {
        FSpaceReleasedWhileDragging = false;
        if (FView.ToolMode == tmHand && FPreviousTool != tmHand)
            ToolMenuItemClick(FPreviousTool);
    }
}

void TMainForm::ReleaseTool(Qt::MouseButton)
{
    TMap *map = MapDocument();
    switch (FView.ToolMode) {
    case tmTiledPen:
        FView.Dragging = false;
        FixSelection(FView.Selection, map->Width());
        if (BeginGesture()) {
            NoteWritten(FView.Selection);
            WriteTileCurrentData(true);
            EndGesture();
        }
        RedrawAll(); // the lattice goes
        break;
    case tmFill: {
        bool ready = false;
        TModified source = PenData(ready);
        const int32_t cursor = map->ModifyCursor();
        if (ready)
            map->FillArea(FView.Selection.X, FView.Selection.Y, source);
        const TSelection seed = FView.Selection;
        FView.Selection.Active = 0;
        FView.Dragging = false;
        ToolButtonMediator();
        RepaintCells(seed);
        // The fill records its whole layer: only the changed cells on the view are redrawn.
        if (map->ModifyCursor() == cursor + 3) {
            const TModifyRecord &fill = map->ModifyRecords()[static_cast<size_t>(cursor + 1)];
            const TSelection shown{
                1,
                FView.ScrollX,
                FView.ScrollY,
                std::min(FView.ViewWidth / FView.ViewCellWidth, map->Width() - 1 - FView.ScrollX),
                std::min(FView.ViewHeight / FView.ViewCellHeight,
                         map->Height() - 1 - FView.ScrollY),
                0};
            RepaintCells(ChangedCells(fill, map->Width(), shown));
            RefreshOverview();
        }
        break;
    }
    case tmPattern:
        if (FView.Selection.Active) {
            FView.Dragging = false;
            if (FView.Floating)
                EndGesture(); // the pattern is what the view shows: the block put down
            FixSelection(FView.Selection, map->Width());
            SetPatternSelect();
            UnSelect(true);
            ToolButtonMediator();
        }
        break;
    case tmSelect: {
        FixSelection(FView.Selection, map->Width());
        const TSelection &s = FView.Selection;
        UpdateCanvas(s.X, s.Y, s.DX, s.DY);
        ShowSelectionStatus();
        ToolButtonMediator();
        break;
    }
    case tmHand:
        SetCursorOfToolMode(tmHand);
        break;
    case tmPen:
    case tmEraser:
        EndGesture();
        break;
    default:
        break;
    }
}

void TMainForm::FormMouseWheelDown(Qt::KeyboardModifiers modifiers)
{
    if (FSettings.WheelAction == 0) {
        if (modifiers == Qt::ControlModifier)
            ScrollBy(1, 0);
        else
            ScrollBy(0, 1);
    } else if (FSettings.WheelAction == 1 && FLayerForm != nullptr) {
        FLayerForm->SelectLayer(FLayerForm->GetCurrentLayerIndex() - 1);
    }
}

void TMainForm::FormMouseWheelUp(Qt::KeyboardModifiers modifiers)
{
    if (FSettings.WheelAction == 0) {
        if (modifiers == Qt::ControlModifier)
            ScrollBy(-1, 0);
        else
            ScrollBy(0, -1);
    } else if (FSettings.WheelAction == 1 && FLayerForm != nullptr) {
        FLayerForm->SelectLayer(FLayerForm->GetCurrentLayerIndex() + 1);
    }
}
