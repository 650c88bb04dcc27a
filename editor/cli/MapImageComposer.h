// The whole map as one picture, composed by the map view's own renderer with every
// overlay off (no grid, numbers, marker, fog or selection), the file's transparent colour
// and invisible part in force. It composes one horizontal band at a time and hands each
// row on as soon as its band is done, so memory does not grow with the picture's height.
// Knows nothing of windows or files.
#pragma once

#include "editor/edit/ProjectSettings.h"
#include "editor/map/MapDataUnit.h"
#include "editor/render/MapViewState.h"

#include <cstdint>
#include <functional>
#include <string>

class TMapImageComposer
{
public:
    TMapImageComposer(const TMap &Map, const TChipPositions &Parts,
                      const TProjectSettings &Settings, int32_t CellWidth, int32_t CellHeight);

    // Only the cells (X, Y) to (X + Width - 1, Y + Height - 1), within the map; the whole map
    // until this is called.
    void SetArea(int32_t X, int32_t Y, int32_t Width, int32_t Height);
    // Progress(Rows) after each band, on the thread that composes, with the picture rows
    // composed so far; false stops the composition (Compose then returns false).
    void SetBandProgress(std::function<bool(int64_t Rows)> Progress);

    int64_t ImageWidth() const;
    int64_t ImageHeight() const;
    // Whether one band fits in memory; the reason when it does not.
    bool CanCompose(std::string &Reason) const;

    // Row(Y, Pixels) for Y = 0 .. ImageHeight - 1 in order, each row ImageWidth pixels of
    // 0x00RRGGBB. Stops and returns false as soon as Row does.
    bool Compose(const std::function<bool(int32_t Y, const uint32_t *Pixels)> &Row);

private:
    const TMap &FMap;
    const TChipPositions &FParts;
    TMapViewState FState;
    int32_t FBandRows = 8;
    int32_t FAreaX = 0;
    int32_t FAreaY = 0;
    int32_t FAreaWidth = 0;
    int32_t FAreaHeight = 0;
    std::function<bool(int64_t Rows)> FBandProgress;
};
