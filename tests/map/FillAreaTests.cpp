#include "MapTestSupport.h"

#include <gtest/gtest.h>

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
