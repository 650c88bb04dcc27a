// The readers of every layout, fed files written byte by byte.
#include "tests/plugin-project/ProjectFiles.h"
#include "tests/plugin-project/ProjectTestSupport.h"

#include "plugins/project/LinearPartNumbers.h"

#include <cstring>
#include <sys/stat.h>

TEST_F(ProjectPluginTest, ReadsVersion1)
{
    ASSERT_EQ(ImportBytes(SampleVersion1File()), 0);
    EXPECT_EQ(Imported.Width, 3u);
    EXPECT_EQ(Imported.Height, 2u);
    EXPECT_EQ(Imported.LayerCount, 2);
    EXPECT_EQ(Imported.BitCount, 8);     // 8 x bytes per cell
    EXPECT_EQ(Imported.PathMode, 1);     // from the last layer
    EXPECT_EQ(Imported.AlignFlags, 255); // passed on as stored
    EXPECT_EQ(Imported.TransEnabled, 1);
    EXPECT_EQ(Imported.TransColor, 0x00FF00FFu);
    EXPECT_EQ(Imported.UseInvisiblePart, 1);
    EXPECT_EQ(Imported.InvisiblePart, 9);
    EXPECT_EQ(Imported.InvisibleReserved, 255);
    EXPECT_EQ(TextOrNull(Imported.Comment), "old");
    EXPECT_EQ(TextOrNull(Imported.Layers[0].Name), "ground");
    EXPECT_EQ(TextOrNull(Imported.Layers[1].Name), "top");
    EXPECT_EQ(TextOrNull(Imported.Layers[1].PartsImage), "chips.bmp");
    EXPECT_EQ(Imported.Layers[0].Visible, 1);
    EXPECT_EQ(Imported.Layers[1].Visible, 1);
    EXPECT_EQ(LayerCells(Imported, 0), (std::vector<uint16_t>{200, 201, 202, 203, 204, 205}));
    EXPECT_EQ(LayerCells(Imported, 1), (std::vector<uint16_t>{210, 211, 212, 213, 214, 215}));
}

TEST_F(ProjectPluginTest, ReadsVersion2AndRenumbersItsCellsToFixedSlots)
{
    // Parts are 16 pixels wide: an image of 160 pixels holds 10 parts per row.
    WriteFileBytes(Folder.Path(SampleImageName), BmpFile(160, 16));
    TCurrentDirectoryScope inFolder(Folder.Root());
    ASSERT_EQ(ImportBytes(SampleVersion2File(SampleImageName, {37, 0, 9, 10, 19, 99})), 0);
    EXPECT_EQ(LayerCells(Imported, 0), (std::vector<uint16_t>{55, 0, 9, 16, 25, 153}));
    EXPECT_EQ(Imported.BitCount, 8);
    EXPECT_EQ(Imported.PathMode, 1);
    EXPECT_EQ(Imported.AlignFlags, 0);   // the cells are in fixed numbering now
    EXPECT_EQ(Imported.TransEnabled, 1); // low byte of the stored flag
    EXPECT_EQ(Imported.TransColor, 0x00123456u);
    EXPECT_EQ(Imported.InvisiblePart, 5);
    EXPECT_EQ(Imported.InvisibleReserved, 255);
    EXPECT_EQ(TextOrNull(Imported.Comment), "v2 comment");
    EXPECT_EQ(TextOrNull(Imported.Layers[0].Name), "layer0");
    EXPECT_EQ(TextOrNull(Imported.Layers[0].PartsImage), SampleImageName);
    EXPECT_EQ(Imported.Layers[0].Visible, 1);
    EXPECT_TRUE(Window.Questions.empty());
}

