#include "ZoomSteps.h"

#include <algorithm>

namespace
{
int32_t CellAtZoom(int32_t PartsSize, uint16_t Zoom)
{
    return static_cast<int32_t>(static_cast<int64_t>(PartsSize) * Zoom / 256);
}
} // namespace

TZoomStep ZoomToStep(int32_t PartsWidth, int32_t PartsHeight, uint16_t Zoom)
{
    return {std::max(1, CellAtZoom(PartsWidth, Zoom)), std::max(1, CellAtZoom(PartsHeight, Zoom)),
            Zoom, true};
}

TZoomStep FitZoomStep(int32_t MapWidth, int32_t MapHeight, int32_t PartsWidth, int32_t PartsHeight,
                      int32_t ViewWidth, int32_t ViewHeight)
{
    TZoomStep smallest;
    for (int32_t zoom = kLargestViewZoom; zoom >= 1; --zoom) {
        const int32_t width = CellAtZoom(PartsWidth, static_cast<uint16_t>(zoom));
        const int32_t height = CellAtZoom(PartsHeight, static_cast<uint16_t>(zoom));
        if (width < 1 || height < 1)
            break;
        // The zoom the cells stand for, as the other zoom commands keep it.
        smallest = {width, height,
                    static_cast<uint16_t>(int64_t{width} * 256 / std::max(1, PartsWidth)), true};
        if (static_cast<int64_t>(width) * MapWidth <= ViewWidth &&
            static_cast<int64_t>(height) * MapHeight <= ViewHeight)
            return smallest;
    }
    if (!smallest.Changed)
        return ZoomToStep(PartsWidth, PartsHeight, 256);
    return smallest;
}

int32_t ScrollKeepingCell(int32_t ScrollBefore, int32_t Pixel, int32_t CellBefore,
                          int32_t CellAfter)
{
    if (CellBefore <= 0 || CellAfter <= 0)
        return ScrollBefore;
    return ScrollBefore + Pixel / CellBefore - Pixel / CellAfter;
}
