// The main window's file commands: Open, Save, Save As, Import, Export, Reload, and the
// window's side of every transfer (its progress, its layer and parts windows, its view
// state). The plug-in search and the record conversion are window-free, in MapFileTransfer.
#include "FileNameText.h"
#include "FilePluginHost.h"
#include "MapFileTransfer.h"
#include "common/platform/CurrentDirectory.h"
#include "common/platform/DynamicLibrary.h"
#include "editor/edit/EditController.h"
#include "editor/map/DialogSeam.h"
#include "editor/parts/ChipForm.h"
#include "editor/plugins/TextEncoding.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/MapDocument.h"
#include "editor/shell/language/Language.h"
#include "editor/shell/windows/LayerForm.h"
#include "editor/shell/windows/PreviewForm.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QScrollBar>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace
{

// Long transfers report to the progress window, which keeps the windows alive.
int32_t EditorProgress(int32_t position, int32_t total, const char *message)
{
    return TMainForm::ProgressProc(position, total, message);
}

} // namespace

// An import refills the layer window and the parts window beside the map.
class TMainFormImportTarget : public TImportTarget
{
public:
    explicit TMainFormImportTarget(TMainForm &form) : FForm(form) {}

    void ResetLayers(const PluginMapRecord &header) override
    {
        Reset = true;
        FForm.FNewMapWidth = static_cast<int32_t>(header.Width);
        FForm.FNewMapHeight = static_cast<int32_t>(header.Height);
        FForm.FNewMapPartsWidth = static_cast<int32_t>(header.PartsWidth);
        FForm.FNewMapPartsHeight = static_cast<int32_t>(header.PartsHeight);
        FForm.FNewMapLayerCount = header.LayerCount;
        FForm.FNewMapBitCount = header.BitCount;
        FForm.FProject.SetRelativePaths(header.PathMode != 0);
        FForm.FProject.SetFixedAlignment((header.AlignFlags & 1) == 0);
        FForm.FViewReady = false;
        FForm.FChipForm->Init();
        FForm.FLayerForm->Init();
    }
    bool AddLayer(const std::string &name, std::vector<uint16_t> &&cells) override
    {
        return FForm.FLayerForm->AddLoadedLayer(name, std::move(cells));
    }
    void SetLayerVisible(int32_t index, bool visible) override
    {
        FForm.FLayerForm->SetLayerVisibleState(index, visible);
    }
    void AttachPartsImage(int32_t, const std::string &, const std::string &resolved) override
    {
        FForm.FChipForm->AddMapChip(resolved);
    }

    // The old map was given up for the file's: a failure after this cannot keep it.
    bool Reset = false;

private:
    TMainForm &FForm;
};

int32_t TMainForm::PluginProcImport(const std::string &path, const std::string &pluginFileName)
{
    // The running gesture ends before the map it works on goes.
    FEdit->EndGesture();
    TMap *map = MapDocument();
    if (map == nullptr)
        return prNotImplemented;
    TProjectSettings preset = FProject.Settings();
    preset.Zoom = 256;
    TMainFormImportTarget target(*this);
    TTransferContext context{*FPlugins, &FWindowHandle, EditorProgress, [this] {
                                 FViewReady = true;
                                 ShowAllClients();
                             }};
    context.BeforeImport = [this] { HideAllClients(); };
    const int32_t result = ImportMapFile(context, path, pluginFileName, FProject, target, preset);
    if (result != prSuccess) {
        // A file that could not be read leaves the open map as it was; only a map given up
        // half-way through taking the file over becomes a fresh one.
        if (target.Reset)
            CreateNewMap(100, 100, 1, 32, 32, 8, true);
        FViewReady = true;
        ShowAllClients();
        return result;
    }
    FProject.DocumentPlugin = FileNameOnly(pluginFileName);
    ApplyEditorFlags();
    EditorProgress(-1, -1, "");
    Init();
    FViewReady = true;
    FormResize();
    FHorzScrollBar->setValue(0);
    FVertScrollBar->setValue(0);
    if (FPreviewForm != nullptr)
        FPreviewForm->InitPreview(FOverviewScale);
    ToolButtonMediator();
    ShowAllClients();
    return prSuccess;
}

