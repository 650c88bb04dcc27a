// Map view composition: layers, transparency, invisible part, fog, markers, zoom, floating
// blocks and the partial update, compared pixel by pixel with what each cell must show.
#include "RenderTestSupport.h"

#include "editor/render/MapViewMath.h"

#include <gtest/gtest.h>

namespace
{

class MapViewTest : public testing::Test, public TRenderFixture
{
};

TEST_F(MapViewTest, NothingIsDrawnUnlessViewAndMapAreReady)
{
    MakeView(4, 4, 8, 8, 1, 32, 32);
    GiveImage(0, 1);
    Back.Fill(0x00123456);
    State.ViewReady = false;
    EXPECT_FALSE(Renderer().ComposeFull());
    State.ViewReady = true;
    State.ViewCellWidth = 0;
    EXPECT_FALSE(Renderer().ComposeFull());
    EXPECT_EQ(Back.Pixel(5, 5), 0x00123456u);
}

TEST_F(MapViewTest, LayersAreDrawnBottomToTopAndTheMapEndsOnTheCheckerboard)
{
    MakeView(3, 2, 8, 8, 2, 40, 40);
    FillPattern(16);
    GiveImage(0, 1);
    GiveImage(1, 2, 4, true);
    State.TransEnabled = true;
    State.TransColor = kKeyColor;
    ASSERT_TRUE(Renderer().ComposeFull());
    EXPECT_EQ(CountMismatches(BufferRect(Back)), 0);
    // Right of and below the map: background only.
    EXPECT_EQ(Back.Pixel(30, 5), CheckerPixel(30, 5));
    EXPECT_EQ(Back.Pixel(5, 20), CheckerPixel(5, 20));
    // A keyed pixel of layer 1 shows layer 0; an unkeyed one shows layer 1.
    EXPECT_EQ(Back.Pixel(1, 1) >> 20, 1u);
    EXPECT_EQ(Back.Pixel(6, 1) >> 20, 2u);
}

TEST_F(MapViewTest, TheBottomLayerIsAlwaysOpaque)
{
    MakeView(2, 2, 8, 8, 1, 16, 16);
    GiveImage(0, 1, 4, true);
    State.TransEnabled = true;
    State.TransColor = kKeyColor;
    Renderer().ComposeFull();
    EXPECT_EQ(Back.Pixel(0, 0), kKeyPixel);
}

TEST_F(MapViewTest, WithoutTheTransparentColourUpperLayersCoverEverything)
{
    MakeView(2, 2, 8, 8, 2, 16, 16);
    GiveImage(0, 1);
    GiveImage(1, 2, 4, true);
    State.TransColor = kKeyColor;
    Renderer().ComposeFull();
    EXPECT_EQ(Back.Pixel(0, 0), kKeyPixel);
    EXPECT_EQ(CountMismatches(BufferRect(Back)), 0);
}

TEST_F(MapViewTest, TheInvisiblePartIsNeverDrawn)
{
    MakeView(2, 1, 8, 8, 2, 16, 8);
    GiveImage(0, 1);
    GiveImage(1, 2);
    SetCell(0, 0, 0, 5);
    SetCell(1, 0, 0, 5);
    SetCell(0, 1, 0, 3);
    SetCell(1, 1, 0, 5);
    State.UseInvisiblePart = true;
    State.InvisiblePart = 5;
    Renderer().ComposeFull();
    EXPECT_EQ(Back.Pixel(2, 2), CheckerPixel(2, 2));
    EXPECT_EQ(Back.Pixel(10, 2), PartPixel(1, 3, 2, 2));
    EXPECT_EQ(CountMismatches(BufferRect(Back)), 0);
}

TEST_F(MapViewTest, HiddenLayersAndLayersWithoutImageAreSkipped)
{
    MakeView(2, 2, 8, 8, 3, 16, 16);
    FillPattern(16);
    GiveImage(0, 1);
    GiveImage(1, 2); // layer 2 has no image
    Map.SetLayerVisible(1, false);
    Renderer().ComposeFull();
    EXPECT_EQ(Back.Pixel(3, 3) >> 20, 1u);
    EXPECT_EQ(CountMismatches(BufferRect(Back)), 0);
}

TEST_F(MapViewTest, CurrentLayerOnlyDrawsJustThatLayer)
{
    MakeView(2, 2, 8, 8, 2, 16, 16);
    FillPattern(16);
    GiveImage(0, 1);
    GiveImage(1, 2, 4, true);
    State.CurrentLayer = 1;
    State.CurrentLayerOnly = true;
    State.TransEnabled = true;
    State.TransColor = kKeyColor;
    Renderer().ComposeFull();
    EXPECT_EQ(Back.Pixel(0, 0), CheckerPixel(0, 0));
    EXPECT_EQ(Back.Pixel(6, 0) >> 20, 2u);
    EXPECT_EQ(CountMismatches(BufferRect(Back)), 0);
    // In the fog display too.
    State.FogMode = true;
    Renderer().ComposeFull();
    EXPECT_EQ(CountMismatches(BufferRect(Back)), 0);
}

TEST_F(MapViewTest, ZoomedOutPartsAreShrunkByNearestNeighbour)
{
    MakeView(8, 8, 32, 32, 2, 128, 128);
    FillPattern(16);
    GiveImage(0, 1);
    GiveImage(1, 2, 4, true);
    State.TransEnabled = true;
    State.TransColor = kKeyColor;
    State.ViewCellWidth = 16;
    State.ViewCellHeight = 16;
    Renderer().ComposeFull();
    EXPECT_EQ(CountMismatches(BufferRect(Back)), 0);
    EXPECT_EQ(Back.Pixel(16 + 15, 3), PartPixel(2, 1 + 1, 30, 6)); // cell (1,0) of layer 1
}

TEST_F(MapViewTest, ZoomedInPartsRepeatPixels)
{
    MakeView(4, 4, 8, 8, 2, 64, 64);
    FillPattern(16);
    GiveImage(0, 1);
    GiveImage(1, 2, 4, true);
    State.ViewCellWidth = 16;
    State.ViewCellHeight = 16;
    Renderer().ComposeFull();
    EXPECT_EQ(CountMismatches(BufferRect(Back)), 0);
    EXPECT_EQ(Back.Pixel(3, 5), kKeyPixel); // no transparency: the key colour shows
    EXPECT_EQ(Back.Pixel(11, 5), PartPixel(2, 1, 5, 2));
    State.TransEnabled = true;
    State.TransColor = kKeyColor;
    State.ViewCellWidth = 20; // not a multiple of the part size
    State.ViewCellHeight = 12;
    Renderer().ComposeFull();
    EXPECT_EQ(CountMismatches(BufferRect(Back)), 0);
}

TEST_F(MapViewTest, ScrolledViewsShowTheCellsFromTheScrollPosition)
{
    MakeView(10, 10, 8, 8, 1, 32, 32);
    FillPattern(16);
    GiveImage(0, 1);
    State.ScrollX = 3;
    State.ScrollY = 5;
    Renderer().ComposeFull();
    EXPECT_EQ(CountMismatches(BufferRect(Back)), 0);
    EXPECT_EQ(Back.Pixel(0, 0), PartPixel(1, (3 + 10) % 16, 0, 0));
}

TEST_F(MapViewTest, FogBlendsOtherLayersAndDrawsTheCurrentOneOnTop)
{
    MakeView(1, 1, 8, 8, 3, 8, 8);
    GiveImage(0, 1);
    GiveImage(1, 2, 4, true);
    GiveImage(2, 3);
    State.FogMode = true;
    State.TransColor = kKeyColor;
    State.CurrentLayer = 0;
    Renderer().ComposeFull();
    // Layer 0 is current: it covers the blended layers 1 and 2.
    EXPECT_EQ(Back.Pixel(1, 1), PartPixel(1, 0, 1, 1));

    State.CurrentLayer = 1;
    State.TransEnabled = true;
    Renderer().ComposeFull();
    for (int32_t x = 0; x < 8; ++x) {
        const uint32_t layer0 = HalfBlend(PartPixel(1, 0, x, 2), CheckerPixel(x, 2));
        const uint32_t layer2 = HalfBlend(PartPixel(3, 0, x, 2), layer0);
        const uint32_t expected = x < 4 ? layer2 : PartPixel(2, 0, x, 2);
        EXPECT_EQ(Back.Pixel(x, 2), expected) << x;
    }
}

TEST_F(MapViewTest, FogSkipsTheKeyEvenWithoutTransparency)
{
    MakeView(1, 1, 8, 8, 2, 8, 8);
    GiveImage(0, 1, 4, true);
    GiveImage(1, 2);
    State.FogMode = true;
    State.TransColor = kKeyColor;
    State.CurrentLayer = 1;
    Renderer().ComposeFull();
    // Layer 1 (current) covers all; drawn before it, layer 0's key pixels were skipped.
    EXPECT_EQ(Back.Pixel(0, 0), PartPixel(2, 0, 0, 0));
    State.CurrentLayer = 1;
    Map.SetLayerVisible(1, false);
    Renderer().ComposeFull();
    EXPECT_EQ(Back.Pixel(0, 0), CheckerPixel(0, 0));
    EXPECT_EQ(Back.Pixel(5, 0), HalfBlend(PartPixel(1, 0, 5, 0), CheckerPixel(5, 0)));
}

TEST_F(MapViewTest, MarkersShowOnTheCurrentLayerOnly)
{
    MakeView(2, 1, 20, 20, 2, 40, 20);
    GiveImage(0, 1);
    GiveImage(1, 2, 4, true);
    State.ShowMarker = true;
    State.TransEnabled = true;
    State.TransColor = kKeyColor;
    State.CurrentLayer = 0;
    Renderer().ComposeFull();
    // A 20-pixel cell: legs of 4 pixels from (1, 1); layer 1 draws over layer 0's marker
    // except where its pixels are keyed (the left half of each part).
    EXPECT_EQ(Back.Pixel(1, 1), 0x00FFFFFFu); // outline
    EXPECT_EQ(Back.Pixel(2, 2), 0x00FF0000u); // red fill
    EXPECT_EQ(Back.Pixel(5, 1), 0x00FFFFFFu); // end of the top leg
    EXPECT_EQ(Back.Pixel(6, 1), Expected(6, 1));
    EXPECT_EQ(Back.Pixel(21, 1), 0x00FFFFFFu); // every cell of the current layer

    State.CurrentLayer = 1;
    Renderer().ComposeFull();
    EXPECT_EQ(Back.Pixel(2, 2), 0x00FF0000u);
    int markers = 0;
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 40; ++x)
            if (Back.Pixel(x, y) == 0x00FF0000u)
                ++markers;
    EXPECT_EQ(markers, 2 * 3); // the interior of a 4-pixel triangle, once per cell
}

