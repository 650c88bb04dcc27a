// The CSV plug-in as the editor loads it.
#include "tests/common/PluginTestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>

namespace
{

class CsvPluginTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(Plugin.Library.IsLoaded()) << Plugin.Library.LastError(); }
    void TearDown() override { FreeImportedRecord(Imported); }

    int32_t ImportFile(const std::string &path, ProgressProc progress = GoOn)
    {
        FreeImportedRecord(Imported);
        Imported = PluginMapRecord{};
        return Plugin.Import(Window.Handle(), path.c_str(), &Imported, progress);
    }
    int32_t ImportText(const std::string &text, ProgressProc progress = GoOn)
    {
        WriteFileText(Folder.Path("in.csv"), text);
        return ImportFile(Folder.Path("in.csv"), progress);
    }
    int32_t Supported(const std::string &name, const std::string &text)
    {
        WriteFileText(Folder.Path(name), text);
        return Plugin.IsSupported(Folder.Path(name).c_str());
    }
    int32_t ExportRecord(PluginMapRecord &record, const std::string &path,
                         ProgressProc progress = GoOn)
    {
        return Plugin.Export(Window.Handle(), path.c_str(), &record, progress);
    }
    std::vector<uint16_t> Cells(int layer) const
    {
        const uint16_t *cells = Imported.Layers[layer].Cells;
        return std::vector<uint16_t>(cells, cells + size_t{Imported.Width} * Imported.Height);
    }

    TLoadedFilePlugin Plugin{"gridcsv.so"};
    TTempFolder Folder;
    TTestWindow Window;
    PluginMapRecord Imported{};
};

const std::string Header3x2 = "3,2,32,32,1,8,0,0,0,0,0,0\n";

std::string Text(const char *text)
{
    return text == nullptr ? "<null>" : text;
}

} // namespace

TEST_F(CsvPluginTest, DescribesItselfAsAProjectFormatOfApiVersionTwo)
{
    EXPECT_EQ(Plugin.GetApiVersion(), 2);
    FilePluginInfo info{};
    Plugin.GetTessellaPluginInfo(&info);
    const std::string description(info.Description, strnlen(info.Description, 128));
    EXPECT_EQ(description.rfind("CSV Project File Plugin 2012", 0), 0u) << description;
    EXPECT_STREQ(info.Filter, "CSV Project File(*.csv)|*.csv");
    EXPECT_EQ(info.Flags, 4u);
}

TEST_F(CsvPluginTest, ExportsTheEntryPointsAndNothingElse)
{
    const std::set<std::string> expected = {"Export", "GetApiVersion", "GetTessellaPluginInfo",
                                            "Import", "IsSupported"};
    EXPECT_EQ(ExportedSymbols(PluginPath("gridcsv.so")), expected);
}

TEST_F(CsvPluginTest, NullArgumentsReturnBadParameterWithoutTouchingAnyFile)
{
    TTestMap map(3, 2, 1);
    PluginMapRecord &record = map.Bind();
    const std::string path = Folder.Path("m.csv");
    TessellaWindow *w = Window.Handle();
    EXPECT_EQ(Plugin.Export(nullptr, path.c_str(), &record, GoOn), 3);
    EXPECT_EQ(Plugin.Export(w, nullptr, &record, GoOn), 3);
    EXPECT_EQ(Plugin.Export(w, path.c_str(), nullptr, GoOn), 3);
    EXPECT_EQ(Plugin.Export(w, path.c_str(), &record, nullptr), 3);
    EXPECT_TRUE(Folder.Entries().empty());
    WriteFileText(path, Header3x2 + "\"a\",\"\",1\n1,2,3\n4,5,6\n\n");
    PluginMapRecord target{};
    EXPECT_EQ(Plugin.Import(nullptr, path.c_str(), &target, GoOn), 3);
    EXPECT_EQ(Plugin.Import(w, nullptr, &target, GoOn), 3);
    EXPECT_EQ(Plugin.Import(w, path.c_str(), nullptr, GoOn), 3);
    EXPECT_EQ(Plugin.Import(w, path.c_str(), &target, nullptr), 3);
    EXPECT_TRUE(RecordOwnsNothing(target));
    EXPECT_EQ(Plugin.IsSupported(nullptr), 3);
}

