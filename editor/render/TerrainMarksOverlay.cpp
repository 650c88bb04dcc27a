// The terrain brush's marks over the map view: a red frame, two pixels wide along the inside
// of each marked cell of a shown layer.
#include "MapViewRenderer.h"
#include "RasterPrimitives.h"
#include "TerrainMarks.h"

#include <algorithm>

void TMapViewRenderer::DrawTerrainMarks(int32_t X0, int32_t Y0, int32_t DX, int32_t DY)
{
    if (!CanDraw() || FState.TerrainMarks == nullptr || FState.TerrainMarks->Count() == 0)
        return;
    const TTerrainMarks &marks = *FState.TerrainMarks;
    const int32_t cw = FState.ViewCellWidth;
    const int32_t ch = FState.ViewCellHeight;
    const int32_t left = std::max(0, FState.ScrollX + X0);
    const int32_t top = std::max(0, FState.ScrollY + Y0);
    const int32_t right = std::min(FMap.Width() - 1, FState.ScrollX + X0 + DX);
    const int32_t bottom = std::min(FMap.Height() - 1, FState.ScrollY + Y0 + DY);
    if (right < left || bottom < top)
        return;
    const uint32_t red = ColorToPixel32(0x0000FF);
    const auto draw = [&](int32_t layer, int32_t x, int32_t y) {
        if (!LayerShown(layer) || x < left || x > right || y < top || y > bottom)
            return;
        const int32_t px = (x - FState.ScrollX) * cw;
        const int32_t py = (y - FState.ScrollY) * ch;
        FrameRectangle(FBack, {px, py, px + cw, py + ch}, red, FClip);
        FrameRectangle(FBack, {px + 1, py + 1, px + cw - 1, py + ch - 1}, red, FClip);
    };
    // Few marks: each is looked at; many: the region's cells are.
    const int64_t regionCells =
        (static_cast<int64_t>(right) - left + 1) * (static_cast<int64_t>(bottom) - top + 1);
    if (static_cast<int64_t>(marks.Count()) <= regionCells) {
        marks.ForEachShown(FMap, draw);
        return;
    }
    for (int32_t layer = 0; layer < FMap.LayerCount(); ++layer)
        for (int32_t y = top; y <= bottom; ++y)
            for (int32_t x = left; x <= right; ++x)
                if (marks.Shown(FMap, layer, x, y))
                    draw(layer, x, y);
}
