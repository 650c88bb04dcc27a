// Opening Tiled maps through the built tmx.so as the editor does: every encoding and both
// forms, tilesets mixed in a layer, tall, flipped and spaced tiles cut into parts of their
// own, the notice, the transparent colour, broken files, and the way back from a record.
#include "plugins/tmx/PngFile.h"
#include "tests/plugin-tmx/TiledTestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace
{

constexpr uint16_t kEmpty = 255;

// Four 8-pixel tiles in a 16 × 16 picture: red, green, blue, white.
uint32_t TerrainColour(int32_t x, int32_t y)
{
    static const uint32_t colours[4] = {0xFF0000FF, 0x00FF00FF, 0x0000FFFF, 0xFFFFFFFF};
    return colours[(y / 8) * 2 + x / 8];
}

const std::string kTerrainTileset = "<tileset firstgid=\"1\" name=\"terrain\" tilewidth=\"8\" "
                                    "tileheight=\"8\" tilecount=\"4\" columns=\"2\">\n"
                                    " <image source=\"terrain.png\" width=\"16\" height=\"16\"/>\n"
                                    "</tileset>\n";

// The layer every encoding below holds: 3 × 2 cells.
const std::vector<uint32_t> kIds = {1, 2, 0, 4, 3, 1};
const std::vector<uint16_t> kCells = {0, 1, kEmpty, 3, 2, 0};

class TTiledImport : public ::testing::Test
{
protected:
    TLoadedFilePlugin Plugin{"tmx.so"};
    TTestWindow Window;
    TTempFolder Folder;

    void SetUp() override { WriteTestPng(Folder.Path("terrain.png"), 16, 16, TerrainColour); }
    void Import(const std::string &name, TImportedMap &map, ProgressProc progress = GoOn)
    {
        map.Result =
            Plugin.Import(Window.Handle(), Folder.Path(name).c_str(), &map.Record, progress);
    }
    std::string Layer(const std::string &data, const std::string &attributes = "")
    {
        return "<layer id=\"1\" name=\"Ground\" width=\"3\" height=\"2\"" + attributes +
               ">\n <data" + data + "</data>\n</layer>\n";
    }
};

std::string Json(const std::string &layer, const std::string &tilesets)
{
    return "{\"type\":\"map\",\"orientation\":\"orthogonal\",\"renderorder\":\"right-down\","
           "\"width\":3,\"height\":2,\"tilewidth\":8,\"tileheight\":8,\"infinite\":false,"
           "\"tilesets\":[" +
           tilesets + "],\"layers\":[" + layer + "]}";
}

const char *kJsonTerrain = "{\"firstgid\":1,\"name\":\"terrain\",\"tilewidth\":8,"
                           "\"tileheight\":8,\"tilecount\":4,\"columns\":2,"
                           "\"image\":\"terrain.png\",\"imagewidth\":16,\"imageheight\":16}";

} // namespace

TEST_F(TTiledImport, DescribesItselfAsImportAndExportWithNothingElseExported)
{
    FilePluginInfo info{};
    Plugin.GetTessellaPluginInfo(&info);
    EXPECT_EQ(info.Flags, static_cast<uint32_t>(pfImport | pfExport));
    EXPECT_STREQ(info.Filter, "Tiled Map(*.tmx;*.tmj)|*.tmx;*.tmj");
    EXPECT_EQ(ExportedSymbols(PluginPath("tmx.so")),
              (std::set<std::string>{"Export", "GetApiVersion", "GetTessellaPluginInfo", "Import",
                                     "IsSupported"}));
    // By name, and by content whatever the name; never a file that is not there.
    WriteFileText(Folder.Path("a.TMX"), "broken");
    WriteFileText(Folder.Path("b.tmj"), "{}");
    WriteFileText(Folder.Path("c.xml"), "<?xml version=\"1.0\"?>\n<!-- x -->\n<map width=\"1\">");
    WriteFileText(Folder.Path("d.json"), "{\"orientation\":\"orthogonal\",\"tilesets\":[]}");
    WriteFileText(Folder.Path("e.xml"), "<tileset name=\"x\"/>");
    WriteFileText(Folder.Path("f.csv"), "1,2,3");
    for (const char *name : {"a.TMX", "b.tmj", "c.xml", "d.json"})
        EXPECT_EQ(Plugin.IsSupported(Folder.Path(name).c_str()), prSuccess) << name;
    for (const char *name : {"e.xml", "f.csv", "missing.tmx"})
        EXPECT_EQ(Plugin.IsSupported(Folder.Path(name).c_str()), prNotSupported) << name;
    // The writer writes TMX only: a .tmj target goes on to the next plug-in.
    TTestMap map(1, 1, 1);
    PluginMapRecord &record = map.Bind(false, false);
    EXPECT_EQ(Plugin.Export(Window.Handle(), Folder.Path("x.tmj").c_str(), &record, GoOn),
              prNotSupported);
    TImportedMap imported;
    EXPECT_EQ(Plugin.Import(nullptr, Folder.Path("a.TMX").c_str(), &imported.Record, GoOn),
              prBadParameter);
}

