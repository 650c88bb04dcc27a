// The description --info prints of an opened map file: its size, parts, bit count,
// alignment, transparency, invisible part and comment, and per layer its index, name,
// visibility, parts image (as stored and as resolved) and number of non-empty cells; as
// readable text or as one JSON object. Reads the map only.
#pragma once

#include "HeadlessMap.h"

#include <string>

// Map: opened for describing (THeadlessUse::Describing).
std::string MapInfoText(THeadlessMap &Map, const std::string &Path);
std::string MapInfoJson(THeadlessMap &Map, const std::string &Path);
