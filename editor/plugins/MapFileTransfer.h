// Reading and writing map files through the file plug-ins, without any window: choosing
// the plug-in for a file, one import or export through one named plug-in with its
// messages, the current folders the plug-ins expect and the progress calls. The main
// window's file commands and the command line are its two callers; each passes its own
// window handle and progress callback (the command line a quiet one).
#pragma once

#include "FilePluginHost.h"
#include "MapRecordConversion.h"

#include <cstdint>
#include <functional>
#include <string>

struct TTransferContext {
    const TFilePluginHost &Plugins;
    TessellaWindow *Window = nullptr;
    ProgressProc Progress = nullptr;
    // Runs right before a failure is reported (the main window makes itself ready and
    // visible); may be empty.
    std::function<void()> BeforeFailureMessage;
    // Runs right before the plug-in's Import (the main window hides its tool windows);
    // may be empty.
    std::function<void()> BeforeImport = {};
};

// The search of File > Open: asks each plug-in in table order whether it reads Path and
// hands the first that does to Import. An Import result of 1 or 2 goes on with the next
// plug-in; any other failure ends the search. Returns the plug-in whose Import succeeded,
// or null; when no plug-in was left to try, message 23 has been shown.
const TPluginList *OpenThroughPlugins(const TFilePluginHost &Plugins, const std::string &Path,
                                      const std::function<int32_t(const TPluginList &)> &Import);

// The search of Save As and Export: every plug-in that exports, whose Flags hold all bits
// of Mask (0: any) and whose pattern contains the file's extension is offered the file in
// table order, with the same rule for going on. False after message 24 when no plug-in
// was left to try, or when the writer failed.
bool SaveThroughPlugins(const TFilePluginHost &Plugins, const std::string &Path, uint32_t Mask,
                        const std::function<int32_t(const TPluginList &)> &Export);

// One import through one plug-in into Document and Target; Preset is what the record is
// pre-set with, the document takes what the file says. Results: 0 success (the
// progress display is still open for the caller's last steps); 2 when the library or its
// Import could not be had (message 20 or 21 shown); 7 when the user cancelled (display
// closed, nothing changed); 8 after any other failure, once the display is closed and
// message 6 shown ("The error occurred while reading %s." and the detail); the document
// is then as it was, unless Target.ResetLayers was called.
int32_t ImportMapFile(const TTransferContext &Context, const std::string &Path,
                      const std::string &PluginFileName, TProjectDocument &Document,
                      TImportTarget &Target, const TProjectSettings &Preset);

// One export of the document's first LayerCount layers through one plug-in. The plug-in
// runs with the folder of the document's path (or of the target when it has none) as the
// current directory; the current directory is
// restored afterwards unless the user cancelled. Results: 0 success; 2 when the library or
// its Export could not be had (message 20 only for the library); 7 cancelled; 8 after
// message 7 ("The error occurred while writing %s." and the detail).
int32_t ExportMapFile(const TTransferContext &Context, const std::string &Path,
                      const std::string &PluginFileName, const TProjectDocument &Document,
                      uint8_t LayerCount);
