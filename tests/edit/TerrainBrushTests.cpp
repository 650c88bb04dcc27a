// The terrain brush and the terrain fill driven through the edit controller, on tilesets of
// known wang ids: the exact cells after a click, square and round brushes, painting over
// transitions, a blob set, an edge set, a set that lacks a transition (red marks) and one
// whose terrains meet only through a third, the fill of a closed region, redo and undo steps.
#include "TerrainTestSupport.h"
#include "editor/edit/TerrainFill.h"
#include "editor/render/MapViewRenderer.h"
#include "editor/render/RasterPrimitives.h"

#include <algorithm>
#include <map>
#include <set>

namespace
{

constexpr uint8_t kGrass = 1;
constexpr uint8_t kWater = 2;
constexpr uint8_t kSand = 3;

// Which corner points of a map are water, and the corner tile (bits 1 top-left, 2 top-right,
// 4 bottom-left, 8 bottom-right) every cell should then hold.
class TCornerPicture
{
public:
    TCornerPicture(int32_t Width, int32_t Height)
        : FWidth(Width), FHeight(Height),
          FWater(static_cast<size_t>(Width + 1) * static_cast<size_t>(Height + 1), false)
    {
    }
    void Paint(const std::vector<TTerrainCell> &Cells, bool Water)
    {
        for (const TTerrainCell &cell : Cells)
            for (int32_t dy = 0; dy < 2; ++dy)
                for (int32_t dx = 0; dx < 2; ++dx)
                    Corner(cell.X + dx, cell.Y + dy) = Water;
    }
    int32_t Bits(int32_t X, int32_t Y) const
    {
        return Corner(X, Y) * 1 + Corner(X + 1, Y) * 2 + Corner(X, Y + 1) * 4 +
               Corner(X + 1, Y + 1) * 8;
    }

private:
    std::vector<bool>::reference Corner(int32_t X, int32_t Y)
    {
        return FWater[static_cast<size_t>(Y) * (FWidth + 1) + X];
    }
    bool Corner(int32_t X, int32_t Y) const
    {
        return FWater[static_cast<size_t>(Y) * (FWidth + 1) + X];
    }
    int32_t FWidth;
    int32_t FHeight;
    std::vector<bool> FWater;
};

class TTerrainBrush : public TTerrainFixture
{
protected:
    // Grass and water in the 16-part corner layout on tiles 0 to 15 of a 4-column tileset,
    // full water also on tiles 16 and 17.
    void UseCornerSet(bool WaterVariants = false)
    {
        Tileset = MakeTileset(4, 5);
        TTerrainSet set = MakeSet(TTerrainSetType::Corner, {"Grass", "Water"});
        AddLayout(set, TTerrainLayout::Corner16, 0, kGrass, kWater);
        if (WaterVariants) {
            set.Tiles[16] = Corners(kWater, kWater, kWater, kWater);
            set.Tiles[17] = Corners(kWater, kWater, kWater, kWater);
        }
        Tileset.Sets.push_back(set);
        Use(0, kWater);
    }

    // The corner bits a cell's part stands for (a water variant as full water).
    int32_t BitsAt(int32_t X, int32_t Y) const
    {
        const uint16_t chip = At(X, Y);
        const int32_t tile = (chip / 16) * Tileset.Columns + chip % 16;
        return tile >= 16 ? 15 : tile;
    }

    void ExpectPicture(const TCornerPicture &Picture) const
    {
        for (int32_t y = 0; y < Map->Height(); ++y)
            for (int32_t x = 0; x < Map->Width(); ++x)
                ASSERT_EQ(BitsAt(x, y), Picture.Bits(x, y)) << "cell " << x << ", " << y;
    }

