#include "common/platform/CurrentDirectory.h"
#include "tests/common/PluginTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace
{

class TTmxPlugin : public ::testing::Test
{
protected:
    TLoadedFilePlugin Plugin{"tmx.so"};
    TTestWindow Window;
    TTempFolder Folder;

    int32_t Export(const std::string &name, PluginMapRecord &record, ProgressProc progress = GoOn)
    {
        return Plugin.Export(Window.Handle(), Folder.Path(name).c_str(), &record, progress);
    }
};

} // namespace

TEST_F(TTmxPlugin, ExportsWithTheApiVersionOfTheOtherPlugins)
{
    EXPECT_EQ(Plugin.GetApiVersion(), 2);
    EXPECT_NE(Plugin.Export, nullptr);
    // Reading is the import's part (TiledImportTest); a file that is not there is not read.
    EXPECT_EQ(Plugin.IsSupported(Folder.Path("any.tmx").c_str()), prNotSupported);
}

// Image alignment with a partial column, a shared image written twice (the bottom layer
// opaque), the invisible part, a hidden layer, a layer without image, markup in names
// and a comment of several lines.
TEST_F(TTmxPlugin, WritesLayersTilesetsAndIdsThroughTheImagesOwnColumns)
{
    // 40 × 32 pixels of 16-pixel parts: the map counts 3 columns (the last one partial),
    // the TMX reader 2 whole columns and 2 rows.
    WriteFileBytes(Folder.Path("tiles.bmp"), BmpFile(40, 32));
    TTestMap map(3, 2, 3);
    map.Names = {"ground & <base>", "top", "notes"};
    map.Images = {"tiles.bmp", "tiles.bmp", ""};
    map.Cells = {{0, 1, 2, 3, 4, 5}, {9, 1, 9, 3, 9, 7}, {1, 2, 3, 4, 5, 6}};
    map.Comment = "line one\nsecond \"line\" & more";
    PluginMapRecord &record = map.Bind(true, false);
    record.PartsWidth = 16;
    record.PartsHeight = 16;
    record.BitCount = 8;
    record.AlignFlags = 1;
    record.TransEnabled = 1;
    record.TransColor = 0x00112233;
    record.UseInvisiblePart = 1;
    record.InvisiblePart = 9;
    map.Layers[0].Visible = map.Layers[2].Visible = 1;

    ASSERT_EQ(Export("map.tmx", record), prSuccess);
    EXPECT_EQ(ReadFileText(Folder.Path("map.tmx")),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<map version=\"1.8\" orientation=\"orthogonal\" renderorder=\"right-down\" "
              "width=\"3\" height=\"2\" tilewidth=\"16\" tileheight=\"16\" infinite=\"0\" "
              "nextlayerid=\"4\" nextobjectid=\"1\">\n"
              " <properties>\n"
              "  <property name=\"comment\">line one\nsecond &quot;line&quot; &amp; "
              "more</property>\n"
              " </properties>\n"
              " <tileset firstgid=\"1\" name=\"tiles\" tilewidth=\"16\" tileheight=\"16\" "
              "tilecount=\"4\" columns=\"2\">\n"
              "  <image source=\"tiles.bmp\" width=\"40\" height=\"32\"/>\n"
              " </tileset>\n"
              " <tileset firstgid=\"5\" name=\"tiles\" tilewidth=\"16\" tileheight=\"16\" "
              "tilecount=\"4\" columns=\"2\">\n"
              "  <image source=\"tiles.bmp\" trans=\"332211\" width=\"40\" height=\"32\"/>\n"
              " </tileset>\n"
              " <layer id=\"1\" name=\"ground &amp; &lt;base&gt;\" width=\"3\" height=\"2\">\n"
              "  <data encoding=\"csv\">\n1,2,0,\n3,4,0\n</data>\n"
              " </layer>\n"
              " <layer id=\"2\" name=\"top\" width=\"3\" height=\"2\" visible=\"0\">\n"
              "  <data encoding=\"csv\">\n0,6,0,\n7,0,0\n</data>\n"
              " </layer>\n"
              " <layer id=\"3\" name=\"notes\" width=\"3\" height=\"2\">\n"
              "  <data encoding=\"csv\">\n0,0,0,\n0,0,0\n</data>\n"
              " </layer>\n"
              "</map>\n");
}

