// Writing a map record as an orthogonal TMX map (format version 1.8, layer data as CSV):
// one tileset per parts image the layers use, chip numbers turned into tile ids through
// the map's part numbering, hidden layers invisible, the transparent colour on the
// tilesets of the layers above the bottom one, the comment as a map property. Standard
// library only; knows nothing of the editor.
#pragma once

#include "common/TessellaPlugin.h"

#include <cstdint>
#include <string>

// Result code: 0; 3 (record unusable); 5 (the file cannot be written, or a parts image
// cannot be found or its size read); 7 (cancelled). The previous file at path survives
// every failure. Parts images are looked for relative to the target's folder, then to the
// current directory; the tilesets name them relative to the target's folder.
int32_t WriteTmxFile(const char *path, const PluginMapRecord &record, ProgressProc progress);

// Text as an XML attribute value or element text: markup characters escaped, bytes that
// are not UTF-8 and characters XML cannot hold replaced by U+FFFD.
std::string XmlText(const std::string &text);
