// What a Tiled map held that a Tessella map cannot, as short phrases for the one notice
// the user gets: object and image layers, groups, properties, animations, collision
// shapes, layer opacity, tints and parallax, a background colour, terrain sets that stay
// behind. Standard library only.
#pragma once

#include "plugins/tmx/TiledMap.h"

#include <string>
#include <vector>

// What became of each tileset.
struct TTilesetFate {
    const TTiledTileset *Tileset = nullptr;
    bool Derived = false;    // got a parts image (and a tileset file) of its own
    bool TerrainCut = false; // terrain tiles larger than a part, left out of that file
};

std::vector<std::string> ListLeftOut(const TTiledMap &Map, const std::vector<TTilesetFate> &Fates);

// One line for the user: "<map>: left out what the map cannot hold: <items>. Written beside
// it: <files>." Empty when there is nothing to say.
std::string NoticeText(const std::string &MapName, const std::vector<std::string> &LeftOut,
                       const std::vector<std::string> &Written);
