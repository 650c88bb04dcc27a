// The Tiled tileset file behind terrain sets: changing the sets keeps every other element and
// attribute of the file as it was, broken files are refused with their reason and never
// written, and a parts image finds its file.
#include "editor/parts/TerrainSetFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <sstream>

namespace fs = std::filesystem;

namespace
{

const char *const kTileset = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- made by hand -->
<tileset version="1.10" tiledversion="1.10.2" name="Coast" tilewidth="16" tileheight="16" tilecount="32" columns="8" objectalignment="topleft" class="land">
 <tileoffset x="2" y="-3"/>
 <grid orientation="orthogonal" width="16" height="16"/>
 <properties>
  <property name="author" value="tests"/>
  <property name="notes">line one
line two</property>
 </properties>
 <image source="coast.png" trans="ff00ff" width="128" height="64"/>
 <tile id="3" probability="0.25" type="rock">
  <animation>
   <frame tileid="3" duration="100"/>
   <frame tileid="4" duration="100"/>
  </animation>
 </tile>
 <wangsets>
  <wangset name="Coast" type="corner" tile="-1" class="edgy">
   <properties>
    <property name="kind" value="coast"/>
   </properties>
   <wangcolor name="Sand" color="#FFCC00" tile="-1" probability="1" class="c1">
    <properties>
     <property name="x" type="int" value="1"/>
    </properties>
   </wangcolor>
   <wangcolor name="Sea" color="#0000ff" tile="5" probability="0.5"/>
   <wangtile tileid="0" wangid="0,1,0,1,0,1,0,1"/>
   <wangtile tileid="1" wangid="0,2,0,2,0,2,0,2" hflip="1"/>
   <wangtile tileid="2" wangid="0,1,0,2,0,1,0,1"/>
  </wangset>
  <wangset name="Old" tile="-1">
   <wangcornercolor name="a" color="#ff0000" tile="-1" probability="1"/>
   <wangtile tileid="2" wangid="0x10101010"/>
  </wangset>
 </wangsets>
</tileset>
)";

// Every element with its attributes and text, in document order, one line each; the
// elements for which Skip answers true are left out with all they hold.
template <typename TSkip> std::string Dump(const pugi::xml_node &Node, TSkip Skip, int Depth = 0)
{
    std::string out;
    for (const pugi::xml_node &child : Node.children()) {
        if (Skip(child))
            continue;
        out += std::string(static_cast<size_t>(Depth), ' ') + std::to_string(child.type()) + " " +
               child.name() + " [" + child.value() + "]";
        for (const pugi::xml_attribute &attribute : child.attributes())
            out += std::string(" ") + attribute.name() + "=" + attribute.value();
        out += "\n" + Dump(child, Skip, Depth + 1);
    }
    return out;
}

pugi::xml_document Parsed(const std::string &Text)
{
    pugi::xml_document document;
    EXPECT_TRUE(document.load_string(Text.c_str(), pugi::parse_default | pugi::parse_comments |
                                                       pugi::parse_declaration));
    return document;
}

class TTerrainSetFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Folder = fs::temp_directory_path() /
                 ("tessella-tsx-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(Folder);
        fs::create_directories(Folder);
    }
    void TearDown() override { fs::remove_all(Folder); }
    void Write(const std::string &Name, const std::string &Text)
    {
        std::ofstream(Folder / Name, std::ios::binary) << Text;
    }
    std::string ReadBack(const std::string &Name)
    {
        std::ifstream in(Folder / Name, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    fs::path Folder;
};

} // namespace

