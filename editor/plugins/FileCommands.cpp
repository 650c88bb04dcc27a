// The file commands: Open, Save, Save As, Import, Export, Reload, the save question and the
// command plug-ins, on the project document. The plug-in search and the record conversion
// are window-free, in MapFileTransfer; the window's side goes through TFileCommandWindow.
#include "FileCommands.h"

#include "FileNameText.h"
#include "MapFileTransfer.h"
#include "TextEncoding.h"
#include "common/platform/CurrentDirectory.h"
#include "common/platform/DynamicLibrary.h"
#include "common/platform/HomeFolder.h"
#include "editor/map/DialogSeam.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{

// An import refills the window's layer and parts windows beside the map.
class TWindowImportTarget : public TImportTarget
{
public:
    explicit TWindowImportTarget(TFileCommandWindow &Window) : FWindow(Window) {}

    void ResetLayers(const PluginMapRecord &) override
    {
        Reset = true;
        FWindow.SetViewReady(false);
        FWindow.ResetLayers();
    }
    bool AddLayer(const std::string &Name, std::vector<uint16_t> &&Cells) override
    {
        return FWindow.AddLoadedLayer(Name, std::move(Cells));
    }
    void SetLayerVisible(int32_t Index, bool Visible) override
    {
        FWindow.SetLayerShown(Index, Visible);
    }
    void AttachPartsImage(int32_t, const std::string &, const std::string &Resolved) override
    {
        FWindow.AttachPartsImage(Resolved);
    }

    // The old map was given up for the file's: a failure after this cannot keep it.
    bool Reset = false;

private:
    TFileCommandWindow &FWindow;
};

// The window record a plug-in gets during an import: a copy of the window's own, whose
// notices wait until the map they speak of is in the window and its tool windows are back.
struct TNoticeHoldingWindow {
    TessellaWindow Window; // first: the plug-in's pointer is this record's
    std::vector<std::string> *Notices;
};

void HoldNotice(TessellaWindow *Window, const char *Text)
{
    if (Text != nullptr && *Text != '\0')
        reinterpret_cast<TNoticeHoldingWindow *>(Window)->Notices->emplace_back(Text);
}

} // namespace

TFileCommands::TFileCommands(TProjectDocument &Project, const TFilePluginHost &Plugins,
                             TFileCommandWindow &Window)
    : FProject(Project), FPlugins(Plugins), FWindow(Window)
{
}

int32_t TFileCommands::PluginProcImport(const std::string &path, const std::string &pluginFileName)
{
    // The running gesture ends before the map it works on goes.
    FWindow.EndGesture();
    if (FProject.Map() == nullptr)
        return prNotImplemented;
    TProjectSettings preset = FProject.Settings();
    preset.Zoom = 256;
    TWindowImportTarget target(FWindow);
    TessellaWindow *window = FWindow.WindowHandle();
    std::vector<std::string> notices;
    TNoticeHoldingWindow holding{};
    if (window != nullptr && TessellaCanShowNotice(window) && window->ShowNotice != nullptr) {
        holding = {*window, &notices};
        holding.Window.ShowNotice = &HoldNotice;
    }
    // Shown once the window is back: before the error of a refused file, after the open.
    const auto showNotices = [window, &notices] {
        for (const std::string &text : notices)
            window->ShowNotice(window, text.c_str());
        notices.clear();
    };
    TTransferContext context{FPlugins, holding.Notices != nullptr ? &holding.Window : window,
                             FWindow.Progress(), [this, &showNotices] {
                                 FWindow.SetViewReady(true);
                                 FWindow.ShowToolWindows();
                                 showNotices();
                             }};
    context.BeforeImport = [this] { FWindow.HideToolWindows(); };
    const int32_t result = ImportMapFile(context, path, pluginFileName, FProject, target, preset);
    if (result != prSuccess) {
        // A file that could not be read leaves the open map as it was; only a map given up
        // half-way through taking the file over becomes a fresh one.
        if (target.Reset)
            FWindow.CreateDefaultMap();
        FWindow.SetViewReady(true);
        FWindow.ShowToolWindows();
        showNotices();
        return result;
    }
    FProject.DocumentPlugin = FileNameOnly(pluginFileName);
    FWindow.Progress()(-1, -1, "");
    FWindow.FileOpened();
    showNotices();
    return prSuccess;
}

