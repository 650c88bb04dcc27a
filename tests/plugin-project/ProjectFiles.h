// Project files of every layout, written byte by byte, for the tests and the fuzz seeds.
#pragma once

#include "tests/common/PluginTestSupport.h"

#include <cstdint>
#include <string>
#include <vector>

// The 20 header bytes; placeholders puts 0xFF into bytes 17..19 as old files do.
TBytes MapHeaderBytes(uint32_t width, uint32_t height, uint32_t partsWidth, uint32_t partsHeight,
                      uint8_t layerCount, uint8_t bitCount, uint8_t pathMode, uint8_t alignFlags,
                      bool placeholders = false);

TBytes CellBytes(const std::vector<uint16_t> &cells);

// A version-1 file: 3 x 2 map, two "LAY0" layers (bytes per cell 1), colour key, invisible
// part and comment.
std::vector<uint8_t> SampleVersion1File();
// A version-2 file: 3 x 2 map of 8-bit cells, parts 16 pixels wide, one "LAY1" layer
// referring to image (whose width decides the renumbering), cells given.
std::vector<uint8_t> SampleVersion2File(const std::string &image,
                                        const std::vector<uint16_t> &cells, uint8_t bitCount = 8,
                                        uint8_t layers = 1);
// A version-3 file: a hidden "LAY_" layer, a "LAY_" layer without "LINV" and a "LAY1"
// layer, with every global chunk of that layout.
std::vector<uint8_t> SampleVersion3File();
// A version-4 file as the writer lays it out, from the chunks given for each layer.
std::vector<uint8_t> SampleVersion4File();

// The name of the BMP the version-2 sample expects in the current directory.
constexpr const char *SampleImageName = "tiles.bmp";
