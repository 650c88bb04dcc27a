// The rectangle operations' clipping, scaling and keying rules, pixel by pixel.
#include "editor/render/RasterPrimitives.h"
#include "tests/support/ScriptedDialogSeam.h"

#include <gtest/gtest.h>

namespace
{

// A source whose every pixel tells where it came from: 0x00_YY_XX_07 style values.
TPixelBuffer Numbered(int32_t Width, int32_t Height)
{
    TPixelBuffer b(Width, Height, 32);
    for (int32_t y = 0; y < Height; ++y)
        for (int32_t x = 0; x < Width; ++x)
            b.SetPixel(x, y, static_cast<uint32_t>((y << 16) | (x << 8) | 7));
    return b;
}

int32_t SourceX(uint32_t Pixel)
{
    return static_cast<int32_t>((Pixel >> 8) & 0xFF);
}
int32_t SourceY(uint32_t Pixel)
{
    return static_cast<int32_t>((Pixel >> 16) & 0xFF);
}

constexpr uint32_t kUntouched = 0x00ABCDEF;

TPixelBuffer Blank(int32_t Width, int32_t Height)
{
    TPixelBuffer b(Width, Height, 32);
    b.Fill(kUntouched);
    return b;
}

} // namespace

TEST(ColorToPixel32, SwapsRedAndBlueAndClearsTheFourthByte)
{
    EXPECT_EQ(ColorToPixel32(0x00112233u), 0x00332211u);
    EXPECT_EQ(ColorToPixel32(0xFF0000FFu), 0x00FF0000u);
    EXPECT_EQ(ColorToPixel32(0x80FF00FFu), 0x00FF00FFu);
    EXPECT_EQ(PixelToColor(ColorToPixel32(0x00A4A0A0u)), 0x00A4A0A0u);
}

TEST(HalfBlend, AveragesEachChannelWithoutCarry)
{
    EXPECT_EQ(HalfBlend(0x00FFFFFFu, 0x00000000u), 0x007F7F7Fu);
    EXPECT_EQ(HalfBlend(0x00010203u, 0x00010203u), 0x00010203u);
    EXPECT_EQ(HalfBlend(0x00FF0001u, 0x0001FF00u), 0x00807F00u);
    // The fourth byte is the AND of both.
    EXPECT_EQ(HalfBlend(0xFF000000u, 0xFF000000u) >> 24, 0xFFu);
    EXPECT_EQ(HalfBlend(0xFF000000u, 0x00000000u) >> 24, 0u);
}

TEST(DIBCopyRect32, EqualSizesCopyPixelForPixel)
{
    TPixelBuffer src = Numbered(16, 16);
    TPixelBuffer dst = Blank(40, 40);
    DIBCopyRect32(dst, 5, 6, 16, 16, src, 0, 0, 16, 16);
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 40; ++x) {
            const bool inside = x >= 5 && x < 21 && y >= 6 && y < 22;
            EXPECT_EQ(dst.Pixel(x, y), inside ? src.Pixel(x - 5, y - 6) : kUntouched)
                << x << "," << y;
        }
}

TEST(DIBCopyRect32, LeftClipDropsSourceColumns)
{
    TPixelBuffer src = Numbered(16, 4);
    TPixelBuffer dst = Blank(20, 4);
    DIBCopyRect32(dst, -4, 0, 16, 4, src, 0, 0, 16, 4);
    for (int32_t x = 0; x < 12; ++x)
        EXPECT_EQ(SourceX(dst.Pixel(x, 0)), x + 4);
    EXPECT_EQ(dst.Pixel(12, 0), kUntouched);
}

TEST(DIBCopyRect32, TopClipDropsSourceRows)
{
    TPixelBuffer src = Numbered(4, 16);
    TPixelBuffer dst = Blank(4, 20);
    DIBCopyRect32(dst, 0, -3, 4, 16, src, 0, 0, 4, 16);
    for (int32_t y = 0; y < 13; ++y)
        EXPECT_EQ(SourceY(dst.Pixel(0, y)), y + 3);
    EXPECT_EQ(dst.Pixel(0, 13), kUntouched);
}

TEST(DIBCopyRect32, RightAndBottomEdgesCut)
{
    TPixelBuffer src = Numbered(16, 16);
    TPixelBuffer dst = Blank(10, 10);
    DIBCopyRect32(dst, 4, 6, 16, 16, src, 0, 0, 16, 16);
    EXPECT_EQ(dst.Pixel(9, 9), src.Pixel(5, 3));
    EXPECT_EQ(dst.Pixel(3, 9), kUntouched);
    EXPECT_EQ(dst.Pixel(9, 5), kUntouched);
}

