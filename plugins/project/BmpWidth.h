// The pixel width of a BMP file, read from its headers.
#pragma once

#include <cstddef>
#include <cstdint>

// False when the file cannot be read or is not a well-formed BMP file.
bool ReadBmpWidth(const char *path, uint32_t &width);

// The same check over the file's first bytes (at least the two headers) and its size.
bool ParseBmpWidth(const uint8_t *data, size_t size, uint64_t fileSize, uint32_t &width);
