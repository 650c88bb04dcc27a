#include "PreviewRenderer.h"

#include "PartPainter.h"
#include "RasterPrimitives.h"
#include "editor/map/DialogSeam.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace
{
int32_t CeilDiv(int32_t A, int32_t B)
{
    return static_cast<int32_t>((static_cast<int64_t>(A) + B - 1) / B);
}
constexpr uint32_t kFramePixel = ColorToPixel32(0x0000FF);
} // namespace

TPreviewRenderer::TPreviewRenderer(const TMap &Map, const TPreviewState &State,
                                   const TMapViewState &MapView, const TChipPositions &Parts,
                                   TPixelBuffer &BackBuffer, const TPixelBuffer *Background)
    : FMap(Map), FState(State), FView(MapView), FParts(Parts), FBack(BackBuffer),
      FBackground(Background)
{
}

bool TPreviewRenderer::CanCompose() const
{
    return FState.Visible && !FState.Minimized && FState.ViewWidth > 0 && FState.ViewHeight > 0 &&
           FState.PreviewScale > 0;
}

TPixelBuffer *TPreviewRenderer::LayerImage(int32_t Layer) const
{
    const TMapChip *chip = FMap.GetLayer(Layer).Chip;
    if (chip == nullptr || !chip->Image)
        return nullptr;
    return dynamic_cast<TPixelBuffer *>(chip->Image.get());
}

bool TPreviewRenderer::UpdatePreview()
{
    if (!CanCompose())
        return false;
    const int32_t e = FState.PreviewScale;
    const int32_t columns = std::min(FMap.Width(), FState.ViewWidth / e);
    const int32_t rows = std::min(FMap.Height(), FState.ViewHeight / e);
    const TPixelRect area{0, 0, columns * e, rows * e};
    FillWithBrush(FBack, area, FBackground, BufferRect(FBack));
    DrawPreviewCells(0, 0, columns, rows);
    return true;
}

bool TPreviewRenderer::UpdatePreviewRect(int32_t X, int32_t Y, int32_t DX, int32_t DY)
{
    if (!CanCompose())
        return false;
    const int32_t e = FState.PreviewScale;
    const int32_t x0 = X - FState.PreviewScrollX;
    const int32_t y0 = Y - FState.PreviewScrollY;
    // The region's cells are redrawn from the background up, so transparent pixels of the
    // upper layers never show what was there before.
    const TPixelRect area =
        TPixelRect{x0 * e, y0 * e, (x0 + DX + 1) * e, (y0 + DY + 1) * e}.Intersected(
            TPixelRect{0, 0, (FMap.Width() - FState.PreviewScrollX) * e,
                       (FMap.Height() - FState.PreviewScrollY) * e});
    FillWithBrush(FBack, area, FBackground, BufferRect(FBack));
    DrawPreviewCells(x0, y0, DX, DY);
    return true;
}

