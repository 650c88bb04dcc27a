// The main window as the tool input's window: its menus' tool marks, the map view's cursor
// and cursor frame, the scroll bars, the status bar, the tool windows' keys and the view
// commands some keys run.
#pragma once

#include "ToolInputWindow.h"

class TMainForm;

class TMainFormToolInputHost : public TToolInputWindow
{
public:
    explicit TMainFormToolInputHost(TMainForm &Form) : FForm(Form) {}

    bool ToolWindowsReady() const override;
    int32_t CurrentLayer() const override;
    void ShowTool(uint8_t Tool) override;
    void SetViewCursor(const QCursor &Cursor) override;
    void SetCursorFrame(const QRect &Frame, uint32_t Color) override;
    void RepaintView() override;
    void RedrawAll() override;
    void ScrollBy(int32_t Columns, int32_t Rows) override;
    void SetStatusText(int32_t Panel, const QString &Text) override;
    void ActivateForPointer() override;
    int32_t WheelAction() const override;
    void SelectLayerBy(int32_t Step) override;
    void MovePartsSelection(int32_t Direction) override;
    void ToggleToolWindows() override;
    void ResetZoom() override;
    void ViewScale(int32_t Divisor) override;
    void ZoomAt(int32_t Direction, QPoint GlobalPosition) override;
    void RefreshCommands() override;

private:
    TMainForm &FForm;
};
