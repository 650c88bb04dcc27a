// Old (version-2) files number parts left to right over the parts image in its actual
// width; today every row of parts has fixed slots: 16 for 8-bit maps, 256 for 16-bit maps.
#pragma once

#include <cstddef>
#include <cstdint>

// Renumbers count cells in place. columns is the image's width in parts (at least 1).
void ConvertLinearPartNumbers(uint16_t *cells, size_t count, uint32_t columns, uint8_t bitCount);
