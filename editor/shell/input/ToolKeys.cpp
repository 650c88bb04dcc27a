// The map view's keys and wheel: temporary tools (Space, "s"), scrolling, the current-layer
// view (W), tool letters, view scales and moving the parts window's selection. The layer
// window forwards its keys and wheel here too.
#include "editor/parts/ChipForm.h"
#include "editor/shell/MainForm.h"

#include <QAction>
#include <QKeyEvent>
#include <QWheelEvent>

bool TMainForm::HandleKeyPress(QKeyEvent *event)
{
    if (FormKeyDown(event->key(), event->isAutoRepeat()))
        return true;
    return FormKeyPress(event->text());
}

bool TMainForm::HandleKeyRelease(QKeyEvent *event)
{
    return FormKeyUp(event->key(), event->isAutoRepeat());
}

bool TMainForm::HandleWheel(QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0)
        return false;
    if (delta < 0)
        FormMouseWheelDown(event->modifiers());
    else
        FormMouseWheelUp(event->modifiers());
    return true;
}

void TMainForm::keyPressEvent(QKeyEvent *event)
{
    if (HandleKeyPress(event))
        event->accept();
    else
        QMainWindow::keyPressEvent(event);
}

void TMainForm::keyReleaseEvent(QKeyEvent *event)
{
    if (HandleKeyRelease(event))
        event->accept();
    else
        QMainWindow::keyReleaseEvent(event);
}

bool TMainForm::FormKeyDown(int key, bool autoRepeat)
{
    switch (key) {
    case Qt::Key_Escape:
        if (!autoRepeat)
            HideTollWindows();
        return true;
    case Qt::Key_Space:
        FSpaceReleasedWhileDragging = false;
        if (FView.ToolMode != tmHand) {
            FPreviousTool = FView.ToolMode;
            ToolMenuItemClick(tmHand);
        }
        return true;
    case Qt::Key_Left:
        ScrollBy(-2, 0);
        return true;
    case Qt::Key_Right:
        ScrollBy(2, 0);
        return true;
    case Qt::Key_Up:
        ScrollBy(0, -2);
        return true;
    case Qt::Key_Down:
        ScrollBy(0, 2);
        return true;
    case Qt::Key_W:
        if (!FView.CurrentLayerOnly) {
            FView.CurrentLayerOnly = true;
            RedrawAll();
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

bool TMainForm::FormKeyUp(int key, bool autoRepeat)
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
            RedrawAll();
        }
        return true;
    }
    return false;
}

bool TMainForm::FormKeyPress(const QString &text)
{
    // Lower-case letters only: an upper-case letter does nothing.
    if (text.size() != 1)
        return false;
    const QChar character = text.at(0);
    switch (character.unicode()) {
    case '0':
        EditZoomNormMenuItemClick();
        return true;
    case '1':
        ViewScaleClick(2);
        return true;
    case '2':
        ViewScaleClick(4);
        return true;
    case '3':
        ViewScaleClick(8);
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
        EndDrag();
        if (FView.ToolMode == tmSelect) {
            FView.ToolMode = FPreviousTool;
        } else {
            FPreviousTool = FView.ToolMode;
            FView.ToolMode = tmSelect;
        }
        SetCursorOfToolMode(FView.ToolMode);
        return true;
    case 'd':
    case 'g':
    case 'r':
    case 'f':
        if (FChipForm != nullptr) {
            const int32_t direction = character == 'd'   ? 0
                                      : character == 'g' ? 1
                                      : character == 'r' ? 2
                                                         : 3;
            FChipForm->SelectchipAxial(direction);
        }
        return true;
    default:
        return false;
    }
}
