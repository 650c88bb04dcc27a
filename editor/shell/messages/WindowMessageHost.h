// What the window-message interface needs of the main window. The main window implements
// it; tests implement it over a plain map. Kept small on purpose: everything else the
// messages answer comes from the map document itself.
#pragma once

#include "editor/map/DefineUnit.h"

#include <cstdint>

class TMap;

class TWindowMessageHost
{
public:
    virtual ~TWindowMessageHost() = default;

    // The open map document; null while none exists.
    virtual TMap *Map() = 0;

    // The editor's selection; its DX and DY are the width and height minus one.
    virtual TSelection GetSelection() const = 0;
    // Replaces the selection and scrolls the view so that cell (X, Y) is shown.
    virtual void SetSelection(const TSelection &selection) = 0;
    // Repaints the cells of area in the map view. The area is normalised (DX, DY >= 0)
    // and lies inside the map.
    virtual void RedrawCells(const TSelection &area) = 0;
    // Called after cells were changed through the modification log: refreshes what
    // depends on them (the overview, the enabled states of the tools, the title).
    virtual void CellsChanged() = 0;

    // True when the parts alignment of the current map is not fixed.
    virtual bool PartsAlignmentNotFixed() const = 0;
    // The value limit of cell writes: 256 for 8-bit maps, 65536 for 16-bit maps.
    virtual int32_t GetMaxIndex() const = 0;

    // Replaces the map by a new one; false when it could not be created.
    virtual bool CreateNewMap(int32_t width, int32_t height, int32_t layerCount, int32_t partsWidth,
                              int32_t partsHeight, uint8_t bitCount, bool fixedAlignment) = 0;
};
