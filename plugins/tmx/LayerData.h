// The tile ids of a layer or chunk as Tiled writes them: CSV text, or base64 holding 32-bit
// little-endian ids, uncompressed or compressed with zlib, gzip or zstd. Each decoder
// returns exactly the number of ids the layer has, or throws ETiledError (broken file)
// whose text starts with Where ("desert.tmx: layer \"Ground\"") and says what is wrong:
// a stream cut short, one holding more than the layer, a character that does not belong.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

std::vector<uint32_t> DecodeCsvIds(std::string_view Text, size_t Count, const std::string &Where);

// Compression: "" (none), "zlib", "gzip" or "zstd"; anything else is refused.
std::vector<uint32_t> DecodeBase64Ids(std::string_view Text, const std::string &Compression,
                                      size_t Count, const std::string &Where);

// Base64 with white space anywhere; false on any other character or misplaced padding.
bool DecodeBase64(std::string_view Text, std::vector<uint8_t> &Bytes);
