// The aids drawn over the layers of the map view: part numbers, grid, selection, the tiled-pen
// lattice and the cursor grid.
#include "MapViewRenderer.h"
#include "PaintImage.h"
#include "RasterPrimitives.h"

#include <QString>
#include <algorithm>

namespace
{
constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kBlack = 0x00000000;
constexpr uint32_t kRedColor = 0x0000FF; // colour value

TSelection Normalised(TSelection Selection)
{
    if (Selection.DX < 0) {
        Selection.X += Selection.DX;
        Selection.DX = -Selection.DX;
    }
    if (Selection.DY < 0) {
        Selection.Y += Selection.DY;
        Selection.DY = -Selection.DY;
    }
    return Selection;
}

bool WritesBlock(uint8_t ToolMode)
{
    return ToolMode == tmPen || ToolMode == tmTiledPen || ToolMode == tmEraser ||
           ToolMode == tmFill;
}
} // namespace

void TMapViewRenderer::DrawChipNumber(int32_t X0, int32_t Y0, int32_t DX, int32_t DY)
{
    if (!CanDraw())
        return;
    const int32_t cw = FState.ViewCellWidth;
    const int32_t ch = FState.ViewCellHeight;
    if (FState.NumberMin != 0 && cw < FState.NumberMin)
        return;
    const int32_t layer = FState.CurrentLayer;
    if (!LayerShown(layer))
        return;
    const TRegionCells cells = RegionCells(X0, Y0, DX, DY);
    const std::vector<uint16_t> &data = FMap.GetLayer(layer).Data;
    const int32_t yOff = TTextPainter::FontHeight / 2 + ch / 2;
    const int32_t firstColumn = std::max(0, -(FState.ScrollX + X0));
    const int32_t firstRow = std::max(0, -(FState.ScrollY + Y0));
    TTextPainter painter(FBack);
    for (int32_t r = firstRow; r < cells.Rows; ++r) {
        const int32_t mapY = FState.ScrollY + Y0 + r;
        if (mapY >= FMap.Height())
            break;
        for (int32_t c = firstColumn; c < cells.Columns; ++c) {
            const int32_t mapX = FState.ScrollX + X0 + c;
            if (mapX >= FMap.Width())
                break;
            const size_t index =
                static_cast<size_t>(mapY) * static_cast<size_t>(FMap.Width()) + mapX;
            if (index >= data.size())
                return;
            const uint16_t v = data[index];
            if (FState.forceinvnum != 0 && IsInvisiblePart(v))
                continue;
            const int32_t px = (X0 + c) * cw;
            const int32_t py = (Y0 + r) * ch;
            // A long number runs on over the next cells, as far as the overlay clip allows.
            painter.Draw(px + 1, py + yOff, QString::number(v), FState.NumberColor,
                         FState.BoxNumber, FState.NumberBkColor, FClip);
        }
    }
}

void TMapViewRenderer::DrawGridLine()
{
    if (!CanDraw())
        return;
    const int32_t cw = FState.ViewCellWidth;
    const int32_t ch = FState.ViewCellHeight;
    if (FState.GridMin != 0 && cw < FState.GridMin)
        return;
    const int32_t viewColumns = FState.ViewWidth / cw;
    const int32_t viewRows = FState.ViewHeight / ch;
    const int32_t n = std::min(FMap.Width(), viewColumns);
    const int32_t m = std::min(FMap.Height(), viewRows);
    const int32_t e = viewColumns < FMap.Width() - FState.ScrollX
                          ? FBack.Width()
                          : (FMap.Width() - FState.ScrollX) * cw;
    const int32_t f = viewRows < FMap.Height() - FState.ScrollY
                          ? FBack.Height()
                          : (FMap.Height() - FState.ScrollY) * ch;
    const uint32_t pixel = ColorToPixel32(FState.GridColor);
    for (int32_t l = 0; l <= m; ++l)
        DrawHorizontalLine(FBack, 0, e, l * ch, pixel, FClip);
    for (int32_t l = 0; l <= n; ++l)
        DrawVerticalLine(FBack, l * cw, 0, f, pixel, FClip);
}