TEST_F(MapViewTest, NoMarkerOnCellsHoldingTheInvisiblePart)
{
    MakeView(2, 1, 20, 20, 1, 40, 20);
    GiveImage(0, 1);
    SetCell(0, 1, 0, 7);
    State.ShowMarker = true;
    State.UseInvisiblePart = true;
    State.InvisiblePart = 7;
    Renderer().ComposeFull();
    EXPECT_EQ(Back.Pixel(2, 2), 0x00FF0000u);
    EXPECT_EQ(Back.Pixel(22, 2), CheckerPixel(22, 2));
}

TEST_F(MapViewTest, FloatingBlocksAreDrawnAtTheSelection)
{
    MakeView(6, 6, 8, 4, 2, 48, 24); // non-square parts
    GiveImage(0, 1);
    GiveImage(1, 2);
    std::vector<TModified> blocks(1);
    blocks[0].Layer = 1;
    blocks[0].Source = {1, 0, 0, 1, 1, 0};
    blocks[0].Data = {1, 2, 3, 4};
    State.Floating = true;
    State.FloatingBlocks = &blocks;
    State.Selection = {0, 2, 3, 1, 1, 0}; // inactive here so that no frame covers the cells
    Renderer().ComposeFull();
    EXPECT_EQ(Back.Pixel(2 * 8 + 1, 3 * 4 + 1), PartPixel(2, 1, 1, 1));
    EXPECT_EQ(Back.Pixel(3 * 8 + 1, 3 * 4 + 1), PartPixel(2, 2, 1, 1));
    EXPECT_EQ(Back.Pixel(2 * 8 + 1, 4 * 4 + 1), PartPixel(2, 3, 1, 1));
    EXPECT_EQ(Back.Pixel(3 * 8 + 7, 4 * 4 + 3), PartPixel(2, 4, 7, 3));
    EXPECT_EQ(Back.Pixel(4 * 8 + 1, 3 * 4 + 1), PartPixel(2, 0, 1, 1)); // the layer beneath

    // Scrolled so the block starts left of and above the view.
    State.ScrollX = 3;
    State.ScrollY = 4;
    Renderer().ComposeFull();
    EXPECT_EQ(Back.Pixel(1, 1), PartPixel(2, 4, 1, 1));

    State.Floating = false;
    Renderer().ComposeFull();
    EXPECT_EQ(Back.Pixel(1, 1), PartPixel(2, 0, 1, 1));
}

