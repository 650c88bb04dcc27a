#include "MapViewRenderer.h"

#include "PaintImage.h"
#include "RasterPrimitives.h"

#include <algorithm>

namespace
{
int32_t CeilDiv(int32_t A, int32_t B)
{
    return static_cast<int32_t>((static_cast<int64_t>(A) + B - 1) / B);
}

constexpr uint32_t kMarkerFill = ColorToPixel32(0x0000FF);
constexpr uint32_t kMarkerOutline = 0x00FFFFFF;
} // namespace

TMapViewRenderer::TMapViewRenderer(const TMap &Map, const TMapViewState &State,
                                   const TChipPositions &Parts, TPixelBuffer &BackBuffer,
                                   const TPixelBuffer *Background)
    : FMap(Map), FState(State), FParts(Parts), FBack(BackBuffer), FBackground(Background),
      FClip(BufferRect(BackBuffer))
{
}

bool TMapViewRenderer::CanDraw() const
{
    return FState.ViewReady && FState.Initialized && FMap.IsReady() && FState.ViewCellWidth > 0 &&
           FState.ViewCellHeight > 0;
}

TPixelBuffer *TMapViewRenderer::LayerImage(int32_t Layer) const
{
    if (Layer < 0 || Layer >= FMap.LayerCount())
        return nullptr;
    const TMapChip *chip = FMap.GetLayer(Layer).Chip;
    if (chip == nullptr || !chip->Image)
        return nullptr;
    return dynamic_cast<TPixelBuffer *>(chip->Image.get());
}

bool TMapViewRenderer::LayerShown(int32_t Layer) const
{
    return Layer >= 0 && Layer < FMap.LayerCount() && FMap.GetLayer(Layer).Visible;
}

bool TMapViewRenderer::IsInvisiblePart(uint16_t Value) const
{
    return FState.UseInvisiblePart && Value == FState.InvisiblePart;
}

TMapViewRenderer::TRegionCells TMapViewRenderer::RegionCells(int32_t X0, int32_t Y0, int32_t DX,
                                                             int32_t DY) const
{
    const int32_t cw = FState.ViewCellWidth;
    const int32_t ch = FState.ViewCellHeight;
    // The region's cells up to one column (row) past the view's edge.
    const int32_t fitColumns = CeilDiv(FState.ViewWidth, cw);
    const int32_t fitRows = CeilDiv(FState.ViewHeight, ch);
    TRegionCells cells{std::min(DX + 1, fitColumns + 1 - X0), std::min(DY + 1, fitRows + 1 - Y0)};
    if (FMap.Width() - FState.ScrollX < X0 + cells.Columns)
        cells.Columns = FMap.Width() - FState.ScrollX - X0;
    if (FMap.Height() - FState.ScrollY < Y0 + cells.Rows)
        cells.Rows = FMap.Height() - FState.ScrollY - Y0;
    return cells;
}

void TMapViewRenderer::PrepareShrunkParts()
{
    FShrunk.clear();
    const int32_t cw = FState.ViewCellWidth;
    const int32_t ch = FState.ViewCellHeight;
    const int32_t pw = FMap.PartsWidth();
    const int32_t ph = FMap.PartsHeight();
    if (pw <= 0 || ph <= 0 || (cw >= pw && ch >= ph))
        return;
    FShrunk.resize(static_cast<size_t>(FMap.LayerCount()));
    const int64_t viewPixels = static_cast<int64_t>(FState.ViewWidth) * FState.ViewHeight;
    for (int32_t layer = 0; layer < FMap.LayerCount(); ++layer) {
        const TPixelBuffer *image = LayerImage(layer);
        if (image == nullptr)
            continue;
        TShrunkParts &parts = FShrunk[static_cast<size_t>(layer)];
        parts.Columns = image->Width() / pw;
        parts.Rows = image->Height() / ph;
        // Only worth it while the copies are smaller than the view itself.
        const int64_t pixels = static_cast<int64_t>(parts.Columns) * cw * parts.Rows * ch;
        if (parts.Columns == 0 || parts.Rows == 0 || pixels > viewPixels) {
            parts.Columns = parts.Rows = 0;
            continue;
        }
        parts.Image.SetSize(parts.Columns * cw, parts.Rows * ch, 32);
        parts.Built.assign(static_cast<size_t>(parts.Columns) * parts.Rows, 0);
    }
}