int32_t TFileCommands::PluginProcExport(const std::string &path, const std::string &pluginFileName)
{
    // A floating block is put down first, so the file holds what the view shows.
    FWindow.EndGesture();
    TMap *map = FProject.Map();
    if (map == nullptr)
        return prNotImplemented;
    const TTransferContext context{FPlugins, FWindow.WindowHandle(), FWindow.Progress(),
                                   [this] { FWindow.ShowForMessage(); }};
    return ExportMapFile(context, path, pluginFileName, FProject,
                         static_cast<uint8_t>(map->LayerCount()));
}

bool TFileCommands::OpenFile(const std::string &path)
{
    const TPluginList *used =
        OpenThroughPlugins(FPlugins, path, [this, &path](const TPluginList &entry) {
            return PluginProcImport(path, entry.FileName);
        });
    if (used == nullptr)
        return false;
    FLastReaderIsProject = (used->Info.Flags & pfProject) != 0;
    if (FLastReaderIsProject)
        SetFileToProject(path);
    return true;
}

bool TFileCommands::OpenDocument(const std::string &Path)
{
    if (!OpenFile(Path))
        return false;
    if (!FLastReaderIsProject) {
        // A file no project format holds (a Tiled map) shows its name, but Save asks where
        // to write: the editor never writes over it with what it could keep of it.
        FProject.DocumentName = FileNameOnly(Path);
        FProject.DocumentPath.clear();
        if (TMap *map = FProject.Map())
            map->ClearModified();
        if (FRecent.Add(Path))
            FWindow.RecentDocumentsChanged();
    }
    FWindow.RefreshCommands();
    return true;
}

bool TFileCommands::SaveFile(const std::string &path, int32_t mask)
{
    return SaveThroughPlugins(
        FPlugins, path, static_cast<uint32_t>(mask),
        [this, &path](const TPluginList &entry) { return PluginProcExport(path, entry.FileName); });
}

void TFileCommands::SetFileToProject(const std::string &path)
{
    FProject.DocumentName = FileNameOnly(path);
    FProject.DocumentPath = path;
    if (TMap *map = FProject.Map())
        map->ClearModified();
    if (FRecent.Add(path))
        FWindow.RecentDocumentsChanged();
    // The Save entries follow the cleared mark too, not just the title (the mediator
    // rebuilds both).
    FWindow.RefreshCommands();
}

bool TFileCommands::SaveMessage()
{
    TMap *map = FProject.Map();
    if (map == nullptr || !map->IsModified() || !FPlugins.HasProjectPlugin())
        return true;
    const TAnswer answer =
        Dialogs().AskQuestion("Tessella",
                              ReplacePlaceholder(Dialogs().GetLangMessage(3, "Save changes to %s?"),
                                                 FProject.DocumentName),
                              TQuestionButtons::YesNoCancel, TQuestionIcon::Warning);
    if (answer == TAnswer::Yes)
        return Save();
    return answer == TAnswer::No;
}

std::string TFileCommands::OpenDialogFilter(uint32_t flag) const
{
    std::string patterns;
    std::string filters;
    for (const TPluginList &entry : FPlugins.PluginList()) {
        if ((entry.Info.Flags & flag) == 0)
            continue;
        patterns += PatternPart(entry.Filter()) + ";";
        filters += entry.Filter() + "|";
    }
    if (filters.empty())
        return std::string();
    return Dialogs().GetLangString(11, "All Files") + "|" + patterns + "|" + filters;
}