    // Every two neighbouring cells whose parts belong to the set agree on the corners and
    // edges they share.
    void ExpectNeighboursAgree(const TTerrainSet &Set) const
    {
        const TTerrainMatcher matcher(Tileset, Set, 16, 16, 16, 256);
        auto id = [&](int32_t x, int32_t y) -> const TWangId * {
            const TTerrainPart *part = matcher.PartOf(At(x, y));
            return part != nullptr ? &part->Id : nullptr;
        };
        for (int32_t y = 0; y < Map->Height(); ++y)
            for (int32_t x = 0; x < Map->Width(); ++x) {
                const TWangId *a = id(x, y);
                ASSERT_NE(a, nullptr) << x << ", " << y;
                if (x + 1 < Map->Width()) {
                    const TWangId &b = *id(x + 1, y);
                    EXPECT_EQ((*a)[wsTopRight], b[wsTopLeft]) << x << ", " << y;
                    EXPECT_EQ((*a)[wsRight], b[wsLeft]) << x << ", " << y;
                    EXPECT_EQ((*a)[wsBottomRight], b[wsBottomLeft]) << x << ", " << y;
                }
                if (y + 1 < Map->Height()) {
                    const TWangId &b = *id(x, y + 1);
                    EXPECT_EQ((*a)[wsBottomLeft], b[wsTopLeft]) << x << ", " << y;
                    EXPECT_EQ((*a)[wsBottom], b[wsTop]) << x << ", " << y;
                    EXPECT_EQ((*a)[wsBottomRight], b[wsTopRight]) << x << ", " << y;
                }
            }
    }
};

} // namespace

TEST_F(TTerrainBrush, ACornerSetPaintsExactCellsWithAClickASquareAndARoundBrush)
{
    MakeMapOf(24, 24, 0);
    UseCornerSet();
    TCornerPicture picture(24, 24);

    Click(5, 5);
    picture.Paint({{5, 5}}, true);
    ExpectPicture(picture);
    // The ring around the cell, spelled out once.
    EXPECT_EQ((std::vector<uint16_t>{At(4, 4), At(5, 4), At(6, 4), At(4, 5), At(5, 5), At(6, 5),
                                     At(4, 6), At(5, 6), At(6, 6)}),
              (std::vector<uint16_t>{Chip(8), Chip(12), Chip(4), Chip(10), Chip(15), Chip(5),
                                     Chip(2), Chip(3), Chip(1)}));
    EXPECT_EQ(At(3, 3), Chip(0));

    View.TerrainBrushSize = 3;
    Click(12, 5);
    picture.Paint(BrushCells(12, 5, 3, false, 24, 24), true);
    ExpectPicture(picture);
    EXPECT_EQ(At(11, 4), Chip(15));
    EXPECT_EQ(At(10, 3), Chip(8));

    View.TerrainBrushSize = 5;
    View.TerrainBrushRound = true;
    const std::vector<TTerrainCell> round = BrushCells(12, 15, 5, true, 24, 24);
    EXPECT_EQ(round.size(), 21u); // 5 × 5 without its four corners
    EXPECT_EQ(BrushCells(12, 15, 7, true, 24, 24).size(), 37u);
    EXPECT_EQ(BrushCells(0, 0, 5, false, 24, 24).size(), 9u);
    Click(12, 15);
    picture.Paint(round, true);
    ExpectPicture(picture);
    // A corner the round brush leaves out shows water on its three inner corners.
    EXPECT_EQ(At(10, 13), Chip(14));
    EXPECT_EQ(Edit->TerrainMarks().Count(), 0u);

    // Three strokes, three steps back to grass.
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(Map->CanUndo());
        Edit->UndoMenuItemClick();
    }
    EXPECT_FALSE(Map->CanUndo());
    EXPECT_EQ(Cells(), std::vector<uint16_t>(24 * 24, Chip(0)));
}

