#include "MapRecordConversion.h"

#include "FilePluginHost.h"
#include "ProjectSettingsRecord.h"
#include "TextEncoding.h"
#include "common/ImportedRecord.h"
#include "editor/map/DialogSeam.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

std::string ResolvePartsReference(const std::string &Stored, uint8_t PathMode,
                                  const std::string &FileFolder)
{
    std::string reference = Stored;
    std::replace(reference.begin(), reference.end(), '\\', '/');
    if (PathMode == 0)
        reference = fs::path(reference).filename().string();
    return fs::absolute(fs::path(FileFolder) / reference).lexically_normal().string();
}

void LoadRecordIntoMap(PluginMapRecord &Record, TProjectDocument &Document, TImportTarget &Target,
                       const std::string &FileFolder, const std::string &PluginName,
                       ProgressProc Progress)
{
    TMap *document = Document.Map();
    if (document == nullptr)
        throw ETransferFailure(Dialogs().GetLangMessage(5, "The map cannot be created."));
    TMap &Map = *document;
    Progress(-2, -2, "creating...");
    // Everything that can fail happens before the open map is touched, so a file that
    // cannot be taken over leaves the user's map as it was.
    for (uint32_t i = 0; i < Record.LayerCount; ++i)
        if (Record.Layers[i].Cells == nullptr)
            throw ETransferFailure(ResultText(prInternalError) + "@" + PluginName);
    const size_t cellCount = static_cast<size_t>(Record.Width) * Record.Height;
    std::vector<std::vector<uint16_t>> layerCells(Record.LayerCount);
    try {
        for (uint32_t i = 0; i < Record.LayerCount; ++i) {
            PluginLayerRecord &layer = Record.Layers[i];
            layerCells[i].assign(layer.Cells, layer.Cells + cellCount);
            std::free(layer.Cells);
            layer.Cells = nullptr;
        }
    } catch (const std::bad_alloc &) {
        throw ETransferFailure(
            Dialogs().GetLangMessage(15, "The layer cannot be made. Not enough memory."));
    }

    Map.ClearLayers();
    try {
        Map.Initialize(static_cast<int32_t>(Record.Width), static_cast<int32_t>(Record.Height),
                       static_cast<int32_t>(Record.PartsWidth),
                       static_cast<int32_t>(Record.PartsHeight), Record.BitCount);
    } catch (const std::exception &) {
        throw ETransferFailure(Dialogs().GetLangMessage(5, "The map cannot be created."));
    }
    Target.ResetLayers(Record);

    for (uint32_t i = 0; i < Record.LayerCount; ++i) {
        PluginLayerRecord &layer = Record.Layers[i];
        const std::string name = layer.Name != nullptr
                                     ? SystemTextToUtf8(layer.Name)
                                     : Dialogs().GetLangString(7, "Layer") + std::to_string(i);
        std::free(layer.Name);
        layer.Name = nullptr;
        if (!Target.AddLayer(name, std::move(layerCells[i])))
            throw ETransferFailure(
                Dialogs().GetLangMessage(15, "The layer cannot be made. Not enough memory."));
        const int32_t index = static_cast<int32_t>(i);
        Target.SetLayerVisible(index, layer.Visible != 0);
        if (layer.PartsImage != nullptr) {
            const std::string stored = SystemTextToUtf8(layer.PartsImage);
            std::free(layer.PartsImage);
            layer.PartsImage = nullptr;
            Target.AttachPartsImage(index, stored,
                                    ResolvePartsReference(stored, Record.PathMode, FileFolder));
        }
        Progress(-2, -2, "processing...");
    }

    Progress(-2, -2, "finishing...");
    Document.TakeSettings(ReadProjectSettings(Record));
    FreeImportedRecord(Record);
}

void TExportRecord::Build(const TProjectDocument &Document, uint8_t LayerCount,
                          const std::string &TargetPath)
{
    if (Document.Map() == nullptr)
        throw ETransferFailure("fatal error!");
    TMap &Map = *Document.Map();
    const TProjectSettings Settings = Document.Settings();
    std::memset(&Record, 0, sizeof Record);
    WriteEditorFields(Settings, Record);
    FComment = Settings.Comment;
    Record.Comment = FComment.empty() ? nullptr : FComment.data();
    FHidden = Settings.HiddenBlock;
    Record.HiddenSize = static_cast<uint32_t>(FHidden.size());
    Record.HiddenData = FHidden.empty() ? nullptr : FHidden.data();
    Record.Width = static_cast<uint32_t>(Map.Width());
    Record.Height = static_cast<uint32_t>(Map.Height());
    Record.PartsWidth = static_cast<uint32_t>(Map.PartsWidth());
    Record.PartsHeight = static_cast<uint32_t>(Map.PartsHeight());
    Record.LayerCount = LayerCount;
    Record.BitCount = Map.BitCount();
    Record.PathMode = Settings.PathMode;
    Record.AlignFlags = Settings.AlignFlags;

    const fs::path targetFolder = fs::absolute(fs::path(TargetPath)).parent_path();
    FLayers.assign(LayerCount, PluginLayerRecord{});
    FNames.assign(LayerCount, std::string());
    FReferences.assign(LayerCount, std::string());
    for (uint32_t i = 0; i < LayerCount; ++i) {
        const int32_t index = static_cast<int32_t>(i);
        if (index >= Map.LayerCount())
            throw ETransferFailure("fatal error!");
        TMapLayer &layer = Map.GetLayer(index);
        FNames[i] = layer.Name;
        FLayers[i].Name = FNames[i].data();
        if (layer.Chip != nullptr) {
            const fs::path image = fs::absolute(fs::path(layer.Chip->FileName));
            std::string &reference = FReferences[i];
            if (Settings.PathMode != 0) {
                const fs::path relative = image.lexically_relative(targetFolder);
                reference = relative.empty() ? image.string() : relative.string();
            } else {
                reference = image.filename().string();
            }
            // Stored references separate folders with "\" so files travel between builds.
            std::replace(reference.begin(), reference.end(), '/', '\\');
            FLayers[i].PartsImage = reference.data();
        }
        FLayers[i].Visible = layer.Visible ? 1 : 0;
        FLayers[i].Cells = layer.Data.data();
    }
    Record.Layers = FLayers.empty() ? nullptr : FLayers.data();
}
