// The map view's composition against the raster primitives it stands for: at every cell size
// from a quarter to three times the part size, with and without the transparent colour, in
// the fog display, with invisible parts, parts that leave their image, scrolled views and
// cells cut at the view's edges, the composed layers equal the primitives' picture pixel for
// pixel. And a scrolled view composed by moving the previous picture equals one composed from
// scratch.
#include "RenderTestSupport.h"

#include "editor/render/MapViewMath.h"
#include "editor/render/PreviewRenderer.h"

#include <gtest/gtest.h>

namespace
{

class CompositionTest : public testing::Test, public TRenderFixture
{
protected:
    // The layers as the primitives draw them, cell by cell and layer by layer.
    TPixelBuffer Reference()
    {
        TPixelBuffer picture(Back.Width(), Back.Height(), 32);
        FillWithBrush(picture, BufferRect(picture), &Background, BufferRect(picture));
        const int32_t cw = State.ViewCellWidth;
        const int32_t ch = State.ViewCellHeight;
        const auto drawLayer = [&](int32_t l, bool blend) {
            const TMapLayer &layer = Map.GetLayer(l);
            if (!layer.Visible || layer.Chip == nullptr)
                return;
            auto &image = static_cast<TPixelBuffer &>(*layer.Chip->Image);
            const int32_t pw = Map.PartsWidth();
            const int32_t ph = Map.PartsHeight();
            for (int32_t r = 0; r <= State.ViewHeight / ch; ++r)
                for (int32_t c = 0; c <= State.ViewWidth / cw; ++c) {
                    const int32_t x = State.ScrollX + c;
                    const int32_t y = State.ScrollY + r;
                    if (x >= Map.Width() || y >= Map.Height())
                        continue;
                    const uint16_t v = layer.Data[static_cast<size_t>(y) * Map.Width() + x];
                    if (State.UseInvisiblePart && v == State.InvisiblePart)
                        continue;
                    int32_t ix = 0, iy = 0;
                    Parts.GetImagePosition(v, l, ix, iy);
                    const int32_t px = c * cw;
                    const int32_t py = r * ch;
                    if (blend)
                        DIBHalfBlendUseKey32(picture, px, py, cw, ch, image, ix, iy, pw, ph,
                                             State.TransColor);
                    else if (State.TransEnabled && l != 0)
                        DIBCopyRectUseKey32(picture, px, py, cw, ch, image, ix, iy, pw, ph,
                                            State.TransColor);
                    else if (cw < pw || ch < ph)
                        DIBCopyRect32(picture, px, py, cw, ch, image, ix, iy, pw, ph);
                    else
                        StretchCopyRect32(picture, px, py, cw, ch, image, ix, iy, pw, ph);
                    if (!blend && State.ShowMarker && l == State.CurrentLayer)
                        DrawCornerTriangle(picture, px + 1, py + 1, cw / 5, 0x00FF0000u,
                                           0x00FFFFFFu, BufferRect(picture));
                }
        };
        for (int32_t l = 0; l < Map.LayerCount(); ++l) {
            if (State.FogMode && l != State.CurrentLayer && !State.CurrentLayerOnly)
                drawLayer(l, true);
            else if (!State.FogMode && (!State.CurrentLayerOnly || l == State.CurrentLayer))
                drawLayer(l, false);
        }
        if (State.FogMode)
            drawLayer(State.CurrentLayer, false);
        return picture;
    }

