#include "common/ImportedRecord.h"
#include "tests/common/PluginTestSupport.h"

#include <gtest/gtest.h>

// Leaks here show up under the leak check that runs these tests.
TEST(ImportedRecord, FailureFreesEverythingAndNullsThePointers)
{
    PluginMapRecord record{};
    record.LayerCount = 3;
    {
        TImportedRecord owned(&record);
        ASSERT_TRUE(owned.AllocateLayers(3));
        owned.Layer(0).Name = TImportedRecord::CopyText("ab", 2);
        owned.Layer(1).Cells = static_cast<uint16_t *>(TessellaAlloc(64));
        owned.Layer(2).PartsImage = TImportedRecord::CopyText("", 0);
        owned.AdoptComment(TImportedRecord::CopyText("first", 5));
        owned.AdoptComment(TImportedRecord::CopyText("second", 6)); // frees the first
        owned.AdoptHidden(static_cast<uint8_t *>(TessellaAlloc(10)), 10);
        EXPECT_STREQ(record.Comment, "second");
        EXPECT_EQ(record.HiddenSize, 10u);
    }
    EXPECT_TRUE(RecordOwnsNothing(record));
    EXPECT_EQ(record.HiddenSize, 0u);
}

TEST(ImportedRecord, CommitHandsEverythingToTheHost)
{
    PluginMapRecord record{};
    record.LayerCount = 1;
    {
        TImportedRecord owned(&record);
        ASSERT_TRUE(owned.AllocateLayers(1));
        owned.Layer(0).Name = TImportedRecord::CopyText("name", 4);
        owned.AdoptComment(TImportedRecord::CopyText("c", 1));
        owned.Commit();
    }
    ASSERT_NE(record.Layers, nullptr);
    EXPECT_STREQ(record.Layers[0].Name, "name");
    EXPECT_STREQ(record.Comment, "c");
    FreeImportedRecord(record);
}

TEST(ImportedRecord, LeavesPointersItDidNotAllocateAlone)
{
    char hostComment[] = "host";
    PluginMapRecord record{};
    record.Comment = hostComment;
    {
        TImportedRecord owned(&record);
        ASSERT_TRUE(owned.AllocateLayers(0));
    }
    EXPECT_EQ(record.Comment, hostComment);
    EXPECT_EQ(record.Layers, nullptr);
}
