// Draws the parts of one layer's image into cells of one size, thousands of times per
// composition. Each cell shows exactly the pixels the raster primitive of its rule would
// draw there; the painter only does the arithmetic once: the part's place in the image is
// looked up once per part number, the scaling steps once per cell size, and a scaled part is
// sampled once into a block that later cells copy row by row. Cells that the quick way
// cannot draw exactly (a part that leaves its image, a cell left of or above the buffer) go
// through the primitive itself.
#pragma once

#include "MapViewState.h"
#include "PixelBuffer.h"

#include <cstdint>
#include <vector>

// How a part meets the pixels under it.
enum class TPartRule : uint8_t {
    Copy,           // DIBCopyRect32 or StretchCopyRect32
    Keyed,          // DIBCopyRectUseKey32
    HalfBlendKeyed, // DIBHalfBlendUseKey32
};

// How a part is scaled to its cell.
enum class TPartScaling : uint8_t {
    FixedPoint, // 24.8 fixed-point steps: DIBCopyRect32 and the keyed primitives
    Exact,      // exact steps: StretchCopyRect32
};

class TPartPainter
{
public:
    // KeyColor is a colour value (0x00BBGGRR), used by the keyed rules. The image is converted
    // to 32 bits, as the primitives do.
    TPartPainter(TPixelBuffer &Image, int32_t Layer, const TChipPositions &Parts, int32_t PartWidth,
                 int32_t PartHeight, int32_t CellWidth, int32_t CellHeight, TPartRule Rule,
                 TPartScaling Scaling, uint32_t KeyColor);

    // Part Value with its top-left at (PX, PY) of Dest, which must hold 32 bits per pixel.
    // True when the cell got the whole part (see DrawRow).
    bool Draw(TPixelBuffer &Dest, uint16_t Value, int32_t PX, int32_t PY);

    // Part Value drawn whole by a copying rule: nothing under the cell shows.
    bool Covers(uint16_t Value) { return FRule == TPartRule::Copy && Slot(Value).Quick; }

    // A row of cells: part Values[i] at (PX + i × cell width, PY), for i < Count; parts equal
    // to Skipped are left out when Skip is set. True when every cell got a whole part (none
    // left out, none leaving its image), so that nothing under the row shows through a
    // copying rule.
    bool DrawRow(TPixelBuffer &Dest, const uint16_t *Values, int32_t Count, int32_t PX, int32_t PY,
                 bool Skip, uint16_t Skipped);

private:
    struct TSlot {
        int32_t X = 0; // the part's top-left in the image
        int32_t Y = 0;
        bool Quick = false; // every sampled pixel lies inside the image
        bool Blocked = false;
        size_t Offset = 0; // the scaled block in FBlocks
    };
    const TSlot &Slot(uint16_t Value)
    {
        if (Value < FSlotOf.size() && FSlotOf[Value] != 0)
            return FSlots[FSlotOf[Value] - 1];
        return NewSlot(Value);
    }
    const TSlot &NewSlot(uint16_t Value);
    void DrawWithPrimitive(TPixelBuffer &Dest, const TSlot &Slot, int32_t PX, int32_t PY);
    template <TPartRule Rule>
    bool DrawCellsOfWidth(TPixelBuffer &Dest, const uint16_t *Values, int32_t Count, int32_t PX,
                          int32_t PY, bool Skip, uint16_t Skipped);
    template <TPartRule Rule, int32_t Width>
    bool DrawCells(TPixelBuffer &Dest, const uint16_t *Values, int32_t Count, int32_t PX,
                   int32_t PY, bool Skip, uint16_t Skipped);

    TPixelBuffer &FImage;
    int32_t FLayer;
    const TChipPositions &FParts;
    int32_t FPartWidth;
    int32_t FPartHeight;
    int32_t FCellWidth;
    int32_t FCellHeight;
    TPartRule FRule;
    TPartScaling FScaling;
    uint32_t FKeyColor;
    uint32_t FKeyPixel;
    // The source column and row, relative to the part, of every cell column and row.
    std::vector<int32_t> FColumns;
    std::vector<int32_t> FRows;
    // A block holds the part scaled across: cell width × the rows the cell shows (the cell's
    // rows when it shrinks, the part's when it grows). At the same size rows come straight from
    // the image. The blocks are capped; parts past the cap are gathered pixel by pixel.
    bool FUnscaled = false;
    int32_t FBlockRows = 0;
    std::vector<uint32_t> FBlocks;
    std::vector<uint32_t> FRowPixels; // one gathered row
    std::vector<uint32_t> FSlotOf;    // part number -> slot index + 1; 0: not looked up yet
    std::vector<TSlot> FSlots;
};