TEST(DIBCopyRect32, RectanglesBeyondTheBitmapDrawNothing)
{
    TPixelBuffer src = Numbered(8, 8);
    TPixelBuffer dst = Blank(10, 10);
    DIBCopyRect32(dst, 10, 0, 8, 8, src, 0, 0, 8, 8);
    DIBCopyRect32(dst, 0, 10, 8, 8, src, 0, 0, 8, 8);
    DIBCopyRect32(dst, -8, 0, 8, 8, src, 0, 0, 8, 8);
    DIBCopyRect32(dst, 0, 0, 0, 8, src, 0, 0, 8, 8);
    DIBCopyRect32(dst, 0, 0, -3, 8, src, 0, 0, 8, 8);
    for (int32_t y = 0; y < 10; ++y)
        for (int32_t x = 0; x < 10; ++x)
            EXPECT_EQ(dst.Pixel(x, y), kUntouched);
}

TEST(DIBCopyRect32, ShrinkingTakesEveryOtherColumn)
{
    TPixelBuffer src = Numbered(32, 32);
    TPixelBuffer dst = Blank(16, 16);
    DIBCopyRect32(dst, 0, 0, 16, 16, src, 0, 0, 32, 32);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 16; ++x) {
            EXPECT_EQ(SourceX(dst.Pixel(x, y)), 2 * x);
            EXPECT_EQ(SourceY(dst.Pixel(x, y)), 2 * y);
        }
}

TEST(DIBCopyRect32, EnlargingRepeatsEachPixelTwice)
{
    TPixelBuffer src = Numbered(16, 16);
    TPixelBuffer dst = Blank(32, 32);
    DIBCopyRect32(dst, 0, 0, 32, 32, src, 0, 0, 16, 16);
    for (int32_t x = 0; x < 32; ++x)
        EXPECT_EQ(SourceX(dst.Pixel(x, 0)), x / 2);
}

TEST(DIBCopyRect32, ScaleComesFromTruncatedFixedPoint)
{
    // 32 into 12: xs = trunc(32 / 12 × 256) = 682; column c takes floor(c × 682 / 256).
    TPixelBuffer src = Numbered(32, 1);
    TPixelBuffer dst = Blank(12, 1);
    DIBCopyRect32(dst, 0, 0, 12, 1, src, 0, 0, 32, 1);
    for (int32_t c = 0; c < 12; ++c)
        EXPECT_EQ(SourceX(dst.Pixel(c, 0)), c * 682 / 256);
}

TEST(DIBCopyRect32, ScaledLeftClipKeepsTheUnclippedMapping)
{
    // The visible part shows what the whole rectangle would show there.
    TPixelBuffer src = Numbered(32, 2);
    TPixelBuffer whole = Blank(24, 2);
    DIBCopyRect32(whole, 0, 0, 16, 2, src, 0, 0, 32, 2);
    TPixelBuffer clipped = Blank(24, 2);
    DIBCopyRect32(clipped, -4, 0, 16, 2, src, 0, 0, 32, 2);
    for (int32_t x = 0; x < 12; ++x)
        EXPECT_EQ(clipped.Pixel(x, 0), whole.Pixel(x + 4, 0));
}

TEST(DIBCopyRect32, SourceOutsideItsBitmapLeavesTheDestination)
{
    TPixelBuffer src = Numbered(8, 8);
    TPixelBuffer dst = Blank(8, 8);
    // Source rows 4..11 and columns -2..5: only the part inside the source is drawn.
    DIBCopyRect32(dst, 0, 0, 8, 8, src, -2, 4, 8, 8);
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 8; ++x) {
            const bool inside = x >= 2 && y < 4;
            if (inside) {
                EXPECT_EQ(SourceX(dst.Pixel(x, y)), x - 2);
                EXPECT_EQ(SourceY(dst.Pixel(x, y)), y + 4);
            } else {
                EXPECT_EQ(dst.Pixel(x, y), kUntouched) << x << "," << y;
            }
        }
    // The same with scaling.
    TPixelBuffer scaled = Blank(4, 4);
    DIBCopyRect32(scaled, 0, 0, 4, 4, src, 4, 0, 8, 8);
    EXPECT_EQ(SourceX(scaled.Pixel(1, 0)), 6);
    EXPECT_EQ(scaled.Pixel(2, 0), kUntouched);
}

TEST(DIBCopyRect32, ConvertsTwentyFourBitBuffersInPlace)
{
    TPixelBuffer src(2, 1, 24);
    src.Row(0)[0] = 0x11; // blue
    src.Row(0)[1] = 0x22;
    src.Row(0)[2] = 0x33;
    TPixelBuffer dst(2, 1, 24);
    DIBCopyRect32(dst, 0, 0, 2, 1, src, 0, 0, 2, 1);
    EXPECT_EQ(src.BitsPerPixel(), 32);
    EXPECT_EQ(dst.BitsPerPixel(), 32);
    EXPECT_EQ(dst.Pixel(0, 0), 0x00332211u);
}