TEST_F(MapViewTest, PartialUpdateEqualsTheFullUpdateInsideItsRegion)
{
    MakeView(12, 10, 8, 8, 3, 80, 64);
    FillPattern(16);
    GiveImage(0, 1);
    GiveImage(1, 2, 4, true);
    GiveImage(2, 3, 4, true);
    State.TransEnabled = true;
    State.TransColor = kKeyColor;
    State.ShowMarker = true;
    State.CurrentLayer = 1;
    State.ShowGrid = true;
    State.ShowNumber = true;
    State.UseTranslucentSelect = true;
    State.Selection = {1, 2, 2, 4, 3, 0};
    std::vector<TModified> blocks(1);
    blocks[0].Layer = 2;
    blocks[0].Source = {1, 0, 0, 4, 3, 0};
    blocks[0].Data.assign(20, 3);
    State.Floating = true;
    State.FloatingBlocks = &blocks;
    // At 100 %, shrunk (where the full update samples each part once) and enlarged.
    for (const auto &[fog, cell] : std::vector<std::pair<bool, int32_t>>{
             {false, 8}, {true, 8}, {false, 4}, {true, 4}, {false, 6}, {true, 12}}) {
        State.FogMode = fog;
        State.ViewCellWidth = cell;
        State.ViewCellHeight = cell;
        Renderer().ComposeFull();
        const TPixelBuffer full = Back;
        // Change some cells, recompose fully for the reference, then restore the old picture
        // and recompose only the region.
        for (int32_t x = 3; x <= 5; ++x)
            SetCell(1, x, 3, 9);
        Renderer().ComposeFull();
        const TPixelBuffer reference = Back;
        Back = full;
        const TPixelRect area = Renderer().ComposeRegion(3, 3, 2, 0);
        EXPECT_EQ(area,
                  (TPixelRect{3 * cell, 3 * cell, std::min(6 * cell, 80), std::min(4 * cell, 64)}));
        for (int32_t y = 0; y < Back.Height(); ++y)
            for (int32_t x = 0; x < Back.Width(); ++x) {
                const uint32_t want =
                    area.Contains(x, y) ? reference.Pixel(x, y) : full.Pixel(x, y);
                ASSERT_EQ(Back.Pixel(x, y), want)
                    << "fog " << fog << " cell " << cell << " at " << x << "," << y;
            }
        for (int32_t x = 3; x <= 5; ++x)
            SetCell(1, x, 3, 0);
    }
}

TEST_F(MapViewTest, RegionCellsStopAtTheMapAndTheViewEdge)
{
    MakeView(5, 4, 8, 8, 1, 80, 80);
    TMapViewRenderer renderer = Renderer();
    auto cells = renderer.RegionCells(0, 0, 11, 11);
    EXPECT_EQ(cells.Columns, 5);
    EXPECT_EQ(cells.Rows, 4);
    State.ViewWidth = 20; // 3 columns fit (rounded up)
    cells = renderer.RegionCells(1, 0, 10, 1);
    EXPECT_EQ(cells.Columns, 3);
    EXPECT_EQ(cells.Rows, 2);
}

} // namespace
