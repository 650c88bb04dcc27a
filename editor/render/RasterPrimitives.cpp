#include "RasterPrimitives.h"

#include "editor/map/DialogSeam.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace
{

// The destination rectangle after clipping, with the number of columns and rows dropped at
// the left and top, so that the remaining pixels keep the source pixels the whole rectangle
// would have shown there.
struct TClipped {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t W = 0;
    int32_t H = 0;
    int64_t SkipX = 0;
    int64_t SkipY = 0;
};

bool ClipToDest(const TPixelBuffer &Dest, int32_t DX, int32_t DY, int32_t DW, int32_t DH,
                TClipped &Out)
{
    const int64_t width = Dest.Width();
    const int64_t height = Dest.Height();
    if (DX > width - 1 || DY > height - 1)
        return false;
    int64_t x = DX, y = DY, w = DW, h = DH;
    if (x < 0) {
        Out.SkipX = -x;
        w += x;
        x = 0;
    }
    if (y < 0) {
        Out.SkipY = -y;
        h += y;
        y = 0;
    }
    if (x + w > width)
        w = width - x;
    if (y + h > height)
        h = height - y;
    if (w <= 0 || h <= 0)
        return false;
    Out.X = static_cast<int32_t>(x);
    Out.Y = static_cast<int32_t>(y);
    Out.W = static_cast<int32_t>(w);
    Out.H = static_cast<int32_t>(h);
    return true;
}

// 24.8 fixed-point scale of source over destination, truncated toward zero.
int64_t FixedScale(int32_t SourceSize, int32_t DestSize)
{
    return static_cast<int64_t>(static_cast<double>(SourceSize) / DestSize * 256.0);
}

void ReportLoopFailure(const char *Operation, const std::exception &Failure)
{
    Dialogs().ShowMessageBox(mkError, std::string(Operation) + FailureText(Failure) + ")");
}

// The columns [Begin, End) of the clipped rectangle whose 1:1 source column lies inside the
// source, the source column of Begin being Begin + Offset.
struct TSpan {
    int32_t Begin;
    int32_t End;
    int64_t Offset;
};

TSpan UnscaledSpan(const TClipped &Clip, int32_t SX, int32_t SourceWidth)
{
    const int64_t offset = SX + Clip.SkipX;
    const int64_t begin = std::max<int64_t>(0, -offset);
    const int64_t end = std::min<int64_t>(Clip.W, SourceWidth - offset);
    return {static_cast<int32_t>(begin), static_cast<int32_t>(std::max(begin, end)), offset};
}

// The columns [Begin, End) of the clipped rectangle whose scaled source column lies inside
// the source. Steps are not negative, so source columns only grow from left to right.
TSpan ScaledSpan(const TClipped &Clip, int32_t SX, int32_t SourceWidth, int64_t XScale)
{
    auto column = [&](int64_t c) { return SX + (((Clip.SkipX + c) * XScale) >> 8); };
    int32_t begin = 0;
    int32_t end = Clip.W;
    while (begin < end && column(begin) < 0)
        ++begin;
    while (end > begin && column(end - 1) >= SourceWidth)
        --end;
    return {begin, end, 0};
}

// One destination row segment [Begin, End) of a scaled traversal: source column of c is
// SX + ((SkipX + c) × XScale) >> 8, all inside the source. Halving and doubling get loops the
// compiler can vectorise; other scales step through the fixed-point position.
template <typename Rule>
inline void ScaledRow(uint32_t *D, const uint32_t *S, int32_t SX, int64_t SkipX, int32_t Begin,
                      int32_t End, int64_t XScale, Rule rule)
{
    const int64_t first = (SkipX + Begin) * XScale;
    const int32_t n = End - Begin;
    uint32_t *d = D + Begin;
    if ((first & 0xFF) == 0 && XScale == 512) {
        const uint32_t *sp = S + SX + (first >> 8);
        for (int32_t i = 0; i < n; ++i)
            rule(d[i], sp[2 * i]);
        return;
    }
    if ((first & 0xFF) == 0 && XScale == 128) {
        const uint32_t *sp = S + SX + (first >> 8);
        const int32_t pairs = n / 2;
        for (int32_t j = 0; j < pairs; ++j) {
            const uint32_t v = sp[j];
            rule(d[2 * j], v);
            rule(d[2 * j + 1], v);
        }
        if (n % 2 != 0)
            rule(d[n - 1], sp[pairs]);
        return;
    }
    const uint32_t *sp = S + SX;
    int64_t step = first;
    for (int32_t i = 0; i < n; ++i, step += XScale)
        rule(d[i], sp[step >> 8]);
}

// The scaled traversal shared by the copy, the keyed copy and the keyed half blend. Rule is
// applied to (destination pixel, source pixel); it is inlined, so the loops make no calls.
// For a plain copy (Copy set), a row that repeats the previous source row is a copy of the
// previous destination row.
template <bool Copy, typename Rule>
void ScaledTraversal(TPixelBuffer &Dest, const TClipped &Clip, const TPixelBuffer &Src, int32_t SX,
                     int32_t SY, int64_t XScale, int64_t YScale, Rule rule)
{
    const int64_t srcWidth = Src.Width();
    const int64_t srcHeight = Src.Height();
    if (XScale == 256) {
        const TSpan span = UnscaledSpan(Clip, SX, Src.Width());
        for (int32_t r = 0; r < Clip.H; ++r) {
            const int64_t srcRow = SY + (((Clip.SkipY + r) * YScale) >> 8);
            if (srcRow < 0 || srcRow >= srcHeight)
                continue;
            uint32_t *d = Dest.Row32(Clip.Y + r) + Clip.X;
            const uint32_t *sRow = Src.Row32(static_cast<int32_t>(srcRow)) + span.Offset;
            for (int32_t c = span.Begin; c < span.End; ++c)
                rule(d[c], sRow[c]);
        }
        return;
    }
    if (XScale < 0) {
        for (int32_t r = 0; r < Clip.H; ++r) {
            const int64_t srcRow = SY + (((Clip.SkipY + r) * YScale) >> 8);
            if (srcRow < 0 || srcRow >= srcHeight)
                continue;
            uint32_t *d = Dest.Row32(Clip.Y + r) + Clip.X;
            const uint32_t *s = Src.Row32(static_cast<int32_t>(srcRow));
            int64_t step = Clip.SkipX * XScale;
            for (int32_t c = 0; c < Clip.W; ++c, step += XScale) {
                const int64_t srcCol = SX + (step >> 8);
                if (srcCol >= 0 && srcCol < srcWidth)
                    rule(d[c], s[srcCol]);
            }
        }
        return;
    }
    const TSpan span = ScaledSpan(Clip, SX, Src.Width(), XScale);
    if (span.End <= span.Begin)
        return;
    int64_t previousRow = -1;
    for (int32_t r = 0; r < Clip.H; ++r) {
        const int64_t srcRow = SY + (((Clip.SkipY + r) * YScale) >> 8);
        if (srcRow < 0 || srcRow >= srcHeight)
            continue;
        uint32_t *d = Dest.Row32(Clip.Y + r) + Clip.X;
        if (Copy && srcRow == previousRow) {
            const uint32_t *above = Dest.Row32(Clip.Y + r - 1) + Clip.X;
            std::memcpy(d + span.Begin, above + span.Begin,
                        static_cast<size_t>(span.End - span.Begin) * 4);
            continue;
        }
        previousRow = srcRow;
        ScaledRow(d, Src.Row32(static_cast<int32_t>(srcRow)), SX, Clip.SkipX, span.Begin, span.End,
                  XScale, rule);
    }
}

template <typename Rule>
void GuardedScaledOperation(const char *Name, TPixelBuffer &Dest, int32_t DX, int32_t DY,
                            int32_t DW, int32_t DH, TPixelBuffer &Src, int32_t SX, int32_t SY,
                            int32_t SW, int32_t SH, Rule rule)
{
    Dest.ConvertTo32();
    Src.ConvertTo32();
    TClipped clip;
    if (!ClipToDest(Dest, DX, DY, DW, DH, clip))
        return;
    const int64_t xs = FixedScale(SW, DW);
    const int64_t ys = FixedScale(SH, DH);
    try {
        ScaledTraversal<false>(Dest, clip, Src, SX, SY, xs, ys, rule);
    } catch (const std::exception &failure) {
        ReportLoopFailure(Name, failure);
    }
}

// Exact stepping through floor(k × Source / Dest) for k = First, First + 1, ...
class TExactStep
{
public:
    TExactStep(int64_t First, int64_t Source, int64_t Dest)
        : FDest(Dest), FStepQuotient(FloorDiv(Source, Dest)),
          FStepRemainder(Source - FStepQuotient * Dest)
    {
        const int64_t start = First * Source;
        FQuotient = FloorDiv(start, Dest);
        FRemainder = start - FQuotient * Dest;
    }
    int64_t Value() const { return FQuotient; }
    void Next()
    {
        FQuotient += FStepQuotient;
        FRemainder += FStepRemainder;
        if (FRemainder >= FDest) {
            FRemainder -= FDest;
            ++FQuotient;
        }
    }

private:
    static int64_t FloorDiv(int64_t A, int64_t B)
    {
        const int64_t q = A / B;
        return (A % B != 0 && ((A < 0) != (B < 0))) ? q - 1 : q;
    }
    int64_t FDest;
    int64_t FStepQuotient;
    int64_t FStepRemainder;
    int64_t FQuotient = 0;
    int64_t FRemainder = 0;
};

} // namespace

