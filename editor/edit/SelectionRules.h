// Selection arithmetic of the editing commands: normalising a dragged rectangle, clipping it
// to the map, deciding whether it can be used, and where a pasted block lands. Plain functions
// on TSelection; they know nothing of windows or of the map's cells.
#pragma once

#include "editor/map/DefineUnit.h"

#include <cstdint>

// A rectangle dragged leftwards or upwards (negative DX or DY) turned into the same rectangle
// with its top-left corner first; Index follows X and Y.
void FixSelection(TSelection &S, int32_t MapWidth);

// Cut to the map: a part left of or above the map is dropped, and the last column (row) is
// held at the map's last one. Index follows X and Y.
void ClipSelection(TSelection &S, int32_t MapWidth, int32_t MapHeight);

// True when S cannot be used: inactive, or X, Y, DX, DY or Index outside the map. X + DX is
// not tested against the width; callers that read or tile clip first.
bool IsFailedSelection(const TSelection &S, int32_t MapWidth, int32_t MapHeight);

// True when S is active, normalised, and lies wholly inside the map.
bool LiesInsideMap(const TSelection &S, int32_t MapWidth, int32_t MapHeight);

// The single cell (X, Y), active.
TSelection CellSelection(int32_t X, int32_t Y, int32_t MapWidth);

// X <= column <= X + DX and Y <= row <= Y + DY.
bool SelectionContains(const TSelection &S, int32_t Column, int32_t Row);

// Some cell of the block at S lies on the map.
bool BlockOverlapsMap(const TSelection &S, int32_t MapWidth, int32_t MapHeight);

// Where a pasted block of Extent + 1 cells starts along one axis: centred on the middle
// column (row) of the map when the whole map fits the view, otherwise on the middle of the
// cells shown from Scroll on.
int32_t PasteOrigin(int32_t MapSize, int32_t ViewPixels, int32_t CellPixels, int32_t Scroll,
                    int32_t Extent);

// The cell a find starts at: past the selection when it marks a cell (a find result, or any
// selection not at cell 0), otherwise the first cell.
int64_t FindStartIndex(const TSelection &Selection, bool FoundMark);
