// The pointer and the wheel over the map view: presses, moves and releases become the edit
// controller's operations, with the modification group opened at the press and closed at
// the release (or at EndGesture, wherever a gesture ends early).
#include "ToolInput.h"

#include "ToolCursors.h"
#include "editor/edit/EditController.h"
#include "editor/edit/SelectionRules.h"
#include "editor/edit/StrokeLine.h"
#include "editor/render/MapViewRenderer.h"
#include "editor/shell/language/Language.h"

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

} // namespace

TToolInput::TToolInput(TEditController &Edit, TMapViewState &View, TToolInputWindow &Window)
    : FEdit(Edit), FView(View), FWindow(Window)
{
}

void TToolInput::FormMouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Modifiers, int32_t X,
                               int32_t Y)
{
    TMap *map = FEdit.Map();
    if (map == nullptr || !map->IsReady() || !FWindow.ToolWindowsReady() ||
        FView.ViewCellWidth <= 0 || FView.ViewCellHeight <= 0)
        return;
    if (!(kToolButtons & Button))
        return;
    // One gesture at a time: a second button pressed during a drag starts nothing.
    if (FView.Dragging)
        return;
    const TViewPoint view{FloorDiv(X, FView.ViewCellWidth), FloorDiv(Y, FView.ViewCellHeight)};
    const int64_t column = static_cast<int64_t>(view.X) + FView.ScrollX;
    const int64_t row = static_cast<int64_t>(view.Y) + FView.ScrollY;
    if (column < 0 || row < 0 || column >= map->Width() || row >= map->Height())
        return; // outside the map: nothing to do
    const TViewPoint cell{static_cast<int32_t>(column), static_cast<int32_t>(row)};
    FLastCell = view;
    if (Button == Qt::RightButton) {
        if (!FEdit.DoEditCurrentLayer())
            return;
        FPreviousTool = FView.ToolMode;
        ToolMenuItemClick(tmPattern);
    }
    PressTool(Button, Modifiers, cell);
}

void TToolInput::PressTool(Qt::MouseButton Button, Qt::KeyboardModifiers Modifiers, TViewPoint Cell)
{
    switch (FView.ToolMode) {
    case tmPen:
    case tmEraser:
        if (!FEdit.DoEditCurrentLayer() || !FEdit.BeginStroke(Cell.X, Cell.Y))
            return;
        break;
    case tmTiledPen:
    case tmFill:
        if (!FEdit.DoEditCurrentLayer())
            return;
        FEdit.SelectCellForTool(Cell.X, Cell.Y);
        break;
    case tmHand:
        FWindow.SetViewCursor(ToolCursor(4));
        break;
    case tmPattern:
    case tmSelect: {
        if (!FEdit.DoEditCurrentLayer())
            return;
        const bool everyLayer = Modifiers & Qt::ShiftModifier;
        const bool copy = Modifiers & Qt::ControlModifier;
        if (FView.Selection.Active && SelectionContains(FView.Selection, Cell.X, Cell.Y)) {
            if (!FView.Floating) {
                if (!FEdit.LiftSelection(everyLayer, copy))
                    return;
            } else if (copy) {
                if (!FEdit.StampFloatingSelection(everyLayer))
                    return;
            }
            break;
        }
        FEdit.SelectCellForTool(Cell.X, Cell.Y);
        break;
    }
    default:
        return;
    }
    FView.Dragging = true;
    FGestureButton = Button;
    FTemporaryPattern = Button == Qt::RightButton;
    if (FView.ToolMode == tmTiledPen) {
        FEdit.RefreshCursorBlock();
        FWindow.RedrawAll(); // the lattice anchored at the pressed cell
    }
}

void TToolInput::FormMouseMove(Qt::MouseButtons Buttons, int32_t X, int32_t Y)
{
    TMap *map = FEdit.Map();
    if (!FWindow.ToolWindowsReady() || map == nullptr || !map->IsReady() ||
        FView.ViewCellWidth <= 0 || FView.ViewCellHeight <= 0)
        return;
    if (FView.Dragging && !(Buttons & FGestureButton)) {
        // The release never arrived (a window took the pointer): end the gesture as if it had.
        FormMouseUp(FGestureButton, Buttons);
    }
    const TViewPoint view{FloorDiv(X, FView.ViewCellWidth), FloorDiv(Y, FView.ViewCellHeight)};
    if (view == FLastCell)
        return;
    const int64_t column = static_cast<int64_t>(view.X) + FView.ScrollX;
    const int64_t row = static_cast<int64_t>(view.Y) + FView.ScrollY;
    const bool inside = column >= 0 && row >= 0 && column < map->Width() && row < map->Height();
    const TViewPoint cell{static_cast<int32_t>(std::clamp<int64_t>(column, 0, map->Width() - 1)),
                          static_cast<int32_t>(std::clamp<int64_t>(row, 0, map->Height() - 1))};
    FWindow.ActivateForPointer();
    if (!(FView.ToolMode == tmTiledPen && FView.Dragging))
        ShowCursorGrid(cell);

    switch (FView.ToolMode) {
    case tmPen:
    case tmEraser:
        if (FView.Dragging) {
            // A quick stroke jumps cells between two reports: every cell on the way is written.
            const TStrokeCell from{std::clamp(FLastCell.X + FView.ScrollX, 0, map->Width() - 1),
                                   std::clamp(FLastCell.Y + FView.ScrollY, 0, map->Height() - 1)};
            for (const TStrokeCell &step : StrokeCells(from, {cell.X, cell.Y}))
                FEdit.StrokeTo(step.X, step.Y);
        }
        break;
    case tmHand:
        if (FView.Dragging)
            FWindow.ScrollBy(FLastCell.X - view.X, FLastCell.Y - view.Y);
        break;
    case tmTiledPen:
    case tmPattern:
    case tmSelect:
        if (!FView.Dragging) {
            // Over an active selection the cursor offers to move it.
            if (FView.Selection.Active) {
                const bool over = SelectionContains(FView.Selection, cell.X, cell.Y);
                FWindow.SetViewCursor(over ? Qt::SizeAllCursor : Qt::CrossCursor);
            }
        } else if (!FView.Floating) {
            DragSelection(cell, view);
        } else {
            FEdit.MoveFloatingSelection(view.X - FLastCell.X, view.Y - FLastCell.Y);
            FLastCell = view;
            return; // the status bar keeps its text while a block moves
        }
        break;
    default:
        break;
    }
    FLastCell = view;
    ShowCursorText(cell, inside);
}

