#include "TerrainBrush.h"

#include <algorithm>
#include <array>
#include <deque>

namespace
{

constexpr uint8_t kUnreached = 255;
// Rings beyond the painted cells that may change, at most; the ring after them stays as it is.
constexpr int32_t kMostRings = 16;

enum TCellFlag : uint8_t {
    cfPainted = 1,
    cfFrozen = 2,
    cfProcessed = 4,
    cfQueued = 8,
};

// The cells around a paint and the places between them (corners, then the horizontal edges
// above and below cells, then the vertical edges left and right of them), in cells relative to
// the window's top-left.
class TPlaceGrid
{
public:
    TPlaceGrid(int32_t Width, int32_t Height)
        : FWidth(Width), FHeight(Height), FCorners((Width + 1) * (Height + 1)),
          FHorizontal(Width * (Height + 1)), FVertical((Width + 1) * Height)
    {
    }

    int32_t Count() const { return FCorners + FHorizontal + FVertical; }

    // The place of slot Slot of the cell (X, Y).
    int32_t Place(int32_t X, int32_t Y, int32_t Slot) const
    {
        switch (Slot) {
        case wsTop:
            return FCorners + Y * FWidth + X;
        case wsTopRight:
            return Y * (FWidth + 1) + X + 1;
        case wsRight:
            return FCorners + FHorizontal + Y * (FWidth + 1) + X + 1;
        case wsBottomRight:
            return (Y + 1) * (FWidth + 1) + X + 1;
        case wsBottom:
            return FCorners + (Y + 1) * FWidth + X;
        case wsBottomLeft:
            return (Y + 1) * (FWidth + 1) + X;
        case wsLeft:
            return FCorners + FHorizontal + Y * (FWidth + 1) + X;
        default: // wsTopLeft
            return Y * (FWidth + 1) + X;
        }
    }

    // The cells (as Y × width + X) that share a place; returns how many.
    int32_t Cells(int32_t Place, std::array<int32_t, 4> &Out) const
    {
        int32_t n = 0;
        auto add = [&](int32_t x, int32_t y) {
            if (x >= 0 && y >= 0 && x < FWidth && y < FHeight)
                Out[static_cast<size_t>(n++)] = y * FWidth + x;
        };
        if (Place < FCorners) {
            const int32_t x = Place % (FWidth + 1);
            const int32_t y = Place / (FWidth + 1);
            add(x - 1, y - 1);
            add(x, y - 1);
            add(x - 1, y);
            add(x, y);
        } else if (Place < FCorners + FHorizontal) {
            const int32_t x = (Place - FCorners) % FWidth;
            const int32_t y = (Place - FCorners) / FWidth;
            add(x, y - 1);
            add(x, y);
        } else {
            const int32_t x = (Place - FCorners - FHorizontal) % (FWidth + 1);
            const int32_t y = (Place - FCorners - FHorizontal) / (FWidth + 1);
            add(x - 1, y);
            add(x, y);
        }
        return n;
    }

private:
    int32_t FWidth;
    int32_t FHeight;
    int32_t FCorners;
    int32_t FHorizontal;
    int32_t FVertical;
};

// A part fits when every place it has a terrain for wants that terrain or none.
bool Fits(const TWangId &Id, const TWangId &Wanted)
{
    for (size_t slot = 0; slot < 8; ++slot)
        if (Wanted[slot] != 0 && Id[slot] != 0 && Id[slot] != Wanted[slot])
            return false;
    return true;
}

uint64_t Mix(uint64_t Value)
{
    Value += 0x9E3779B97F4A7C15ull;
    Value = (Value ^ (Value >> 30)) * 0xBF58476D1CE4E5B9ull;
    Value = (Value ^ (Value >> 27)) * 0x94D049BB133111EBull;
    return Value ^ (Value >> 31);
}

} // namespace

double CellRandom(uint64_t Seed, int32_t X, int32_t Y)
{
    const uint64_t cell =
        (static_cast<uint64_t>(static_cast<uint32_t>(Y)) << 32) | static_cast<uint32_t>(X);
    return static_cast<double>(Mix(Seed ^ Mix(cell)) >> 11) * (1.0 / 9007199254740992.0);
}

