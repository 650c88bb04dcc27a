#include "RegionFill.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <vector>

namespace
{

constexpr uint64_t kLowBits = 0x0001000100010001u;
constexpr uint64_t kHighBits = 0x8000800080008000u;

// Bits 0 to 3 tell which of the four cells from Cells equal the value (Pattern: the value in
// every 16-bit lane), found without a branch per cell.
uint64_t EqualNibble(const uint16_t *Cells, uint64_t Pattern)
{
    uint64_t word;
    std::memcpy(&word, Cells, sizeof(word));
    const uint64_t difference = word ^ Pattern;
    // The top bit of a lane is set when the lane is not zero.
    const uint64_t nonZero = (((difference & ~kHighBits) + ~kHighBits) | difference) & kHighBits;
    // The four top bits of the equal lanes, gathered into bits 45 to 48 by one multiplication.
    const uint64_t equal = (~nonZero & kHighBits) >> 15;
    return ((equal * 0x0000200040008001u) >> 45) & 0xF;
}

// The fill's view of the layer, one bit per cell in two planes: open cells hold the old value
// and have not been reached yet; reached cells get the new value once the region is known, in
// one pass over whole words of bits. A row's bits are made when the fill first looks at the
// row, so a small fill in a large layer reads only the rows it reaches. Bits past the row's
// end are never set, so every run of open bits ends inside its row.
class TFillPlanes
{
public:
    TFillPlanes(const uint16_t *Cells, int32_t Width, int32_t Height, uint16_t OldValue)
        : FCells(Cells), FWidth(Width), FWords((static_cast<size_t>(Width) + 63) / 64),
          FPattern(OldValue * kLowBits), FOldValue(OldValue),
          FBits(FWords * static_cast<size_t>(Height)), FReached(FBits.size()),
          FMade(static_cast<size_t>(Height), 0)
    {
    }

    uint64_t *Row(int32_t Y)
    {
        uint64_t *bits = FBits.data() + static_cast<size_t>(Y) * FWords;
        if (!FMade[static_cast<size_t>(Y)]) {
            Make(bits, FCells + static_cast<size_t>(Y) * FWidth);
            FMade[static_cast<size_t>(Y)] = 1;
        }
        return bits;
    }

    static bool IsOpen(const uint64_t *Row, int32_t X) { return (Row[X >> 6] >> (X & 63)) & 1; }

    // The first column at or after X (open) that is not open.
    int32_t RunEnd(const uint64_t *Row, int32_t X) const
    {
        size_t w = static_cast<size_t>(X) >> 6;
        uint64_t closed = ~Row[w] & (~uint64_t{0} << (X & 63));
        while (closed == 0) {
            if (++w == FWords)
                return FWidth;
            closed = ~Row[w];
        }
        return std::min(FWidth, static_cast<int32_t>(w * 64) + std::countr_zero(closed));
    }

    // The first column of the run of open cells that ends at X (open).
    static int32_t RunBegin(const uint64_t *Row, int32_t X)
    {
        size_t w = static_cast<size_t>(X) >> 6;
        // Bits 0 .. X & 63 (2 << 63 wraps to 0, and 0 - 1 keeps every bit).
        uint64_t closed = ~Row[w] & ((uint64_t{2} << (X & 63)) - 1);
        while (closed == 0) {
            if (w == 0)
                return 0;
            closed = ~Row[--w];
        }
        return static_cast<int32_t>(w * 64) + std::bit_width(closed);
    }

    // Columns [Left, Right] of row Y (all open) are reached.
    void Reach(int32_t Y, int32_t Left, int32_t Right)
    {
        const size_t rowStart = static_cast<size_t>(Y) * FWords;
        const size_t first = rowStart + (static_cast<size_t>(Left) >> 6);
        const size_t last = rowStart + (static_cast<size_t>(Right) >> 6);
        const uint64_t head = ~uint64_t{0} << (Left & 63);
        const uint64_t tail = (uint64_t{2} << (Right & 63)) - 1;
        if (first == last) {
            FBits[first] &= ~(head & tail);
            FReached[first] |= head & tail;
            return;
        }
        FBits[first] &= ~head;
        FReached[first] |= head;
        std::fill(FBits.begin() + static_cast<ptrdiff_t>(first + 1),
                  FBits.begin() + static_cast<ptrdiff_t>(last), 0);
        std::fill(FReached.begin() + static_cast<ptrdiff_t>(first + 1),
                  FReached.begin() + static_cast<ptrdiff_t>(last), ~uint64_t{0});
        FBits[last] &= ~tail;
        FReached[last] |= tail;
    }

