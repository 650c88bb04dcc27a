#include "MapTestSupport.h"
#include "tests/support/ScriptedDialogSeam.h"

#include <gtest/gtest.h>

namespace
{

std::vector<TModifyType> Kinds(const TMap &map)
{
    std::vector<TModifyType> kinds;
    for (const TModifyRecord &record : map.ModifyRecords())
        kinds.push_back(record.Kind);
    return kinds;
}

// One undo step writing each value at its own cell of row 0.
void Stroke(TMap &map, const std::vector<std::pair<int32_t, uint16_t>> &cells)
{
    map.BeginModify();
    for (auto [x, value] : cells) {
        TModified pen = Single(0, x, 0, value);
        map.WriteData(pen, 256);
    }
    map.EndModify();
}

} // namespace

TEST(ModifyLogGroups, EmptyGroupVanishesWithOneBeep)
{
    TScopedDialogSeam seam;
    auto map = MakeMap(4, 4);
    ASSERT_TRUE(map->BeginModify());
    EXPECT_TRUE(map->InModify());
    EXPECT_FALSE(map->EndModify());
    EXPECT_EQ(seam->Beeps, 1);
    EXPECT_EQ(map->ModifyRecords().size(), 1u);
    EXPECT_EQ(map->ModifyCursor(), 0);
    EXPECT_EQ(Kinds(*map), std::vector<TModifyType>{mtEmpty});
    EXPECT_FALSE(map->CanUndo());
}

TEST(ModifyLogGroups, RefusalsBeepAndKeepTheLogConsistent)
{
    TScopedDialogSeam seam;
    auto map = MakeMap(4, 4);
    EXPECT_FALSE(map->EndModify()); // nothing open
    EXPECT_EQ(seam->Beeps, 1);
    ASSERT_TRUE(map->BeginModify());
    EXPECT_FALSE(map->BeginModify()); // the open group is still empty
    EXPECT_EQ(seam->Beeps, 2);
    TModified pen = Single(0, 1, 1, 5);
    map->WriteData(pen, 256);
    EXPECT_TRUE(map->EndModify());
    EXPECT_FALSE(map->InModify());
    EXPECT_FALSE(map->EndModify()); // the second close of a row
    EXPECT_EQ(seam->Beeps, 3);
    EXPECT_EQ(Kinds(*map), (std::vector<TModifyType>{mtBegin, mtData, mtEnd, mtEmpty}));
    EXPECT_EQ(map->ModifyCursor(), 3);
}

TEST(ModifyLogUndo, StrokeOf50CellsIsOneStepWithTheUnionRectangle)
{
    auto map = MakeMap(60, 10);
    map->BeginModify();
    for (int32_t i = 0; i < 50; ++i) {
        TModified pen = Single(0, 5 + i, 2 + i % 3, static_cast<uint16_t>(1 + i % 200));
        map->WriteData(pen, 256);
    }
    map->EndModify();

    TSelection changed;
    map->Undo(changed);
    EXPECT_EQ(map->GetLayer(0).Data, std::vector<uint16_t>(600, 0));
    ASSERT_TRUE(changed.Active);
    EXPECT_EQ(changed.X, 5);
    EXPECT_EQ(changed.Y, 2);
    EXPECT_EQ(changed.DX, 49);
    EXPECT_EQ(changed.DY, 2);
    EXPECT_EQ(changed.Index, 2 * 60 + 5);
    EXPECT_EQ(map->ModifyCursor(), 0);
    EXPECT_TRUE(map->CanRedo());
    EXPECT_FALSE(map->CanUndo());

    map->Redo(changed);
    ASSERT_TRUE(changed.Active);
    EXPECT_EQ(changed.DX, 49);
    EXPECT_EQ(Cell(*map, 0, 54, 2 + 49 % 3), 50);
    EXPECT_EQ(map->ModifyCursor(), static_cast<int32_t>(map->ModifyRecords().size()) - 1);
    EXPECT_EQ(map->ModifyRecords().back().Kind, mtEmpty);
    EXPECT_FALSE(map->CanRedo());
}

TEST(ModifyLogUndo, OverlappingWritesRestoreTheOldestValue)
{
    auto map = MakeMap(4, 1);
    map->GetLayer(0).Data = {9, 9, 9, 9};
    Stroke(*map, {{1, 3}, {1, 4}, {1, 5}});
    EXPECT_EQ(Cell(*map, 0, 1, 0), 5);
    TSelection changed;
    map->Undo(changed);
    EXPECT_EQ(Cell(*map, 0, 1, 0), 9);
    map->Redo(changed);
    EXPECT_EQ(Cell(*map, 0, 1, 0), 5); // oldest first on redo: the last write wins
}

