#include "ComposedView.h"

namespace
{

bool SameCells(const TSelection &A, const TSelection &B)
{
    return A.Active == B.Active && A.X == B.X && A.Y == B.Y && A.DX == B.DX && A.DY == B.DY;
}

// The tiled pen's lattice, drawn while it drags.
bool LatticeShows(const TMapViewState &State)
{
    return State.Dragging && State.ToolMode == tmTiledPen && State.ShowCGrid;
}

// Everything the composition reads from the state, but the scroll position. A floating
// block's cells live outside the state, so a view with one never matches.
bool SameDrawing(const TMapViewState &A, const TMapViewState &B)
{
    if (A.Floating || B.Floating)
        return false;
    if (A.ViewWidth != B.ViewWidth || A.ViewHeight != B.ViewHeight ||
        A.ViewCellWidth != B.ViewCellWidth || A.ViewCellHeight != B.ViewCellHeight ||
        A.CurrentLayer != B.CurrentLayer || A.FogMode != B.FogMode ||
        A.ShowMarker != B.ShowMarker || A.TransEnabled != B.TransEnabled ||
        A.TransColor != B.TransColor || A.UseInvisiblePart != B.UseInvisiblePart ||
        A.InvisiblePart != B.InvisiblePart || A.CurrentLayerOnly != B.CurrentLayerOnly)
        return false;
    if (!SameCells(A.Selection, B.Selection) || A.FoundMark != B.FoundMark ||
        A.UseTranslucentSelect != B.UseTranslucentSelect || A.HighlightColor != B.HighlightColor)
        return false;
    if (A.ShowNumber != B.ShowNumber || A.NumberColor != B.NumberColor ||
        A.BoxNumber != B.BoxNumber || A.NumberBkColor != B.NumberBkColor ||
        A.NumberMin != B.NumberMin || A.forceinvnum != B.forceinvnum)
        return false;
    if (A.ShowGrid != B.ShowGrid || A.GridColor != B.GridColor || A.GridMin != B.GridMin)
        return false;
    if (LatticeShows(A) != LatticeShows(B))
        return false;
    return !LatticeShows(A) ||
           (A.AGridColor == B.AGridColor && SameCells(A.CursorBlock, B.CursorBlock));
}

} // namespace

std::vector<TComposedView::TLayerStamp> TComposedView::LayerStamps(const TMap &Map)
{
    std::vector<TLayerStamp> stamps(static_cast<size_t>(Map.LayerCount()));
    for (int32_t i = 0; i < Map.LayerCount(); ++i) {
        const TMapLayer &layer = Map.GetLayer(i);
        stamps[static_cast<size_t>(i)] = {
            layer.Visible, layer.Chip != nullptr ? layer.Chip->Image.get() : nullptr};
    }
    return stamps;
}

void TComposedView::Record(const TMap &Map, const TMapViewState &State, const TPixelBuffer &Buffer,
                           bool BrushShows)
{
    FValid = true;
    FState = State;
    FMap = &Map;
    FMapWidth = Map.Width();
    FMapHeight = Map.Height();
    FPartsWidth = Map.PartsWidth();
    FPartsHeight = Map.PartsHeight();
    FLogLength = Map.ModifyRecords().size();
    FLogCursor = Map.ModifyCursor();
    FLayers = LayerStamps(Map);
    FBufferWidth = Buffer.Width();
    FBufferHeight = Buffer.Height();
    FBrushShows = BrushShows;
}

bool TComposedView::ShowsAllButScroll(const TMap &Map, const TMapViewState &State,
                                      const TPixelBuffer &Buffer) const
{
    return FValid && FMap == &Map && FMapWidth == Map.Width() && FMapHeight == Map.Height() &&
           FPartsWidth == Map.PartsWidth() && FPartsHeight == Map.PartsHeight() &&
           FLogLength == Map.ModifyRecords().size() && FLogCursor == Map.ModifyCursor() &&
           FBufferWidth == Buffer.Width() && FBufferHeight == Buffer.Height() &&
           Buffer.BitsPerPixel() == 32 && SameDrawing(FState, State) && FLayers == LayerStamps(Map);
}
