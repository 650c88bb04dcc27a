#include "CliTestSupport.h"
#include "common/ImportedRecord.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace
{

// Two layers of a 16-bit map whose second layer is hidden and whose parts images are
// not even there: a conversion keeps every reference anyway.
struct TProjectMap {
    TTestMap Map{5, 3, 2};

    TProjectMap()
    {
        Map.Names = {"Ground", "\xC3\x9C"
                               "ber \xE4\xB8\x8A"};
        Map.Images = {"art\\tiles.png", "art\\deco.png"};
        Map.Cells[0] = {0, 1, 2, 300, 65535, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
        Map.Cells[1] = {300, 300, 7, 300, 4096, 300, 300, 300, 300, 1, 2, 3, 300, 300, 300};
        Map.Comment = "first line\nsecond line";
        Map.Hidden = {1, 2, 3, 4, 5};
        PluginMapRecord &record = Map.Bind();
        Map.Layers[0].Visible = 1;
        Map.Layers[1].Visible = 0;
        record.PartsWidth = 16;
        record.PartsHeight = 24;
        record.PathMode = 1;
        record.AlignFlags = 1;
        record.TransEnabled = 1;
        record.TransColor = 0x00FF00FF;
        record.UseInvisiblePart = 1;
        record.InvisiblePart = 300;
        record.EditorFlags[1] = 1;
        record.GridColor = 0x123456;
        record.AGridColor = 0x654321;
        record.Zoom = 384;
    }
};

class TCommandLine : public ::testing::Test
{
protected:
    TTempFolder Folder;

    bool Exists(const std::string &name) const { return fs::exists(Folder.Path(name)); }
};

} // namespace

TEST_F(TCommandLine, HelpAndVersionNeedNothingElse)
{
    const TRun help = RunTessella({"--help"}, Folder.Root());
    EXPECT_EQ(help.Status, 0);
    EXPECT_EQ(help.Out.rfind("Usage:\n  Tessella [FILE]", 0), 0u) << help.Out;
    EXPECT_NE(help.Out.find("--render SOURCE IMAGE [--zoom PERCENT] [--all-layers]"),
              std::string::npos);
    EXPECT_EQ(help.Err, "");
    const TRun version = RunTessella({"--version"}, Folder.Root());
    EXPECT_EQ(version.Status, 0);
    EXPECT_EQ(version.Out, "Tessella 0.1.0.0\n");
}

// tzp → csv → tzp keeps every cell, name, reference, visibility, the transparency and the
// invisible part; tzp → tzp keeps the rest of the project too. Paths are relative to the
// current folder of the shell.
TEST_F(TCommandLine, ConversionsRoundTripEverythingTheFormatsHold)
{
    TProjectMap source;
    WriteProject(Folder.Path("level.tzp"), source.Map.Record);
    fs::create_directories(Folder.Path("csv"));

    TRun run = RunTessella({"--convert", "level.tzp", "csv/level.csv"}, Folder.Root());
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Err, "");
    // Seen from the CSV's own folder.
    EXPECT_NE(
        ReadFileText(Folder.Path("csv/level.csv")).find("\"Ground\",\"..\\\\art\\\\tiles.png\",1"),
        std::string::npos);
    run = RunTessella({"--convert", "level.csv", "../back.tzp"}, Folder.Path("csv"));
    ASSERT_EQ(run.Status, 0) << run.Err;
    run = RunTessella({"--convert", "level.tzp", "copy.tzp"}, Folder.Root(),
                      {"DISPLAY=:4242"}); // a display that does not exist is never asked
    ASSERT_EQ(run.Status, 0) << run.Err;

    for (const char *name : {"back.tzp", "copy.tzp"}) {
        SCOPED_TRACE(name);
        PluginMapRecord back{};
        ASSERT_EQ(ReadProject(Folder.Path(name), back), prSuccess);
        const PluginMapRecord &expected = source.Map.Record;
        EXPECT_EQ(back.Width, 5u);
        EXPECT_EQ(back.Height, 3u);
        EXPECT_EQ(back.PartsWidth, 16u);
        EXPECT_EQ(back.PartsHeight, 24u);
        EXPECT_EQ(back.BitCount, 16);
        EXPECT_EQ(back.PathMode, 1);
        EXPECT_EQ(back.AlignFlags, 1);
        EXPECT_EQ(back.TransEnabled, 1);
        EXPECT_EQ(back.TransColor, 0x00FF00FFu);
        EXPECT_EQ(back.UseInvisiblePart, 1);
        EXPECT_EQ(back.InvisiblePart, 300);
        ASSERT_EQ(back.LayerCount, 2);
        for (int i = 0; i < 2; ++i) {
            EXPECT_STREQ(back.Layers[i].Name, source.Map.Names[static_cast<size_t>(i)].c_str());
            EXPECT_STREQ(back.Layers[i].PartsImage,
                         source.Map.Images[static_cast<size_t>(i)].c_str());
            EXPECT_EQ(back.Layers[i].Visible, expected.Layers[i].Visible);
            EXPECT_EQ(std::vector<uint16_t>(back.Layers[i].Cells, back.Layers[i].Cells + 15),
                      source.Map.Cells[static_cast<size_t>(i)]);
        }
        if (std::string(name) == "copy.tzp") {
            // Only the project format carries these.
            EXPECT_STREQ(back.Comment, "first line\nsecond line");
            EXPECT_EQ(std::vector<uint8_t>(back.HiddenData, back.HiddenData + back.HiddenSize),
                      source.Map.Hidden);
            EXPECT_EQ(back.EditorFlags[1], 1);
            EXPECT_EQ(back.GridColor, 0x123456u);
            EXPECT_EQ(back.AGridColor, 0x654321u);
            EXPECT_EQ(back.Zoom, 384);
            EXPECT_EQ(back.TransReserved, 255);
        }
        FreeImportedRecord(back);
    }
}

