// The description --info prints of an opened map file: its size, parts, bit count,
// alignment, transparency, invisible part and comment, and per layer its index, name,
// visibility, parts image (as stored and as resolved) and number of non-empty cells; as
// readable text or as one JSON object. Reads the map only.
#pragma once

#include "HeadlessMap.h"

#include <string>

std::string MapInfoText(THeadlessMap &Map, const std::string &Path);
std::string MapInfoJson(THeadlessMap &Map, const std::string &Path);

// Cells that are not the invisible part: the cells that show something. Without the
// invisible part in use every cell does.
int64_t NonEmptyCells(const TMapLayer &Layer, const TProjectSettings &Settings);
