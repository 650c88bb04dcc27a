// Version recognition and the small format helpers, tested on the plug-in's own code.
#include "tests/plugin-project/ProjectFiles.h"

#include "plugins/project/BmpWidth.h"
#include "plugins/project/ProjectVersion.h"

#include <gtest/gtest.h>

namespace
{

int VersionOf(const std::vector<uint8_t> &bytes)
{
    TTempFolder folder;
    WriteFileBytes(folder.Path("f.tzp"), bytes);
    return RecogniseProjectVersion(folder.Path("f.tzp").c_str());
}

TBytes OldLayerChunks(const char *id)
{
    TBytes chunks;
    chunks.Chunk(id, TBytes().Text("odd"), false);
    chunks.Chunk(id, TBytes().Text("x"), false);
    return chunks;
}

} // namespace

TEST(ProjectVersion, RecognisesEveryLayout)
{
    EXPECT_EQ(VersionOf(SampleVersion1File()), 1);
    EXPECT_EQ(VersionOf(SampleVersion2File("t.bmp", {0, 0, 0, 0, 0, 0})), 2);
    EXPECT_EQ(VersionOf(SampleVersion3File()), 3);
    EXPECT_EQ(VersionOf(SampleVersion4File()), 4);
}

TEST(ProjectVersion, PlaceholderHeaderDecidesBetweenOldLayoutsAndVersion3)
{
    TBytes old;
    old.Chunk("UMFh", MapHeaderBytes(1, 1, 16, 16, 2, 0, 0, 0, true), false);
    old.Raw(OldLayerChunks("LAY1").Data);
    EXPECT_EQ(VersionOf(ProjectFile(old)), 2);

    TBytes plain;
    plain.Chunk("UMFh", MapHeaderBytes(1, 1, 16, 16, 2, 16, 0, 0));
    plain.Raw(OldLayerChunks("LAY1").Data);
    EXPECT_EQ(VersionOf(ProjectFile(plain)), 3);

    // After the placeholder header the last old layer chunk wins; sizes are followed
    // without pad bytes, so the odd-sized chunk does not hide the next one.
    TBytes mixed;
    mixed.Chunk("UMFh", MapHeaderBytes(1, 1, 16, 16, 2, 0, 0, 0, true), false);
    mixed.Raw(OldLayerChunks("LAY1").Data).Raw(OldLayerChunks("LAY0").Data);
    EXPECT_EQ(VersionOf(ProjectFile(mixed)), 1);
}

TEST(ProjectVersion, ListsOnlyMeanVersion4)
{
    TBytes chunks;
    chunks.Chunk("UMFh", MapHeaderBytes(1, 1, 16, 16, 1, 16, 0, 0));
    chunks.Chunk("Ver_", TBytes().U8(1).U8(6).U8(1).U8(0x66));
    chunks.List("LIST", "LAY_", TBytes().Chunk("LDAT", TBytes().U16(0)));
    chunks.List("LIST", "ANY_", TBytes());
    EXPECT_EQ(VersionOf(ProjectFile(chunks)), 4);
    EXPECT_EQ(VersionOf(ProjectFile(TBytes())), 4); // nothing at all after the form type
}

TEST(ProjectVersion, OtherFilesAreNotProjectFiles)
{
    TBytes wave;
    wave.Id("RIFF").U32(4).Id("WAVE");
    EXPECT_EQ(VersionOf(wave.Data), 0);
    EXPECT_EQ(VersionOf({'R', 'I', 'F', 'F', 0, 0, 0, 0, 'U', 'M', 'F'}), 0);
    EXPECT_EQ(VersionOf({}), 0);

    // A header or version chunk that cannot be read in full.
    TBytes cut;
    cut.Id("UMFh").U32(20).U32(1);
    EXPECT_EQ(VersionOf(ProjectFile(cut)), 0);
    TBytes version;
    version.Id("Ver_").U32(4).U8(1);
    EXPECT_EQ(VersionOf(ProjectFile(version)), 0);
}

TEST(ProjectVersion, FileThatCannotBeOpenedCountsAsVersion1)
{
    EXPECT_EQ(RecogniseProjectVersion("/nonexistent/folder/map.tzp"), 1);
}

TEST(BmpWidth, ReadsTheWidthOfInfoAndCoreHeaders)
{
    uint32_t width = 0;
    const std::vector<uint8_t> info = BmpFile(123, 4);
    ASSERT_TRUE(ParseBmpWidth(info.data(), info.size(), info.size(), width));
    EXPECT_EQ(width, 123u);

    TBytes core;
    core.Text("BM").U32(26 + 4).U32(0).U32(26).U32(12).U16(7).U16(1).U16(1).U16(24).U32(0);
    ASSERT_TRUE(ParseBmpWidth(core.Data.data(), core.Size(), core.Size(), width));
    EXPECT_EQ(width, 7u);
}

TEST(BmpWidth, RefusesWhatIsNotABitmap)
{
    uint32_t width = 0;
    std::vector<uint8_t> bmp = BmpFile(16, 16);
    std::vector<uint8_t> bad = bmp;
    bad[0] = 'X';
    EXPECT_FALSE(ParseBmpWidth(bad.data(), bad.size(), bad.size(), width));
    bad = bmp;
    bad[18] = 0; // width 0
    EXPECT_FALSE(ParseBmpWidth(bad.data(), bad.size(), bad.size(), width));
    bad = bmp;
    bad[21] = 0x80; // negative width
    EXPECT_FALSE(ParseBmpWidth(bad.data(), bad.size(), bad.size(), width));
    bad = bmp;
    bad[28] = 3; // 3 bits per pixel
    EXPECT_FALSE(ParseBmpWidth(bad.data(), bad.size(), bad.size(), width));
    EXPECT_FALSE(ParseBmpWidth(bmp.data(), 10, bmp.size(), width));
    EXPECT_FALSE(ParseBmpWidth(bmp.data(), bmp.size(), 40, width)); // pixels past the end
    EXPECT_FALSE(ReadBmpWidth("/nonexistent.bmp", width));
}
