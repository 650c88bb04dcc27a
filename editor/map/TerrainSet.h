// Terrain sets as Tiled keeps them (its "wang sets"): named sets of a type (corner, edge or
// mixed), each with named terrains (colours) and, for the tiles that take part, a wang id of
// eight terrain numbers, one per corner and edge of the tile. Shared by the parts window,
// which defines them, and the terrain tools, which paint with them; reading and writing the
// tileset file is the parts palette's. Plain data: knows nothing of files or windows.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

enum class TTerrainSetType : uint8_t { Corner, Edge, Mixed };

// The eight places of a tile, in Tiled's order.
enum TWangSlot : uint8_t {
    wsTop = 0,
    wsTopRight = 1,
    wsRight = 2,
    wsBottomRight = 3,
    wsBottom = 4,
    wsBottomLeft = 5,
    wsLeft = 6,
    wsTopLeft = 7,
};

// A terrain number per slot; 0 means no terrain (any).
using TWangId = std::array<uint8_t, 8>;

inline bool IsCornerSlot(int32_t Slot)
{
    return (Slot & 1) != 0;
}
// Whether the slot takes part in a set of the type: corners, edges, or both.
bool SlotUsed(TTerrainSetType Type, int32_t Slot);
// The id with every slot the type does not use set to 0.
TWangId UsedSlots(TTerrainSetType Type, const TWangId &Id);
// The slot of a tile nearest the point (U, V), both in [0, 1) from the tile's top-left, among
// those the type uses: the corner of its quarter, the edge of its triangle towards the
// middle, or for mixed sets a corner within a third of the size of it and an edge otherwise.
int32_t NearestSlot(TTerrainSetType Type, double U, double V);

struct TTerrainColour {
    std::string Name;
    uint32_t Colour = 0xFF0000; // 0x00RRGGBB, as Tiled writes "#rrggbb"
    int32_t Tile = -1;          // the tile that stands for the terrain, -1 for none
    double Probability = 1.0;

    bool operator==(const TTerrainColour &) const = default;
};

struct TTerrainSet {
    std::string Name;
    TTerrainSetType Type = TTerrainSetType::Corner;
    int32_t Tile = -1;
    // Terrain n (from 1) is Colours[n - 1]; Tiled allows at most 254.
    std::vector<TTerrainColour> Colours;
    // Tile id -> wang id, for the tiles that take part.
    std::map<int32_t, TWangId> Tiles;
    // Which <wangset> of the file the set was read from (-1: a new set), so that saving
    // updates that element and keeps whatever else it holds.
    int32_t FileIndex = -1;

    bool operator==(const TTerrainSet &) const = default;
};

inline constexpr int32_t MaxTerrainColours = 254;

// What a tileset file says that terrain painting uses: how its tile ids lie in the image,
// the tiles' own probabilities, and its terrain sets.
struct TTerrainTileset {
    int32_t TileWidth = 0;
    int32_t TileHeight = 0;
    int32_t Margin = 0;
    int32_t Spacing = 0;
    int32_t Columns = 0;
    int32_t TileCount = 0;
    std::map<int32_t, double> TileProbability; // tiles without an entry have 1
    std::vector<TTerrainSet> Sets;

    double ProbabilityOf(int32_t TileId) const;
    // The tile's pixel position in the image; false for an id outside the tileset.
    bool TilePosition(int32_t TileId, int32_t &X, int32_t &Y) const;
    // The tile whose top-left pixel is (X, Y), or -1.
    int32_t TileAt(int32_t X, int32_t Y) const;
};

// A terrain of one of a tileset's sets, as the user chose it.
struct TTerrainChoice {
    int32_t Set = -1;    // index into the tileset's sets; -1 for none
    uint8_t Terrain = 0; // 1 .. the set's terrains; 0 for none
    bool IsChosen() const { return Set >= 0 && Terrain != 0; }
    bool operator==(const TTerrainChoice &) const = default;
};
