#include "plugins/project/LinearPartNumbers.h"

void ConvertLinearPartNumbers(uint16_t *cells, size_t count, uint32_t columns, uint8_t bitCount)
{
    const uint32_t slots = bitCount == 8 ? 16 : 256;
    const uint32_t c = columns < slots ? columns : slots;
    if (c == 0)
        return;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t v = cells[i];
        cells[i] = static_cast<uint16_t>(v % c + v / c * slots);
    }
}