TEST_F(ProjectPluginTest, Version2ImagesWiderThanTheSlotsKeepTheirNumbers)
{
    WriteFileBytes(Folder.Path(SampleImageName), BmpFile(320, 16)); // 20 parts per row
    TCurrentDirectoryScope inFolder(Folder.Root());
    ASSERT_EQ(ImportBytes(SampleVersion2File(SampleImageName, {37, 1, 2, 3, 4, 5})), 0);
    EXPECT_EQ(LayerCells(Imported, 0)[0], 37); // 37 mod 16 + 2 x 16
}

TEST_F(ProjectPluginTest, Version2SixteenBitCellsUseRowsOf256Slots)
{
    WriteFileBytes(Folder.Path(SampleImageName), BmpFile(160, 16));
    TCurrentDirectoryScope inFolder(Folder.Root());
    ASSERT_EQ(ImportBytes(SampleVersion2File(SampleImageName, {37, 10, 0, 0, 0, 0}, 16)), 0);
    EXPECT_EQ(LayerCells(Imported, 0)[0], 7 + 3 * 256);
    EXPECT_EQ(LayerCells(Imported, 0)[1], 256);
    EXPECT_EQ(Imported.BitCount, 16);
}

TEST_F(ProjectPluginTest, Version2ReferencesWithBackslashesAreFoundInSubfolders)
{
    ASSERT_EQ(mkdir(Folder.Path("parts").c_str(), 0755), 0);
    WriteFileBytes(Folder.Path("parts/tiles.bmp"), BmpFile(160, 16));
    TCurrentDirectoryScope inFolder(Folder.Root());
    ASSERT_EQ(ImportBytes(SampleVersion2File("parts\\tiles.bmp", {37, 0, 0, 0, 0, 0})), 0);
    EXPECT_EQ(LayerCells(Imported, 0)[0], 55);
    EXPECT_EQ(TextOrNull(Imported.Layers[0].PartsImage), "parts\\tiles.bmp");
    EXPECT_TRUE(Window.Questions.empty());
}

TEST_F(ProjectPluginTest, MissingVersion2ImageIsAskedForOncePerLayer)
{
    TTempFolder elsewhere;
    const std::string chosen = elsewhere.Path("found.bmp");
    WriteFileBytes(chosen, BmpFile(160, 16));
    Window.Answers = {chosen, chosen};
    TCurrentDirectoryScope inFolder(Folder.Root());
    ASSERT_EQ(ImportBytes(SampleVersion2File("lost.bmp", {37, 0, 0, 0, 0, 0}, 8, 2)), 0);
    ASSERT_EQ(Window.Questions.size(), 2u);
    EXPECT_EQ(Window.Questions[0].Title, "Where is lost.bmp?");
    EXPECT_EQ(Window.Questions[0].Filter, "Bitmap File (*.bmp)|*.bmp");
    EXPECT_EQ(Window.Questions[0].DefaultExt, "bmp");
    EXPECT_EQ(Window.Questions[0].ResultSize, 260u);
    EXPECT_EQ(TextOrNull(Imported.Layers[0].PartsImage), chosen);
    EXPECT_EQ(TextOrNull(Imported.Layers[1].PartsImage), chosen);
    EXPECT_EQ(LayerCells(Imported, 1)[0], 55);
}

TEST_F(ProjectPluginTest, CancellingTheQuestionForAVersion2ImageCancelsTheImport)
{
    TCurrentDirectoryScope inFolder(Folder.Root());
    EXPECT_EQ(ImportBytes(SampleVersion2File("lost.bmp", {1, 2, 3, 4, 5, 6})), 7);
    EXPECT_EQ(Window.Questions.size(), 1u);
    EXPECT_TRUE(RecordOwnsNothing(Imported));

    // A chosen file that is not a bitmap counts as not located.
    WriteFileText(Folder.Path("fake.bmp"), "not a bitmap at all, just text");
    Window.Answers = {Folder.Path("fake.bmp")};
    EXPECT_EQ(ImportBytes(SampleVersion2File("lost.bmp", {1, 2, 3, 4, 5, 6})), 7);
    EXPECT_TRUE(RecordOwnsNothing(Imported));
}

