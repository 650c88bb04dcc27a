// Terrain painting through the real main window, as a user does it: a parts image without
// terrains gets a 16-part corner set defined from its layout in the parts window, the terrain
// brush (key T) paints it at two sizes ("[" and "]"), the right button picks a terrain, Shift
// fills, a hidden layer refuses, undo takes a stroke back, and the set is written to the
// image's tileset file on leaving the mode and with the project's Save As.
#include "EditingFixture.h"
#include "editor/parts/ChipTable.h"
#include "editor/parts/TerrainSetFile.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

namespace
{

class TTerrainEditing : public TEditingFixture
{
protected:
    TTerrainMode &Terrain() const { return Form->ChipForm()->Terrain(); }
    template <typename T> T *Panel(const char *Name) const
    {
        T *widget = Terrain().findChild<T *>(Name);
        EXPECT_NE(widget, nullptr) << Name;
        return widget;
    }
    // A click on part (Column, Row) of the parts window, at (U, V) within it.
    void ClickPart(int32_t Column, int32_t Row, double U = 0.5, double V = 0.5,
                   Qt::MouseButton Button = Qt::LeftButton)
    {
        TChipForm &parts = *Form->ChipForm();
        const QPoint at(
            static_cast<int>((Column - parts.PartsScrollX() + U) * parts.PartsCellWidth()),
            static_cast<int>((Row - parts.PartsScrollY() + V) * parts.PartsCellHeight()));
        QTest::mouseClick(reinterpret_cast<QWidget *>(parts.View()), Button, Qt::NoModifier, at);
    }
    std::string Status(int32_t Panel) const { return Form->StatusText(Panel); }
};

} // namespace

