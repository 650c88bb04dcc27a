// Version 4: chunks looked up by identifier anywhere in the form, layers in "LAY_" lists.
#include "common/ImportedRecord.h"
#include "plugins/project/LayerChunks.h"
#include "plugins/project/ProjectReaders.h"
#include "plugins/project/RecordBytes.h"
#include "plugins/project/RiffFormat.h"
#include "plugins/project/RiffReader.h"

#include <algorithm>

namespace
{

int32_t StatusResult(TRiffStatus status)
{
    return status == TRiffStatus::Broken ? prBrokenFile : prFileError;
}

class TVersion4Reader
{
public:
    TVersion4Reader(TInputFile &file, PluginMapRecord &record)
        : Riff(file), Record(record), Owned(&record)
    {
    }

    int32_t Read(ProgressProc progress)
    {
        if (Riff.OpenForm(ProjectChunk::Form, Form) != TRiffStatus::Found)
            return prFileError;
        const uint64_t begin = Form.ContentOffset();
        const uint64_t end = TRiffReader::FormEnd(Form);
        if (Riff.CheckChunks(begin, end) != TRiffStatus::Found)
            return prBrokenFile;

        int32_t result = ReadHeader(begin, end);
        if (result != prSuccess)
            return result;
        if (!Owned.AllocateLayers(Record.LayerCount))
            return prNoMemory;
        if ((result = ReadGlobalChunks(begin, end)) != prSuccess)
            return result;

        uint64_t next = begin;
        for (uint32_t i = 0; i < Record.LayerCount; ++i) {
            TRiffChunk list;
            const TRiffStatus status = Riff.FindList(ProjectChunk::Layer, next, end, list);
            if (status == TRiffStatus::NotFound)
                return prNotSupported;
            if (status != TRiffStatus::Found)
                return StatusResult(status);
            if ((result = ReadLayer(list, Owned.Layer(i))) != prSuccess)
                return result;
            next = list.End();
            if (progress(static_cast<int32_t>(i), Record.LayerCount, "reading...") == 0)
                return prCancelled;
        }
        Owned.Commit();
        return prSuccess;
    }

private:
    int32_t ReadHeader(uint64_t begin, uint64_t end)
    {
        TRiffChunk chunk;
        const TRiffStatus status = Riff.FindChunk(ProjectChunk::Header, begin, end, chunk);
        if (status != TRiffStatus::Found)
            return prFileError;
        if (chunk.Size < PLUGIN_MAP_HEADER_SIZE)
            return prBrokenFile;
        uint8_t header[PLUGIN_MAP_HEADER_SIZE];
        if (!Riff.ReadAt(chunk.DataOffset, header, sizeof header))
            return prFileError;
        DecodeRecordGroup(Record, TRecordGroup::MapHeader, header);
        if (Record.AlignFlags == 255)
            Record.AlignFlags = 0;
        return prSuccess;
    }

    int32_t ReadGlobalChunks(uint64_t begin, uint64_t end)
    {
        struct TGroupChunk {
            uint32_t Id;
            TRecordGroup Group;
        };
        static const TGroupChunk groups[] = {
            {ProjectChunk::EditorEnv, TRecordGroup::EditorFlags},
            {ProjectChunk::Grid, TRecordGroup::Grid},
            {ProjectChunk::ColorKey, TRecordGroup::ColorKey},
            {ProjectChunk::Invisible, TRecordGroup::Invisible},
            {ProjectChunk::Zoom, TRecordGroup::Zoom},
        };
        TRiffChunk chunk;
        for (const TGroupChunk &group : groups) {
            // Missing chunks leave what the host put in the record.
            if (Riff.FindChunk(group.Id, begin, end, chunk) != TRiffStatus::Found)
                continue;
            uint8_t bytes[MaxRecordGroupSize];
            const size_t count = std::min<size_t>(chunk.Size, RecordGroupSize(group.Group));
            if (!Riff.ReadAt(chunk.DataOffset, bytes, count))
                return prFileError;
            OverlayRecordGroup(Record, group.Group, bytes, count);
        }

        if (Riff.FindChunk(ProjectChunk::Hidden, begin, end, chunk) == TRiffStatus::Found) {
            const int32_t result = ReadHidden(chunk);
            if (result != prSuccess)
                return result;
        }
        if (Riff.FindChunk(ProjectChunk::Comment, begin, end, chunk) == TRiffStatus::Found) {
            int32_t result = prSuccess;
            char *comment = ReadChunkText(Riff, chunk, result);
            if (comment != nullptr)
                Owned.AdoptComment(comment);
            if (result != prSuccess)
                return result;
        }
        return prSuccess;
    }

    // "Hidn" holds a uint32 count and then that many bytes; a count the chunk cannot
    // hold is a broken file, never an allocation.
    int32_t ReadHidden(const TRiffChunk &chunk)
    {
        uint8_t count[4];
        if (chunk.Size < sizeof count)
            return prBrokenFile;
        if (!Riff.ReadAt(chunk.DataOffset, count, sizeof count))
            return prFileError;
        const uint32_t size = LoadU32(count);
        if (size > chunk.Size - sizeof count)
            return prBrokenFile;
        if (size == 0) {
            Owned.AdoptHidden(nullptr, 0);
            return prSuccess;
        }
        auto *data = static_cast<uint8_t *>(TessellaAlloc(size));
        if (data == nullptr)
            return prNoMemory;
        Owned.AdoptHidden(data, size);
        return Riff.ReadAt(chunk.DataOffset + sizeof count, data, size) ? prSuccess : prFileError;
    }

    int32_t ReadLayer(const TRiffChunk &list, PluginLayerRecord &layer)
    {
        const uint64_t cellCount = uint64_t{Record.Width} * Record.Height;
        return ReadLayerChunks(Riff, list.ContentOffset(), list.DataEnd(), cellCount, 0, layer);
    }

    TRiffReader Riff;
    PluginMapRecord &Record;
    TImportedRecord Owned;
    TRiffChunk Form;
};

} // namespace

int32_t ReadProjectVersion4(const char *path, PluginMapRecord &record, ProgressProc progress)
{
    TInputFile file;
    if (!file.Open(path))
        return prFileError;
    TVersion4Reader reader(file, record);
    return reader.Read(progress);
}
