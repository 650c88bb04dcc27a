#include "MapTestSupport.h"
#include "tests/support/ScriptedDialogSeam.h"

#include <gtest/gtest.h>

namespace
{

const TModifyRecord &LastRecord(const TMap &map)
{
    return map.ModifyRecords()[static_cast<size_t>(map.ModifyCursor() - 1)];
}

} // namespace

TEST(WriteData, BlockIsCutAtTheRightEdgeAndRecordsTheWrittenSize)
{
    auto map = MakeMap(10, 10);
    TModified pen = Block(0, 8, 5, 3, 2, {1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(map->WriteData(pen, 256));
    EXPECT_EQ(Cell(*map, 0, 8, 5), 1);
    EXPECT_EQ(Cell(*map, 0, 9, 5), 2);
    EXPECT_EQ(Cell(*map, 0, 8, 6), 4);
    EXPECT_EQ(Cell(*map, 0, 9, 6), 5);
    EXPECT_EQ(Cell(*map, 0, 0, 6), 0); // nothing wrapped into the next row
    EXPECT_EQ(Cell(*map, 0, 0, 7), 0);
    const TModifyRecord &record = LastRecord(*map);
    EXPECT_EQ(record.Kind, mtData);
    EXPECT_EQ(record.Width, 2);
    EXPECT_EQ(record.Height, 2);
    EXPECT_EQ(record.StartIndex, 58);
}

TEST(WriteData, BlockIsCutAtTheBottomEdge)
{
    auto map = MakeMap(4, 4);
    TModified pen = Block(0, 1, 3, 2, 2, {1, 2, 3, 4});
    ASSERT_TRUE(map->WriteData(pen, 256));
    EXPECT_EQ(Cell(*map, 0, 1, 3), 1);
    EXPECT_EQ(Cell(*map, 0, 2, 3), 2);
    EXPECT_EQ(LastRecord(*map).Height, 1);
    std::vector<uint16_t> expected(16, 0);
    expected[13] = 1;
    expected[14] = 2;
    EXPECT_EQ(map->GetLayer(0).Data, expected);
}

TEST(WriteData, BlockStartingLeftAndAboveIsShifted)
{
    auto map = MakeMap(4, 4);
    // 3 × 3 block at (-1, -2): only its bottom row right of column 0 lands.
    TModified pen = Block(0, -1, -2, 3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    ASSERT_TRUE(map->WriteData(pen, 256));
    EXPECT_EQ(pen.Target.X, 0);
    EXPECT_EQ(pen.Target.Y, 0);
    EXPECT_EQ(pen.Data, (std::vector<uint16_t>{8, 9}));
    EXPECT_EQ(Cell(*map, 0, 0, 0), 8);
    EXPECT_EQ(Cell(*map, 0, 1, 0), 9);
    EXPECT_EQ(Cell(*map, 0, 2, 0), 0);
    EXPECT_EQ(Cell(*map, 0, 0, 1), 0);
}

TEST(WriteData, ClipToMapOnTheLeftKeepsEveryRowAligned)
{
    auto map = MakeMap(4, 4);
    TModified pen = Block(0, -2, 1, 3, 2, {1, 2, 3, 4, 5, 6});
    map->ClipToMap(pen);
    EXPECT_EQ(pen.Data, (std::vector<uint16_t>{3, 6}));
    EXPECT_EQ(pen.Source.X, 2);
    EXPECT_EQ(pen.Source.DX, 0);
    EXPECT_EQ(pen.SrcPitch, 0);
    EXPECT_EQ(pen.Target.Index, 4);
}

TEST(WriteData, ValuesAtOrAboveTheLimitAreSkippedCellByCell)
{
    auto map = MakeMap(3, 1);
    map->GetLayer(0).Data = {7, 7, 7};
    TModified pen = Block(0, 0, 0, 3, 1, {1, 300, 2});
    ASSERT_TRUE(map->WriteData(pen, 256));
    EXPECT_EQ(map->GetLayer(0).Data, (std::vector<uint16_t>{1, 7, 2}));
    TModified wide = Block(0, 0, 0, 3, 1, {1, 300, 2});
    ASSERT_TRUE(map->WriteData(wide, 65536));
    EXPECT_EQ(map->GetLayer(0).Data, (std::vector<uint16_t>{1, 300, 2}));
}

TEST(WriteData, RefusesInactiveTargetsEmptyDataAndMissingLayers)
{
    TScopedDialogSeam seam;
    auto map = MakeMap(3, 3);
    TModified inactive = Single(0, 0, 0, 1);
    inactive.Target.Active = 0;
    EXPECT_FALSE(map->WriteData(inactive, 256));
    TModified empty = Single(0, 0, 0, 1);
    empty.Data.clear();
    EXPECT_FALSE(map->WriteData(empty, 256));
    EXPECT_TRUE(seam->Messages.empty());
    TModified missing = Single(3, 0, 0, 1);
    EXPECT_FALSE(map->WriteData(missing, 256));
    EXPECT_EQ(seam->MessageTexts(), std::vector<std::string>{"not found layer(layer:3)"});
    EXPECT_EQ(map->ModifyRecords().size(), 1u);
}

TEST(WriteData, ShortDataStopsWithABeepAfterTheCellsWritten)
{
    TScopedDialogSeam seam;
    auto map = MakeMap(3, 3);
    TModified pen = Block(0, 0, 0, 2, 2, {1, 2, 3}); // claims 4 values, holds 3
    ASSERT_TRUE(map->WriteData(pen, 256));
    EXPECT_EQ(seam->Beeps, 1);
    EXPECT_EQ(Cell(*map, 0, 0, 0), 1);
    EXPECT_EQ(Cell(*map, 0, 1, 0), 2);
    EXPECT_EQ(Cell(*map, 0, 0, 1), 3);
    EXPECT_EQ(Cell(*map, 0, 1, 1), 0);
}

TEST(WriteData, TargetRightOfTheMapWritesNothing)
{
    auto map = MakeMap(3, 3);
    TModified pen = Block(0, 5, 0, 2, 2, {1, 2, 3, 4});
    map->WriteData(pen, 256);
    EXPECT_EQ(map->GetLayer(0).Data, std::vector<uint16_t>(9, 0));
    EXPECT_EQ(LastRecord(*map).Width, 0);
}

TEST(WriteTiledData, TilesRestartAtTheFirstValueAndAreCutAtTheTargetEdge)
{
    auto map = MakeMap(8, 5);
    TModified tile = Block(0, 0, 0, 2, 2, {1, 2, 3, 4});
    tile.Target.DX = 4; // 5 × 3 target
    tile.Target.DY = 2;
    ASSERT_TRUE(map->WriteTiledData(tile, 256));
    const std::vector<std::vector<uint16_t>> expected = {
        {1, 2, 1, 2, 1, 0, 0, 0},
        {3, 4, 3, 4, 3, 0, 0, 0},
        {1, 2, 1, 2, 1, 0, 0, 0},
        {0, 0, 0, 0, 0, 0, 0, 0},
    };
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 8; ++x)
            EXPECT_EQ(Cell(*map, 0, x, y), expected[y][x]) << x << "," << y;
    const TModifyRecord &record = LastRecord(*map);
    EXPECT_EQ(record.Width, 5);
    EXPECT_EQ(record.Height, 3);
}

TEST(WriteTiledData, OneValueFillsTheRectangleAndUndoes)
{
    auto map = MakeMap(6, 6);
    map->BeginModify();
    TModified fill = Block(0, 1, 2, 1, 1, {9});
    fill.Target.DX = 3;
    fill.Target.DY = 1;
    ASSERT_TRUE(map->WriteTiledData(fill, 256));
    map->EndModify();
    int filled = 0;
    for (uint16_t v : map->GetLayer(0).Data)
        filled += v == 9;
    EXPECT_EQ(filled, 8);
    EXPECT_EQ(Cell(*map, 0, 4, 3), 9);
    TSelection changed;
    map->Undo(changed);
    EXPECT_EQ(map->GetLayer(0).Data, std::vector<uint16_t>(36, 0));
    EXPECT_EQ(changed.X, 1);
    EXPECT_EQ(changed.DX, 3);
    EXPECT_EQ(changed.DY, 1);
}

TEST(WriteTiledData, RefusesAnInactiveTarget)
{
    auto map = MakeMap(3, 3);
    TModified tile = Single(0, 0, 0, 1);
    tile.Target.Active = 0;
    EXPECT_FALSE(map->WriteTiledData(tile, 256));
}
