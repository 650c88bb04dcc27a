// What the map view's back buffer shows after a composition, kept by the window between
// compositions. A scroll by whole cells can then move the picture and compose only the cells
// that come into view, when nothing else that is drawn has changed since: the same map (with
// no recorded edit since), the same layers and parts images, the same view switches and the
// same buffer. Everything else a composition draws is tied to the cells and moves with them,
// except the background brush, tied to the buffer's corner, which is noted.
#pragma once

#include "MapViewState.h"
#include "PixelBuffer.h"
#include "editor/map/MapDataUnit.h"

#include <cstdint>
#include <vector>

class TComposedView
{
public:
    // The picture was just composed from these.
    void Record(const TMap &Map, const TMapViewState &State, const TPixelBuffer &Buffer,
                bool BrushShows);
    void Forget() { FValid = false; }

    // The buffer holds the picture of State but for its scroll position.
    bool ShowsAllButScroll(const TMap &Map, const TMapViewState &State,
                           const TPixelBuffer &Buffer) const;
    int32_t ScrollX() const { return FState.ScrollX; }
    int32_t ScrollY() const { return FState.ScrollY; }
    // Some pixel of the background brush may show.
    bool BrushShows() const { return FBrushShows; }

private:
    struct TLayerStamp {
        bool Visible = false;
        const void *Image = nullptr;
        bool operator==(const TLayerStamp &) const = default;
    };
    static std::vector<TLayerStamp> LayerStamps(const TMap &Map);

    bool FValid = false;
    TMapViewState FState;
    const TMap *FMap = nullptr;
    int32_t FMapWidth = 0;
    int32_t FMapHeight = 0;
    int32_t FPartsWidth = 0;
    int32_t FPartsHeight = 0;
    size_t FLogLength = 0;
    int32_t FLogCursor = 0;
    std::vector<TLayerStamp> FLayers;
    int32_t FBufferWidth = 0;
    int32_t FBufferHeight = 0;
    bool FBrushShows = true;
};