// Fixed alignment of a 16-bit map (256 parts per row whatever the image), references
// into a subfolder and to an image only the current directory (the project's folder)
// holds, no transparency, text that is not UTF-8.
TEST_F(TTmxPlugin, WritesFixedAlignmentIdsAndImagePathsRelativeToTheMapFile)
{
    std::filesystem::create_directories(Folder.Path("art"));
    std::filesystem::create_directories(Folder.Path("project"));
    std::filesystem::create_directories(Folder.Path("out"));
    WriteFileBytes(Folder.Path("art/tiles.bmp"), BmpFile(64, 32));
    WriteFileBytes(Folder.Path("project/walls.bmp"), BmpFile(16, 48));
    TTestMap map(4, 1, 2);
    map.Names = {"a\x82\xA0", "b"};
    map.Images = {"..\\art\\tiles.bmp", "walls.bmp"};
    map.Cells = {{257, 4, 256, 3}, {0, 256, 512, 1}};
    PluginMapRecord &record = map.Bind(false, false);
    record.PartsWidth = 16;
    record.PartsHeight = 16;
    record.BitCount = 16;
    record.AlignFlags = 0;
    map.Layers[0].Visible = map.Layers[1].Visible = 1;
    const std::string remembered = GetCurrentDirectoryPath();
    ASSERT_TRUE(SetCurrentDirectoryPath(Folder.Path("project")));
    const int32_t result = Export("out/map.tmx", record);
    SetCurrentDirectoryPath(remembered);
    ASSERT_EQ(result, prSuccess);
    EXPECT_EQ(ReadFileText(Folder.Path("out/map.tmx")),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<map version=\"1.8\" orientation=\"orthogonal\" renderorder=\"right-down\" "
              "width=\"4\" height=\"1\" tilewidth=\"16\" tileheight=\"16\" infinite=\"0\" "
              "nextlayerid=\"3\" nextobjectid=\"1\">\n"
              " <tileset firstgid=\"1\" name=\"tiles\" tilewidth=\"16\" tileheight=\"16\" "
              "tilecount=\"8\" columns=\"4\">\n"
              "  <image source=\"../art/tiles.bmp\" width=\"64\" height=\"32\"/>\n"
              " </tileset>\n"
              " <tileset firstgid=\"9\" name=\"walls\" tilewidth=\"16\" tileheight=\"16\" "
              "tilecount=\"3\" columns=\"1\">\n"
              "  <image source=\"../project/walls.bmp\" width=\"16\" height=\"48\"/>\n"
              " </tileset>\n"
              " <layer id=\"1\" name=\"a\xEF\xBF\xBD\xEF\xBF\xBD\" width=\"4\" height=\"1\">\n"
              "  <data encoding=\"csv\">\n6,0,5,4\n</data>\n"
              " </layer>\n"
              " <layer id=\"2\" name=\"b\" width=\"4\" height=\"1\">\n"
              "  <data encoding=\"csv\">\n9,10,11,0\n</data>\n"
              " </layer>\n"
              "</map>\n");
}

TEST_F(TTmxPlugin, FailuresWriteNothingAndKeepThePreviousFile)
{
    WriteFileBytes(Folder.Path("tiles.bmp"), BmpFile(32, 32));
    TTestMap map(2, 2, 2);
    map.Images = {"tiles.bmp", "tiles.bmp"};
    PluginMapRecord &record = map.Bind(false, false);
    record.PartsWidth = 16;
    record.PartsHeight = 16;
    record.BitCount = 8;
    WriteFileText(Folder.Path("map.tmx"), "previous");

    EXPECT_EQ(Plugin.Export(nullptr, Folder.Path("map.tmx").c_str(), &record, GoOn),
              prBadParameter);
    EXPECT_EQ(Plugin.Export(Window.Handle(), nullptr, &record, GoOn), prBadParameter);
    EXPECT_EQ(Plugin.Export(Window.Handle(), Folder.Path("map.tmx").c_str(), nullptr, GoOn),
              prBadParameter);
    EXPECT_EQ(Plugin.Export(Window.Handle(), Folder.Path("map.tmx").c_str(), &record, nullptr),
              prBadParameter);

    // Cancelled after the first layer.
    TProgressLog::Reset(1);
    EXPECT_EQ(Export("map.tmx", record, TProgressLog::Callback), prCancelled);
    ASSERT_EQ(TProgressLog::Calls.size(), 1u);
    EXPECT_EQ(TProgressLog::Calls[0].Message, "Exporting...");
    EXPECT_EQ(TProgressLog::Calls[0].Total, 2);

    // A parts image that is not there, and one whose size cannot be read.
    map.Images[1] = "missing.bmp";
    map.Bind(false, false);
    EXPECT_EQ(Export("map.tmx", record), prFileError);
    WriteFileText(Folder.Path("broken.bmp"), "BM");
    map.Images[1] = "broken.bmp";
    map.Bind(false, false);
    EXPECT_EQ(Export("map.tmx", record), prFileError);

    // A folder that does not exist.
    map.Images[1] = "tiles.bmp";
    map.Bind(false, false);
    EXPECT_EQ(Export("nowhere/map.tmx", record), prFileError);

    EXPECT_EQ(ReadFileText(Folder.Path("map.tmx")), "previous");
    EXPECT_EQ(Folder.Entries(), (std::vector<std::string>{"broken.bmp", "map.tmx", "tiles.bmp"}));
}
