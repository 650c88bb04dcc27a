#include "ChangedCells.h"

#include <algorithm>

TSelection ChangedCells(const TModifyRecord &Record, int32_t MapWidth, const TSelection &Window)
{
    TSelection changed;
    if (Record.Kind != mtData || Record.Width <= 0 || MapWidth <= 0)
        return changed;
    const int32_t recordX = Record.StartIndex % MapWidth;
    const int32_t recordY = Record.StartIndex / MapWidth;
    // The part of the record's rectangle that lies in the window.
    const int32_t left = std::max(Window.X, recordX);
    const int32_t top = std::max(Window.Y, recordY);
    const int32_t right = std::min(Window.X + Window.DX, recordX + Record.Width - 1);
    const int32_t bottom = std::min(Window.Y + Window.DY, recordY + Record.Height - 1);
    int32_t minX = right + 1;
    int32_t minY = bottom + 1;
    int32_t maxX = left - 1;
    int32_t maxY = top - 1;
    for (int32_t y = top; y <= bottom; ++y) {
        const size_t row = static_cast<size_t>(y - recordY) * static_cast<size_t>(Record.Width);
        for (int32_t x = left; x <= right; ++x) {
            const size_t i = row + static_cast<size_t>(x - recordX);
            if (i >= Record.Before.size() || i >= Record.After.size())
                break;
            if (Record.Before[i] != Record.After[i]) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
        }
    }
    if (maxX < minX)
        return changed;
    return TSelection{1, minX, minY, maxX - minX, maxY - minY, minY * MapWidth + minX};
}
