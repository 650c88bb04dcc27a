// The main window's file commands: choosing a plug-in for a file, converting the map
// document to and from the plug-in record, and Open, Save, Save As, Import, Export, Reload.
#include "FilePluginHost.h"
#include "common/ImportedRecord.h"
#include "common/platform/CurrentDirectory.h"
#include "common/platform/DynamicLibrary.h"
#include "editor/map/DialogSeam.h"
#include "editor/shell/ChipForm.h"
#include "editor/shell/Language.h"
#include "editor/shell/LayerForm.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/MapDocument.h"
#include "editor/shell/PreviewForm.h"
#include "editor/shell/TextEncoding.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QScrollBar>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace
{

// Long transfers keep the windows alive between their steps.
int32_t EditorProgress(int32_t, int32_t, const char *)
{
    QCoreApplication::processEvents();
    return 1;
}

std::string FileNameOnly(const std::string &path)
{
    return fs::path(path).filename().string();
}

std::string FolderOf(const std::string &path)
{
    const fs::path folder = fs::absolute(fs::path(path)).parent_path();
    return folder.string();
}

// Every "%s", whatever its case, becomes the name.
std::string ReplacePlaceholder(std::string text, const std::string &name)
{
    for (size_t at = 0; (at = text.find('%', at)) != std::string::npos;) {
        if (at + 1 < text.size() && (text[at + 1] == 's' || text[at + 1] == 'S')) {
            text.replace(at, 2, name);
            at += name.size();
        } else {
            ++at;
        }
    }
    return text;
}

class EPluginFailure : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

const TPluginList *FindPlugin(const TFilePluginHost &plugins, const std::string &fileName)
{
    for (const TPluginList &entry : plugins.PluginList())
        if (entry.FileName == fileName)
            return &entry;
    return nullptr;
}

// The pattern part of a filter: the text after its first "|".
std::string PatternPart(const std::string &filter)
{
    const size_t bar = filter.find('|');
    return bar == std::string::npos ? std::string() : filter.substr(bar + 1);
}

} // namespace

void TMainForm::FillEditorRecord(PluginMapRecord &record) const
{
    record.EditorFlags[0] = FView.ShowGrid;
    record.EditorFlags[1] = FView.ShowNumber;
    record.EditorFlags[3] = FView.ShowCGrid;
    record.EditorFlags[4] = FView.ShowMarker;
    record.EditorFlags[5] = FView.FogMode;
    record.TransEnabled = FView.TransEnabled;
    record.TransColor = FView.TransColor;
    record.TransReserved = FTransReserved;
    record.UseInvisiblePart = UseInvisiblePart();
    record.InvisiblePart = InvisiblePart();
    record.InvisibleReserved = FInvisibleReserved;
    record.GridColor = FView.GridColor;
    record.AGridColor = FView.AGridColor;
}

