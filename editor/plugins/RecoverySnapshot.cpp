#include "RecoverySnapshot.h"

#include <cstring>
#include <filesystem>

namespace
{

bool SameSettings(const TProjectSettings &A, const TProjectSettings &B)
{
    return A.PathMode == B.PathMode && A.AlignFlags == B.AlignFlags &&
           std::memcmp(A.EditorFlags, B.EditorFlags, sizeof A.EditorFlags) == 0 &&
           A.TransEnabled == B.TransEnabled && A.TransColor == B.TransColor &&
           A.TransReserved == B.TransReserved && A.UseInvisiblePart == B.UseInvisiblePart &&
           A.InvisiblePart == B.InvisiblePart && A.InvisibleReserved == B.InvisibleReserved &&
           A.GridColor == B.GridColor && A.AGridColor == B.AGridColor && A.Zoom == B.Zoom &&
           A.Comment == B.Comment && A.HiddenBlock == B.HiddenBlock;
}

} // namespace

bool TRecoverySnapshot::SameStateAs(const TRecoverySnapshot &Other) const
{
    return Width == Other.Width && Height == Other.Height && PartsWidth == Other.PartsWidth &&
           PartsHeight == Other.PartsHeight && BitCount == Other.BitCount &&
           SameSettings(Settings, Other.Settings) && Layers == Other.Layers &&
           Record == Other.Record;
}

TRecoverySnapshot DescribeProject(const TProjectDocument &Document)
{
    TRecoverySnapshot snapshot;
    const TMap *map = Document.Map();
    if (map == nullptr)
        return snapshot;
    snapshot.Width = map->Width();
    snapshot.Height = map->Height();
    snapshot.PartsWidth = map->PartsWidth();
    snapshot.PartsHeight = map->PartsHeight();
    snapshot.BitCount = map->BitCount();
    snapshot.Settings = Document.Settings();
    snapshot.Record.DocumentName = Document.DocumentName;
    snapshot.Record.DocumentPath = Document.DocumentPath;
    snapshot.Record.DocumentPlugin = Document.DocumentPlugin;
    snapshot.Record.ProjectPlugin = Document.ProjectPlugin;
    snapshot.Record.PathMode = snapshot.Settings.PathMode;
    snapshot.Layers.resize(static_cast<size_t>(map->LayerCount()));
    for (int32_t i = 0; i < map->LayerCount(); ++i) {
        const TMapLayer &layer = map->GetLayer(i);
        TRecoveryLayer &copy = snapshot.Layers[static_cast<size_t>(i)];
        copy.Name = layer.Name;
        copy.Visible = layer.Visible;
        copy.Revision = layer.Revision;
        // Absolute now, on the window's thread: the current folder changes with each file
        // operation, and the copy lives in a folder of its own.
        if (layer.Chip != nullptr && !layer.Chip->FileName.empty()) {
            std::error_code error;
            const std::filesystem::path image =
                std::filesystem::absolute(layer.Chip->FileName, error);
            copy.PartsImage = error ? layer.Chip->FileName : image.lexically_normal().string();
        }
    }
    return snapshot;
}

const TRecoveryLayer *TRecoverySnapshotTaker::Kept(const TRecoveryLayer &Layer,
                                                   size_t CellCount) const
{
    for (const TRecoveryLayer &kept : FLast)
        if (kept.Revision == Layer.Revision && kept.Cells && kept.Cells->size() == CellCount)
            return &kept;
    return nullptr;
}

bool TRecoverySnapshotTaker::CopyAhead(const TProjectDocument &Document, size_t MaxBytes)
{
    const TMap *map = Document.Map();
    if (map == nullptr)
        return true;
    const size_t cellCount = static_cast<size_t>(map->CellCount());
    std::vector<TRecoveryLayer> current;
    size_t copiedBytes = 0;
    bool complete = true;
    for (int32_t i = 0; i < map->LayerCount(); ++i) {
        const TMapLayer &layer = map->GetLayer(i);
        TRecoveryLayer entry;
        entry.Revision = layer.Revision;
        if (const TRecoveryLayer *kept = Kept(entry, cellCount)) {
            current.push_back(*kept);
            continue;
        }
        if (copiedBytes > 0 && copiedBytes + cellCount * sizeof(uint16_t) > MaxBytes) {
            complete = false;
            continue;
        }
        entry.Cells = std::make_shared<const std::vector<uint16_t>>(layer.Data);
        copiedBytes += cellCount * sizeof(uint16_t);
        current.push_back(std::move(entry));
    }
    // Copies of layers that changed again or went are dropped with the old list.
    FLast = std::move(current);
    return complete;
}

TRecoverySnapshot TRecoverySnapshotTaker::Take(const TProjectDocument &Document)
{
    TRecoverySnapshot snapshot = DescribeProject(Document);
    const TMap *map = Document.Map();
    FCopied = 0;
    if (map == nullptr)
        return snapshot;
    const size_t cellCount = static_cast<size_t>(map->CellCount());
    for (size_t i = 0; i < snapshot.Layers.size(); ++i) {
        TRecoveryLayer &layer = snapshot.Layers[i];
        if (const TRecoveryLayer *kept = Kept(layer, cellCount))
            layer.Cells = kept->Cells;
        if (!layer.Cells) {
            layer.Cells = std::make_shared<const std::vector<uint16_t>>(
                map->GetLayer(static_cast<int32_t>(i)).Data);
            ++FCopied;
        }
    }
    FLast = snapshot.Layers;
    return snapshot;
}
