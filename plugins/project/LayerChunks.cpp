#include "plugins/project/LayerChunks.h"

#include "common/platform/LargeBuffer.h"

#include "plugins/project/RiffFormat.h"

char *ReadChunkText(TRiffReader &riff, const TRiffChunk &chunk, int32_t &result)
{
    char *buffer = static_cast<char *>(TessellaAlloc(uint64_t{chunk.Size} + 1));
    if (buffer == nullptr)
        result = prNoMemory;
    else if (!riff.ReadAt(chunk.DataOffset, buffer, chunk.Size))
        result = prBrokenFile;
    else
        result = prSuccess;
    return buffer;
}

int32_t ReadLayerChunks(TRiffReader &riff, uint64_t begin, uint64_t end, uint64_t cellCount,
                        uint8_t visibleWhenMissing, PluginLayerRecord &layer)
{
    if (riff.CheckChunks(begin, end) != TRiffStatus::Found)
        return prBrokenFile;

    TRiffChunk chunk;
    int32_t result = prSuccess;
    if (riff.FindChunk(ProjectChunk::LayerName, begin, end, chunk) == TRiffStatus::Found) {
        layer.Name = ReadChunkText(riff, chunk, result);
        if (result != prSuccess)
            return result;
    }
    if (riff.FindChunk(ProjectChunk::LayerImage, begin, end, chunk) == TRiffStatus::Found) {
        layer.PartsImage = ReadChunkText(riff, chunk, result);
        if (result != prSuccess)
            return result;
    }
    layer.Visible = visibleWhenMissing;
    if (riff.FindChunk(ProjectChunk::LayerVisible, begin, end, chunk) == TRiffStatus::Found &&
        chunk.Size >= 1) {
        uint8_t visible = 0;
        if (!riff.ReadAt(chunk.DataOffset, &visible, 1))
            return prBrokenFile;
        layer.Visible = visible;
    }

    // Cells of any other size than the map's would be read past or left short.
    if (cellCount > UINT32_MAX / 2 ||
        riff.FindChunk(ProjectChunk::LayerData, begin, end, chunk) != TRiffStatus::Found ||
        chunk.Size != cellCount * 2)
        return prBrokenFile;
    auto *cells = static_cast<uint16_t *>(TessellaAlloc(chunk.Size));
    if (cells == nullptr)
        return prNoMemory;
    layer.Cells = cells;
    AdviseHugePages(cells, chunk.Size);
    if (!riff.ReadAt(chunk.DataOffset, cells, chunk.Size))
        return prBrokenFile;
    CellsFromLittleEndian(cells, static_cast<size_t>(cellCount));
    return prSuccess;
}
