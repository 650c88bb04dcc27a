// The version-4 writer: byte layout, round trips through the plug-in, progress, cancel and
// saves that never destroy the previous file.
#include "tests/plugin-project/ProjectFiles.h"
#include "tests/plugin-project/ProjectTestSupport.h"

#include <csignal>
#include <cstring>
#include <sys/resource.h>

TEST_F(ProjectPluginTest, RoundTripKeepsEveryField)
{
    TTestMap map = RichMap();
    PluginMapRecord &record = map.Bind();
    const std::string path = Folder.Path("map.tzp");
    ASSERT_EQ(ExportRecord(record, path), 0);
    ASSERT_EQ(ImportFile(path), 0);
    ExpectSameHeaderAndSettings(record, Imported);
    ExpectSameLayers(record, Imported);
    EXPECT_EQ(TextOrNull(Imported.Comment), map.Comment);
    ASSERT_EQ(Imported.HiddenSize, map.Hidden.size());
    EXPECT_EQ(std::vector<uint8_t>(Imported.HiddenData, Imported.HiddenData + Imported.HiddenSize),
              map.Hidden);
}

TEST_F(ProjectPluginTest, WriterOutputMatchesTheLayoutByteForByte)
{
    TTestMap map(3, 2, 2);
    map.Names = {"Odd", "Even"};
    map.Images = {"parts\\tiles.bmp", ""};
    map.Layers[0].Visible = 1;
    map.Layers[1].Visible = 0;
    map.Cells[0] = {1, 2, 3, 4, 5, 0xABCD};
    map.Cells[1] = {0, 0, 7, 0, 0, 8};
    map.Comment = "Hi!";
    map.Hidden = {9, 8, 7};
    PluginMapRecord &record = map.Bind();
    record.PartsWidth = 16;
    record.PartsHeight = 8;
    record.BitCount = 8;
    record.PathMode = 1;
    record.AlignFlags = 255;
    const uint8_t flags[6] = {1, 1, 0, 0, 1, 0};
    std::memcpy(record.EditorFlags, flags, 6);
    record.TransEnabled = 1;
    record.TransColor = 0x00FF00FF;
    record.TransReserved = 255;
    record.UseInvisiblePart = 1;
    record.InvisiblePart = 0x0102;
    record.InvisibleReserved = 255;
    record.GridColor = 0x00C0C0C0;
    record.AGridColor = 0x000000FF;
    record.Zoom = 0x0180;

    TBytes chunks;
    chunks.Id("UMFh").U32(20).U32(3).U32(2).U32(16).U32(8).U8(2).U8(8).U8(1).U8(255);
    chunks.Id("Ver_").U32(4).U8(1).U8(6).U8(1).U8(0x66);
    chunks.Id("EEnv").U32(6).U8(1).U8(1).U8(0).U8(0).U8(1).U8(0);
    chunks.Id("ColK").U32(6).U8(1).U32(0x00FF00FF).U8(255);
    chunks.Id("Grid").U32(8).U32(0x00C0C0C0).U32(0x000000FF);
    chunks.Id("Zoom").U32(2).U16(0x0180);
    chunks.Id("InvC").U32(4).U8(1).U16(0x0102).U8(255);
    chunks.Id("Hidn").U32(7).U32(3).U8(9).U8(8).U8(7).U8(0);
    chunks.Id("Comt").U32(3).Text("Hi!").U8(0);
    // Layer 0: odd name and reference, each followed by a pad byte.
    chunks.Id("LIST").U32(4 + 12 + 24 + 10 + 20).Id("LAY_");
    chunks.Id("LSTR").U32(3).Text("Odd").U8(0);
    chunks.Id("PSTR").U32(15).Text("parts\\tiles.bmp").U8(0);
    chunks.Id("LINV").U32(1).U8(1).U8(0);
    chunks.Id("LDAT").U32(12).U16(1).U16(2).U16(3).U16(4).U16(5).U16(0xABCD);
    // Layer 1: no parts image, so no "PSTR".
    chunks.Id("LIST").U32(4 + 12 + 10 + 20).Id("LAY_");
    chunks.Id("LSTR").U32(4).Text("Even");
    chunks.Id("LINV").U32(1).U8(0).U8(0);
    chunks.Id("LDAT").U32(12).U16(0).U16(0).U16(7).U16(0).U16(0).U16(8);

    const std::string path = Folder.Path("exact.tzp");
    ASSERT_EQ(ExportRecord(record, path), 0);
    EXPECT_EQ(ReadFileBytes(path), ProjectFile(chunks));
}

TEST_F(ProjectPluginTest, AbsentCommentHiddenBlockAndImageWriteNoChunks)
{
    TTestMap map(2, 2, 1);
    map.Hidden = {1, 2};
    PluginMapRecord &record = map.Bind(false, true);
    record.HiddenSize = 0; // data without a size is not written either
    const std::string path = Folder.Path("plain.tzp");
    ASSERT_EQ(ExportRecord(record, path), 0);
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    const std::string text(bytes.begin(), bytes.end());
    for (const char *id : {"Comt", "Hidn", "PSTR"})
        EXPECT_EQ(text.find(id), std::string::npos) << id;
    for (const char *id : {"UMFh", "Ver_", "EEnv", "ColK", "Grid", "Zoom", "InvC", "LSTR", "LINV"})
        EXPECT_NE(text.find(id), std::string::npos) << id;

    ASSERT_EQ(ImportFile(path), 0);
    EXPECT_EQ(Imported.Comment, nullptr);
    EXPECT_EQ(Imported.HiddenData, nullptr);
    EXPECT_EQ(Imported.HiddenSize, 0u);
    EXPECT_EQ(Imported.Layers[0].PartsImage, nullptr);
}