TEST_F(CsvPluginTest, IsSupportedChecksTheNameThenCountsTheHeaderIntegers)
{
    const std::string twelve = "1,2,3,4,5,6,7,8,9,10,11,12\n";
    EXPECT_EQ(Supported("map.csv", twelve), 0);
    EXPECT_EQ(Supported("mapcsv", twelve), 0);  // no dot needed
    EXPECT_EQ(Supported("map.CSV", twelve), 1); // case matters
    EXPECT_EQ(Supported("map.txt", twelve), 1);
    EXPECT_EQ(Plugin.IsSupported("sv"), 1);
    EXPECT_EQ(Supported("eleven.csv", "1,2,3,4,5,6,7,8,9,10,11\n"), 1);
    EXPECT_EQ(Supported("thirteen.csv", "1,2,3,4,5,6,7,8,9,10,11,12,13\n"), 1);
    EXPECT_EQ(Supported("real.csv", "1,2,3,4,5,6,7,8,9,10,11,1.5\n"), 1);
    EXPECT_EQ(Supported("words.csv", "w=1,2,3,4,5,6,7,8,9,10,11,12 // note\n"), 0);
    EXPECT_EQ(Supported("noend.csv", "1,2,3,4,5,6,7,8,9,10,11,12"), 0);
    EXPECT_EQ(Supported("empty.csv", ""), 1);
    EXPECT_EQ(Plugin.IsSupported(Folder.Path("missing.csv").c_str()), 5);
}

TEST_F(CsvPluginTest, IsSupportedReadsOnUntilTheFirstLineEnds)
{
    // A comment longer than the first read keeps the header line going.
    const std::string text = "/*" + std::string(200000, ' ') + "*/1,2,3,4,5,6,7,8,9,10,11,12\n";
    EXPECT_EQ(Supported("long.csv", text), 0);
}

TEST_F(CsvPluginTest, WriterOutputMatchesTheLayoutByteForByte)
{
    TTestMap map(3, 2, 1);
    map.Names = {"Ground"};
    map.Cells[0] = {0, 1, 2, 3, 4, 5};
    map.Layers[0].Visible = 1;
    PluginMapRecord &record = map.Bind();
    record.PartsWidth = 16;
    record.PartsHeight = 8;
    record.BitCount = 8;
    record.PathMode = 1;
    record.AlignFlags = 255; // the placeholder is written as 0
    record.UseInvisiblePart = 1;
    record.InvisiblePart = 300;
    record.TransEnabled = 1;
    record.TransColor = 0x00FF00FF;
    const std::string path = Folder.Path("exact.csv");
    ASSERT_EQ(ExportRecord(record, path), 0);
    EXPECT_EQ(ReadFileText(path), "3,2,16,8,1,8,1,0,1,300,1,16711935\n"
                                  "\"Ground\",\"\",1\n"
                                  "0,1,2\n3,4,5\n\n");
}