TEST_F(TTerrainSetFileTest, ChangedSetsKeepEveryOtherElementAndAttribute)
{
    Write("coast.tsx", kTileset);
    std::string error;
    std::unique_ptr<TTerrainSetFile> file =
        TTerrainSetFile::Read((Folder / "coast.tsx").string(), error);
    ASSERT_TRUE(file) << error;
    TTerrainTileset &tileset = file->Tileset();
    EXPECT_EQ(file->ImageSource(), "coast.png");
    EXPECT_EQ((std::vector<int32_t>{tileset.TileWidth, tileset.TileHeight, tileset.Columns,
                                    tileset.TileCount}),
              (std::vector<int32_t>{16, 16, 8, 32}));
    EXPECT_EQ(tileset.ProbabilityOf(3), 0.25);
    EXPECT_EQ(tileset.ProbabilityOf(4), 1.0);
    // The old-style set stays in the file but is not offered.
    ASSERT_EQ(tileset.Sets.size(), 1u);
    TTerrainSet &coast = tileset.Sets[0];
    EXPECT_EQ(coast.Name, "Coast");
    EXPECT_EQ(coast.Type, TTerrainSetType::Corner);
    ASSERT_EQ(coast.Colours.size(), 2u);
    EXPECT_EQ(coast.Colours[0].Colour, 0xFFCC00u);
    EXPECT_EQ(coast.Colours[1].Tile, 5);
    EXPECT_EQ(coast.Colours[1].Probability, 0.5);
    EXPECT_EQ(coast.Tiles.at(2), (TWangId{0, 1, 0, 2, 0, 1, 0, 1}));

    // Unchanged, the file comes out as it went in, element for element.
    const pugi::xml_document original = Parsed(kTileset);
    const auto nothing = [](const pugi::xml_node &) { return false; };
    EXPECT_EQ(Dump(Parsed(file->Text()), nothing), Dump(original, nothing));

    // A tile changed, one taken out, one added; a terrain and a set added.
    coast.Tiles[1] = {0, 2, 0, 2, 0, 1, 0, 2};
    coast.Tiles.erase(0);
    coast.Tiles[5] = {0, 3, 0, 3, 0, 3, 0, 3};
    coast.Colours.push_back({"Rock", 0x808080, -1, 2.0});
    TTerrainSet paths;
    paths.Name = "Paths";
    paths.Type = TTerrainSetType::Edge;
    paths.Colours.push_back({"Path", 0x00FF00, -1, 1.0});
    paths.Tiles[6] = {1, 0, 1, 0, 0, 0, 0, 0};
    tileset.Sets.push_back(paths);
    ASSERT_TRUE(file->Write(error)) << error;

    const pugi::xml_document written = Parsed(ReadBack("coast.tsx"));
    // Everything outside the changed set is as it was, the old-style set included.
    const pugi::xml_node coastNode = written.child("tileset").child("wangsets").child("wangset");
    const auto changedSets = [](const pugi::xml_node &node) {
        return std::string(node.name()) == "wangset" &&
               std::string(node.attribute("name").value()) != "Old";
    };
    EXPECT_EQ(Dump(written, changedSets), Dump(original, changedSets));
    // Inside it, what is not a terrain or a tile is as it was.
    const auto terrainsAndTiles = [](const pugi::xml_node &node) {
        return std::string(node.name()) == "wangcolor" || std::string(node.name()) == "wangtile";
    };
    EXPECT_EQ(Dump(coastNode, terrainsAndTiles),
              Dump(original.child("tileset").child("wangsets").child("wangset"), terrainsAndTiles));
    EXPECT_EQ(std::string(coastNode.attribute("class").value()), "edgy");
    // The unchanged terrain keeps its own spelling and what it holds.
    const pugi::xml_node sand = coastNode.child("wangcolor");
    EXPECT_EQ(std::string(sand.attribute("color").value()), "#FFCC00");
    EXPECT_EQ(std::string(sand.attribute("class").value()), "c1");
    EXPECT_EQ(std::string(sand.child("properties").child("property").attribute("value").value()),
              "1");
    const pugi::xml_node rock = sand.next_sibling("wangcolor").next_sibling("wangcolor");
    EXPECT_EQ(std::string(rock.attribute("name").value()), "Rock");
    EXPECT_EQ(std::string(rock.attribute("color").value()), "#808080");
    EXPECT_EQ(std::string(rock.attribute("probability").value()), "2");
    // The changed tile keeps its other attributes.
    const pugi::xml_node tile1 = coastNode.find_child_by_attribute("wangtile", "tileid", "1");
    EXPECT_EQ(std::string(tile1.attribute("wangid").value()), "0,2,0,2,0,1,0,2");
    EXPECT_EQ(std::string(tile1.attribute("hflip").value()), "1");
    EXPECT_FALSE(coastNode.find_child_by_attribute("wangtile", "tileid", "0"));

    // Read again, the model is the one written.
    std::unique_ptr<TTerrainSetFile> again =
        TTerrainSetFile::Read((Folder / "coast.tsx").string(), error);
    ASSERT_TRUE(again) << error;
    ASSERT_EQ(again->Tileset().Sets.size(), 2u);
    EXPECT_EQ(again->Tileset().Sets[0], tileset.Sets[0]);
    EXPECT_EQ(again->Tileset().Sets[1].Tiles, paths.Tiles);
    EXPECT_EQ(again->Tileset().Sets[1].FileIndex, 2); // after the old-style set
    EXPECT_EQ(tileset.Sets[1].FileIndex, 2);

    // A set taken away goes from the file; the old-style one stays.
    tileset.Sets.erase(tileset.Sets.begin());
    const pugi::xml_document fewer = Parsed(file->Text());
    std::vector<std::string> names;
    for (const pugi::xml_node &set : fewer.child("tileset").child("wangsets").children("wangset"))
        names.push_back(set.attribute("name").value());
    EXPECT_EQ(names, (std::vector<std::string>{"Old", "Paths"}));
}