TPixelBuffer *TMapViewRenderer::ShrunkPart(int32_t Layer, TPixelBuffer &Image, int32_t IX,
                                           int32_t IY, int32_t &CX, int32_t &CY)
{
    if (static_cast<size_t>(Layer) >= FShrunk.size())
        return nullptr;
    TShrunkParts &parts = FShrunk[static_cast<size_t>(Layer)];
    const int32_t pw = FMap.PartsWidth();
    const int32_t ph = FMap.PartsHeight();
    if (parts.Columns == 0 || IX < 0 || IY < 0 || IX % pw != 0 || IY % ph != 0)
        return nullptr;
    const int32_t column = IX / pw;
    const int32_t row = IY / ph;
    if (column >= parts.Columns || row >= parts.Rows)
        return nullptr;
    const int32_t cw = FState.ViewCellWidth;
    const int32_t ch = FState.ViewCellHeight;
    CX = column * cw;
    CY = row * ch;
    uint8_t &built = parts.Built[static_cast<size_t>(row) * parts.Columns + column];
    if (!built) {
        // The same sampling as drawing the part shrunk, so the copy shows the same pixels.
        DIBCopyRect32(parts.Image, CX, CY, cw, ch, Image, IX, IY, pw, ph);
        built = 1;
    }
    return &parts.Image;
}

void TMapViewRenderer::DrawPart(uint16_t Value, int32_t Layer, TPixelBuffer &Image, int32_t PX,
                                int32_t PY)
{
    const int32_t cw = FState.ViewCellWidth;
    const int32_t ch = FState.ViewCellHeight;
    const int32_t pw = FMap.PartsWidth();
    const int32_t ph = FMap.PartsHeight();
    int32_t ix = 0;
    int32_t iy = 0;
    FParts.GetImagePosition(Value, Layer, ix, iy);
    int32_t cx = 0;
    int32_t cy = 0;
    if (TPixelBuffer *shrunk = ShrunkPart(Layer, Image, ix, iy, cx, cy)) {
        if (FState.TransEnabled && Layer != 0)
            DIBCopyRectUseKey32(FBack, PX, PY, cw, ch, *shrunk, cx, cy, cw, ch, FState.TransColor);
        else
            DIBCopyRect32(FBack, PX, PY, cw, ch, *shrunk, cx, cy, cw, ch);
        return;
    }
    if (FState.TransEnabled && Layer != 0)
        DIBCopyRectUseKey32(FBack, PX, PY, cw, ch, Image, ix, iy, pw, ph, FState.TransColor);
    else if (cw < pw || ch < ph)
        DIBCopyRect32(FBack, PX, PY, cw, ch, Image, ix, iy, pw, ph);
    else
        StretchCopyRect32(FBack, PX, PY, cw, ch, Image, ix, iy, pw, ph);
}

void TMapViewRenderer::DrawMarker(int32_t PX, int32_t PY)
{
    DrawCornerTriangle(FBack, PX + 1, PY + 1, FState.ViewCellWidth / 5, kMarkerFill, kMarkerOutline,
                       BufferRect(FBack));
}

