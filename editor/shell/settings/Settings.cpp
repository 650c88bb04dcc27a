#include "Settings.h"

#include <algorithm>

namespace
{

constexpr const char *General = "General";
constexpr const char *Window = "Window";
constexpr const char *NewDialog = "NewDialog";
constexpr const char *ImagePlugins = "spi";
constexpr const char *RecentFiles = "RecentFiles";

int32_t ReadClamped(const TIniFile &ini, const char *section, const char *key, int32_t fallback,
                    int32_t low, int32_t high)
{
    return std::clamp(ini.ReadInteger(section, key, fallback), low, high);
}

// Colours keep their three colour bytes; the fourth byte means nothing in 0x00BBGGRR.
uint32_t ReadColor(const TIniFile &ini, const char *key, uint32_t fallback)
{
    return static_cast<uint32_t>(ini.ReadInteger(General, key, static_cast<int32_t>(fallback))) &
           0x00FFFFFFu;
}

void WriteColor(TIniFile &ini, const char *key, uint32_t color)
{
    ini.WriteInteger(General, key, static_cast<int32_t>(color & 0x00FFFFFFu));
}

// A window with no width or height could never be seen or grabbed again: such stored
// sizes fall back to the default.
int32_t ReadSize(const TIniFile &ini, const std::string &key, int32_t fallback)
{
    const int32_t size = ini.ReadInteger(Window, key, fallback);
    return size > 0 ? size : fallback;
}

TToolWindowSettings ReadToolWindow(const TIniFile &ini, const std::string &prefix,
                                   const char *alphaKey, int32_t workAreaWidth, int32_t defaultTop,
                                   int32_t defaultWidth, int32_t defaultHeight)
{
    TToolWindowSettings settings;
    settings.Bounds.Width = ReadSize(ini, prefix + "Width", defaultWidth);
    settings.Bounds.Height = ReadSize(ini, prefix + "Height", defaultHeight);
    settings.Bounds.Left =
        ini.ReadInteger(Window, prefix + "Left", workAreaWidth - settings.Bounds.Width);
    settings.Bounds.Top = ini.ReadInteger(Window, prefix + "Top", defaultTop);
    settings.Visible = ini.ReadBool(Window, prefix + "Visible", true);
    settings.Minimized = ini.ReadBool(Window, prefix + "Minimized", false);
    settings.Alpha = static_cast<uint8_t>(ReadClamped(ini, General, alphaKey, 255, 0, 255));
    return settings;
}

void WriteToolWindow(TIniFile &ini, const std::string &prefix, const TToolWindowState &state)
{
    ini.WriteInteger(Window, prefix + "Left", state.Bounds.Left);
    ini.WriteInteger(Window, prefix + "Top", state.Bounds.Top);
    ini.WriteInteger(Window, prefix + "Width", state.Bounds.Width);
    ini.WriteInteger(Window, prefix + "Height", state.Bounds.Height);
    ini.WriteBool(Window, prefix + "Visible", state.Visible);
    ini.WriteBool(Window, prefix + "Minimized", state.Minimized);
}

} // namespace