int32_t TMainForm::PluginProcImport(const std::string &path, const std::string &pluginFileName)
{
    // The running gesture ends before the map it works on goes.
    EndGesture();
    const TPluginList *entry = FindPlugin(*FPlugins, pluginFileName);
    SetCurrentDirectoryPath(FProgramFolder);
    TDynamicLibrary library(entry != nullptr ? FPlugins->LibraryPath(*entry) : pluginFileName);
    if (!library.IsLoaded()) {
        ShowMessageBox(mkError, GetLangMessage(20, "The plug-in cannot be loaded."));
        return prNotImplemented;
    }
    PluginMapRecord record;
    std::memset(&record, 0, sizeof record);
    auto import = library.Function<FilePluginImportProc>("Import");
    if (import == nullptr) {
        ShowMessageBox(mkError,
                       GetLangMessage(21, "The function cannot be acquired from the plug-in."));
        return prNotImplemented;
    }
    FillEditorRecord(record);
    record.Zoom = 256;
    const std::string pluginName = FileNameOnly(pluginFileName);
    const std::string fileFolder = FolderOf(path);
    TMap *map = MapDocument();
    // Once the plug-in reports success, everything in the record is the editor's to free.
    bool handedOver = false;
    try {
        SetCurrentDirectoryPath(fileFolder);
        int32_t result = import(&FWindowHandle, path.c_str(), &record, EditorProgress);
        handedOver = result == prSuccess;
        if (result == prSuccess &&
            (record.Width == 0 || record.Height == 0 || record.PartsWidth == 0 ||
             record.PartsHeight == 0 || record.LayerCount == 0 || record.BitCount < 8 ||
             record.Layers == nullptr))
            result = prInternalError;
        if (result == prCancelled) {
            EditorProgress(-1, -1, "");
            FreeFailedImportRecord(record);
            return prCancelled;
        }
        if (result != prSuccess)
            throw EPluginFailure(ResultText(result) + "@" + pluginName);

        EditorProgress(-2, -2, "creating...");
        if (map == nullptr)
            throw EPluginFailure(GetLangMessage(5, "The map cannot be created."));
        map->ClearLayers();
        try {
            map->Initialize(static_cast<int32_t>(record.Width), static_cast<int32_t>(record.Height),
                            static_cast<int32_t>(record.PartsWidth),
                            static_cast<int32_t>(record.PartsHeight), record.BitCount);
        } catch (const std::exception &) {
            throw EPluginFailure(GetLangMessage(5, "The map cannot be created."));
        }
        FNewMapWidth = static_cast<int32_t>(record.Width);
        FNewMapHeight = static_cast<int32_t>(record.Height);
        FNewMapPartsWidth = static_cast<int32_t>(record.PartsWidth);
        FNewMapPartsHeight = static_cast<int32_t>(record.PartsHeight);
        FNewMapLayerCount = record.LayerCount;
        FNewMapBitCount = record.BitCount;
        RelativePaths = record.PathMode != 0;
        FNewMapAlignNotFixed = (record.AlignFlags & 1) != 0;
        FViewReady = false;
        FChipForm->Init();
        FLayerForm->Init();

        for (uint32_t i = 0; i < record.LayerCount; ++i) {
            PluginLayerRecord &layer = record.Layers[i];
            const std::string name = layer.Name != nullptr
                                         ? SystemTextToUtf8(layer.Name)
                                         : GetLangString(7, "Layer") + std::to_string(i);
            std::free(layer.Name);
            layer.Name = nullptr;
            if (layer.Cells == nullptr)
                throw EPluginFailure(ResultText(prInternalError) + "@" + pluginName);
            // The cells go straight into the new layer.
            if (!FLayerForm->AddLayer(name, nullptr, layer.Cells))
                throw EPluginFailure(
                    GetLangMessage(15, "The layer cannot be made. Not enough memory."));
            std::free(layer.Cells);
            layer.Cells = nullptr;
            const int32_t index = static_cast<int32_t>(i);
            FLayerForm->SetLayerVisibleState(index, layer.Visible != 0);
            if (layer.PartsImage != nullptr) {
                std::string reference = SystemTextToUtf8(layer.PartsImage);
                std::replace(reference.begin(), reference.end(), '\\', '/');
                if (record.PathMode == 0)
                    reference = FileNameOnly(reference);
                const std::string full =
                    fs::absolute(fs::path(fileFolder) / reference).lexically_normal().string();
                std::free(layer.PartsImage);
                layer.PartsImage = nullptr;
                FChipForm->AddMapChip(full);
            }
            EditorProgress(-2, -2, "processing...");
        }

        EditorProgress(-2, -2, "finishing...");
        FView.TransEnabled = record.TransEnabled != 0;
        FView.TransColor = record.TransColor;
        FTransReserved = record.TransReserved;
        SetInvisiblePart(record.UseInvisiblePart != 0, record.InvisiblePart);
        FInvisibleReserved = record.InvisibleReserved;
        ProjectComment = record.Comment != nullptr ? SystemTextToUtf8(record.Comment) : "";
        if (record.HiddenData != nullptr)
            FPlugins->HiddenBlock.assign(record.HiddenData, record.HiddenData + record.HiddenSize);
        else
            FPlugins->HiddenBlock.clear();
        FreeImportedRecord(record);

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
        return prSuccess;
    } catch (const std::exception &error) {
        EditorProgress(-1, -1, "");
        if (handedOver)
            FreeImportedRecord(record);
        else
            FreeFailedImportRecord(record);
        FViewReady = true;
        ShowMessageBox(mkError,
                       ReplacePlaceholder(GetLangMessage(6, "The error occurred while reading %s."),
                                          FileNameOnly(path)) +
                           " (" + error.what() + ")");
        CreateNewMap(100, 100, 1, 32, 32, 8, true);
        return prInternalError;
    }
}

