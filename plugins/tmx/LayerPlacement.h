// Parts put into layers that each show one parts image, so that wherever two pictures
// overlap the later one is drawn above the earlier, as Tiled draws a layer tile after tile.
// Each part goes into the lowest layer of its image above every earlier part of its cell
// whose pixels it covers; where no such layer has the cell free, one is added on top.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

constexpr uint16_t kNoPart = 0xFFFF;

// Which pixels of each part are drawn (alpha of half or more), for the parts whose pixels
// are known; a part without a mask counts as covering its whole cell.
class TPartMasks
{
public:
    void SetMask(int32_t Image, uint16_t Chip, std::vector<uint64_t> Bits);
    bool Overlap(int32_t ImageA, uint16_t ChipA, int32_t ImageB, uint16_t ChipB);
    // Whether every one of the part's Pixels pixels is drawn; false also when unknown.
    bool Opaque(int32_t Image, uint16_t Chip, size_t Pixels) const;
    bool Known(int32_t Image, uint16_t Chip) const { return MaskOf(Image, Chip) != nullptr; }

private:
    const std::vector<uint64_t> *MaskOf(int32_t Image, uint16_t Chip) const;
    std::vector<std::vector<std::vector<uint64_t>>> FMasks; // [image][chip]
    std::unordered_map<uint64_t, bool> FKnown;
};

struct TStackLayer {
    int32_t Image = -1;
    std::vector<uint16_t> Cells; // kNoPart where empty
};

// One part of a tile: its cell relative to the tile's cell, and its number in the image.
struct TTilePart {
    int32_t DeltaX = 0, DeltaY = 0;
    uint16_t Chip = 0;
};

class TLayerStack
{
public:
    // MaxLayers: how many layers the stack may grow to.
    TLayerStack(int32_t Width, int32_t Height, size_t MaxLayers, TPartMasks &Masks)
        : FWidth(Width), FHeight(Height), FMaxLayers(MaxLayers), FMasks(Masks)
    {
    }
    // The parts of one tile at cell (X, Y), all of Image; parts outside the map are dropped.
    // False when the tile would need a layer beyond MaxLayers.
    bool Place(const std::vector<TTilePart> &Parts, int32_t Image, int64_t X, int64_t Y);
    std::vector<TStackLayer> &Layers() { return FLayers; }

private:
    bool Inside(int64_t x, int64_t y) const
    {
        return x >= 0 && y >= 0 && x < FWidth && y < FHeight;
    }
    int32_t FWidth;
    int32_t FHeight;
    size_t FMaxLayers;
    TPartMasks &FMasks;
    std::vector<TStackLayer> FLayers;
};
