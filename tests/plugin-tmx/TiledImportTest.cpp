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
    EXPECT_TRUE(Window.Notices.empty()) << Window.Notices[0];
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
              "(0.3: hidden); the tint colour of \"Fog\"; the animations of 1 tile of \"signs\"; "
              "the collision shapes of 1 tile of \"signs\".");
    EXPECT_EQ(Folder.Entries(), (std::vector<std::string>{"map.tmx", "sign.png", "terrain.png"}));

    // A host from before notices is not asked, and the map still opens.
    Window.Notices.clear();
    Window.Window.StructSize = offsetof(TessellaWindow, ShowNotice);
    TImportedMap again;
    Import("map.tmx", again);
    EXPECT_EQ(again.Result, prSuccess);
    EXPECT_TRUE(Window.Notices.empty()) << Window.Notices[0];
}

namespace
{

// Tiles 8 wide and 16 tall on an 8-pixel grid, with a margin and spacing of 1: tile 0 is
// red over green, tile 1 blue on its left half and transparent on its right.
uint32_t TreeColour(int32_t x, int32_t y)
{
    if (x == 0 || y == 0 || x == 9 || x == 18 || y == 17)
        return 0x000000FF; // the margin and spacing, never part of a tile
    if (x < 9)
        return y <= 8 ? 0xFF0000FF : 0x00FF00FF;
    return x < 14 ? 0x0000FFFF : 0x00000000;
}

// Two grid-sized tiles behind a margin of 1: grey and brown.
uint32_t GrassColour(int32_t x, int32_t y)
{
    if (x == 0 || y == 0 || x == 17 || y == 9)
        return 0x000000FF;
    return x < 9 ? 0x808080FF : 0x804000FF;
}

uint32_t PixelOf(const TRgbaImage &image, int32_t x, int32_t y)
{
    const uint8_t *p = image.At(x, y);
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

} // namespace

// Tall tiles cut across the cells they cover, a second layer where one covers another,
// flipped tiles and margins: parts images of their own, with the terrain sets that fit.
TEST_F(TTiledImport, TallFlippedAndSpacedTilesGetPartsImagesOfTheirOwn)
{
    WriteTestPng(Folder.Path("trees.png"), 19, 18, TreeColour);
    WriteTestPng(Folder.Path("grass.png"), 18, 10, GrassColour);
    // A user's own file of the name the grass parts would take: kept, another name chosen.
    WriteFileText(Folder.Path("Grass.tessella.png"), "mine");
    const std::string body =
        "<tileset firstgid=\"1\" name=\"Trees\" tilewidth=\"8\" tileheight=\"16\" margin=\"1\" "
        "spacing=\"1\">\n <image source=\"trees.png\"/>\n <wangsets><wangset name=\"Wood\" "
        "type=\"corner\" tile=\"0\"><wangcolor name=\"Oak\" color=\"#00ff00\" tile=\"0\"/>"
        "<wangtile tileid=\"0\" wangid=\"0,1,0,1,0,1,0,1\"/></wangset></wangsets>\n"
        "</tileset>\n"
        "<tileset firstgid=\"3\" name=\"Grass\" tilewidth=\"8\" tileheight=\"8\" margin=\"1\">\n"
        " <image source=\"grass.png\"/>\n <tile id=\"0\" probability=\"0.5\"/>\n"
        " <wangsets><wangset name=\"Meadow\" type=\"corner\" tile=\"1\"><wangcolor "
        "name=\"Grass\" color=\"#808080\" tile=\"0\" probability=\"1\"/><wangtile tileid=\"1\" "
        "wangid=\"0,1,0,1,0,1,0,1\"/></wangset></wangsets>\n</tileset>\n"
        "<layer name=\"Trees\" width=\"2\" height=\"3\"><data encoding=\"csv\">0,0,1,0,1,"
        "2147483650</data></layer>\n"
        "<layer name=\"Meadow\" width=\"2\" height=\"3\"><data encoding=\"csv\">3,4,4,3,0,0"
        "</data></layer>\n";
    WriteFileText(Folder.Path("map.tmx"), TmxMap(2, 3, 8, body));
    TImportedMap map;
    Import("map.tmx", map);
    ASSERT_EQ(map.Result, prSuccess) << (Window.Notices.empty() ? "" : Window.Notices.back());
    ASSERT_EQ(map.Record.LayerCount, 4);
    // The trees' parts are partly transparent: an empty layer goes below them, as Tessella
    // draws its bottom layer without the transparent colour.
    EXPECT_EQ(map.Name(0), "Base");
    EXPECT_EQ(map.Image(0), "");
    EXPECT_EQ(map.Cells(0), std::vector<uint16_t>(6, kEmpty));
    // The tree at (0, 1) covers (0, 0) and (0, 1); the one at (0, 2) covers (0, 1) with its
    // top over the other's trunk, so that part goes one layer up. The flipped tile at
    // (1, 2) is a variant of its own below the tileset's tiles.
    EXPECT_EQ(map.Name(1), "Trees");
    EXPECT_EQ(map.Cells(1), (std::vector<uint16_t>{0, kEmpty, 2, 4, 2, 6}));
    EXPECT_EQ(map.Name(2), "Trees (2)");
    EXPECT_EQ(map.Cells(2), (std::vector<uint16_t>{kEmpty, kEmpty, 0, kEmpty, kEmpty, kEmpty}));
    EXPECT_EQ(map.Name(3), "Meadow");
    EXPECT_EQ(map.Cells(3), (std::vector<uint16_t>{0, 1, 1, 0, kEmpty, kEmpty}));
    EXPECT_EQ(map.Image(1), "Trees.tessella.png");
    EXPECT_EQ(map.Image(2), "Trees.tessella.png");
    EXPECT_EQ(map.Image(3), "Grass (2).tessella.png");
    // Transparent parts of the made image need the transparent colour.
    EXPECT_EQ(map.Record.TransEnabled, 1);
    EXPECT_EQ(map.Record.TransColor, 0x00FF00FFu);

    TRgbaImage trees;
    std::string reason;
    ASSERT_TRUE(ReadPngFile(Folder.Path("Trees.tessella.png"), trees, reason)) << reason;
    ASSERT_EQ(trees.Width, 16);
    ASSERT_EQ(trees.Height, 32);
    EXPECT_EQ(PixelOf(trees, 3, 3), 0xFF0000FFu);  // part 0: the tree's top
    EXPECT_EQ(PixelOf(trees, 3, 11), 0x00FF00FFu); // part 2: its trunk
    EXPECT_EQ(PixelOf(trees, 9, 3), 0x0000FFFFu);  // part 1: tile 1 as it is
    EXPECT_EQ(PixelOf(trees, 13, 3) & 0xFF, 0u);
    EXPECT_EQ(PixelOf(trees, 1, 19) & 0xFF, 0u); // part 4: tile 1 mirrored
    EXPECT_EQ(PixelOf(trees, 6, 19), 0x0000FFFFu);
    EXPECT_EQ(ReadFileText(Folder.Path("Trees.tessella.tsx")),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<!-- Tessella: parts of the tileset \"Trees\" on the map's grid -->\n"
              "<tileset version=\"1.8\" name=\"Trees\" tilewidth=\"8\" tileheight=\"8\" "
              "tilecount=\"8\" columns=\"2\">\n"
              " <image source=\"Trees.tessella.png\" width=\"16\" height=\"32\"/>\n"
              " <wangsets>\n"
              "  <wangset name=\"Wood\" type=\"corner\" tile=\"-1\">\n"
              "   <wangcolor name=\"Oak\" color=\"#00ff00\" tile=\"-1\" probability=\"1\"/>\n"
              "  </wangset>\n"
              " </wangsets>\n"
              "</tileset>\n");
    EXPECT_EQ(ReadFileText(Folder.Path("Grass (2).tessella.tsx")),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<!-- Tessella: parts of the tileset \"Grass\" on the map's grid -->\n"
              "<tileset version=\"1.8\" name=\"Grass\" tilewidth=\"8\" tileheight=\"8\" "
              "tilecount=\"2\" columns=\"2\">\n"
              " <image source=\"Grass (2).tessella.png\" width=\"16\" height=\"8\"/>\n"
              " <tile id=\"0\" probability=\"0.5\"/>\n"
              " <wangsets>\n"
              "  <wangset name=\"Meadow\" type=\"corner\" tile=\"1\">\n"
              "   <wangcolor name=\"Grass\" color=\"#808080\" tile=\"0\" probability=\"1\"/>\n"
              "   <wangtile tileid=\"1\" wangid=\"0,1,0,1,0,1,0,1\"/>\n"
              "  </wangset>\n"
              " </wangsets>\n"
              "</tileset>\n");
    ASSERT_EQ(Window.Notices.size(), 1u);
    EXPECT_EQ(Window.Notices[0],
              "map.tmx: left out what the map cannot hold: the terrain tiles of \"Trees\" larger "
              "than a part. Written beside it: Trees.tessella.png, Trees.tessella.tsx, Grass "
              "(2).tessella.png and Grass (2).tessella.tsx.");
    EXPECT_EQ(ReadFileText(Folder.Path("Grass.tessella.png")), "mine");

    // Opened again: the same files, none added, the user's left alone.
    const std::vector<std::string> entries = Folder.Entries();
    TImportedMap again;
    Import("map.tmx", again);
    ASSERT_EQ(again.Result, prSuccess);
    EXPECT_EQ(again.Image(3), "Grass (2).tessella.png");
    EXPECT_EQ(Folder.Entries(), entries);
}

// Tilesets drawn at the grid's size (Tiled 1.9 and later): stretched, or fitted and
// centred when they keep their aspect, into one cell each.
TEST_F(TTiledImport, TilesDrawnAtGridSizeAreScaledIntoTheirCell)
{
    // 16 × 8 tiles: the left half red, the right half blue.
    WriteTestPng(Folder.Path("wide.png"), 16, 8,
                 [](int32_t x, int32_t) { return x < 8 ? 0xFF0000FFu : 0x0000FFFFu; });
    const auto map = [](const char *fill) {
        return TmxMap(1, 1, 8,
                      "<tileset firstgid=\"1\" name=\"wide\" tilewidth=\"16\" tileheight=\"8\" "
                      "tilerendersize=\"grid\"" +
                          std::string(fill) +
                          "><image source=\"wide.png\"/></tileset>\n<layer name=\"a\" "
                          "width=\"1\" height=\"1\"><data encoding=\"csv\">1</data></layer>\n");
    };
    WriteFileText(Folder.Path("stretch.tmx"), map(""));
    WriteFileText(Folder.Path("fit.tmx"), map(" fillmode=\"preserve-aspect-fit\""));
    for (const bool fit : {false, true}) {
        SCOPED_TRACE(fit);
        TImportedMap imported;
        Import(fit ? "fit.tmx" : "stretch.tmx", imported);
        ASSERT_EQ(imported.Result, prSuccess);
        ASSERT_EQ(imported.Image(imported.Record.LayerCount - 1), "wide.tessella.png");
        TRgbaImage parts;
        std::string reason;
        ASSERT_TRUE(ReadPngFile(Folder.Path("wide.tessella.png"), parts, reason));
        ASSERT_EQ(parts.Width, 8);
        // Stretched: four columns of each half in every row; fitted: 8 × 4 in rows 2 to 5.
        EXPECT_EQ(PixelOf(parts, 3, 0) & 0xFF, fit ? 0u : 0xFFu);
        EXPECT_EQ(PixelOf(parts, 3, 2), 0xFF0000FFu);
        EXPECT_EQ(PixelOf(parts, 4, 5), 0x0000FFFFu);
        EXPECT_EQ(PixelOf(parts, 4, 7), fit ? 0xFF00FF00u : 0x0000FFFFu);
    }
}

TEST_F(TTiledImport, TheTransparentColourIsTheTilesetsOrMagentaForAlpha)
{
    WriteTestPng(Folder.Path("keyed.png"), 8, 8,
                 [](int32_t x, int32_t) { return x < 4 ? 0x00FF00FFu : 0x123456FFu; });
    WriteTestPng(Folder.Path("alpha.png"), 8, 8,
                 [](int32_t x, int32_t) { return x < 4 ? 0x00000000u : 0x654321FFu; });
    const auto tileset = [](int first, const char *name, const char *image, const char *trans) {
        return "<tileset firstgid=\"" + std::to_string(first) + "\" name=\"" + name +
               "\" tilewidth=\"8\" tileheight=\"8\"><image source=\"" + image + "\"" + trans +
               "/></tileset>\n";
    };
    // One trans colour: it is the map's, the image is used as it is.
    WriteFileText(Folder.Path("keyed.tmx"),
                  TmxMap(1, 1, 8,
                         tileset(1, "keyed", "keyed.png", " trans=\"00ff00\"") +
                             "<layer name=\"a\" width=\"1\" height=\"1\"><data "
                             "encoding=\"csv\">1</data></layer>\n"));
    TImportedMap keyed;
    Import("keyed.tmx", keyed);
    ASSERT_EQ(keyed.Result, prSuccess);
    EXPECT_EQ(keyed.Record.TransEnabled, 1);
    EXPECT_EQ(keyed.Record.TransColor, 0x0000FF00u);
    ASSERT_EQ(keyed.Record.LayerCount, 2);
    EXPECT_EQ(keyed.Name(0), "Base");
    EXPECT_EQ(keyed.Image(1), "keyed.png");
    // With alpha beside it, magenta; the keyed tileset's colour becomes alpha in parts of
    // its own.
    WriteFileText(Folder.Path("both.tmx"),
                  TmxMap(2, 1, 8,
                         tileset(1, "keyed", "keyed.png", " trans=\"00ff00\"") +
                             tileset(2, "alpha", "alpha.png", "") +
                             "<layer name=\"a\" width=\"2\" height=\"1\"><data "
                             "encoding=\"csv\">1,2</data></layer>\n"));
    TImportedMap both;
    Import("both.tmx", both);
    ASSERT_EQ(both.Result, prSuccess);
    EXPECT_EQ(both.Record.TransColor, 0x00FF00FFu);
    ASSERT_EQ(both.Record.LayerCount, 3);
    EXPECT_EQ(both.Image(1), "keyed.tessella.png");
    EXPECT_EQ(both.Image(2), "alpha.png");
    TRgbaImage parts;
    std::string reason;
    ASSERT_TRUE(ReadPngFile(Folder.Path("keyed.tessella.png"), parts, reason));
    EXPECT_EQ(PixelOf(parts, 1, 1), 0xFF00FF00u);
    EXPECT_EQ(PixelOf(parts, 6, 1), 0x123456FFu);
}

// A tileset of 300 tiles needs 16-bit cells; 65535 is then the empty cell.
TEST_F(TTiledImport, MoreThanTwoHundredFiftyFivePartsMakeASixteenBitMap)
{
    WriteTestPng(Folder.Path("big.png"), 160, 120, [](int32_t, int32_t) { return 0x102030FFu; });
    WriteFileText(Folder.Path("big.tmx"),
                  TmxMap(2, 1, 8,
                         "<tileset firstgid=\"1\" name=\"big\" tilewidth=\"8\" tileheight=\"8\">"
                         "<image source=\"big.png\"/></tileset>\n<layer name=\"a\" width=\"2\" "
                         "height=\"1\"><data encoding=\"csv\">300,0</data></layer>\n"));
    TImportedMap map;
    Import("big.tmx", map);
    ASSERT_EQ(map.Result, prSuccess);
    EXPECT_EQ(map.Record.BitCount, 16);
    EXPECT_EQ(map.Record.InvisiblePart, 65535);
    EXPECT_EQ(map.Cells(0), (std::vector<uint16_t>{299, 65535}));
}

// Every broken case says which file and what is wrong, returns the matching code, and
// leaves nothing allocated and no file behind.
TEST_F(TTiledImport, BrokenFilesSayWhatIsWrongAndLeaveNothingBehind)
{
    WriteTestPng(Folder.Path("tall.png"), 8, 16, [](int32_t, int32_t) { return 0xFFFFFFFFu; });
    WriteFileBytes(Folder.Path("tall.bmp"), BmpFile(8, 16));
    WriteFileText(Folder.Path("notes.txt"), "not a picture");
    WriteFileText(Folder.Path("broken.tsx"), "<tileset name=\"x\">\n<image source=\"a.png\">");
    const std::vector<uint8_t> six = IdBytes(kIds);
    const std::vector<uint8_t> seven = IdBytes({1, 2, 0, 4, 3, 1, 1});
    std::vector<uint8_t> cut = ZlibBytes(six);
    cut.resize(cut.size() - 6);
    const auto tmx = [&](const std::string &data, const std::string &tilesets = kTerrainTileset,
                         const std::string &attributes = "") {
        return TmxMap(3, 2, 8, tilesets + Layer(data, attributes));
    };
    const auto tallTileset = [](const char *image) {
        return "<tileset firstgid=\"1\" name=\"tall\" tilewidth=\"8\" tileheight=\"16\" "
               "margin=\"0\"><image source=\"" +
               std::string(image) + "\"/></tileset>\n";
    };
    struct TCase {
        const char *Name;
        std::string Text;
        int32_t Code;
        std::string Message;
    };
    const std::vector<TCase> cases = {
        {"xml.tmx", TmxMap(3, 2, 8, "<layer name=\"a\">\n <data></layer>\n"), prBrokenFile,
         "xml.tmx: the XML is broken at line 4, column 10 (Start-end tags mismatch)"},
        {"json.tmj", "{\"type\":\"map\",\n\"width\":3,,}", prBrokenFile,
         "json.tmj: the JSON is broken at line 2, column 11"},
        {"base64.tmx", tmx(" encoding=\"base64\">AAA*"), prBrokenFile,
         "base64.tmx: layer \"Ground\": the base64 data is broken"},
        {"short.tmx", tmx(" encoding=\"base64\">" + Base64(IdBytes({1, 2, 3, 4, 1}))), prBrokenFile,
         "short.tmx: layer \"Ground\": the data is cut short: it holds 5 tiles of the layer's 6"},
        {"cut.tmx", tmx(" encoding=\"base64\" compression=\"zlib\">" + Base64(cut)), prBrokenFile,
         "cut.tmx: layer \"Ground\": the zlib data is cut short"},
        {"long.tmx", tmx(" encoding=\"base64\" compression=\"gzip\">" + Base64(GzipBytes(seven))),
         prBrokenFile,
         "long.tmx: layer \"Ground\": the gzip data holds more than the layer's 6 tiles"},
        {"zstd.tmx", tmx(" encoding=\"base64\" compression=\"zstd\">" + Base64(ZstdBytes(seven))),
         prBrokenFile,
         "zstd.tmx: layer \"Ground\": the zstd data holds more than the layer's 6 tiles"},
        {"csv.tmx", tmx(" encoding=\"csv\">1,2,3,4,1,2,3"), prBrokenFile,
         "csv.tmx: layer \"Ground\": the data holds more than the layer's 6 tiles"},
        {"csvword.tmx", tmx(" encoding=\"csv\">1,2,x,4,1,2"), prBrokenFile,
         "csvword.tmx: layer \"Ground\": entry 3 of the CSV data is not a tile id"},
        {"larger.tmx",
         TmxMap(3, 2, 8, kTerrainTileset + "<layer name=\"Ground\" width=\"4\" height=\"2\"/>\n"),
         prBrokenFile, "larger.tmx: the layer \"Ground\" (4 × 2) is larger than the map (3 × 2)"},
        {"moved.tmx", tmx(" encoding=\"csv\">1,0,0,0,0,0", kTerrainTileset, " offsetx=\"1e30\""),
         prBrokenFile, "moved.tmx: the layer \"Ground\" is moved further than any map reaches"},
        {"past.tmx", tmx(" encoding=\"csv\">1,9,0,0,0,0"), prBrokenFile,
         "past.tmx: layer \"Ground\", cell 1, 0: the tile id 9 is past every tileset (the last, "
         "\"terrain\", ends at 4)"},
        {"notileset.tmx", tmx(" encoding=\"csv\">1,0,0,0,0,0", ""), prBrokenFile,
         "notileset.tmx: layer \"Ground\", cell 0, 0: the tile id 1 names a tile, but the map has "
         "no tileset"},
        {"tileset.tmx",
         tmx(" encoding=\"csv\">0,0,0,0,0,0", "<tileset firstgid=\"1\" source=\"gone.tsx\"/>\n"),
         prFileError,
         "tileset.tmx: the tileset gone.tsx cannot be opened (No such file or directory)"},
        {"brokentsx.tmx",
         tmx(" encoding=\"csv\">0,0,0,0,0,0", "<tileset firstgid=\"1\" source=\"broken.tsx\"/>\n"),
         prBrokenFile, "broken.tsx: the XML is broken at line 2, column 22"},
        {"image.tmx",
         tmx(" encoding=\"csv\">1,0,0,0,0,0",
             "<tileset firstgid=\"1\" name=\"t\" tilewidth=\"8\" tileheight=\"8\"><image "
             "source=\"gone.png\"/></tileset>\n"),
         prFileError, "image.tmx: the image gone.png cannot be opened"},
        {"picture.tmx",
         tmx(" encoding=\"csv\">1,0,0,0,0,0",
             "<tileset firstgid=\"1\" name=\"t\" tilewidth=\"8\" tileheight=\"8\"><image "
             "source=\"notes.txt\"/></tileset>\n"),
         prNotSupported, "picture.tmx: the image notes.txt is not a PNG, BMP, GIF or JPEG picture"},
        {"bmp.tmx", tmx(" encoding=\"csv\">2147483649,0,0,0,0,0", tallTileset("tall.bmp")),
         prNotSupported,
         "bmp.tmx: the image tall.bmp is a BMP picture; only PNG pictures can be cut into new "
         "parts"},
        {"iso.tmx",
         "<map orientation=\"isometric\" width=\"3\" height=\"2\" tilewidth=\"8\" "
         "tileheight=\"8\"/>",
         prNotSupported, "iso.tmx: the map is isometric; only orthogonal maps can be opened"},
        {"noparts.tmx", "<map orientation=\"orthogonal\" width=\"3\" height=\"2\"/>", prBrokenFile,
         "noparts.tmx: the tile size 0 × 0 is not a size"},
        {"tilesetfile.tmx", "<tileset name=\"t\"/>", prNotSupported,
         "tilesetfile.tmx: this is a tileset, not a map"},
        {"empty.tmj", "  \n", prBrokenFile, "empty.tmj: the file is empty"},
    };
    const std::vector<std::string> before = Folder.Entries();
    for (const TCase &test : cases) {
        SCOPED_TRACE(test.Name);
        WriteFileText(Folder.Path(test.Name), test.Text);
        Window.Notices.clear();
        TImportedMap map;
        Import(test.Name, map);
        EXPECT_EQ(map.Result, test.Code);
        EXPECT_TRUE(RecordOwnsNothing(map.Record));
        ASSERT_EQ(Window.Notices.size(), 1u);
        EXPECT_EQ(Window.Notices[0].substr(0, test.Message.size()), test.Message)
            << Window.Notices[0];
        std::filesystem::remove(Folder.Path(test.Name));
    }
    EXPECT_EQ(Folder.Entries(), before);
}

// A cancel after the first layer frees everything and writes no parts image.
TEST_F(TTiledImport, CancellingLeavesNothingAndWritesNothing)
{
    WriteTestPng(Folder.Path("tall.png"), 8, 16, [](int32_t, int32_t) { return 0xFFFFFFFFu; });
    WriteFileText(Folder.Path("map.tmx"),
                  TmxMap(3, 2, 8,
                         "<tileset firstgid=\"1\" name=\"tall\" tilewidth=\"8\" "
                         "tileheight=\"16\"><image source=\"tall.png\"/></tileset>\n" +
                             kTerrainTileset.substr(0, 19) + "2" + kTerrainTileset.substr(20) +
                             Layer(" encoding=\"csv\">0,0,0,1,2,0")));
    const std::vector<std::string> before = Folder.Entries();
    TProgressLog::Reset(1);
    TImportedMap map;
    Import("map.tmx", map, TProgressLog::Callback);
    EXPECT_EQ(map.Result, prCancelled);
    EXPECT_TRUE(RecordOwnsNothing(map.Record));
    ASSERT_EQ(TProgressLog::Calls.size(), 1u);
    EXPECT_EQ(TProgressLog::Calls[0].Message, "Importing...");
    EXPECT_EQ(TProgressLog::Calls[0].Total, 2);
    EXPECT_EQ(Folder.Entries(), before);
}

// The plug-in's own maps come back cell for cell: image alignment, the empty part 255, a
// transparent colour, hidden layers, names and the comment.
TEST_F(TTiledImport, WhatTheExportWroteOpensWithEveryCell)
{
    WriteFileBytes(Folder.Path("tiles.bmp"), BmpFile(32, 32));
    WriteTestPng(Folder.Path("terrain.png"), 32, 32,
                 [](int32_t x, int32_t y) { return 0x102030FFu + (x / 16 + y / 16 * 2) * 0x100; });
    TTestMap source(3, 2, 3);
    source.Names = {"ground", "top & more", "notes"};
    source.Images = {"tiles.bmp", "terrain.png", ""};
    source.Cells = {{0, 1, 255, 2, 3, 0}, {255, 3, 2, 255, 1, 0}, std::vector<uint16_t>(6, 255)};
    source.Comment = "line one\nline two";
    PluginMapRecord &record = source.Bind(true, false);
    record.PartsWidth = 16;
    record.PartsHeight = 16;
    record.BitCount = 8;
    record.AlignFlags = 1;
    record.TransEnabled = 1;
    record.TransColor = 0x00563412;
    record.UseInvisiblePart = 1;
    record.InvisiblePart = 255;
    source.Layers[0].Visible = source.Layers[2].Visible = 1;
    ASSERT_EQ(Plugin.Export(Window.Handle(), Folder.Path("map.tmx").c_str(), &record, GoOn),
              prSuccess);
    TImportedMap map;
    Import("map.tmx", map);
    ASSERT_EQ(map.Result, prSuccess) << (Window.Notices.empty() ? "" : Window.Notices.back());
    EXPECT_EQ(map.Record.Width, 3u);
    EXPECT_EQ(map.Record.PartsWidth, 16u);
    EXPECT_EQ(map.Record.BitCount, 8);
    EXPECT_EQ(map.Record.AlignFlags, 1);
    EXPECT_EQ(map.Record.TransEnabled, 1);
    EXPECT_EQ(map.Record.TransColor, 0x00563412u);
    EXPECT_EQ(map.Record.InvisiblePart, 255);
    ASSERT_NE(map.Record.Comment, nullptr);
    EXPECT_STREQ(map.Record.Comment, "line one\nline two");
    ASSERT_EQ(map.Record.LayerCount, 3);
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(map.Name(i), source.Names[i]);
        EXPECT_EQ(map.Image(i), source.Images[i]);
        EXPECT_EQ(map.Record.Layers[i].Visible, source.Layers[i].Visible);
        EXPECT_EQ(map.Cells(i), source.Cells[i]);
    }
    EXPECT_TRUE(Window.Notices.empty()) << Window.Notices[0];
}

