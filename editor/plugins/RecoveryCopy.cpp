#include "RecoveryCopy.h"

#include "ProjectSettingsRecord.h"
#include "common/ImportedRecord.h"
#include "common/platform/DynamicLibrary.h"

#include <algorithm>
#include <cstring>

namespace
{

// The plug-in's progress callback carries no context: the flag of the write running on
// this thread is found here.
thread_local const std::atomic<bool> *RunningWriteCancel = nullptr;

int32_t WriteProgress(int32_t, int32_t, const char *)
{
    return RunningWriteCancel != nullptr && RunningWriteCancel->load() ? 0 : 1;
}

intptr_t NoMessages(TessellaWindow *, uint32_t, uintptr_t, intptr_t)
{
    return 0;
}

int32_t NoFileChosen(TessellaWindow *, const char *, const char *, const char *, char *, uint32_t)
{
    return 0;
}

// Nobody is asked anything while a copy is written or checked.
TessellaWindow QuietWindow()
{
    TessellaWindow window{};
    window.StructSize = sizeof window;
    window.SendMessage = NoMessages;
    window.AskOpenFileName = NoFileChosen;
    window.ShowNotice = nullptr;
    return window;
}

} // namespace

int32_t WriteRecoveryCopy(const TRecoverySnapshot &Snapshot, const std::string &PluginLibrary,
                          const std::string &CopyPath, const std::atomic<bool> *Cancel)
{
    if (Snapshot.Layers.empty() || Snapshot.Layers.size() > 255 || Snapshot.Width <= 0 ||
        Snapshot.Height <= 0)
        return prBadParameter;
    TDynamicLibrary library(PluginLibrary);
    auto exportProc = library.Function<FilePluginExportProc>("Export");
    if (exportProc == nullptr)
        return prNotImplemented;

    PluginMapRecord record;
    std::memset(&record, 0, sizeof record);
    WriteEditorFields(Snapshot.Settings, record);
    record.Width = static_cast<uint32_t>(Snapshot.Width);
    record.Height = static_cast<uint32_t>(Snapshot.Height);
    record.PartsWidth = static_cast<uint32_t>(Snapshot.PartsWidth);
    record.PartsHeight = static_cast<uint32_t>(Snapshot.PartsHeight);
    record.LayerCount = static_cast<uint8_t>(Snapshot.Layers.size());
    record.BitCount = Snapshot.BitCount;
    // References relative to the copy's folder would lead nowhere: absolute ones resolve
    // from any folder. The document's own way of storing them is in the side record.
    record.PathMode = 1;
    record.AlignFlags = Snapshot.Settings.AlignFlags;
    std::string comment = Snapshot.Settings.Comment;
    record.Comment = comment.empty() ? nullptr : comment.data();
    std::vector<uint8_t> hidden = Snapshot.Settings.HiddenBlock;
    record.HiddenSize = static_cast<uint32_t>(hidden.size());
    record.HiddenData = hidden.empty() ? nullptr : hidden.data();

    std::vector<PluginLayerRecord> layers(Snapshot.Layers.size());
    std::vector<std::string> names(Snapshot.Layers.size());
    std::vector<std::string> images(Snapshot.Layers.size());
    const size_t cellCount = static_cast<size_t>(Snapshot.Width) * Snapshot.Height;
    for (size_t i = 0; i < layers.size(); ++i) {
        const TRecoveryLayer &layer = Snapshot.Layers[i];
        if (!layer.Cells || layer.Cells->size() != cellCount)
            return prBadParameter;
        names[i] = layer.Name;
        layers[i].Name = names[i].data();
        if (!layer.PartsImage.empty()) {
            images[i] = layer.PartsImage;
            // Stored references separate folders with "\" (see the project writer).
            std::replace(images[i].begin(), images[i].end(), '/', '\\');
            layers[i].PartsImage = images[i].data();
        }
        layers[i].Visible = layer.Visible ? 1 : 0;
        // The plug-in only reads the cells; the copy is shared and never changed.
        layers[i].Cells = const_cast<uint16_t *>(layer.Cells->data());
    }
    record.Layers = layers.data();

    TessellaWindow window = QuietWindow();
    RunningWriteCancel = Cancel;
    const int32_t result = exportProc(&window, CopyPath.c_str(), &record, WriteProgress);
    RunningWriteCancel = nullptr;
    return result;
}

int32_t CheckRecoveryCopy(const std::string &PluginLibrary, const std::string &CopyPath)
{
    TDynamicLibrary library(PluginLibrary);
    auto importProc = library.Function<FilePluginImportProc>("Import");
    if (importProc == nullptr)
        return prNotImplemented;
    PluginMapRecord record;
    std::memset(&record, 0, sizeof record);
    TessellaWindow window = QuietWindow();
    int32_t result = importProc(&window, CopyPath.c_str(), &record, WriteProgress);
    if (result != prSuccess) {
        FreeFailedImportRecord(record);
        return result;
    }
    if (record.Width == 0 || record.Height == 0 || record.PartsWidth == 0 ||
        record.PartsHeight == 0 || record.LayerCount == 0 || record.Layers == nullptr)
        result = prBrokenFile;
    for (uint32_t i = 0; result == prSuccess && i < record.LayerCount; ++i)
        if (record.Layers[i].Cells == nullptr)
            result = prBrokenFile;
    FreeImportedRecord(record);
    return result;
}