void TMapViewRenderer::DrawCurrentSelection()
{
    if (!CanDraw() || !FState.Selection.Active)
        return;
    const TSelection sel = Normalised(FState.Selection);
    const int32_t cw = FState.ViewCellWidth;
    const int32_t ch = FState.ViewCellHeight;
    const int32_t vx = sel.X - FState.ScrollX;
    const int32_t vy = sel.Y - FState.ScrollY;
    const TPixelRect frame{vx * cw + 1, vy * ch + 1, (vx + sel.DX + 1) * cw,
                           (vy + sel.DY + 1) * ch};
    const uint32_t highlight = ColorToPixel32(FState.HighlightColor);
    if (FState.UseTranslucentSelect) {
        const uint32_t tint = FState.FoundMark ? kRedColor : FState.HighlightColor;
        const TPixelRect tinted = frame.Intersected(FClip);
        if (!tinted.IsEmpty())
            DIBFillColor(FBack, tinted.Left, tinted.Top, tinted.Width(), tinted.Height(), tint);
        FrameRectangle(FBack, frame, highlight, FClip);
        return;
    }
    const uint32_t pen = FState.FoundMark ? ColorToPixel32(kRedColor) : kWhite;
    const uint32_t hatch = FState.FoundMark ? kWhite : kBlack;
    HatchRectangle(FBack, frame, hatch, FClip);
    FrameRectangle(FBack, frame, pen, FClip, FState.FoundMark ? 3 : 1);
}

void TMapViewRenderer::DrawActiveGridLineFill(int32_t AX, int32_t AY)
{
    if (!CanDraw() || !FState.ShowCGrid || FState.ToolMode != tmTiledPen)
        return;
    const TSelection &block = FState.CursorBlock;
    if (!block.Active || (block.DX == 0 && block.DY == 0))
        return;
    const int32_t bw = block.DX + 1;
    const int32_t bh = block.DY + 1;
    if (bw <= 0 || bh <= 0)
        return;
    const int32_t cw = FState.ViewCellWidth;
    const int32_t ch = FState.ViewCellHeight;
    const int32_t cx = (FState.ViewWidth / cw) / bw + 1;
    const int32_t cy = (FState.ViewHeight / ch) / bh + 1;
    int32_t sy = AY % bh;
    if (sy != 0)
        sy -= bh;
    int32_t sx = AX % bw;
    if (sx != 0)
        sx -= bw;
    const uint32_t pixel = ColorToPixel32(FState.AGridColor);
    for (int32_t k = 0; k <= cy; ++k) {
        for (int32_t l = 0; l <= cx; ++l) {
            const int32_t left = (sx + l * bw) * cw;
            const int32_t top = (sy + k * bh) * ch;
            const int32_t right = left + bw * cw;
            const int32_t bottom = top + bh * ch;
            FrameRectangle(FBack, {left + 3, top + 3, right - 2, bottom - 2}, pixel, FClip);
        }
    }
}

bool ActiveGridFrame(const TMapViewState &State, int32_t X, int32_t Y, TPixelRect &Frame)
{
    if (State.ToolMode == tmTerrain)
        return TerrainBrushFrame(State, X, Y, Frame);
    if (!State.ViewReady || !State.ShowCGrid || State.ViewCellWidth <= 0 ||
        State.ViewCellHeight <= 0 || !State.CursorBlock.Active || !WritesBlock(State.ToolMode))
        return false;
    const int32_t cw = State.ViewCellWidth;
    const int32_t ch = State.ViewCellHeight;
    const int32_t dx = State.CursorBlock.DX;
    const int32_t dy = State.CursorBlock.DY;
    Frame = {(X - State.ScrollX) * cw + 3, (Y - State.ScrollY) * ch + 3,
             (X + dx - State.ScrollX + 1) * cw - 2, (Y + dy - State.ScrollY + 1) * ch - 2};
    return true;
}

bool TMapViewRenderer::DrawActiveGridLine(TPixelBuffer &Target, int32_t ToolBarHeight, int32_t X,
                                          int32_t Y)
{
    if (!CanDraw() || !FState.ShowCGrid || !FState.CursorBlock.Active)
        return false;
    DIBCopyRect32(Target, 0, ToolBarHeight, FBack.Width(), FBack.Height(), FBack, 0, 0,
                  FBack.Width(), FBack.Height());
    TPixelRect frame;
    if (ActiveGridFrame(FState, X, Y, frame)) {
        frame.Top += ToolBarHeight;
        frame.Bottom += ToolBarHeight;
        FrameRectangle(Target, frame, ColorToPixel32(FState.AGridColor), BufferRect(Target));
    }
    return true;
}

bool TerrainBrushFrame(const TMapViewState &State, int32_t X, int32_t Y, TPixelRect &Frame)
{
    if (!State.ViewReady || State.ViewCellWidth <= 0 || State.ViewCellHeight <= 0)
        return false;
    const int32_t cw = State.ViewCellWidth;
    const int32_t ch = State.ViewCellHeight;
    const int32_t size = std::max<int32_t>(State.TerrainBrushSize, 1);
    const int32_t left = X - (size - 1) / 2 - State.ScrollX;
    const int32_t top = Y - (size - 1) / 2 - State.ScrollY;
    Frame = {left * cw, top * ch, (left + size) * cw, (top + size) * ch};
    return true;
}
