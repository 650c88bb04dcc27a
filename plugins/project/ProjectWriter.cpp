#include "plugins/project/ProjectWriter.h"

#include "common/platform/ReplacingFile.h"
#include "plugins/project/RecordBytes.h"
#include "plugins/project/RiffFormat.h"
#include "plugins/project/RiffWriter.h"

#include <bit>
#include <cstring>
#include <vector>

namespace
{

const uint8_t FormatVersion[4] = {1, 6, 1, 0x66};
constexpr uint64_t MaxChunkSize = 0xFFFFFFFFu;

// The groups written after "UMFh" and "Ver_", each as one chunk, in file order.
struct TGroupChunk {
    uint32_t Id;
    TRecordGroup Group;
};
const TGroupChunk GroupChunks[] = {
    {ProjectChunk::EditorEnv, TRecordGroup::EditorFlags},
    {ProjectChunk::ColorKey, TRecordGroup::ColorKey},
    {ProjectChunk::Grid, TRecordGroup::Grid},
    {ProjectChunk::Zoom, TRecordGroup::Zoom},
    {ProjectChunk::Invisible, TRecordGroup::Invisible},
};

struct TLayerPlan {
    const PluginLayerRecord *Layer;
    uint64_t NameLength;
    uint64_t ImageLength;
    uint64_t ListSize; // data size of the "LIST": type and sub-chunks
};

struct TFilePlan {
    uint64_t CellBytes = 0;
    uint64_t CommentLength = 0;
    bool HasHidden = false;
    bool HasComment = false;
    std::vector<TLayerPlan> Layers;
    uint64_t FormSize = 0;
};

// Every size of the file, computed before anything is written; false when the record
// cannot be written (missing cells) or the file would not fit the 32-bit sizes.
int32_t PlanFile(const PluginMapRecord &record, TFilePlan &plan)
{
    if (record.LayerCount != 0 && record.Layers == nullptr)
        return prBadParameter;
    plan.CellBytes = static_cast<uint64_t>(record.Width) * record.Height * 2;
    if (record.LayerCount != 0 && plan.CellBytes > MaxChunkSize)
        return prFileError;

    uint64_t form = 4;
    form += RiffChunkSpan(PLUGIN_MAP_HEADER_SIZE) + RiffChunkSpan(sizeof FormatVersion);
    for (const TGroupChunk &chunk : GroupChunks)
        form += RiffChunkSpan(RecordGroupSize(chunk.Group));
    plan.HasHidden = record.HiddenSize > 0 && record.HiddenData != nullptr;
    if (plan.HasHidden)
        form += RiffChunkSpan(4 + static_cast<uint64_t>(record.HiddenSize));
    plan.HasComment = record.Comment != nullptr;
    if (plan.HasComment) {
        plan.CommentLength = std::strlen(record.Comment);
        form += RiffChunkSpan(plan.CommentLength);
    }

    for (uint32_t i = 0; i < record.LayerCount; ++i) {
        const PluginLayerRecord &layer = record.Layers[i];
        if (layer.Cells == nullptr && plan.CellBytes != 0)
            return prBadParameter;
        TLayerPlan entry{&layer, 0, 0, 4};
        entry.NameLength = layer.Name != nullptr ? std::strlen(layer.Name) : 0;
        entry.ListSize += RiffChunkSpan(entry.NameLength);
        if (layer.PartsImage != nullptr) {
            entry.ImageLength = std::strlen(layer.PartsImage);
            entry.ListSize += RiffChunkSpan(entry.ImageLength);
        }
        entry.ListSize += RiffChunkSpan(1) + RiffChunkSpan(plan.CellBytes);
        if (entry.NameLength > MaxChunkSize || entry.ImageLength > MaxChunkSize ||
            entry.ListSize > MaxChunkSize)
            return prFileError;
        form += RiffChunkSpan(entry.ListSize);
        plan.Layers.push_back(entry);
    }
    if (plan.CommentLength > MaxChunkSize ||
        (plan.HasHidden && 4 + uint64_t{record.HiddenSize} > MaxChunkSize) || form > MaxChunkSize)
        return prFileError;
    plan.FormSize = form;
    return prSuccess;
}

bool WriteGroup(TRiffWriter &riff, uint32_t id, const PluginMapRecord &record, TRecordGroup group)
{
    uint8_t bytes[MaxRecordGroupSize];
    EncodeRecordGroup(record, group, bytes);
    return riff.WriteChunk(id, bytes, static_cast<uint32_t>(RecordGroupSize(group)));
}

bool WriteCells(TRiffWriter &riff, const uint16_t *cells, uint64_t bytes)
{
    if constexpr (std::endian::native == std::endian::little) {
        return riff.Write(cells, static_cast<size_t>(bytes));
    } else {
        uint8_t buffer[4096];
        const uint64_t count = bytes / 2;
        for (uint64_t i = 0; i < count;) {
            size_t n = 0;
            for (; n < sizeof buffer / 2 && i < count; ++n, ++i)
                StoreU16(buffer + 2 * n, cells[i]);
            if (!riff.Write(buffer, 2 * n))
                return false;
        }
        return true;
    }
}

bool WriteLayer(TRiffWriter &riff, const TLayerPlan &plan, uint64_t cellBytes)
{
    const PluginLayerRecord &layer = *plan.Layer;
    const uint8_t visible = layer.Visible;
    bool ok = riff.BeginList(ProjectChunk::List, ProjectChunk::Layer,
                             static_cast<uint32_t>(plan.ListSize));
    ok = ok && riff.WriteChunk(ProjectChunk::LayerName, layer.Name,
                               static_cast<uint32_t>(plan.NameLength));
    if (layer.PartsImage != nullptr)
        ok = ok && riff.WriteChunk(ProjectChunk::LayerImage, layer.PartsImage,
                                   static_cast<uint32_t>(plan.ImageLength));
    ok = ok && riff.WriteChunk(ProjectChunk::LayerVisible, &visible, 1);
    ok = ok && riff.BeginChunk(ProjectChunk::LayerData, static_cast<uint32_t>(cellBytes));
    ok = ok && WriteCells(riff, layer.Cells, cellBytes);
    ok = ok && riff.EndChunk();
    return ok && riff.EndChunk();
}

} // namespace