int32_t TMainForm::PluginProcExport(const std::string &path, const std::string &pluginFileName)
{
    // A floating block is put down first, so the file holds what the view shows.
    EndGesture();
    const std::string remembered = GetCurrentDirectoryPath();
    const TPluginList *entry = FindPlugin(*FPlugins, pluginFileName);
    SetCurrentDirectoryPath(FProgramFolder);
    TDynamicLibrary library(entry != nullptr ? FPlugins->LibraryPath(*entry) : pluginFileName);
    if (!library.IsLoaded()) {
        ShowMessageBox(mkError, GetLangMessage(20, "The plug-in cannot be loaded."));
        return prNotImplemented;
    }
    TMap *map = MapDocument();
    auto exportProc = library.Function<FilePluginExportProc>("Export");
    if (exportProc == nullptr || map == nullptr)
        return prNotImplemented;
    FNewMapLayerCount = static_cast<uint8_t>(map->LayerCount());
    const std::string pluginName = FileNameOnly(pluginFileName);
    try {
        PluginMapRecord record;
        std::memset(&record, 0, sizeof record);
        FillEditorRecord(record);
        const int32_t partsWidth = map->PartsWidth() > 0 ? map->PartsWidth() : 1;
        record.Zoom = static_cast<uint16_t>(
            std::nearbyint(static_cast<double>(FView.ViewCellWidth) / partsWidth * 256.0));
        record.Comment = ProjectComment.empty() ? nullptr : ProjectComment.data();
        record.HiddenSize = static_cast<uint32_t>(FPlugins->HiddenBlock.size());
        record.HiddenData = FPlugins->HiddenBlock.empty() ? nullptr : FPlugins->HiddenBlock.data();
        record.Width = static_cast<uint32_t>(map->Width());
        record.Height = static_cast<uint32_t>(map->Height());
        record.PartsWidth = static_cast<uint32_t>(map->PartsWidth());
        record.PartsHeight = static_cast<uint32_t>(map->PartsHeight());
        record.LayerCount = FNewMapLayerCount;
        record.BitCount = map->BitCount();
        record.PathMode = RelativePaths ? 1 : 0;
        record.AlignFlags = FNewMapAlignNotFixed ? 1 : 0;

        const fs::path targetFolder = FolderOf(path);
        std::vector<PluginLayerRecord> layers(record.LayerCount);
        std::vector<std::string> names(record.LayerCount);
        std::vector<std::string> references(record.LayerCount);
        for (uint32_t i = 0; i < record.LayerCount; ++i) {
            const int32_t index = static_cast<int32_t>(i);
            if (index >= map->LayerCount())
                throw EPluginFailure("fatal error!");
            TMapLayer &layer = map->GetLayer(index);
            names[i] = layer.Name;
            layers[i].Name = names[i].data();
            if (layer.Chip != nullptr) {
                const fs::path image = fs::absolute(fs::path(layer.Chip->FileName));
                if (RelativePaths) {
                    const fs::path relative = image.lexically_relative(targetFolder);
                    references[i] = relative.empty() ? image.string() : relative.string();
                } else {
                    references[i] = image.filename().string();
                }
                // Stored references separate folders with "\" so files travel between builds.
                std::replace(references[i].begin(), references[i].end(), '/', '\\');
                layers[i].PartsImage = references[i].data();
            }
            layers[i].Visible = layer.Visible ? 1 : 0;
            layers[i].Cells = layer.Data.data();
        }
        record.Layers = layers.empty() ? nullptr : layers.data();
        SetCurrentDirectoryPath(DocumentPath.empty() ? targetFolder.string()
                                                     : FolderOf(DocumentPath));
        const int32_t result = exportProc(&FWindowHandle, path.c_str(), &record, EditorProgress);
        EditorProgress(-1, -1, "");
        if (result == prSuccess) {
            SetCurrentDirectoryPath(remembered);
            return prSuccess;
        }
        if (result == prCancelled)
            return prCancelled;
        throw EPluginFailure(ResultText(result) + "@" + pluginName);
    } catch (const std::exception &error) {
        SetCurrentDirectoryPath(remembered);
        EditorProgress(-1, -1, "");
        show();
        ShowMessageBox(mkError,
                       ReplacePlaceholder(GetLangMessage(7, "The error occurred while writing %s."),
                                          FileNameOnly(path)) +
                           "(" + error.what() + ")");
        return prInternalError;
    }
}

