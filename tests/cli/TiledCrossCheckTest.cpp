// Tiled maps opened by Tessella against Tiled's own renderer, tmxrasterizer (Debian's tiled
// package, which scripts/install-deps.sh installs): the example maps the package ships,
// a map of our own with every feature the import takes over, the same maps as .tzp and
// back as .tmx, and their JSON forms written by Tiled itself.
#include "CliTestSupport.h"

#include <QPainter>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>

namespace fs = std::filesystem;

namespace
{

const char *kExamples = "/usr/share/doc/tiled/examples";

bool HavePeer()
{
    return std::system("command -v tmxrasterizer >/dev/null && command -v tiled >/dev/null") == 0;
}

// Pixels of the peer's picture of Map, with the object layers (and Hidden) left out.
QImage PeerPicture(const TTempFolder &folder, const std::string &map, const std::string &out,
                   const std::string &hidden = "")
{
    std::string arguments = "--hide-layer Objects ";
    if (!hidden.empty())
        arguments += "--hide-layer '" + hidden + "' ";
    EXPECT_EQ(RunPeer(folder.Root(), arguments + "'" + map + "' '" + out + "'"), 0)
        << ReadFileText(folder.Path("peer.log"));
    return ReadPicture(folder.Path(out));
}

QImage OurPicture(const TTempFolder &folder, const std::string &map, const std::string &out)
{
    const TRun run = RunTessella({"--render", map, out}, folder.Root());
    EXPECT_EQ(run.Status, 0) << run.Err;
    return ReadPicture(folder.Path(out));
}

bool SamePixels(const QImage &a, const QImage &b)
{
    return a.size() == b.size() &&
           a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

struct TExample {
    const char *Map;
    // A layer Tiled draws partly transparent: the pixels it changes are Tessella's rule's.
    const char *Translucent;
};

} // namespace

// Each example renders like tmxrasterizer draws it, opens the same from a .tzp, and comes
// back from the .tzp as a .tmx that tmxrasterizer draws the same.
TEST(TTiledCrossCheck, TheTiledExamplesRenderAsTmxrasterizerDrawsThem)
{
    ASSERT_TRUE(HavePeer()) << "scripts/install-deps.sh installs Debian's tiled package";
    ASSERT_TRUE(fs::is_directory(kExamples));
    TTempFolder folder;
    fs::copy(kExamples, folder.Root(), fs::copy_options::recursive);
    ASSERT_EQ(std::system(("gzip -dk '" + folder.Path("orthogonal-outside.tmx.gz") + "'").c_str()),
              0);
    for (const TExample &example :
         {TExample{"desert.tmx", ""}, TExample{"rpg/island.tmx", ""}, TExample{"sewers.tmx", "Top"},
          TExample{"orthogonal-outside.tmx", ""}, TExample{"perspective_walls.tmx", ""}}) {
        SCOPED_TRACE(example.Map);
        const std::string stem = fs::path(example.Map).stem().string();
        const QImage peer = PeerPicture(folder, example.Map, stem + "-peer.png");
        const QImage ours = OurPicture(folder, example.Map, stem + "-ours.png");
        ASSERT_EQ(peer.size(), ours.size());
        // Where Tiled draws a layer partly transparent, Tessella draws it whole or not at
        // all: those pixels are left out of the count, and so shown apart.
        const bool translucent = *example.Translucent != '\0';
        const QImage solid =
            translucent ? PeerPicture(folder, example.Map, stem + "-solid.png", example.Translucent)
                        : QImage();
        const TAgreement all = CompareOpaque(peer, ours);
        const TAgreement agreement = CompareOpaque(peer, ours, translucent ? &solid : nullptr);
        std::cout << "[ cross-check ] " << example.Map << ": " << all.Percent() << " % of "
                  << all.Compared << " opaque pixels agree";
        if (translucent)
            std::cout << "; " << agreement.Percent() << " % of the " << agreement.Compared
                      << " not under the partly transparent layer \"" << example.Translucent
                      << "\"";
        std::cout << std::endl;
        EXPECT_GE(agreement.Percent(), 99.5);
        EXPECT_GT(agreement.Compared, int64_t{peer.width()} * peer.height() / 20);

        // As a project file: the same picture.
        const std::string project = stem + ".tzp";
        const TRun convert = RunTessella({"--convert", example.Map, project}, folder.Root());
        ASSERT_EQ(convert.Status, 0) << convert.Err;
        EXPECT_TRUE(SamePixels(OurPicture(folder, project, stem + "-tzp.png"), ours));

        // Back to TMX: every tile of the picture is still there, for both renderers.
        const std::string back = stem + "-back.tmx";
        const TRun exported = RunTessella({"--convert", project, back}, folder.Root());
        ASSERT_EQ(exported.Status, 0) << exported.Err;
        EXPECT_TRUE(SamePixels(OurPicture(folder, back, stem + "-back-ours.png"), ours));
        const QImage peerBack = PeerPicture(folder, back, stem + "-back-peer.png");
        EXPECT_GE(CompareOpaque(peer, peerBack, translucent ? &solid : nullptr).Percent(), 99.5);
    }
}

namespace
{

// A picture of Columns × Rows tiles of Width × Height pixels: every tile its own colour
// ramp (so each flip shows), with a transparent notch in the odd ones.
QImage TilesPicture(int columns, int rows, int width, int height, int margin, int spacing)
{
    QImage image(2 * margin + columns * width + (columns - 1) * spacing,
                 2 * margin + rows * height + (rows - 1) * spacing, QImage::Format_ARGB32);
    image.fill(qRgba(10, 20, 30, 255));
    for (int tile = 0; tile < columns * rows; ++tile) {
        const int left = margin + tile % columns * (width + spacing);
        const int top = margin + tile / columns * (height + spacing);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const bool notch = tile % 2 == 1 && x < width / 3 && y < height / 2;
                image.setPixel(left + x, top + y,
                               notch ? qRgba(0, 0, 0, 0)
                                     : qRgba(40 + tile * 23 % 200, x * 200 / width + 30,
                                             y * 200 / height + 20, 255));
            }
    }
    return image;
}

void Save(const QImage &image, const std::string &path)
{
    ASSERT_TRUE(image.save(QString::fromStdString(path)));
}

std::string FeatureMap(const char *renderOrder)
{
    const auto row = [](std::initializer_list<uint64_t> ids) {
        std::string text;
        for (const uint64_t id : ids)
            text += std::to_string(id) + ",";
        return text;
    };
    const uint64_t h = 0x80000000u, v = 0x40000000u, d = 0x20000000u;
    // 8 × 6 cells of 16 pixels.
    std::string ground;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            const uint64_t flags[8] = {0, h, v, d, h | v, h | d, v | d, h | v | d};
            ground += std::to_string((1 + (x + y) % 8) | flags[(x * 3 + y) % 8]);
            ground += x == 7 && y == 5 ? "" : ",";
        }
    std::string mixed =
        row({9, 0, 11 | h, 0, 12 | d, 0, 13, 0}) + row({0, 10 | v, 0, 14, 0, 0, 0, 15}) +
        row({11, 11, 11, 0, 0, 16 | h, 0, 0}) + row({0, 0, 0, 12, 12, 0, 0, 13 | v | d}) +
        row({9 | h, 10, 0, 0, 0, 16, 0, 0}) + row({0, 0, 14 | d, 0, 15 | h, 0, 11 | v, 0});
    mixed.pop_back();
    const std::string deco = "0,0,0,0,0,0,0,0,\n0,17,0,0,18,0,0,0,\n0,0,0,0,0,0,0,0,\n"
                             "0,0,0,17,0,0,18,0,\n0,0,0,0,0,0,0,0,\n0,0,0,0,0,0,0,0";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<map version=\"1.8\" orientation=\"orthogonal\" renderorder=\"" +
           std::string(renderOrder) +
           "\" width=\"8\" height=\"6\" tilewidth=\"16\" tileheight=\"16\" infinite=\"0\">\n"
           " <tileset firstgid=\"1\" name=\"ground\" tilewidth=\"16\" tileheight=\"16\" "
           "margin=\"2\" spacing=\"1\">\n  <image source=\"ground.png\"/>\n </tileset>\n"
           " <tileset firstgid=\"9\" name=\"tall\" tilewidth=\"16\" tileheight=\"32\">\n"
           "  <image source=\"tall.png\"/>\n </tileset>\n"
           " <tileset firstgid=\"11\" name=\"wide\" tilewidth=\"40\" tileheight=\"24\">\n"
           "  <tileoffset x=\"5\" y=\"-3\"/>\n  <image source=\"wide.png\"/>\n </tileset>\n"
           " <tileset firstgid=\"13\" name=\"keyed\" tilewidth=\"16\" tileheight=\"16\">\n"
           "  <image source=\"keyed.png\" trans=\"00ff00\"/>\n </tileset>\n"
           " <tileset firstgid=\"17\" name=\"things\" tilewidth=\"20\" tileheight=\"20\">\n"
           "  <tile id=\"0\"><image source=\"thing0.png\"/></tile>\n"
           "  <tile id=\"1\"><image source=\"thing1.png\"/></tile>\n </tileset>\n"
           " <layer name=\"Ground\" width=\"8\" height=\"6\">\n  <data encoding=\"csv\">\n" +
           ground +
           "\n</data>\n </layer>\n"
           " <layer name=\"Mixed\" width=\"8\" height=\"6\" offsetx=\"7\" offsety=\"4\">\n"
           "  <data encoding=\"csv\">\n" +
           mixed +
           "\n</data>\n </layer>\n"
           " <group name=\"Things\" offsetx=\"-3\">\n"
           "  <layer name=\"Deco\" width=\"8\" height=\"6\">\n   <data encoding=\"csv\">\n" +
           deco + "\n</data>\n  </layer>\n </group>\n</map>\n";
}

} // namespace