TEST_F(TTerrainBrush, PaintingOverTransitionsIsOneStepPerStrokeAndRedoGivesTheSameParts)
{
    MakeMapOf(20, 12, 0);
    UseCornerSet(true);
    TCornerPicture picture(20, 12);
    const std::vector<uint16_t> grass = Cells();

    // A drag of a brush of 2 along a row, then grass painted back across its middle.
    View.TerrainBrushSize = 2;
    std::vector<TTerrainCell> path;
    for (int32_t x = 3; x <= 12; ++x)
        path.push_back({x, 5});
    Stroke(path);
    for (const TTerrainCell &cell : path)
        picture.Paint(BrushCells(cell.X, cell.Y, 2, false, 20, 12), true);
    ExpectPicture(picture);
    const std::vector<uint16_t> water = Cells();
    // The three full-water parts are chosen at random, by their weights.
    std::set<uint16_t> fullWater;
    for (uint16_t chip : water)
        if (chip == Chip(15) || chip == Chip(16) || chip == Chip(17))
            fullWater.insert(chip);
    EXPECT_EQ(fullWater.size(), 3u);

    View.TerrainBrushSize = 1;
    Use(0, kGrass);
    Stroke({{7, 5}, {7, 6}});
    picture.Paint({{7, 5}, {7, 6}}, false);
    ExpectPicture(picture);
    const std::vector<uint16_t> painted = Cells();
    // Cells that still fit keep their parts: full water away from the grass stays the variant
    // it was.
    EXPECT_EQ(At(4, 5), water[5 * 20 + 4]);

    Edit->UndoMenuItemClick();
    EXPECT_EQ(Cells(), water);
    Edit->UndoMenuItemClick();
    EXPECT_EQ(Cells(), grass);
    EXPECT_FALSE(Map->CanUndo());
    Edit->RedoMenuItemClick();
    Edit->RedoMenuItemClick();
    EXPECT_EQ(Cells(), painted);

    // The same seed paints the same picture again.
    Edit->UndoMenuItemClick();
    Edit->UndoMenuItemClick();
    Use(0, kWater);
    View.TerrainBrushSize = 2;
    Edit->SetTerrainSeed(99);
    Stroke(path);
    const std::vector<uint16_t> first = Cells();
    Edit->UndoMenuItemClick();
    Edit->SetTerrainSeed(99);
    Stroke(path);
    EXPECT_EQ(Cells(), first);
}

TEST_F(TTerrainBrush, ABlobSetPaintsACellWithTheRingItsEdgesNeed)
{
    MakeMapOf(16, 16, 0);
    Tileset = MakeTileset(8, 6);
    TTerrainSet set = MakeSet(TTerrainSetType::Mixed, {"Grass", "Wall"});
    AddLayout(set, TTerrainLayout::Blob47, 0, kGrass, kWater);
    Tileset.Sets.push_back(set);
    Use(0, kWater);
    const std::vector<uint8_t> masks = BlobMasks();
    auto chipOfMask = [&](uint8_t mask) {
        const auto found = std::find(masks.begin(), masks.end(), mask);
        return Chip(static_cast<int32_t>(found - masks.begin()));
    };

    Click(5, 5);
    // Masks: 1 top, 2 top-right, 4 right, 8 bottom-right, 16 bottom, 32 bottom-left, 64 left,
    // 128 top-left. Each neighbour's edges towards the cell go along with its corners.
    const std::map<std::pair<int32_t, int32_t>, uint8_t> expected = {
        {{4, 4}, 4 + 8 + 16},   {{5, 4}, 4 + 8 + 16 + 32 + 64},
        {{6, 4}, 16 + 32 + 64}, {{4, 5}, 1 + 2 + 4 + 8 + 16},
        {{5, 5}, 255},          {{6, 5}, 1 + 16 + 32 + 64 + 128},
        {{4, 6}, 1 + 2 + 4},    {{5, 6}, 1 + 2 + 4 + 64 + 128},
        {{6, 6}, 1 + 64 + 128},
    };
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 16; ++x) {
            const auto found = expected.find({x, y});
            EXPECT_EQ(At(x, y), chipOfMask(found == expected.end() ? 0 : found->second))
                << x << ", " << y;
        }

    // A stroke on, and across the transitions it made: every part fits its neighbours.
    View.TerrainBrushSize = 2;
    Stroke({{6, 5}, {7, 5}, {8, 6}, {8, 7}});
    View.TerrainBrushSize = 1;
    Use(0, kGrass);
    Click(7, 5);
    ExpectNeighboursAgree(set);
    EXPECT_EQ(Edit->TerrainMarks().Count(), 0u);
    EXPECT_EQ(At(7, 5), chipOfMask(0));
}

