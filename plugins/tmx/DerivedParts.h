// A tileset whose tiles the parts numbering cannot address as they are, drawn anew on the
// map's grid into a parts image of its own: first every tile of an image tileset as it is
// (unflipped, in the tileset's own order and columns, each over the parts its picture
// covers), then every flipped or otherwise placed variant the map uses. Parts are grid-sized;
// pixels a tile does not cover are transparent.
#pragma once

#include "plugins/tmx/LayerPlacement.h"
#include "plugins/tmx/PngFile.h"
#include "plugins/tmx/TileParts.h"
#include "plugins/tmx/TilesetSource.h"

#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

// A tile as the map uses it: its id, its flip flags and the offsets that move it.
struct TTileVariant {
    uint32_t Id = 0;
    uint32_t Flags = 0;
    int64_t OffsetX = 0, OffsetY = 0;
};

class TDerivedParts
{
public:
    TDerivedParts(TTilesetSource &Source, int32_t GridWidth, int32_t GridHeight);

    // Lays out and draws the parts: the unflipped tiles placed with the base offsets first
    // (image tilesets), then each of Used that differs. Throws ETiledError when the image
    // cannot be read or the parts would be more than a layer can number.
    void Build(int64_t BaseOffsetX, int64_t BaseOffsetY, const std::vector<TTileVariant> &Used);

    // The parts of a variant given to Build that show anything.
    std::vector<TTilePart> PartsOf(const TTileVariant &Variant) const;
    const TRgbaImage &Image() const { return FImage; }
    int32_t PartColumns() const { return FColumns; }
    int32_t PartCount() const { return FColumns * FRows; }
    bool HasTransparency() const { return FTransparent; }
    // The part an unflipped tile is when its picture is exactly one part; -1 otherwise.
    int32_t SinglePart(uint32_t Id) const;
    // The drawn pixels of every part, for ordering overlapping parts.
    void AddMasks(TPartMasks &Masks, int32_t ImageIndex) const;

private:
    using TKey = std::tuple<uint32_t, uint32_t, int32_t, int32_t>; // id, flags, phases
    struct TSlot {
        TTilePlacement Placement;
        uint32_t Id = 0;
        uint32_t Flags = 0;
        int32_t X = 0, Y = 0; // first part's column and row in the image
    };
    TTilePlacement Placement(uint32_t Id, uint32_t Flags, int64_t OffsetX, int64_t OffsetY) const;
    void Draw(const TSlot &Slot);

    TTilesetSource &FSource;
    int32_t FGridWidth;
    int32_t FGridHeight;
    std::map<TKey, size_t> FSlotOf;
    std::vector<TSlot> FSlots;
    size_t FBaseSlots = 0;
    int32_t FColumns = 0;
    int32_t FRows = 0;
    TRgbaImage FImage;
    std::vector<std::vector<uint64_t>> FMasks; // per part
    std::vector<bool> FShows;                  // per part: some pixel is drawn
    bool FTransparent = false;
};
