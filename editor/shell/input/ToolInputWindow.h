// What the tool input asks of the main window: the tool shown in the menus and tool bar,
// the view's cursor and cursor frame, scrolling, the status text, the layer and parts
// windows' keys, the view commands some keys run, and the settings it follows.
#pragma once

#include <QCursor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>

class TToolInputWindow
{
public:
    virtual ~TToolInputWindow() = default;

    // The tool windows exist: before that no pointer does anything.
    virtual bool ToolWindowsReady() const = 0;
    // The layer window's current layer; -1 when it shows none.
    virtual int32_t CurrentLayer() const = 0;
    // The tool's menu entry and tool button are checked; the view state takes the tool.
    virtual void ShowTool(uint8_t Tool) = 0;
    virtual void SetViewCursor(const QCursor &Cursor) = 0;
    // The cursor grid's frame in view pixels (exclusive at right and bottom); empty: none.
    virtual void SetCursorFrame(const QRect &Frame, uint32_t Color) = 0;
    virtual void RepaintView() = 0;
    virtual void RedrawAll() = 0;
    // Moves the scroll bars by cells, as far as they go, and redraws.
    virtual void ScrollBy(int32_t Columns, int32_t Rows) = 0;
    virtual void SetStatusText(int32_t Panel, const QString &Text) = 0;
    // Setting "AutoActive": the window comes to the front when the pointer moves over it.
    virtual void ActivateForPointer() = 0;
    // Setting "WheelAction": 0 scrolls, 1 changes the current layer.
    virtual int32_t WheelAction() const = 0;
    // The layer window's current layer moves up (+1) or down (-1).
    virtual void SelectLayerBy(int32_t Step) = 0;
    // The parts window's selection moves: 0 left, 1 right, 2 up, 3 down.
    virtual void MovePartsSelection(int32_t Direction) = 0;
    // Esc: the tool windows go away or come back.
    virtual void ToggleToolWindows() = 0;
    // Keys "0" to "3": the zoom reset and the view scales 1/2, 1/4, 1/8.
    virtual void ResetZoom() = 0;
    virtual void ViewScale(int32_t Divisor) = 0;
    // One zoom step in (Direction > 0) or out that keeps the map under the pointer where it
    // is (the view's centre when the pointer is elsewhere).
    virtual void ZoomAt(int32_t Direction, QPoint GlobalPosition) = 0;
    // The enabled states of the commands and the title.
    virtual void RefreshCommands() = 0;
};