TEST_F(TTiledImport, EveryEncodingAndBothFormsGiveTheSameCells)
{
    const std::vector<uint8_t> bytes = IdBytes(kIds);
    const std::string tiles = [] {
        std::string text;
        for (const uint32_t id : kIds)
            text += id == 0 ? "  <tile/>\n" : "  <tile gid=\"" + std::to_string(id) + "\"/>\n";
        return text;
    }();
    WriteFileText(Folder.Path("terrain.tsx"),
                  "<?xml version=\"1.0\"?>\n<tileset name=\"terrain\" tilewidth=\"8\" "
                  "tileheight=\"8\"><image source=\"terrain.png\"/></tileset>\n");
    WriteFileText(Folder.Path("terrain.tsj"),
                  "{\"type\":\"tileset\",\"name\":\"terrain\",\"tilewidth\":8,\"tileheight\":8,"
                  "\"image\":\"terrain.png\"}");
    const std::vector<std::pair<std::string, std::string>> files = {
        {"csv.tmx",
         TmxMap(3, 2, 8, kTerrainTileset + Layer(" encoding=\"csv\">\n" + CsvIds(kIds, 3)))},
        {"tiles.tmx", TmxMap(3, 2, 8, kTerrainTileset + Layer(">\n" + tiles))},
        {"base64.tmx",
         TmxMap(3, 2, 8,
                kTerrainTileset + Layer(" encoding=\"base64\">\n   " + Base64(bytes) + "\n  "))},
        {"zlib.tmx", TmxMap(3, 2, 8,
                            kTerrainTileset + Layer(" encoding=\"base64\" compression=\"zlib\">" +
                                                    Base64(ZlibBytes(bytes))))},
        {"gzip.tmx", TmxMap(3, 2, 8,
                            kTerrainTileset + Layer(" encoding=\"base64\" compression=\"gzip\">" +
                                                    Base64(GzipBytes(bytes))))},
        {"zstd.tmx", TmxMap(3, 2, 8,
                            "<tileset firstgid=\"1\" source=\"terrain.tsx\"/>\n" +
                                Layer(" encoding=\"base64\" compression=\"zstd\">" +
                                      Base64(ZstdBytes(bytes))))},
        {"tsj.tmx", TmxMap(3, 2, 8,
                           "<tileset firstgid=\"1\" source=\"terrain.tsj\"/>\n" +
                               Layer(" encoding=\"csv\">" + CsvIds(kIds, 3)))},
        // An infinite map: its chunks' bounding rectangle.
        {"infinite.tmx",
         TmxMap(7, 7, 8,
                kTerrainTileset +
                    "<layer id=\"1\" name=\"Ground\" width=\"7\" height=\"7\">\n <data "
                    "encoding=\"csv\">\n"
                    "  <chunk x=\"-1\" y=\"5\" width=\"3\" height=\"1\">1,2,0</chunk>\n"
                    "  <chunk x=\"-1\" y=\"6\" width=\"3\" height=\"1\">4,3,1</chunk>\n"
                    " </data>\n</layer>\n",
                " infinite=\"1\"")},
        {"array.tmj", Json("{\"type\":\"tilelayer\",\"name\":\"Ground\",\"width\":3,\"height\":2,"
                           "\"data\":[1,2,0,4,3,1]}",
                           kJsonTerrain)},
        {"base64.tmj", Json("{\"type\":\"tilelayer\",\"name\":\"Ground\",\"width\":3,\"height\":2,"
                            "\"encoding\":\"base64\",\"compression\":\"zlib\",\"data\":\"" +
                                Base64(ZlibBytes(bytes)) + "\"}",
                            "{\"firstgid\":1,\"source\":\"terrain.tsj\"}")},
        {"chunks.tmj", "{\"type\":\"map\",\"orientation\":\"orthogonal\",\"width\":9,\"height\":9,"
                       "\"tilewidth\":8,\"tileheight\":8,\"infinite\":true,\"tilesets\":[" +
                           std::string(kJsonTerrain) +
                           "],\"layers\":[{\"type\":\"tilelayer\","
                           "\"name\":\"Ground\",\"chunks\":[{\"x\":16,\"y\":-32,\"width\":3,"
                           "\"height\":1,\"data\":[1,2,0]},{\"x\":16,\"y\":-31,\"width\":3,"
                           "\"height\":1,\"data\":[4,3,1]}]}]}"},
    };
    for (const auto &[name, text] : files) {
        SCOPED_TRACE(name);
        WriteFileText(Folder.Path(name), text);
        TImportedMap map;
        Import(name, map);
        ASSERT_EQ(map.Result, prSuccess) << (Window.Notices.empty() ? "" : Window.Notices.back());
        const PluginMapRecord &record = map.Record;
        EXPECT_EQ(record.Width, 3u);
        EXPECT_EQ(record.Height, 2u);
        EXPECT_EQ(record.PartsWidth, 8u);
        EXPECT_EQ(record.PartsHeight, 8u);
        EXPECT_EQ(record.BitCount, 8);
        EXPECT_EQ(record.PathMode, 1);
        EXPECT_EQ(record.AlignFlags, 1);
        EXPECT_EQ(record.TransEnabled, 0);
        EXPECT_EQ(record.UseInvisiblePart, 1);
        EXPECT_EQ(record.InvisiblePart, kEmpty);
        ASSERT_EQ(record.LayerCount, 1);
        EXPECT_EQ(map.Name(0), "Ground");
        EXPECT_EQ(map.Image(0), "terrain.png");
        EXPECT_EQ(record.Layers[0].Visible, 1);
        EXPECT_EQ(map.Cells(0), kCells);
    }
    // Nothing to say, nothing written beside the maps.
    EXPECT_TRUE(Window.Notices.empty());
}

