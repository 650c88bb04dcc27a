#include "PartPainter.h"

#include "RasterPrimitives.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace
{

// The scaled blocks of one painter stay below 16 MiB; further parts are gathered per cell.
constexpr size_t kBlockPixelLimit = size_t{4} << 20;

template <TPartRule Rule> inline uint32_t Put(uint32_t Source, uint32_t Under, uint32_t Key)
{
    if constexpr (Rule == TPartRule::Copy)
        return Source;
    else if constexpr (Rule == TPartRule::Keyed)
        return Source != Key ? Source : Under;
    else
        return Source != Key ? HalfBlend(Source, Under) : Under;
}

// Count pixels of a row put onto the pixels under them, four at a time where it can, which
// the compiler turns into vector instructions without a call per row.
template <TPartRule Rule>
inline void PutRow(uint32_t *D, const uint32_t *S, int32_t Count, uint32_t Key)
{
    int32_t i = 0;
    for (; i + 4 <= Count; i += 4) {
        uint32_t source[4];
        uint32_t under[4];
        std::memcpy(source, S + i, sizeof(source));
        std::memcpy(under, D + i, sizeof(under));
        for (int32_t k = 0; k < 4; ++k)
            under[k] = Put<Rule>(source[k], under[k], Key);
        std::memcpy(D + i, under, sizeof(under));
    }
    for (; i < Count; ++i)
        D[i] = Put<Rule>(S[i], D[i], Key);
}

} // namespace

TPartPainter::TPartPainter(TPixelBuffer &Image, int32_t Layer, const TChipPositions &Parts,
                           int32_t PartWidth, int32_t PartHeight, int32_t CellWidth,
                           int32_t CellHeight, TPartRule Rule, TPartScaling Scaling,
                           uint32_t KeyColor)
    : FImage(Image), FLayer(Layer), FParts(Parts), FPartWidth(PartWidth), FPartHeight(PartHeight),
      FCellWidth(CellWidth), FCellHeight(CellHeight), FRule(Rule), FScaling(Scaling),
      FKeyColor(KeyColor), FKeyPixel(ColorToPixel32(KeyColor))
{
    FImage.ConvertTo32();
    const bool exact = Scaling == TPartScaling::Exact;
    FColumns = exact ? ExactSteps(PartWidth, CellWidth) : FixedPointSteps(PartWidth, CellWidth);
    FRows = exact ? ExactSteps(PartHeight, CellHeight) : FixedPointSteps(PartHeight, CellHeight);
    FUnscaled = CellWidth == PartWidth && CellHeight == PartHeight;
    // A block row per cell row while the part shrinks (or keeps its height), per part row
    // while it grows: a grown part's rows repeat.
    FBlockRows = CellHeight <= PartHeight ? CellHeight : PartHeight;
    FRowPixels.resize(static_cast<size_t>(std::max(CellWidth, 0)));
    if (!FUnscaled && CellWidth > 0 && FBlockRows > 0)
        FBlocks.reserve(std::min(kBlockPixelLimit, size_t{256} * CellWidth * FBlockRows));
}

