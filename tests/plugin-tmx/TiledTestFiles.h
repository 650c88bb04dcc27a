// Building Tiled maps for the tests: pictures, encoded layer data, map files, and the
// import through the built plug-in with what it hands over freed afterwards.
#pragma once

#include "tests/common/PluginTestSupport.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A PNG picture whose pixel (x, y) is Colour(x, y) as 0xRRGGBBAA.
void WriteTestPng(const std::string &Path, int32_t Width, int32_t Height,
                  const std::function<uint32_t(int32_t, int32_t)> &Colour);

// Tile ids as Tiled stores them before base64: 32-bit little-endian.
std::vector<uint8_t> IdBytes(const std::vector<uint32_t> &Ids);
std::string Base64(const std::vector<uint8_t> &Bytes);
std::vector<uint8_t> ZlibBytes(const std::vector<uint8_t> &Bytes);
std::vector<uint8_t> GzipBytes(const std::vector<uint8_t> &Bytes);
std::vector<uint8_t> ZstdBytes(const std::vector<uint8_t> &Bytes);
// "1,2,0,\n4,3,1" for a layer Width wide.
std::string CsvIds(const std::vector<uint32_t> &Ids, size_t Width);

// <map ...> with an orthogonal grid of Width × Height cells of Grid pixels around Body.
std::string TmxMap(int Width, int Height, int Grid, const std::string &Body,
                   const std::string &Extra = "");

// The record an import filled, freed as the host frees it.
struct TImportedMap {
    TImportedMap() = default;
    ~TImportedMap() { FreeImportedRecord(Record); }
    TImportedMap(const TImportedMap &) = delete;
    TImportedMap &operator=(const TImportedMap &) = delete;

    PluginMapRecord Record{};
    int32_t Result = -1;

    std::vector<uint16_t> Cells(size_t Layer) const;
    std::string Name(size_t Layer) const;
    std::string Image(size_t Layer) const;
};
