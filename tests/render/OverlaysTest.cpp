// Part numbers, grid, selection, tiled-pen lattice and cursor grid positions.
#include "RenderTestSupport.h"

#include "editor/render/MapViewMath.h"

#include <gtest/gtest.h>
#include <set>

namespace
{

constexpr uint32_t kGridColor = 0x00A4A0A0;
constexpr uint32_t kGridPixel = ColorToPixel32(kGridColor);

class OverlaysTest : public testing::Test, public TRenderFixture
{
protected:
    // A plain white view so that overlays stand out.
    void PlainSetup(int32_t Width, int32_t Height, int32_t Cell, int32_t ViewWidth,
                    int32_t ViewHeight)
    {
        MakeView(Width, Height, Cell, Cell, 1, ViewWidth, ViewHeight);
        auto image = std::make_unique<TPixelBuffer>(Cell * 4, Cell * 4, 32);
        image->Fill(0x00FFFFFF);
        auto chip = std::make_unique<TMapChip>();
        chip->Image = std::move(image);
        Map.SetLayerChip(0, chip.get());
        Chips.push_back(std::move(chip));
    }

    int CountPixels(uint32_t Pixel, const TPixelRect &Rect) const
    {
        int n = 0;
        for (int32_t y = Rect.Top; y < Rect.Bottom; ++y)
            for (int32_t x = Rect.Left; x < Rect.Right; ++x)
                if ((Back.Pixel(x, y) & 0x00FFFFFF) == Pixel)
                    ++n;
        return n;
    }

