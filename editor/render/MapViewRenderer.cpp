#include "MapViewRenderer.h"

#include "PaintImage.h"
#include "RasterPrimitives.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

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

TPartPainter &TMapViewRenderer::Painter(int32_t Layer, TPixelBuffer &Image, bool Blend)
{
    const size_t index = static_cast<size_t>(Layer) * 2 + (Blend ? 1 : 0);
    if (index >= FPainters.size())
        FPainters.resize(index + 1);
    std::unique_ptr<TPartPainter> &painter = FPainters[index];
    if (!painter) {
        const int32_t cw = FState.ViewCellWidth;
        const int32_t ch = FState.ViewCellHeight;
        const int32_t pw = FMap.PartsWidth();
        const int32_t ph = FMap.PartsHeight();
        // The rules of the part drawing: upper layers keyed while the transparent colour is
        // on, the fog's half blend always keyed; fixed-point steps for keyed and shrunk parts,
        // exact steps for enlarged opaque ones.
        const bool keyed = Blend || (FState.TransEnabled && Layer != 0);
        const TPartRule rule =
            Blend ? TPartRule::HalfBlendKeyed : (keyed ? TPartRule::Keyed : TPartRule::Copy);
        const TPartScaling scaling =
            keyed || cw < pw || ch < ph ? TPartScaling::FixedPoint : TPartScaling::Exact;
        painter = std::make_unique<TPartPainter>(Image, Layer, FParts, pw, ph, cw, ch, rule,
                                                 scaling, FState.TransColor);
    }
    return *painter;
}

void TMapViewRenderer::DrawPart(uint16_t Value, int32_t Layer, TPixelBuffer &Image, int32_t PX,
                                int32_t PY)
{
    Painter(Layer, Image, false).Draw(FBack, Value, PX, PY);
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
    FBack.ConvertTo32();
    TPartPainter &painter = Painter(Layer, Image, Blend);
    // Cells left of or above the map would lie wholly outside the view; they are skipped.
    const int32_t firstColumn = std::max(0, -(FState.ScrollX + X0));
    const int32_t firstRow = std::max(0, -(FState.ScrollY + Y0));
    const bool skip = FState.UseInvisiblePart;
    // Whether the layer's parts cover every pixel of the region inside the buffer.
    const int32_t regionRight = std::min(FBack.Width(), (X0 + DX + 1) * cw);
    const int32_t regionBottom = std::min(FBack.Height(), (Y0 + DY + 1) * ch);
    bool covers = firstColumn == 0 && firstRow == 0 &&
                  cells.Columns >= CeilDiv(std::max(0, regionRight - X0 * cw), cw) &&
                  cells.Rows >= CeilDiv(std::max(0, regionBottom - Y0 * ch), ch);
    for (int32_t r = firstRow; r < cells.Rows; ++r) {
        const int32_t mapY = FState.ScrollY + Y0 + r;
        if (mapY >= mapHeight) {
            covers = false;
            break;
        }
        const int32_t py = (Y0 + r) * ch;
        const size_t rowIndex = static_cast<size_t>(mapY) * static_cast<size_t>(mapWidth);
        const int32_t firstMapX = FState.ScrollX + X0 + firstColumn;
        // The row's cells inside the map and the layer.
        const int32_t wanted = cells.Columns - firstColumn;
        int32_t count = std::min(cells.Columns, mapWidth - FState.ScrollX - X0) - firstColumn;
        if (rowIndex + static_cast<size_t>(firstMapX) >= data.size()) {
            FLayerCovers = false;
            return;
        }
        count = static_cast<int32_t>(std::min<size_t>(static_cast<size_t>(std::max(count, 0)),
                                                      data.size() - rowIndex - firstMapX));
        covers = covers && count >= wanted;
        const uint16_t *values = data.data() + rowIndex + firstMapX;
        const int32_t px = (X0 + firstColumn) * cw;
        if (!markers) {
            covers =
                painter.DrawRow(FBack, values, count, px, py, skip, FState.InvisiblePart) && covers;
            continue;
        }
        for (int32_t c = 0; c < count; ++c) {
            if (IsInvisiblePart(values[c])) {
                covers = false;
                continue;
            }
            covers = painter.Draw(FBack, values[c], px + c * cw, py) && covers;
            DrawMarker(px + c * cw, py);
        }
    }
    FLayerCovers = covers;
}

