// Version 3: top-level chunks read one after another, pad bytes honoured; layers are
// plain "LAY_" chunks holding sub-chunks, or "LAY1" byte streams.
#include "common/ImportedRecord.h"
#include "plugins/project/FieldReader.h"
#include "plugins/project/LayerChunks.h"
#include "plugins/project/ProjectReaders.h"
#include "plugins/project/RecordBytes.h"
#include "plugins/project/RiffFormat.h"
#include "plugins/project/RiffReader.h"

#include <algorithm>

namespace
{

class TVersion3Reader
{
public:
    TVersion3Reader(TInputFile &file, PluginMapRecord &record)
        : File(file), Riff(file), Record(record), Owned(&record)
    {
    }

    int32_t Read(ProgressProc progress)
    {
        uint8_t head[12];
        if (!File.ReadExact(head, sizeof head))
            return prFileError;
        if (LoadU32(head) != ProjectChunk::Riff || LoadU32(head + 8) != ProjectChunk::Form)
            return prNotSupported;

        TRiffChunk chunk;
        for (uint64_t offset = 12;; offset = chunk.End()) {
            const TRiffStatus status = Riff.ReadChunk(offset, File.Size(), chunk);
            if (status == TRiffStatus::NotFound)
                break;
            if (status == TRiffStatus::Broken)
                return prBrokenFile;
            if (status != TRiffStatus::Found)
                return prFileError;
            const int32_t result = ReadChunk(chunk, progress);
            if (result != prSuccess)
                return result;
        }
        // A file that ends before its header or before all its layers is cut short.
        if (!HeaderSeen || Filled < Record.LayerCount)
            return prBrokenFile;
        Owned.Commit();
        return prSuccess;
    }

private:
    int32_t ReadChunk(const TRiffChunk &chunk, ProgressProc progress)
    {
        switch (chunk.Id) {
        case ProjectChunk::Header:
            return ReadHeader(chunk);
        case ProjectChunk::Zoom:
            return ReadGroup(chunk, TRecordGroup::Zoom, RecordGroupSize(TRecordGroup::Zoom));
        case ProjectChunk::EditorEnv:
            return ReadGroup(chunk, TRecordGroup::EditorFlags, 6);
        case ProjectChunk::OldEnv:
            return ReadGroup(chunk, TRecordGroup::EditorFlags, 4);
        case ProjectChunk::Grid:
            return ReadGroup(chunk, TRecordGroup::Grid, RecordGroupSize(TRecordGroup::Grid));
        case ProjectChunk::ColorKey:
            return ReadGroup(chunk, TRecordGroup::ColorKey, 6);
        case ProjectChunk::Invisible:
            return ReadGroup(chunk, TRecordGroup::Invisible, 4);
        case ProjectChunk::Comment:
            return ReadComment(chunk);
        case ProjectChunk::Hidden:
            return ReadHidden(chunk);
        case ProjectChunk::Layer:
        case ProjectChunk::Layer1:
            return ReadLayer(chunk, progress);
        default:
            return prSuccess;
        }
    }

    int32_t ReadHeader(const TRiffChunk &chunk)
    {
        if (HeaderSeen)
            return prBrokenFile;
        uint8_t header[PLUGIN_MAP_HEADER_SIZE];
        const size_t count = std::min<size_t>(chunk.Size, sizeof header);
        if (!Riff.ReadAt(chunk.DataOffset, header, count))
            return prFileError;
        OverlayRecordGroup(Record, TRecordGroup::MapHeader, header, count);
        if (!Owned.AllocateLayers(Record.LayerCount))
            return prNoMemory;
        HeaderSeen = true;
        return prSuccess;
    }

    // The first limit bytes of the chunk over the group; the excess is ignored.
    int32_t ReadGroup(const TRiffChunk &chunk, TRecordGroup group, size_t limit)
    {
        uint8_t bytes[MaxRecordGroupSize];
        const size_t count = std::min<size_t>(chunk.Size, limit);
        if (!Riff.ReadAt(chunk.DataOffset, bytes, count))
            return prFileError;
        OverlayRecordGroup(Record, group, bytes, count);
        return prSuccess;
    }

    int32_t ReadComment(const TRiffChunk &chunk)
    {
        int32_t result = prSuccess;
        char *comment = ReadChunkText(Riff, chunk, result);
        if (comment != nullptr)
            Owned.AdoptComment(comment);
        return result;
    }

    // The whole chunk is the pass-through block here, without a count in front.
    int32_t ReadHidden(const TRiffChunk &chunk)
    {
        if (chunk.Size == 0) {
            Owned.AdoptHidden(nullptr, 0);
            return prSuccess;
        }
        auto *data = static_cast<uint8_t *>(TessellaAlloc(chunk.Size));
        if (data == nullptr)
            return prNoMemory;
        Owned.AdoptHidden(data, chunk.Size);
        return Riff.ReadAt(chunk.DataOffset, data, chunk.Size) ? prSuccess : prFileError;
    }

    int32_t ReadLayer(const TRiffChunk &chunk, ProgressProc progress)
    {
        if (!HeaderSeen)
            return prBrokenFile;
        if (Filled >= Record.LayerCount)
            return prSuccess; // layers beyond the header's count are ignored
        PluginLayerRecord &layer = Owned.Layer(Filled);
        const uint64_t cellCount = uint64_t{Record.Width} * Record.Height;
        const int32_t result =
            chunk.Id == ProjectChunk::Layer
                ? ReadLayerChunks(Riff, chunk.DataOffset, chunk.DataEnd(), cellCount, 1, layer)
                : ReadLayerStream(chunk, cellCount, layer);
        if (result != prSuccess)
            return result;
        if (progress(static_cast<int32_t>(Filled), Record.LayerCount, "reading...") == 0)
            return prCancelled;
        ++Filled;
        return prSuccess;
    }

    // "LAY1": name, reference, transparent part number, cells; always visible.
    int32_t ReadLayerStream(const TRiffChunk &chunk, uint64_t cellCount, PluginLayerRecord &layer)
    {
        if (!File.Seek(chunk.DataOffset))
            return prFileError;
        TFieldReader fields(File, chunk.DataEnd());
        std::string name;
        std::string reference;
        uint8_t transparentPart = 0;
        if (!fields.ReadString(name) || !fields.ReadString(reference) ||
            !fields.ReadU8(transparentPart) || cellCount > fields.Remaining() / 2)
            return prBrokenFile;
        layer.Name = TImportedRecord::CopyText(name.data(), name.size());
        layer.PartsImage = TImportedRecord::CopyText(reference.data(), reference.size());
        auto *cells = static_cast<uint16_t *>(TessellaAlloc(cellCount * 2));
        layer.Cells = cells;
        if (layer.Name == nullptr || layer.PartsImage == nullptr || cells == nullptr)
            return prNoMemory;
        if (!fields.ReadBytes(cells, cellCount * 2))
            return prBrokenFile;
        CellsFromLittleEndian(cells, static_cast<size_t>(cellCount));
        Record.InvisiblePart = transparentPart;
        layer.Visible = 1;
        return prSuccess;
    }

    TInputFile &File;
    TRiffReader Riff;
    PluginMapRecord &Record;
    TImportedRecord Owned;
    bool HeaderSeen = false;
    size_t Filled = 0;
};

} // namespace

int32_t ReadProjectVersion3(const char *path, PluginMapRecord &record, ProgressProc progress)
{
    TInputFile file;
    if (!file.Open(path))
        return prFileError;
    TVersion3Reader reader(file, record);
    return reader.Read(progress);
}
