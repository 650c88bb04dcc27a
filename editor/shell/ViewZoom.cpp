#include "ViewZoom.h"

#include "MainForm.h"
#include "MapDocument.h"
#include "editor/render/ZoomSteps.h"

#include <QScrollBar>

void TViewZoom::ApplyZoom(int32_t cellWidth, int32_t cellHeight)
{
    FForm.FView.ViewCellWidth = cellWidth;
    FForm.FView.ViewCellHeight = cellHeight;
    FForm.FormResize();
    FForm.UpdateTitle();
    FForm.ToolButtonMediator();
}

void TViewZoom::ApplyStep(const TZoomStep &Step)
{
    FForm.FViewZoom = Step.ViewZoom;
    ApplyZoom(Step.CellWidth, Step.CellHeight);
}

void TViewZoom::EditZoomInMenuItemClick()
{
    const TMap *map = MapDocument();
    if (map == nullptr)
        return;
    const TMapViewState &view = FForm.FView;
    const TZoomStep step =
        ZoomInStep(view.ViewCellWidth, view.ViewCellHeight, map->PartsWidth(), map->PartsHeight(),
                   static_cast<uint8_t>(FForm.FSettings.ZoomRatio));
    if (step.Changed)
        ApplyStep(step);
}

void TViewZoom::EditZoomOutMenuItemClick()
{
    const TMap *map = MapDocument();
    if (map == nullptr)
        return;
    const TMapViewState &view = FForm.FView;
    const TZoomStep step =
        ZoomOutStep(view.ViewCellWidth, view.ViewCellHeight, map->PartsWidth(), map->PartsHeight(),
                    static_cast<uint8_t>(FForm.FSettings.ZoomRatio));
    if (step.Changed)
        ApplyStep(step);
}

void TViewZoom::EditZoomNormMenuItemClick()
{
    const TMap *map = MapDocument();
    if (map == nullptr)
        return;
    ApplyStep(ResetZoomStep(map->PartsWidth(), map->PartsHeight()));
}

void TViewZoom::ViewScaleClick(int32_t divisor)
{
    const TMap *map = MapDocument();
    if (map == nullptr)
        return;
    // 1/2 needs a result above 0; 1/4 and 1/8 need parts at least that large. A failed
    // width check changes nothing; a failed height check keeps the changed width.
    auto allowed = [divisor](int32_t size) {
        return divisor == 2 ? size / 2 > 0 : size >= divisor;
    };
    if (!allowed(map->PartsWidth()))
        return;
    int32_t cellWidth = map->PartsWidth() / divisor;
    int32_t cellHeight = FForm.FView.ViewCellHeight;
    if (allowed(map->PartsHeight()))
        cellHeight = map->PartsHeight() / divisor;
    ApplyZoom(cellWidth, cellHeight);
}

void TViewZoom::ZoomToClick(uint16_t Zoom)
{
    const TMap *map = MapDocument();
    if (map == nullptr)
        return;
    ApplyStep(ZoomToStep(map->PartsWidth(), map->PartsHeight(), Zoom));
}

void TViewZoom::FitMapMenuItemClick()
{
    const TMap *map = MapDocument();
    QWidget *area = FForm.centralWidget();
    if (map == nullptr || !map->IsReady() || area == nullptr)
        return;
    // A map that fits needs no scroll bars: the whole area is the view.
    ApplyStep(FitZoomStep(map->Width(), map->Height(), map->PartsWidth(), map->PartsHeight(),
                          area->width(), area->height()));
}

void TViewZoom::ZoomAtPointer(int32_t Direction, int32_t X, int32_t Y)
{
    const TMapViewState &view = FForm.FView;
    const int32_t cellWidth = view.ViewCellWidth;
    const int32_t cellHeight = view.ViewCellHeight;
    const int32_t scrollX = view.ScrollX;
    const int32_t scrollY = view.ScrollY;
    // One redraw, after the scroll bars have moved.
    FForm.FViewReady = false;
    if (Direction > 0)
        EditZoomInMenuItemClick();
    else
        EditZoomOutMenuItemClick();
    FForm.FHorzScrollBar->setValue(ScrollKeepingCell(scrollX, X, cellWidth, view.ViewCellWidth));
    FForm.FVertScrollBar->setValue(ScrollKeepingCell(scrollY, Y, cellHeight, view.ViewCellHeight));
    FForm.FViewReady = true;
    FForm.ScrollBarsMoved();
}
