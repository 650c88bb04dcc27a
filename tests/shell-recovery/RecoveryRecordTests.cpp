// The side record beside each recovery copy, read back from whole, cut and damaged texts,
// and the snapshot's reuse of layer copies while a layer's revision stays.
#include "editor/plugins/RecoveryRecord.h"
#include "editor/plugins/RecoverySnapshot.h"
#include "tests/common/PluginTestSupport.h"

#include <gtest/gtest.h>
#include <memory>

namespace
{

TRecoveryRecord OddRecord()
{
    TRecoveryRecord record;
    record.DocumentName = "level \\ one\nsecond line ダンジョン.tzp";
    record.DocumentPath = "/home/me/maps/level \\ one\nsecond line ダンジョン.tzp";
    record.DocumentPlugin = "tzp.so";
    record.ProjectPlugin = 2;
    record.PathMode = 0;
    return record;
}

} // namespace

TEST(RecoveryRecord, ComesBackWholeAndRefusesEveryCutAndDamagedText)
{
    const TRecoveryRecord record = OddRecord();
    const std::string text = FormatRecoveryRecord(record);
    ASSERT_EQ(ParseRecoveryRecord(text), record);
    // Unknown keys are later versions' and are skipped.
    EXPECT_EQ(ParseRecoveryRecord("Tessella recovery 1\ncolour=blue\n" +
                                  text.substr(text.find('\n') + 1)),
              record);
    EXPECT_FALSE(ParseRecoveryRecord(text + "name=after the end\n"));
    // A record cut anywhere is not a record (the name comes before the last line break).
    for (size_t length = 0; length < text.size(); ++length)
        EXPECT_FALSE(ParseRecoveryRecord(text.substr(0, length))) << length;

    const std::string header = "Tessella recovery 1\n";
    for (const std::string &broken : {
             std::string("Tessella recovery 2\nname=a\nend\n"),
             std::string("\xEF\xBB\xBFTessella recovery 1\nname=a\nend\n"),
             header + "end\n",                              // no name
             header + "name=\nend\n",                       // an empty one
             header + "name=a\nno equals sign\nend\n",      // a line that is no pair
             header + "name=a\\\nend\n",                    // an escape cut short
             header + "name=a\\t\nend\n",                   // an unknown escape
             header + "name=a\npath=maps/level.tzp\nend\n", // a relative path
             header + "name=a\nfilter=-1\nend\n",
             header + "name=a\nfilter=256\nend\n",
             header + "name=a\nfilter=1x\nend\n",
             header + "name=a\nfilter=\nend\n",
             header + "name=a\npathmode=2\nend\n",
             header + "name=a\npathmode=99999999999999999999\nend\n",
             header + "name=" + std::string(MaxRecoveryRecordSize, 'x') + "\nend\n",
         })
        EXPECT_FALSE(ParseRecoveryRecord(broken)) << broken.substr(0, 80);

    TTempFolder folder;
    const std::string path = folder.Path("copy.recovery");
    EXPECT_FALSE(ReadRecoveryRecord(path));          // missing
    EXPECT_FALSE(ReadRecoveryRecord(folder.Root())); // a folder
    ASSERT_TRUE(WriteRecoveryRecord(path, record));
    EXPECT_EQ(ReadRecoveryRecord(path), record);
    WriteFileText(path, text.substr(0, text.size() / 2));
    EXPECT_FALSE(ReadRecoveryRecord(path));
    // Nothing but the record is left behind by writing it.
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"copy.recovery"});
}

namespace
{

void Paint(TMap &map, int32_t layer, int32_t x, int32_t y, uint16_t value)
{
    map.BeginModify();
    TModified pen;
    pen.Layer = layer;
    pen.Target.Active = 1;
    pen.Target.X = x;
    pen.Target.Y = y;
    pen.Source.Active = 1;
    pen.Data = {value};
    map.WriteData(pen, 65536);
    map.EndModify();
}

std::unique_ptr<TMap> MapOfLayers(int32_t count)
{
    auto map = std::make_unique<TMap>();
    map->Initialize(40, 30, 16, 16, 16);
    for (int32_t i = 0; i < count; ++i)
        map->AddLayer("layer " + std::to_string(i), nullptr, i);
    return map;
}

} // namespace

