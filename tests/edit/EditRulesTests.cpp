// The window-free editing rules: selection arithmetic, and lifting and putting down blocks
// on a map with its log.
#include "editor/edit/ChangedCells.h"
#include "editor/edit/CopyDump.h"
#include "editor/edit/FloatingBlocks.h"
#include "editor/edit/SelectionRules.h"
#include "tests/map/MapTestSupport.h"

#include <gtest/gtest.h>

TEST(SelectionRules, NormaliseClipValidateAndPlace)
{
    // Dragged from (5, 5) to (2, 3).
    TSelection dragged{1, 5, 5, -3, -2, 0};
    FixSelection(dragged, 10);
    EXPECT_EQ((std::vector<int32_t>{dragged.X, dragged.Y, dragged.DX, dragged.DY, dragged.Index}),
              (std::vector<int32_t>{2, 3, 3, 2, 32}));

    TSelection wide{1, 8, 0, 2, 0, 8};
    ClipSelection(wide, 10, 10);
    EXPECT_EQ(wide.DX, 1);
    TSelection fits{1, 8, 0, 1, 0, 8};
    ClipSelection(fits, 10, 10);
    EXPECT_EQ(fits.DX, 1);
    TSelection left{1, -2, -1, 4, 3, 0};
    ClipSelection(left, 10, 10);
    EXPECT_EQ((std::vector<int32_t>{left.X, left.Y, left.DX, left.DY}),
              (std::vector<int32_t>{0, 0, 2, 2}));

    EXPECT_FALSE(IsFailedSelection({1, 9, 9, 9, 9, 99}, 10, 10)); // X + DX is not tested
    EXPECT_FALSE(LiesInsideMap({1, 9, 9, 9, 9, 99}, 10, 10));
    EXPECT_TRUE(IsFailedSelection({0, 1, 1, 0, 0, 11}, 10, 10));
    EXPECT_TRUE(IsFailedSelection({1, 1, 1, 0, 0, 100}, 10, 10));

    // A 5 × 3 block pasted into a 100 × 100 map that fits the view lands at (47, 48).
    EXPECT_EQ(PasteOrigin(100, 3200, 32, 0, 4), 47);
    EXPECT_EQ(PasteOrigin(100, 3200, 32, 0, 2), 48);
    // Wider than the view: the middle of what is shown.
    EXPECT_EQ(PasteOrigin(100, 640, 32, 30, 4), 10 + 30 - 2);

    // A find result at cell 0 is passed over by the next find; a selection there is not.
    EXPECT_EQ(FindStartIndex({1, 0, 0, 0, 0, 0}, true), 1);
    EXPECT_EQ(FindStartIndex({1, 0, 0, 3, 3, 0}, false), 0);
    EXPECT_EQ(FindStartIndex({1, 4, 0, 0, 0, 4}, false), 5);
    EXPECT_EQ(FindStartIndex({0, 4, 0, 0, 0, 4}, true), 0);
}

TEST(FloatingBlocks, LiftMoveAndPutDownIsOneStepThatUndoesWhole)
{
    auto map = MakeMap(10, 8, 3);
    for (int32_t layer = 0; layer < 3; ++layer)
        FillWithIndices(*map, layer);
    const std::vector<uint16_t> original = map->GetLayer(2).Data;
    // Layers 1 and 2 lifted: the first block is not layer 0, and each keeps its own pitch.
    TLiftRequest lift;
    lift.Selection = {1, 1, 1, 2, 1, 11};
    lift.Layers = {1, 2};
    lift.ClearValue = 7;
    ASSERT_TRUE(map->BeginModify());
    std::vector<TModified> blocks = LiftBlocks(*map, lift);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].Data, (std::vector<uint16_t>{11, 12, 13, 21, 22, 23}));
    EXPECT_EQ(Cell(*map, 2, 2, 2), 7);
    EXPECT_EQ(Cell(*map, 0, 2, 2), 22);

    // Put down partly past the right edge: cut there, the rest in place.
    const TSelection written = PutBlocksDown(*map, blocks, {1, 8, 5, 2, 1, 58}, 256);
    EXPECT_EQ((std::vector<int32_t>{written.X, written.Y, written.DX, written.DY}),
              (std::vector<int32_t>{8, 5, 1, 1}));
    EXPECT_EQ(Cell(*map, 2, 9, 5), 12);
    EXPECT_EQ(Cell(*map, 1, 8, 6), 21);
    EXPECT_EQ(Cell(*map, 2, 0, 6), 60); // nothing wrapped into the next row
    EXPECT_FALSE(PutBlocksDown(*map, blocks, {1, 3, 3, 2, 1, 33}, 256).Active); // once only
    ASSERT_TRUE(map->EndModify());

    TSelection changed;
    map->Undo(changed);
    EXPECT_EQ(map->GetLayer(2).Data, original);
    EXPECT_FALSE(map->CanUndo());

    // A block wholly off the map writes nothing.
    std::vector<TModified> copy = LiftBlocks(*map, {lift.Selection, {0}, true, 0, 256});
    EXPECT_FALSE(PutBlocksDown(*map, copy, {1, -5, 2, 2, 1, 0}, 256).Active);
    EXPECT_EQ(map->ModifyCursor(), 0);
}

TEST(CopyDump, ListsTheBlockAsTheDumpReadersExpect)
{
    TModified block;
    block.Layer = 2;
    block.Source = {1, 1, 2, 1, 0, 0};
    block.Target = {1, 4, 5, 1, 0, 0};
    block.SrcPitch = 1;
    block.Data = {7, 300};
    const std::string text = FormatCopyDump(block);
    EXPECT_NE(text.find("copy layer=2\r\n\r\nSrc"), std::string::npos);
    EXPECT_NE(text.find("(1, 2)-(2, 2)\r\nDst"), std::string::npos);
    EXPECT_NE(text.find("(4, 5)-(5, 5)\r\nsrcPitch:1\r\n7,300,\r\n[EOF]\r\n"), std::string::npos);
}

TEST(ChangedCells, BoundsTheChangesOfAWholeLayerRecordWithinAWindow)
{
    auto map = MakeMap(10, 8);
    // A 4-neighbour fill of the zeros inside a ring of 9s at (2..5, 2..5).
    for (int32_t i = 2; i <= 5; ++i)
        for (int32_t j : {2, 5}) {
            map->GetLayer(0).Data[static_cast<size_t>(j * 10 + i)] = 9;
            map->GetLayer(0).Data[static_cast<size_t>(i * 10 + j)] = 9;
        }
    TModified fill;
    fill.Source.Active = 1;
    fill.Data = {4};
    map->FillArea(3, 3, fill);
    const TModifyRecord &record = map->ModifyRecords()[1];
    const TSelection all = ChangedCells(record, 10, {1, 0, 0, 9, 7, 0});
    EXPECT_EQ((std::vector<int32_t>{all.X, all.Y, all.DX, all.DY}),
              (std::vector<int32_t>{3, 3, 1, 1}));
    const TSelection part = ChangedCells(record, 10, {1, 4, 0, 5, 7, 4});
    EXPECT_EQ((std::vector<int32_t>{part.X, part.Y, part.DX, part.DY}),
              (std::vector<int32_t>{4, 3, 0, 1}));
    EXPECT_FALSE(ChangedCells(record, 10, {1, 6, 0, 3, 7, 6}).Active);
}
