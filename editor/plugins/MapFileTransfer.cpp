#include "MapFileTransfer.h"

#include "FileNameText.h"
#include "ProjectSettingsRecord.h"

#include "common/ImportedRecord.h"
#include "common/platform/CurrentDirectory.h"
#include "common/platform/DynamicLibrary.h"
#include "editor/map/DialogSeam.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace
{

const TPluginList *FindPlugin(const TFilePluginHost &plugins, const std::string &fileName)
{
    for (const TPluginList &entry : plugins.PluginList())
        if (entry.FileName == fileName)
            return &entry;
    return nullptr;
}

std::string LibraryPathOf(const TFilePluginHost &plugins, const std::string &fileName)
{
    const TPluginList *entry = FindPlugin(plugins, fileName);
    return entry != nullptr ? plugins.LibraryPath(*entry) : fileName;
}

void BeforeFailure(const TTransferContext &context)
{
    if (context.BeforeFailureMessage)
        context.BeforeFailureMessage();
}

} // namespace

namespace
{

// The formats the plug-ins open, for the message that none of them reads a file.
std::string ReadableFormats(const TFilePluginHost &plugins)
{
    std::string formats;
    for (const TPluginList &entry : plugins.PluginList()) {
        if ((entry.Info.Flags & (pfProject | pfImport)) == 0)
            continue;
        const std::string filter = entry.Filter();
        formats += (formats.empty() ? "" : ", ") + filter.substr(0, filter.find('|'));
    }
    return formats;
}

} // namespace

const TPluginList *OpenThroughPlugins(const TFilePluginHost &Plugins, const std::string &Path,
                                      const std::function<int32_t(const TPluginList &)> &Import)
{
    // A missing file is said to be missing, not left to each plug-in's own failure.
    std::error_code error;
    if (!fs::is_regular_file(fs::path(Path), error)) {
        Dialogs().ShowMessageBox(
            mkError, ReplacePlaceholder(Dialogs().GetLangMessage(25, "%s was not found."),
                                        FileNameOnly(Path)));
        return nullptr;
    }
    for (const TPluginList &entry : Plugins.PluginList()) {
        SetCurrentDirectoryPath(Plugins.ProgramFolder());
        int32_t supported = 1;
        {
            TDynamicLibrary library(Plugins.LibraryPath(entry));
            auto isSupported = library.Function<FilePluginIsSupportedProc>("IsSupported");
            if (isSupported == nullptr)
                continue;
            supported = isSupported(Path.c_str());
        }
        if (supported != 0)
            continue;
        const int32_t result = Import(entry);
        if (result == prSuccess)
            return &entry;
        if (result == prNotSupported || result == prNotImplemented)
            continue;
        return nullptr;
    }
    const std::string formats = ReadableFormats(Plugins);
    Dialogs().ShowMessageBox(
        mkError, Dialogs().GetLangMessage(
                     23, "The plug-in that supported reading this file was not found.") +
                     (formats.empty() ? std::string() : " (" + formats + ")"));
    return nullptr;
}

bool SaveThroughPlugins(const TFilePluginHost &Plugins, const std::string &Path, uint32_t Mask,
                        const std::function<int32_t(const TPluginList &)> &Export)
{
    std::string extension = fs::path(Path).extension().string();
    if (!extension.empty())
        extension.erase(0, 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const TPluginList &entry : Plugins.PluginList()) {
        {
            SetCurrentDirectoryPath(Plugins.ProgramFolder());
            TDynamicLibrary library(Plugins.LibraryPath(entry));
            if (library.Symbol("Export") == nullptr)
                continue;
        }
        if ((entry.Info.Flags & Mask) != Mask)
            continue;
        if (extension.empty() || !ContainsNoCase(PatternPart(entry.Filter()), extension))
            continue;
        const int32_t result = Export(entry);
        if (result == prSuccess)
            return true;
        if (result == prNotSupported || result == prNotImplemented)
            continue;
        return false;
    }
    Dialogs().ShowMessageBox(
        mkError, Dialogs().GetLangMessage(
                     24, "The plug-in that supported writing this file was not found."));
    return false;
}

