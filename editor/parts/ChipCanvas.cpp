#include "ChipCanvas.h"

#include "editor/render/PixelDrawing.h"
#include "editor/render/RasterPrimitives.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr uint32_t kWhitePixel = 0x00FFFFFF;
constexpr uint32_t kBlackPixel = 0x00000000;
constexpr uint32_t kRedColor = 0x000000FF; // colour value

int32_t CeilDiv(int32_t A, int32_t B)
{
    return (A + B - 1) / B;
}

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
} // namespace

int32_t ScaledImageSize(int32_t ImageSize, int32_t CellSize, int32_t PartsSize)
{
    if (PartsSize <= 0)
        return 0;
    return static_cast<int32_t>(
        std::nearbyint(static_cast<double>(ImageSize) * CellSize / PartsSize));
}

void DrawFullChips(TPixelBuffer &Back, const TChipCanvasState &State, TPixelBuffer &Image)
{
    if (Image.IsEmpty())
        return;
    const int32_t pw = State.PartsWidth;
    const int32_t ph = State.PartsHeight;
    DIBCopyRect32(Back, 0, 0, ScaledImageSize(Image.Width(), State.CellWidth, pw),
                  ScaledImageSize(Image.Height(), State.CellHeight, ph), Image, pw * State.ScrollX,
                  ph * State.ScrollY, Image.Width(), Image.Height());
}

void DrawFullGridLine(TPixelBuffer &Back, const TChipCanvasState &State)
{
    const int32_t dw = State.CellWidth;
    const int32_t dh = State.CellHeight;
    if (dw <= 0 || dh <= 0)
        return;
    const int32_t columns = std::min(State.AlignX, CeilDiv(Back.Width(), dw));
    const int32_t rows = std::min(State.AlignY, CeilDiv(Back.Height(), dh));
    const uint32_t pixel = ColorToPixel32(State.GridColor);
    const TPixelRect clip = BufferRect(Back);
    for (int32_t d = 0; d < rows; ++d) {
        const int32_t row = d + State.ScrollY;
        if (row >= State.AlignY)
            break;
        for (int32_t c = 0; c < columns; ++c) {
            const int32_t column = c + State.ScrollX;
            // A column scrolled in beyond the last one is no part either.
            if (column >= State.AlignX)
                break;
            if (static_cast<int64_t>(row) * State.AlignX + column >= State.ValueLimit)
                continue;
            // Each valid part is closed on its right and bottom edges; the lines end one pixel
            // short of their start point's cell, as a line to a point leaves that point out.
            const int32_t right = (c + 1) * dw;
            const int32_t bottom = (d + 1) * dh;
            DrawVerticalLine(Back, right, d * dh + 1, bottom + 1, pixel, clip);
            DrawHorizontalLine(Back, c * dw + 1, right + 1, bottom, pixel, clip);
        }
    }
}

void DrawCurrentSelection(TPixelBuffer &Back, const TChipCanvasState &State)
{
    const int32_t dw = State.CellWidth;
    const int32_t dh = State.CellHeight;
    const TPixelRect clip = BufferRect(Back);
    const uint32_t highlight = ColorToPixel32(State.HighlightColor);
    if (State.UseInvisiblePart && State.AlignX != 0) {
        const int32_t x = (State.InvisiblePart % State.AlignX - State.ScrollX) * dw;
        const int32_t y = (State.InvisiblePart / State.AlignX - State.ScrollY) * dh;
        if (State.UseTranslucentSelect) {
            DIBFillColor(Back, x, y, dw, dh, kRedColor);
        } else {
            const TPixelRect mark{x + 1, y + 1, x + dw, y + dh};
            HatchRectangle(Back, mark, highlight, clip);
            FrameRectangle(Back, mark, ColorToPixel32(kRedColor), clip, 2);
        }
    }
    if (!State.Selection.Active)
        return;
    const TSelection sel = Normalised(State.Selection);
    const int32_t left = (sel.X - State.ScrollX) * dw + 1;
    const int32_t top = (sel.Y - State.ScrollY) * dh + 1;
    const TPixelRect frame{left, top, (sel.X + sel.DX - State.ScrollX + 1) * dw,
                           (sel.Y + sel.DY - State.ScrollY + 1) * dh};
    if (State.UseTranslucentSelect) {
        DIBFillColor(Back, left, top, (sel.DX + 1) * dw - 1, (sel.DY + 1) * dh - 1,
                     State.HighlightColor);
        FrameRectangle(Back, frame, highlight, clip);
        return;
    }
    HatchRectangle(Back, frame, kBlackPixel, clip);
    FrameRectangle(Back, frame, kWhitePixel, clip);
}

void ComposeChipBase(TPixelBuffer &Back, const TChipCanvasState &State, TPixelBuffer *Image,
                     const TPixelBuffer *Background)
{
    if (Back.IsEmpty())
        return;
    FillWithBrush(Back, BufferRect(Back), Background, BufferRect(Back));
    if (Image != nullptr)
        DrawFullChips(Back, State, *Image);
    if (State.DrawGrid)
        DrawFullGridLine(Back, State);
}

void ComposeChipCanvas(TPixelBuffer &Back, const TChipCanvasState &State, TPixelBuffer *Image,
                       const TPixelBuffer *Background)
{
    if (Back.IsEmpty())
        return;
    ComposeChipBase(Back, State, Image, Background);
    DrawCurrentSelection(Back, State);
}
