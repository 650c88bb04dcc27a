// Reading the XML forms: TMX maps and TSX tilesets, parsed with pugixml. Throws ETiledError
// naming the file and what is wrong (with line and column for XML that is not well formed).
#pragma once

#include "plugins/tmx/TiledFiles.h"
#include "plugins/tmx/TiledMap.h"

#include <memory>
#include <string>
#include <vector>

// Data is the file's bytes (parsed in place); Path its full path.
TTiledMap ReadTmxMap(std::vector<char> &Data, const std::string &Path, TTilesetFiles &Files);
std::shared_ptr<TTiledTileset> ReadTsxTileset(std::vector<char> &Data, const std::string &Path,
                                              TTilesetFiles &Files);