int32_t ImportMapFile(const TTransferContext &Context, const std::string &Path,
                      const std::string &PluginFileName, TProjectDocument &Document,
                      TImportTarget &Target, const TProjectSettings &Preset)
{
    SetCurrentDirectoryPath(Context.Plugins.ProgramFolder());
    TDynamicLibrary library(LibraryPathOf(Context.Plugins, PluginFileName));
    if (!library.IsLoaded()) {
        Dialogs().ShowMessageBox(mkError,
                                 Dialogs().GetLangMessage(20, "The plug-in cannot be loaded."));
        return prNotImplemented;
    }
    PluginMapRecord record;
    std::memset(&record, 0, sizeof record);
    auto import = library.Function<FilePluginImportProc>("Import");
    if (import == nullptr) {
        Dialogs().ShowMessageBox(
            mkError,
            Dialogs().GetLangMessage(21, "The function cannot be acquired from the plug-in."));
        return prNotImplemented;
    }
    WriteEditorFields(Preset, record);
    const std::string pluginName = FileNameOnly(PluginFileName);
    const std::string fileFolder = FolderOf(Path);
    // Once the plug-in reports success, everything in the record is the host's to free.
    bool handedOver = false;
    try {
        SetCurrentDirectoryPath(fileFolder);
        if (Context.BeforeImport)
            Context.BeforeImport();
        int32_t result = import(Context.Window, Path.c_str(), &record, Context.Progress);
        handedOver = result == prSuccess;
        if (result == prSuccess &&
            (record.Width == 0 || record.Height == 0 || record.PartsWidth == 0 ||
             record.PartsHeight == 0 || record.LayerCount == 0 || record.BitCount < 8 ||
             record.Layers == nullptr))
            result = prInternalError;
        if (result == prCancelled) {
            Context.Progress(-1, -1, "");
            FreeFailedImportRecord(record);
            return prCancelled;
        }
        if (result != prSuccess)
            throw ETransferFailure(ResultText(result) + "@" + pluginName);
        LoadRecordIntoMap(record, Document, Target, fileFolder, pluginName, Context.Progress);
        return prSuccess;
    } catch (const std::exception &error) {
        Context.Progress(-1, -1, "");
        if (handedOver)
            FreeImportedRecord(record);
        else
            FreeFailedImportRecord(record);
        BeforeFailure(Context);
        Dialogs().ShowMessageBox(
            mkError,
            ReplacePlaceholder(Dialogs().GetLangMessage(6, "The error occurred while reading %s."),
                               FileNameOnly(Path)) +
                " (" + FailureText(error) + ")");
        return prInternalError;
    }
}

int32_t ExportMapFile(const TTransferContext &Context, const std::string &Path,
                      const std::string &PluginFileName, const TProjectDocument &Document,
                      uint8_t LayerCount)
{
    const std::string remembered = GetCurrentDirectoryPath();
    SetCurrentDirectoryPath(Context.Plugins.ProgramFolder());
    TDynamicLibrary library(LibraryPathOf(Context.Plugins, PluginFileName));
    if (!library.IsLoaded()) {
        Dialogs().ShowMessageBox(mkError,
                                 Dialogs().GetLangMessage(20, "The plug-in cannot be loaded."));
        return prNotImplemented;
    }
    auto exportProc = library.Function<FilePluginExportProc>("Export");
    if (exportProc == nullptr)
        return prNotImplemented;
    const TMap *map = Document.Map();
    if (map == nullptr || map->Width() <= 0 || map->Height() <= 0 || map->PartsWidth() <= 0 ||
        map->PartsHeight() <= 0 || LayerCount == 0 || map->LayerCount() < LayerCount ||
        (map->BitCount() != 8 && map->BitCount() != 16)) {
        BeforeFailure(Context);
        Dialogs().ShowMessageBox(
            mkError,
            ReplacePlaceholder(Dialogs().GetLangMessage(7, "The error occurred while writing %s."),
                               FileNameOnly(Path)) +
                "(" +
                Dialogs().GetLangMessage(
                    44, "The map cannot be written: its size, layers or bit count are missing.") +
                ")");
        return prInternalError;
    }
    const std::string pluginName = FileNameOnly(PluginFileName);
    try {
        TExportRecord exported;
        exported.Build(Document, LayerCount, Path);
        const std::string &documentPath = Document.DocumentPath;
        SetCurrentDirectoryPath(documentPath.empty() ? FolderOf(Path) : FolderOf(documentPath));
        const int32_t result =
            exportProc(Context.Window, Path.c_str(), &exported.Record, Context.Progress);
        Context.Progress(-1, -1, "");
        if (result == prSuccess) {
            SetCurrentDirectoryPath(remembered);
            return prSuccess;
        }
        if (result == prCancelled)
            return prCancelled;
        throw ETransferFailure(ResultText(result) + "@" + pluginName);
    } catch (const std::exception &error) {
        SetCurrentDirectoryPath(remembered);
        Context.Progress(-1, -1, "");
        BeforeFailure(Context);
        Dialogs().ShowMessageBox(
            mkError,
            ReplacePlaceholder(Dialogs().GetLangMessage(7, "The error occurred while writing %s."),
                               FileNameOnly(Path)) +
                "(" + FailureText(error) + ")");
        return prInternalError;
    }
}