// A layer over two tilesets, a hidden group, a layer at a third of its opacity, an empty
// layer, and what the map cannot hold, named in one notice.
TEST_F(TTiledImport, MixedTilesetsSplitTheLayerAndTheNoticeNamesWhatIsLeftOut)
{
    WriteTestPng(Folder.Path("sign.png"), 8, 8, [](int32_t, int32_t) { return 0x808000FF; });
    const std::string body =
        "<properties>\n <property name=\"comment\" value=\"made in Tiled\"/>\n"
        " <property name=\"author\" value=\"me\"/>\n</properties>\n" +
        std::string(kTerrainTileset) +
        "<tileset firstgid=\"5\" name=\"signs\" tilewidth=\"8\" tileheight=\"8\">\n"
        " <image source=\"sign.png\"/>\n"
        " <tile id=\"0\"><animation><frame tileid=\"0\" duration=\"100\"/></animation>"
        "<objectgroup><object x=\"0\" y=\"0\" width=\"2\" height=\"2\"/></objectgroup></tile>\n"
        "</tileset>\n" +
        Layer(" encoding=\"csv\">1,5,2,\n5,0,4") +
        "<group name=\"Roofs\" visible=\"0\">\n <properties><property name=\"z\" value=\"1\"/>"
        "</properties>\n <layer name=\"Roof\" width=\"3\" height=\"2\"><data encoding=\"csv\">"
        "0,0,3,0,0,0</data></layer>\n</group>\n"
        "<layer name=\"Fog\" width=\"3\" height=\"2\" opacity=\"0.3\" tintcolor=\"#ff0000\">"
        "<data encoding=\"csv\">4,4,4,4,4,4</data></layer>\n"
        "<layer name=\"Empty\" width=\"3\" height=\"2\"/>\n"
        "<objectgroup name=\"Spawn\"><object x=\"1\" y=\"1\"/></objectgroup>\n"
        "<imagelayer name=\"Sky\"><image source=\"sky.png\"/></imagelayer>\n";
    WriteFileText(Folder.Path("map.tmx"), TmxMap(3, 2, 8, body, " backgroundcolor=\"#000000\""));
    TImportedMap map;
    Import("map.tmx", map);
    ASSERT_EQ(map.Result, prSuccess);
    ASSERT_EQ(map.Record.LayerCount, 5);
    const std::vector<std::string> names = {"Ground", "Ground (2)", "Roof", "Fog", "Empty"};
    const std::vector<std::string> images = {"terrain.png", "sign.png", "terrain.png",
                                             "terrain.png", ""};
    const std::vector<uint8_t> visible = {1, 1, 0, 0, 1};
    const std::vector<std::vector<uint16_t>> cells = {{0, kEmpty, 1, kEmpty, kEmpty, 3},
                                                      {kEmpty, 0, kEmpty, 0, kEmpty, kEmpty},
                                                      {kEmpty, kEmpty, 2, kEmpty, kEmpty, kEmpty},
                                                      {3, 3, 3, 3, 3, 3},
                                                      std::vector<uint16_t>(6, kEmpty)};
    for (size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(map.Name(i), names[i]);
        EXPECT_EQ(map.Image(i), images[i]);
        EXPECT_EQ(map.Record.Layers[i].Visible, visible[i]);
        EXPECT_EQ(map.Cells(i), cells[i]);
    }
    ASSERT_NE(map.Record.Comment, nullptr);
    EXPECT_STREQ(map.Record.Comment, "made in Tiled");
    ASSERT_EQ(Window.Notices.size(), 1u);
    EXPECT_EQ(Window.Notices[0],
              "map.tmx: left out what the map cannot hold: the object layer \"Spawn\"; the "
              "image layer \"Sky\"; the group \"Roofs\" (their layers are kept); the background "
              "colour; the properties of the map and group \"Roofs\"; the opacity of \"Fog\" "
              "0.3, hidden; the tint colour of \"Fog\"; the animations of 1 tile of \"signs\"; "
              "the collision shapes of 1 tile of \"signs\".");
    EXPECT_EQ(Folder.Entries(), (std::vector<std::string>{"map.tmx", "sign.png", "terrain.png"}));

    // A host from before notices is not asked, and the map still opens.
    Window.Notices.clear();
    Window.Window.StructSize = offsetof(TessellaWindow, ShowNotice);
    TImportedMap again;
    Import("map.tmx", again);
    EXPECT_EQ(again.Result, prSuccess);
    EXPECT_TRUE(Window.Notices.empty());
}
