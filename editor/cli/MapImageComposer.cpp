#include "MapImageComposer.h"

#include "editor/render/BackgroundBitmap.h"
#include "editor/render/MapViewRenderer.h"

#include <algorithm>
#include <future>
#include <limits>

namespace
{
// About this many pixel rows per band: big enough for the renderer's row loops, small
// enough to stay in the processor's cache for wide pictures.
constexpr int32_t kBandPixels = 128;
constexpr int64_t kMaxBandBytes = int64_t{1} << 30;

// The background as a brush whose rows start Offset pixel rows further down: a band that
// begins at that row of the picture continues the checkerboard of the rows above it.
TPixelBuffer ShiftedBackground(const TPixelBuffer &Background, int64_t Offset)
{
    TPixelBuffer shifted(Background.Width(), Background.Height(), 32);
    for (int32_t y = 0; y < Background.Height(); ++y) {
        const int32_t from = static_cast<int32_t>((y + Offset) % Background.Height());
        std::copy(Background.Row32(from), Background.Row32(from) + Background.Width(),
                  shifted.Row32(y));
    }
    return shifted;
}
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
    FBandRows = std::max(1, kBandPixels / std::max(1, CellHeight));
    FAreaWidth = Map.Width();
    FAreaHeight = Map.Height();
}

void TMapImageComposer::SetArea(int32_t X, int32_t Y, int32_t Width, int32_t Height)
{
    FAreaX = std::clamp(X, 0, FMap.Width());
    FAreaY = std::clamp(Y, 0, FMap.Height());
    FAreaWidth = std::clamp(Width, 0, FMap.Width() - FAreaX);
    FAreaHeight = std::clamp(Height, 0, FMap.Height() - FAreaY);
}

void TMapImageComposer::SetBandProgress(std::function<bool(int64_t Rows)> Progress)
{
    FBandProgress = std::move(Progress);
}

int64_t TMapImageComposer::ImageWidth() const
{
    return static_cast<int64_t>(FAreaWidth) * FState.ViewCellWidth;
}

int64_t TMapImageComposer::ImageHeight() const
{
    return static_cast<int64_t>(FAreaHeight) * FState.ViewCellHeight;
}

bool TMapImageComposer::CanCompose(std::string &Reason) const
{
    const int64_t bytes = ImageWidth() * FBandRows * FState.ViewCellHeight * 4;
    if (ImageWidth() <= std::numeric_limits<int32_t>::max() && bytes <= kMaxBandBytes)
        return true;
    Reason = "the picture is too wide to compose";
    return false;
}

bool TMapImageComposer::Compose(const std::function<bool(int32_t Y, const uint32_t *Pixels)> &Row)
{
    const TPixelBuffer background = MakeBackgroundBitmap();
    const int32_t width = static_cast<int32_t>(ImageWidth());
    const int32_t ch = FState.ViewCellHeight;
    // Two bands: while the rows of one are handed on (a PNG writer spends most of its time
    // compressing them), the next one is composed here. Row sees the rows in order, from one
    // thread at a time.
    TPixelBuffer bands[2] = {TPixelBuffer(width, FBandRows * ch, 32),
                             TPixelBuffer(width, FBandRows * ch, 32)};
    std::future<bool> handing;
    bool composed = true;
    for (int32_t firstRow = 0, which = 0; firstRow < FAreaHeight;
         firstRow += FBandRows, which ^= 1) {
        TPixelBuffer &band = bands[which];
        const int32_t rows = std::min(FBandRows, FAreaHeight - firstRow);
        // The view scrolled to the band: its top-left cell is the area's left, firstRow down.
        FState.ViewWidth = width;
        FState.ViewHeight = rows * ch;
        FState.ScrollX = FAreaX;
        FState.ScrollY = FAreaY + firstRow;
        const TPixelBuffer brush = ShiftedBackground(background, int64_t{firstRow} * ch);
        TMapViewRenderer renderer(FMap, FState, FParts, band, &brush);
        composed = renderer.ComposeFull();
        if (handing.valid() && !handing.get())
            return false;
        if (!composed)
            return false;
        // The rows of the bands before this one are written by now.
        if (FBandProgress && !FBandProgress(int64_t{firstRow} * ch))
            return false;
        const int32_t top = firstRow * ch;
        const int32_t count = rows * ch;
        handing = std::async(std::launch::async, [&Row, &band, top, count] {
            for (int32_t y = 0; y < count; ++y)
                if (!Row(top + y, band.Row32(y)))
                    return false;
            return true;
        });
    }
    return !handing.valid() || handing.get();
}
