// Composition of the overview window's back buffer: every visible layer in stack order, each
// cell shrunk to Scale × Scale pixels, and the red frame of the area the map view shows.
// The window fills a TPreviewState, composes with one of these and shows the back buffer.
#pragma once

#include "MapViewState.h"
#include "PixelBuffer.h"
#include "PixelDrawing.h"
#include "editor/map/MapDataUnit.h"

#include <cstdint>
#include <string>

struct TPreviewState {
    bool Visible = true;
    bool Minimized = false; // rolled up
    int32_t ViewWidth = 0;  // the window's view area
    int32_t ViewHeight = 0;
    int32_t PreviewScale = 2;   // pixels per cell (e), 1 to 4
    int32_t PreviewScrollX = 0; // map cell at the top-left
    int32_t PreviewScrollY = 0;
};

class TPreviewRenderer
{
public:
    // MapView gives the map view's scroll offsets, size and cell size (for the frame) and the
    // transparency and invisible-part switches. Background may be null (white).
    TPreviewRenderer(const TMap &Map, const TPreviewState &State, const TMapViewState &MapView,
                     const TChipPositions &Parts, TPixelBuffer &BackBuffer,
                     const TPixelBuffer *Background);

    // Full recomposition. False when nothing was drawn (rolled up, invisible, empty view).
    bool UpdatePreview();
    // A region given in map cells, after an edit of those cells. False when nothing drawn.
    bool UpdatePreviewRect(int32_t X, int32_t Y, int32_t DX, int32_t DY);
    // The layers of a region given relative to the preview's scroll offsets.
    void DrawPreviewCells(int32_t X0, int32_t Y0, int32_t Columns, int32_t Rows);

    // The frame of the map view's area in view pixels (without the tool bar offset).
    bool ViewFrame(TPixelRect &Frame) const;
    // Copies the back buffer into Target at (0, ToolBarHeight) and draws the one-pixel red
    // frame. False when nothing was drawn.
    bool DrawViewFrame(TPixelBuffer &Target, int32_t ToolBarHeight);

private:
    bool CanCompose() const;
    TPixelBuffer *LayerImage(int32_t Layer) const;

    const TMap &FMap;
    const TPreviewState &FState;
    const TMapViewState &FView;
    const TChipPositions &FParts;
    TPixelBuffer &FBack;
    const TPixelBuffer *FBackground;
};

// The status panel: "Zoom:" ceil(e × 100 / part width) "%" with a ready map, else "Zoom".
std::string PreviewStatusText(const TMap &Map, int32_t PreviewScale);
