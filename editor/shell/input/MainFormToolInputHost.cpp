#include "MainFormToolInputHost.h"

#include "MapViewWidget.h"
#include "editor/parts/ChipForm.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/ViewZoom.h"
#include "editor/shell/windows/LayerForm.h"

#include <QLabel>

bool TMainFormToolInputHost::ToolWindowsReady() const
{
    return FForm.FLayerForm != nullptr;
}

int32_t TMainFormToolInputHost::CurrentLayer() const
{
    return FForm.FLayerForm != nullptr ? FForm.FLayerForm->GetCurrentLayerIndex() : -1;
}

void TMainFormToolInputHost::ShowTool(uint8_t Tool)
{
    FForm.SelectTool(Tool);
}

void TMainFormToolInputHost::SetViewCursor(const QCursor &Cursor)
{
    if (FForm.FViewWidget != nullptr)
        FForm.FViewWidget->setCursor(Cursor);
}

void TMainFormToolInputHost::SetCursorFrame(const QRect &Frame, uint32_t Color)
{
    if (FForm.FViewWidget != nullptr)
        FForm.FViewWidget->SetCursorFrame(Frame, Color);
}

void TMainFormToolInputHost::RepaintView()
{
    if (FForm.FViewWidget != nullptr)
        FForm.FViewWidget->update();
}

void TMainFormToolInputHost::RedrawAll()
{
    FForm.RedrawAll();
}

void TMainFormToolInputHost::ScrollBy(int32_t Columns, int32_t Rows)
{
    FForm.ScrollBy(Columns, Rows);
}

void TMainFormToolInputHost::SetStatusText(int32_t Panel, const QString &Text)
{
    if (Panel >= 0 && Panel < 3 && FForm.FStatusPanels[Panel] != nullptr)
        FForm.FStatusPanels[Panel]->setText(Text);
}

void TMainFormToolInputHost::ActivateForPointer()
{
    if (FForm.FSettings.AutoActive && !FForm.isActiveWindow())
        FForm.activateWindow();
}

int32_t TMainFormToolInputHost::WheelAction() const
{
    return FForm.FSettings.WheelAction;
}

void TMainFormToolInputHost::SelectLayerBy(int32_t Step)
{
    if (FForm.FLayerForm != nullptr)
        FForm.FLayerForm->SelectLayer(FForm.FLayerForm->GetCurrentLayerIndex() + Step);
}

void TMainFormToolInputHost::MovePartsSelection(int32_t Direction)
{
    if (FForm.FChipForm != nullptr)
        FForm.FChipForm->SelectchipAxial(Direction);
}

void TMainFormToolInputHost::ToggleToolWindows()
{
    FForm.HideTollWindows();
}

void TMainFormToolInputHost::ResetZoom()
{
    FForm.Zoom().EditZoomNormMenuItemClick();
}

void TMainFormToolInputHost::ViewScale(int32_t Divisor)
{
    FForm.Zoom().ViewScaleClick(Divisor);
}

void TMainFormToolInputHost::ZoomAt(int32_t Direction, QPoint GlobalPosition)
{
    const TMapViewWidget *view = FForm.MapView();
    if (view == nullptr)
        return;
    QPoint at = view->mapFromGlobal(GlobalPosition);
    if (!view->rect().contains(at))
        at = view->rect().center();
    FForm.Zoom().ZoomAtPointer(Direction, at.x(), at.y());
}

void TMainFormToolInputHost::RefreshCommands()
{
    FForm.ToolButtonMediator();
}