TEST_F(TCommandLine, InfoDescribesTheMapAsTextAndAsJson)
{
    TProjectMap source;
    WriteProject(Folder.Path("level.tzp"), source.Map.Record);
    fs::create_directories(Folder.Path("art"));
    WriteFileText(Folder.Path("art/tiles.png"), "not read by --info");
    const std::string root = Folder.Root();

    const TRun json = RunTessella({"--info", "--json", "level.tzp"}, root);
    ASSERT_EQ(json.Status, 0) << json.Err;
    EXPECT_EQ(
        json.Out,
        "{\"file\":\"" + root +
            "/level.tzp\",\"reader\":\"tzp.so\",\"width\":5,"
            "\"height\":3,\"partsWidth\":16,\"partsHeight\":24,\"bitCount\":16,"
            "\"alignment\":\"image\",\"transparency\":{\"enabled\":true,\"color\":\"#FF00FF\"},"
            "\"invisiblePart\":{\"enabled\":true,\"part\":300},"
            "\"comment\":\"first line\\nsecond line\",\"layers\":["
            "{\"index\":0,\"name\":\"Ground\",\"visible\":true,\"partsImage\":\"art\\\\tiles.png\","
            "\"resolvedPartsImage\":\"" +
            root +
            "/art/tiles.png\",\"partsImageFound\":true,"
            "\"nonEmptyCells\":14},"
            "{\"index\":1,\"name\":\"\xC3\x9C"
            "ber \xE4\xB8\x8A\",\"visible\":false,"
            "\"partsImage\":\"art\\\\deco.png\",\"resolvedPartsImage\":\"" +
            root + "/art/deco.png\",\"partsImageFound\":false,\"nonEmptyCells\":5}]}\n");

    const TRun text = RunTessella({"--info", root + "/level.tzp"}, "/");
    ASSERT_EQ(text.Status, 0) << text.Err;
    EXPECT_EQ(text.Out, "File:           " + root +
                            "/level.tzp (read by tzp.so)\n"
                            "Size:           5 x 3 cells\n"
                            "Parts:          16 x 24 pixels\n"
                            "Bits:           16\n"
                            "Alignment:      as many parts per row as the image holds\n"
                            "Transparency:   on, colour #FF00FF\n"
                            "Invisible part: 300\n"
                            "Comment:        first line\n"
                            "                second line\n"
                            "Layers:         2\n"
                            "  0 \"Ground\": shown, 14 non-empty cells\n"
                            "     parts image: art\\tiles.png -> " +
                            root +
                            "/art/tiles.png\n"
                            "  1 \"\xC3\x9C"
                            "ber \xE4\xB8\x8A\": hidden, 5 non-empty cells\n"
                            "     parts image: art\\deco.png -> " +
                            root + "/art/deco.png (not found)\n");
}