TEST_F(CsvPluginTest, RoundTripKeepsEveryFieldTheFormatCarries)
{
    TTestMap map(4, 3, 3);
    map.Names = {"Back \"quoted\"", "Middle", "Front\\Top"};
    map.Images = {"parts\\back.bmp", "", "front.bmp"};
    map.Layers[0].Visible = 1;
    map.Layers[1].Visible = 0;
    map.Layers[2].Visible = 1;
    map.Cells[1][5] = 65535;
    PluginMapRecord &record = map.Bind();
    record.AlignFlags = 1;
    record.UseInvisiblePart = 1;
    record.InvisiblePart = 65535;
    record.TransEnabled = 1;
    record.TransColor = 0x00ABCDEF;
    const std::string path = Folder.Path("round.csv");
    ASSERT_EQ(ExportRecord(record, path), 0);
    ASSERT_EQ(Plugin.IsSupported(path.c_str()), 0);
    ASSERT_EQ(ImportFile(path), 0);
    EXPECT_EQ(Imported.Width, 4u);
    EXPECT_EQ(Imported.Height, 3u);
    EXPECT_EQ(Imported.PartsWidth, 32u);
    EXPECT_EQ(Imported.PartsHeight, 32u);
    EXPECT_EQ(Imported.LayerCount, 3);
    EXPECT_EQ(Imported.BitCount, 16);
    EXPECT_EQ(Imported.AlignFlags, 1);
    EXPECT_EQ(Imported.UseInvisiblePart, 1);
    EXPECT_EQ(Imported.InvisiblePart, 65535);
    EXPECT_EQ(Imported.TransEnabled, 1);
    EXPECT_EQ(Imported.TransColor, 0x00ABCDEFu);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Text(Imported.Layers[i].Name), map.Names[i]);
        EXPECT_EQ(Text(Imported.Layers[i].PartsImage),
                  map.Images[i].empty() ? "<null>" : map.Images[i]);
        EXPECT_EQ(Imported.Layers[i].Visible, map.Layers[i].Visible);
        EXPECT_EQ(Cells(i), map.Cells[i]);
    }
}

TEST_F(CsvPluginTest, DoubleByteNamesSurviveARoundTrip)
{
    // Code-page-932 bytes, one of whose trail bytes is a backslash.
    TTestMap map(1, 1, 1);
    map.Names = {"\x95\\\x8C\x69\\x"};
    map.Images = {"dir\\\x83\x5C.bmp"};
    ASSERT_EQ(ExportRecord(map.Bind(), Folder.Path("sjis.csv")), 0);
    ASSERT_EQ(ImportFile(Folder.Path("sjis.csv")), 0);
    EXPECT_EQ(Text(Imported.Layers[0].Name), map.Names[0]);
    EXPECT_EQ(Text(Imported.Layers[0].PartsImage), map.Images[0]);
}

TEST_F(CsvPluginTest, LayerLinesReadNameImageAndVisibility)
{
    ASSERT_EQ(ImportText("3,1,32,32,3,8,0,0,0,0,0,0\n"
                         "\"Ground\",\"\",0\n"
                         "\"Sky\",,1\n"
                         "'Sea',\"sea.bmp\", visible 1 trailing words\n"
                         "1,2,3\n\n4,5,6\n\n7,8,9\n"),
              0);
    EXPECT_EQ(Text(Imported.Layers[0].Name), "Ground");
    EXPECT_EQ(Imported.Layers[0].PartsImage, nullptr);
    EXPECT_EQ(Imported.Layers[0].Visible, 0);
    EXPECT_EQ(Imported.Layers[1].PartsImage, nullptr);
    EXPECT_EQ(Imported.Layers[1].Visible, 1);
    EXPECT_EQ(Text(Imported.Layers[2].PartsImage), "sea.bmp");
    EXPECT_EQ(Imported.Layers[2].Visible, 1);
    EXPECT_EQ(Cells(2), (std::vector<uint16_t>{7, 8, 9}));
}

TEST_F(CsvPluginTest, AnyNonZeroVisibilityReadsAndWritesAsOne)
{
    ASSERT_EQ(ImportText("1,1,32,32,4,8,0,0,0,0,0,0\n"
                         "\"a\",\"\",2\n\"b\",\"\",255\n\"c\",\"\",256\n\"d\",\"\",0\n"
                         "1\n\n2\n\n3\n\n4\n"),
              0);
    EXPECT_EQ(Imported.Layers[0].Visible, 1);
    EXPECT_EQ(Imported.Layers[1].Visible, 1);
    EXPECT_EQ(Imported.Layers[2].Visible, 0); // the low byte counts
    EXPECT_EQ(Imported.Layers[3].Visible, 0);

    TTestMap map(1, 1, 1);
    map.Names = {"a"};
    map.Layers[0].Visible = 7;
    ASSERT_EQ(ExportRecord(map.Bind(), Folder.Path("seven.csv")), 0);
    EXPECT_EQ(ReadFileText(Folder.Path("seven.csv")), "1,1,32,32,1,16,0,0,0,0,0,0\n"
                                                      "\"a\",\"\",1\n0\n\n");
}