void TPreviewRenderer::DrawPreviewCells(int32_t X0, int32_t Y0, int32_t Columns, int32_t Rows)
{
    if (!FMap.IsReady() || FState.PreviewScale <= 0)
        return;
    const int32_t e = FState.PreviewScale;
    const int32_t fc = CeilDiv(FState.ViewWidth, e);
    const int32_t fr = CeilDiv(FState.ViewHeight, e);
    // The region's cells up to one past the view's edge, within the map.
    int32_t n = std::min(Columns + 1, fc + 1 - X0);
    int32_t m = std::min(Rows + 1, fr + 1 - Y0);
    if (FMap.Width() - FState.PreviewScrollX < X0 + n)
        n = FMap.Width() - FState.PreviewScrollX - X0;
    if (FMap.Height() - FState.PreviewScrollY < Y0 + m)
        m = FMap.Height() - FState.PreviewScrollY - Y0;
    const int32_t pw = FMap.PartsWidth();
    const int32_t ph = FMap.PartsHeight();
    const int32_t firstColumn = std::max(0, -(FState.PreviewScrollX + X0));
    const int32_t firstRow = std::max(0, -(FState.PreviewScrollY + Y0));
    if (n <= firstColumn)
        return;
    FBack.ConvertTo32();
    // Every part shrunk to e × e pixels by the copies' sampling, sampled once per part.
    std::vector<std::unique_ptr<TPartPainter>> painters(static_cast<size_t>(FMap.LayerCount()));
    for (int32_t layer = 0; layer < FMap.LayerCount(); ++layer) {
        TPixelBuffer *image = LayerImage(layer);
        if (image == nullptr || !FMap.GetLayer(layer).Visible)
            continue;
        const bool keyed = FView.TransEnabled && layer != 0;
        painters[static_cast<size_t>(layer)] = std::make_unique<TPartPainter>(
            *image, layer, FParts, pw, ph, e, e, keyed ? TPartRule::Keyed : TPartRule::Copy,
            TPartScaling::FixedPoint, FView.TransColor);
    }
    // Layer 0 shows every part, the invisible one included.
    const auto skipped = [&](int32_t Layer, uint16_t Value) {
        return Layer != 0 && FView.UseInvisiblePart && Value == FView.InvisiblePart;
    };
    std::vector<int32_t> lowest; // per cell of a row, the lowest layer that shows
    for (int32_t r = firstRow; r < m; ++r) {
        const size_t first = static_cast<size_t>(FState.PreviewScrollY + Y0 + r) * FMap.Width() +
                             FState.PreviewScrollX + X0 + firstColumn;
        const int32_t py = e * (Y0 + r);
        const int32_t px = e * (X0 + firstColumn);
        // Without the transparent colour a whole part covers the cell: the layers under the
        // highest one that draws one there are not drawn at all.
        const int32_t columns = n - firstColumn;
        lowest.assign(static_cast<size_t>(columns), 0);
        if (!FView.TransEnabled) {
            for (int32_t c = 0; c < columns; ++c) {
                for (int32_t layer = FMap.LayerCount() - 1; layer > 0; --layer) {
                    TPartPainter *painter = painters[static_cast<size_t>(layer)].get();
                    const std::vector<uint16_t> &data = FMap.GetLayer(layer).Data;
                    if (painter == nullptr || first + c >= data.size())
                        continue;
                    const uint16_t v = data[first + c];
                    if (!skipped(layer, v) && painter->Covers(v)) {
                        lowest[static_cast<size_t>(c)] = layer;
                        break;
                    }
                }
            }
        }
        for (int32_t layer = 0; layer < FMap.LayerCount(); ++layer) {
            TPartPainter *painter = painters[static_cast<size_t>(layer)].get();
            const std::vector<uint16_t> &data = FMap.GetLayer(layer).Data;
            if (painter == nullptr || first >= data.size())
                continue;
            const int32_t count = static_cast<int32_t>(
                std::min<size_t>(static_cast<size_t>(columns), data.size() - first));
            // The runs of cells this layer shows in.
            for (int32_t c = 0; c < count;) {
                while (c < count && lowest[static_cast<size_t>(c)] > layer)
                    ++c;
                const int32_t start = c;
                while (c < count && lowest[static_cast<size_t>(c)] <= layer)
                    ++c;
                if (c > start)
                    painter->DrawRow(FBack, data.data() + first + start, c - start, px + e * start,
                                     py, layer != 0 && FView.UseInvisiblePart, FView.InvisiblePart);
            }
        }
    }
}

bool TPreviewRenderer::ViewFrame(TPixelRect &Frame) const
{
    if (!FState.Visible || !FMap.IsReady() || FView.ViewCellWidth <= 0 ||
        FView.ViewCellHeight <= 0 || FState.PreviewScale <= 0)
        return false;
    const int64_t e = FState.PreviewScale;
    const int64_t pw = FMap.PartsWidth();
    const int64_t ph = FMap.PartsHeight();
    const int64_t columns = static_cast<int64_t>(
        std::nearbyint(static_cast<double>(FView.ViewWidth) / FView.ViewCellWidth));
    const int64_t rows = static_cast<int64_t>(
        std::nearbyint(static_cast<double>(FView.ViewHeight) / FView.ViewCellHeight));
    // Parts narrower (lower) than the scale: the view's visible cells × the scale.
    int64_t w = pw / e != 0 ? columns * pw / (pw / e) : columns * e;
    int64_t h = ph / e != 0 ? rows * ph / (ph / e) : rows * e;
    w = std::min<int64_t>(w, static_cast<int64_t>(FMap.Width()) * e);
    h = std::min<int64_t>(h, static_cast<int64_t>(FMap.Height()) * e);
    const int64_t x = e * (FView.ScrollX - FState.PreviewScrollX);
    const int64_t y = e * (FView.ScrollY - FState.PreviewScrollY);
    Frame = {static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(x + w),
             static_cast<int32_t>(y + h)};
    return true;
}

bool TPreviewRenderer::DrawViewFrame(TPixelBuffer &Target, int32_t ToolBarHeight)
{
    TPixelRect frame;
    if (!ViewFrame(frame))
        return false;
    DIBCopyRect32(Target, 0, ToolBarHeight, FBack.Width(), FBack.Height(), FBack, 0, 0,
                  FBack.Width(), FBack.Height());
    frame.Top += ToolBarHeight;
    frame.Bottom += ToolBarHeight;
    FrameRectangle(Target, frame, kFramePixel, BufferRect(Target));
    return true;
}

std::string PreviewStatusText(const TMap &Map, int32_t PreviewScale)
{
    std::string text = Dialogs().GetLangString(29, "Zoom");
    if (Map.IsReady() && Map.PartsWidth() > 0)
        text += ":" + std::to_string(CeilDiv(PreviewScale * 100, Map.PartsWidth())) + "%";
    return text;
}
