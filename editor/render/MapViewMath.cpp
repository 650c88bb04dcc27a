#include "MapViewMath.h"

#include "editor/map/DialogSeam.h"

#include <algorithm>

TViewPoint MouseToChip(TViewPoint Pixel, int32_t CellWidth, int32_t CellHeight)
{
    if (CellWidth <= 0 || CellHeight <= 0)
        return {};
    return {Pixel.X / CellWidth, Pixel.Y / CellHeight};
}

TViewPoint ChipToMouse(TViewPoint Cell, int32_t CellWidth, int32_t CellHeight)
{
    return {Cell.X * CellWidth, Cell.Y * CellHeight};
}

namespace
{
uint16_t ZoomOf(int32_t CellWidth, int32_t PartsWidth)
{
    if (PartsWidth <= 0)
        return 256;
    return static_cast<uint16_t>(static_cast<double>(CellWidth) / PartsWidth * 256.0);
}
} // namespace

TZoomStep ZoomInStep(int32_t CellWidth, int32_t CellHeight, int32_t PartsWidth, int32_t PartsHeight,
                     uint8_t ZoomRatio)
{
    TZoomStep step{CellWidth, CellHeight, ZoomOf(CellWidth, PartsWidth), false};
    const int32_t w = CellWidth + PartsWidth * ZoomRatio / 256;
    if (w > 3 * PartsWidth)
        return step;
    step.CellWidth = w;
    step.Changed = true;
    const int32_t h = CellHeight + PartsHeight * ZoomRatio / 256;
    if (h <= 3 * PartsHeight)
        step.CellHeight = h;
    step.ViewZoom = ZoomOf(step.CellWidth, PartsWidth);
    return step;
}

TZoomStep ZoomOutStep(int32_t CellWidth, int32_t CellHeight, int32_t PartsWidth,
                      int32_t PartsHeight, uint8_t ZoomRatio)
{
    TZoomStep step{CellWidth, CellHeight, ZoomOf(CellWidth, PartsWidth), false};
    const int32_t w = CellWidth - PartsWidth * ZoomRatio / 256;
    if (w <= 0)
        return step;
    step.CellWidth = w;
    step.Changed = true;
    const int32_t h = CellHeight - PartsHeight * ZoomRatio / 256;
    if (h > 0)
        step.CellHeight = h;
    step.ViewZoom = ZoomOf(step.CellWidth, PartsWidth);
    return step;
}

TZoomStep ResetZoomStep(int32_t PartsWidth, int32_t PartsHeight)
{
    return {PartsWidth, PartsHeight, 256, true};
}

int32_t ViewCellSizeFromZoom(int32_t PartsSize, uint16_t ViewZoom)
{
    const int64_t w = static_cast<int64_t>(PartsSize) * ViewZoom;
    return w >= 256 ? static_cast<int32_t>(w / 256) : PartsSize;
}

int32_t ClampScrollPosition(int32_t Requested, int32_t MapSize, int32_t LargeChange)
{
    const int32_t limited = std::min(Requested, MapSize - LargeChange);
    return std::clamp(limited, 0, std::max(MapSize, 0));
}

int32_t CentredScrollPosition(int32_t Cell, int32_t MapSize, int32_t ViewSize, int32_t CellSize)
{
    if (CellSize <= 0)
        return 0;
    const int32_t visible = ViewSize / CellSize;
    return ClampScrollPosition(Cell - visible / 2, MapSize, visible);
}

std::string DisplayStatusText(const TMapViewState &State, int32_t MapWidth, int32_t MapHeight)
{
    int32_t lastX = MapWidth - 1;
    int32_t lastY = MapHeight - 1;
    if (State.ViewCellWidth > 0 && MapWidth >= State.ViewWidth / State.ViewCellWidth)
        lastX = State.ViewWidth / State.ViewCellWidth + State.ScrollX - 1;
    if (State.ViewCellHeight > 0 && MapHeight >= State.ViewHeight / State.ViewCellHeight)
        lastY = State.ViewHeight / State.ViewCellHeight + State.ScrollY - 1;
    return Dialogs().GetLangString(3, "Display") + "(" + std::to_string(State.ScrollX) + ", " +
           std::to_string(State.ScrollY) + ")-(" + std::to_string(lastX) + ", " +
           std::to_string(lastY) + ")";
}

std::string SelectionStatusText(const TSelection &Selection)
{
    TSelection s = Selection;
    if (s.DX < 0) {
        s.X += s.DX;
        s.DX = -s.DX;
    }
    if (s.DY < 0) {
        s.Y += s.DY;
        s.DY = -s.DY;
    }
    return Dialogs().GetLangString(2, "Selection") + "(" + std::to_string(s.X) + ", " +
           std::to_string(s.Y) + ")-(" + std::to_string(s.X + s.DX) + ", " +
           std::to_string(s.Y + s.DY) + ")";
}
