#include "plugins/project/RiffReader.h"

#include "plugins/project/RiffFormat.h"

#include <algorithm>
#include <bit>

TRiffStatus TRiffReader::OpenForm(uint32_t formType, TRiffChunk &form)
{
    uint8_t head[12];
    if (!ReadAt(0, head, sizeof head))
        return TRiffStatus::NotFound;
    if (LoadU32(head) != ProjectChunk::Riff || LoadU32(head + 8) != formType)
        return TRiffStatus::NotFound;
    const uint64_t declaredEnd = 8 + static_cast<uint64_t>(LoadU32(head + 4));
    const uint64_t end = std::min(declaredEnd, File.Size());
    if (end < 12)
        return TRiffStatus::NotFound;
    form.Id = ProjectChunk::Riff;
    form.DataOffset = 8;
    form.Size = static_cast<uint32_t>(end - 8);
    form.ListType = formType;
    return TRiffStatus::Found;
}

TRiffStatus TRiffReader::ReadChunk(uint64_t offset, uint64_t end, TRiffChunk &chunk)
{
    if (offset >= end || end - offset < 8)
        return TRiffStatus::NotFound;
    uint8_t head[8];
    if (!ReadAt(offset, head, sizeof head))
        return TRiffStatus::ReadError;
    chunk.Id = LoadU32(head);
    chunk.Size = LoadU32(head + 4);
    chunk.DataOffset = offset + 8;
    chunk.ListType = 0;
    if (chunk.DataEnd() > end)
        return TRiffStatus::Broken;
    if (chunk.Id == ProjectChunk::List || chunk.Id == ProjectChunk::Riff) {
        uint8_t type[4];
        if (chunk.Size < 4)
            return TRiffStatus::Broken;
        if (!ReadAt(chunk.DataOffset, type, sizeof type))
            return TRiffStatus::ReadError;
        chunk.ListType = LoadU32(type);
    }
    return TRiffStatus::Found;
}

TRiffStatus TRiffReader::FindChunk(uint32_t id, uint64_t begin, uint64_t end, TRiffChunk &chunk)
{
    for (uint64_t offset = begin;; offset = chunk.End()) {
        const TRiffStatus status = ReadChunk(offset, end, chunk);
        if (status != TRiffStatus::Found || chunk.Id == id)
            return status;
    }
}

TRiffStatus TRiffReader::FindList(uint32_t listType, uint64_t begin, uint64_t end, TRiffChunk &list)
{
    for (uint64_t offset = begin;; offset = list.End()) {
        const TRiffStatus status = ReadChunk(offset, end, list);
        if (status != TRiffStatus::Found)
            return status;
        if (list.Id == ProjectChunk::List && list.ListType == listType)
            return status;
    }
}

TRiffStatus TRiffReader::CheckChunks(uint64_t begin, uint64_t end)
{
    TRiffChunk chunk;
    for (uint64_t offset = begin;; offset = chunk.End()) {
        const TRiffStatus status = ReadChunk(offset, end, chunk);
        if (status == TRiffStatus::NotFound)
            return TRiffStatus::Found;
        if (status != TRiffStatus::Found)
            return status;
    }
}

bool TRiffReader::ReadAt(uint64_t offset, void *buffer, size_t count)
{
    return File.Seek(offset) && File.ReadExact(buffer, count);
}

void CellsFromLittleEndian(uint16_t *cells, size_t count)
{
    if constexpr (std::endian::native == std::endian::big) {
        for (size_t i = 0; i < count; ++i)
            cells[i] = static_cast<uint16_t>(cells[i] << 8 | cells[i] >> 8);
    } else {
        (void)cells;
        (void)count;
    }
}
