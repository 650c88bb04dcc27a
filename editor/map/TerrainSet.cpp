#include "TerrainSet.h"

bool SlotUsed(TTerrainSetType Type, int32_t Slot)
{
    switch (Type) {
    case TTerrainSetType::Corner:
        return IsCornerSlot(Slot);
    case TTerrainSetType::Edge:
        return !IsCornerSlot(Slot);
    case TTerrainSetType::Mixed:
        return true;
    }
    return false;
}

TWangId UsedSlots(TTerrainSetType Type, const TWangId &Id)
{
    TWangId used{};
    for (int32_t slot = 0; slot < 8; ++slot)
        if (SlotUsed(Type, slot))
            used[static_cast<size_t>(slot)] = Id[static_cast<size_t>(slot)];
    return used;
}

int32_t NearestSlot(TTerrainSetType Type, double U, double V)
{
    const bool right = U >= 0.5;
    const bool bottom = V >= 0.5;
    const int32_t corner =
        bottom ? (right ? wsBottomRight : wsBottomLeft) : (right ? wsTopRight : wsTopLeft);
    if (Type == TTerrainSetType::Corner)
        return corner;
    if (Type == TTerrainSetType::Mixed) {
        const bool nearX = U < 1.0 / 3.0 || U >= 2.0 / 3.0;
        const bool nearY = V < 1.0 / 3.0 || V >= 2.0 / 3.0;
        if (nearX && nearY)
            return corner;
    }
    // The edge whose side of the tile the point lies closest to.
    const double distances[4] = {V, 1.0 - U, 1.0 - V, U};
    int32_t nearest = 0;
    for (int32_t side = 1; side < 4; ++side)
        if (distances[side] < distances[nearest])
            nearest = side;
    return nearest * 2; // wsTop, wsRight, wsBottom, wsLeft
}

double TTerrainTileset::ProbabilityOf(int32_t TileId) const
{
    const auto found = TileProbability.find(TileId);
    return found == TileProbability.end() ? 1.0 : found->second;
}

bool TTerrainTileset::TilePosition(int32_t TileId, int32_t &X, int32_t &Y) const
{
    if (TileId < 0 || Columns <= 0 || (TileCount > 0 && TileId >= TileCount))
        return false;
    X = Margin + (TileId % Columns) * (TileWidth + Spacing);
    Y = Margin + (TileId / Columns) * (TileHeight + Spacing);
    return true;
}

int32_t TTerrainTileset::TileAt(int32_t X, int32_t Y) const
{
    const int32_t stepX = TileWidth + Spacing;
    const int32_t stepY = TileHeight + Spacing;
    if (Columns <= 0 || stepX <= 0 || stepY <= 0 || X < Margin || Y < Margin)
        return -1;
    if ((X - Margin) % stepX != 0 || (Y - Margin) % stepY != 0)
        return -1;
    const int32_t column = (X - Margin) / stepX;
    if (column >= Columns)
        return -1;
    const int64_t id = static_cast<int64_t>((Y - Margin) / stepY) * Columns + column;
    if (id > INT32_MAX || (TileCount > 0 && id >= TileCount))
        return -1;
    return static_cast<int32_t>(id);
}
