// The arithmetic of the map view: pixels and cells, zoom steps, centring on a cell, and the
// status texts of the view.
#pragma once

#include "MapViewState.h"
#include "editor/map/DefineUnit.h"

#include <cstdint>
#include <string>

struct TViewPoint {
    int32_t X = 0;
    int32_t Y = 0;
    bool operator==(const TViewPoint &) const = default;
};

// View pixel to view cell (integer division by the cell size) and back.
TViewPoint MouseToChip(TViewPoint Pixel, int32_t CellWidth, int32_t CellHeight);
TViewPoint ChipToMouse(TViewPoint Cell, int32_t CellWidth, int32_t CellHeight);

// A zoom command's outcome: the new cell size and ViewZoom. Changed is false when the step
// was refused in both directions (nothing to re-lay out).
struct TZoomStep {
    int32_t CellWidth = 0;
    int32_t CellHeight = 0;
    uint16_t ViewZoom = 256;
    bool Changed = false;
};

// Zoom in: each side grows by part size × ZoomRatio / 256 up to three times the part size;
// the width is tried first and a refused width stops the step.
TZoomStep ZoomInStep(int32_t CellWidth, int32_t CellHeight, int32_t PartsWidth, int32_t PartsHeight,
                     uint8_t ZoomRatio);
// Zoom out: each side shrinks by the same step while it stays positive.
TZoomStep ZoomOutStep(int32_t CellWidth, int32_t CellHeight, int32_t PartsWidth,
                      int32_t PartsHeight, uint8_t ZoomRatio);
// Reset zoom: the cell is the part size, ViewZoom 256.
TZoomStep ResetZoomStep(int32_t PartsWidth, int32_t PartsHeight);

// The view cell size from ViewZoom: part size × zoom / 256, or the part size when that would
// be below one pixel.
int32_t ViewCellSizeFromZoom(int32_t PartsSize, uint16_t ViewZoom);

// The scroll bars' clamp: at most MapSize − LargeChange, then within 0 .. MapSize.
int32_t ClampScrollPosition(int32_t Requested, int32_t MapSize, int32_t LargeChange);

// ScrollView's new scroll position for centring on map cell Cell along one axis
// (LargeChange = ViewSize div CellSize).
int32_t CentredScrollPosition(int32_t Cell, int32_t MapSize, int32_t ViewSize, int32_t CellSize);

// Status panel 2: "Display(" ScrollX ", " ScrollY ")-(" lastX ", " lastY ")".
std::string DisplayStatusText(const TMapViewState &State, int32_t MapWidth, int32_t MapHeight);

// Status panel 1 after drawing the selection: "Selection(" X ", " Y ")-(" X + DX ", " Y + DY
// ")" of the normalised selection.
std::string SelectionStatusText(const TSelection &Selection);
