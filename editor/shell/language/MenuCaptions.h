// The captions of the main menu (language section "MainMenu") with their English texts,
// one entry per menu item, named after the item. Top-level menus have their own keys.
//
// "Fill" (Edit > Fill...) and "fill" (Tool > Fill Tool) are one key to a language file,
// whose names compare case-insensitively: a language file gives both the same caption.
#pragma once

#include "LangEntry.h"

namespace MainMenuText
{
inline constexpr const char *Section = "MainMenu";
inline constexpr TLangEntry FileMenu{Section, "FileMenu", "File"};
inline constexpr TLangEntry NewMenuItem{Section, "New", "New..."};
inline constexpr TLangEntry OpenMenuItem{Section, "Open", "Open..."};
inline constexpr TLangEntry ReOpenMenuItem{Section, "Reload", "Reload"};
inline constexpr TLangEntry SaveMenuItem{Section, "Save", "Save"};
inline constexpr TLangEntry SaveAsMenuItem{Section, "SaveAs", "Save As..."};
inline constexpr TLangEntry ImportMenuItem{Section, "Import", "Import..."};
inline constexpr TLangEntry ExportMenuItem{Section, "Export", "Export..."};
inline constexpr TLangEntry ExportPictureMenuItem{Section, "exportpicture", "Export Picture..."};
inline constexpr TLangEntry RecentFilesMenu{Section, "recentfiles", "Recent Files"};
inline constexpr TLangEntry ReopenClosedMenuItem{Section, "reopenclosed", "Reopen Closed File"};
inline constexpr TLangEntry QuitMenuItem{Section, "Exit", "Exit"};
inline constexpr TLangEntry EditMenu{Section, "EditMenu", "Edit"};
inline constexpr TLangEntry UndoMenuItem{Section, "Undo", "Undo"};
inline constexpr TLangEntry RedoMenuItem{Section, "Redo", "Redo"};
inline constexpr TLangEntry CutMenuItem{Section, "Cut", "Cut"};
inline constexpr TLangEntry CopyMenuItem{Section, "Copy", "Copy"};
inline constexpr TLangEntry PasteMenuItem{Section, "Paste", "Paste"};
inline constexpr TLangEntry SelectAllMenuItem{Section, "SelectAll", "Select All"};
inline constexpr TLangEntry DoNotSelectMenuItem{Section, "clearselection", "Clear Selection"};
inline constexpr TLangEntry ReplaceMenuItem{Section, "Replace", "Replace..."};
inline constexpr TLangEntry FillMenuItem{Section, "Fill", "Fill..."};
inline constexpr TLangEntry FlushMenuItem{Section, "Flush", "Flush Undo Buffers"};
inline constexpr TLangEntry ProjectMenuItem{Section, "Project", "Project Options..."};
inline constexpr TLangEntry OptionMenuItem{Section, "Option", "Options..."};
inline constexpr TLangEntry ToolMenu{Section, "ToolMenu", "Tool"};
inline constexpr TLangEntry PenToolMenuItem{Section, "pen", "Pen Tool"};
inline constexpr TLangEntry TPenToolMenuItem{Section, "tpen", "Tilling Pen Tool"};
inline constexpr TLangEntry FillToolMenuItem{Section, "fill", "Fill Tool"};
inline constexpr TLangEntry EraserToolMenuItem{Section, "eraser", "Eraser Tool"};
inline constexpr TLangEntry SelectToolMenuItem{Section, "select", "Select Tool"};
inline constexpr TLangEntry PatternToolMenuItem{Section, "pattern", "Pattern Tool"};
inline constexpr TLangEntry HandToolMenuItem{Section, "hand", "Hand Tool"};
inline constexpr TLangEntry TerrainToolMenuItem{Section, "terrain", "Terrain Brush Tool"};
inline constexpr TLangEntry TerrainRoundMenuItem{Section, "terrainround", "Round Terrain Brush"};
inline constexpr TLangEntry ResizeMenuItem{Section, "resize", "Resize"};
inline constexpr TLangEntry ScrollMenuItem{Section, "scroll", "Scroll"};
inline constexpr TLangEntry ChangePartsSizeMenuItem{Section, "changesize", "Change parts size"};
inline constexpr TLangEntry ChangeBitCountDialogMenuItem{Section, "changebitcount",
                                                         "Change bitcount"};
inline constexpr TLangEntry LayerMenu{Section, "LayerMenu", "Layer"};
inline constexpr TLangEntry AddLayerMenuItem{Section, "add", "Add Layer..."};
inline constexpr TLangEntry CopyLayerMenuItem{Section, "dup", "Duplicate Layer"};
inline constexpr TLangEntry DeleteLayerMenuItem{Section, "erase", "Erase Layer"};
inline constexpr TLangEntry SelectUpperMenuItem{Section, "upper", "Select Upper Layer"};
inline constexpr TLangEntry SelectLowerMenuItem{Section, "lower", "Select Lower Layer"};
inline constexpr TLangEntry LayerOptionMenuItem{Section, "layeroption", "Layer Option..."};
inline constexpr TLangEntry ViewMenu{Section, "ViewMenu", "View"};
inline constexpr TLangEntry EditZoomInMenuItem{Section, "zoomin", "Zoom In"};
inline constexpr TLangEntry EditZoomOutMenuItem{Section, "zoomout", "Zoom Out"};
inline constexpr TLangEntry EditZoomNormMenuItem{Section, "resetzoom", "Reset Zoom"};
inline constexpr TLangEntry ZoomToMenu{Section, "zoomto", "Zoom To"};
inline constexpr TLangEntry FitMapMenuItem{Section, "fitmap", "Fit Map in Window"};
inline constexpr TLangEntry PartsZoomInMenuItem{Section, "pzoomin", "Zoom In(parts)"};
inline constexpr TLangEntry PartsZoomOutMenuItem{Section, "pzoomout", "Zoom Out(parts)"};
inline constexpr TLangEntry PartsZoomNormMenuItem{Section, "presetzoom", "Reset Zoom(parts)"};
inline constexpr TLangEntry ShowGridMenuItem{Section, "grid", "Show Grid"};
inline constexpr TLangEntry ShowCGridMenuItem{Section, "cgrid", "Show Cursor Grid"};
inline constexpr TLangEntry ShowMarkerMenuItem{Section, "marker", "Show Marker"};
inline constexpr TLangEntry LayerFogMenuItem{Section, "fog", "Fog Mode"};
inline constexpr TLangEntry ShowNumberMenuItem{Section, "number", "Show Number"};
inline constexpr TLangEntry DoTransMenuItem{Section, "trans", "Enable Transparently"};
inline constexpr TLangEntry TransColorMenuItem{Section, "transcolor", "Select Trans Color..."};
inline constexpr TLangEntry TerrainModeMenuItem{Section, "terrainmode", "Terrain Mode(parts)"};
inline constexpr TLangEntry WindowMenu{Section, "WindowMenu", "Window"};
inline constexpr TLangEntry PartsWindowMenuItem{Section, "parts", "Parts Window"};
inline constexpr TLangEntry LayerWindowMenuItem{Section, "layer", "Layer Window"};
inline constexpr TLangEntry OVWindowMenuItem{Section, "overview", "Preview Window"};
inline constexpr TLangEntry HelpMenu{Section, "HelpMenu", "Help"};
inline constexpr TLangEntry VersionMenuItem{Section, "about", "Version Info..."};

inline constexpr TLangEntry All[] = {
    FileMenu,
    NewMenuItem,
    OpenMenuItem,
    ReOpenMenuItem,
    SaveMenuItem,
    SaveAsMenuItem,
    ImportMenuItem,
    ExportMenuItem,
    ExportPictureMenuItem,
    RecentFilesMenu,
    ReopenClosedMenuItem,
    QuitMenuItem,
    EditMenu,
    UndoMenuItem,
    RedoMenuItem,
    CutMenuItem,
    CopyMenuItem,
    PasteMenuItem,
    SelectAllMenuItem,
    DoNotSelectMenuItem,
    ReplaceMenuItem,
    FillMenuItem,
    FlushMenuItem,
    ProjectMenuItem,
    OptionMenuItem,
    ToolMenu,
    PenToolMenuItem,
    TPenToolMenuItem,
    FillToolMenuItem,
    EraserToolMenuItem,
    SelectToolMenuItem,
    PatternToolMenuItem,
    HandToolMenuItem,
    TerrainToolMenuItem,
    TerrainRoundMenuItem,
    ResizeMenuItem,
    ScrollMenuItem,
    ChangePartsSizeMenuItem,
    ChangeBitCountDialogMenuItem,
    LayerMenu,
    AddLayerMenuItem,
    CopyLayerMenuItem,
    DeleteLayerMenuItem,
    SelectUpperMenuItem,
    SelectLowerMenuItem,
    LayerOptionMenuItem,
    ViewMenu,
    EditZoomInMenuItem,
    EditZoomOutMenuItem,
    EditZoomNormMenuItem,
    ZoomToMenu,
    FitMapMenuItem,
    PartsZoomInMenuItem,
    PartsZoomOutMenuItem,
    PartsZoomNormMenuItem,
    ShowGridMenuItem,
    ShowCGridMenuItem,
    ShowMarkerMenuItem,
    LayerFogMenuItem,
    ShowNumberMenuItem,
    DoTransMenuItem,
    TransColorMenuItem,
    TerrainModeMenuItem,
    WindowMenu,
    PartsWindowMenuItem,
    LayerWindowMenuItem,
    OVWindowMenuItem,
    HelpMenu,
    VersionMenuItem,
};
} // namespace MainMenuText