TEST_F(ProjectPluginTest, Version2ImageNarrowerThanOnePartIsABrokenFile)
{
    WriteFileBytes(Folder.Path(SampleImageName), BmpFile(8, 8)); // parts are 16 wide
    TCurrentDirectoryScope inFolder(Folder.Root());
    EXPECT_EQ(ImportBytes(SampleVersion2File(SampleImageName, {1, 2, 3, 4, 5, 6})), 4);
    EXPECT_TRUE(RecordOwnsNothing(Imported));
}

TEST_F(ProjectPluginTest, Version2WithPartsWidthZeroIsABrokenFile)
{
    std::vector<uint8_t> bytes = SampleVersion2File(SampleImageName, {1, 2, 3, 4, 5, 6});
    bytes[12 + 8 + 8] = 0; // PartsWidth of the header
    EXPECT_EQ(ImportBytes(bytes), 4);
    EXPECT_TRUE(RecordOwnsNothing(Imported));
    EXPECT_TRUE(Window.Questions.empty());
}

TEST(LinearPartNumbers, ConvertsAgainstTheImageWidthCappedAtTheSlots)
{
    std::vector<uint16_t> cells = {37, 9, 10, 65535};
    ConvertLinearPartNumbers(cells.data(), cells.size(), 10, 8);
    EXPECT_EQ(cells, (std::vector<uint16_t>{55, 9, 16, static_cast<uint16_t>(5 + 6553 * 16)}));
    cells = {37, 300};
    ConvertLinearPartNumbers(cells.data(), cells.size(), 1000, 16); // capped at 256
    EXPECT_EQ(cells, (std::vector<uint16_t>{37, 300}));
}

TEST_F(ProjectPluginTest, ReadsVersion3)
{
    ASSERT_EQ(ImportBytes(SampleVersion3File()), 0);
    EXPECT_EQ(Imported.Width, 2u);
    EXPECT_EQ(Imported.LayerCount, 3);
    EXPECT_EQ(Imported.BitCount, 16);
    EXPECT_EQ(Imported.PathMode, 1);
    EXPECT_EQ(Imported.AlignFlags, 255); // passed on unchanged
    EXPECT_EQ(Imported.Zoom, 512);
    const uint8_t flags[6] = {1, 0, 0, 1, 0, 0};
    EXPECT_EQ(0, std::memcmp(Imported.EditorFlags, flags, 6));
    EXPECT_EQ(Imported.GridColor, 0x00112233u);
    EXPECT_EQ(Imported.AGridColor, 0x00445566u);
    EXPECT_EQ(Imported.TransColor, 0x00FF0000u);
    EXPECT_EQ(Imported.TransReserved, 7);
    EXPECT_EQ(Imported.UseInvisiblePart, 1);
    EXPECT_EQ(Imported.InvisiblePart, 42); // the last "LAY1" layer's transparent part
    EXPECT_EQ(Imported.InvisibleReserved, 8);
    EXPECT_EQ(TextOrNull(Imported.Comment), "odd");
    ASSERT_EQ(Imported.HiddenSize, 3u);
    EXPECT_EQ(Imported.HiddenData[2], 3);

    EXPECT_EQ(TextOrNull(Imported.Layers[0].Name), "sky");
    EXPECT_EQ(TextOrNull(Imported.Layers[0].PartsImage), "sky.bmp");
    EXPECT_EQ(Imported.Layers[0].Visible, 0); // its "LINV" says hidden
    EXPECT_EQ(LayerCells(Imported, 0), (std::vector<uint16_t>{1, 2, 3, 4}));
    EXPECT_EQ(TextOrNull(Imported.Layers[1].Name), "land");
    EXPECT_EQ(Imported.Layers[1].PartsImage, nullptr);
    EXPECT_EQ(Imported.Layers[1].Visible, 1); // no "LINV": visible
    EXPECT_EQ(TextOrNull(Imported.Layers[2].Name), "sea");
    EXPECT_EQ(TextOrNull(Imported.Layers[2].PartsImage), "sea.bmp");
    EXPECT_EQ(Imported.Layers[2].Visible, 1);
    EXPECT_EQ(LayerCells(Imported, 2), (std::vector<uint16_t>{9, 10, 11, 12}));
}

