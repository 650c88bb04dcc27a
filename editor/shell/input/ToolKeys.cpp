// The map view's keys and wheel: temporary tools (Space, "s"), scrolling, the current-layer
// view (W), tool letters, view scales and moving the parts window's selection. The layer
// window forwards its keys and wheel here too.
#include "ToolInput.h"

#include "editor/edit/EditController.h"

#include <QKeyEvent>
#include <QWheelEvent>

bool TToolInput::HandleKeyPress(QKeyEvent *event)
{
    if (FormKeyDown(event->key(), event->isAutoRepeat()))
        return true;
    return FormKeyPress(event->text());
}

bool TToolInput::HandleKeyRelease(QKeyEvent *event)
{
    return FormKeyUp(event->key(), event->isAutoRepeat());
}

bool TToolInput::HandleWheel(QWheelEvent *event)
{
    // Ctrl+Shift+wheel zooms about the pointer; some platforms report a turn with Shift held
    // as a sideways one.
    const Qt::KeyboardModifiers zoomKeys = Qt::ControlModifier | Qt::ShiftModifier;
    if ((event->modifiers() & zoomKeys) == zoomKeys) {
        const QPoint angle = event->angleDelta();
        const int turn = angle.y() != 0 ? angle.y() : angle.x();
        if (turn == 0)
            return false;
        FWindow.ZoomAt(turn > 0 ? 1 : -1, event->globalPosition().toPoint());
        return true;
    }
    const int delta = event->angleDelta().y();
    if (delta == 0)
        return false;
    if (delta < 0)
        FormMouseWheelDown(event->modifiers());
    else
        FormMouseWheelUp(event->modifiers());
    return true;
}

bool TToolInput::FormKeyDown(int key, bool autoRepeat)
{
    switch (key) {
    case Qt::Key_Escape:
        if (!autoRepeat)
            FWindow.ToggleToolWindows();
        return true;
    case Qt::Key_Space:
        FSpaceReleasedWhileDragging = false;
        if (FView.ToolMode != tmHand) {
            FPreviousTool = FView.ToolMode;
            ToolMenuItemClick(tmHand);
        }
        return true;
    case Qt::Key_Left:
        FWindow.ScrollBy(-2, 0);
        return true;
    case Qt::Key_Right:
        FWindow.ScrollBy(2, 0);
        return true;
    case Qt::Key_Up:
        FWindow.ScrollBy(0, -2);
        return true;
    case Qt::Key_Down:
        FWindow.ScrollBy(0, 2);
        return true;
    case Qt::Key_W:
        if (!FView.CurrentLayerOnly) {
            FView.CurrentLayerOnly = true;
            FWindow.RedrawAll();
        }
        return true;
    case Qt::Key_F1:
        ToolMenuItemClick(tmPen);
        return true;
    case Qt::Key_F2:
        ToolMenuItemClick(tmTiledPen);
        return true;
    case Qt::Key_F5:
        ToolMenuItemClick(tmSelect);
        return true;
    default:
        return false;
    }
}

bool TToolInput::FormKeyUp(int key, bool autoRepeat)
{
    if (autoRepeat)
        return key == Qt::Key_Space || key == Qt::Key_W;
    if (key == Qt::Key_Space) {
        // A drag of the view finishes first (some X servers also report a held key as
        // released and pressed again while it repeats).
        if (FView.ToolMode == tmHand && FView.Dragging)
            FSpaceReleasedWhileDragging = true;
        else if (FView.ToolMode == tmHand && FPreviousTool != tmHand)
            ToolMenuItemClick(FPreviousTool);
        return true;
    }
    if (key == Qt::Key_W) {
        if (FView.CurrentLayerOnly) {
            FView.CurrentLayerOnly = false;
            FWindow.RedrawAll();
        }
        return true;
    }
    return false;
}

bool TToolInput::FormKeyPress(const QString &text)
{
    // Lower-case letters only: an upper-case letter does nothing.
    if (text.size() != 1)
        return false;
    const QChar character = text.at(0);
    switch (character.unicode()) {
    case '0':
        FWindow.ResetZoom();
        return true;
    case '1':
        FWindow.ViewScale(2);
        return true;
    case '2':
        FWindow.ViewScale(4);
        return true;
    case '3':
        FWindow.ViewScale(8);
        return true;
    case 'z':
        ToolMenuItemClick(tmPen);
        return true;
    case 'x':
        ToolMenuItemClick(tmTiledPen);
        return true;
    case 'c':
        ToolMenuItemClick(tmSelect);
        return true;
    case 'v':
        ToolMenuItemClick(tmHand);
        return true;
    case 's':
        // A temporary select mode: only the cursor shows it, the menu and buttons stay.
        FEdit.EndDrag();
        if (FView.ToolMode == tmSelect) {
            FView.ToolMode = FPreviousTool;
        } else {
            FPreviousTool = FView.ToolMode;
            FView.ToolMode = tmSelect;
        }
        SetCursorOfToolMode(FView.ToolMode);
        return true;
    case '[':
        SetTerrainBrush(FView.TerrainBrushSize - 1, FView.TerrainBrushRound);
        return true;
    case ']':
        SetTerrainBrush(FView.TerrainBrushSize + 1, FView.TerrainBrushRound);
        return true;
    case 'd':
    case 'g':
    case 'r':
    case 'f':
        FWindow.MovePartsSelection(character == 'd'   ? 0
                                   : character == 'g' ? 1
                                   : character == 'r' ? 2
                                                      : 3);
        return true;
    default:
        return false;
    }
}
