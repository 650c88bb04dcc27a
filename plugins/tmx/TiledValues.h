// The values both Tiled readers take from attributes and fields, parsed strictly, and the
// checks a map's header and a tileset must pass before anything is cut from them.
#pragma once

#include "plugins/tmx/TiledMap.h"

#include <array>
#include <cstdint>

// Largest tile or grid side taken: parts of this size already fill a screen.
constexpr int64_t kMaxTileSide = 16384;
// Groups inside groups deeper than any map needs are refused, not followed.
constexpr int kMaxGroupDepth = 100;

// A whole number within ±2^32 (ids and coordinates both fit); false otherwise.
bool ParseInteger(const char *Text, int64_t &Value);
// A decimal number ("0.49", "-3", "1e2").
bool ParseReal(const char *Text, double &Value);
// "#rrggbb", "rrggbb" or with alpha "#aarrggbb": 0xRRGGBB in Value.
bool ParseColour(const char *Text, uint32_t &Value);
// Eight comma-separated colour indexes, each 0..254.
bool ParseWangId(const char *Text, std::array<uint8_t, 8> &Value);

// Orthogonal, a known render order and usable tile sizes; throws ETiledError.
void CheckMapHeader(const TTiledMap &Map);
// Usable sizes, margin and spacing; throws ETiledError naming the tileset's file.
void CheckTileset(const TTiledTileset &Tileset);
