// Our renderer and our TMX export against an independent renderer: tmxrasterizer (Debian's
// tiled package, which scripts/install-deps.sh installs) draws the exported .tmx, Tessella
// --render draws the same map, and every pixel tmxrasterizer draws opaque must agree.
#include "CliTestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace
{

constexpr uint32_t kKey = 0xFF00FF;
constexpr int kPart = 16;

// Chip numbers that name a whole part of an image of columns × rows parts under the
// map's numbering (C parts per row).
std::vector<uint16_t> PartsOfImage(int numberingColumns, int columns, int rows)
{
    std::vector<uint16_t> parts;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            parts.push_back(static_cast<uint16_t>(row * numberingColumns + column));
    return parts;
}

// Four layers over two images (the bottom and the third layer share one), the second
// layer hidden, the transparent colour and the invisible part in force, and cells naming
// parts beyond the images.
void WriteCrossCheckMap(const TTempFolder &folder, uint8_t bitCount, bool fixedAlignment)
{
    ASSERT_TRUE(
        PartsImage(4, 3, kPart, kKey).save(QString::fromStdString(folder.Path("tiles.png"))));
    ASSERT_TRUE(
        PartsImage(5, 2, kPart, kKey).save(QString::fromStdString(folder.Path("deco.bmp"))));
    const int fixedColumns = bitCount == 8 ? 16 : 256;
    const std::vector<uint16_t> tiles = PartsOfImage(fixedAlignment ? fixedColumns : 4, 4, 3);
    const std::vector<uint16_t> deco = PartsOfImage(fixedAlignment ? fixedColumns : 5, 5, 2);
    const uint16_t invisible = tiles[1];
    const uint16_t beyond = static_cast<uint16_t>(fixedAlignment ? 3 * fixedColumns + 1 : 12);

    TTestMap map(9, 7, 4);
    map.Names = {"ground", "hidden", "over", "sparkle"};
    map.Images = {"tiles.png", "deco.bmp", "tiles.png", "deco.bmp"};
    for (size_t i = 0; i < map.Cells[0].size(); ++i) {
        map.Cells[0][i] = i % 13 == 5 ? invisible : tiles[i * 7 % tiles.size()];
        map.Cells[1][i] = deco[i % deco.size()];
        map.Cells[2][i] = i % 3 == 0 ? tiles[i * 5 % tiles.size()] : invisible;
        map.Cells[3][i] =
            i % 4 == 0 ? deco[i * 3 % deco.size()] : (i % 4 == 1 ? beyond : invisible);
    }
    PluginMapRecord &record = map.Bind(false, false);
    map.Layers[0].Visible = map.Layers[2].Visible = map.Layers[3].Visible = 1;
    record.PartsWidth = kPart;
    record.PartsHeight = kPart;
    record.BitCount = bitCount;
    record.PathMode = 1;
    record.AlignFlags = fixedAlignment ? 0 : 1;
    record.TransEnabled = 1;
    record.TransColor = 0x00FF00FF; // the key as a colour value
    record.UseInvisiblePart = 1;
    record.InvisiblePart = invisible;
    WriteProject(folder.Path("map.tzp"), record);
}

} // namespace

TEST(TPeerCrossCheck, TmxrasterizerAgreesOnEveryPixelItDrawsOpaque)
{
    ASSERT_EQ(std::system("command -v tmxrasterizer >/dev/null"), 0)
        << "tmxrasterizer is missing: scripts/install-deps.sh installs Debian's tiled package";
    for (const uint8_t bits : {uint8_t{8}, uint8_t{16}}) {
        for (const bool fixed : {true, false}) {
            SCOPED_TRACE(std::to_string(bits) + (fixed ? " bits, fixed" : " bits, image"));
            TTempFolder folder;
            WriteCrossCheckMap(folder, bits, fixed);
            const TRun convert = RunTessella({"--convert", "map.tzp", "map.tmx"}, folder.Root());
            ASSERT_EQ(convert.Status, 0) << convert.Err;
            for (const int scale : {1, 2}) {
                SCOPED_TRACE(scale);
                const std::string ours = "ours" + std::to_string(scale) + ".png";
                const std::string peer = "peer" + std::to_string(scale) + ".png";
                const TRun render = RunTessella(
                    {"--render", "map.tzp", ours, "--zoom", std::to_string(100 * scale)},
                    folder.Root());
                ASSERT_EQ(render.Status, 0) << render.Err;
                ASSERT_EQ(
                    RunPeer(folder.Root(), "--scale " + std::to_string(scale) + " map.tmx " + peer),
                    0)
                    << ReadFileText(folder.Path("peer.log"));
                const QImage mine = ReadPicture(folder.Path(ours));
                const QImage theirs = ReadPicture(folder.Path(peer));
                ASSERT_EQ(mine.size(), theirs.size());
                int64_t compared = 0;
                int64_t differing = 0;
                for (int y = 0; y < theirs.height(); ++y)
                    for (int x = 0; x < theirs.width(); ++x) {
                        const QRgb p = theirs.pixel(x, y);
                        if (qAlpha(p) != 255)
                            continue;
                        ++compared;
                        differing += (p & 0xFFFFFF) != (mine.pixel(x, y) & 0xFFFFFF);
                    }
                EXPECT_EQ(differing, 0);
                // Most of the map is drawn, so the agreement is not an empty one.
                EXPECT_GT(compared, int64_t{theirs.width()} * theirs.height() / 2);
            }
        }
    }
}