void DIBCopyRect32(TPixelBuffer &Dest, int32_t DX, int32_t DY, int32_t DW, int32_t DH,
                   TPixelBuffer &Src, int32_t SX, int32_t SY, int32_t SW, int32_t SH)
{
    Dest.ConvertTo32();
    Src.ConvertTo32();
    TClipped clip;
    if (!ClipToDest(Dest, DX, DY, DW, DH, clip))
        return;
    const int64_t xs = FixedScale(SW, DW);
    const int64_t ys = FixedScale(SH, DH);
    try {
        if (xs == 256) {
            // Equal widths: whole row spans, no per-pixel arithmetic.
            const TSpan span = UnscaledSpan(clip, SX, Src.Width());
            if (span.End <= span.Begin)
                return;
            const size_t bytes = static_cast<size_t>(span.End - span.Begin) * 4;
            for (int32_t r = 0; r < clip.H; ++r) {
                const int64_t srcRow = SY + (((clip.SkipY + r) * ys) >> 8);
                if (srcRow < 0 || srcRow >= Src.Height())
                    continue;
                std::memcpy(Dest.Row32(clip.Y + r) + clip.X + span.Begin,
                            Src.Row32(static_cast<int32_t>(srcRow)) + span.Offset + span.Begin,
                            bytes);
            }
            return;
        }
        ScaledTraversal<true>(Dest, clip, Src, SX, SY, xs, ys,
                              [](uint32_t &d, uint32_t s) { d = s; });
    } catch (const std::exception &failure) {
        ReportLoopFailure("failed : DIBCopyRect32()", failure);
    }
}

