// The file plug-ins the editor found in its "Plugins" folder: the only registry of file
// formats. Every open, save, import and export walks this table, loading the library for
// one call and releasing it right after.
#pragma once

#include "common/TessellaPlugin.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

struct TPluginList {
    FilePluginInfo Info{};
    std::string FileName; // relative to ProgramFolder(), e.g. "Plugins/tzp.so"
    int32_t ApiVersion = 1;

    std::string Description() const; // at most 128 bytes
    std::string Filter() const;
};

class TFilePluginHost
{
public:
    // Rebuilds the table from Folder beside the program, or where an installation puts it
    // (RuntimeFolderBase), recursive, ".so" in any case; the first entry whose filter holds
    // "*.tzp" goes to index 0. True when some plug-in reported a non-zero Flags value.
    bool LoadPlugins(const std::string &programFolder, const std::string &folder = "Plugins");

    const std::vector<TPluginList> &PluginList() const { return FPluginList; }
    bool HasProjectPlugin() const { return FHasProjectPlugin; }
    bool HasImportPlugin() const { return FHasImportPlugin; }
    bool HasExportPlugin() const { return FHasExportPlugin; }
    // 1-based index of the first entry whose filter holds "*.tzp"; 0 when none does.
    int32_t ProjectPluginIndex() const;
    // The folder that holds the plug-in folder: the program's own, or the installed place.
    // Plug-ins are loaded with it as current directory.
    const std::string &ProgramFolder() const { return FProgramFolder; }
    // The full path of an entry's library.
    std::string LibraryPath(const TPluginList &entry) const;

    // Loads the library, calls its ConfigurationDlg and releases it.
    bool OpenPluginSettings(TessellaWindow *window, const std::string &fileName,
                            int32_t mode) const;

private:
    // Scans a folder below the program's folder and its sub-folders; Visited holds the real
    // folders seen so far, so a folder linked into itself is scanned once.
    uint32_t ScanFolder(const std::string &relativeFolder, std::set<std::string> &visited);

    std::string FProgramFolder;
    std::vector<TPluginList> FPluginList;
    bool FHasProjectPlugin = false;
    bool FHasImportPlugin = false;
    bool FHasExportPlugin = false;
};

// "File error!(5)": the catalogue's message 30 + code for codes 0..8, "Undefined error!"
// for others, then the code in parentheses.
std::string ResultText(int32_t code);

// Whether text contains pattern, ignoring ASCII case.
bool ContainsNoCase(const std::string &text, const std::string &pattern);