// A file the fuzz target found: visibility 2, and a double-byte name that is UTF-8 once
// its lone lead byte before a NUL is dropped.
const uint8_t FuzzFoundFile[] = {
    0x33, 0x2C, 0x32, 0x2C, 0x30, 0x78, 0x32, 0x30, 0x33, 0x00, 0x2C, 0x32, 0x00, 0x00, 0x00,
    0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x2C, 0x31, 0x2C, 0x38, 0x2C, 0x30,
    0x28, 0x64, 0x00, 0x35, 0x2C, 0x30, 0x2C, 0x30, 0x01, 0x09, 0x2C, 0x30, 0x2C, 0x30, 0x0A,
    0x22, 0xCA, 0x95, 0x5C, 0x99, 0x00, 0x00, 0x00, 0x32, 0x27, 0x5C, 0x99, 0x99, 0x99, 0x99,
    0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0xFF, 0xFF, 0xBF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x99, 0x99, 0x99, 0x99, 0x99,
    0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x22, 0x2C, 0x22, 0x22, 0x2C, 0x32,
    0x0A, 0x31, 0x2C, 0x32, 0x2C, 0x33, 0x29, 0x0A, 0x34, 0x00, 0x00, 0x00, 0x31, 0x0A, 0x0A,
    0x0A, 0x2D, 0x33, 0x2C, 0x30, 0x78, 0x31, 0xE6, 0x46,
};

// Saved, read back and saved again, what was read gives the same record and the same bytes
// (a saved double-byte name must not come back with its trail byte 0x5C taken for an
// escape).
TEST_F(CsvPluginTest, WhatIsReadSavesAndReadsBackTheSame)
{
    TTestMap map(1, 1, 1);
    map.Names = {"\xCA\x95\\\x99"};
    map.Images = {"\x83"};
    ASSERT_EQ(ExportRecord(map.Bind(), Folder.Path("lone.csv")), 0);
    ASSERT_EQ(ImportFile(Folder.Path("lone.csv")), 0);
    EXPECT_EQ(Text(Imported.Layers[0].Name), "\xCA\x95\\");
    EXPECT_EQ(Imported.Layers[0].PartsImage, nullptr);

    WriteFileText(Folder.Path("found.csv"),
                  std::string(reinterpret_cast<const char *>(FuzzFoundFile), sizeof FuzzFoundFile));
    ASSERT_EQ(ImportFile(Folder.Path("found.csv")), 0);
    ASSERT_EQ(Imported.LayerCount, 1);
    EXPECT_EQ(Imported.Layers[0].Visible, 1);
    const std::vector<uint16_t> cells = Cells(0);
    ASSERT_EQ(ExportRecord(Imported, Folder.Path("saved.csv")), 0);
    ASSERT_EQ(ImportFile(Folder.Path("saved.csv")), 0);
    EXPECT_EQ(Imported.Layers[0].Visible, 1);
    EXPECT_EQ(Cells(0), cells);
    ASSERT_EQ(ExportRecord(Imported, Folder.Path("resaved.csv")), 0);
    EXPECT_EQ(ReadFileText(Folder.Path("resaved.csv")), ReadFileText(Folder.Path("saved.csv")));
}

TEST_F(CsvPluginTest, CellValuesFollowTheTokenRules)
{
    ASSERT_EQ(ImportText("3,2,32,32,1,8,0,0,0,0,0,0\n\"a\",\"\",1\n"
                         "1, 2 ,x\n"
                         "65541,0x1F,-2.9\n"),
              0);
    EXPECT_EQ(Cells(0), (std::vector<uint16_t>{1, 2, 0, 5, 31, 65534}));
}

