// Everything the map view's drawing reads besides the map and the parts images: the window
// fills one of these from its own fields and hands it to the renderer, so every picture can
// be composed (and tested) without a window.
#pragma once

#include "editor/map/DefineUnit.h"

#include <cstdint>
#include <vector>

class TTerrainMarks;

// The tools of the map view; value 2 is not used.
enum TToolMode : uint8_t {
    tmPen = 0,
    tmTiledPen = 1,
    tmEraser = 3,
    tmFill = 4,
    tmPattern = 5,
    tmSelect = 6,
    tmHand = 7,
    tmTerrain = 8,
};

struct TMapViewState {
    // Drawing allowed: the window's ViewReady and Initialized flags.
    bool ViewReady = false;
    bool Initialized = false;

    // The view area and the displayed size of one cell (cw, ch).
    int32_t ViewWidth = 0;
    int32_t ViewHeight = 0;
    int32_t ViewCellWidth = 0;
    int32_t ViewCellHeight = 0;
    // Map cell shown at the top-left of the view.
    int32_t ScrollX = 0;
    int32_t ScrollY = 0;

    // The layer window's current layer; -1 when it shows none.
    int32_t CurrentLayer = -1;

    // Display switches.
    bool FogMode = false;
    bool ShowMarker = false;
    bool TransEnabled = false;
    uint32_t TransColor = 0; // colour value 0x00BBGGRR
    bool UseInvisiblePart = false;
    uint16_t InvisiblePart = 0;
    bool CurrentLayerOnly = false;

    // A lifted selection being moved: its blocks are drawn at the selection's position.
    bool Floating = false;
    const std::vector<TModified> *FloatingBlocks = nullptr;
    TSelection Selection;
    bool FoundMark = false; // the selection marks the cell the find command found

    // Part numbers.
    bool ShowNumber = false;
    uint32_t NumberColor = 0;
    bool BoxNumber = false;
    uint32_t NumberBkColor = 0x808080;
    uint8_t NumberMin = 0;
    uint8_t forceinvnum = 0;

    // Grid, cursor grid and tiled-pen lattice.
    bool ShowGrid = true;
    uint32_t GridColor = 0xA4A0A0;
    uint8_t GridMin = 0;
    bool ShowCGrid = true;
    uint32_t AGridColor = 0x0000FF;

    // Selection style; HighlightColor is the system highlight colour as a colour value.
    bool UseTranslucentSelect = false;
    uint32_t HighlightColor = 0xD77800;

    // Tool state: the tiled-pen lattice shows while the tiled pen drags.
    uint8_t ToolMode = tmPen;
    bool Dragging = false;
    // The block the cursor grid and the lattice outline: the pattern's Source when a pattern
    // is defined, otherwise the parts window's selection.
    TSelection CursorBlock;

    // The terrain brush: its size in cells and its shape (the cursor outline shows both), and
    // the cells it marked for want of a fitting part.
    uint8_t TerrainBrushSize = 1;
    bool TerrainBrushRound = false;
    const TTerrainMarks *TerrainMarks = nullptr;
};

// Where part n of a layer lies in that layer's parts image (the parts palette's lookup).
class TChipPositions
{
public:
    virtual ~TChipPositions() = default;
    virtual bool GetImagePosition(int32_t ChipNumber, int32_t LayerIndex, int32_t &X,
                                  int32_t &Y) const = 0;
};