std::string TFileCommands::SaveDialogFilter(uint32_t flag) const
{
    std::string filters;
    for (const TPluginList &entry : FPlugins.PluginList())
        if ((entry.Info.Flags & flag) != 0)
            filters += entry.Filter() + "|";
    return filters;
}

std::optional<std::string> TFileCommands::AskFileToSave(int32_t titleIndex, const char *title,
                                                        uint32_t flag)
{
    TFileDialogRequest request;
    request.Title = Dialogs().GetLangString(titleIndex, title);
    request.Filter = SaveDialogFilter(flag);
    request.FilterIndex = FProject.ProjectPlugin > 0 ? FProject.ProjectPlugin : 1;
    request.DefaultExt = "tzp";
    request.FileName = fs::path(FProject.DocumentName).stem().string();
    request.InitialDir = DialogFolder();
    const std::optional<TFileDialogResult> chosen = Dialogs().AskSaveFile(request);
    if (!chosen)
        return std::nullopt;
    FProject.ProjectPlugin = chosen->FilterIndex;
    return chosen->FileName;
}

std::optional<std::string> TFileCommands::AskFileToOpen(int32_t titleIndex, const char *title,
                                                        uint32_t flag)
{
    TFileDialogRequest request;
    request.Title = Dialogs().GetLangString(titleIndex, title);
    request.Filter = OpenDialogFilter(flag);
    if (request.Filter.empty()) {
        Dialogs().ShowMessageBox(
            mkError, Dialogs().GetLangMessage(
                         23, "The plug-in that supported reading this file was not found."));
        return std::nullopt;
    }
    request.FilterIndex = FOpenFilterIndex;
    request.DefaultExt = "tzp";
    request.InitialDir = DialogFolder();
    const std::optional<TFileDialogResult> chosen = Dialogs().AskOpenFile(request);
    if (!chosen)
        return std::nullopt;
    FOpenFilterIndex = chosen->FilterIndex;
    return chosen->FileName;
}

bool TFileCommands::Open()
{
    if (!SaveMessage())
        return false;
    // Formats that are only read (Tiled maps) open here too.
    const std::optional<std::string> path = AskFileToOpen(12, "Open File", pfProject | pfImport);
    if (path) {
        // A failed open keeps the map that was open with its own name.
        OpenDocument(*path);
        FWindow.RefreshCommands();
    }
    return true;
}

bool TFileCommands::Save()
{
    TMap *map = FProject.Map();
    if (map == nullptr || !map->IsReady() || !map->IsModified())
        return false;
    std::string target = FProject.DocumentPath;
    if (target.empty()) {
        const std::optional<std::string> chosen = AskFileToSave(13, "Save", pfProject);
        if (!chosen)
            return false;
        target = *chosen;
    }
    if (!SaveFile(target, pfProject))
        return false;
    SetFileToProject(target);
    FWindow.RefreshCommands();
    return true;
}

bool TFileCommands::SaveAs()
{
    const std::optional<std::string> path = AskFileToSave(14, "Save As", pfProject);
    if (!path)
        return false;
    const bool saved = SaveFile(*path, pfProject);
    // Only a file that was written becomes the project file: otherwise the unsaved mark
    // would be cleared and the next close would lose the work without asking.
    if (saved)
        SetFileToProject(*path);
    FWindow.RefreshCommands();
    return saved;
}

bool TFileCommands::ImportFile()
{
    if (!SaveMessage())
        return false;
    const std::optional<std::string> path = AskFileToOpen(15, "Import", pfImport);
    if (!path)
        return false;
    if (OpenFile(*path))
        if (TMap *map = FProject.Map())
            map->ClearModified();
    FWindow.RefreshCommands();
    return true;
}

bool TFileCommands::Exportfile()
{
    const std::optional<std::string> path = AskFileToSave(16, "Export", pfExport);
    if (!path)
        return false;
    return SaveFile(*path, pfExport);
}