// Margins and spacing, every flip on tiles square and not, tiles taller and wider than
// the grid with offsets of the tileset, the layer and its group, a trans colour beside
// alpha, an image collection, several tilesets in one layer, both ways round: every pixel
// tmxrasterizer draws opaque, Tessella draws the same.
TEST(TTiledCrossCheck, EveryFeatureTheImportTakesOverRendersAsTiledDrawsIt)
{
    ASSERT_TRUE(HavePeer());
    TTempFolder folder;
    Save(TilesPicture(4, 2, 16, 16, 2, 1), folder.Path("ground.png"));
    Save(TilesPicture(2, 1, 16, 32, 0, 0), folder.Path("tall.png"));
    Save(TilesPicture(1, 2, 40, 24, 0, 0), folder.Path("wide.png"));
    QImage keyed = TilesPicture(4, 1, 16, 16, 0, 0).convertToFormat(QImage::Format_RGB32);
    for (int y = 2; y < 9; ++y)
        for (int x = 0; x < 64; x += 3)
            keyed.setPixel(x, y, qRgb(0, 255, 0));
    Save(keyed, folder.Path("keyed.png"));
    Save(TilesPicture(1, 1, 20, 12, 0, 0), folder.Path("thing0.png"));
    Save(TilesPicture(2, 1, 8, 16, 0, 0), folder.Path("thing1.png"));
    for (const char *order : {"right-down", "left-up", "right-up", "left-down"}) {
        SCOPED_TRACE(order);
        WriteFileText(folder.Path("map.tmx"), FeatureMap(order));
        // tmxrasterizer widens its picture by the layers' offsets: 7 to the right and 4 down
        // for "Mixed", 3 to the left for the group. The map itself starts 3 pixels in.
        const QImage wide = PeerPicture(folder, "map.tmx", "peer.png");
        ASSERT_EQ(wide.size(), QSize(128 + 3 + 7, 96 + 4));
        const QImage peer = wide.copy(3, 0, 128, 96);
        const QImage ours = OurPicture(folder, "map.tmx", "ours.png");
        ASSERT_EQ(peer.size(), ours.size());
        const TAgreement agreement = CompareOpaque(peer, ours);
        EXPECT_EQ(agreement.Differing, 0);
        EXPECT_GT(agreement.Compared, peer.width() * peer.height() * 3 / 4);
    }
}

