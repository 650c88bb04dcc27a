// Tile layers as the readers find them (one block of ids, or the chunks of an infinite map)
// placed on the map's grid: a finite map's layers must fit inside it; an infinite map
// becomes the rectangle that holds every chunk of every layer.
#pragma once

#include "plugins/tmx/TiledFiles.h"
#include "plugins/tmx/TiledMap.h"

#include <cstdint>
#include <string>
#include <vector>

struct TTiledChunk {
    int64_t X = 0, Y = 0, Width = 0, Height = 0;
    std::vector<uint32_t> Gids;
};

struct TPendingLayer {
    TTiledLayer Layer; // everything but the ids
    int64_t Width = 0, Height = 0;
    std::vector<uint32_t> Gids;      // finite maps: Width × Height, or empty for no data
    std::vector<TTiledChunk> Chunks; // infinite maps
};

// What a group passes on to the layers inside it; each reader reads a group's part of it.
struct TGroupState {
    bool Visible = true;
    double Opacity = 1;
    double OffsetX = 0, OffsetY = 0;
    bool Tinted = false;
    bool Parallax = false;
};

// A layer named Name that takes what its groups and its own attributes gave.
TTiledLayer LayerOfGroupState(const std::string &Name, const TGroupState &State);

// Checks a block's size before its ids are read: positive and within the limits.
void CheckLayerSize(int64_t Width, int64_t Height, const TReadLimits &Limits,
                    const std::string &Where);

// Moves the layers into Map.Layers with Map.Width × Map.Height ids each; for an infinite
// map sets the size from the chunks. Throws ETiledError for a layer larger than its map.
void PlaceLayers(TTiledMap &Map, std::vector<TPendingLayer> &Pending, const TReadLimits &Limits);