int32_t TMainForm::PluginProcExport(const std::string &path, const std::string &pluginFileName)
{
    // A floating block is put down first, so the file holds what the view shows.
    FEdit->EndGesture();
    TMap *map = MapDocument();
    if (map == nullptr)
        return prNotImplemented;
    FNewMapLayerCount = static_cast<uint8_t>(map->LayerCount());
    const TTransferContext context{*FPlugins, &FWindowHandle, EditorProgress, [this] { show(); }};
    return ExportMapFile(context, path, pluginFileName, FProject, FNewMapLayerCount);
}

bool TMainForm::OpenFile(const std::string &path)
{
    const TPluginList *used =
        OpenThroughPlugins(*FPlugins, path, [this, &path](const TPluginList &entry) {
            return PluginProcImport(path, entry.FileName);
        });
    if (used == nullptr)
        return false;
    if ((used->Info.Flags & pfProject) != 0)
        SetFileToProject(path);
    return true;
}

bool TMainForm::SaveFile(const std::string &path, int32_t mask)
{
    return SaveThroughPlugins(
        *FPlugins, path, static_cast<uint32_t>(mask),
        [this, &path](const TPluginList &entry) { return PluginProcExport(path, entry.FileName); });
}

void TMainForm::SetFileToProject(const std::string &path)
{
    FProject.DocumentName = FileNameOnly(path);
    FProject.DocumentPath = path;
    if (TMap *map = MapDocument())
        map->ClearModified();
    // The Save entries follow the cleared mark too, not just the title (the mediator
    // rebuilds both).
    ToolButtonMediator();
}

bool TMainForm::SaveMessage()
{
    TMap *map = MapDocument();
    if (map == nullptr || !map->IsModified() || !FPlugins->HasProjectPlugin())
        return true;
    const TAnswer answer = Dialogs().AskQuestion(
        "Tessella",
        ReplacePlaceholder(GetLangMessage(3, "Save changes to %s?"), FProject.DocumentName),
        TQuestionButtons::YesNoCancel, TQuestionIcon::Warning);
    if (answer == TAnswer::Yes)
        return Save();
    return answer == TAnswer::No;
}

std::string TMainForm::OpenDialogFilter(uint32_t flag) const
{
    std::string patterns;
    std::string filters;
    for (const TPluginList &entry : FPlugins->PluginList()) {
        if ((entry.Info.Flags & flag) == 0)
            continue;
        patterns += PatternPart(entry.Filter()) + ";";
        filters += entry.Filter() + "|";
    }
    if (filters.empty())
        return std::string();
    return GetLangString(11, "All Files") + "|" + patterns + "|" + filters;
}

std::string TMainForm::SaveDialogFilter(uint32_t flag) const
{
    std::string filters;
    for (const TPluginList &entry : FPlugins->PluginList())
        if ((entry.Info.Flags & flag) != 0)
            filters += entry.Filter() + "|";
    return filters;
}

std::optional<std::string> TMainForm::AskFileToSave(int32_t titleIndex, const char *title,
                                                    uint32_t flag)
{
    TFileDialogRequest request;
    request.Title = GetLangString(titleIndex, title);
    request.Filter = SaveDialogFilter(flag);
    request.FilterIndex = FProject.ProjectPlugin > 0 ? FProject.ProjectPlugin : 1;
    request.DefaultExt = "tzp";
    request.FileName = fs::path(FProject.DocumentName).stem().string();
    if (!FProject.DocumentPath.empty())
        request.InitialDir = FolderOf(FProject.DocumentPath);
    const std::optional<TFileDialogResult> chosen = Dialogs().AskSaveFile(request);
    if (!chosen)
        return std::nullopt;
    FProject.ProjectPlugin = chosen->FilterIndex;
    return chosen->FileName;
}

std::optional<std::string> TMainForm::AskFileToOpen(int32_t titleIndex, const char *title,
                                                    uint32_t flag)
{
    TFileDialogRequest request;
    request.Title = GetLangString(titleIndex, title);
    request.Filter = OpenDialogFilter(flag);
    if (request.Filter.empty()) {
        ShowMessageBox(
            mkError,
            GetLangMessage(23, "The plug-in that supported reading this file was not found."));
        return std::nullopt;
    }
    request.FilterIndex = FOpenFilterIndex;
    request.DefaultExt = "tzp";
    const std::optional<TFileDialogResult> chosen = Dialogs().AskOpenFile(request);
    if (!chosen)
        return std::nullopt;
    FOpenFilterIndex = chosen->FilterIndex;
    return chosen->FileName;
}