    // The bounding box of pixels whose colour (fourth byte ignored) is Pixel.
    TPixelRect BoundsOf(uint32_t Pixel, const TPixelRect &Rect) const
    {
        TPixelRect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (int32_t y = Rect.Top; y < Rect.Bottom; ++y)
            for (int32_t x = Rect.Left; x < Rect.Right; ++x)
                if ((Back.Pixel(x, y) & 0x00FFFFFF) == Pixel) {
                    box.Left = std::min(box.Left, x);
                    box.Top = std::min(box.Top, y);
                    box.Right = std::max(box.Right, x + 1);
                    box.Bottom = std::max(box.Bottom, y + 1);
                }
        return box;
    }
};

TEST_F(OverlaysTest, GridRunsAlongTopAndLeftEdgesAndEndsWithTheMap)
{
    // A map 5 cells wide in a 20-cell-wide view.
    PlainSetup(5, 3, 10, 200, 100);
    State.ShowGrid = true;
    State.GridColor = kGridColor;
    Renderer().ComposeFull();
    for (int32_t l = 0; l <= 5; ++l) {
        EXPECT_EQ(Back.Pixel(l * 10, 5), kGridPixel) << l;
        EXPECT_EQ(Back.Pixel(l * 10, 29), kGridPixel) << l;
        EXPECT_NE(Back.Pixel(l * 10, 31), kGridPixel) << l; // ends at the map's bottom
    }
    EXPECT_NE(Back.Pixel(60, 5), kGridPixel);
    for (int32_t l = 0; l <= 3; ++l) {
        EXPECT_EQ(Back.Pixel(0, l * 10), kGridPixel);
        EXPECT_EQ(Back.Pixel(49, l * 10), kGridPixel);
        EXPECT_NE(Back.Pixel(51, l * 10), kGridPixel);
    }
    EXPECT_NE(Back.Pixel(5, 5), kGridPixel);
    // The last lines are the map's own edges, excluding their end points.
    EXPECT_EQ(Back.Pixel(50, 29), kGridPixel);
    EXPECT_NE(Back.Pixel(50, 30), kGridPixel);
    EXPECT_EQ(Back.Pixel(49, 30), kGridPixel);
}

TEST_F(OverlaysTest, GridSpansTheWholeBufferWhenTheMapIsLarger)
{
    PlainSetup(50, 50, 10, 95, 45);
    State.ShowGrid = true;
    State.GridColor = kGridColor;
    Renderer().ComposeFull();
    EXPECT_EQ(Back.Pixel(94, 40), kGridPixel);
    EXPECT_EQ(Back.Pixel(90, 44), kGridPixel);
}

TEST_F(OverlaysTest, GridMinHidesTheGridOnSmallCells)
{
    PlainSetup(10, 10, 6, 60, 60);
    State.ShowGrid = true;
    State.GridColor = kGridColor;
    State.GridMin = 8;
    Renderer().ComposeFull();
    EXPECT_EQ(CountPixels(kGridPixel, BufferRect(Back)), 0);
    State.GridMin = 6;
    Renderer().ComposeFull();
    EXPECT_GT(CountPixels(kGridPixel, BufferRect(Back)), 0);
}

TEST_F(OverlaysTest, NumbersAreDrawnInTheirCellsOnTheCurrentLayer)
{
    PlainSetup(4, 2, 24, 96, 48);
    SetCell(0, 1, 0, 7);
    SetCell(0, 2, 1, 123);
    State.ShowNumber = true;
    State.NumberColor = 0x000000FF; // red
    Renderer().ComposeFull();
    const uint32_t red = 0x00FF0000;
    // The number of cell (1, 0) lies within that cell, one pixel in from its left edge, and
    // around its vertical middle (top at ch div 2 − 5).
    const TPixelRect box = BoundsOf(red, {24, 0, 48, 24});
    ASSERT_FALSE(box.IsEmpty());
    EXPECT_GE(box.Left, 25);
    EXPECT_GE(box.Top, 24 / 2 - 5);
    EXPECT_LE(box.Bottom, 24 / 2 - 5 + 11 + 2);
    // Every cell is numbered, wider numbers are wider.
    EXPECT_GT(CountPixels(red, {0, 0, 24, 24}), 0);
    EXPECT_GT(BoundsOf(red, {48, 24, 72, 48}).Width(), box.Width());
}

// A number wider than its cell runs on over the next cells instead of being cut; a partial
// update of a cell it runs into shows it the same.
TEST_F(OverlaysTest, LongNumbersRunOverIntoTheNextCells)
{
    PlainSetup(8, 2, 8, 64, 16);
    SetCell(0, 0, 0, 12345);
    State.ShowNumber = true;
    State.NumberColor = 0x000000FF;
    // Only the long number: the other cells hold the invisible part, which gets none.
    State.UseInvisiblePart = true;
    State.forceinvnum = 1;
    Renderer().ComposeFull();
    const uint32_t red = 0x00FF0000;
    const TPixelRect box = BoundsOf(red, BufferRect(Back));
    ASSERT_FALSE(box.IsEmpty());
    EXPECT_GT(box.Right, 3 * 8);
    const TPixelBuffer full = Back;
    Back.Fill(0);
    Renderer().ComposeRegion(2, 0, 0, 0);
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 16; x < 24; ++x)
            ASSERT_EQ(Back.Pixel(x, y), full.Pixel(x, y)) << x << "," << y;
}

TEST_F(OverlaysTest, NumberMinAndTheHiddenLayerSuppressNumbers)
{
    PlainSetup(2, 2, 12, 24, 24);
    State.ShowNumber = true;
    State.NumberColor = 0x000000FF;
    State.NumberMin = 16;
    Renderer().ComposeFull();
    EXPECT_EQ(CountPixels(0x00FF0000, BufferRect(Back)), 0);
    State.ViewCellWidth = 16;
    State.ViewCellHeight = 16;
    Back.SetSize(32, 32);
    Renderer().ComposeFull();
    EXPECT_GT(CountPixels(0x00FF0000, BufferRect(Back)), 0);
    Map.SetLayerVisible(0, false);
    Renderer().ComposeFull();
    EXPECT_EQ(CountPixels(0x00FF0000, BufferRect(Back)), 0);
}