void TToolInput::DragSelection(TViewPoint Cell, TViewPoint ViewCell)
{
    FEdit.DragSelectionTo(Cell.X, Cell.Y);
    int32_t columns = 0;
    int32_t rows = 0;
    if (ViewCell.X >= FView.ViewWidth / FView.ViewCellWidth)
        columns = 1;
    if (ViewCell.Y >= FView.ViewHeight / FView.ViewCellHeight)
        rows = 1;
    if (ViewCell.X < 1)
        columns = -1;
    if (ViewCell.Y < 1)
        rows = -1;
    if (columns != 0 || rows != 0)
        FWindow.ScrollBy(columns, rows);
}

void TToolInput::ShowCursorText(TViewPoint Cell, bool Inside)
{
    const TMap *map = FEdit.Map();
    QString text = QString::fromStdString(GetLangString(1, "Corsor")) + "(";
    const int32_t layer = FWindow.CurrentLayer();
    if (Inside && layer >= 0 && layer < map->LayerCount()) {
        const size_t index = static_cast<size_t>(Cell.Y) * static_cast<size_t>(map->Width()) +
                             static_cast<size_t>(Cell.X);
        const std::vector<uint16_t> &cells = map->GetLayer(layer).Data;
        const uint16_t value = index < cells.size() ? cells[index] : 0;
        text += QString::number(Cell.X) + ", " + QString::number(Cell.Y) + ")=(" +
                QString::number(value) + ")";
    } else {
        text += QString::fromStdString(GetLangString(9, "Outside map range")) + ")";
    }
    FWindow.SetStatusText(0, text);
}

void TToolInput::ShowCursorGrid(TViewPoint Cell)
{
    FEdit.RefreshCursorBlock();
    TPixelRect frame;
    if (!FView.ViewReady || !ActiveGridFrame(FView, Cell.X, Cell.Y, frame)) {
        FWindow.SetCursorFrame(QRect(), FView.AGridColor);
        return;
    }
    FWindow.SetCursorFrame(
        QRect(QPoint(frame.Left, frame.Top), QPoint(frame.Right - 1, frame.Bottom - 1)),
        FView.AGridColor);
}

void TToolInput::FormMouseUp(Qt::MouseButton Button, Qt::MouseButtons)
{
    TMap *map = FEdit.Map();
    if (map == nullptr || !map->IsReady())
        return;
    // Only the button that started the drag ends it.
    if (!FView.Dragging || Button != FGestureButton)
        return;
    const bool temporaryPattern = FTemporaryPattern;
    FTemporaryPattern = false;
    ReleaseTool();
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

void TToolInput::ReleaseTool()
{
    switch (FView.ToolMode) {
    case tmTiledPen:
        FEdit.ReleaseTiledPen();
        break;
    case tmFill:
        FEdit.ReleaseFill();
        break;
    case tmPattern:
        FEdit.ReleasePattern();
        break;
    case tmSelect:
        FEdit.ReleaseSelect();
        break;
    case tmHand:
        SetCursorOfToolMode(tmHand);
        break;
    case tmPen:
    case tmEraser:
        FEdit.EndGesture();
        break;
    default:
        break;
    }
}

void TToolInput::GestureEnded()
{
    // Only a right-button drag ended before its release is left to give the tool back.
    if (!FTemporaryPattern)
        return;
    FTemporaryPattern = false;
    FGestureButton = Qt::NoButton;
    if (FPreviousTool != tmPattern)
        ToolMenuItemClick(FPreviousTool);
}

void TToolInput::FormMouseWheelDown(Qt::KeyboardModifiers Modifiers)
{
    if (FWindow.WheelAction() == 0) {
        if (Modifiers == Qt::ControlModifier)
            FWindow.ScrollBy(1, 0);
        else
            FWindow.ScrollBy(0, 1);
    } else if (FWindow.WheelAction() == 1) {
        FWindow.SelectLayerBy(-1);
    }
}

void TToolInput::FormMouseWheelUp(Qt::KeyboardModifiers Modifiers)
{
    if (FWindow.WheelAction() == 0) {
        if (Modifiers == Qt::ControlModifier)
            FWindow.ScrollBy(-1, 0);
        else
            FWindow.ScrollBy(0, -1);
    } else if (FWindow.WheelAction() == 1) {
        FWindow.SelectLayerBy(1);
    }
}