TEST_F(CsvPluginTest, EmptyLinesSeparateLayersHoweverManyThereAre)
{
    ASSERT_EQ(ImportText("2,1,32,32,2,8,0,0,0,0,0,0\n\"a\",\"\",1\n\"b\",\"\",1\n"
                         "1,2\n\n\n\r\n3,4\r\n"),
              0);
    EXPECT_EQ(Cells(0), (std::vector<uint16_t>{1, 2}));
    EXPECT_EQ(Cells(1), (std::vector<uint16_t>{3, 4}));
}

TEST_F(CsvPluginTest, BlocksBeyondTheLayerCountAreIgnored)
{
    ASSERT_EQ(ImportText(Header3x2 + "\"a\",\"\",1\n1,2,3\n4,5,6\n\n9,9\n\n9,9,9,9\n"), 0);
    EXPECT_EQ(Cells(0), (std::vector<uint16_t>{1, 2, 3, 4, 5, 6}));
}

TEST_F(CsvPluginTest, MalformedFilesAreBrokenAndLeaveNothingOwned)
{
    const std::vector<std::string> broken = {
        "1,2,3,4,5,6,7,8,9,10,11\n",                       // short header
        Header3x2 + "Ground,\"\",1\n1,2,3\n4,5,6\n",       // name not a string
        Header3x2 + "\"a\";\"\",1\n1,2,3\n4,5,6\n",        // no comma
        Header3x2 + "\"a\",x,1\n1,2,3\n4,5,6\n",           // reference not a string
        Header3x2 + "\"a\",\"\",\n",                       // no visibility
        Header3x2 + "\"a\",\"\",1\n",                      // no cells
        Header3x2 + "\"a\",\"\",1\n1,2,3\n",               // too few rows
        Header3x2 + "\"a\",\"\",1\n1,2,3\n4,5,6\n7,8,9\n", // too many rows
        Header3x2 + "\"a\",\"\",1\n1,2,3,4\n5,6,7\n",      // long row
        Header3x2 + "\"a\",\"\",1\n1,\"open\n4,5,6\n",     // broken string
        "3,2,32,32,2,8,0,0,0,0,0,0\n\"a\",\"\",1\n\"b\",\"\",1\n1,2,3\n4,5,6\n", // one block for
                                                                                 // two
        "100000,100000,32,32,1,8,0,0,0,0,0,0\n\"a\",\"\",1\n1\n", // claims more than the file
    };
    for (const std::string &text : broken) {
        SCOPED_TRACE(text.substr(0, 80));
        EXPECT_EQ(ImportText(text), 4);
        EXPECT_TRUE(RecordOwnsNothing(Imported));
    }
}