int32_t WriteProjectFile(const char *path, const PluginMapRecord &record, ProgressProc progress)
{
    TFilePlan plan;
    const int32_t planned = PlanFile(record, plan);
    if (planned != prSuccess)
        return planned;

    TReplacingFile output;
    if (!output.Open(path))
        return prFileError;
    TRiffWriter riff(output);

    bool ok = riff.BeginList(ProjectChunk::Riff, ProjectChunk::Form,
                             static_cast<uint32_t>(plan.FormSize));
    ok = ok && WriteGroup(riff, ProjectChunk::Header, record, TRecordGroup::MapHeader);
    ok = ok && riff.WriteChunk(ProjectChunk::Version, FormatVersion, sizeof FormatVersion);
    for (const TGroupChunk &chunk : GroupChunks)
        ok = ok && WriteGroup(riff, chunk.Id, record, chunk.Group);
    if (plan.HasHidden) {
        uint8_t count[4];
        StoreU32(count, record.HiddenSize);
        ok = ok && riff.BeginChunk(ProjectChunk::Hidden, 4 + record.HiddenSize);
        ok = ok && riff.Write(count, sizeof count);
        ok = ok && riff.Write(record.HiddenData, record.HiddenSize);
        ok = ok && riff.EndChunk();
    }
    if (plan.HasComment)
        ok = ok && riff.WriteChunk(ProjectChunk::Comment, record.Comment,
                                   static_cast<uint32_t>(plan.CommentLength));
    if (!ok)
        return prFileError;

    for (size_t i = 0; i < plan.Layers.size(); ++i) {
        if (!WriteLayer(riff, plan.Layers[i], plan.CellBytes))
            return prFileError;
        if (progress(static_cast<int32_t>(i), record.LayerCount, "writing...") == 0)
            return prCancelled;
    }
    if (!riff.EndChunk() || !output.Commit())
        return prFileError;
    return prSuccess;
}