bool TMainForm::Open()
{
    if (!SaveMessage())
        return false;
    const std::optional<std::string> path = AskFileToOpen(12, "Open File", pfProject);
    if (path) {
        // A failed open leaves the fresh default map without the file's name, so the next
        // Save cannot overwrite the file with it.
        if (OpenFile(*path))
            SetFileToProject(*path);
        ToolButtonMediator();
    }
    return true;
}

bool TMainForm::Save()
{
    TMap *map = MapDocument();
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
    ToolButtonMediator();
    return true;
}

bool TMainForm::SaveAs()
{
    const std::optional<std::string> path = AskFileToSave(14, "Save As", pfProject);
    if (!path)
        return false;
    const bool saved = SaveFile(*path, pfProject);
    // Only a file that was written becomes the project file: otherwise the unsaved mark
    // would be cleared and the next close would lose the work without asking.
    if (saved)
        SetFileToProject(*path);
    ToolButtonMediator();
    return saved;
}

bool TMainForm::ImportFile()
{
    if (!SaveMessage())
        return false;
    const std::optional<std::string> path = AskFileToOpen(15, "Import", pfImport);
    if (!path)
        return false;
    if (OpenFile(*path))
        if (TMap *map = MapDocument())
            map->ClearModified();
    UpdateTitle();
    ToolButtonMediator();
    return true;
}

bool TMainForm::Exportfile()
{
    const std::optional<std::string> path = AskFileToSave(16, "Export", pfExport);
    if (!path)
        return false;
    return SaveFile(*path, pfExport);
}

void TMainForm::OpenMenuItemClick()
{
    Open();
}
void TMainForm::SaveMenuItemClick()
{
    Save();
}
void TMainForm::SaveAsMenuItemClick()
{
    SaveAs();
}
void TMainForm::ImportMenuItemClick()
{
    ImportFile();
}
void TMainForm::ExportMenuItemClick()
{
    Exportfile();
}

void TMainForm::ReOpenMenuItemClick()
{
    TMap *map = MapDocument();
    if (map == nullptr || FProject.DocumentPath.empty())
        return;
    if (map->IsModified()) {
        const TAnswer answer = Dialogs().AskQuestion(
            "Tessella",
            ReplacePlaceholder(GetLangMessage(2, "Do you continue annulling the change to %s?"),
                               FProject.DocumentName),
            TQuestionButtons::OkCancel, TQuestionIcon::Warning);
        if (answer == TAnswer::Cancel)
            return;
    }
    const std::string path = FProject.DocumentPath;
    OpenFile(path);
    ToolButtonMediator();
}

void TMainForm::BuildPluginMenu()
{
    // Only plug-ins whose Flags are exactly pfCommand get an entry.
    const std::vector<TPluginList> &plugins = FPlugins->PluginList();
    for (size_t i = 0; i < plugins.size(); ++i) {
        if (plugins[i].Info.Flags != pfCommand)
            continue;
        QAction *item = FPluginMenu->addAction(
            QString::fromStdString(SystemTextToUtf8(plugins[i].Description())));
        connect(item, &QAction::triggered, this, [this, i] { PluginMenuClick(i); });
        FPluginMenu->menuAction()->setVisible(true);
    }
}

void TMainForm::PluginMenuClick(size_t pluginIndex)
{
    const std::vector<TPluginList> &plugins = FPlugins->PluginList();
    if (pluginIndex >= plugins.size())
        return;
    SetCurrentDirectoryPath(FProgramFolder);
    TDynamicLibrary library(FPlugins->LibraryPath(plugins[pluginIndex]));
    if (!library.IsLoaded()) {
        ShowMessageBox(mkError, GetLangMessage(20, "The plug-in cannot be loaded."));
        return;
    }
    auto command = library.Function<FilePluginCommandProc>("Command");
    if (command == nullptr) {
        ShowMessageBox(mkError,
                       GetLangMessage(21, "The function cannot be acquired from the plug-in."));
        return;
    }
    PluginMapRecord buffer;
    std::memset(&buffer, 0, sizeof buffer);
    command(&FWindowHandle, "", &buffer, nullptr);
    RedrawAll();
    ToolButtonMediator();
}

// The window handle's file question for plug-ins.
int32_t TMainForm::HandleAskOpenFileName(TessellaWindow *, const char *title, const char *filter,
                                         const char *defaultExt, char *result, uint32_t resultSize)
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
