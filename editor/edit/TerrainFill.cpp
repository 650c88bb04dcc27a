#include "TerrainFill.h"

namespace
{

bool IsOfTerrain(const TTerrainMatcher &Matcher, uint16_t Chip, uint8_t Terrain)
{
    const TTerrainPart *part = Matcher.PartOf(Chip);
    if (Terrain == 0)
        return part == nullptr;
    if (part == nullptr)
        return false;
    for (int32_t slot = 0; slot < 8; ++slot)
        if (SlotUsed(Matcher.Type(), slot) && part->Id[static_cast<size_t>(slot)] != Terrain)
            return false;
    return true;
}

} // namespace

std::vector<TTerrainCell> TerrainRegion(const TMap &Map, int32_t Layer,
                                        const TTerrainMatcher &Matcher, int32_t X, int32_t Y,
                                        uint8_t Terrain)
{
    std::vector<TTerrainCell> region;
    const int32_t width = Map.Width();
    const int32_t height = Map.Height();
    if (!Map.IsValidLayer(Layer) || X < 0 || Y < 0 || X >= width || Y >= height)
        return region;
    const std::vector<uint16_t> &cells = Map.GetLayer(Layer).Data;
    const auto at = [&](int32_t x, int32_t y) {
        return static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
    };
    if (!IsOfTerrain(Matcher, cells[at(X, Y)], Terrain))
        return region;
    std::vector<bool> seen(cells.size(), false);
    std::vector<TTerrainCell> stack{{X, Y}};
    seen[at(X, Y)] = true;
    while (!stack.empty()) {
        const TTerrainCell cell = stack.back();
        stack.pop_back();
        region.push_back(cell);
        const TTerrainCell next[4] = {
            {cell.X, cell.Y - 1}, {cell.X + 1, cell.Y}, {cell.X, cell.Y + 1}, {cell.X - 1, cell.Y}};
        for (const TTerrainCell &n : next) {
            if (n.X < 0 || n.Y < 0 || n.X >= width || n.Y >= height || seen[at(n.X, n.Y)])
                continue;
            seen[at(n.X, n.Y)] = true;
            if (IsOfTerrain(Matcher, cells[at(n.X, n.Y)], Terrain))
                stack.push_back(n);
        }
    }
    return region;
}

uint8_t TerrainAtPoint(const TTerrainMatcher &Matcher, uint16_t Chip, double U, double V)
{
    const TTerrainPart *part = Matcher.PartOf(Chip);
    if (part == nullptr)
        return 0;
    const uint8_t nearest = part->Id[static_cast<size_t>(NearestSlot(Matcher.Type(), U, V))];
    if (nearest != 0)
        return nearest;
    // A place left open: the terrain most of the others hold.
    int32_t counts[256] = {};
    uint8_t best = 0;
    for (uint8_t terrain : part->Id)
        if (terrain != 0 && ++counts[terrain] > counts[best])
            best = terrain;
    return best;
}
