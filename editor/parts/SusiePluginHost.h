// The image plug-ins (".spi" libraries with the published import-filter interface) found
// under the program's plug-in folder: the ordered list with each plug-in's enabled state,
// loading a picture through the first enabled plug-in that reads the file, and a plug-in's
// own settings dialog. Libraries are loaded only for the length of one call.
#pragma once

#include "editor/map/DefineUnit.h"
#include "editor/render/PixelBuffer.h"

#include <cstdint>
#include <string>
#include <vector>

struct TessellaWindow;

struct TSusiePluginInfo {
    std::string Name;        // information number 1
    std::string Filter;      // the first file pattern, for example "*.png"
    std::string Description; // file-type description
    uint32_t Reserved = 0;
    bool HasConfigDialog = false;
    bool Enabled = true;
};

struct TSusiePluginList {
    TSusiePluginInfo Info;
    std::string Path; // the library's full path
};

// One key of the settings section "spi", in the section's order: a library's file name
// (without directory) and whether it takes part in loading.
struct TSusieSetting {
    std::string FileName;
    bool Enabled = true;
};

class TSusiePluginHost
{
public:
    // Rebuilds the list from Folder (unless absolute, beside the program or where an
    // installation puts it: RuntimeFolderBase), searching subfolders too. Makes ProgramFolder
    // the current directory first (later relative paths rely on it) when it is not empty.
    // Plug-ins named in Settings come first, in that order. Result: the list is not empty.
    bool ScanSusiePlugins(const std::string &Folder, const std::string &ProgramFolder,
                          const std::vector<TSusieSetting> &Settings);

    // Loads FileName through the first enabled plug-in that reads it. False when none does.
    // Throws std::runtime_error when the file cannot be opened for the probe.
    bool LoadPictureBySusie(const std::string &FileName, TPixelBuffer &Bitmap);
    bool LoadPictureWithSusiePlugin(const std::string &FileName, const std::string &LibraryPath,
                                    TPixelBuffer &Bitmap);

    // Puts the plug-ins in the order of Names (plug-in names); the others follow in their
    // previous order.
    void OrderSusieByNames(const std::vector<std::string> &Names);

    // Calls the library's "ConfigurationDlg" (Parent, Code) when it has one.
    bool OpenSusieConfigDialog(TessellaWindow *Parent, const std::string &LibraryPath,
                               int32_t Code);

    // The progress display pictures are loaded under (Position, Total, "now loading...");
    // its false answer stops the plug-in. A start the plug-in reports is always ended when
    // the load returns, whatever the plug-in answered.
    void SetProgress(TProgressProc Progress) { FProgress = std::move(Progress); }
    // The image plug-ins' progress callback; lData is the host.
    static int32_t SusieProgress(int32_t nNum, int32_t nDenom, intptr_t lData);

    std::vector<TSusiePluginList> &Plugins() { return FPlugins; }
    const std::vector<TSusiePluginList> &Plugins() const { return FPlugins; }

private:
    void ScanFolder(const std::string &Folder, const std::vector<TSusieSetting> &Settings,
                    int Depth);

    std::vector<TSusiePluginList> FPlugins;
    TProgressProc FProgress;
    // The running plug-in reported a start and not yet its end.
    bool FProgressOpen = false;
};

// Converts a Windows bitmap (a BITMAPINFOHEADER with its palette, and the rows) into a 32-bit
// buffer with the fourth byte 0. False for a header it does not understand.
bool BitmapFromDib(const uint8_t *Info, const uint8_t *Bits, TPixelBuffer &Bitmap);
