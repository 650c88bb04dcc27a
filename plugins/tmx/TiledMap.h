// A Tiled map as its files describe it, read from TMX/TSX or from their JSON forms and not
// yet turned into parts: the map's grid, its tilesets, its tile layers (groups flattened,
// infinite maps placed in one rectangle) and a list of what the files held besides. The two
// readers fill it; the conversion into layers of parts reads it. Standard library only.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Tile ids keep their top four bits for flags: flipped horizontally, vertically,
// anti-diagonally, and (hexagonal maps only) rotated by 120 degrees.
constexpr uint32_t kFlipHorizontal = 0x80000000u;
constexpr uint32_t kFlipVertical = 0x40000000u;
constexpr uint32_t kFlipDiagonal = 0x20000000u;
constexpr uint32_t kTileFlagBits = 0xF0000000u;

struct TTiledWangColor {
    std::string Name;
    std::string Color; // as written, "#rrggbb"
    int64_t Tile = -1;
    double Probability = 1;
};

struct TTiledWangTile {
    uint32_t TileId = 0;
    std::array<uint8_t, 8> WangId{}; // top, top right, right, ... top left
};

struct TTiledWangSet {
    std::string Name;
    std::string Type; // "corner", "edge" or "mixed"
    int64_t Tile = -1;
    std::vector<TTiledWangColor> Colors;
    std::vector<TTiledWangTile> Tiles;
};

// A <tile> entry of a tileset: what it says about one tile.
struct TTiledTile {
    uint32_t Id = 0;
    std::string Image;                           // collections: the tile's own image, full path
    std::string ImageReference;                  // as written
    int32_t X = 0, Y = 0, Width = 0, Height = 0; // part of that image (0 × 0: all of it)
    std::optional<double> Probability;
    bool Animated = false;
    bool HasShapes = false; // collision shapes
    size_t Properties = 0;
};

struct TTiledTileset {
    std::string Name;
    std::string FileName; // where it is written, for messages: "desert.tsx" or the map's
    bool External = false;
    int32_t TileWidth = 0, TileHeight = 0;
    int32_t Spacing = 0, Margin = 0;
    int32_t OffsetX = 0, OffsetY = 0;
    int32_t ColumnsAttribute = 0;  // collections: how Tiled lays them out
    bool RenderAtGridSize = false; // tilerendersize="grid"
    bool KeepAspect = false;       // fillmode="preserve-aspect-fit"
    std::string Image;             // full path; empty for an image collection
    std::string ImageReference;    // as written
    std::optional<uint32_t> Trans; // 0xRRGGBB
    std::vector<TTiledTile> Tiles;
    std::vector<TTiledWangSet> WangSets;
    bool OldStyleWangSets = false; // the hexadecimal form, not taken over
    size_t Properties = 0;

    // The entry for a tile id, or null.
    const TTiledTile *FindTile(uint32_t id) const
    {
        for (const TTiledTile &tile : Tiles)
            if (tile.Id == id)
                return &tile;
        return nullptr;
    }
};

struct TTiledTilesetUse {
    uint32_t FirstGid = 0;
    std::shared_ptr<const TTiledTileset> Tileset;
};

// A tile layer with what its groups add: visibility, opacity and offsets combined.
struct TTiledLayer {
    std::string Name;
    bool Visible = true;
    double Opacity = 1;
    double OffsetX = 0, OffsetY = 0;
    bool Tinted = false;
    bool Parallax = false;
    std::vector<uint32_t> Gids; // row-major, the map's width × height
};

// What the map's files held that is not a tile layer's picture.
struct TTiledExtras {
    std::vector<std::string> ObjectLayers;
    std::vector<std::string> ImageLayers;
    std::vector<std::string> Groups;
    std::vector<std::string> PropertyOwners; // "the map", "layer \"Ground\"", ...
    bool BackgroundColour = false;
};

struct TTiledMap {
    std::string FileName; // the map's file name, for messages
    std::string Folder;   // where relative references start
    std::string Orientation = "orthogonal";
    std::string RenderOrder = "right-down";
    int64_t Width = 0, Height = 0;
    int64_t TileWidth = 0, TileHeight = 0;
    bool Infinite = false;
    std::vector<TTiledTilesetUse> Tilesets; // in the file's order
    std::vector<TTiledLayer> Layers;        // bottom first
    std::optional<std::string> Comment;     // the "comment" property
    TTiledExtras Extras;
};