const TPartPainter::TSlot &TPartPainter::NewSlot(uint16_t Value)
{
    if (Value >= FSlotOf.size())
        FSlotOf.resize(std::max<size_t>(size_t{Value} + 1, FSlotOf.size() * 2), 0);
    FSlots.emplace_back();
    FSlotOf[Value] = static_cast<uint32_t>(FSlots.size());
    TSlot &slot = FSlots.back();
    // The position the primitives would be given, whatever the lookup answers.
    FParts.GetImagePosition(Value, FLayer, slot.X, slot.Y);
    if (FCellWidth <= 0 || FCellHeight <= 0 || FColumns.empty() || FRows.empty())
        return slot;
    const int64_t lastColumn = static_cast<int64_t>(slot.X) + FColumns.back();
    const int64_t lastRow = static_cast<int64_t>(slot.Y) + FRows.back();
    if (slot.X < 0 || slot.Y < 0 || lastColumn >= FImage.Width() || lastRow >= FImage.Height())
        return slot;
    slot.Quick = true;
    const size_t pixels = static_cast<size_t>(FCellWidth) * FBlockRows;
    if (FUnscaled || FBlocks.size() + pixels > kBlockPixelLimit)
        return slot;
    try {
        slot.Offset = FBlocks.size();
        FBlocks.resize(FBlocks.size() + pixels);
    } catch (const std::bad_alloc &) {
        return slot; // gathered per cell instead
    }
    uint32_t *block = FBlocks.data() + slot.Offset;
    const bool shrinks = FCellHeight <= FPartHeight;
    for (int32_t j = 0; j < FBlockRows; ++j) {
        const int32_t sourceRow = shrinks ? FRows[static_cast<size_t>(j)] : j;
        const uint32_t *source = FImage.Row32(slot.Y + sourceRow) + slot.X;
        uint32_t *row = block + static_cast<size_t>(j) * FCellWidth;
        for (int32_t c = 0; c < FCellWidth; ++c)
            row[c] = source[FColumns[static_cast<size_t>(c)]];
    }
    slot.Blocked = true;
    return slot;
}

void TPartPainter::DrawWithPrimitive(TPixelBuffer &Dest, const TSlot &Slot, int32_t PX, int32_t PY)
{
    const int32_t cw = FCellWidth;
    const int32_t ch = FCellHeight;
    const int32_t pw = FPartWidth;
    const int32_t ph = FPartHeight;
    switch (FRule) {
    case TPartRule::Copy:
        if (FScaling == TPartScaling::Exact)
            StretchCopyRect32(Dest, PX, PY, cw, ch, FImage, Slot.X, Slot.Y, pw, ph);
        else
            DIBCopyRect32(Dest, PX, PY, cw, ch, FImage, Slot.X, Slot.Y, pw, ph);
        break;
    case TPartRule::Keyed:
        DIBCopyRectUseKey32(Dest, PX, PY, cw, ch, FImage, Slot.X, Slot.Y, pw, ph, FKeyColor);
        break;
    case TPartRule::HalfBlendKeyed:
        DIBHalfBlendUseKey32(Dest, PX, PY, cw, ch, FImage, Slot.X, Slot.Y, pw, ph, FKeyColor);
        break;
    }
}