void TFileCommands::OpenMenuItemClick()
{
    Open();
}
void TFileCommands::SaveMenuItemClick()
{
    Save();
}
void TFileCommands::SaveAsMenuItemClick()
{
    SaveAs();
}
void TFileCommands::ImportMenuItemClick()
{
    ImportFile();
}
void TFileCommands::ExportMenuItemClick()
{
    Exportfile();
}

void TFileCommands::ReOpenMenuItemClick()
{
    TMap *map = FProject.Map();
    if (map == nullptr || FProject.DocumentPath.empty())
        return;
    if (map->IsModified()) {
        const TAnswer answer = Dialogs().AskQuestion(
            "Tessella",
            ReplacePlaceholder(
                Dialogs().GetLangMessage(2, "Do you continue annulling the change to %s?"),
                FProject.DocumentName),
            TQuestionButtons::OkCancel, TQuestionIcon::Warning);
        if (answer == TAnswer::Cancel)
            return;
    }
    const std::string path = FProject.DocumentPath;
    OpenFile(path);
    FWindow.RefreshCommands();
}

void TFileCommands::PluginMenuClick(size_t pluginIndex)
{
    const std::vector<TPluginList> &plugins = FPlugins.PluginList();
    if (pluginIndex >= plugins.size())
        return;
    SetCurrentDirectoryPath(FPlugins.ProgramFolder());
    TDynamicLibrary library(FPlugins.LibraryPath(plugins[pluginIndex]));
    if (!library.IsLoaded()) {
        Dialogs().ShowMessageBox(mkError,
                                 Dialogs().GetLangMessage(20, "The plug-in cannot be loaded."));
        return;
    }
    auto command = library.Function<FilePluginCommandProc>("Command");
    if (command == nullptr) {
        Dialogs().ShowMessageBox(
            mkError,
            Dialogs().GetLangMessage(21, "The function cannot be acquired from the plug-in."));
        return;
    }
    PluginMapRecord buffer;
    std::memset(&buffer, 0, sizeof buffer);
    command(FWindow.WindowHandle(), "", &buffer, nullptr);
    FWindow.RedrawAll();
    FWindow.RefreshCommands();
}

bool TFileCommands::OpenRecent(const std::string &path)
{
    return SaveMessage() && OpenDocument(path);
}

void TFileCommands::ReopenClosedMenuItemClick()
{
    const std::string path =
        FRecent.Newest(FProject.DocumentPath, [](const std::string &candidate) {
            std::error_code error;
            return fs::is_regular_file(candidate, error);
        });
    if (path.empty()) {
        Dialogs().Beep();
        return;
    }
    OpenRecent(path);
}

std::string TFileCommands::DialogFolder() const
{
    if (!FProject.DocumentPath.empty())
        return FolderOf(FProject.DocumentPath);
    for (const std::string &path : FRecent.Paths()) {
        const std::string folder = FolderOf(path);
        std::error_code error;
        if (fs::is_directory(folder, error))
            return folder;
    }
    return HomeFolderPath();
}

int32_t TFileCommands::AskOpenFileNameForPlugin(TessellaWindow *, const char *title,
                                                const char *filter, const char *defaultExt,
                                                char *result, uint32_t resultSize)
{
    if (result == nullptr || resultSize == 0)
        return 0;
    TFileDialogRequest request;
    request.Title = title != nullptr ? SystemTextToUtf8(title) : "";
    request.Filter = filter != nullptr ? SystemTextToUtf8(filter) : "";
    request.DefaultExt = defaultExt != nullptr ? defaultExt : "";
    const std::optional<TFileDialogResult> chosen = Dialogs().AskOpenFile(request);
    if (!chosen || chosen->FileName.size() + 1 > resultSize)
        return 0;
    std::memcpy(result, chosen->FileName.c_str(), chosen->FileName.size() + 1);
    return 1;
}
