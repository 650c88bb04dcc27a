// Terrain painting against data nobody here wrote: the "Desert" corner set of four terrains
// that Debian's Tiled package ships with desert.tmx. The tileset's image is repacked without
// its margin and spacing (so the parts numbering can address it) and the set's tile ids are
// translated to the repacked image; then every terrain is painted onto the others and every
// cell of the map must fit its neighbours.
#include "TerrainTestSupport.h"
#include "editor/parts/TerrainSetFile.h"

#include <QByteArray>
#include <QImage>
#include <filesystem>
#include <pugixml.hpp>

namespace fs = std::filesystem;

namespace
{

const fs::path kExamples = "/usr/share/doc/tiled/examples";

// The map's first layer as tile ids (global ids less the tileset's first).
std::vector<uint16_t> DesertCells(int32_t &Width, int32_t &Height)
{
    pugi::xml_document document;
    if (!document.load_file((kExamples / "desert.tmx").c_str()))
        return {};
    const pugi::xml_node map = document.child("map");
    Width = map.attribute("width").as_int();
    Height = map.attribute("height").as_int();
    const int32_t first = map.child("tileset").attribute("firstgid").as_int();
    const pugi::xml_node data = map.child("layer").child("data");
    if (std::string(data.attribute("compression").value()) != "zlib")
        return {};
    QByteArray packed = QByteArray::fromBase64(QByteArray(data.child_value()).trimmed());
    // qUncompress wants the unpacked size in front, big-endian.
    const uint32_t size = static_cast<uint32_t>(Width * Height * 4);
    packed.prepend(QByteArray(1, static_cast<char>(size & 0xFF)));
    packed.prepend(QByteArray(1, static_cast<char>((size >> 8) & 0xFF)));
    packed.prepend(QByteArray(1, static_cast<char>((size >> 16) & 0xFF)));
    packed.prepend(QByteArray(1, static_cast<char>(size >> 24)));
    const QByteArray bytes = qUncompress(packed);
    if (bytes.size() != static_cast<qsizetype>(size))
        return {};
    std::vector<uint16_t> cells;
    for (qsizetype i = 0; i < bytes.size(); i += 4) {
        const auto *b = reinterpret_cast<const uint8_t *>(bytes.constData() + i);
        const uint32_t gid =
            b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
        cells.push_back(static_cast<uint16_t>(gid - static_cast<uint32_t>(first)));
    }
    return cells;
}

class TDesertTerrain : public TTerrainFixture
{
protected:
    void TearDown() override { fs::remove_all(Folder); }
    fs::path Folder = fs::temp_directory_path() / "tessella-desert-terrain";
};

} // namespace