    // Writes the new value into every reached cell.
    void WriteReached(uint16_t *Cells, uint16_t NewValue) const
    {
        // The four 16-bit lanes each nibble of reached bits selects.
        uint64_t lanes[16];
        for (uint32_t n = 0; n < 16; ++n) {
            lanes[n] = 0;
            for (uint32_t lane = 0; lane < 4; ++lane)
                if (n & (1u << lane))
                    lanes[n] |= uint64_t{0xFFFF} << (16 * lane);
        }
        const uint64_t pattern = NewValue * kLowBits;
        for (size_t y = 0; y < FMade.size(); ++y) {
            if (!FMade[y])
                continue;
            uint16_t *row = Cells + y * static_cast<size_t>(FWidth);
            const uint64_t *reached = FReached.data() + y * FWords;
            for (size_t w = 0; w < FWords; ++w) {
                const uint64_t bits = reached[w];
                const int32_t x0 = static_cast<int32_t>(w * 64);
                const int32_t count = std::min(64, FWidth - x0);
                if (bits == 0)
                    continue;
                if (count == 64 && bits == ~uint64_t{0}) {
                    std::fill(row + x0, row + x0 + 64, NewValue);
                    continue;
                }
                int32_t c = 0;
                for (; c + 4 <= count; c += 4) {
                    const uint64_t select = lanes[(bits >> c) & 0xF];
                    uint64_t word;
                    std::memcpy(&word, row + x0 + c, sizeof(word));
                    word = (word & ~select) | (pattern & select);
                    std::memcpy(row + x0 + c, &word, sizeof(word));
                }
                for (; c < count; ++c)
                    if ((bits >> c) & 1)
                        row[x0 + c] = NewValue;
            }
        }
    }

private:
    void Make(uint64_t *Bits, const uint16_t *Cells) const
    {
        int32_t x = 0;
        // Sixteen cells at a time; uniform stretches (all old or none old) need no gathering.
        for (; x + 16 <= FWidth; x += 16) {
            uint64_t words[4];
            std::memcpy(words, Cells + x, sizeof(words));
            const uint64_t same = (words[0] ^ FPattern) | (words[1] ^ FPattern) |
                                  (words[2] ^ FPattern) | (words[3] ^ FPattern);
            uint64_t mask = 0xFFFF;
            if (same != 0) {
                mask = EqualNibble(Cells + x, FPattern) |
                       EqualNibble(Cells + x + 4, FPattern) << 4 |
                       EqualNibble(Cells + x + 8, FPattern) << 8 |
                       EqualNibble(Cells + x + 12, FPattern) << 12;
            }
            Bits[x >> 6] |= mask << (x & 63);
        }
        for (; x < FWidth; ++x)
            Bits[x >> 6] |= static_cast<uint64_t>(Cells[x] == FOldValue) << (x & 63);
    }

    const uint16_t *FCells;
    int32_t FWidth;
    size_t FWords;
    uint64_t FPattern;
    uint16_t FOldValue;
    std::vector<uint64_t> FBits;    // open
    std::vector<uint64_t> FReached; // reached
    std::vector<uint8_t> FMade;
};

// A run of open cells of one row, found next to a filled span in the row From rows away (+1:
// this row lies below it, -1: above it, 0: the seed, which has no such span).
struct TPendingRun {
    int32_t Left;
    int32_t Right;
    int32_t Y;
    int32_t From;
};

// Every run of open cells of the row within columns [Left, Right], a word of bits at a time.
void PushRuns(std::vector<TPendingRun> &Pending, const uint64_t *Row, int32_t Y, int32_t From,
              int32_t Left, int32_t Right)
{
    if (Left > Right)
        return;
    const size_t first = static_cast<size_t>(Left) >> 6;
    const size_t last = static_cast<size_t>(Right) >> 6;
    int32_t start = -1; // the open run that reaches the end of the previous word
    for (size_t w = first; w <= last; ++w) {
        uint64_t open = Row[w];
        if (w == first)
            open &= ~uint64_t{0} << (Left & 63);
        if (w == last)
            open &= (uint64_t{2} << (Right & 63)) - 1;
        const int32_t base = static_cast<int32_t>(w * 64);
        if (start >= 0 && (open & 1) == 0) {
            Pending.push_back({start, base - 1, Y, From});
            start = -1;
        }
        while (open != 0) {
            const int bit = std::countr_zero(open);
            const int length = std::countr_one(open >> bit);
            if (start < 0 || bit != 0)
                start = base + bit;
            if (bit + length == 64)
                break; // the run may go on in the next word
            Pending.push_back({start, base + bit + length - 1, Y, From});
            start = -1;
            open &= ~uint64_t{0} << (bit + length);
        }
    }
    if (start >= 0)
        Pending.push_back({start, Right, Y, From});
}

} // namespace

void FillRegion(uint16_t *Cells, int32_t Width, int32_t Height, int32_t SeedX, int32_t SeedY,
                uint16_t OldValue, uint16_t NewValue)
{
    TFillPlanes open(Cells, Width, Height, OldValue);
    std::vector<TPendingRun> pending;
    pending.reserve(256);
    pending.push_back({SeedX, SeedX, SeedY, 0});
    while (!pending.empty()) {
        const TPendingRun run = pending.back();
        pending.pop_back();
        uint64_t *row = open.Row(run.Y);
        // A fill that reached any cell of the run took the whole row span around it.
        if (!TFillPlanes::IsOpen(row, run.Left))
            continue;
        const int32_t left = TFillPlanes::RunBegin(row, run.Left);
        const int32_t right = open.RunEnd(row, run.Right) - 1;
        open.Reach(run.Y, left, right);
        // The row the run was found from is reached over the run's columns already: only the
        // columns the span grew by can lead back into it.
        for (const int32_t step : {-1, 1}) {
            const int32_t y = run.Y + step;
            if (y < 0 || y >= Height)
                continue;
            const uint64_t *next = open.Row(y);
            if (run.From == -step) {
                PushRuns(pending, next, y, step, left, run.Left - 1);
                PushRuns(pending, next, y, step, run.Right + 1, right);
            } else {
                PushRuns(pending, next, y, step, left, right);
            }
        }
    }
    open.WriteReached(Cells, NewValue);
}