TEST_F(TTerrainEditing, ASetDefinedFromItsLayoutPaintsWithTheBrushAndIsSavedBesideTheImage)
{
    StartWithMap(24, 20, 1);
    const std::string tileset = (Folder / "parts.tsx").string();
    bool exists = true;
    EXPECT_EQ(TerrainSetFileFor((Folder / "parts.bmp").string(), exists), tileset);
    EXPECT_FALSE(exists);

    // The parts window's terrain mode, from the View menu.
    Form->MenuItem("TerrainModeMenuItem")->trigger();
    ASSERT_TRUE(Terrain().IsActive());
    EXPECT_TRUE(Form->ChipForm()->Button("TerrainButton")->isChecked());
    Panel<QLineEdit>("TerrainSetName")->setText("Ground");
    Panel<QToolButton>("AddTerrainSet")->click();
    Panel<QLineEdit>("TerrainName")->setText("Grass");
    Panel<QToolButton>("AddTerrain")->click();
    Panel<QLineEdit>("TerrainName")->setText("Water");
    Panel<QToolButton>("AddTerrain")->click();
    EXPECT_EQ(Panel<QComboBox>("Terrains")->count(), 2);
    EXPECT_EQ(Terrain().Choice(), (TTerrainChoice{0, 2}));
    EXPECT_NE(Form->ChipForm()->StatusText(2).toStdString().find("Water"), std::string::npos);
    // The 16-part layout with its top-left at part (0, 0).
    Panel<QToolButton>("TerrainLayout16")->click();
    ClickPart(0, 0);
    // Leaving the mode writes the set beside the image.
    Form->ChipForm()->Button("TerrainButton")->trigger();
    EXPECT_FALSE(Terrain().IsActive());
    EXPECT_FALSE(Form->MenuItem("TerrainModeMenuItem")->isChecked());
    std::string error;
    {
        std::unique_ptr<TTerrainSetFile> file = TTerrainSetFile::Read(tileset, error);
        ASSERT_TRUE(file) << error;
        ASSERT_EQ(file->Tileset().Sets.size(), 1u);
        const TTerrainSet &set = file->Tileset().Sets[0];
        EXPECT_EQ(set.Name, "Ground");
        EXPECT_EQ(set.Tiles.size(), 16u);
        // Part 3 of the block (its top corners water) lies in row 0, column 3.
        EXPECT_EQ(set.Tiles.at(3), (TWangId{0, 2, 0, 1, 0, 1, 0, 2}));
        EXPECT_EQ(set.Tiles.at(16 + 2), (TWangId{0, 2, 0, 1, 0, 2, 0, 1})); // part 6
    }

    // The terrain brush by its key, on grass (part 0 is all grass).
    QTest::keyClick(View(), Qt::Key_T);
    ASSERT_EQ(Form->ViewState().ToolMode, tmTerrain);
    EXPECT_TRUE(Form->MenuItem("TerrainToolMenuItem")->isChecked());
    EXPECT_NE(Status(1).find("Terrain brush(1"), std::string::npos) << Status(1);
    // Parts of the 4 × 4 block by their bits (1 top-left, 2 top-right, 4 bottom-left, 8
    // bottom-right water) under 16 part columns.
    const auto part = [](int32_t bits) {
        return static_cast<uint16_t>((bits / 4) * 16 + bits % 4);
    };
    const size_t logBefore = LogLength();
    Press(5, 5);
    Release(5, 5);
    EXPECT_EQ((std::vector<uint16_t>{Cell(0, 4, 4), Cell(0, 5, 4), Cell(0, 6, 4), Cell(0, 4, 5),
                                     Cell(0, 5, 5), Cell(0, 6, 5), Cell(0, 4, 6), Cell(0, 5, 6),
                                     Cell(0, 6, 6)}),
              (std::vector<uint16_t>{part(8), part(12), part(4), part(10), part(15), part(5),
                                     part(2), part(3), part(1)}));
    EXPECT_EQ(Cell(0, 3, 3), 0);
    EXPECT_GT(LogLength(), logBefore);

    // "]" twice: a brush of 3, a drag of it is one step.
    QTest::keyClick(View(), Qt::Key_BracketRight);
    QTest::keyClick(View(), Qt::Key_BracketRight);
    EXPECT_EQ(Form->ViewState().TerrainBrushSize, 3);
    EXPECT_NE(Status(1).find("Terrain brush(3"), std::string::npos) << Status(1);
    const std::vector<uint16_t> beforeDrag = Map().GetLayer(0).Data;
    Drag(12, 10, 16, 10);
    for (int32_t x = 11; x <= 17; ++x)
        EXPECT_EQ(Cell(0, x, 10), part(15)) << x;
    EXPECT_EQ(Cell(0, 10, 8), part(8));
    EXPECT_EQ(PixelsDifferingFromAFullRedraw(), 0);
    Form->MenuItem("UndoMenuItem")->trigger();
    EXPECT_EQ(Map().GetLayer(0).Data, beforeDrag);
    Form->MenuItem("RedoMenuItem")->trigger();
    EXPECT_EQ(Cell(0, 14, 10), part(15));

    // The right button picks the terrain at the pointer: grass outside the water.
    Press(2, 2, Qt::RightButton);
    Release(2, 2, Qt::RightButton);
    EXPECT_EQ(Terrain().Choice(), (TTerrainChoice{0, 1}));
    EXPECT_NE(Form->ChipForm()->StatusText(2).toStdString().find("Grass"), std::string::npos);
    EXPECT_EQ(Form->ViewState().ToolMode, tmTerrain);

    // Shift+click fills the water of the drag with grass; the lone cell stays.
    Press(14, 10, Qt::LeftButton, Qt::ShiftModifier);
    Release(14, 10);
    EXPECT_EQ(Cell(0, 14, 10), 0);
    EXPECT_EQ(Cell(0, 11, 9), 0);
    EXPECT_EQ(Cell(0, 5, 5), part(15));
    EXPECT_EQ(PixelsDifferingFromAFullRedraw(), 0);
    // The fill and its undo leave the brush in the status bar.
    Form->MenuItem("UndoMenuItem")->trigger();
    Form->MenuItem("RedoMenuItem")->trigger();
    EXPECT_EQ(Cell(0, 14, 10), 0);
    EXPECT_NE(Status(1).find("Terrain brush("), std::string::npos) << Status(1);

    // A hidden layer refuses the brush with the usual message.
    Form->LayerForm()->SetLayerVisibleState(0, false);
    const std::vector<uint16_t> hidden = Map().GetLayer(0).Data;
    Seam->Messages.clear();
    Press(8, 15);
    Release(8, 15);
    EXPECT_EQ(Map().GetLayer(0).Data, hidden);
    EXPECT_EQ(
        Seam->MessageTexts(),
        std::vector<std::string>{"Since the selection layer is not displayed, it cannot edit."});
}