// Every failure: the right exit status, the program's own message, and no file.
TEST_F(TCommandLine, BadInputFailsWithAMessageAndWritesNothing)
{
    TProjectMap source;
    WriteProject(Folder.Path("level.tzp"), source.Map.Record);
    WriteFileBytes(Folder.Path("broken.tzp"),
                   TBytes().Text("RIFF").U32(16).Text("UMF_garbage!").Data);
    WriteFileText(Folder.Path("kept.png"), "previous");
    WriteFileText(Folder.Path("plain.csv"),
                  "2,2,16,16,1,8,1,0,0,0,0,0\n\"a\",\"\",1\n0,1\n2,3\n\n");
    const std::string root = Folder.Root();

    struct TCase {
        std::vector<std::string> Arguments;
        int Status;
        std::string Err; // the whole of standard error, or its beginning for usage errors
    };
    const std::string usage = "\n\nUsage:\n";
    const TCase cases[] = {
        {{"--convert", "missing.tzp", "out.csv"}, 1, "Tessella: missing.tzp was not found.\n"},
        {{"--info", "broken.tzp"}, 1, "Tessella: The error occurred while reading broken.tzp. ("},
        {{"--convert", "level.tzp", "out.xyz"},
         1,
         "Tessella: The plug-in that supported writing this file was not found.\n"},
        {{"--convert", "level.tzp", "nowhere/out.csv"},
         1,
         "Tessella: The error occurred while writing out.csv.(File error!(5)@gridcsv.so)\n"},
        {{"--render", "plain.csv", "nowhere/out.png"},
         1,
         "Tessella: The error occurred while writing out.png.(cannot create the file)\n"},
        // Its images are not there: the picture would be wrong, the old one stays.
        {{"--render", "level.tzp", "kept.png"},
         1,
         "Tessella: caution: tiles.png was not found.\n"
         "Tessella: caution: deco.png was not found.\n"
         "Tessella: The error occurred while writing kept.png.(the parts image of layer 0 "
         "cannot be read: " +
             root + "/art/tiles.png)\n"},
        {{"--render", "level.tzp", "out.png", "--zoom", "0"},
         2,
         "Tessella: the zoom must be a percentage from 6.25 to 300, not 0" + usage},
        {{"--render", "level.tzp", "out.png", "--zoom=10000"},
         2,
         "Tessella: the zoom must be a percentage from 6.25 to 300, not 10000" + usage},
        {{"--render", "level.tzp", "out.jpg"},
         2,
         "Tessella: the picture must be a .png or .bmp file: " + root + "/out.jpg" + usage},
        {{"--convert", "level.tzp"},
         2,
         "Tessella: --convert needs a source and a target file" + usage},
        {{"--info", "level.tzp", "--zoom", "50"},
         2,
         "Tessella: unknown option --zoom for --info" + usage},
        {{"--frobnicate"}, 2, "Tessella: unknown command --frobnicate" + usage},
    };
    for (const TCase &c : cases) {
        const TRun run = RunTessella(c.Arguments, root);
        std::string trace;
        for (const std::string &argument : c.Arguments)
            trace += argument + " ";
        SCOPED_TRACE(trace);
        EXPECT_EQ(run.Status, c.Status);
        EXPECT_EQ(run.Out, "");
        if (c.Status == 2)
            EXPECT_EQ(run.Err.rfind(c.Err, 0), 0u) << run.Err;
        else if (c.Err.back() == '(')
            EXPECT_EQ(run.Err.rfind(c.Err, 0), 0u) << run.Err;
        else
            EXPECT_EQ(run.Err, c.Err);
    }
    EXPECT_EQ(ReadFileText(Folder.Path("kept.png")), "previous");
    EXPECT_EQ(Folder.Entries(),
              (std::vector<std::string>{"broken.tzp", "kept.png", "level.tzp", "plain.csv"}));
}