void TMapViewRenderer::DrawSelectionChip(int32_t X0, int32_t Y0, int32_t DX, int32_t DY)
{
    if (!CanDraw())
        return;
    // The bottom layer is copied without a key: where it covers the region, no background
    // shows.
    bool covered = false;
    for (int32_t layer = 0; layer < FMap.LayerCount(); ++layer) {
        if (FState.CurrentLayerOnly && layer != FState.CurrentLayer)
            continue;
        TPixelBuffer *image = LayerImage(layer);
        if (image == nullptr || !LayerShown(layer))
            continue;
        DrawLayerCells(layer, *image, X0, Y0, DX, DY, false);
        if (layer == 0)
            covered = FLayerCovers;
    }
    if (!covered)
        FBrushShows = true;
}

void TMapViewRenderer::DrawSelectionChipFog(int32_t X0, int32_t Y0, int32_t DX, int32_t DY)
{
    if (!CanDraw())
        return;
    FBrushShows = true; // through the half blends
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
    DrawCurrentSelection();
    if (FState.Dragging && FState.ToolMode == tmTiledPen)
        DrawActiveGridLineFill(FState.Selection.X - FState.ScrollX,
                               FState.Selection.Y - FState.ScrollY);
}

bool TMapViewRenderer::ComposeFull(TComposedView *Picture)
{
    if (!CanDraw())
        return false;
    FBrushShows = false;
    const int32_t columns = std::min(FMap.Width(), FState.ViewWidth / FState.ViewCellWidth) + 1;
    const int32_t rows = std::min(FMap.Height(), FState.ViewHeight / FState.ViewCellHeight) + 1;
    FClip = BufferRect(FBack);
    // One row of cells at a time, background and all layers, so that the rows being drawn
    // stay in the processor's cache. Cells of one row touch only that row's pixels, so the
    // picture is the same as layer by layer over the whole view.
    const int32_t ch = FState.ViewCellHeight;
    const int32_t bands = std::max(0, RegionCells(0, 0, columns, rows).Rows);
    PrepareBackgroundRows();
    for (int32_t band = 0; band < bands; ++band) {
        FillBackgroundRows(band * ch, (band + 1) * ch);
        if (FState.FogMode)
            DrawSelectionChipFog(0, band, columns, 0);
        else
            DrawSelectionChip(0, band, columns, 0);
        DrawSelectedDataChip(0, band, columns, 0);
    }
    FillBackgroundRows(bands * ch, FBack.Height());
    if (bands * ch < FBack.Height())
        FBrushShows = true;
    DrawOverlays(0, 0, columns, rows);
    if (Picture != nullptr)
        Picture->Record(FMap, FState, FBack, FBrushShows);
    return true;
}

void TMapViewRenderer::PrepareBackgroundRows()
{
    // The brush repeats down the view with its height, and its origin is the buffer's: one
    // period of whole rows, made once, serves every band.
    FBack.ConvertTo32();
    const int32_t period =
        FBackground != nullptr && !FBackground->IsEmpty() ? FBackground->Height() : 1;
    FBackgroundRows.SetSize(FBack.Width(), period, 32);
    FillWithBrush(FBackgroundRows, BufferRect(FBackgroundRows), FBackground,
                  BufferRect(FBackgroundRows));
}

