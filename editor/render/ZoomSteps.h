// The zooms the map view offers besides its Zoom In and Zoom Out steps: the fixed steps of
// View > Zoom To, the largest zoom at which a whole map fits the view, and the scroll position
// that keeps a cell under the pointer while the zoom changes.
#pragma once

#include "MapViewMath.h"

#include <cstdint>

// The Zoom To steps in 256ths: 12.5, 25, 50, 100, 200 and 300 %.
inline constexpr uint16_t kZoomToSteps[] = {32, 64, 128, 256, 512, 768};
// Zoom In stops at three times the part size.
inline constexpr uint16_t kLargestViewZoom = 768;

// The cells at Zoom / 256 of the part size, at least one pixel each way.
TZoomStep ZoomToStep(int32_t PartsWidth, int32_t PartsHeight, uint16_t Zoom);

// The largest zoom up to kLargestViewZoom at which MapWidth × MapHeight cells fit into
// ViewWidth × ViewHeight pixels; the smallest zoom the view shows when none does.
TZoomStep FitZoomStep(int32_t MapWidth, int32_t MapHeight, int32_t PartsWidth, int32_t PartsHeight,
                      int32_t ViewWidth, int32_t ViewHeight);

// Along one axis: the scroll position (in cells) that keeps the cell under view pixel Pixel
// where it is when cells change from CellBefore to CellAfter pixels. Not clamped.
int32_t ScrollKeepingCell(int32_t ScrollBefore, int32_t Pixel, int32_t CellBefore,
                          int32_t CellAfter);