void DIBFillColor(TPixelBuffer &Dest, int32_t X, int32_t Y, int32_t W, int32_t H, uint32_t Color)
{
    Dest.ConvertTo32();
    TClipped clip;
    if (!ClipToDest(Dest, X, Y, W, H, clip))
        return;
    const uint32_t p = ColorToPixel32(Color);
    try {
        for (int32_t r = 0; r < clip.H; ++r) {
            uint32_t *d = Dest.Row32(clip.Y + r) + clip.X;
            for (int32_t c = 0; c < clip.W; ++c)
                d[c] = HalfBlend(p, d[c]);
        }
    } catch (const std::exception &failure) {
        ReportLoopFailure("failed : DIBFillColor()", failure);
    }
}

void DIBCopyRectUseKey32(TPixelBuffer &Dest, int32_t DX, int32_t DY, int32_t DW, int32_t DH,
                         TPixelBuffer &Src, int32_t SX, int32_t SY, int32_t SW, int32_t SH,
                         uint32_t Key)
{
    const uint32_t key = ColorToPixel32(Key);
    GuardedScaledOperation("failed : DIBCopyRectUseKey32()", Dest, DX, DY, DW, DH, Src, SX, SY, SW,
                           SH, [key](uint32_t &d, uint32_t s) { d = s != key ? s : d; });
}

