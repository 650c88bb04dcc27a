// The tool-button hints (language section "Hints") with their English texts: the main
// tool bar's buttons, named after the button, then the tool windows' buttons.
//
// The tool windows share "zoomin", "zoomout" and "minimize". Language-file names compare
// case-insensitively, so "Zoomin"/"Zoomout" of the main tool bar are the same keys as the
// tool windows' "zoomin"/"zoomout": a language file gives them one text.
#pragma once

#include "LangEntry.h"

namespace HintText
{
inline constexpr const char *Section = "Hints";
inline constexpr TLangEntry NewToolButton{Section, "New", "New project"};
inline constexpr TLangEntry OpenToolButton{Section, "Open", "Open project"};
inline constexpr TLangEntry SaveToolButton{Section, "Save", "Save project"};
inline constexpr TLangEntry CutToolButton{Section, "Cut", "Cut selected"};
inline constexpr TLangEntry CopyToolButton{Section, "Copy", "Copy selected"};
inline constexpr TLangEntry PasteToolButton{Section, "Paste", "Paste cut or copied"};
inline constexpr TLangEntry UndoToolButton{Section, "Undo", "Undo changes"};
inline constexpr TLangEntry RedoToolButton{Section, "Redo", "Redo the undo"};
inline constexpr TLangEntry PenToolButton{Section, "Pen", "pen tool(Z)"};
inline constexpr TLangEntry MPenToolButton{Section, "TPen", "tiled pen tool(X)"};
inline constexpr TLangEntry EraserToolButton{Section, "Eraser", "Eraser tool"};
inline constexpr TLangEntry FillToolButton{Section, "fill", "fill tool"};
inline constexpr TLangEntry SelectToolButton{Section, "Select", "selection tool(C)"};
inline constexpr TLangEntry PtnToolButton{Section, "Sample", "sampling tool"};
// The hand tool's button.
inline constexpr TLangEntry ToolButton3{Section, "Hand", "hand tool(V)"};
inline constexpr TLangEntry TerrainToolButton{Section, "Terrain", "terrain brush tool(T)"};
inline constexpr TLangEntry ShowGridTollButton{Section, "Grid", "Show/Hide grid line"};
inline constexpr TLangEntry ShowCursorGridToolButton{Section, "CGrid",
                                                     "Show/Hide grid line for the cursor"};
inline constexpr TLangEntry LayerBlendToolButton{Section, "Fog", "Enable/Disable fog mode"};
inline constexpr TLangEntry ShowMarkerToolButton{Section, "Marker", "Show/Hide marker"};
inline constexpr TLangEntry NumToolButton{Section, "Number", "Show/Hide numder"};
inline constexpr TLangEntry BigToolButton{Section, "Zoomin", "Zoom into the map on the window"};
inline constexpr TLangEntry SmallToolButton{Section, "Zoomout",
                                            "Zoom out of the map on the window"};
inline constexpr TLangEntry PartsWinToolButton{Section, "PartsWindow", "Show/Hide parts window"};
inline constexpr TLangEntry LayerWinToolButton{Section, "LayerWindow", "Show/Hide layer window"};
inline constexpr TLangEntry PreWinToolButton{Section, "PreviewWindow", "Show/Hide preview window"};
inline constexpr TLangEntry PartsOpenImage{Section, "openimage", "Open parts image"};
inline constexpr TLangEntry PartsCloseImage{Section, "closeimage", "Close patrs image"};
inline constexpr TLangEntry PartsZoomIn{Section, "zoomin", "Zoom in"};
inline constexpr TLangEntry PartsZoomOut{Section, "zoomout", "Zoom out"};
inline constexpr TLangEntry PartsFind{Section, "find", "Find selected parts"};
inline constexpr TLangEntry PartsMinimize{Section, "minimize", "Minimize the window"};
inline constexpr TLangEntry PartsTerrainMode{Section, "terrainmode", "Define terrains"};
inline constexpr TLangEntry LayerAdd{Section, "newlayer", "Creates a new layer"};
inline constexpr TLangEntry LayerDuplicate{Section, "duplayer",
                                           "Creates a duplicate of the current layer"};
inline constexpr TLangEntry LayerDelete{Section, "dellayer", "Deletes the current layer"};
inline constexpr TLangEntry LayerOption{Section, "layeroption", "Open the layer option dialog"};
inline constexpr TLangEntry LayerMinimize{Section, "minimize", "Minimize the window"};
inline constexpr TLangEntry OverviewZoomIn{Section, "zoomin", "Zoom in"};
inline constexpr TLangEntry OverviewZoomOut{Section, "zoomout", "Zoom out"};
inline constexpr TLangEntry OverviewMinimize{Section, "minimize", "Minimize the window"};

inline constexpr TLangEntry All[] = {
    NewToolButton,
    OpenToolButton,
    SaveToolButton,
    CutToolButton,
    CopyToolButton,
    PasteToolButton,
    UndoToolButton,
    RedoToolButton,
    PenToolButton,
    MPenToolButton,
    EraserToolButton,
    FillToolButton,
    SelectToolButton,
    PtnToolButton,
    ToolButton3,
    TerrainToolButton,
    ShowGridTollButton,
    ShowCursorGridToolButton,
    LayerBlendToolButton,
    ShowMarkerToolButton,
    NumToolButton,
    BigToolButton,
    SmallToolButton,
    PartsWinToolButton,
    LayerWinToolButton,
    PreWinToolButton,
    PartsOpenImage,
    PartsCloseImage,
    PartsZoomIn,
    PartsZoomOut,
    PartsFind,
    PartsMinimize,
    PartsTerrainMode,
    LayerAdd,
    LayerDuplicate,
    LayerDelete,
    LayerOption,
    LayerMinimize,
    OverviewZoomIn,
    OverviewZoomOut,
    OverviewMinimize,
};
} // namespace HintText
