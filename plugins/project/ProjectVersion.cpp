#include "plugins/project/ProjectVersion.h"

#include "common/TessellaPlugin.h"
#include "common/platform/InputFile.h"
#include "plugins/project/RiffFormat.h"

namespace
{

bool ReadHeaderAt(TInputFile &file, uint64_t offset, uint32_t &id, uint32_t &size)
{
    uint8_t head[8];
    if (!file.Seek(offset) || !file.ReadExact(head, sizeof head))
        return false;
    id = LoadU32(head);
    size = LoadU32(head + 4);
    return true;
}

// Old layouts mark their header with 0xFF placeholders and are told apart by their
// layer chunks, whose sizes are followed without pad bytes.
int OldLayoutVersion(TInputFile &file, uint64_t offset, int version)
{
    uint32_t id = 0;
    uint32_t size = 0;
    while (file.Size() - offset >= 8 && ReadHeaderAt(file, offset, id, size)) {
        if (id == ProjectChunk::Layer0)
            version = 1;
        else if (id == ProjectChunk::Layer1)
            version = 2;
        offset += 8 + static_cast<uint64_t>(size);
        if (offset > file.Size())
            break;
    }
    return version;
}

} // namespace

int RecogniseProjectVersion(const char *path)
{
    TInputFile file;
    if (!file.Open(path))
        return 1;

    uint8_t head[12];
    if (!file.ReadExact(head, sizeof head) || LoadU32(head) != ProjectChunk::Riff ||
        LoadU32(head + 8) != ProjectChunk::Form)
        return 0;

    int version = 0;
    uint64_t offset = 12;
    uint32_t id = 0;
    uint32_t size = 0;
    while (offset <= file.Size() && file.Size() - offset >= 8 &&
           ReadHeaderAt(file, offset, id, size)) {
        const uint64_t data = offset + 8;
        const uint64_t skip = static_cast<uint64_t>(size) + (size & 1);
        if (id == ProjectChunk::Header) {
            uint8_t header[PLUGIN_MAP_HEADER_SIZE] = {};
            const size_t wanted = size < sizeof header ? size : sizeof header;
            if (size > file.Remaining() || !file.ReadExact(header, wanted))
                return 0;
            if (header[17] == 0xFF && header[18] == 0xFF && header[19] == 0xFF)
                return OldLayoutVersion(file, data + size, version == 0 ? 4 : version);
        } else if (id == ProjectChunk::Version) {
            if (size > file.Remaining())
                return 0;
        } else if (id == ProjectChunk::Layer1 || id == ProjectChunk::Layer) {
            version = 3;
        }
        offset = data + skip;
    }
    return version == 0 ? 4 : version;
}