TEST_F(TTerrainSetFileTest, BrokenFilesAreRefusedWithTheirReasonAndNeverWritten)
{
    const std::string head = R"(<tileset name="t" tilewidth="16" tileheight="16" tilecount="4" )"
                             R"(columns="2"><image source="p.png" width="32" height="32"/>)";
    const std::string set = R"(<wangsets><wangset name="S" type="corner" tile="-1">)"
                            R"(<wangcolor name="A" color="#ff0000" tile="-1" probability="1"/>)";
    const std::pair<std::string, std::string> broken[] = {
        {"", "not XML"},
        {"<tileset", "not XML"},
        {"<map/>", "not a Tiled tileset"},
        {R"(<tileset tilewidth="16"/>)", "no tile size"},
        {R"(<tileset tilewidth="x" tileheight="16"/>)", "tilewidth"},
        {R"(<tileset tilewidth="16" tileheight="16"/>)", "no image"},
        {R"(<tileset tilewidth="16" tileheight="16"><image source="p.png"/></tileset>)",
         "no columns"},
        {head + R"(<tile id="1" probability="often"/></tileset>)", "probability"},
        {head + R"(<wangsets><wangset name="S" type="round"/></wangsets></tileset>)",
         "unknown type"},
        {head + set +
             R"(<wangtile tileid="0" wangid="0,1,0,1,0,1,0"/></wangset></wangsets></tileset>)",
         "wang id"},
        {head + set +
             R"(<wangtile tileid="0" wangid="0,1,0,2,0,1,0,1"/></wangset></wangsets></tileset>)",
         "terrain 2 of 1"},
        {head + set +
             R"(<wangtile tileid="4" wangid="0,1,0,1,0,1,0,1"/></wangset></wangsets></tileset>)",
         "outside the tileset"},
        {head + set +
             R"(<wangtile tileid="1" wangid="0,1,0,1,0,1,0,1"/>)"
             R"(<wangtile tileid="1" wangid="0,1,0,1,0,1,0,1"/></wangset></wangsets></tileset>)",
         "twice"},
        {head + R"(<wangsets><wangset name="S" type="edge" tile="-1">)"
                R"(<wangcolor name="A" color="red"/></wangset></wangsets></tileset>)",
         "colour"},
        {head +
             R"(<wangsets><wangset name="S" type="edge" tile="-1">)"
             R"(<wangcolor name="A" color="#ff0000" probability="-1"/></wangset></wangsets></tileset>)",
         "probability"},
    };
    for (const auto &[text, reason] : broken) {
        std::string error;
        EXPECT_FALSE(TTerrainSetFile::Parse(text, "x.tsx", error)) << text;
        EXPECT_NE(error.find(reason), std::string::npos) << text << ": " << error;
    }
    std::string error;
    EXPECT_FALSE(TTerrainSetFile::Read((Folder / "missing.tsx").string(), error));
    EXPECT_FALSE(error.empty());

    // A file that cannot be replaced stays as it was.
    Write("kept.tsx", kTileset);
    std::unique_ptr<TTerrainSetFile> file =
        TTerrainSetFile::Read((Folder / "kept.tsx").string(), error);
    ASSERT_TRUE(file);
    file->Tileset().Sets[0].Name = "Renamed";
    fs::permissions(Folder, fs::perms::owner_read | fs::perms::owner_exec);
    const bool written = file->Write(error);
    fs::permissions(Folder, fs::perms::owner_all);
    if (geteuid() != 0) { // root writes anywhere
        EXPECT_FALSE(written);
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(ReadBack("kept.tsx"), kTileset);
    }
}