bool FitsNeighbours(const TMap &Map, int32_t Layer, const TTerrainMatcher &Matcher, int32_t X,
                    int32_t Y)
{
    if (!Map.IsValidLayer(Layer) || X < 0 || Y < 0 || X >= Map.Width() || Y >= Map.Height())
        return false;
    const std::vector<uint16_t> &cells = Map.GetLayer(Layer).Data;
    const auto partAt = [&](int32_t x, int32_t y) -> const TTerrainPart * {
        if (x < 0 || y < 0 || x >= Map.Width() || y >= Map.Height())
            return nullptr;
        return Matcher.PartOf(cells[static_cast<size_t>(y) * Map.Width() + x]);
    };
    const TTerrainPart *own = partAt(X, Y);
    if (own == nullptr)
        return true;
    // Each neighbour's offset and the pairs of slots (own, the neighbour's) on shared places.
    struct TShared {
        int32_t DX;
        int32_t DY;
        std::array<std::pair<int32_t, int32_t>, 3> Slots;
        int32_t Count;
    };
    static constexpr TShared kShared[] = {
        {0, -1, {{{wsTopLeft, wsBottomLeft}, {wsTop, wsBottom}, {wsTopRight, wsBottomRight}}}, 3},
        {0, 1, {{{wsBottomLeft, wsTopLeft}, {wsBottom, wsTop}, {wsBottomRight, wsTopRight}}}, 3},
        {-1, 0, {{{wsTopLeft, wsTopRight}, {wsLeft, wsRight}, {wsBottomLeft, wsBottomRight}}}, 3},
        {1, 0, {{{wsTopRight, wsTopLeft}, {wsRight, wsLeft}, {wsBottomRight, wsBottomLeft}}}, 3},
        {-1, -1, {{{wsTopLeft, wsBottomRight}}}, 1},
        {1, -1, {{{wsTopRight, wsBottomLeft}}}, 1},
        {-1, 1, {{{wsBottomLeft, wsTopRight}}}, 1},
        {1, 1, {{{wsBottomRight, wsTopLeft}}}, 1},
    };
    for (const TShared &shared : kShared) {
        const TTerrainPart *other = partAt(X + shared.DX, Y + shared.DY);
        if (other == nullptr)
            continue;
        for (int32_t i = 0; i < shared.Count; ++i) {
            const auto [mine, theirs] = shared.Slots[static_cast<size_t>(i)];
            if (!SlotUsed(Matcher.Type(), mine))
                continue;
            const uint8_t a = own->Id[static_cast<size_t>(mine)];
            const uint8_t b = other->Id[static_cast<size_t>(theirs)];
            if (a != 0 && b != 0 && a != b)
                return false;
        }
    }
    return true;
}

std::vector<TTerrainCell> BrushCells(int32_t X, int32_t Y, int32_t Size, bool Round, int32_t Width,
                                     int32_t Height)
{
    std::vector<TTerrainCell> cells;
    Size = std::max(Size, 1);
    const int32_t left = X - (Size - 1) / 2;
    const int32_t top = Y - (Size - 1) / 2;
    // Twice the distances, to stay in integers: the middle of cell i lies at 2i + 1.
    const int64_t middleX = 2 * static_cast<int64_t>(left) + Size;
    const int64_t middleY = 2 * static_cast<int64_t>(top) + Size;
    const int64_t radius = static_cast<int64_t>(Size) * Size;
    for (int32_t y = std::max(top, 0); y < std::min(top + Size, Height); ++y)
        for (int32_t x = std::max(left, 0); x < std::min(left + Size, Width); ++x) {
            const int64_t dx = 2 * static_cast<int64_t>(x) + 1 - middleX;
            const int64_t dy = 2 * static_cast<int64_t>(y) + 1 - middleY;
            if (!Round || dx * dx + dy * dy <= radius)
                cells.push_back({x, y});
        }
    return cells;
}