template <TPartRule Rule, int32_t Width>
bool TPartPainter::DrawCells(TPixelBuffer &Dest, const uint16_t *Values, int32_t Count, int32_t PX,
                             int32_t PY, bool Skip, uint16_t Skipped)
{
    // Width: the cell width when it is known while compiling (narrow cells of zoomed-out
    // views and the overview, whose rows then take no loop of their own), else 0.
    const int32_t cellWidth = Width > 0 ? Width : FCellWidth;
    // Cut at the bottom and right edges: the pixels left keep their source pixels.
    const int32_t height = std::min(FCellHeight, Dest.Height() - PY);
    if (height <= 0 || Count <= 0)
        return true;
    bool whole = true;
    const int32_t destWidth = Dest.Width();
    const size_t destStride = static_cast<size_t>(Dest.RowBytes()) / 4;
    const size_t imageStride = static_cast<size_t>(FImage.RowBytes()) / 4;
    const uint32_t key = FKeyPixel;
    const bool shrinks = FCellHeight <= FPartHeight;
    for (int32_t i = 0; i < Count; ++i) {
        const int32_t px = PX + i * cellWidth;
        if (px >= destWidth)
            break;
        const uint16_t value = Values[i];
        if (Skip && value == Skipped) {
            whole = false;
            continue;
        }
        const TSlot &slot = Slot(value);
        if (!slot.Quick || px < 0 || PY < 0) {
            DrawWithPrimitive(Dest, slot, px, PY);
            whole = false;
            continue;
        }
        const int32_t width = std::min(cellWidth, destWidth - px);
        uint32_t *d = Dest.Row32(PY) + px;
        if (Width > 0 && slot.Blocked && width == Width) {
            const uint32_t *block = FBlocks.data() + slot.Offset;
            for (int32_t r = 0; r < height; ++r) {
                const size_t blockRow = shrinks ? r : FRows[static_cast<size_t>(r)];
                PutRow<Rule>(d + r * destStride, block + blockRow * Width, Width, key);
            }
        } else if (FUnscaled) {
            const uint32_t *s = FImage.Row32(slot.Y) + slot.X;
            for (int32_t r = 0; r < height; ++r)
                PutRow<Rule>(d + r * destStride, s + r * imageStride, width, key);
        } else if (slot.Blocked) {
            const uint32_t *block = FBlocks.data() + slot.Offset;
            for (int32_t r = 0; r < height; ++r) {
                const size_t blockRow = shrinks ? r : FRows[static_cast<size_t>(r)];
                PutRow<Rule>(d + r * destStride, block + blockRow * FCellWidth, width, key);
            }
        } else {
            int32_t gatheredRow = -1;
            for (int32_t r = 0; r < height; ++r) {
                const int32_t sourceRow = FRows[static_cast<size_t>(r)];
                if (sourceRow != gatheredRow) {
                    const uint32_t *s = FImage.Row32(slot.Y + sourceRow) + slot.X;
                    for (int32_t c = 0; c < width; ++c)
                        FRowPixels[static_cast<size_t>(c)] = s[FColumns[static_cast<size_t>(c)]];
                    gatheredRow = sourceRow;
                }
                PutRow<Rule>(d + r * destStride, FRowPixels.data(), width, key);
            }
        }
    }
    return whole;
}

template <TPartRule Rule>
bool TPartPainter::DrawCellsOfWidth(TPixelBuffer &Dest, const uint16_t *Values, int32_t Count,
                                    int32_t PX, int32_t PY, bool Skip, uint16_t Skipped)
{
    switch (FUnscaled ? 0 : FCellWidth) {
    case 1:
        return DrawCells<Rule, 1>(Dest, Values, Count, PX, PY, Skip, Skipped);
    case 2:
        return DrawCells<Rule, 2>(Dest, Values, Count, PX, PY, Skip, Skipped);
    case 3:
        return DrawCells<Rule, 3>(Dest, Values, Count, PX, PY, Skip, Skipped);
    case 4:
        return DrawCells<Rule, 4>(Dest, Values, Count, PX, PY, Skip, Skipped);
    case 8:
        return DrawCells<Rule, 8>(Dest, Values, Count, PX, PY, Skip, Skipped);
    default:
        return DrawCells<Rule, 0>(Dest, Values, Count, PX, PY, Skip, Skipped);
    }
}

bool TPartPainter::DrawRow(TPixelBuffer &Dest, const uint16_t *Values, int32_t Count, int32_t PX,
                           int32_t PY, bool Skip, uint16_t Skipped)
{
    switch (FRule) {
    case TPartRule::Copy:
        return DrawCellsOfWidth<TPartRule::Copy>(Dest, Values, Count, PX, PY, Skip, Skipped);
    case TPartRule::Keyed:
        return DrawCellsOfWidth<TPartRule::Keyed>(Dest, Values, Count, PX, PY, Skip, Skipped);
    case TPartRule::HalfBlendKeyed:
        return DrawCellsOfWidth<TPartRule::HalfBlendKeyed>(Dest, Values, Count, PX, PY, Skip,
                                                           Skipped);
    }
    return false;
}

bool TPartPainter::Draw(TPixelBuffer &Dest, uint16_t Value, int32_t PX, int32_t PY)
{
    return DrawRow(Dest, &Value, 1, PX, PY, false, 0);
}