TEST_F(ProjectPluginTest, ReadsVersion4WrittenByHand)
{
    ASSERT_EQ(ImportBytes(SampleVersion4File()), 0);
    EXPECT_EQ(Imported.Width, 2u);
    EXPECT_EQ(Imported.Height, 1u);
    EXPECT_EQ(Imported.AlignFlags, 1);
    EXPECT_EQ(Imported.TransColor, 0x00ABCDEFu);
    EXPECT_EQ(Imported.InvisiblePart, 1234);
    EXPECT_EQ(Imported.Zoom, 128);
    ASSERT_EQ(Imported.HiddenSize, 3u);
    EXPECT_EQ(Imported.HiddenData[0], 7);
    EXPECT_EQ(TextOrNull(Imported.Comment), "comment");
    EXPECT_EQ(TextOrNull(Imported.Layers[0].PartsImage), "a\\b.bmp");
    EXPECT_EQ(LayerCells(Imported, 0), (std::vector<uint16_t>{100, 65535}));
    EXPECT_EQ(Imported.Layers[1].PartsImage, nullptr);
    EXPECT_EQ(Imported.Layers[1].Visible, 0);
}

namespace
{

TBytes Version4Header(uint8_t layers, uint8_t alignFlags = 0)
{
    TBytes chunks;
    chunks.Chunk("UMFh", MapHeaderBytes(2, 1, 32, 32, layers, 16, 0, alignFlags));
    return chunks;
}

TBytes Version4Layer(const char *name, bool withVisible = true, bool withName = true)
{
    TBytes layer;
    if (withName)
        layer.Chunk("LSTR", TBytes().Text(name));
    if (withVisible)
        layer.Chunk("LINV", TBytes().U8(1));
    layer.Chunk("LDAT", CellBytes({3, 4}));
    TBytes list;
    list.List("LIST", "LAY_", layer);
    return list;
}

} // namespace

TEST_F(ProjectPluginTest, Version4WithFewerListsThanTheHeaderClaimsIsRefusedAndFreed)
{
    TBytes chunks = Version4Header(3);
    chunks.Raw(Version4Layer("a").Data).Raw(Version4Layer("b").Data);
    TProgressLog::Reset();
    EXPECT_EQ(ImportBytes(ProjectFile(chunks), TProgressLog::Callback), 1);
    EXPECT_EQ(TProgressLog::Calls.size(), 2u);
    EXPECT_TRUE(RecordOwnsNothing(Imported));
}

TEST_F(ProjectPluginTest, Version4MissingGlobalChunksKeepWhatTheHostSet)
{
    TBytes chunks = Version4Header(1, 255);
    chunks.Raw(Version4Layer("a").Data);
    WriteFileBytes(Folder.Path("in.tzp"), ProjectFile(chunks));
    PluginMapRecord preset{};
    preset.EditorFlags[4] = 1;
    preset.TransColor = 0x00010203;
    preset.TransReserved = 255;
    preset.GridColor = 0x00040506;
    preset.Zoom = 256;
    preset.InvisiblePart = 77;
    preset.InvisibleReserved = 255;
    Imported = preset;
    ASSERT_EQ(Plugin.Import(Window.Handle(), Folder.Path("in.tzp").c_str(), &Imported, GoOn), 0);
    EXPECT_EQ(Imported.EditorFlags[4], 1);
    EXPECT_EQ(Imported.TransColor, 0x00010203u);
    EXPECT_EQ(Imported.GridColor, 0x00040506u);
    EXPECT_EQ(Imported.Zoom, 256);
    EXPECT_EQ(Imported.InvisiblePart, 77);
    EXPECT_EQ(Imported.AlignFlags, 0); // the placeholder 255 becomes fixed alignment
    EXPECT_EQ(Imported.Comment, nullptr);
    EXPECT_EQ(Imported.HiddenData, nullptr);
}

