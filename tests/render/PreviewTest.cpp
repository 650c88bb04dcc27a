// The overview's composition and the frame of the map view's area.
#include "RenderTestSupport.h"

#include "editor/render/PreviewRenderer.h"
#include "tests/support/ScriptedDialogSeam.h"

#include <gtest/gtest.h>

namespace
{

class PreviewTest : public testing::Test, public TRenderFixture
{
protected:
    TPreviewState Preview;
    TPixelBuffer PreviewBack;

    void PreviewSetup(int32_t Scale, int32_t Width, int32_t Height)
    {
        Preview.PreviewScale = Scale;
        Preview.ViewWidth = Width;
        Preview.ViewHeight = Height;
        PreviewBack.SetSize(Width, Height, 32);
        PreviewBack.Fill(0x00FFFFFF);
    }

    TPreviewRenderer PreviewRenderer()
    {
        return TPreviewRenderer(Map, Preview, State, Parts, PreviewBack, &Background);
    }

    // The preview's pixel of cell (X, Y) in layer L at offset (OX, OY) inside the e × e cell.
    uint32_t Sample(uint32_t Tag, uint16_t Value, int32_t OX, int32_t OY) const
    {
        const int32_t e = Preview.PreviewScale;
        const int32_t step = Map.PartsWidth() * 256 / e;
        return PartPixel(Tag, Value, OX * step / 256, OY * step / 256);
    }
};

TEST_F(PreviewTest, EveryVisibleLayerIsShrunkToTheScale)
{
    MakeView(10, 8, 32, 32, 2, 320, 256);
    FillPattern(16);
    GiveImage(0, 1);
    GiveImage(1, 2, 4, true);
    State.TransEnabled = true;
    State.TransColor = kKeyColor;
    State.FogMode = true; // ignored here
    State.CurrentLayer = 0;
    PreviewSetup(4, 100, 100);
    ASSERT_TRUE(PreviewRenderer().UpdatePreview());
    for (int32_t cy = 0; cy < 8; ++cy)
        for (int32_t cx = 0; cx < 10; ++cx)
            for (int32_t oy = 0; oy < 4; ++oy)
                for (int32_t ox = 0; ox < 4; ++ox) {
                    const int32_t px = cx * 4 + ox, py = cy * 4 + oy;
                    const uint16_t v0 = static_cast<uint16_t>((cx + 2 * cy) % 16);
                    const uint16_t v1 = static_cast<uint16_t>((cx + 2 * cy + 1) % 16);
                    // Columns 0 and 1 of the 4 sample the keyed left half of layer 1.
                    const uint32_t want = ox < 2 ? Sample(1, v0, ox, oy) : Sample(2, v1, ox, oy);
                    ASSERT_EQ(PreviewBack.Pixel(px, py), want) << px << "," << py;
                }
    // Beyond the map: untouched by the layers (background fill stops at the map).
    EXPECT_EQ(PreviewBack.Pixel(60, 10), 0x00FFFFFFu);
}

TEST_F(PreviewTest, LayerZeroShowsTheInvisiblePartUpperLayersDoNot)
{
    MakeView(2, 1, 8, 8, 2, 16, 8);
    GiveImage(0, 1);
    GiveImage(1, 2);
    SetCell(0, 0, 0, 5);
    SetCell(1, 0, 0, 5);
    SetCell(1, 1, 0, 3);
    State.UseInvisiblePart = true;
    State.InvisiblePart = 5;
    PreviewSetup(2, 20, 20);
    PreviewRenderer().UpdatePreview();
    EXPECT_EQ(PreviewBack.Pixel(0, 0), PartPixel(1, 5, 0, 0));
    EXPECT_EQ(PreviewBack.Pixel(2, 0), PartPixel(2, 3, 0, 0));
}

TEST_F(PreviewTest, HiddenLayersAreNotShown)
{
    MakeView(2, 2, 8, 8, 2, 16, 16);
    GiveImage(0, 1);
    GiveImage(1, 2);
    Map.SetLayerVisible(1, false);
    PreviewSetup(2, 20, 20);
    PreviewRenderer().UpdatePreview();
    EXPECT_EQ(PreviewBack.Pixel(1, 1) >> 20, 1u);
}

TEST_F(PreviewTest, RegionUpdateRedrawsItsCellsFromTheBackground)
{
    MakeView(6, 6, 8, 8, 2, 48, 48);
    GiveImage(0, 1);
    GiveImage(1, 2, 4, true);
    State.TransEnabled = true;
    State.TransColor = kKeyColor;
    PreviewSetup(2, 12, 12);
    Map.SetLayerVisible(0, false);
    PreviewRenderer().UpdatePreview();
    const TPixelBuffer before = PreviewBack;
    SetCell(1, 2, 3, 7);
    PreviewRenderer().UpdatePreview();
    const TPixelBuffer full = PreviewBack;
    PreviewBack = before;
    ASSERT_TRUE(PreviewRenderer().UpdatePreviewRect(2, 3, 0, 0));
    for (int32_t y = 0; y < 12; ++y)
        for (int32_t x = 0; x < 12; ++x)
            ASSERT_EQ(PreviewBack.Pixel(x, y), full.Pixel(x, y)) << x << "," << y;
}

TEST_F(PreviewTest, NothingWhileRolledUpOrHidden)
{
    MakeView(2, 2, 8, 8, 1, 16, 16);
    GiveImage(0, 1);
    PreviewSetup(2, 20, 20);
    Preview.Minimized = true;
    EXPECT_FALSE(PreviewRenderer().UpdatePreview());
    Preview.Minimized = false;
    Preview.Visible = false;
    EXPECT_FALSE(PreviewRenderer().UpdatePreview());
    EXPECT_FALSE(PreviewRenderer().UpdatePreviewRect(0, 0, 0, 0));
    EXPECT_EQ(PreviewBack.Pixel(0, 0), 0x00FFFFFFu);
}

TEST_F(PreviewTest, FrameMarksTheMapViewsArea)
{
    // A 100 × 100 map, map view 320 × 256 at 100 % with 32-pixel parts scrolled to (10, 20).
    MakeView(100, 100, 32, 32, 1, 320, 256);
    GiveImage(0, 1);
    State.ScrollX = 10;
    State.ScrollY = 20;
    PreviewSetup(2, 200, 150);
    Preview.PreviewScrollX = 4;
    Preview.PreviewScrollY = 15;
    TPreviewRenderer renderer = PreviewRenderer();
    TPixelRect frame;
    ASSERT_TRUE(renderer.ViewFrame(frame));
    EXPECT_EQ(frame, (TPixelRect{12, 10, 12 + 20, 10 + 16}));
    TPixelBuffer window(200, 170, 32);
    ASSERT_TRUE(renderer.DrawViewFrame(window, 20));
    EXPECT_EQ(window.Pixel(12, 30), 0x00FF0000u);
    EXPECT_EQ(window.Pixel(31, 45), 0x00FF0000u);
    EXPECT_NE(window.Pixel(32, 45), 0x00FF0000u);

    // Zoomed map view (40-pixel cells): 8 × 6.4 → 8 × 6 cells.
    State.ViewCellWidth = 40;
    State.ViewCellHeight = 40;
    ASSERT_TRUE(renderer.ViewFrame(frame));
    EXPECT_EQ(frame.Width(), 16);
    EXPECT_EQ(frame.Height(), 12);
}

TEST_F(PreviewTest, FrameForPartsSmallerThanTheScaleIsTheVisibleCells)
{
    MakeView(100, 100, 2, 2, 1, 64, 64);
    State.ViewCellWidth = 2;
    State.ViewCellHeight = 2;
    PreviewSetup(4, 200, 200);
    TPixelRect frame;
    ASSERT_TRUE(PreviewRenderer().ViewFrame(frame));
    EXPECT_EQ(frame.Width(), 32 * 4);
    EXPECT_EQ(frame.Height(), 32 * 4);
    // Limited to the map.
    MakeView(10, 10, 2, 2, 1, 64, 64);
    ASSERT_TRUE(PreviewRenderer().ViewFrame(frame));
    EXPECT_EQ(frame.Width(), 10 * 4);
}

TEST_F(PreviewTest, StatusTextShowsTheScaleAsAPercentage)
{
    TScopedDialogSeam seam;
    MakeView(4, 4, 32, 32, 1, 32, 32);
    EXPECT_EQ(PreviewStatusText(Map, 2), "Zoom:7%");
    EXPECT_EQ(PreviewStatusText(Map, 4), "Zoom:13%");
    TMap empty;
    EXPECT_EQ(PreviewStatusText(empty, 2), "Zoom");
}

} // namespace