TEST_F(OverlaysTest, ForceinvnumDropsTheInvisiblePartsNumber)
{
    PlainSetup(2, 1, 24, 48, 24);
    SetCell(0, 0, 0, 4);
    SetCell(0, 1, 0, 5);
    State.ShowNumber = true;
    State.NumberColor = 0x000000FF;
    State.UseInvisiblePart = true;
    State.InvisiblePart = 4;
    // forceinvnum 0: the invisible part's cell is empty but numbered.
    Renderer().ComposeFull();
    EXPECT_GT(CountPixels(0x00FF0000, {0, 0, 24, 24}), 0);
    EXPECT_EQ(Back.Pixel(23, 1), CheckerPixel(23, 1));
    State.forceinvnum = 1;
    Renderer().ComposeFull();
    EXPECT_EQ(CountPixels(0x00FF0000, {0, 0, 24, 24}), 0);
    EXPECT_GT(CountPixels(0x00FF0000, {24, 0, 48, 24}), 0);
}

TEST_F(OverlaysTest, BoxedNumbersSitOnTheirBackgroundColour)
{
    PlainSetup(1, 1, 32, 32, 32);
    State.ShowNumber = true;
    State.BoxNumber = true;
    State.NumberColor = 0;
    State.NumberBkColor = 0x00808080;
    Renderer().ComposeFull();
    const TPixelRect box = BoundsOf(0x00808080, BufferRect(Back));
    ASSERT_FALSE(box.IsEmpty());
    EXPECT_EQ(box.Left, 1);
    EXPECT_GT(CountPixels(0, box), 0);
}

TEST_F(OverlaysTest, HatchedSelectionLiesJustInsideTheGridLines)
{
    PlainSetup(10, 10, 16, 160, 160);
    State.Selection = {1, 5, 4, -2, 1, 0}; // dragged leftwards
    Renderer().ComposeFull();
    // Normalised: X 3 .. 5, Y 4 .. 5; frame (49, 65) to (96, 96), white outline.
    EXPECT_EQ(BoundsOf(0, BufferRect(Back)).Left >= 49, true);
    EXPECT_EQ(Back.Pixel(49, 70), 0x00FFFFFFu);
    EXPECT_EQ(Back.Pixel(95, 70), 0x00FFFFFFu);
    EXPECT_EQ(Back.Pixel(60, 65), 0x00FFFFFFu);
    const TPixelRect hatch = BoundsOf(0, BufferRect(Back));
    EXPECT_GE(hatch.Left, 50);
    EXPECT_LE(hatch.Right, 95);
    EXPECT_GE(hatch.Top, 66);
    EXPECT_LE(hatch.Bottom, 95);
    // Cells stay visible between the hatch lines.
    EXPECT_GT(CountPixels(0x00FFFFFF, {50, 66, 95, 95}), CountPixels(0, {50, 66, 95, 95}));
    EXPECT_EQ(SelectionStatusText(State.Selection), "Selection(3, 4)-(5, 5)");
}

TEST_F(OverlaysTest, TranslucentSelectionTintsWithTheHighlight)
{
    PlainSetup(4, 4, 8, 32, 32);
    State.UseTranslucentSelect = true;
    State.HighlightColor = 0x00000000; // black: the tint halves white
    State.Selection = {1, 1, 1, 1, 0, 0};
    Renderer().ComposeFull();
    EXPECT_EQ(Back.Pixel(9, 9), 0x00000000u);   // frame
    EXPECT_EQ(Back.Pixel(10, 10), 0x007F7F7Fu); // tinted
    EXPECT_EQ(Back.Pixel(23, 15), 0x00000000u); // frame's bottom right corner
    EXPECT_EQ(Back.Pixel(24, 10), 0x00FFFFFFu); // outside
    EXPECT_EQ(Back.Pixel(8, 10), 0x00FFFFFFu);
}

