#include "StrokeLine.h"

#include <cstdlib>

std::vector<TStrokeCell> StrokeCells(TStrokeCell From, TStrokeCell To)
{
    // Bresenham's line, which steps one cell at a time along the longer axis.
    const int64_t dx = std::llabs(int64_t{To.X} - From.X);
    const int64_t dy = -std::llabs(int64_t{To.Y} - From.Y);
    const int32_t sx = From.X < To.X ? 1 : -1;
    const int32_t sy = From.Y < To.Y ? 1 : -1;
    int64_t error = dx + dy;
    std::vector<TStrokeCell> cells;
    TStrokeCell at = From;
    while (!(at == To)) {
        const int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            at.X += sx;
        }
        if (twice <= dx) {
            error += dx;
            at.Y += sy;
        }
        cells.push_back(at);
    }
    return cells;
}