TMainFormSettings ReadMainFormSettings(const TIniFile &ini)
{
    TMainFormSettings s;
    s.NumberColor = ReadColor(ini, "NumberColor", s.NumberColor);
    s.WheelAction = ini.ReadInteger(General, "WheelAction", s.WheelAction);
    s.AutoActive = ini.ReadBool(General, "AutoActive", s.AutoActive);
    s.UseTranslucentSelect = ini.ReadBool(General, "UseTranslucentSelect", s.UseTranslucentSelect);
    s.NumberBkColor = ReadColor(ini, "NumberBkColor", s.NumberBkColor);
    s.BoxNumber = ini.ReadBool(General, "BoxNumber", s.BoxNumber);
    s.ZoomRatio = ReadClamped(ini, General, "ZoomRatio", s.ZoomRatio, 16, 128);
    s.GridMin = ReadClamped(ini, General, "GridMin", s.GridMin, 0, 255);
    s.NumberMin = ReadClamped(ini, General, "NumberMin", s.NumberMin, 0, 255);
    s.ForceInvNum = ReadClamped(ini, General, "forceinvnum", s.ForceInvNum, 0, 255);
    s.UseEraser = ini.ReadBool(General, "UseEraser", s.UseEraser);

    s.MainWindow.Left = ini.ReadInteger(Window, "MainWinLeft", s.MainWindow.Left);
    s.MainWindow.Top = ini.ReadInteger(Window, "MainWinTop", s.MainWindow.Top);
    s.MainWindow.Width = ReadSize(ini, "MainWinWidth", s.MainWindow.Width);
    s.MainWindow.Height = ReadSize(ini, "MainWinHeight", s.MainWindow.Height);
    s.MainWinMaximized = ini.ReadBool(Window, "MainWinMaximized", s.MainWinMaximized);
    // The zoom is kept in 16 bits: larger values are held at the largest one rather than
    // wrapping round to a tiny zoom.
    s.MainWinZoom = static_cast<uint16_t>(
        ReadClamped(ini, Window, "MainWinZoom", s.MainWinZoom, 16, UINT16_MAX));

    s.ShowGrid = ini.ReadBool(General, "ShowGrid", s.ShowGrid);
    s.ShowNumber = ini.ReadBool(General, "ShowNumber", s.ShowNumber);
    s.ShowCGrid = ini.ReadBool(General, "ShowCGrid", s.ShowCGrid);
    s.ShowMarker = ini.ReadBool(General, "ShowMarker", s.ShowMarker);
    s.FogMode = ini.ReadBool(General, "FogMode", s.FogMode);
    s.GridColor = ReadColor(ini, "GridColor", s.GridColor);
    s.AGridColor = ReadColor(ini, "AGridColor", s.AGridColor);
    s.NumberColorType = ReadNumberColorType(ini);
    return s;
}

int32_t ReadNumberColorType(const TIniFile &ini)
{
    return ini.ReadInteger(General, "NumberColorType", 0);
}

TToolWindowSettings ReadPartsWindowSettings(const TIniFile &ini, int32_t workAreaWidth)
{
    return ReadToolWindow(ini, "PartsWin", "PWinAlpha", workAreaWidth, 0, 350, 375);
}

TToolWindowSettings ReadLayerWindowSettings(const TIniFile &ini, int32_t workAreaWidth,
                                            const TWindowBounds &partsWindow)
{
    return ReadToolWindow(ini, "LayerWin", "LWinAlpha", workAreaWidth,
                          partsWindow.Top + partsWindow.Height, 200, 120);
}

TToolWindowSettings ReadOverviewWindowSettings(const TIniFile &ini, int32_t workAreaWidth,
                                               const TWindowBounds &layerWindow)
{
    return ReadToolWindow(ini, "OverviewWin", "OWinAlpha", workAreaWidth,
                          layerWindow.Top + layerWindow.Height, 200, 200);
}

bool ReadSyncMainGrid(const TIniFile &ini)
{
    return ini.ReadBool(General, "SyncMainGrid", false);
}

int32_t ReadProgressForceTime(const TIniFile &ini)
{
    return std::max(0, ini.ReadInteger(General, "ProgressForceTime", 300));
}

int32_t ReadRecoveryInterval(const TIniFile &ini)
{
    return std::max(0, ini.ReadInteger(General, "RecoveryInterval", 30));
}

void WriteClosingSettings(TIniFile &ini, const TClosingSettings &s)
{
    ini.WriteBool(General, "ShowGrid", s.ShowGrid);
    ini.WriteBool(General, "ShowCGrid", s.ShowCGrid);
    ini.WriteBool(General, "ShowNumber", s.ShowNumber);
    ini.WriteBool(General, "ShowMarker", s.ShowMarker);
    ini.WriteBool(General, "FogMode", s.FogMode);
    WriteColor(ini, "GridColor", s.GridColor);
    WriteColor(ini, "AGridColor", s.AGridColor);
    WriteColor(ini, "NumberColor", s.NumberColor);

    const TWindowBounds &bounds = s.MainWinMaximized ? s.RestoreBounds : s.MainWindow;
    ini.WriteInteger(Window, "MainWinLeft", bounds.Left);
    ini.WriteInteger(Window, "MainWinTop", bounds.Top);
    ini.WriteInteger(Window, "MainWinWidth", bounds.Width);
    ini.WriteInteger(Window, "MainWinHeight", bounds.Height);
    ini.WriteBool(Window, "MainWinVisible", s.MainWinVisible);
    ini.WriteBool(Window, "MainWinMaximized", s.MainWinMaximized);
    ini.WriteInteger(Window, "MainWinZoom", s.MainWinZoom);

    WriteToolWindow(ini, "PartsWin", s.PartsWindow);
    WriteToolWindow(ini, "LayerWin", s.LayerWindow);
    WriteToolWindow(ini, "OverviewWin", s.OverviewWindow);
}