void DIBHalfBlendUseKey32(TPixelBuffer &Dest, int32_t DX, int32_t DY, int32_t DW, int32_t DH,
                          TPixelBuffer &Src, int32_t SX, int32_t SY, int32_t SW, int32_t SH,
                          uint32_t Key)
{
    const uint32_t key = ColorToPixel32(Key);
    GuardedScaledOperation("failed : DIBHalfBlendUseKey32()", Dest, DX, DY, DW, DH, Src, SX, SY, SW,
                           SH,
                           [key](uint32_t &d, uint32_t s) { d = s != key ? HalfBlend(s, d) : d; });
}

void StretchCopyRect32(TPixelBuffer &Dest, int32_t DX, int32_t DY, int32_t DW, int32_t DH,
                       TPixelBuffer &Src, int32_t SX, int32_t SY, int32_t SW, int32_t SH)
{
    // When 256 × source / destination is a whole number the fixed-point steps are exact, and
    // the copy's faster loops give the same pixels (equal sizes, doubling, ...).
    if (DW > 0 && DH > 0 && SW >= 0 && SH >= 0 && (int64_t{256} * SW) % DW == 0 &&
        (int64_t{256} * SH) % DH == 0) {
        DIBCopyRect32(Dest, DX, DY, DW, DH, Src, SX, SY, SW, SH);
        return;
    }
    Dest.ConvertTo32();
    Src.ConvertTo32();
    TClipped clip;
    if (!ClipToDest(Dest, DX, DY, DW, DH, clip))
        return;
    const int64_t srcWidth = Src.Width();
    const int64_t srcHeight = Src.Height();
    // With every column inside the source, a row that repeats the previous source row is a
    // copy of the previous destination row.
    bool allColumns = SW >= 0;
    if (allColumns) {
        const TExactStep first(clip.SkipX, SW, DW);
        const TExactStep last(clip.SkipX + clip.W - 1, SW, DW);
        allColumns = SX + first.Value() >= 0 && SX + last.Value() < srcWidth;
    }
    TExactStep row(clip.SkipY, SH, DH);
    int64_t previousRow = -1;
    for (int32_t r = 0; r < clip.H; ++r, row.Next()) {
        const int64_t srcRow = SY + row.Value();
        if (srcRow < 0 || srcRow >= srcHeight)
            continue;
        uint32_t *d = Dest.Row32(clip.Y + r) + clip.X;
        if (allColumns && srcRow == previousRow) {
            std::memcpy(d, Dest.Row32(clip.Y + r - 1) + clip.X, static_cast<size_t>(clip.W) * 4);
            continue;
        }
        previousRow = srcRow;
        const uint32_t *s = Src.Row32(static_cast<int32_t>(srcRow));
        TExactStep col(clip.SkipX, SW, DW);
        for (int32_t c = 0; c < clip.W; ++c, col.Next()) {
            const int64_t srcCol = SX + col.Value();
            if (srcCol >= 0 && srcCol < srcWidth)
                d[c] = s[srcCol];
        }
    }
}

std::vector<int32_t> FixedPointSteps(int32_t Source, int32_t Dest)
{
    std::vector<int32_t> steps(static_cast<size_t>(std::max(Dest, 0)));
    const int64_t scale = Dest > 0 ? FixedScale(Source, Dest) : 0;
    for (size_t k = 0; k < steps.size(); ++k)
        steps[k] = static_cast<int32_t>((static_cast<int64_t>(k) * scale) >> 8);
    return steps;
}

std::vector<int32_t> ExactSteps(int32_t Source, int32_t Dest)
{
    std::vector<int32_t> steps(static_cast<size_t>(std::max(Dest, 0)));
    if (steps.empty())
        return steps;
    TExactStep step(0, Source, Dest);
    for (size_t k = 0; k < steps.size(); ++k, step.Next())
        steps[k] = static_cast<int32_t>(step.Value());
    return steps;
}