TTerrainPaint PaintTerrain(const TMap &Map, int32_t Layer, const TTerrainMatcher &Matcher,
                           const std::vector<TTerrainCell> &Cells, uint8_t Terrain, uint64_t Seed)
{
    TTerrainPaint result;
    if (Cells.empty() || !Map.IsValidLayer(Layer) || Matcher.Parts().empty() || Terrain == 0 ||
        Terrain > Matcher.ColourCount())
        return result;
    const std::vector<uint16_t> &layer = Map.GetLayer(Layer).Data;
    const int32_t mapWidth = Map.Width();
    const int32_t mapHeight = Map.Height();

    int32_t bx0 = mapWidth;
    int32_t by0 = mapHeight;
    int32_t bx1 = -1;
    int32_t by1 = -1;
    for (const TTerrainCell &cell : Cells) {
        if (cell.X < 0 || cell.Y < 0 || cell.X >= mapWidth || cell.Y >= mapHeight)
            continue;
        bx0 = std::min(bx0, cell.X);
        by0 = std::min(by0, cell.Y);
        bx1 = std::max(bx1, cell.X);
        by1 = std::max(by1, cell.Y);
    }
    if (bx1 < 0)
        return result;
    // Enough rings for every step between terrains, one for a part that gives way, and the
    // ring that stays.
    const int32_t rings = std::min(Matcher.Reach(Terrain), kMostRings) + 2;
    const int32_t x0 = std::max(0, bx0 - rings);
    const int32_t y0 = std::max(0, by0 - rings);
    const int32_t w = std::min(mapWidth - 1, bx1 + rings) - x0 + 1;
    const int32_t h = std::min(mapHeight - 1, by1 + rings) - y0 + 1;
    const TPlaceGrid grid(w, h);
    const size_t cellCount = static_cast<size_t>(w) * static_cast<size_t>(h);

    std::vector<uint16_t> chips(cellCount);
    std::vector<int32_t> parts(cellCount, -1);
    std::vector<uint8_t> flags(cellCount, 0);
    const TTerrainPart *first = Matcher.Parts().data();
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const size_t c = static_cast<size_t>(y) * w + x;
            chips[c] = layer[static_cast<size_t>(y0 + y) * mapWidth + (x0 + x)];
            if (const TTerrainPart *part = Matcher.PartOf(chips[c]))
                parts[c] = static_cast<int32_t>(part - first);
            const int32_t dx = std::max({bx0 - (x0 + x), (x0 + x) - bx1, 0});
            const int32_t dy = std::max({by0 - (y0 + y), (y0 + y) - by1, 0});
            if (std::max(dx, dy) >= rings)
                flags[c] |= cfFrozen;
        }
    int32_t usedSlots[8];
    int32_t usedCount = 0;
    for (int32_t slot = 0; slot < 8; ++slot)
        if (SlotUsed(Matcher.Type(), slot))
            usedSlots[usedCount++] = slot;
    const auto idOf = [&](size_t c) -> const TWangId & {
        return Matcher.Parts()[static_cast<size_t>(parts[c])].Id;
    };

    // Each place holds the terrain most of its cells give it.
    const size_t placeCount = static_cast<size_t>(grid.Count());
    std::vector<uint8_t> value(placeCount, 0);
    std::vector<int8_t> votes(placeCount, 0);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const size_t c = static_cast<size_t>(y) * w + x;
            if (parts[c] < 0)
                continue;
            for (int32_t i = 0; i < usedCount; ++i) {
                const uint8_t terrain = idOf(c)[static_cast<size_t>(usedSlots[i])];
                if (terrain == 0)
                    continue;
                const auto place = static_cast<size_t>(grid.Place(x, y, usedSlots[i]));
                if (votes[place] == 0) {
                    value[place] = terrain;
                    votes[place] = 1;
                } else if (value[place] == terrain) {
                    ++votes[place];
                } else {
                    --votes[place];
                }
            }
        }
    // Settled places: the painted ones, and the outer ring's, which stays as it is.
    std::vector<uint8_t> settled(placeCount, 0);
    for (size_t c = 0; c < cellCount; ++c) {
        if ((flags[c] & cfFrozen) == 0 || parts[c] < 0)
            continue;
        const int32_t x = static_cast<int32_t>(c % w);
        const int32_t y = static_cast<int32_t>(c / w);
        for (int32_t i = 0; i < usedCount; ++i) {
            const uint8_t terrain = idOf(c)[static_cast<size_t>(usedSlots[i])];
            if (terrain == 0)
                continue;
            const auto place = static_cast<size_t>(grid.Place(x, y, usedSlots[i]));
            value[place] = terrain;
            settled[place] = 1;
        }
    }
    std::vector<uint8_t> distance(placeCount, kUnreached);
    std::deque<int32_t> frontier;
    for (const TTerrainCell &cell : Cells) {
        const int32_t x = cell.X - x0;
        const int32_t y = cell.Y - y0;
        if (x < 0 || y < 0 || x >= w || y >= h)
            continue;
        flags[static_cast<size_t>(y) * w + x] |= cfPainted;
    }
    std::array<int32_t, 4> around{};
    for (size_t c = 0; c < cellCount; ++c) {
        if ((flags[c] & cfPainted) == 0)
            continue;
        const int32_t x = static_cast<int32_t>(c % w);
        const int32_t y = static_cast<int32_t>(c / w);
        for (int32_t i = 0; i < usedCount; ++i) {
            const int32_t place = grid.Place(x, y, usedSlots[i]);
            const auto p = static_cast<size_t>(place);
            value[p] = Terrain;
            settled[p] = 1;
            if (distance[p] == 0)
                continue;
            distance[p] = 0;
            // Only places on the painted cells' border lead outwards.
            const int32_t n = grid.Cells(place, around);
            for (int32_t k = 0; k < n; ++k)
                if ((flags[static_cast<size_t>(around[static_cast<size_t>(k)])] & cfPainted) == 0) {
                    frontier.push_back(place);
                    break;
                }
        }
    }
    // Rings outwards: a place k steps away keeps its terrain when that lies at most k
    // transitions from the painted one, and otherwise takes the terrain between.
    while (!frontier.empty()) {
        const int32_t place = frontier.front();
        frontier.pop_front();
        const int32_t next = distance[static_cast<size_t>(place)] + 1;
        if (next >= rings)
            continue;
        const int32_t n = grid.Cells(place, around);
        for (int32_t k = 0; k < n; ++k) {
            const auto c = static_cast<size_t>(around[static_cast<size_t>(k)]);
            if ((flags[c] & cfFrozen) != 0)
                continue;
            const int32_t x = static_cast<int32_t>(c % w);
            const int32_t y = static_cast<int32_t>(c / w);
            for (int32_t i = 0; i < usedCount; ++i) {
                const int32_t other = grid.Place(x, y, usedSlots[i]);
                const auto o = static_cast<size_t>(other);
                if (distance[o] != kUnreached)
                    continue;
                distance[o] = static_cast<uint8_t>(next);
                frontier.push_back(other);
                const uint8_t old = value[o];
                if (settled[o] == 0 && old != 0 && Matcher.Distance(Terrain, old) > next &&
                    Matcher.Distance(Terrain, old) != TTerrainMatcher::Far)
                    value[o] = Matcher.StepToward(Terrain, old, next);
            }
        }
    }

    // Cells are settled nearest first, and within a ring the most settled first, so that a
    // part that gives way settles its neighbours before they choose.
    const int32_t levels = rings + 2;
    std::vector<std::vector<int32_t>> buckets(static_cast<size_t>(levels) * 9);
    size_t lowest = buckets.size();
    const auto push = [&](size_t c) {
        if ((flags[c] & (cfProcessed | cfFrozen)) != 0)
            return;
        const int32_t x = static_cast<int32_t>(c % w);
        const int32_t y = static_cast<int32_t>(c / w);
        int32_t level = 0;
        int32_t settledCount = 0;
        int32_t nearest = kUnreached;
        for (int32_t i = 0; i < usedCount; ++i) {
            const auto p = static_cast<size_t>(grid.Place(x, y, usedSlots[i]));
            settledCount += settled[p];
            nearest = std::min<int32_t>(nearest, distance[p]);
        }
        if ((flags[c] & cfPainted) == 0)
            level = std::min(levels - 1, nearest + 1);
        const size_t bucket =
            static_cast<size_t>(level) * 9 + static_cast<size_t>(8 - settledCount);
        buckets[bucket].push_back(static_cast<int32_t>(c));
        flags[c] |= cfQueued;
        lowest = std::min(lowest, bucket);
    };
    // The painted cells, the ring touching them (whose marks a fitting part clears too) and
    // every other cell that no longer fits its places.
    for (size_t c = 0; c < cellCount; ++c) {
        if ((flags[c] & cfPainted) != 0) {
            push(c);
            continue;
        }
        if (parts[c] < 0 || (flags[c] & cfFrozen) != 0)
            continue;
        const int32_t x = static_cast<int32_t>(c % w);
        const int32_t y = static_cast<int32_t>(c / w);
        for (int32_t i = 0; i < usedCount; ++i) {
            const auto p = static_cast<size_t>(grid.Place(x, y, usedSlots[i]));
            const uint8_t has = idOf(c)[static_cast<size_t>(usedSlots[i])];
            if (distance[p] == 0 || (value[p] != 0 && has != 0 && value[p] != has)) {
                push(c);
                break;
            }
        }
    }

    // What a cell wants: its places' terrains (with Proposed places taking other values),
    // and the places that cannot give way: settled ones and those beyond the first ring.
    struct TProposal {
        int32_t Place;
        uint8_t Value;
    };
    const auto wantedOf = [&](size_t c, const TProposal *proposals, int32_t count,
                              TWangId &wanted) {
        const int32_t x = static_cast<int32_t>(c % w);
        const int32_t y = static_cast<int32_t>(c / w);
        uint8_t hard = 0;
        wanted = {};
        for (int32_t i = 0; i < usedCount; ++i) {
            const auto slot = static_cast<size_t>(usedSlots[i]);
            const int32_t place = grid.Place(x, y, usedSlots[i]);
            const auto p = static_cast<size_t>(place);
            wanted[slot] = value[p];
            bool fixed = settled[p] != 0 || distance[p] > 1;
            for (int32_t k = 0; k < count; ++k)
                if (proposals[k].Place == place) {
                    wanted[slot] = proposals[k].Value;
                    fixed = true;
                }
            if (fixed)
                hard = static_cast<uint8_t>(hard | (1u << slot));
        }
        return hard;
    };
    // The cells beyond the places a part of cell c would change can still fit exactly.
    const auto othersFit = [&](size_t c, int32_t Part) {
        const TTerrainPart &part = Matcher.Parts()[static_cast<size_t>(Part)];
        const int32_t x = static_cast<int32_t>(c % w);
        const int32_t y = static_cast<int32_t>(c / w);
        TProposal proposals[8];
        int32_t count = 0;
        for (int32_t i = 0; i < usedCount; ++i) {
            const auto slot = static_cast<size_t>(usedSlots[i]);
            const int32_t place = grid.Place(x, y, usedSlots[i]);
            if (part.Id[slot] != 0 && value[static_cast<size_t>(place)] != part.Id[slot])
                proposals[count++] = {place, part.Id[slot]};
        }
        for (int32_t k = 0; k < count; ++k) {
            const int32_t n = grid.Cells(proposals[k].Place, around);
            for (int32_t j = 0; j < n; ++j) {
                const auto other = static_cast<size_t>(around[static_cast<size_t>(j)]);
                if (other == c || (flags[other] & cfProcessed) != 0)
                    continue;
                // The outer ring stays: it must fit as it is.
                if ((flags[other] & cfFrozen) != 0) {
                    if (parts[other] < 0)
                        continue;
                    TWangId wanted{};
                    wantedOf(other, proposals, count, wanted);
                    if (!Fits(idOf(other), wanted))
                        return false;
                    continue;
                }
                if ((flags[other] & cfPainted) == 0 && parts[other] < 0)
                    continue;
                TWangId wanted{};
                const uint8_t hard = wantedOf(other, proposals, count, wanted);
                if (Matcher.Choose(wanted, hard, 0.0).HardMisses != 0)
                    return false;
            }
        }
        return true;
    };

    std::vector<uint16_t> chosen = chips;
    while (lowest < buckets.size()) {
        if (buckets[lowest].empty()) {
            ++lowest;
            continue;
        }
        const auto c = static_cast<size_t>(buckets[lowest].back());
        buckets[lowest].pop_back();
        if ((flags[c] & cfProcessed) != 0)
            continue;
        flags[c] |= cfProcessed;
        // A cell of no terrain beside the paint stays as it is.
        if ((flags[c] & cfPainted) == 0 && parts[c] < 0)
            continue;
        const int32_t x = static_cast<int32_t>(c % w);
        const int32_t y = static_cast<int32_t>(c / w);
        TWangId wanted{};
        uint8_t hard = wantedOf(c, nullptr, 0, wanted);
        int32_t part = parts[c];
        bool matched = true;
        if (part < 0 || !Fits(idOf(c), wanted)) {
            const double random = CellRandom(Seed, x0 + x, y0 + y);
            TTerrainMatcher::TChoice choice = Matcher.Choose(wanted, hard, random);
            if (choice.Part < 0)
                continue;
            // A part that needs places to give way is taken only when the cells beyond them
            // can fit it without giving way further; otherwise the cell takes the closest part
            // as it stands, so that a missing transition stays where it is.
            if (choice.SoftMisses > 0 && !othersFit(c, choice.Part)) {
                hard = 0xFF;
                choice = Matcher.Choose(wanted, hard, random);
            }
            part = choice.Part;
            matched = choice.HardMisses == 0;
        }
        const TTerrainPart &picked = Matcher.Parts()[static_cast<size_t>(part)];
        for (int32_t i = 0; i < usedCount; ++i) {
            const auto slot = static_cast<size_t>(usedSlots[i]);
            const int32_t place = grid.Place(x, y, usedSlots[i]);
            const auto p = static_cast<size_t>(place);
            const bool changes =
                (hard & (1u << slot)) == 0 && picked.Id[slot] != 0 && value[p] != picked.Id[slot];
            if (settled[p] != 0)
                continue;
            settled[p] = 1;
            if (changes)
                value[p] = picked.Id[slot]; // the place gives way
            // Cells sharing the place see it settled: one that changed must choose again, one
            // waiting moves up in its ring.
            const int32_t n = grid.Cells(place, around);
            for (int32_t k = 0; k < n; ++k) {
                const auto other = static_cast<size_t>(around[static_cast<size_t>(k)]);
                if (changes || (flags[other] & cfQueued) != 0)
                    push(other);
            }
        }
        chosen[c] = picked.Chip;
        (matched ? result.Matched : result.Unmatched).push_back({x0 + x, y0 + y});
    }

    int32_t cx0 = w;
    int32_t cy0 = h;
    int32_t cx1 = -1;
    int32_t cy1 = -1;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            if (chosen[static_cast<size_t>(y) * w + x] != chips[static_cast<size_t>(y) * w + x]) {
                cx0 = std::min(cx0, x);
                cy0 = std::min(cy0, y);
                cx1 = std::max(cx1, x);
                cy1 = std::max(cy1, y);
            }
    if (cx1 < 0)
        return result;
    result.Area =
        TSelection{1, x0 + cx0, y0 + cy0, cx1 - cx0, cy1 - cy0, (y0 + cy0) * mapWidth + x0 + cx0};
    result.Cells.reserve(static_cast<size_t>(cx1 - cx0 + 1) * static_cast<size_t>(cy1 - cy0 + 1));
    for (int32_t y = cy0; y <= cy1; ++y)
        for (int32_t x = cx0; x <= cx1; ++x)
            result.Cells.push_back(chosen[static_cast<size_t>(y) * w + x]);
    return result;
}