TEST_F(ProjectPluginTest, Version4LayerWithoutVisibilityIsHiddenAndWithoutNameHasNone)
{
    TBytes chunks = Version4Header(2);
    chunks.Raw(Version4Layer("a", false).Data).Raw(Version4Layer("b", true, false).Data);
    ASSERT_EQ(ImportBytes(ProjectFile(chunks)), 0);
    EXPECT_EQ(Imported.Layers[0].Visible, 0);
    EXPECT_EQ(TextOrNull(Imported.Layers[0].Name), "a");
    EXPECT_EQ(Imported.Layers[1].Name, nullptr);
    EXPECT_EQ(Imported.Layers[1].Visible, 1);
}

TEST_F(ProjectPluginTest, Version4FindsGlobalChunksInAnyOrderAndSkipsForeignOnes)
{
    TBytes chunks;
    chunks.Chunk("Zoom", TBytes().U16(1024));
    chunks.List("LIST", "INFO", TBytes().Chunk("ISFT", TBytes().Text("x")));
    chunks.Raw(Version4Header(1).Data);
    chunks.Chunk("Xtra", TBytes().Text("unknown"));
    chunks.Raw(Version4Layer("only").Data);
    chunks.Chunk("Comt", TBytes().Text("last"));
    ASSERT_EQ(ImportBytes(ProjectFile(chunks)), 0);
    EXPECT_EQ(Imported.Zoom, 1024);
    EXPECT_EQ(TextOrNull(Imported.Comment), "last");
    EXPECT_EQ(TextOrNull(Imported.Layers[0].Name), "only");
}

TEST_F(ProjectPluginTest, OverLongFixedChunksDoNotSpillIntoOtherFields)
{
    TBytes chunks;
    TBytes header = MapHeaderBytes(2, 1, 32, 32, 1, 16, 0, 0);
    header.Repeat(0xEE, 12); // 32 bytes instead of 20
    chunks.Chunk("UMFh", header);
    chunks.Chunk("Zoom", TBytes().U16(300).Repeat(0xEE, 30));
    chunks.Chunk("ColK", TBytes().U8(1).U32(0x00102030).U8(5).Repeat(0xEE, 20));
    chunks.Chunk("InvC", TBytes().U8(1).U16(9).U8(6).Repeat(0xEE, 20));
    TBytes layer;
    layer.Chunk("LSTR", TBytes().Text("n")).Chunk("LINV", TBytes().U8(1).Repeat(0xEE, 9));
    layer.Chunk("LDAT", CellBytes({1, 2}));
    chunks.List("LIST", "LAY_", layer);
    ASSERT_EQ(ImportBytes(ProjectFile(chunks)), 0);
    EXPECT_EQ(Imported.LayerCount, 1);
    EXPECT_EQ(Imported.Zoom, 300);
    EXPECT_EQ(Imported.TransColor, 0x00102030u);
    EXPECT_EQ(Imported.TransReserved, 5);
    EXPECT_EQ(Imported.UseInvisiblePart, 1);
    EXPECT_EQ(Imported.InvisiblePart, 9);
    EXPECT_EQ(Imported.InvisibleReserved, 6);
    EXPECT_EQ(Imported.GridColor, 0u); // the neighbours stay as the host set them
    EXPECT_EQ(Imported.Layers[0].Visible, 1);
}