    void ExpectSamePicture(const TPixelBuffer &Want, const std::string &Case)
    {
        for (int32_t y = 0; y < Back.Height(); ++y)
            for (int32_t x = 0; x < Back.Width(); ++x)
                if (Back.Pixel(x, y) != Want.Pixel(x, y)) {
                    ADD_FAILURE() << Case << ": first difference at " << x << "," << y;
                    return;
                }
    }
};

TEST_F(CompositionTest, EveryZoomAndRuleShowsThePrimitivesPicture)
{
    // 8 × 6 parts; the third layer's image ends in the middle of a part column and its last
    // row of parts, so that some parts leave the image and are cut.
    MakeView(23, 17, 8, 6, 3, 150, 97);
    GiveImage(0, 1, 4);
    GiveImage(1, 2, 4, true);
    {
        auto image = std::make_unique<TPixelBuffer>(4 * 8 - 3, 3 * 6 - 2, 32);
        for (int32_t y = 0; y < image->Height(); ++y)
            for (int32_t x = 0; x < image->Width(); ++x)
                image->SetPixel(x, y, (x + y) % 5 == 0 ? kKeyPixel : PartPixel(3, 0, x, y));
        auto chip = std::make_unique<TMapChip>();
        chip->Image = std::move(image);
        Map.SetLayerChip(2, chip.get());
        Chips.push_back(std::move(chip));
    }
    // Values past the 16 parts of the images fall outside them.
    for (int32_t l = 0; l < 3; ++l)
        for (int32_t y = 0; y < Map.Height(); ++y)
            for (int32_t x = 0; x < Map.Width(); ++x)
                SetCell(l, x, y, static_cast<uint16_t>((x * 7 + y * 3 + l * 5) % 19));
    State.TransColor = kKeyColor;
    State.InvisiblePart = 4;
    State.CurrentLayer = 1;
    int32_t variant = 0;
    for (int32_t cw = 2; cw <= 24; ++cw) {
        for (const int32_t ch : {cw * 6 / 8 + 1, cw}) {
            State.ViewCellWidth = cw;
            State.ViewCellHeight = ch;
            ++variant;
            State.TransEnabled = variant % 2 == 0;
            State.UseInvisiblePart = variant % 3 == 0;
            State.FogMode = variant % 5 == 0;
            State.ShowMarker = variant % 7 == 0;
            State.CurrentLayerOnly = variant % 11 == 0;
            Map.SetLayerVisible(1, variant % 13 != 0);
            State.ScrollX = variant % 4 == 0 ? 0 : variant % 9;
            State.ScrollY = variant % 3 == 1 ? 0 : variant % 7;
            // Half the compositions start on a 24-bit buffer, as the window's does.
            Back.SetSize(State.ViewWidth, State.ViewHeight, variant % 2 == 0 ? 24 : 32);
            ASSERT_TRUE(Renderer().ComposeFull());
            ExpectSamePicture(Reference(), "cell " + std::to_string(cw) + "x" + std::to_string(ch) +
                                               " variant " + std::to_string(variant));
        }
    }
}

TEST_F(CompositionTest, AScrolledPictureEqualsOneComposedAfresh)
{
    struct TCase {
        int32_t MapWidth, MapHeight, Cell;
        bool Grid, Markers, Keyed, Fog, Invisible;
        int Selection; // 0 none, 1 hatched, 2 translucent
    };
    const TCase cases[] = {
        {60, 45, 8, true, false, true, false, false, 1},
        {60, 45, 4, true, true, false, false, false, 0},
        {60, 45, 6, false, false, true, false, true, 2}, // the brush shows in empty cells
        {60, 45, 12, true, false, true, true, false, 1}, // the fog lets the brush show
        {60, 45, 10, true, true, true, false, false, 2},
        {13, 9, 16, true, false, false, false, false, 1}, // the view reaches past the map
        {60, 45, 3, true, false, true, false, false, 0},
        {60, 45, 6, true, false, true, false, false, 1}, // the hatch moves out of step
        {13, 5, 16, true, true, true, false, false, 0},  // and past its bottom
    };
    const std::pair<int32_t, int32_t> moves[] = {{1, 0},   {0, 1},  {-3, 2},   {7, -5},
                                                 {0, 0},   {2, 2},  {-1, -1},  {40, 0},
                                                 {-40, 3}, {5, 20}, {-2, -30}, {3, 1}};
    for (const TCase &c : cases) {
        TRenderFixture scene;
        scene.MakeView(c.MapWidth, c.MapHeight, 8, 8, 3, 150, 97);
        scene.GiveImage(0, 1);
        scene.GiveImage(1, 2, 4, true);
        scene.GiveImage(2, 3, 4, true);
        scene.FillPattern(17); // part 16 lies outside the 16-part images
        // The bottom layer covers every cell but where the invisible part or a part outside
        // its image leaves it empty.
        for (int32_t y = 0; y < c.MapHeight; ++y)
            for (int32_t x = 0; x < c.MapWidth; ++x)
                scene.SetCell(0, x, y,
                              static_cast<uint16_t>((x + 2 * y) % (c.Invisible ? 17 : 16)));
        TMapViewState &state = scene.State;
        state.ViewCellWidth = state.ViewCellHeight = c.Cell;
        state.ShowGrid = c.Grid;
        state.ShowMarker = c.Markers;
        state.CurrentLayer = 1;
        state.TransEnabled = c.Keyed;
        state.TransColor = kKeyColor;
        state.FogMode = c.Fog;
        state.UseInvisiblePart = c.Invisible;
        state.InvisiblePart = 3;
        state.Selection = {static_cast<uint8_t>(c.Selection != 0), 9, 7, 5, 3, 0};
        state.UseTranslucentSelect = c.Selection == 2;
        const int32_t columns = state.ViewWidth / c.Cell;
        const int32_t rows = state.ViewHeight / c.Cell;
        state.ScrollX = ClampScrollPosition(4, c.MapWidth, columns);
        state.ScrollY = ClampScrollPosition(3, c.MapHeight, rows);
        TComposedView picture;
        ASSERT_TRUE(scene.Renderer().ComposeFull(&picture));
        for (const auto &[dx, dy] : moves) {
            state.ScrollX = ClampScrollPosition(state.ScrollX + dx, c.MapWidth, columns);
            state.ScrollY = ClampScrollPosition(state.ScrollY + dy, c.MapHeight, rows);
            ASSERT_TRUE(scene.Renderer().ComposeScrolled(picture));
            TPixelBuffer fresh(state.ViewWidth, state.ViewHeight, 32);
            TMapViewRenderer(scene.Map, state, scene.Parts, fresh, &scene.Background).ComposeFull();
            const std::string where = "cell " + std::to_string(c.Cell) + " at " +
                                      std::to_string(state.ScrollX) + "," +
                                      std::to_string(state.ScrollY);
            for (int32_t y = 0; y < fresh.Height(); ++y)
                for (int32_t x = 0; x < fresh.Width(); ++x)
                    ASSERT_EQ(scene.Back.Pixel(x, y), fresh.Pixel(x, y))
                        << where << ": first difference at " << x << "," << y;
        }
    }
}

TEST_F(CompositionTest, TheOverviewShowsThePrimitivesPictureAtEveryScale)
{
    MakeView(70, 50, 8, 6, 3, 100, 100);
    GiveImage(0, 1, 4);
    GiveImage(1, 2, 4, true);
    GiveImage(2, 3, 2, true); // parts 8 to 16 lie outside it
    FillPattern(17);
    State.TransColor = kKeyColor;
    State.InvisiblePart = 2;
    for (int32_t e = 1; e <= 4; ++e) {
        for (const int variant : {0, 1, 2}) {
            const bool keyed = variant != 0;
            State.TransEnabled = keyed;
            State.UseInvisiblePart = variant != 1;
            TPreviewState preview;
            preview.PreviewScale = e;
            preview.ViewWidth = 97;
            preview.ViewHeight = 61;
            preview.PreviewScrollX = e;
            preview.PreviewScrollY = 2 * e;
            TPixelBuffer back(preview.ViewWidth, preview.ViewHeight, 32);
            ASSERT_TRUE(
                TPreviewRenderer(Map, preview, State, Parts, back, &Background).UpdatePreview());
            TPixelBuffer want(preview.ViewWidth, preview.ViewHeight, 32);
            const int32_t columns = std::min(Map.Width(), preview.ViewWidth / e);
            const int32_t rows = std::min(Map.Height(), preview.ViewHeight / e);
            FillWithBrush(want, {0, 0, columns * e, rows * e}, &Background, BufferRect(want));
            for (int32_t l = 0; l < Map.LayerCount(); ++l) {
                auto &image = static_cast<TPixelBuffer &>(*Map.GetLayer(l).Chip->Image);
                for (int32_t r = 0; r <= rows; ++r)
                    for (int32_t c = 0; c <= columns; ++c) {
                        const int32_t x = preview.PreviewScrollX + c;
                        const int32_t y = preview.PreviewScrollY + r;
                        if (x >= Map.Width() || y >= Map.Height())
                            continue;
                        const uint16_t v = Map.GetLayer(l).Data[static_cast<size_t>(y) * 70 + x];
                        if (l != 0 && State.UseInvisiblePart && v == State.InvisiblePart)
                            continue;
                        int32_t ix = 0, iy = 0;
                        Parts.GetImagePosition(v, l, ix, iy);
                        if (keyed && l != 0)
                            DIBCopyRectUseKey32(want, c * e, r * e, e, e, image, ix, iy, 8, 6,
                                                kKeyColor);
                        else
                            DIBCopyRect32(want, c * e, r * e, e, e, image, ix, iy, 8, 6);
                    }
            }
            for (int32_t y = 0; y < want.Height(); ++y)
                for (int32_t x = 0; x < want.Width(); ++x)
                    ASSERT_EQ(back.Pixel(x, y), want.Pixel(x, y))
                        << "scale " << e << " keyed " << keyed << " at " << x << "," << y;
        }
    }
}

TEST_F(CompositionTest, AScrollMovesThePictureAndComposesOnlyWhatComesIntoView)
{
    MakeView(60, 45, 8, 8, 2, 150, 97);
    GiveImage(0, 1);
    GiveImage(1, 2, 4, true);
    FillPattern(16);
    State.TransEnabled = true;
    State.TransColor = kKeyColor;
    State.ScrollX = State.ScrollY = 10;
    TComposedView picture;
    ASSERT_TRUE(Renderer().ComposeFull(&picture));
    // A pixel no composition would draw moves with the picture.
    Back.SetPixel(40, 30, 0x00ABCDEF);
    State.ScrollX += 2;
    State.ScrollY += 1;
    ASSERT_TRUE(Renderer().ComposeScrolled(picture));
    EXPECT_EQ(Back.Pixel(40 - 16, 30 - 8), 0x00ABCDEFu);
    // Anything else drawn differently composes afresh.
    Back.SetPixel(40, 30, 0x00ABCDEF);
    State.ShowGrid = true;
    State.ScrollX += 1;
    ASSERT_TRUE(Renderer().ComposeScrolled(picture));
    EXPECT_NE(Back.Pixel(40 - 8, 30), 0x00ABCDEFu);
    EXPECT_EQ(CountMismatches({1, 1, 8, 8}), 0);
    Back.SetPixel(40, 30, 0x00ABCDEF);
    // A recorded edit that the window did not compose (as it always does).
    TModified pen;
    pen.Target = {1, 0, 0, 0, 0, 0};
    pen.Source = {1, 0, 0, 0, 0, 0};
    pen.Data = {5};
    Map.BeginModify();
    Map.WriteData(pen, 256);
    Map.EndModify();
    State.ScrollX += 1;
    ASSERT_TRUE(Renderer().ComposeScrolled(picture));
    EXPECT_NE(Back.Pixel(40 - 8, 30), 0x00ABCDEFu);
}

} // namespace