TEST_F(OverlaysTest, FoundCellIsFramedRedThreePixelsWide)
{
    PlainSetup(4, 4, 16, 64, 64);
    State.FoundMark = true;
    State.Selection = {1, 1, 1, 0, 0, 0};
    Renderer().ComposeFull();
    const uint32_t red = 0x00FF0000;
    // Centred on the frame from (17, 17) to (32, 32).
    EXPECT_EQ(Back.Pixel(16, 20), red);
    EXPECT_EQ(Back.Pixel(17, 20), red);
    EXPECT_EQ(Back.Pixel(18, 20), red);
    EXPECT_NE(Back.Pixel(19, 20), red);
    EXPECT_EQ(Back.Pixel(32, 20), red);
    EXPECT_NE(Back.Pixel(15, 20), red);
}

TEST_F(OverlaysTest, LatticeIsAnchoredAtTheSelectionCell)
{
    // A 3 × 2 block with the tiled pen anchored at view cell (4, 1): frames start at cell
    // columns -2, 1, 4, 7 and rows -1, 1, 3.
    PlainSetup(30, 30, 10, 100, 60);
    State.ShowCGrid = true;
    State.AGridColor = 0x0000FF;
    State.ToolMode = tmTiledPen;
    State.Dragging = true;
    State.CursorBlock = {1, 0, 0, 2, 1, 0};
    State.Selection = {0, 4, 1, 0, 0, 0};
    Renderer().ComposeFull();
    const uint32_t red = 0x00FF0000;
    std::set<int32_t> lefts;
    for (int32_t x = 0; x < 100; ++x)
        if (Back.Pixel(x, 25) == red && Back.Pixel(x, 24) == red && Back.Pixel(x, 26) == red)
            lefts.insert(x);
    // Left edges at column × 10 + 3, right edges at the next frame's column × 10 − 3.
    EXPECT_EQ(lefts, (std::set<int32_t>{7, 13, 37, 43, 67, 73, 97}));
    std::set<int32_t> tops;
    for (int32_t y = 0; y < 60; ++y)
        if (Back.Pixel(45, y) == red)
            tops.insert(y);
    EXPECT_EQ(tops, (std::set<int32_t>{7, 13, 27, 33, 47, 53}));

    State.Dragging = false;
    Renderer().ComposeFull();
    EXPECT_EQ(CountPixels(red, BufferRect(Back)), 0);
}

TEST_F(OverlaysTest, CursorGridFramesTheBlockTheToolWrites)
{
    PlainSetup(10, 10, 10, 100, 100);
    State.ShowCGrid = true;
    State.AGridColor = 0x00FF00; // green
    State.CursorBlock = {1, 0, 0, 1, 0, 0};
    State.ScrollX = 1;
    TMapViewRenderer renderer = Renderer();
    renderer.ComposeFull();
    TPixelBuffer window(100, 120, 32);
    ASSERT_TRUE(renderer.DrawActiveGridLine(window, 20, 3, 2));
    // Cell (3, 2) is view cell (2, 2): frame from (23, 43) to (38, 48) with the tool bar.
    EXPECT_EQ(window.Pixel(23, 43), 0x0000FF00u);
    EXPECT_EQ(window.Pixel(37, 47), 0x0000FF00u);
    EXPECT_NE(window.Pixel(38, 47), 0x0000FF00u);
    EXPECT_EQ(window.Pixel(50, 25), Back.Pixel(50, 5)); // the back buffer below the tool bar

    State.ToolMode = tmSelect; // only erased
    TPixelBuffer plain(100, 120, 32);
    ASSERT_TRUE(renderer.DrawActiveGridLine(plain, 20, 3, 2));
    EXPECT_NE(plain.Pixel(23, 43), 0x0000FF00u);
    TPixelRect frame;
    EXPECT_FALSE(ActiveGridFrame(State, 3, 2, frame));
}

} // namespace