void TMapViewRenderer::DrawLayerCells(int32_t Layer, TPixelBuffer &Image, int32_t X0, int32_t Y0,
                                      int32_t DX, int32_t DY, bool Blend)
{
    const TRegionCells cells = RegionCells(X0, Y0, DX, DY);
    const int32_t cw = FState.ViewCellWidth;
    const int32_t ch = FState.ViewCellHeight;
    const int32_t mapWidth = FMap.Width();
    const int32_t mapHeight = FMap.Height();
    const bool markers = !Blend && FState.ShowMarker && Layer == FState.CurrentLayer;
    const std::vector<uint16_t> &data = FMap.GetLayer(Layer).Data;
    const int32_t pw = FMap.PartsWidth();
    const int32_t ph = FMap.PartsHeight();
    // Cells left of or above the map would lie wholly outside the view; they are skipped.
    const int32_t firstColumn = std::max(0, -(FState.ScrollX + X0));
    const int32_t firstRow = std::max(0, -(FState.ScrollY + Y0));
    for (int32_t r = firstRow; r < cells.Rows; ++r) {
        const int32_t mapY = FState.ScrollY + Y0 + r;
        if (mapY >= mapHeight)
            break;
        const int32_t py = (Y0 + r) * ch;
        const size_t rowIndex = static_cast<size_t>(mapY) * static_cast<size_t>(mapWidth);
        for (int32_t c = firstColumn; c < cells.Columns; ++c) {
            const int32_t mapX = FState.ScrollX + X0 + c;
            if (mapX >= mapWidth)
                break;
            const size_t index = rowIndex + static_cast<size_t>(mapX);
            if (index >= data.size())
                return;
            const uint16_t v = data[index];
            if (IsInvisiblePart(v))
                continue;
            const int32_t px = (X0 + c) * cw;
            if (Blend) {
                int32_t ix = 0;
                int32_t iy = 0;
                FParts.GetImagePosition(v, Layer, ix, iy);
                int32_t cx = 0;
                int32_t cy = 0;
                if (TPixelBuffer *shrunk = ShrunkPart(Layer, Image, ix, iy, cx, cy))
                    DIBHalfBlendUseKey32(FBack, px, py, cw, ch, *shrunk, cx, cy, cw, ch,
                                         FState.TransColor);
                else
                    DIBHalfBlendUseKey32(FBack, px, py, cw, ch, Image, ix, iy, pw, ph,
                                         FState.TransColor);
                continue;
            }
            DrawPart(v, Layer, Image, px, py);
            if (markers)
                DrawMarker(px, py);
        }
    }
}

void TMapViewRenderer::DrawSelectionChip(int32_t X0, int32_t Y0, int32_t DX, int32_t DY)
{
    if (!CanDraw())
        return;
    for (int32_t layer = 0; layer < FMap.LayerCount(); ++layer) {
        if (FState.CurrentLayerOnly && layer != FState.CurrentLayer)
            continue;
        TPixelBuffer *image = LayerImage(layer);
        if (image == nullptr || !LayerShown(layer))
            continue;
        DrawLayerCells(layer, *image, X0, Y0, DX, DY, false);
    }
}

void TMapViewRenderer::DrawSelectionChipFog(int32_t X0, int32_t Y0, int32_t DX, int32_t DY)
{
    if (!CanDraw())
        return;
    if (!FState.CurrentLayerOnly) {
        for (int32_t layer = 0; layer < FMap.LayerCount(); ++layer) {
            if (layer == FState.CurrentLayer)
                continue;
            TPixelBuffer *image = LayerImage(layer);
            if (image == nullptr || !LayerShown(layer))
                continue;
            DrawLayerCells(layer, *image, X0, Y0, DX, DY, true);
        }
    }
    TPixelBuffer *current = LayerImage(FState.CurrentLayer);
    if (current != nullptr && LayerShown(FState.CurrentLayer))
        DrawLayerCells(FState.CurrentLayer, *current, X0, Y0, DX, DY, false);
}

void TMapViewRenderer::DrawSelectedDataChip(int32_t X0, int32_t Y0, int32_t DX, int32_t DY)
{
    if (!CanDraw() || !FState.Floating || FState.FloatingBlocks == nullptr)
        return;
    const std::vector<TModified> &blocks = *FState.FloatingBlocks;
    if (blocks.empty() || !blocks.front().Source.Active || blocks.front().Data.empty())
        return;
    const int32_t cw = FState.ViewCellWidth;
    const int32_t ch = FState.ViewCellHeight;
    const TSelection &sel = FState.Selection;
    const int32_t qx = (sel.X - FState.ScrollX) * cw;
    const int32_t qy = (sel.Y - FState.ScrollY) * ch;
    if (sel.DX * cw + qx < 0 || sel.DY * ch + qy < 0 || qx > FState.ViewWidth ||
        qy > FState.ViewHeight)
        return;
    // Block cell (j, i) lies at view cell (vx + j, vy + i); only those inside the region are
    // drawn, so a partial update draws exactly what the full update draws there.
    const int32_t vx = sel.X - FState.ScrollX;
    const int32_t vy = sel.Y - FState.ScrollY;
    const int32_t i0 = std::max(0, Y0 - vy);
    const int32_t i1 = std::min(sel.DY, Y0 + DY - vy);
    const int32_t j0 = std::max(0, X0 - vx);
    const int32_t j1 = std::min(sel.DX, X0 + DX - vx);
    for (const TModified &block : blocks) {
        if (block.Data.empty())
            continue;
        TPixelBuffer *image = LayerImage(block.Layer);
        if (image == nullptr || !LayerShown(block.Layer))
            continue;
        const size_t pitch = static_cast<size_t>(block.Source.DX) + 1;
        for (int32_t i = i0; i <= i1 && i <= block.Source.DY; ++i) {
            for (int32_t j = j0; j <= j1 && j <= block.Source.DX; ++j) {
                const size_t index = pitch * static_cast<size_t>(i) + static_cast<size_t>(j);
                if (index >= block.Data.size())
                    break;
                const uint16_t v = block.Data[index];
                if (IsInvisiblePart(v))
                    continue;
                DrawPart(v, block.Layer, *image, (vx + j) * cw, (vy + i) * ch);
            }
        }
    }
}

