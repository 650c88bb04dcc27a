#include "plugins/project/RiffWriter.h"

#include "common/platform/ReplacingFile.h"
#include "plugins/project/RiffFormat.h"

bool TRiffWriter::Emit(const void *data, size_t count)
{
    if (Failed || !Output.Write(data, count))
        return Fail();
    for (int i = 0; i < Depth; ++i)
        Open[i].Written += count;
    return true;
}

bool TRiffWriter::BeginChunk(uint32_t id, uint32_t size)
{
    if (Failed || Depth == MaxDepth)
        return Fail();
    uint8_t head[8];
    StoreU32(head, id);
    StoreU32(head + 4, size);
    if (!Emit(head, sizeof head))
        return false;
    Open[Depth++] = TOpenChunk{size, 0};
    return true;
}

bool TRiffWriter::BeginList(uint32_t id, uint32_t listType, uint32_t size)
{
    uint8_t type[4];
    StoreU32(type, listType);
    return BeginChunk(id, size) && Write(type, sizeof type);
}

bool TRiffWriter::Write(const void *data, size_t count)
{
    if (Failed || Depth == 0 || Open[Depth - 1].Written + count > Open[Depth - 1].Declared)
        return Fail();
    return Emit(data, count);
}

bool TRiffWriter::EndChunk()
{
    if (Failed || Depth == 0)
        return Fail();
    const TOpenChunk chunk = Open[--Depth];
    if (chunk.Written != chunk.Declared)
        return Fail();
    if (chunk.Declared & 1) {
        const uint8_t pad = 0;
        return Emit(&pad, 1);
    }
    return true;
}

bool TRiffWriter::WriteChunk(uint32_t id, const void *data, uint32_t size)
{
    return BeginChunk(id, size) && Write(data, size) && EndChunk();
}