TEST(ModifyLogUndo, GroupsReplayOneAtATimeInOrder)
{
    auto map = MakeMap(4, 1);
    Stroke(*map, {{0, 1}});
    Stroke(*map, {{1, 2}});
    Stroke(*map, {{2, 3}});
    TSelection changed;
    map->Undo(changed);
    map->Undo(changed);
    EXPECT_EQ(map->GetLayer(0).Data, (std::vector<uint16_t>{1, 0, 0, 0}));
    map->Redo(changed);
    EXPECT_EQ(map->GetLayer(0).Data, (std::vector<uint16_t>{1, 2, 0, 0}));
    EXPECT_TRUE(map->CanRedo());
    map->Redo(changed);
    EXPECT_EQ(map->GetLayer(0).Data, (std::vector<uint16_t>{1, 2, 3, 0}));
    map->Redo(changed);
    EXPECT_FALSE(changed.Active);
}

TEST(ModifyLogUndo, NewWriteAfterUndoDiscardsTheRedoTail)
{
    auto map = MakeMap(4, 1);
    Stroke(*map, {{0, 1}});
    Stroke(*map, {{1, 2}});
    Stroke(*map, {{2, 3}});
    TSelection changed;
    map->Undo(changed);
    map->Undo(changed);
    Stroke(*map, {{3, 7}});
    EXPECT_FALSE(map->CanRedo());
    EXPECT_EQ(static_cast<int32_t>(map->ModifyRecords().size()), map->ModifyCursor() + 1);
    EXPECT_EQ(map->GetLayer(0).Data, (std::vector<uint16_t>{1, 0, 0, 7}));
    map->Undo(changed);
    map->Undo(changed);
    EXPECT_EQ(map->GetLayer(0).Data, (std::vector<uint16_t>{0, 0, 0, 0}));
    EXPECT_FALSE(map->CanUndo());
}

TEST(ModifyLogUndo, RecordsOfDeletedLayersAreSkippedButCounted)
{
    auto map = MakeMap(4, 2, 2);
    map->BeginModify();
    TModified pen = Single(1, 2, 1, 6);
    map->WriteData(pen, 256);
    map->EndModify();
    map->DeleteLayer(1);
    TSelection changed;
    map->Undo(changed);
    EXPECT_TRUE(changed.Active);
    EXPECT_EQ(changed.X, 2);
    EXPECT_EQ(changed.Y, 1);
    EXPECT_EQ(map->GetLayer(0).Data, std::vector<uint16_t>(8, 0));
}

TEST(ModifyLogUndo, RecordsMadeBeforeTheMapShrankNeverWriteOutsideIt)
{
    auto map = MakeMap(10, 10);
    map->BeginModify();
    TModified pen = Block(0, 7, 7, 3, 3, std::vector<uint16_t>(9, 4));
    map->WriteData(pen, 256);
    map->EndModify();
    map->ResizeMap(4, 4, nullptr, 0, 1, 3);
    TSelection changed;
    map->Undo(changed);
    map->Redo(changed);
    EXPECT_EQ(map->GetLayer(0).Data.size(), 16u);
}

TEST(ModifyLogUndo, UndoWhileAGroupIsOpenIsLeftToTheCommandToClose)
{
    auto map = MakeMap(4, 1);
    map->BeginModify();
    TModified pen = Single(0, 0, 0, 3);
    map->WriteData(pen, 256);
    EXPECT_TRUE(map->CanUndo());
    map->EndModify(); // what the Undo command does first
    TSelection changed;
    map->Undo(changed);
    EXPECT_EQ(Cell(*map, 0, 0, 0), 0);
}

TEST(ModifyLogUndo, RedoOfAGroupLeftOpenStaysInsideTheLog)
{
    auto map = MakeMap(4, 1);
    map->BeginModify();
    TModified pen = Single(0, 0, 0, 3);
    map->WriteData(pen, 256);
    TSelection changed;
    map->Undo(changed); // group still open: lands on its begin marker
    ASSERT_TRUE(map->CanRedo());
    map->Redo(changed);
    EXPECT_LT(map->ModifyCursor(), static_cast<int32_t>(map->ModifyRecords().size()));
    EXPECT_EQ(Cell(*map, 0, 0, 0), 3);
}

TEST(ModifyLogFlush, LeavesOneEmptyRecord)
{
    auto map = MakeMap(4, 1);
    Stroke(*map, {{0, 1}});
    map->FlushModify();
    EXPECT_EQ(map->ModifyRecords().size(), 1u);
    EXPECT_EQ(map->ModifyCursor(), 0);
    EXPECT_FALSE(map->CanUndo());
    EXPECT_FALSE(map->CanRedo());
}
