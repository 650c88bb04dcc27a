#include "TerrainOverlay.h"

#include <algorithm>
#include <cmath>

namespace
{

struct TPoint {
    double U;
    double V;
};

// The triangle of a place, in fractions of the part: the top edge's and the top-left
// corner's, turned a quarter clockwise for each place further round.
void SlotTriangle(TTerrainSetType Type, int32_t Slot, TPoint Points[3])
{
    const bool corner = IsCornerSlot(Slot);
    const double reach = Type == TTerrainSetType::Mixed ? 1.0 / 3.0 : 0.5;
    if (corner) {
        Points[0] = {0.0, 0.0};
        Points[1] = {reach, 0.0};
        Points[2] = {0.0, reach};
    } else if (Type == TTerrainSetType::Mixed) {
        Points[0] = {1.0 / 3.0, 0.0};
        Points[1] = {2.0 / 3.0, 0.0};
        Points[2] = {0.5, 1.0 / 3.0};
    } else {
        Points[0] = {0.0, 0.0};
        Points[1] = {1.0, 0.0};
        Points[2] = {0.5, 0.5};
    }
    const int32_t turns = corner ? ((Slot + 1) / 2) % 4 : Slot / 2;
    for (int32_t t = 0; t < turns; ++t)
        for (int32_t i = 0; i < 3; ++i)
            Points[i] = {1.0 - Points[i].V, Points[i].U};
}

void FillTriangle(TPixelBuffer &Back, const TPoint P[3], uint32_t Pixel)
{
    const double minX = std::min({P[0].U, P[1].U, P[2].U});
    const double maxX = std::max({P[0].U, P[1].U, P[2].U});
    const double minY = std::min({P[0].V, P[1].V, P[2].V});
    const double maxY = std::max({P[0].V, P[1].V, P[2].V});
    const int32_t x0 = std::max(0, static_cast<int32_t>(std::floor(minX)));
    const int32_t x1 = std::min(Back.Width() - 1, static_cast<int32_t>(std::ceil(maxX)));
    const int32_t y0 = std::max(0, static_cast<int32_t>(std::floor(minY)));
    const int32_t y1 = std::min(Back.Height() - 1, static_cast<int32_t>(std::ceil(maxY)));
    const double area =
        (P[1].U - P[0].U) * (P[2].V - P[0].V) - (P[1].V - P[0].V) * (P[2].U - P[0].U);
    if (std::abs(area) < 1e-9)
        return;
    const double sign = area > 0 ? 1.0 : -1.0;
    const uint32_t half = (Pixel >> 1) & 0x7F7F7F;
    for (int32_t y = y0; y <= y1; ++y) {
        uint32_t *row = Back.Row32(y);
        for (int32_t x = x0; x <= x1; ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            double nearest = 1e9;
            bool inside = true;
            for (int32_t i = 0; i < 3; ++i) {
                const TPoint &a = P[i];
                const TPoint &b = P[(i + 1) % 3];
                const double length = std::hypot(b.U - a.U, b.V - a.V);
                const double d =
                    sign * ((b.U - a.U) * (py - a.V) - (b.V - a.V) * (px - a.U)) / length;
                if (d < 0) {
                    inside = false;
                    break;
                }
                nearest = std::min(nearest, d);
            }
            if (!inside)
                continue;
            row[x] = nearest < 1.0 ? Pixel : ((row[x] >> 1) & 0x7F7F7F) + half;
        }
    }
}

} // namespace

void DrawTerrainOverlay(TPixelBuffer &Back, const TChipCanvasState &State,
                        const TTerrainTileset &Tileset, const TTerrainSet &Set)
{
    if (Back.IsEmpty() || Back.BitsPerPixel() != 32 || State.CellWidth <= 0 ||
        State.CellHeight <= 0 || Set.Tiles.empty())
        return;
    const int32_t columns = Back.Width() / State.CellWidth + 1;
    const int32_t rows = Back.Height() / State.CellHeight + 1;
    for (int32_t r = 0; r < rows; ++r)
        for (int32_t c = 0; c < columns; ++c) {
            const int32_t column = c + State.ScrollX;
            const int32_t row = r + State.ScrollY;
            if (column >= State.AlignX || row >= State.AlignY)
                continue;
            const int32_t tile = Tileset.TileAt(column * State.PartsWidth, row * State.PartsHeight);
            const auto found = Set.Tiles.find(tile);
            if (tile < 0 || found == Set.Tiles.end())
                continue;
            for (int32_t slot = 0; slot < 8; ++slot) {
                const uint8_t terrain = found->second[static_cast<size_t>(slot)];
                if (terrain == 0 || terrain > Set.Colours.size() || !SlotUsed(Set.Type, slot))
                    continue;
                TPoint points[3];
                SlotTriangle(Set.Type, slot, points);
                for (TPoint &p : points) {
                    p.U = c * State.CellWidth + p.U * State.CellWidth;
                    p.V = r * State.CellHeight + p.V * State.CellHeight;
                }
                FillTriangle(Back, points, Set.Colours[terrain - 1u].Colour & 0xFFFFFF);
            }
        }
}
