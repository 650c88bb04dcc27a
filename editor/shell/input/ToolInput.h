// The map view's tool state machine: which tool is chosen and which one a temporary tool
// (the right button's pattern, Space's hand, "s"'s select) returns to, the drag in progress,
// and what presses, moves, releases, keys and the wheel do with it. It turns them into the
// edit controller's operations, with the gesture opened at the press and closed at the
// release; it reaches the window only through TToolInputWindow and never touches pixels.
#pragma once

#include "ToolInputWindow.h"
#include "editor/render/MapViewMath.h"
#include "editor/render/MapViewState.h"

#include <QString>
#include <Qt>
#include <cstdint>

class QKeyEvent;
class QWheelEvent;
class TEditController;

class TToolInput
{
public:
    TToolInput(TEditController &Edit, TMapViewState &View, TToolInputWindow &Window);

    // The map view's pointer, in view pixels (ToolInput.cpp).
    void FormMouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Modifiers, int32_t X,
                       int32_t Y);
    void FormMouseMove(Qt::MouseButtons Buttons, int32_t X, int32_t Y);
    void FormMouseUp(Qt::MouseButton Button, Qt::MouseButtons Buttons);
    void FormMouseWheelDown(Qt::KeyboardModifiers Modifiers);
    void FormMouseWheelUp(Qt::KeyboardModifiers Modifiers);

    // Keys and wheel of the map view; the tool windows forward theirs here. Each returns
    // true when it used the event (ToolKeys.cpp).
    bool HandleKeyPress(QKeyEvent *Event);
    bool HandleKeyRelease(QKeyEvent *Event);
    bool HandleWheel(QWheelEvent *Event);
    bool FormKeyDown(int Key, bool AutoRepeat);
    bool FormKeyUp(int Key, bool AutoRepeat);
    bool FormKeyPress(const QString &Text);

    // Choosing a tool: what its menu entry and button do (ToolChoice.cpp).
    void ToolMenuItemClick(uint8_t Tool);
    void SetCursorOfToolMode(uint8_t Tool);
    uint8_t PreviousTool() const { return FPreviousTool; }
    // A gesture ended, also early (a command during a drag): a tool taken for the gesture
    // gives way to the one before it.
    void GestureEnded();

private:
    void PressTool(Qt::MouseButton Button, Qt::KeyboardModifiers Modifiers, TViewPoint Cell);
    void ReleaseTool();
    // The dragged selection's corner follows the pointer; past the view's edge the view
    // follows, one cell per move.
    void DragSelection(TViewPoint Cell, TViewPoint ViewCell);
    void ShowCursorText(TViewPoint Cell, bool Inside);
    void ShowCursorGrid(TViewPoint Cell);

    TEditController &FEdit;
    TMapViewState &FView;
    TToolInputWindow &FWindow;
    uint8_t FPreviousTool = tmPen;
    TViewPoint FLastCell;
    // The button that started the running drag; other buttons do not end it.
    Qt::MouseButton FGestureButton = Qt::NoButton;
    // Space was let go while the hand dragged: the previous tool returns at the release.
    bool FSpaceReleasedWhileDragging = false;
    // The right button's drag runs with the pattern tool taken for it.
    bool FTemporaryPattern = false;
};
