#include "PixelDrawing.h"

#include <cstring>

namespace
{
TPixelRect Visible(const TPixelBuffer &Dest, const TPixelRect &Rect, const TPixelRect &Clip)
{
    return Rect.Intersected(Clip).Intersected(BufferRect(Dest));
}
} // namespace

void FillPixelRect(TPixelBuffer &Dest, const TPixelRect &Rect, uint32_t Pixel,
                   const TPixelRect &Clip)
{
    Dest.ConvertTo32();
    const TPixelRect r = Visible(Dest, Rect, Clip);
    if (r.IsEmpty())
        return;
    for (int32_t y = r.Top; y < r.Bottom; ++y)
        std::fill(Dest.Row32(y) + r.Left, Dest.Row32(y) + r.Right, Pixel);
}

void FillWithBrush(TPixelBuffer &Dest, const TPixelRect &Rect, const TPixelBuffer *Pattern,
                   const TPixelRect &Clip)
{
    if (Pattern == nullptr || Pattern->IsEmpty() || Pattern->BitsPerPixel() != 32) {
        FillPixelRect(Dest, Rect, 0x00FFFFFF, Clip);
        return;
    }
    Dest.ConvertTo32();
    const TPixelRect r = Visible(Dest, Rect, Clip);
    if (r.IsEmpty())
        return;
    const int32_t pw = Pattern->Width();
    const int32_t ph = Pattern->Height();
    for (int32_t y = r.Top; y < r.Bottom; ++y) {
        uint32_t *d = Dest.Row32(y);
        // Rows repeat with the pattern's height.
        if (y - ph >= r.Top) {
            std::copy(Dest.Row32(y - ph) + r.Left, Dest.Row32(y - ph) + r.Right, d + r.Left);
            continue;
        }
        const uint32_t *p = Pattern->Row32(y % ph);
        // One period of the pattern, then copies of what is already filled, doubling.
        const int32_t period = std::min(pw, r.Width());
        for (int32_t x = 0, px = r.Left % pw; x < period; ++x) {
            d[r.Left + x] = p[px];
            if (++px == pw)
                px = 0;
        }
        for (int32_t filled = period; filled < r.Width();) {
            const int32_t chunk = std::min(filled - filled % pw, r.Width() - filled);
            std::memcpy(d + r.Left + filled, d + r.Left, static_cast<size_t>(chunk) * 4);
            filled += chunk;
        }
    }
}

void DrawHorizontalLine(TPixelBuffer &Dest, int32_t X0, int32_t X1, int32_t Y, uint32_t Pixel,
                        const TPixelRect &Clip)
{
    FillPixelRect(Dest, {X0, Y, X1, Y + 1}, Pixel, Clip);
}

void DrawVerticalLine(TPixelBuffer &Dest, int32_t X, int32_t Y0, int32_t Y1, uint32_t Pixel,
                      const TPixelRect &Clip)
{
    FillPixelRect(Dest, {X, Y0, X + 1, Y1}, Pixel, Clip);
}

void FrameRectangle(TPixelBuffer &Dest, const TPixelRect &Rect, uint32_t Pixel,
                    const TPixelRect &Clip, int32_t PenWidth)
{
    const int32_t outer = (PenWidth - 1) / 2;
    for (int32_t k = -outer; k < PenWidth - outer; ++k) {
        const TPixelRect f{Rect.Left + k, Rect.Top + k, Rect.Right - k, Rect.Bottom - k};
        if (f.IsEmpty())
            break;
        DrawHorizontalLine(Dest, f.Left, f.Right, f.Top, Pixel, Clip);
        DrawHorizontalLine(Dest, f.Left, f.Right, f.Bottom - 1, Pixel, Clip);
        DrawVerticalLine(Dest, f.Left, f.Top, f.Bottom, Pixel, Clip);
        DrawVerticalLine(Dest, f.Right - 1, f.Top, f.Bottom, Pixel, Clip);
    }
}

void HatchRectangle(TPixelBuffer &Dest, const TPixelRect &Rect, uint32_t Pixel,
                    const TPixelRect &Clip)
{
    Dest.ConvertTo32();
    const TPixelRect r = Visible(Dest, Rect, Clip);
    for (int32_t y = r.Top; y < r.Bottom; ++y) {
        uint32_t *d = Dest.Row32(y);
        for (int32_t x = r.Left; x < r.Right; ++x) {
            if (((x - y) & (kHatchPeriod - 1)) == 0 ||
                ((x + y) & (kHatchPeriod - 1)) == kHatchPeriod - 1)
                d[x] = Pixel;
        }
    }
}

void DrawCornerTriangle(TPixelBuffer &Dest, int32_t X, int32_t Y, int32_t Size, uint32_t Fill,
                        uint32_t Outline, const TPixelRect &Clip)
{
    Dest.ConvertTo32();
    const TPixelRect r = Visible(Dest, {X, Y, X + Size + 1, Y + Size + 1}, Clip);
    for (int32_t y = r.Top; y < r.Bottom; ++y) {
        uint32_t *d = Dest.Row32(y);
        const int32_t j = y - Y;
        for (int32_t x = r.Left; x < r.Right; ++x) {
            const int32_t i = x - X;
            if (i + j > Size)
                break;
            d[x] = (i == 0 || j == 0 || i + j == Size) ? Outline : Fill;
        }
    }
}