TEST_F(TTerrainSetFileTest, APartsImageFindsTheTilesetThatNamesIt)
{
    const std::string image = (Folder / "parts.png").string();
    bool exists = true;
    EXPECT_EQ(TerrainSetFileFor(image, exists), (Folder / "parts.tsx").string());
    EXPECT_FALSE(exists);

    // A tileset of another name that names the image is the one.
    Write("coast.tsx",
          std::string(kTileset).replace(std::string(kTileset).find("coast.png"), 9, "parts.png"));
    EXPECT_EQ(TerrainSetFileFor(image, exists), (Folder / "coast.tsx").string());
    EXPECT_TRUE(exists);

    // "parts.tsx" taken by a tileset of another image: the image's full name is used.
    fs::remove(Folder / "coast.tsx");
    Write("parts.tsx", kTileset);
    EXPECT_EQ(TerrainSetFileFor(image, exists), (Folder / "parts.png.tsx").string());
    EXPECT_FALSE(exists);

    // A new file for the image reads back as written, with Tiled's attributes.
    std::unique_ptr<TTerrainSetFile> created =
        TTerrainSetFile::Create((Folder / "parts.png.tsx").string(), "parts.png", 64, 48, 16, 16);
    TTerrainSet set;
    set.Name = "Ground";
    set.Colours.push_back({"Grass", 0x00AA00, -1, 1.0});
    set.Tiles[11] = {0, 1, 0, 1, 0, 1, 0, 1};
    created->Tileset().Sets.push_back(set);
    std::string error;
    ASSERT_TRUE(created->Write(error)) << error;
    EXPECT_EQ(TerrainSetFileFor(image, exists), (Folder / "parts.png.tsx").string());
    EXPECT_TRUE(exists);
    std::unique_ptr<TTerrainSetFile> read =
        TTerrainSetFile::Read((Folder / "parts.png.tsx").string(), error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(read->Tileset().Columns, 4);
    EXPECT_EQ(read->Tileset().TileCount, 12);
    ASSERT_EQ(read->Tileset().Sets.size(), 1u);
    EXPECT_EQ(read->Tileset().Sets[0].Tiles, set.Tiles);
    const pugi::xml_document document = Parsed(ReadBack("parts.png.tsx"));
    const pugi::xml_node colour =
        document.child("tileset").child("wangsets").child("wangset").child("wangcolor");
    EXPECT_EQ(std::string(colour.attribute("color").value()), "#00aa00");
    EXPECT_EQ(std::string(document.child("tileset").child("image").attribute("width").value()),
              "64");
}
