#include "TerrainLayouts.h"

namespace
{

// A corner of a blob counts only when both edges beside it are set.
bool IsBlobMask(uint32_t Mask)
{
    for (int32_t corner = 1; corner < 8; corner += 2) {
        const uint32_t before = 1u << (corner - 1);
        const uint32_t after = 1u << ((corner + 1) % 8);
        if ((Mask & (1u << corner)) != 0 && ((Mask & before) == 0 || (Mask & after) == 0))
            return false;
    }
    return true;
}

} // namespace

std::vector<uint8_t> BlobMasks()
{
    std::vector<uint8_t> masks;
    for (uint32_t mask = 0; mask < 256; ++mask)
        if (IsBlobMask(mask))
            masks.push_back(static_cast<uint8_t>(mask));
    return masks;
}

TTerrainLayoutBlock TerrainLayoutBlock(TTerrainLayout Layout, uint8_t Outer, uint8_t Inner)
{
    TTerrainLayoutBlock block;
    if (Layout == TTerrainLayout::Corner16) {
        block.Type = TTerrainSetType::Corner;
        block.Columns = 4;
        // Bits in reading order; the wang slot of each.
        constexpr TWangSlot corners[4] = {wsTopLeft, wsTopRight, wsBottomLeft, wsBottomRight};
        for (uint32_t i = 0; i < 16; ++i) {
            TWangId id{};
            for (uint32_t bit = 0; bit < 4; ++bit)
                id[corners[bit]] = (i & (1u << bit)) != 0 ? Inner : Outer;
            block.Ids.push_back(id);
        }
        return block;
    }
    block.Type = TTerrainSetType::Mixed;
    block.Columns = 8;
    for (uint8_t mask : BlobMasks()) {
        TWangId id{};
        for (uint32_t slot = 0; slot < 8; ++slot)
            id[slot] = (mask & (1u << slot)) != 0 ? Inner : Outer;
        block.Ids.push_back(id);
    }
    return block;
}