TEST_F(TTerrainBrush, AnEdgeSetPaintsTheEdgesTheCellShares)
{
    MakeMapOf(12, 12, 0);
    Tileset = MakeTileset(4, 4);
    TTerrainSet set = MakeSet(TTerrainSetType::Edge, {"Ground", "Path"});
    for (int32_t i = 0; i < 16; ++i) {
        TWangId id{};
        id[wsTop] = (i & 1) != 0 ? kWater : kGrass;
        id[wsRight] = (i & 2) != 0 ? kWater : kGrass;
        id[wsBottom] = (i & 4) != 0 ? kWater : kGrass;
        id[wsLeft] = (i & 8) != 0 ? kWater : kGrass;
        set.Tiles[i] = id;
    }
    Tileset.Sets.push_back(set);
    Use(0, kWater);

    Click(5, 5);
    std::vector<uint16_t> expected(12 * 12, Chip(0));
    expected[5 * 12 + 5] = Chip(15);
    expected[4 * 12 + 5] = Chip(4); // above: its bottom edge
    expected[5 * 12 + 6] = Chip(8); // right: its left edge
    expected[6 * 12 + 5] = Chip(1); // below: its top edge
    expected[5 * 12 + 4] = Chip(2); // left: its right edge
    EXPECT_EQ(Cells(), expected);

    // A path: the cells along it join up, the ends stay open.
    Stroke({{5, 6}, {5, 7}, {6, 7}});
    EXPECT_EQ(At(5, 6), Chip(15));
    EXPECT_EQ(At(6, 6), Chip(4 + 8)); // its bottom edge and the one it shares with (5, 6)
    EXPECT_EQ(At(7, 7), Chip(8));
    ExpectNeighboursAgree(set);
}

TEST_F(TTerrainBrush, ACellTheSetCannotFitGetsTheClosestPartAndARedFrameUntilPaintedAgain)
{
    MakeMapOf(12, 12, 0);
    Tileset = MakeTileset(4, 8);
    TTerrainSet set = MakeSet(TTerrainSetType::Corner, {"Grass", "Water", "Sand"});
    AddLayout(set, TTerrainLayout::Corner16, 0, kGrass, kWater);
    AddLayout(set, TTerrainLayout::Corner16, 16, kGrass, kSand);
    // No part with sand on its bottom-right corner alone.
    set.Tiles.erase(16 + 8);
    Tileset.Sets.push_back(set);
    Use(0, kSand);

    Click(5, 5);
    const TTerrainMarks &marks = Edit->TerrainMarks();
    EXPECT_EQ(marks.Count(), 1u);
    EXPECT_TRUE(marks.Shown(*Map, 0, 4, 4));
    // One corner away from what the cell wants.
    const TTerrainMatcher matcher(Tileset, set, 16, 16, 16, 256);
    const TWangId &closest = matcher.PartOf(At(4, 4))->Id;
    int32_t differing = 0;
    const TWangId wanted = Corners(kGrass, kGrass, kGrass, kSand);
    for (int32_t slot = 1; slot < 8; slot += 2)
        differing += closest[static_cast<size_t>(slot)] != wanted[static_cast<size_t>(slot)];
    EXPECT_EQ(differing, 1);
    EXPECT_EQ(At(5, 4), Chip(16 + 12));
    EXPECT_EQ(At(6, 6), Chip(16 + 1));

    // The map view shows the frame on that cell and on no other.
    View.ViewReady = true;
    View.Initialized = true;
    View.ViewWidth = 12 * 16;
    View.ViewHeight = 12 * 16;
    View.ViewCellWidth = 16;
    View.ViewCellHeight = 16;
    View.ShowGrid = false;
    View.CurrentLayer = 0;
    struct TNoParts : TChipPositions {
        bool GetImagePosition(int32_t, int32_t, int32_t &, int32_t &) const override
        {
            return false;
        }
    } noParts;
    TPixelBuffer back;
    back.SetSize(View.ViewWidth, View.ViewHeight, 32);
    TMapViewRenderer renderer(*Map, View, noParts, back, nullptr);
    ASSERT_TRUE(renderer.ComposeFull());
    const uint32_t red = ColorToPixel32(0x0000FF);
    EXPECT_EQ(back.Row32(4 * 16)[4 * 16 + 8] & 0xFFFFFF, red);
    EXPECT_EQ(back.Row32(4 * 16 + 8)[4 * 16 + 1] & 0xFFFFFF, red);
    EXPECT_NE(back.Row32(4 * 16 + 8)[4 * 16 + 8] & 0xFFFFFF, red);
    EXPECT_NE(back.Row32(5 * 16)[5 * 16 + 8] & 0xFFFFFF, red);

    // Undo takes the part back and with it the frame; redo brings both.
    Edit->UndoMenuItemClick();
    EXPECT_FALSE(marks.Shown(*Map, 0, 4, 4));
    Edit->RedoMenuItemClick();
    EXPECT_TRUE(marks.Shown(*Map, 0, 4, 4));

    // Grass painted back: the cell fits again and its frame goes.
    Use(0, kGrass);
    Click(5, 5);
    EXPECT_EQ(marks.Count(), 0u);
    for (uint16_t chip : Cells()) // either of the two grass parts
        EXPECT_TRUE(chip == Chip(0) || chip == Chip(16)) << chip;
}

