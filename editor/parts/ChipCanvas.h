// The picture of the parts window: the current layer's parts image at the window's zoom from
// its scroll position, the grid of the valid parts, the invisible part's mark and the picked
// parts. The window fills a TChipCanvasState and composes into its back buffer; nothing here
// needs a window.
#pragma once

#include "editor/map/DefineUnit.h"
#include "editor/render/PixelBuffer.h"

#include <cstdint>

struct TChipCanvasState {
    int32_t PartsWidth = 32; // the map's part size (pw, ph)
    int32_t PartsHeight = 32;
    int32_t CellWidth = 32; // displayed size of one part (dw, dh)
    int32_t CellHeight = 32;
    int32_t ScrollX = 0; // part column and row at the top-left
    int32_t ScrollY = 0;
    int32_t AlignX = 0; // columns and rows of parts (ChipAlignX, ChipAlignY)
    int32_t AlignY = 0;
    int32_t ValueLimit = 256; // 256 or 65536: parts from here on are not valid
    bool DrawGrid = true;
    uint32_t GridColor = 0xA4A0A0; // colour values are 0x00BBGGRR
    bool UseInvisiblePart = false;
    uint16_t InvisiblePart = 0;
    bool UseTranslucentSelect = false;
    uint32_t HighlightColor = 0xD77800;
    TSelection Selection;
};

// The whole picture: the background brush (white when null), the image (none when null),
// the grid when DrawGrid, the invisible part and the selection.
void ComposeChipCanvas(TPixelBuffer &Back, const TChipCanvasState &State, TPixelBuffer *Image,
                       const TPixelBuffer *Background);
// The picture without the invisible part and the selection (which DrawCurrentSelection adds):
// what stays the same while the user picks parts.
void ComposeChipBase(TPixelBuffer &Back, const TChipCanvasState &State, TPixelBuffer *Image,
                     const TPixelBuffer *Background);

// The three layers of the picture.
void DrawFullChips(TPixelBuffer &Back, const TChipCanvasState &State, TPixelBuffer &Image);
void DrawFullGridLine(TPixelBuffer &Back, const TChipCanvasState &State);
void DrawCurrentSelection(TPixelBuffer &Back, const TChipCanvasState &State);

// The displayed width (or height) of a whole image: round(ImageSize × Cell / Parts), ties to
// even as the platform rounds.
int32_t ScaledImageSize(int32_t ImageSize, int32_t CellSize, int32_t PartsSize);