TEST_F(ProjectPluginTest, EmptyLayerListWritesTheHeaderChunksAndNoLayer)
{
    TTestMap map(4, 4, 0);
    PluginMapRecord &record = map.Bind();
    const std::string path = Folder.Path("empty.tzp");
    ASSERT_EQ(ExportRecord(record, path), 0);
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.find("LAY_"), std::string::npos);
    EXPECT_EQ(bytes.size(), 12u + 28 + 12 + 14 + 14 + 16 + 10 + 12);
}

TEST_F(ProjectPluginTest, ProgressIsReportedAfterEachLayer)
{
    TTestMap map = RichMap();
    PluginMapRecord &record = map.Bind();
    TProgressLog::Reset();
    ASSERT_EQ(ExportRecord(record, Folder.Path("p.tzp"), TProgressLog::Callback), 0);
    ASSERT_EQ(TProgressLog::Calls.size(), 3u);
    for (int32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(TProgressLog::Calls[i].Position, i);
        EXPECT_EQ(TProgressLog::Calls[i].Total, 3);
        EXPECT_EQ(TProgressLog::Calls[i].Message, "writing...");
    }
    TProgressLog::Reset();
    ASSERT_EQ(ImportFile(Folder.Path("p.tzp"), TProgressLog::Callback), 0);
    ASSERT_EQ(TProgressLog::Calls.size(), 3u);
    EXPECT_EQ(TProgressLog::Calls[2].Position, 2);
    EXPECT_EQ(TProgressLog::Calls[2].Message, "reading...");
}

TEST_F(ProjectPluginTest, CancelledExportKeepsThePreviousFileAndLeavesNoTemporaryFile)
{
    TTestMap map = RichMap();
    PluginMapRecord &record = map.Bind();
    const std::string path = Folder.Path("keep.tzp");
    WriteFileText(path, "the user's good file");
    TProgressLog::Reset(1);
    EXPECT_EQ(ExportRecord(record, path, TProgressLog::Callback), 7);
    EXPECT_EQ(TProgressLog::Calls.size(), 1u);
    EXPECT_EQ(ReadFileText(path), "the user's good file");
    EXPECT_EQ(Folder.Entries(), std::vector<std::string>{"keep.tzp"});
}

TEST_F(ProjectPluginTest, FailedWriteKeepsThePreviousFileAndLeavesNoTemporaryFile)
{
    TTestMap map(100, 100, 2); // 40 000 bytes of cells
    PluginMapRecord &record = map.Bind();
    const std::string path = Folder.Path("keep.tzp");
    WriteFileText(path, "the user's good file");

    // Writes beyond 4 KiB fail as on a full disk.
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int32_t result = ExportRecord(record, path);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(result, 5);
    EXPECT_EQ(ReadFileText(path), "the user's good file");
    EXPECT_EQ(Folder.Entries(), std::vector<std::string>{"keep.tzp"});
}

TEST_F(ProjectPluginTest, SaveIntoAMissingFolderIsAFileError)
{
    TTestMap map(2, 2, 1);
    EXPECT_EQ(ExportRecord(map.Bind(), Folder.Path("missing/map.tzp")), 5);
}

TEST_F(ProjectPluginTest, ExportOfALayerWithoutCellsIsRefusedBeforeAnyFileIsMade)
{
    TTestMap map(2, 2, 2);
    PluginMapRecord &record = map.Bind();
    map.Layers[1].Cells = nullptr;
    EXPECT_EQ(ExportRecord(record, Folder.Path("x.tzp")), 3);
    record.Layers = nullptr;
    EXPECT_EQ(ExportRecord(record, Folder.Path("x.tzp")), 3);
    EXPECT_TRUE(Folder.Entries().empty());
}

TEST_F(ProjectPluginTest, LayerWithoutNameIsWrittenWithAnEmptyName)
{
    TTestMap map(1, 1, 1);
    PluginMapRecord &record = map.Bind();
    map.Layers[0].Name = nullptr;
    ASSERT_EQ(ExportRecord(record, Folder.Path("n.tzp")), 0);
    ASSERT_EQ(ImportFile(Folder.Path("n.tzp")), 0);
    EXPECT_EQ(TextOrNull(Imported.Layers[0].Name), "");
}

TEST_F(ProjectPluginTest, MapTooBigForTheContainerIsRefused)
{
    TTestMap map(0, 0, 1);
    PluginMapRecord &record = map.Bind();
    record.Width = 65536;
    record.Height = 32768; // 4 GiB of cells per layer
    static uint16_t cell = 0;
    map.Layers[0].Cells = &cell;
    EXPECT_EQ(ExportRecord(record, Folder.Path("big.tzp")), 5);
    EXPECT_TRUE(Folder.Entries().empty());
}