TNewDialogSettings ReadNewDialogSettings(const TIniFile &ini)
{
    TNewDialogSettings s;
    s.MapWidth = ini.ReadInteger(NewDialog, "mapWidth", s.MapWidth);
    s.MapHeight = ini.ReadInteger(NewDialog, "mapHeight", s.MapHeight);
    s.PartsWidth = ini.ReadInteger(NewDialog, "partsWidth", s.PartsWidth);
    s.PartsHeight = ini.ReadInteger(NewDialog, "partsHeight", s.PartsHeight);
    s.Size = ini.ReadInteger(NewDialog, "size", s.Size);
    s.Align = ini.ReadInteger(NewDialog, "align", s.Align);
    s.Layers = std::clamp(ini.ReadInteger(NewDialog, "layers", s.Layers), 1, 255);
    return s;
}

void WriteNewDialogSettings(TIniFile &ini, const TNewDialogSettings &s)
{
    ini.WriteInteger(NewDialog, "mapWidth", s.MapWidth);
    ini.WriteInteger(NewDialog, "mapHeight", s.MapHeight);
    ini.WriteInteger(NewDialog, "partsWidth", s.PartsWidth);
    ini.WriteInteger(NewDialog, "partsHeight", s.PartsHeight);
    ini.WriteInteger(NewDialog, "size", s.Size);
    ini.WriteInteger(NewDialog, "align", s.Align);
    ini.WriteInteger(NewDialog, "layers", s.Layers);
}

int32_t ReadLastNewMapBits(const TIniFile &ini)
{
    const int32_t bits = ini.ReadInteger(NewDialog, "lastSize", 0);
    return bits == 8 || bits == 16 ? bits : 0;
}

void WriteLastNewMapBits(TIniFile &ini, int32_t bits)
{
    ini.WriteInteger(NewDialog, "lastSize", bits);
}

std::vector<std::string> ReadRecentFiles(const TIniFile &ini)
{
    std::vector<std::string> paths;
    for (int32_t i = 1; i <= 10; ++i) {
        const std::string path = ini.ReadString(RecentFiles, "File" + std::to_string(i), "");
        if (!path.empty())
            paths.push_back(path);
    }
    return paths;
}

void WriteRecentFiles(TIniFile &ini, const std::vector<std::string> &paths)
{
    ini.EraseSection(RecentFiles);
    for (size_t i = 0; i < paths.size() && i < 10; ++i)
        ini.WriteString(RecentFiles, "File" + std::to_string(i + 1), paths[i]);
}

bool ReadImagePluginEnabled(const TIniFile &ini, const std::string &fileName)
{
    return ini.ReadInteger(ImagePlugins, fileName, 1) == 1;
}

std::vector<std::string> ReadImagePluginOrder(const TIniFile &ini)
{
    return ini.KeyNames(ImagePlugins);
}

void WriteImagePluginStates(TIniFile &ini, const std::vector<TImagePluginState> &states)
{
    ini.EraseSection(ImagePlugins);
    for (const TImagePluginState &state : states)
        ini.WriteInteger(ImagePlugins, state.FileName, state.Enabled ? 1 : 0);
}

bool HasLanguageName(const TIniFile &ini)
{
    return ini.ValueExists(General, "Language");
}

std::string ReadLanguageName(const TIniFile &ini)
{
    return ini.ReadString(General, "Language", "english");
}

void WriteLanguageName(TIniFile &ini, const std::string &name)
{
    ini.WriteString(General, "Language", name);
}
