#include "MapTestSupport.h"

#include <gtest/gtest.h>
#include <utility>

namespace
{

TModified FillRequest(uint16_t value)
{
    TModified request = Single(0, 0, 0, value);
    return request;
}

} // namespace

TEST(FillArea, FillsExactlyTheFourConnectedRegion)
{
    auto map = MakeMap(5, 4);
    // 0 = open, 1 = wall; the region right of the wall touches only diagonally.
    map->GetLayer(0).Data = {
        0, 0, 1, 0, 0, //
        0, 1, 0, 1, 0, //
        1, 0, 0, 0, 1, //
        0, 0, 1, 1, 0, //
    };
    map->FillArea(2, 2, FillRequest(7));
    const std::vector<uint16_t> expected = {
        0, 0, 1, 0, 0, //
        0, 1, 7, 1, 0, //
        1, 7, 7, 7, 1, //
        7, 7, 1, 1, 0, //
    };
    EXPECT_EQ(map->GetLayer(0).Data, expected);
}

TEST(FillArea, IsOneUndoStepRecordingTheWholeLayer)
{
    auto map = MakeMap(6, 6);
    map->FillArea(3, 3, FillRequest(2));
    EXPECT_EQ(map->GetLayer(0).Data, std::vector<uint16_t>(36, 2));
    ASSERT_EQ(map->ModifyRecords().size(), 4u);
    const TModifyRecord &record = map->ModifyRecords()[1];
    EXPECT_EQ(record.Width, 6);
    EXPECT_EQ(record.Height, 6);
    EXPECT_EQ(record.Before, std::vector<uint16_t>(36, 0));
    EXPECT_EQ(record.After, std::vector<uint16_t>(36, 2));
    TSelection changed;
    map->Undo(changed);
    EXPECT_EQ(map->GetLayer(0).Data, std::vector<uint16_t>(36, 0));
    EXPECT_EQ(changed.DX, 5);
}

TEST(FillArea, DoesNothingWhenTheValueIsAlreadyThere)
{
    auto map = MakeMap(3, 3);
    map->FillArea(1, 1, FillRequest(0));
    EXPECT_EQ(map->ModifyRecords().size(), 1u);
}

TEST(FillArea, CheckerboardFillsOnlyTheSeed)
{
    auto map = MakeMap(4, 4);
    std::vector<uint16_t> &cells = map->GetLayer(0).Data;
    for (int i = 0; i < 16; ++i)
        cells[static_cast<size_t>(i)] = static_cast<uint16_t>(((i % 4) + (i / 4)) % 2);
    std::vector<uint16_t> expected = cells;
    expected[5] = 9;
    map->FillArea(1, 1, FillRequest(9));
    EXPECT_EQ(cells, expected);
}

TEST(FillArea, RefusesSeedsOutsideTheMapAndInactiveSources)
{
    auto map = MakeMap(3, 3);
    map->FillArea(3, 0, FillRequest(1));
    map->FillArea(-1, 0, FillRequest(1));
    TModified inactive = FillRequest(1);
    inactive.Source.Active = 0;
    map->FillArea(0, 0, inactive);
    EXPECT_EQ(map->GetLayer(0).Data, std::vector<uint16_t>(9, 0));
    EXPECT_EQ(map->ModifyRecords().size(), 1u);
}

TEST(FillArea, IgnoresTheValueLimit)
{
    auto map = MakeMap(2, 2, 1, 8);
    map->FillArea(0, 0, FillRequest(1000));
    EXPECT_EQ(map->GetLayer(0).Data, std::vector<uint16_t>(4, 1000));
}

TEST(FillArea, SerpentineRegionOfAMillionCellsNeedsNoHugeStackUpFront)
{
    // A long winding corridor: deep last-in first-out recursion without overflow.
    const int32_t size = 1000;
    auto map = MakeMap(size, size);
    std::vector<uint16_t> &cells = map->GetLayer(0).Data;
    for (int32_t y = 1; y < size; y += 2)
        for (int32_t x = 0; x < size; ++x)
            if (!((y / 2) % 2 == 0 ? x == size - 1 : x == 0))
                cells[static_cast<size_t>(y * size + x)] = 1;
    map->FillArea(0, 0, FillRequest(5));
    EXPECT_EQ(Cell(*map, 0, size - 1, size - 2), 5);
    EXPECT_EQ(Cell(*map, 0, 3, 1), 1);
}