TEST_F(TTerrainBrush, TerrainsWithoutATransitionMeetThroughTheTerrainBetween)
{
    MakeMapOf(16, 16, 0);
    Tileset = MakeTileset(4, 8);
    TTerrainSet set = MakeSet(TTerrainSetType::Corner, {"Grass", "Water", "Sand"});
    AddLayout(set, TTerrainLayout::Corner16, 0, kGrass, kWater);
    AddLayout(set, TTerrainLayout::Corner16, 16, kGrass, kSand);
    Tileset.Sets.push_back(set);
    std::fill(Map->GetLayer(0).Data.begin(), Map->GetLayer(0).Data.end(), Chip(15));

    // Sand into water: a ring of grass corners around it, water beyond.
    Use(0, kSand);
    Click(8, 8);
    const TTerrainMatcher matcher(Tileset, set, 16, 16, 16, 256);
    for (int32_t y = 0; y <= 16; ++y)
        for (int32_t x = 0; x <= 16; ++x) {
            // Corner (x, y) is the top-left corner of cell (x, y), or another cell's corner.
            const int32_t cx = std::min(x, 15);
            const int32_t cy = std::min(y, 15);
            const int32_t slot = x > 15 ? (y > 15 ? wsBottomRight : wsTopRight)
                                        : (y > 15 ? wsBottomLeft : wsTopLeft);
            const int32_t ring = std::max(std::max(8 - x, x - 9), std::max(8 - y, y - 9));
            const uint8_t wanted = ring <= 0 ? kSand : ring == 1 ? kGrass : kWater;
            EXPECT_EQ(matcher.PartOf(At(cx, cy))->Id[static_cast<size_t>(slot)], wanted)
                << "corner " << x << ", " << y;
        }
    ExpectNeighboursAgree(set);
    EXPECT_EQ(Edit->TerrainMarks().Count(), 0u);
}

TEST_F(TTerrainBrush, TheFillReplacesAClosedRegionAndFixesItsBorder)
{
    MakeMapOf(20, 20, 0);
    UseCornerSet();
    TCornerPicture picture(20, 20);
    // A closed ring of water from (3, 3) to (12, 12).
    std::vector<TTerrainCell> ring;
    for (int32_t i = 3; i <= 12; ++i) {
        ring.push_back({i, 3});
        ring.push_back({i, 12});
        ring.push_back({3, i});
        ring.push_back({12, i});
    }
    for (const TTerrainCell &cell : ring)
        Click(cell.X, cell.Y);
    picture.Paint(ring, true);
    ExpectPicture(picture);
    const std::vector<uint16_t> ringed = Cells();

    // The grass inside: the cells all of whose corners are grass, joined to (7, 7).
    const TTerrainMatcher matcher(Tileset, Tileset.Sets[0], 16, 16, 16, 256);
    const std::vector<TTerrainCell> inside = TerrainRegion(*Map, 0, matcher, 7, 7, kGrass);
    EXPECT_EQ(inside.size(), 36u); // (5, 5) to (10, 10)
    Window.FillTerrain = true;
    EXPECT_TRUE(Edit->FillsTerrain());
    ASSERT_TRUE(Edit->TerrainFill(7, 7));
    picture.Paint(inside, true);
    ExpectPicture(picture);
    EXPECT_EQ(At(4, 7), Chip(15)); // the ring's inner transitions became water
    EXPECT_EQ(At(2, 7), Chip(10)); // outside, nothing changed
    // Filling water with water does nothing.
    EXPECT_FALSE(Edit->TerrainFill(7, 7));

    // The fill is one step.
    Edit->UndoMenuItemClick();
    EXPECT_EQ(Cells(), ringed);

    // The right button picks the terrain under the pointer: water at the ring's corner, grass
    // outside it.
    Window.Choice = {};
    ASSERT_TRUE(Edit->PickTerrain(2, 2, 0.9, 0.9));
    EXPECT_EQ(Window.Choice, (TTerrainChoice{0, kWater}));
    ASSERT_TRUE(Edit->PickTerrain(2, 2, 0.1, 0.1));
    EXPECT_EQ(Window.Choice, (TTerrainChoice{0, kGrass}));
}
