// Zoom steps, centring, pixels and cells, and the view's status texts.
#include "editor/render/MapViewMath.h"
#include "tests/support/ScriptedDialogSeam.h"

#include <gtest/gtest.h>
#include <vector>

TEST(MapViewMath, ZoomInGrowsByTheStepUpToThreeTimes)
{
    std::vector<int32_t> widths;
    int32_t cw = 32, ch = 32;
    for (;;) {
        const TZoomStep step = ZoomInStep(cw, ch, 32, 32, 32);
        if (!step.Changed)
            break;
        cw = step.CellWidth;
        ch = step.CellHeight;
        widths.push_back(cw);
    }
    ASSERT_FALSE(widths.empty());
    EXPECT_EQ(widths.front(), 36);
    EXPECT_EQ(widths.back(), 96);
    EXPECT_EQ(widths.size(), 16u);
    EXPECT_EQ(ZoomInStep(32, 32, 32, 32, 32).ViewZoom, 288);
}

TEST(MapViewMath, ZoomOutShrinksWhileItStaysPositive)
{
    int32_t cw = 32, ch = 32;
    int32_t last = cw;
    for (;;) {
        const TZoomStep step = ZoomOutStep(cw, ch, 32, 32, 32);
        if (!step.Changed)
            break;
        cw = step.CellWidth;
        ch = step.CellHeight;
        last = cw;
    }
    EXPECT_EQ(last, 4);
    EXPECT_EQ(ZoomOutStep(16, 16, 32, 32, 32).ViewZoom, 96);
    const TZoomStep reset = ResetZoomStep(32, 16);
    EXPECT_EQ(reset.CellWidth, 32);
    EXPECT_EQ(reset.CellHeight, 16);
    EXPECT_EQ(reset.ViewZoom, 256);
}

TEST(MapViewMath, CellSizeFromZoom)
{
    EXPECT_EQ(ViewCellSizeFromZoom(32, 256), 32);
    EXPECT_EQ(ViewCellSizeFromZoom(32, 512), 64);
    EXPECT_EQ(ViewCellSizeFromZoom(32, 4), 32); // below one pixel: unzoomed
}

TEST(MapViewMath, MouseAndCells)
{
    EXPECT_EQ(MouseToChip({65, 31}, 32, 16), (TViewPoint{2, 1}));
    EXPECT_EQ(ChipToMouse({2, 1}, 32, 16), (TViewPoint{64, 16}));
}

TEST(MapViewMath, ScrollViewCentresWithinTheScrollRange)
{
    // 100-cell map, 10 cells visible.
    EXPECT_EQ(CentredScrollPosition(50, 100, 320, 32), 45);
    EXPECT_EQ(CentredScrollPosition(2, 100, 320, 32), 0);
    EXPECT_EQ(CentredScrollPosition(99, 100, 320, 32), 90);
    // A map narrower than the view stays at 0.
    EXPECT_EQ(CentredScrollPosition(3, 5, 320, 32), 0);
    EXPECT_EQ(ClampScrollPosition(-4, 100, 10), 0);
}

TEST(MapViewMath, DisplayStatusText)
{
    TScopedDialogSeam seam;
    TMapViewState state;
    state.ViewWidth = 330;
    state.ViewHeight = 200;
    state.ViewCellWidth = 32;
    state.ViewCellHeight = 32;
    state.ScrollX = 5;
    state.ScrollY = 7;
    EXPECT_EQ(DisplayStatusText(state, 100, 100), "Display(5, 7)-(14, 12)");
    state.ScrollX = 0;
    state.ScrollY = 0;
    EXPECT_EQ(DisplayStatusText(state, 4, 3), "Display(0, 0)-(3, 2)");
}