// The header chunk's size decides nothing beyond its 20 bytes in the sequential layouts
// either: a longer "UMFh" reads exactly like a 20-byte one.
TEST_F(ProjectPluginTest, OverLongVersion3HeaderReadsLikeAShortOne)
{
    auto version3 = [](size_t extra) {
        TBytes chunks;
        TBytes header = MapHeaderBytes(2, 1, 32, 32, 1, 16, 1, 0);
        header.Repeat(0xEE, extra);
        chunks.Chunk("UMFh", header);
        chunks.Chunk("InvC", TBytes().U8(1).U16(300).U8(8));
        TBytes layer;
        layer.Chunk("LSTR", TBytes().Text("land")).Chunk("LDAT", CellBytes({5, 6}));
        chunks.Chunk("LAY_", layer);
        return ProjectFile(chunks);
    };
    for (size_t extra : {size_t{0}, size_t{3}, size_t{22}, size_t{28}}) {
        SCOPED_TRACE(extra);
        ASSERT_EQ(ImportBytes(version3(extra)), 0);
        EXPECT_EQ(Imported.Width, 2u);
        EXPECT_EQ(Imported.UseInvisiblePart, 1);
        EXPECT_EQ(Imported.InvisiblePart, 300);
        EXPECT_EQ(Imported.InvisibleReserved, 8);
        EXPECT_EQ(LayerCells(Imported, 0), (std::vector<uint16_t>{5, 6}));
    }
}

TEST_F(ProjectPluginTest, CellDataOfTheWrongSizeIsABrokenFile)
{
    for (const std::vector<uint16_t> &cells :
         {std::vector<uint16_t>{1}, std::vector<uint16_t>{1, 2, 3}}) {
        TBytes layer;
        layer.Chunk("LSTR", TBytes().Text("n")).Chunk("LDAT", CellBytes(cells));
        TBytes chunks = Version4Header(1);
        chunks.List("LIST", "LAY_", layer);
        EXPECT_EQ(ImportBytes(ProjectFile(chunks)), 4);
        EXPECT_TRUE(RecordOwnsNothing(Imported));
    }
}

TEST_F(ProjectPluginTest, ChunkRunningPastTheEndOfTheFileIsABrokenFile)
{
    TBytes chunks = Version4Header(1);
    chunks.Raw(Version4Layer("a").Data);
    chunks.Id("Comt").U32(1000000).Text("short");
    EXPECT_EQ(ImportBytes(ProjectFile(chunks)), 4);
    EXPECT_TRUE(RecordOwnsNothing(Imported));

    // A layer list that claims more than the form holds.
    std::vector<uint8_t> bytes = ProjectFile(Version4Header(1).Raw(Version4Layer("a").Data));
    bytes.resize(bytes.size() - 3);
    EXPECT_EQ(ImportBytes(bytes), 4);
    EXPECT_TRUE(RecordOwnsNothing(Imported));
}

TEST_F(ProjectPluginTest, HiddenBlockClaimingMoreThanItsChunkIsABrokenFile)
{
    TBytes chunks = Version4Header(1);
    chunks.Chunk("Hidn", TBytes().U32(0x7FFFFFFF).U8(1).U8(2));
    chunks.Raw(Version4Layer("a").Data);
    EXPECT_EQ(ImportBytes(ProjectFile(chunks)), 4);
    EXPECT_TRUE(RecordOwnsNothing(Imported));
}

TEST_F(ProjectPluginTest, HugeClaimedMapSizeIsNeverAllocated)
{
    TBytes chunks;
    chunks.Chunk("UMFh", MapHeaderBytes(0xFFFFFFFF, 0xFFFFFFFF, 32, 32, 1, 16, 0, 0));
    chunks.Raw(Version4Layer("a").Data);
    EXPECT_EQ(ImportBytes(ProjectFile(chunks)), 4);

    TBytes v3;
    v3.Chunk("UMFh", MapHeaderBytes(0x80000000, 0x80000000, 32, 32, 1, 16, 0, 0));
    v3.Chunk("LAY1", TBytes().CText("n").CText("").U8(0).U16(1));
    EXPECT_EQ(ImportBytes(ProjectFile(v3)), 4);
    EXPECT_TRUE(RecordOwnsNothing(Imported));
}