void TMapViewRenderer::FillBackgroundRows(int32_t Top, int32_t Bottom)
{
    const int32_t period = FBackgroundRows.Height();
    const size_t bytes = static_cast<size_t>(FBack.Width()) * 4;
    for (int32_t y = std::max(Top, 0); y < std::min(Bottom, FBack.Height()); ++y)
        std::memcpy(FBack.Row32(y), FBackgroundRows.Row32(y % period), bytes);
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
    FBrushShows = false;
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

namespace
{

// Moves every pixel by (ShiftX, ShiftY); what moves out is lost, what comes in is stale.
void MovePixels(TPixelBuffer &Buffer, int32_t ShiftX, int32_t ShiftY)
{
    const int32_t width = Buffer.Width();
    const int32_t height = Buffer.Height();
    const size_t bytes = static_cast<size_t>(width - std::abs(ShiftX)) * 4;
    const int32_t to = std::max(ShiftX, 0);
    const int32_t from = std::max(-ShiftX, 0);
    // Rows move away from the side they come from, so none is overwritten before it moved.
    if (ShiftY > 0) {
        for (int32_t y = height - 1; y >= ShiftY; --y)
            std::memmove(Buffer.Row32(y) + to, Buffer.Row32(y - ShiftY) + from, bytes);
    } else {
        for (int32_t y = 0; y < height + ShiftY; ++y)
            std::memmove(Buffer.Row32(y) + to, Buffer.Row32(y - ShiftY) + from, bytes);
    }
}

} // namespace

bool TMapViewRenderer::ComposeScrolled(TComposedView &Picture)
{
    if (!CanDraw())
        return false;
    if (!Picture.ShowsAllButScroll(FMap, FState, FBack))
        return ComposeFull(&Picture);
    const int32_t cw = FState.ViewCellWidth;
    const int32_t ch = FState.ViewCellHeight;
    const int64_t shiftX = (static_cast<int64_t>(Picture.ScrollX()) - FState.ScrollX) * cw;
    const int64_t shiftY = (static_cast<int64_t>(Picture.ScrollY()) - FState.ScrollY) * ch;
    const int32_t width = FBack.Width();
    const int32_t height = FBack.Height();
    if (std::abs(shiftX) >= width || std::abs(shiftY) >= height)
        return ComposeFull(&Picture);
    // The brush is tied to the buffer's corner: moved by less than its size it would show
    // out of step.
    const bool brushKeepsStep =
        FBackground == nullptr || FBackground->IsEmpty() ||
        (shiftX % FBackground->Width() == 0 && shiftY % FBackground->Height() == 0);
    // Part numbers run on into their neighbours, and the cells that leave the view take the
    // numbers running on from them along.
    if ((Picture.BrushShows() && !brushKeepsStep) || FState.ShowNumber)
        return ComposeFull(&Picture);

    MovePixels(FBack, static_cast<int32_t>(shiftX), static_cast<int32_t>(shiftY));
    bool brushShows = Picture.BrushShows();
    const int32_t lastColumn = CeilDiv(width, cw) - 1;
    const int32_t lastRow = CeilDiv(height, ch) - 1;
    // The cells that came into view: a band of columns and a band of rows.
    const auto compose = [&](int32_t X0, int32_t Y0, int32_t X1, int32_t Y1) {
        if (X1 < X0 || Y1 < Y0)
            return;
        ComposeRegion(X0, Y0, X1 - X0, Y1 - Y0);
        brushShows = brushShows || FBrushShows;
    };
    if (shiftX < 0)
        compose(static_cast<int32_t>((width + shiftX) / cw), 0, lastColumn, lastRow);
    else if (shiftX > 0)
        compose(0, 0, static_cast<int32_t>((shiftX - 1) / cw), lastRow);
    if (shiftY < 0)
        compose(0, static_cast<int32_t>((height + shiftY) / ch), lastColumn, lastRow);
    else if (shiftY > 0)
        compose(0, 0, lastColumn, static_cast<int32_t>((shiftY - 1) / ch));
    // The hatch of a selection is tied to the buffer's corner too.
    const TSelection &selection = FState.Selection;
    if (selection.Active && !FState.UseTranslucentSelect &&
        (shiftX % kHatchPeriod != 0 || shiftY % kHatchPeriod != 0)) {
        const int32_t x0 = std::min(selection.X, selection.X + selection.DX) - FState.ScrollX;
        const int32_t y0 = std::min(selection.Y, selection.Y + selection.DY) - FState.ScrollY;
        const int32_t x1 = x0 + std::abs(selection.DX);
        const int32_t y1 = y0 + std::abs(selection.DY);
        compose(std::max(x0, 0), std::max(y0, 0), std::min(x1, lastColumn), std::min(y1, lastRow));
    }
    Picture.Record(FMap, FState, FBack, brushShows);
    return true;
}