// Rows and blocks shorter than the longest leave their missing values 0; what counts is
// that the longest row times the most rows makes the map's size. A byte order mark in
// front of the header is no value.
TEST_F(CsvPluginTest, ShortRowsAndBlocksAreFilledWithZeros)
{
    const std::string text = "\xEF\xBB\xBF"
                             "3,2,32,32,2,8,0,0,0,0,0,0\n\"a\",\"\",1\n\"b\",\"\",1\n"
                             "1,2,3\n4,5\n\n"
                             "7\n";
    EXPECT_EQ(Supported("bom.csv", text), 0);
    ASSERT_EQ(ImportText(text), 0);
    EXPECT_EQ(Imported.Width, 3u);
    EXPECT_EQ(Cells(0), (std::vector<uint16_t>{1, 2, 3, 4, 5, 0}));
    EXPECT_EQ(Cells(1), (std::vector<uint16_t>{7, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Text(Imported.Layers[1].Name), "b");

    // Two rows of at most two values make 2 × 2 cells, which is not the map's 3 × 2.
    EXPECT_EQ(ImportText(Header3x2 + "\"a\",\"\",1\n1,2\n4\n"), 4);
    EXPECT_TRUE(RecordOwnsNothing(Imported));
}

TEST_F(CsvPluginTest, ProgressAndCancel)
{
    TTestMap map(2, 2, 3);
    const std::string path = Folder.Path("p.csv");
    TProgressLog::Reset();
    ASSERT_EQ(ExportRecord(map.Bind(), path, TProgressLog::Callback), 0);
    ASSERT_EQ(TProgressLog::Calls.size(), 3u);
    EXPECT_EQ(TProgressLog::Calls[2].Position, 2);
    EXPECT_EQ(TProgressLog::Calls[2].Total, 3);
    EXPECT_EQ(TProgressLog::Calls[2].Message, "Exporting...");

    TProgressLog::Reset();
    ASSERT_EQ(ImportFile(path, TProgressLog::Callback), 0);
    ASSERT_EQ(TProgressLog::Calls.size(), 3u);
    EXPECT_EQ(TProgressLog::Calls[1].Position, 1);
    EXPECT_EQ(TProgressLog::Calls[1].Message, "Importing...");

    TProgressLog::Reset(1);
    EXPECT_EQ(ImportFile(path, TProgressLog::Callback), 7);
    EXPECT_TRUE(RecordOwnsNothing(Imported));

    const std::string before = ReadFileText(path);
    TTestMap other(5, 5, 2);
    TProgressLog::Reset(1);
    EXPECT_EQ(ExportRecord(other.Bind(), path, TProgressLog::Callback), 7);
    EXPECT_EQ(ReadFileText(path), before);
    EXPECT_EQ(Folder.Entries(), std::vector<std::string>{"p.csv"});
}

TEST_F(CsvPluginTest, FailedWriteKeepsThePreviousFile)
{
    TTestMap map(300, 300, 2);
    const std::string path = Folder.Path("keep.csv");
    WriteFileText(path, "the user's good file");
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int32_t result = ExportRecord(map.Bind(), path);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(result, 5);
    EXPECT_EQ(ReadFileText(path), "the user's good file");
    EXPECT_EQ(Folder.Entries(), std::vector<std::string>{"keep.csv"});
    EXPECT_EQ(ExportRecord(map.Bind(), Folder.Path("missing/x.csv")), 5);
}

TEST_F(CsvPluginTest, ExportOfALayerWithoutCellsIsRefused)
{
    TTestMap map(2, 2, 1);
    PluginMapRecord &record = map.Bind();
    map.Layers[0].Cells = nullptr;
    EXPECT_EQ(ExportRecord(record, Folder.Path("x.csv")), 3);
    EXPECT_TRUE(Folder.Entries().empty());
}

TEST_F(CsvPluginTest, EveryTruncationIsHandled)
{
    TTestMap map(3, 2, 2);
    map.Images = {"a.bmp", ""};
    ASSERT_EQ(ExportRecord(map.Bind(), Folder.Path("whole.csv")), 0);
    const std::string whole = ReadFileText(Folder.Path("whole.csv"));
    for (size_t length = 0; length < whole.size(); ++length) {
        SCOPED_TRACE(length);
        const int32_t result = ImportText(whole.substr(0, length));
        if (result != 0) {
            EXPECT_EQ(result, 4);
            EXPECT_TRUE(RecordOwnsNothing(Imported));
        }
    }
}

TEST_F(CsvPluginTest, WritesTheFuzzSeedCorpus)
{
    const std::string root = std::string(TESSELLA_BUILD_DIR) + "/fuzz";
    const std::string folder = root + "/corpus-csv";
    mkdir(root.c_str(), 0755);
    mkdir(folder.c_str(), 0755);
    TTestMap map(4, 3, 2);
    map.Names = {"quoted \"name\"", "back\\slash"};
    map.Images = {"dir\\a.bmp", ""};
    ASSERT_EQ(ExportRecord(map.Bind(), folder + "/written.csv"), 0);
    WriteFileText(folder + "/tokens.csv", "3,2,0x20,32.5,1,8,0,0,0,0,0,0 // header\r\n"
                                          "'a\\\n  b',,1 /* c */\r\n"
                                          "1, 2 ,x\r\n-3,0x1F,4.5\r\n\r\n");
    WriteFileText(folder + "/sjis.csv", Header3x2 + "\"\x95\\\",\"\",1\n1,2,3\n4,5,6\n\n");
    struct stat info {
    };
    EXPECT_EQ(stat((folder + "/written.csv").c_str(), &info), 0);
}