TEST_F(ProjectPluginTest, ImportCancelledAfterTheFirstLayerLeavesNothingOwned)
{
    TTestMap map = RichMap();
    ASSERT_EQ(ExportRecord(map.Bind(), Folder.Path("map.tzp")), 0);
    TProgressLog::Reset(1);
    EXPECT_EQ(ImportFile(Folder.Path("map.tzp"), TProgressLog::Callback), 7);
    EXPECT_EQ(TProgressLog::Calls.size(), 1u);
    EXPECT_TRUE(RecordOwnsNothing(Imported));

    for (const std::vector<uint8_t> &bytes : {SampleVersion1File(), SampleVersion3File()}) {
        TProgressLog::Reset(1);
        EXPECT_EQ(ImportBytes(bytes, TProgressLog::Callback), 7);
        EXPECT_TRUE(RecordOwnsNothing(Imported));
    }
}

TEST_F(ProjectPluginTest, OldLayoutsWithFewerLayersThanTheHeaderAreBroken)
{
    TBytes chunks;
    chunks.Chunk("UMFh", MapHeaderBytes(1, 1, 16, 16, 2, 0, 0, 0, true), false);
    chunks.Chunk("LAY0", TBytes().CText("a").U8(0).CText("").U8(1).U8(5), false);
    EXPECT_EQ(ImportBytes(ProjectFile(chunks)), 4);
    EXPECT_TRUE(RecordOwnsNothing(Imported));
}

TEST_F(ProjectPluginTest, OldLayoutsIgnoreLayersBeyondTheHeaderCount)
{
    TBytes chunks;
    chunks.Chunk("UMFh", MapHeaderBytes(1, 1, 16, 16, 1, 0, 0, 0, true), false);
    chunks.Chunk("LAY0", TBytes().CText("a").U8(0).CText("").U8(1).U8(5), false);
    chunks.Chunk("LAY0", TBytes().CText("b").U8(1).CText("").U8(1).U8(6), false);
    ASSERT_EQ(ImportBytes(ProjectFile(chunks)), 0);
    EXPECT_EQ(Imported.LayerCount, 1);
    EXPECT_EQ(TextOrNull(Imported.Layers[0].Name), "a");
    EXPECT_EQ(Imported.PathMode, 0);
}

TEST_F(ProjectPluginTest, LayerBeforeTheHeaderIsABrokenFile)
{
    TBytes chunks;
    chunks.Chunk("LAY1", TBytes().CText("n").CText("").U8(0).U16(1));
    chunks.Chunk("UMFh", MapHeaderBytes(1, 1, 16, 16, 1, 16, 0, 0));
    EXPECT_EQ(ImportBytes(ProjectFile(chunks)), 4);
    EXPECT_TRUE(RecordOwnsNothing(Imported));
}

// Every prefix of a valid file of each layout is refused cleanly or read; nothing is
// left owned after a refusal (the leak check watches the rest).
TEST_F(ProjectPluginTest, EveryTruncationOfEveryLayoutIsHandled)
{
    WriteFileBytes(Folder.Path(SampleImageName), BmpFile(160, 16));
    TCurrentDirectoryScope inFolder(Folder.Root());
    const std::vector<std::vector<uint8_t>> files = {
        SampleVersion1File(),
        SampleVersion2File(SampleImageName, {1, 2, 3, 4, 5, 6}),
        SampleVersion3File(),
        SampleVersion4File(),
    };
    for (size_t f = 0; f < files.size(); ++f) {
        for (size_t length = 0; length < files[f].size(); ++length) {
            SCOPED_TRACE("file " + std::to_string(f + 1) + ", length " + std::to_string(length));
            const std::vector<uint8_t> prefix(files[f].begin(), files[f].begin() + length);
            const int32_t result = ImportBytes(prefix);
            if (result != 0) {
                EXPECT_TRUE(RecordOwnsNothing(Imported));
                EXPECT_TRUE(result == 1 || result == 4 || result == 5) << result;
            }
        }
    }
}
