// A Tiled map turned into what a Tessella map holds: layers of grid-sized parts, one parts
// image per layer, one transparent colour and one invisible part. Tilesets the parts
// numbering can address as they are keep their images; the others become parts images of
// their own (made here in memory, written by the caller). A Tiled layer whose tiles need
// several images or overlap one another becomes as many layers as that takes. Whatever the
// map cannot hold is listed for the user. Standard library only.
#pragma once

#include "plugins/tmx/PngFile.h"
#include "plugins/tmx/TiledMap.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TConvertedLayer {
    std::string Name;
    bool Visible = true;
    int32_t Image = -1;          // index into Images; -1: no parts image
    std::vector<uint16_t> Cells; // the map's width × height
};

// A parts image made from a tileset, with the terrain sets translated to its parts.
struct TDerivedTileset {
    std::string Name;     // the tileset's name, for the file names
    std::string Describe; // how messages name the original
    TRgbaImage Image;
    int32_t PartsWidth = 0, PartsHeight = 0; // the map's grid
    int32_t PartColumns = 0;
    std::vector<TTiledWangSet> WangSets;
    std::vector<std::pair<uint32_t, double>> Probabilities; // part, probability
};

struct TConvertedImage {
    std::string Path;     // the original picture (full path); empty for a made one
    int32_t Derived = -1; // index into Derived
};

struct TConvertedMap {
    int32_t Width = 0, Height = 0;
    int32_t PartsWidth = 0, PartsHeight = 0;
    uint8_t BitCount = 8;
    uint16_t InvisiblePart = 255;
    bool TransEnabled = false;
    uint32_t TransColour = 0xFF00FF; // 0xRRGGBB
    std::vector<TConvertedLayer> Layers;
    std::vector<TConvertedImage> Images;
    std::vector<TDerivedTileset> Derived;
    std::optional<std::string> Comment;
    std::vector<std::string> LeftOut; // what the map cannot hold, for the notice
};

// Throws ETiledError for a tile id that names no tile, an image that is missing or cannot
// be cut, or a map that needs more than 255 layers.
TConvertedMap ConvertTiledMap(const TTiledMap &Map);
