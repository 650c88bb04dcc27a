// The map view's composition against the raster primitives it stands for: at every cell size
// from a quarter to three times the part size, with and without the transparent colour, in
// the fog display, with invisible parts, parts that leave their image, scrolled views and
// cells cut at the view's edges, the composed layers equal the primitives' picture pixel for
// pixel.
#include "RenderTestSupport.h"

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

} // namespace
