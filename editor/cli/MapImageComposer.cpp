#include "MapImageComposer.h"

#include "editor/render/BackgroundBitmap.h"
#include "editor/render/MapViewRenderer.h"

#include <algorithm>

namespace
{
// About this many pixel rows per band: big enough for the renderer's row loops, small
// enough to stay in the processor's cache for wide pictures.
constexpr int32_t kBandPixels = 128;
} // namespace

TMapImageComposer::TMapImageComposer(const TMap &Map, const TChipPositions &Parts,
                                     const TProjectSettings &Settings, int32_t CellWidth,
                                     int32_t CellHeight)
    : FMap(Map), FParts(Parts)
{
    FState.ViewReady = true;
    FState.Initialized = true;
    FState.ViewCellWidth = CellWidth;
    FState.ViewCellHeight = CellHeight;
    FState.CurrentLayer = -1;
    FState.TransEnabled = Settings.TransEnabled != 0;
    FState.TransColor = Settings.TransColor;
    FState.UseInvisiblePart = Settings.UseInvisiblePart != 0;
    FState.InvisiblePart = Settings.InvisiblePart;
    FState.ShowGrid = false;
    FState.ShowCGrid = false;
    FState.ShowNumber = false;
    FState.ShowMarker = false;
    FState.FogMode = false;
    FState.Selection = TSelection{};
    FBandRows = std::max(8, (kBandPixels / std::max(1, CellHeight)) / 8 * 8);
}

int64_t TMapImageComposer::ImageWidth() const
{
    return static_cast<int64_t>(FMap.Width()) * FState.ViewCellWidth;
}

int64_t TMapImageComposer::ImageHeight() const
{
    return static_cast<int64_t>(FMap.Height()) * FState.ViewCellHeight;
}

bool TMapImageComposer::Compose(const std::function<bool(int32_t Y, const uint32_t *Pixels)> &Row)
{
    const TPixelBuffer background = MakeBackgroundBitmap();
    const int32_t width = static_cast<int32_t>(ImageWidth());
    const int32_t ch = FState.ViewCellHeight;
    TPixelBuffer band(width, FBandRows * ch, 32);
    for (int32_t firstRow = 0; firstRow < FMap.Height(); firstRow += FBandRows) {
        const int32_t rows = std::min(FBandRows, FMap.Height() - firstRow);
        // The view scrolled down to the band: its top-left cell is (0, firstRow).
        FState.ViewWidth = width;
        FState.ViewHeight = rows * ch;
        FState.ScrollX = 0;
        FState.ScrollY = firstRow;
        TMapViewRenderer renderer(FMap, FState, FParts, band, &background);
        if (!renderer.ComposeFull())
            return false;
        for (int32_t y = 0; y < rows * ch; ++y)
            if (!Row(firstRow * ch + y, band.Row32(y)))
                return false;
    }
    return true;
}