namespace
{

// The plainest flood fill: one cell at a time from a stack, the four neighbours checked.
std::vector<uint16_t> ReferenceFill(std::vector<uint16_t> cells, int32_t width, int32_t height,
                                    int32_t x, int32_t y, uint16_t value)
{
    const uint16_t old = cells[static_cast<size_t>(y * width + x)];
    if (old == value)
        return cells;
    std::vector<std::pair<int32_t, int32_t>> stack = {{x, y}};
    while (!stack.empty()) {
        const auto [cx, cy] = stack.back();
        stack.pop_back();
        if (cx < 0 || cy < 0 || cx >= width || cy >= height)
            continue;
        uint16_t &cell = cells[static_cast<size_t>(cy * width + cx)];
        if (cell != old)
            continue;
        cell = value;
        stack.insert(stack.end(), {{cx, cy - 1}, {cx + 1, cy}, {cx, cy + 1}, {cx - 1, cy}});
    }
    return cells;
}

// Irregular regions: random walls of a few values, thick enough to make caves, corridors,
// enclosed pockets and runs that end at every edge.
std::vector<uint16_t> Caves(int32_t width, int32_t height, uint32_t seed, int32_t wallPercent)
{
    std::vector<uint16_t> cells(static_cast<size_t>(width) * height);
    uint32_t state = seed;
    for (uint16_t &cell : cells) {
        state = state * 1664525u + 1013904223u;
        const uint32_t roll = (state >> 8) % 100;
        cell = roll < static_cast<uint32_t>(wallPercent) ? static_cast<uint16_t>(1 + roll % 3) : 0;
    }
    return cells;
}

} // namespace

TEST(FillArea, FillsTheSameCellsAndRecordsTheSameStepAsAPlainCellByCellFill)
{
    struct TCase {
        int32_t Width, Height, WallPercent;
    };
    const TCase cases[] = {{1, 1, 0},    {1, 37, 30},  {41, 1, 30},    {17, 13, 45},
                           {64, 64, 40}, {97, 61, 55}, {200, 150, 35}, {33, 300, 60}};
    uint32_t seed = 1;
    for (const TCase &c : cases) {
        for (int32_t trial = 0; trial < 12; ++trial, ++seed) {
            SCOPED_TRACE(testing::Message() << c.Width << "x" << c.Height << " seed " << seed);
            auto map = MakeMap(c.Width, c.Height, 2, 16);
            const std::vector<uint16_t> before = Caves(c.Width, c.Height, seed, c.WallPercent);
            map->GetLayer(1).Data = before;
            // Seeds on corners, edges and inside, on open cells and on walls.
            const int32_t x = static_cast<int32_t>((seed * 7919u) % static_cast<uint32_t>(c.Width));
            const int32_t y =
                static_cast<int32_t>((seed * 104729u) % static_cast<uint32_t>(c.Height));
            const uint16_t value = static_cast<uint16_t>(trial % 2 == 0 ? 9 : 1);
            TModified request = FillRequest(value);
            request.Layer = 1;
            map->FillArea(x, y, request);

            const std::vector<uint16_t> expected =
                ReferenceFill(before, c.Width, c.Height, x, y, value);
            ASSERT_EQ(map->GetLayer(1).Data, expected);
            EXPECT_EQ(map->GetLayer(0).Data, std::vector<uint16_t>(before.size(), 0));
            if (expected == before) {
                EXPECT_EQ(map->ModifyRecords().size(), 1u);
                continue;
            }
            const std::vector<TModifyRecord> &log = map->ModifyRecords();
            ASSERT_EQ(log.size(), 4u);
            EXPECT_EQ(log[0].Kind, mtBegin);
            EXPECT_EQ(log[2].Kind, mtEnd);
            EXPECT_EQ(log[3].Kind, mtEmpty);
            EXPECT_EQ(map->ModifyCursor(), 3);
            const TModifyRecord &record = log[1];
            EXPECT_EQ(record.Kind, mtData);
            EXPECT_EQ(record.Layer, 1);
            EXPECT_EQ(record.StartIndex, 0);
            EXPECT_EQ(record.Width, c.Width);
            EXPECT_EQ(record.Height, c.Height);
            EXPECT_EQ(record.Count, c.Width * c.Height);
            EXPECT_EQ(record.Before, before);
            EXPECT_EQ(record.After, expected);
            TSelection changed;
            map->Undo(changed);
            EXPECT_EQ(map->GetLayer(1).Data, before);
        }
    }
}
