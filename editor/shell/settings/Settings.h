// Every key of "Tessella.ini" with its default and its limits, read and written in groups
// at the moments the program uses them: when the main window is created, when each tool
// window is created, and when the main window closes. A few keys belong to one dialog or
// one window and have their own pair of functions.
#pragma once

#include "IniFile.h"

#include <cstdint>
#include <string>
#include <vector>

struct TWindowBounds {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
};

// Read by the main window's creation: "General" and the main window's "Window" keys.
struct TMainFormSettings {
    uint32_t NumberColor = 0;          // colours are 0x00BBGGRR
    uint32_t NumberBkColor = 0x808080; // RGB(128, 128, 128)
    int32_t NumberColorType = 0;       // 4: grid colour, 5: cursor grid colour
    bool BoxNumber = false;
    int32_t NumberMin = 0;   // 0..255
    int32_t ForceInvNum = 0; // 0..255, key "forceinvnum"
    int32_t GridMin = 0;     // 0..255
    uint32_t GridColor = 0xA4A0A0;
    uint32_t AGridColor = 0x0000FF;
    bool ShowGrid = true;
    bool ShowCGrid = true;
    bool ShowNumber = false;
    bool ShowMarker = false;
    bool FogMode = false;
    int32_t ZoomRatio = 32;  // 16..128
    int32_t WheelAction = 0; // 0: scroll, 1: change the current layer
    bool AutoActive = false;
    bool UseTranslucentSelect = false;
    bool UseEraser = false;

    TWindowBounds MainWindow{0, 0, 680, 650};
    bool MainWinMaximized = false;
    uint16_t MainWinZoom = 256; // 16..65535, in 256ths
};

TMainFormSettings ReadMainFormSettings(const TIniFile &ini);
// "NumberColorType" alone, for each time the display flags are applied.
int32_t ReadNumberColorType(const TIniFile &ini);

// Read when a tool window is created. Windows without stored bounds stand at the right
// edge of the work area, one below the other.
struct TToolWindowSettings {
    TWindowBounds Bounds;
    bool Visible = true;
    bool Minimized = false; // rolled up
    uint8_t Alpha = 255;    // 255 is opaque
};

TToolWindowSettings ReadPartsWindowSettings(const TIniFile &ini, int32_t workAreaWidth);
TToolWindowSettings ReadLayerWindowSettings(const TIniFile &ini, int32_t workAreaWidth,
                                            const TWindowBounds &partsWindow);
TToolWindowSettings ReadOverviewWindowSettings(const TIniFile &ini, int32_t workAreaWidth,
                                               const TWindowBounds &layerWindow);

// The parts window's grid follows the main window's grid switch.
bool ReadSyncMainGrid(const TIniFile &ini);
// Milliseconds before the progress window shows itself; not negative.
int32_t ReadProgressForceTime(const TIniFile &ini);
// Seconds between recovery copies of unsaved work; 0 writes none. Not negative.
int32_t ReadRecoveryInterval(const TIniFile &ini);

// Written when the main window closes.
struct TToolWindowState {
    TWindowBounds Bounds; // a rolled-up window gives its height from before rolling up
    bool Visible = true;
    bool Minimized = false;
};

struct TClosingSettings {
    bool ShowGrid = true;
    bool ShowCGrid = true;
    bool ShowNumber = false;
    bool ShowMarker = false;
    bool FogMode = false;
    uint32_t GridColor = 0xA4A0A0;
    uint32_t AGridColor = 0x0000FF;
    uint32_t NumberColor = 0;

    TWindowBounds MainWindow;    // the bounds the window has now
    TWindowBounds RestoreBounds; // its bounds before it was maximized
    bool MainWinVisible = true;
    bool MainWinMaximized = false; // then RestoreBounds are stored instead of MainWindow
    uint16_t MainWinZoom = 256;

    TToolWindowState PartsWindow;
    TToolWindowState LayerWindow;
    TToolWindowState OverviewWindow;
};

void WriteClosingSettings(TIniFile &ini, const TClosingSettings &settings);

// The new-map dialog's presets ("NewDialog").
struct TNewDialogSettings {
    int32_t MapWidth = 100;
    int32_t MapHeight = 100;
    int32_t PartsWidth = 32;
    int32_t PartsHeight = 32;
    int32_t Size = 16;  // 8: 8-bit cells preselected, anything else 16-bit
    int32_t Align = 1;  // 0: fixed parts alignment preselected
    int32_t Layers = 1; // "layers", 1..255
};

TNewDialogSettings ReadNewDialogSettings(const TIniFile &ini);
void WriteNewDialogSettings(TIniFile &ini, const TNewDialogSettings &settings);
// The bit count the last new map was made with ("NewDialog"/"lastSize"): 8, 16, or 0 before
// the first.
int32_t ReadLastNewMapBits(const TIniFile &ini);
void WriteLastNewMapBits(TIniFile &ini, int32_t bits);

// File > Recent Files, newest first ("RecentFiles": "File1" to "File10").
std::vector<std::string> ReadRecentFiles(const TIniFile &ini);
void WriteRecentFiles(TIniFile &ini, const std::vector<std::string> &paths);

// Image plug-ins by library file name (section "spi"); enabled unless stored as 0.
bool ReadImagePluginEnabled(const TIniFile &ini, const std::string &fileName);
struct TImagePluginState {
    std::string FileName; // without folder
    bool Enabled = true;
};
// The file names in the section's order, which is the stored order of the list.
std::vector<std::string> ReadImagePluginOrder(const TIniFile &ini);
// Replaces the whole section, in the given order.
void WriteImagePluginStates(TIniFile &ini, const std::vector<TImagePluginState> &states);

// "General"/"Language": the language file's name without ".ini".
bool HasLanguageName(const TIniFile &ini);
std::string ReadLanguageName(const TIniFile &ini);
void WriteLanguageName(TIniFile &ini, const std::string &name);