TEST(DIBCopyRectUseKey32, KeyedPixelsLeaveTheDestination)
{
    TPixelBuffer src(3, 1, 32);
    src.SetPixel(0, 0, 0x00FF00FF); // the key
    src.SetPixel(1, 0, 0x01FF00FF); // differs in the fourth byte only
    src.SetPixel(2, 0, 0x00123456);
    for (int32_t scale : {1, 2}) {
        TPixelBuffer dst = Blank(3 * scale, 1);
        DIBCopyRectUseKey32(dst, 0, 0, 3 * scale, 1, src, 0, 0, 3, 1, 0x00FF00FF);
        EXPECT_EQ(dst.Pixel(0, 0), kUntouched);
        EXPECT_EQ(dst.Pixel(1 * scale, 0), 0x01FF00FFu);
        EXPECT_EQ(dst.Pixel(2 * scale, 0), 0x00123456u);
    }
}

TEST(DIBHalfBlendUseKey32, BlendsOnlyNonKeyPixels)
{
    TPixelBuffer src(2, 1, 32);
    src.SetPixel(0, 0, 0x00FF00FF);
    src.SetPixel(1, 0, 0x00FFFFFF);
    TPixelBuffer dst(2, 1, 32);
    dst.Fill(0x00000000);
    DIBHalfBlendUseKey32(dst, 0, 0, 2, 1, src, 0, 0, 2, 1, 0x00FF00FF);
    EXPECT_EQ(dst.Pixel(0, 0), 0u);
    EXPECT_EQ(dst.Pixel(1, 0), 0x007F7F7Fu);
}

TEST(DIBFillColor, TintsWithTheHalfBlendAndClips)
{
    TPixelBuffer dst(4, 4, 32);
    dst.Fill(0x00204060);
    DIBFillColor(dst, -1, 2, 3, 5, 0x00604020); // colour value: red 0x20, blue 0x60
    EXPECT_EQ(dst.Pixel(0, 2), 0x00204060u);    // its own colour: unchanged
    TPixelBuffer white(2, 2, 32);
    white.Fill(0x00FFFFFF);
    DIBFillColor(white, 1, 1, 5, 5, 0x00000000);
    EXPECT_EQ(white.Pixel(1, 1), 0x007F7F7Fu);
    EXPECT_EQ(white.Pixel(0, 1), 0x00FFFFFFu);
    EXPECT_EQ(white.Pixel(1, 0), 0x00FFFFFFu);
}

TEST(StretchCopyRect32, RepeatsPixelsEvenly)
{
    TPixelBuffer src = Numbered(32, 1);
    TPixelBuffer dst = Blank(36, 1);
    StretchCopyRect32(dst, 0, 0, 36, 1, src, 0, 0, 32, 1);
    for (int32_t c = 0; c < 36; ++c)
        EXPECT_EQ(SourceX(dst.Pixel(c, 0)), c * 32 / 36);
    EXPECT_EQ(SourceX(dst.Pixel(35, 0)), 31);
}

TEST(RasterPrimitives, NoMessagesOnOrdinaryDrawing)
{
    TScopedDialogSeam seam;
    TPixelBuffer src = Numbered(8, 8);
    TPixelBuffer dst = Blank(8, 8);
    DIBCopyRect32(dst, -100, -100, 1000, 1000, src, -50, -50, 3, 3);
    DIBCopyRectUseKey32(dst, 3, 3, 1, 1, src, 100, 100, 8, 8, 0);
    DIBHalfBlendUseKey32(dst, 3, 3, 100, 100, src, 0, 0, 1, 1, 0);
    EXPECT_TRUE(seam->Messages.empty());
}

TEST(StretchCopyRect32, DoublingAndClippingKeepTheExactMapping)
{
    TPixelBuffer src = Numbered(16, 16);
    for (int32_t dx : {0, -5}) {
        TPixelBuffer dst = Blank(40, 40);
        StretchCopyRect32(dst, dx, -3, 32, 32, src, 0, 0, 16, 16);
        for (int32_t y = 0; y < 29; ++y)
            for (int32_t x = 0; x < 32 + dx; ++x) {
                ASSERT_EQ(SourceX(dst.Pixel(x, y)), (x - dx) / 2) << dx << ": " << x << "," << y;
                ASSERT_EQ(SourceY(dst.Pixel(x, y)), (y + 3) / 2) << dx << ": " << x << "," << y;
            }
        EXPECT_EQ(dst.Pixel(32 + dx, 0), kUntouched);
    }
}