void TMapViewRenderer::DrawOverlays(int32_t X0, int32_t Y0, int32_t DX, int32_t DY)
{
    if (FState.ShowNumber) {
        // Numbers run on over their neighbours to the right and, on low cells, above and
        // below: a region also draws, clipped, the numbers of the cells that reach into it,
        // so that it shows what a full update shows there. Cells left of or above the view
        // are not numbered in a full update either.
        const int32_t columns =
            CeilDiv(TTextPainter::WidestNumberWidth() + 1, FState.ViewCellWidth);
        const int32_t rows =
            CeilDiv(TTextPainter::LineHeight() - TTextPainter::FontHeight, FState.ViewCellHeight);
        const int32_t x0 = std::max(0, X0 - columns);
        const int32_t y0 = std::max(0, Y0 - rows);
        DrawChipNumber(x0, y0, DX + X0 - x0, DY + Y0 - y0 + rows);
    }
    if (FState.ShowGrid)
        DrawGridLine();
    DrawTerrainMarks(X0, Y0, DX, DY);
    DrawCurrentSelection();
    if (FState.Dragging && FState.ToolMode == tmTiledPen)
        DrawActiveGridLineFill(FState.Selection.X - FState.ScrollX,
                               FState.Selection.Y - FState.ScrollY);
}

bool TMapViewRenderer::ComposeFull()
{
    if (!CanDraw())
        return false;
    const int32_t columns = std::min(FMap.Width(), FState.ViewWidth / FState.ViewCellWidth) + 1;
    const int32_t rows = std::min(FMap.Height(), FState.ViewHeight / FState.ViewCellHeight) + 1;
    FClip = BufferRect(FBack);
    PrepareShrunkParts();
    // One row of cells at a time, background and all layers, so that the rows being drawn
    // stay in the processor's cache. Cells of one row touch only that row's pixels, so the
    // picture is the same as layer by layer over the whole view.
    const int32_t ch = FState.ViewCellHeight;
    const int32_t bands = std::max(0, RegionCells(0, 0, columns, rows).Rows);
    for (int32_t band = 0; band < bands; ++band) {
        const TPixelRect rowArea{0, band * ch, FBack.Width(), (band + 1) * ch};
        FillWithBrush(FBack, rowArea, FBackground, FClip);
        if (FState.FogMode)
            DrawSelectionChipFog(0, band, columns, 0);
        else
            DrawSelectionChip(0, band, columns, 0);
        DrawSelectedDataChip(0, band, columns, 0);
    }
    FillWithBrush(FBack, {0, bands * ch, FBack.Width(), FBack.Height()}, FBackground, FClip);
    FShrunk.clear();
    DrawOverlays(0, 0, columns, rows);
    return true;
}

TPixelRect TMapViewRenderer::ComposeRegion(int32_t X0, int32_t Y0, int32_t DX, int32_t DY)
{
    if (!CanDraw())
        return {};
    const int32_t cw = FState.ViewCellWidth;
    const int32_t ch = FState.ViewCellHeight;
    const TPixelRect area =
        TPixelRect{X0 * cw, Y0 * ch, (X0 + DX + 1) * cw, (Y0 + DY + 1) * ch}.Intersected(
            BufferRect(FBack));
    if (area.IsEmpty())
        return {};
    FillWithBrush(FBack, area, FBackground, area);
    if (FState.FogMode)
        DrawSelectionChipFog(X0, Y0, DX, DY);
    else
        DrawSelectionChip(X0, Y0, DX, DY);
    DrawSelectedDataChip(X0, Y0, DX, DY);
    FClip = area;
    DrawOverlays(X0, Y0, DX, DY);
    FClip = BufferRect(FBack);
    return area;
}