// Tiled's own JSON forms of the examples (tilesets in their TSX files and embedded) open
// with the same picture as the XML.
TEST(TTiledCrossCheck, TheJsonFormsTiledWritesOpenAsTheirXml)
{
    ASSERT_TRUE(HavePeer());
    TTempFolder folder;
    fs::copy(kExamples, folder.Root(), fs::copy_options::recursive);
    for (const char *map : {"desert", "rpg/island", "perspective_walls"}) {
        SCOPED_TRACE(map);
        const std::string tmx = std::string(map) + ".tmx";
        for (const char *embed : {"", "--embed-tilesets "}) {
            const std::string tmj = std::string(map) + (*embed != '\0' ? "-embedded" : "") + ".tmj";
            ASSERT_EQ(RunPeer(folder.Root(),
                              "--export-map json " + std::string(embed) + tmx + " " + tmj, "tiled"),
                      0)
                << ReadFileText(folder.Path("peer.log"));
            EXPECT_TRUE(
                SamePixels(OurPicture(folder, tmj, "tmj.png"), OurPicture(folder, tmx, "tmx.png")));
        }
    }
}

// One warning line for what the map cannot hold; one line more, and no picture, for a
// broken file.
TEST(TTiledCrossCheck, TheCommandLineWarnsOnceAndFailsWithTheReason)
{
    TTempFolder folder;
    fs::copy(std::string(kExamples) + "/rpg", folder.Root(), fs::copy_options::recursive);
    const TRun info = RunTessella({"--info", "island.tmx"}, folder.Root());
    EXPECT_EQ(info.Status, 0);
    EXPECT_EQ(info.Err,
              "Tessella: island.tmx: left out what the map cannot hold: the object layer "
              "\"Objects\"; the animations of 2 tiles of \"beach_tileset\". Written beside it: "
              "beach_tileset.tessella.png and beach_tileset.tessella.tsx.\n");
    WriteFileText(folder.Path("broken.tmx"), "<map orientation=\"orthogonal\"");
    const TRun broken = RunTessella({"--render", "broken.tmx", "out.png"}, folder.Root());
    EXPECT_EQ(broken.Status, 1);
    EXPECT_EQ(broken.Err,
              "Tessella: broken.tmx: the XML is broken at line 1, column 19 (Error parsing "
              "element attribute)\nTessella: The error occurred while reading broken.tmx. (The "
              "file is broken!(4)@tmx.so)\n");
    EXPECT_FALSE(fs::exists(folder.Path("out.png")));
}