// A snapshot copies a layer only when its cells changed since the last one, whatever
// changed them; copies already made are shared, never changed, and always hold what the
// layer held when the snapshot was taken.
TEST(RecoverySnapshot, CopiesOnlyTheLayersThatChangedSinceTheLastSnapshot)
{
    std::unique_ptr<TMap> map = MapOfLayers(4);
    TProjectDocument document([&map] { return map.get(); });
    TRecoverySnapshotTaker taker;
    const TRecoverySnapshot first = taker.Take(document);
    EXPECT_EQ(taker.CopiedLayers(), 4u);

    Paint(*map, 2, 5, 6, 77);
    const TRecoverySnapshot second = taker.Take(document);
    EXPECT_EQ(taker.CopiedLayers(), 1u);
    EXPECT_FALSE(second.SameStateAs(first));
    EXPECT_EQ(second.Layers[0].Cells, first.Layers[0].Cells); // shared, not copied
    EXPECT_EQ((*second.Layers[2].Cells)[6 * 40 + 5], 77);
    EXPECT_EQ((*first.Layers[2].Cells)[6 * 40 + 5], 2); // the earlier copy stays as it was

    // Undo, a transform, a merge: each is a change of the cells it touches.
    TSelection changed;
    map->Undo(changed);
    taker.Take(document);
    EXPECT_EQ(taker.CopiedLayers(), 1u);
    map->ReplaceChip(1, 9, 1);
    TRecoverySnapshot third = taker.Take(document);
    EXPECT_EQ(taker.CopiedLayers(), 1u);
    EXPECT_EQ((*third.Layers[1].Cells)[0], 9);
    // Swapped layers keep their copies, which follow them.
    map->SwapLayers(0, 3);
    third = taker.Take(document);
    EXPECT_EQ(taker.CopiedLayers(), 0u);
    EXPECT_EQ((*third.Layers[0].Cells)[0], 3);
    EXPECT_TRUE(DescribeProject(document).SameStateAs(third));
    map->SetLayerName(1, "renamed");
    EXPECT_FALSE(DescribeProject(document).SameStateAs(third));

    // A map made in the old one's place, maybe at the same address, is copied anew.
    map.reset();
    map = MapOfLayers(4);
    const TRecoverySnapshot fresh = taker.Take(document);
    EXPECT_EQ(taker.CopiedLayers(), 4u);
    for (int32_t i = 0; i < 4; ++i)
        EXPECT_EQ(*fresh.Layers[static_cast<size_t>(i)].Cells, map->GetLayer(i).Data);

    // Copied ahead a layer at a time, with a stroke on a layer already copied between the
    // steps: the snapshot that follows copies nothing more and holds the stroke.
    map.reset();
    map = MapOfLayers(4);
    const size_t layerBytes = static_cast<size_t>(map->CellCount()) * sizeof(uint16_t);
    TRecoverySnapshotTaker stepped;
    EXPECT_FALSE(stepped.CopyAhead(document, layerBytes));
    Paint(*map, 0, 1, 1, 55);
    EXPECT_FALSE(stepped.CopyAhead(document, layerBytes)); // layer 0 again, after the stroke
    EXPECT_FALSE(stepped.CopyAhead(document, layerBytes));
    EXPECT_FALSE(stepped.CopyAhead(document, layerBytes));
    EXPECT_TRUE(stepped.CopyAhead(document, layerBytes));
    const TRecoverySnapshot ahead = stepped.Take(document);
    EXPECT_EQ(stepped.CopiedLayers(), 0u);
    EXPECT_EQ((*ahead.Layers[0].Cells)[1 * 40 + 1], 55);
    for (int32_t i = 0; i < 4; ++i)
        EXPECT_EQ(*ahead.Layers[static_cast<size_t>(i)].Cells, map->GetLayer(i).Data);
}
