// Composition of the map view's back buffer: the background, the layers in their order (or
// the fog display), the floating blocks of a selection being moved, the layer markers and the
// overlays (part numbers, grid, selection, tiled-pen lattice). A window fills a TMapViewState,
// composes with one of these and shows the back buffer; nothing here needs a window.
//
// Regions are given in view cells: (X0, Y0) is the top-left cell relative to the view (map
// cell minus scroll offset, may be negative), DX and DY the width and height minus one.
#pragma once

#include "ComposedView.h"
#include "MapViewState.h"
#include "PartPainter.h"
#include "PixelBuffer.h"
#include "PixelDrawing.h"
#include "editor/map/MapDataUnit.h"

#include <cstdint>
#include <memory>
#include <vector>

class TMapViewRenderer
{
public:
    // Background may be null (white is used). The back buffer should be ViewWidth × ViewHeight.
    TMapViewRenderer(const TMap &Map, const TMapViewState &State, const TChipPositions &Parts,
                     TPixelBuffer &BackBuffer, const TPixelBuffer *Background);

    // The view is ready, the map is ready and the cell size is positive.
    bool CanDraw() const;

    // The whole back buffer: background, layers, floating blocks and overlays. False when
    // nothing could be drawn. The window then shows the buffer at (0, tool bar height).
    // Picture, when given, notes what the buffer now shows.
    bool ComposeFull(TComposedView *Picture = nullptr);

    // The whole back buffer after the view scrolled: when Picture says the buffer shows the
    // same view at another scroll position, its pixels move by the cells scrolled and only
    // the cells that come into view are composed; otherwise as ComposeFull. The result is
    // the same picture either way.
    bool ComposeScrolled(TComposedView &Picture);

    // One region, for an edit that changed a few cells: the background, layers, floating
    // blocks and overlays of the region, every overlay clipped to it. Returns the pixel
    // rectangle that changed (to copy to the window, shifted by the tool bar height); empty
    // when nothing was drawn.
    TPixelRect ComposeRegion(int32_t X0, int32_t Y0, int32_t DX, int32_t DY);

    // The layer drawing steps.
    void DrawSelectionChip(int32_t X0, int32_t Y0, int32_t DX, int32_t DY);
    void DrawSelectionChipFog(int32_t X0, int32_t Y0, int32_t DX, int32_t DY);
    void DrawSelectedDataChip(int32_t X0, int32_t Y0, int32_t DX, int32_t DY);

    // Overlays, drawn into the back buffer within the overlay clip (the whole buffer unless
    // a region is being composed).
    void DrawChipNumber(int32_t X0, int32_t Y0, int32_t DX, int32_t DY);
    void DrawGridLine();
    void DrawCurrentSelection();
    void DrawActiveGridLineFill(int32_t AX, int32_t AY);

    // The cursor grid for the map cell (X, Y) under the mouse: copies the back buffer into
    // Target at (0, ToolBarHeight) and draws the frame of the block the tool would write.
    // False when nothing was drawn (not even the copy).
    bool DrawActiveGridLine(TPixelBuffer &Target, int32_t ToolBarHeight, int32_t X, int32_t Y);

    // The number of columns and rows of a region that the layer steps visit.
    struct TRegionCells {
        int32_t Columns = 0;
        int32_t Rows = 0;
    };
    TRegionCells RegionCells(int32_t X0, int32_t Y0, int32_t DX, int32_t DY) const;

private:
    TPixelBuffer *LayerImage(int32_t Layer) const;
    bool LayerShown(int32_t Layer) const;
    bool IsInvisiblePart(uint16_t Value) const;
    void DrawPart(uint16_t Value, int32_t Layer, TPixelBuffer &Image, int32_t PX, int32_t PY);
    void DrawMarker(int32_t PX, int32_t PY);
    // Every cell of the region by the part rule (Blend: the fog's half blend instead).
    void DrawLayerCells(int32_t Layer, TPixelBuffer &Image, int32_t X0, int32_t Y0, int32_t DX,
                        int32_t DY, bool Blend);
    void DrawOverlays(int32_t X0, int32_t Y0, int32_t DX, int32_t DY);

    // The painter of a layer's parts (Blend: the fog's half blend), made on first use and
    // kept for the rest of this renderer's compositions.
    TPartPainter &Painter(int32_t Layer, TPixelBuffer &Image, bool Blend);

    std::vector<std::unique_ptr<TPartPainter>> FPainters;

    // Whole rows of the background: one period of the brush, copied into each band.
    void PrepareBackgroundRows();
    void FillBackgroundRows(int32_t Top, int32_t Bottom);
    TPixelBuffer FBackgroundRows;

    // Set while composing when some pixel of the background may show (the bottom layer
    // leaves a cell empty or not at all drawn, or the region reaches past the map).
    bool FBrushShows = true;
    // The last DrawLayerCells covered every pixel of its region.
    bool FLayerCovers = false;
    const TMap &FMap;
    const TMapViewState &FState;
    const TChipPositions &FParts;
    TPixelBuffer &FBack;
    const TPixelBuffer *FBackground;
    TPixelRect FClip;
};

// The frame of the cursor grid in view pixels (without the tool bar offset): the block of
// CursorBlock's size at map cell (X, Y), inset 3 pixels at the top left and 2 at the bottom
// right. False when no frame is drawn (view not ready, cursor grid off, no block, or a tool
// that writes no block).
bool ActiveGridFrame(const TMapViewState &State, int32_t X, int32_t Y, TPixelRect &Frame);
