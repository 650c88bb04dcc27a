// Reading the JSON forms: maps (.tmj, .json) and tilesets (.tsj), parsed with nlohmann-json
// into the same model as the XML forms. Throws ETiledError naming the file and what is
// wrong (with line and column for text that is not JSON).
#pragma once

#include "plugins/tmx/TiledFiles.h"
#include "plugins/tmx/TiledMap.h"

#include <memory>
#include <string>
#include <vector>

TTiledMap ReadTmjMap(const std::vector<char> &Data, const std::string &Path, TTilesetFiles &Files);
std::shared_ptr<TTiledTileset> ReadTsjTileset(const std::vector<char> &Data,
                                              const std::string &Path, TTilesetFiles &Files);