TEST_F(TDesertTerrain, PaintingEachTerrainOntoTheOthersLeavesEveryCellFittingItsNeighbours)
{
    if (!fs::exists(kExamples / "desert.tsx"))
        GTEST_SKIP() << "Tiled's examples are not installed";
    fs::remove_all(Folder);
    fs::create_directories(Folder);
    std::string error;
    const std::unique_ptr<TTerrainSetFile> desert =
        TTerrainSetFile::Read((kExamples / "desert.tsx").string(), error);
    ASSERT_TRUE(desert) << error;
    const TTerrainTileset &original = desert->Tileset();
    ASSERT_EQ(original.Sets.size(), 1u);
    ASSERT_EQ(original.Sets[0].Colours.size(), 4u);
    ASSERT_EQ(original.Margin, 1);
    ASSERT_EQ(original.Spacing, 1);

    // The image repacked: tile after tile, no margin, no spacing.
    const QImage image(QString::fromStdString((kExamples / desert->ImageSource()).string()));
    ASSERT_FALSE(image.isNull());
    const int32_t size = original.TileWidth;
    const int32_t rows = (original.TileCount + original.Columns - 1) / original.Columns;
    QImage parts(original.Columns * size, rows * size, QImage::Format_ARGB32);
    parts.fill(Qt::transparent);
    for (int32_t tile = 0; tile < original.TileCount; ++tile) {
        int32_t x = 0;
        int32_t y = 0;
        ASSERT_TRUE(original.TilePosition(tile, x, y));
        for (int32_t dy = 0; dy < size; ++dy)
            for (int32_t dx = 0; dx < size; ++dx)
                parts.setPixel((tile % original.Columns) * size + dx,
                               (tile / original.Columns) * size + dy, image.pixel(x + dx, y + dy));
    }
    const fs::path partsFile = Folder / "desert-parts.png";
    ASSERT_TRUE(parts.save(QString::fromStdString(partsFile.string())));

    // Its tileset beside it, the set's tile ids moved to where each tile now lies.
    bool exists = true;
    const std::string tilesetFile = TerrainSetFileFor(partsFile.string(), exists);
    EXPECT_FALSE(exists);
    std::unique_ptr<TTerrainSetFile> repacked = TTerrainSetFile::Create(
        tilesetFile, "desert-parts.png", parts.width(), parts.height(), size, size);
    TTerrainSet set = original.Sets[0];
    set.FileIndex = -1;
    set.Tiles.clear();
    for (const auto &[tile, id] : original.Sets[0].Tiles) {
        int32_t x = 0;
        int32_t y = 0;
        ASSERT_TRUE(original.TilePosition(tile, x, y));
        const int32_t moved = repacked->Tileset().TileAt((x - original.Margin) / (size + 1) * size,
                                                         (y - original.Margin) / (size + 1) * size);
        ASSERT_GE(moved, 0);
        set.Tiles[moved] = id;
        if (original.TileProbability.count(tile) != 0)
            repacked->Tileset().TileProbability[moved] = original.TileProbability.at(tile);
    }
    repacked->Tileset().Sets.push_back(set);
    ASSERT_TRUE(repacked->Write(error)) << error;
    EXPECT_EQ(TerrainSetFileFor(partsFile.string(), exists), tilesetFile);
    EXPECT_TRUE(exists);
    std::unique_ptr<TTerrainSetFile> read = TTerrainSetFile::Read(tilesetFile, error);
    ASSERT_TRUE(read) << error;
    Tileset = read->Tileset();
    EXPECT_EQ(Tileset.ProbabilityOf(45), 0.0);

    // The map's own cells, numbered by the repacked image's columns.
    int32_t width = 0;
    int32_t height = 0;
    const std::vector<uint16_t> cells = DesertCells(width, height);
    ASSERT_EQ(cells.size(), 40u * 40u);
    MakeMapOf(width, height, 0);
    Map->SetPartsSize(static_cast<uint16_t>(size), static_cast<uint16_t>(size));
    Map->GetLayer(0).Data = cells;
    Project->Reset("desert", false);
    Window.Columns = Tileset.Columns;

    constexpr uint8_t kDesert = 1, kBrick = 2, kCobblestone = 3, kDirt = 4;
    struct TStroke {
        uint8_t Terrain;
        int32_t Size;
        bool Round;
        std::vector<TTerrainCell> Cells;
    };
    const TStroke strokes[] = {
        {kBrick, 5, false, {{10, 10}}},
        {kCobblestone, 3, false, {{11, 11}, {12, 11}, {13, 12}}}, // onto brick
        {kDirt, 4, true, {{9, 13}, {10, 13}}},                    // onto brick and cobblestone
        {kDesert, 2, false, {{12, 12}}},                          // into all three
        {kCobblestone, 2, false, {{20, 20}, {22, 21}, {24, 22}, {26, 23}, {28, 24}}},
        {kBrick, 1, false, {{24, 18}, {24, 20}, {24, 22}, {24, 24}, {24, 26}}}, // across it
        {kDirt, 3, true, {{30, 30}, {31, 31}, {32, 32}}},
        {kCobblestone, 6, false, {{31, 31}}},
        {kBrick, 1, false, {{0, 0}, {1, 0}, {2, 0}}}, // at the map's edge
    };
    for (const TStroke &stroke : strokes) {
        View.TerrainBrushSize = static_cast<uint8_t>(stroke.Size);
        View.TerrainBrushRound = stroke.Round;
        Use(0, stroke.Terrain);
        Stroke(stroke.Cells);
    }
    // A fill of a brick area with dirt.
    Use(0, kDirt);
    EXPECT_TRUE(Edit->TerrainFill(24, 26));

    const TTerrainMatcher matcher(Tileset, Tileset.Sets[0], Tileset.Columns, size, size, 256);
    int32_t mismatches = 0;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const TTerrainPart *part = matcher.PartOf(At(x, y));
            ASSERT_NE(part, nullptr) << x << ", " << y;
            if (x + 1 < width) {
                const TWangId &right = matcher.PartOf(At(x + 1, y))->Id;
                mismatches += part->Id[wsTopRight] != right[wsTopLeft];
                mismatches += part->Id[wsBottomRight] != right[wsBottomLeft];
            }
            if (y + 1 < height) {
                const TWangId &below = matcher.PartOf(At(x, y + 1))->Id;
                mismatches += part->Id[wsBottomLeft] != below[wsTopLeft];
                mismatches += part->Id[wsBottomRight] != below[wsTopRight];
            }
        }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(Edit->TerrainMarks().Count(), 0u);
    // The strokes painted what they were asked to.
    const auto uniform = [&](int32_t x, int32_t y, uint8_t terrain) {
        const TWangId &id = matcher.PartOf(At(x, y))->Id;
        return id[wsTopLeft] == terrain && id[wsTopRight] == terrain &&
               id[wsBottomLeft] == terrain && id[wsBottomRight] == terrain;
    };
    EXPECT_TRUE(uniform(12, 12, kDesert));
    EXPECT_TRUE(uniform(31, 31, kCobblestone));
    EXPECT_TRUE(uniform(1, 0, kBrick));
    EXPECT_TRUE(uniform(20, 20, kCobblestone));
    EXPECT_TRUE(uniform(24, 26, kDirt));
}