TEST_F(TTerrainEditing, ChangesInTheModeAreSavedWithTheProjectAndTakenBackWithinIt)
{
    StartWithMap(8, 8, 1);
    const std::string tileset = (Folder / "parts.tsx").string();
    Form->ChipForm()->Button("TerrainButton")->trigger();
    ASSERT_TRUE(Terrain().AddSet(TTerrainSetType::Edge, "Paths"));
    ASSERT_TRUE(Terrain().AddTerrain("Path", 0x808080));
    // A press marks the edge under the pointer; the right button takes the mark off again.
    ClickPart(2, 1, 0.5, 0.1);
    ClickPart(2, 1, 0.9, 0.5);
    ClickPart(2, 1, 0.9, 0.5, Qt::RightButton);
    // Undo within the mode: Ctrl+Z in the parts window takes back its own changes.
    Form->ChipForm()->activateWindow();
    QApplication::setActiveWindow(Form->ChipForm());
    QTest::keyClick(Form->ChipForm(), Qt::Key_Z, Qt::ControlModifier);
    // The marks show over the part as triangles in the terrain's colour.
    Form->ChipForm()->UpdateFullCanvas();
    const TPixelBuffer &back = Form->ChipForm()->Back();
    const int32_t cell = Form->ChipForm()->PartsCellWidth();
    const uint32_t top = back.Pixel(2 * cell + cell / 2, 1 * cell) & 0xFFFFFF;
    EXPECT_EQ(top, 0x808080u);

    const std::string project = (Folder / "map.tzp").string();
    Seam->SaveAnswers.push_back(TFileDialogResult{project, 1});
    Form->MenuItem("SaveAsMenuItem")->trigger();
    ASSERT_TRUE(std::filesystem::exists(project));
    std::string error;
    std::unique_ptr<TTerrainSetFile> file = TTerrainSetFile::Read(tileset, error);
    ASSERT_TRUE(file) << error;
    ASSERT_EQ(file->Tileset().Sets.size(), 1u);
    const TTerrainSet &set = file->Tileset().Sets[0];
    EXPECT_EQ(set.Type, TTerrainSetType::Edge);
    // Tile 18 (row 1, column 2): its top and right edges, the right one given back by undo.
    EXPECT_EQ(set.Tiles.at(18), (TWangId{1, 0, 1, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(Terrain().IsActive());
}

// Tiled's desert map opened through the Tiled import, whose derived parts image carries the
// "Desert" set of four terrains: each terrain painted onto the others, at several sizes and by
// a fill, leaves every cell of the map with corners that match its neighbours'.
TEST_F(TTerrainEditing, TiledsDesertThroughTheImportPaintsOnlyPartsThatFitTheirNeighbours)
{
    const std::filesystem::path examples = "/usr/share/doc/tiled/examples";
    if (!std::filesystem::exists(examples / "desert.tmx"))
        GTEST_SKIP() << "Tiled's examples are not installed";
    CopyPlugins();
    for (const char *name : {"tmx.so", "png.spi"})
        std::filesystem::copy_file(std::filesystem::path(TESSELLA_BUILD_DIR) / "Plugins" / name,
                                   Folder / "Plugins" / name);
    for (const char *name : {"desert.tmx", "desert.tsx", "tmw_desert_spacing.png"})
        std::filesystem::copy_file(examples / name, Folder / name);
    ASSERT_TRUE(Start());
    Form->show();
    ASSERT_TRUE(Form->Files().OpenFile((Folder / "desert.tmx").string()));
    TMap &map = Map();
    ASSERT_EQ(map.Width(), 40);
    const TMapChip *chip = map.GetLayerChip(0);
    ASSERT_NE(chip, nullptr);
    const TTerrainTileset *tileset = Terrain().TilesetOf(chip, map.PartsWidth(), map.PartsHeight());
    ASSERT_NE(tileset, nullptr) << chip->FileName;
    ASSERT_EQ(tileset->Sets.size(), 1u);
    ASSERT_EQ(tileset->Sets[0].Colours.size(), 4u);
    Form->ChipForm()->UpdateFullCanvas();
    int32_t columns = 0;
    int32_t rows = 0;
    Form->ChipForm()->Table()->GetChipAlignment(map.BitCount(), Form->Project().FixedAlignment(), 0,
                                                columns, rows);
    const TTerrainMatcher matcher(*tileset, tileset->Sets[0], columns, map.PartsWidth(),
                                  map.PartsHeight(), map.BitCount() >= 16 ? 65536 : 256);
    ASSERT_FALSE(matcher.Parts().empty());

    Tool(tmTerrain);
    // The same picture at every run; with this seed a cell marked in the middle of a stroke
    // comes to fit its neighbours by the stroke's end.
    Form->Edit().SetTerrainSeed(3);
    constexpr uint8_t kDesert = 1, kBrick = 2, kCobblestone = 3, kDirt = 4;
    struct TStroke {
        uint8_t Terrain;
        int32_t Size;
        bool Round;
        std::vector<std::pair<int32_t, int32_t>> Cells;
    };
    const TStroke strokes[] = {
        {kCobblestone, 3, false, {{4, 4}, {5, 4}, {6, 5}}},
        {kBrick, 2, false, {{5, 5}, {6, 6}}},               // onto cobblestone
        {kDirt, 5, true, {{8, 6}, {9, 7}}},                 // onto both
        {kDesert, 1, false, {{6, 6}, {7, 6}, {8, 6}}},      // into all three
        {kBrick, 4, false, {{20, 12}, {22, 12}, {24, 12}}}, // onto the map's own cobblestone
        {kDirt, 2, false, {{23, 10}, {23, 12}, {23, 14}}},
        {kCobblestone, 6, true, {{30, 30}}},
        {kBrick, 1, false, {{0, 0}, {1, 0}, {2, 0}}}, // at the map's edge
    };
    for (const TStroke &stroke : strokes) {
        Form->ToolInput().SetTerrainBrush(stroke.Size, stroke.Round);
        Terrain().Choose({0, stroke.Terrain});
        ASSERT_TRUE(Form->Edit().BeginTerrainStroke(stroke.Cells[0].first, stroke.Cells[0].second));
        for (const auto &[x, y] : stroke.Cells)
            Form->Edit().TerrainStrokeTo(x, y);
        Form->Edit().EndGesture();
    }
    Terrain().Choose({0, kDirt});
    EXPECT_TRUE(Form->Edit().TerrainFill(20, 12));

    int32_t mismatches = 0;
    for (int32_t y = 0; y < map.Height(); ++y)
        for (int32_t x = 0; x < map.Width(); ++x) {
            const TTerrainPart *part = matcher.PartOf(Cell(0, x, y));
            ASSERT_NE(part, nullptr) << x << ", " << y;
            if (x + 1 < map.Width()) {
                const TWangId &right = matcher.PartOf(Cell(0, x + 1, y))->Id;
                mismatches += part->Id[wsTopRight] != right[wsTopLeft];
                mismatches += part->Id[wsBottomRight] != right[wsBottomLeft];
            }
            if (y + 1 < map.Height()) {
                const TWangId &below = matcher.PartOf(Cell(0, x, y + 1))->Id;
                mismatches += part->Id[wsBottomLeft] != below[wsTopLeft];
                mismatches += part->Id[wsBottomRight] != below[wsTopRight];
            }
        }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(Form->Edit().TerrainMarks().Count(), 0u);
    const TWangId &painted = matcher.PartOf(Cell(0, 30, 30))->Id;
    EXPECT_EQ(painted[wsTopLeft], kCobblestone);
    EXPECT_EQ(matcher.PartOf(Cell(0, 20, 12))->Id[wsBottomRight], kDirt);
    EXPECT_EQ(matcher.PartOf(Cell(0, 1, 0))->Id,
              (TWangId{0, kBrick, 0, kBrick, 0, kBrick, 0, kBrick}));
    EXPECT_EQ(PixelsDifferingFromAFullRedraw(), 0);
}
