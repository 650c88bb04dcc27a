// What a project file carries besides the map's size, layers and cells: how parts-image
// references are stored, the parts alignment, the view switches, the transparent colour,
// the invisible part, the grid colours, the zoom, the comment and the opaque pass-through
// block. Plain data, kept by the project document. Knows nothing of windows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TProjectSettings {
    uint8_t PathMode = 1;   // 0: file names only, 1: paths relative to the map file
    uint8_t AlignFlags = 0; // bit 0: the parts alignment follows the image's width
    uint8_t EditorFlags[6] = {1, 0, 0, 1, 0, 0};
    uint8_t TransEnabled = 0;
    uint32_t TransColor = 0;     // 0x00BBGGRR
    uint8_t TransReserved = 255; // carried from file to file, 255 for a new map
    uint8_t UseInvisiblePart = 0;
    uint16_t InvisiblePart = 0;
    uint8_t InvisibleReserved = 255;
    uint32_t GridColor = 0xA4A0A0;
    uint32_t AGridColor = 0x0000FF;
    uint16_t Zoom = 256;
    std::string Comment; // UTF-8
    std::vector<uint8_t> HiddenBlock;

    // Whether part numbers follow fixed rows of 16 or 256 parts.
    bool FixedAlignment() const { return (AlignFlags & 1) == 0; }
};
