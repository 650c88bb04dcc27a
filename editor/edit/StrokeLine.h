// The cells a pen stroke passes between two pointer positions. The window reports the pointer
// only now and then, so a quick stroke jumps several cells at a time; the pen and the eraser
// write every cell of the straight line between the two instead of leaving gaps.
#pragma once

#include <cstdint>
#include <vector>

struct TStrokeCell {
    int32_t X = 0;
    int32_t Y = 0;
    bool operator==(const TStrokeCell &) const = default;
};

// The cells of the line from From to To, From itself left out and To last, each a 4- or
// 8-neighbour of the one before it.
std::vector<TStrokeCell> StrokeCells(TStrokeCell From, TStrokeCell To);
