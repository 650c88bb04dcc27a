// The map view's zoom commands: Zoom In and Zoom Out by their step, Reset Zoom, the view
// scales 1/2, 1/4 and 1/8, View > Zoom To's fixed steps, Fit Map in Window, and zooming in
// and out about the pointer. Each sets the cell size, lays the view out again and refreshes
// the title and the enabled states.
#pragma once

#include "editor/render/MapViewMath.h"

#include <cstdint>

class TMainForm;

class TViewZoom
{
public:
    explicit TViewZoom(TMainForm &Form) : FForm(Form) {}

    void EditZoomInMenuItemClick();
    void EditZoomOutMenuItemClick();
    void EditZoomNormMenuItemClick();
    void ViewScaleClick(int32_t divisor);
    // Zoom / 256 of the part size (View > Zoom To).
    void ZoomToClick(uint16_t Zoom);
    // The largest zoom at which the whole map fits the view (View > Fit Map in Window).
    void FitMapMenuItemClick();
    // One Zoom In (Direction > 0) or Zoom Out step that keeps the map cell under view pixel
    // (X, Y) under it.
    void ZoomAtPointer(int32_t Direction, int32_t X, int32_t Y);

private:
    void ApplyZoom(int32_t cellWidth, int32_t cellHeight);
    void ApplyStep(const TZoomStep &Step);

    TMainForm &FForm;
};