// Small maps of every form and encoding, over the tilesets the fuzz target writes beside
// them (tiles.tsx, tall.tsx, tiles.tsj and their picture tiles.png).
TEST(TTiledImportCorpus, WritesTheFuzzSeedCorpus)
{
    const std::filesystem::path corpus =
        std::filesystem::path(TESSELLA_BUILD_DIR) / "fuzz" / "corpus-tiled";
    std::filesystem::create_directories(corpus);
    const std::vector<uint32_t> ids = {1, 2, 3, 0, 0x80000002u, 5, 0x20000001u, 4, 2, 1, 0, 3};
    const std::vector<uint8_t> bytes = IdBytes(ids);
    const std::string tiles = "<tileset firstgid=\"1\" source=\"tiles.tsx\"/>\n";
    const std::string tall = "<tileset firstgid=\"7\" source=\"tall.tsx\"/>\n";
    const std::string layer = "<layer name=\"a\" width=\"4\" height=\"3\" offsetx=\"3\">\n";
    const std::vector<std::string> seeds = {
        TmxMap(4, 3, 8,
               tiles + layer + "<data encoding=\"csv\">" + CsvIds(ids, 4) + "</data></layer>\n"),
        TmxMap(4, 3, 8,
               "<tileset firstgid=\"1\" name=\"e\" tilewidth=\"8\" tileheight=\"8\" "
               "spacing=\"1\"><image source=\"tiles.png\" trans=\"102030\"/></tileset>\n" +
                   layer + "<data encoding=\"base64\" compression=\"zlib\">" +
                   Base64(ZlibBytes(bytes)) + "</data></layer>\n"),
        TmxMap(4, 3, 8,
               tiles + tall +
                   "<layer name=\"t\" width=\"4\" height=\"3\"><data encoding=\"base64\" "
                   "compression=\"gzip\">" +
                   Base64(GzipBytes(IdBytes({7, 8, 0x40000009u, 0, 7, 7, 7, 7, 0, 8, 1, 2}))) +
                   "</data></layer>\n"),
        TmxMap(4, 3, 8,
               tiles +
                   "<layer name=\"i\" width=\"4\" height=\"3\"><data encoding=\"base64\" "
                   "compression=\"zstd\"><chunk x=\"-4\" y=\"2\" width=\"4\" height=\"3\">" +
                   Base64(ZstdBytes(bytes)) + "</chunk></data></layer>\n",
               " infinite=\"1\""),
        TmxMap(4, 3, 8,
               tiles +
                   "<group name=\"g\" opacity=\"0.7\"><properties><property name=\"p\" "
                   "value=\"1\"/></properties><layer name=\"x\" width=\"2\" height=\"1\"><data>"
                   "<tile gid=\"1\"/><tile/></data></layer></group>\n<objectgroup name=\"o\"/>\n"),
        "{\"type\":\"map\",\"orientation\":\"orthogonal\",\"width\":4,\"height\":3,"
        "\"tilewidth\":8,\"tileheight\":8,\"tilesets\":[{\"firstgid\":1,\"source\":"
        "\"tiles.tsj\"}],\"layers\":[{\"type\":\"tilelayer\",\"name\":\"a\",\"width\":4,"
        "\"height\":3,\"data\":[1,2,3,0,2147483650,1,1,2,3,0,0,2]}]}",
        "{\"type\":\"map\",\"orientation\":\"orthogonal\",\"renderorder\":\"left-up\","
        "\"width\":4,\"height\":3,\"tilewidth\":8,\"tileheight\":8,\"infinite\":true,"
        "\"tilesets\":[{\"firstgid\":1,\"source\":\"tiles.tsx\"}],\"layers\":[{\"type\":"
        "\"tilelayer\",\"name\":\"c\",\"encoding\":\"base64\",\"compression\":\"zlib\","
        "\"chunks\":[{\"x\":16,\"y\":0,\"width\":4,\"height\":3,\"data\":\"" +
            Base64(ZlibBytes(bytes)) + "\"}]}]}",
        "{\"type\":\"map\",\"orientation\":\"orthogonal\",\"width\":2,\"height\":2,"
        "\"tilewidth\":8,\"tileheight\":8,\"tilesets\":[{\"firstgid\":1,\"name\":\"c\","
        "\"tilewidth\":16,\"tileheight\":24,\"tiles\":[{\"id\":0,\"image\":\"tiles.png\"},"
        "{\"id\":3,\"image\":\"tiles.png\",\"x\":2,\"y\":3,\"width\":5,\"height\":9}],"
        "\"wangsets\":[{\"name\":\"w\",\"type\":\"edge\",\"tile\":0,\"colors\":[{\"name\":"
        "\"a\",\"color\":\"#00ff00\",\"tile\":3}],\"wangtiles\":[{\"tileid\":3,\"wangid\":"
        "[1,0,1,0,1,0,1,0]}]}]}],\"layers\":[{\"type\":\"tilelayer\",\"name\":\"k\","
        "\"width\":2,\"height\":2,\"data\":[1,4,1073741828,0]}]}",
    };
    for (size_t i = 0; i < seeds.size(); ++i)
        WriteFileText((corpus / ("seed-" + std::to_string(i))).string(), seeds[i]);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(corpus),
                            std::filesystem::directory_iterator()),
              static_cast<ptrdiff_t>(seeds.size()));
}