bool TMainForm::OpenFile(const std::string &path)
{
    for (const TPluginList &entry : FPlugins->PluginList()) {
        SetCurrentDirectoryPath(FProgramFolder);
        int32_t supported = 1;
        {
            TDynamicLibrary library(FPlugins->LibraryPath(entry));
            auto isSupported = library.Function<FilePluginIsSupportedProc>("IsSupported");
            if (isSupported == nullptr)
                continue;
            supported = isSupported(path.c_str());
        }
        if (supported != 0)
            continue;
        const int32_t result = PluginProcImport(path, entry.FileName);
        if (result == prSuccess) {
            if ((entry.Info.Flags & pfProject) != 0)
                SetFileToProject(path);
            return true;
        }
        if (result == prNotSupported || result == prNotImplemented)
            continue;
        return false;
    }
    ShowMessageBox(
        mkError, GetLangMessage(23, "The plug-in that supported reading this file was not found."));
    return false;
}

bool TMainForm::SaveFile(const std::string &path, int32_t mask)
{
    std::string extension = fs::path(path).extension().string();
    if (!extension.empty())
        extension.erase(0, 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const TPluginList &entry : FPlugins->PluginList()) {
        {
            SetCurrentDirectoryPath(FProgramFolder);
            TDynamicLibrary library(FPlugins->LibraryPath(entry));
            if (library.Symbol("Export") == nullptr)
                continue;
        }
        if ((entry.Info.Flags & static_cast<uint32_t>(mask)) != static_cast<uint32_t>(mask))
            continue;
        if (extension.empty() || !ContainsNoCase(PatternPart(entry.Filter()), extension))
            continue;
        const int32_t result = PluginProcExport(path, entry.FileName);
        if (result == prSuccess)
            return true;
        if (result == prNotSupported || result == prNotImplemented)
            continue;
        return false;
    }
    ShowMessageBox(
        mkError, GetLangMessage(24, "The plug-in that supported writing this file was not found."));
    return false;
}

void TMainForm::SetFileToProject(const std::string &path)
{
    DocumentName = FileNameOnly(path);
    DocumentPath = path;
    if (TMap *map = MapDocument())
        map->ClearModified();
    UpdateTitle();
}

bool TMainForm::SaveMessage()
{
    TMap *map = MapDocument();
    if (map == nullptr || !map->IsModified() || !FPlugins->HasProjectPlugin())
        return true;
    const TAnswer answer = Dialogs().AskQuestion(
        "Tessella", ReplacePlaceholder(GetLangMessage(3, "Save changes to %s?"), DocumentName),
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
    request.FilterIndex = ProjectPlugin > 0 ? ProjectPlugin : 1;
    request.DefaultExt = "tzp";
    request.FileName = fs::path(DocumentName).stem().string();
    if (!DocumentPath.empty())
        request.InitialDir = FolderOf(DocumentPath);
    const std::optional<TFileDialogResult> chosen = Dialogs().AskSaveFile(request);
    if (!chosen)
        return std::nullopt;
    ProjectPlugin = chosen->FilterIndex;
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
    std::string target = DocumentPath;
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
    OpenFile(*path);
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
    if (map == nullptr || DocumentPath.empty())
        return;
    if (map->IsModified()) {
        const TAnswer answer = Dialogs().AskQuestion(
            "Tessella",
            ReplacePlaceholder(GetLangMessage(2, "Do you continue annulling the change to %s?"),
                               DocumentName),
            TQuestionButtons::OkCancel, TQuestionIcon::Warning);
        if (answer == TAnswer::Cancel)
            return;
    }
    const std::string path = DocumentPath;
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
