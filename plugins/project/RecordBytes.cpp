#include "plugins/project/RecordBytes.h"

#include "plugins/project/RiffFormat.h"

#include <algorithm>
#include <cstring>

size_t RecordGroupSize(TRecordGroup group)
{
    switch (group) {
    case TRecordGroup::MapHeader:
        return PLUGIN_MAP_HEADER_SIZE;
    case TRecordGroup::EditorFlags:
        return 6;
    case TRecordGroup::ColorKey:
        return 6;
    case TRecordGroup::Grid:
        return 8;
    case TRecordGroup::Zoom:
        return 2;
    case TRecordGroup::Invisible:
        return 4;
    }
    return 0;
}

void EncodeRecordGroup(const PluginMapRecord &record, TRecordGroup group, uint8_t *bytes)
{
    switch (group) {
    case TRecordGroup::MapHeader:
        StoreU32(bytes + 0, record.Width);
        StoreU32(bytes + 4, record.Height);
        StoreU32(bytes + 8, record.PartsWidth);
        StoreU32(bytes + 12, record.PartsHeight);
        bytes[16] = record.LayerCount;
        bytes[17] = record.BitCount;
        bytes[18] = record.PathMode;
        bytes[19] = record.AlignFlags;
        break;
    case TRecordGroup::EditorFlags:
        std::memcpy(bytes, record.EditorFlags, 6);
        break;
    case TRecordGroup::ColorKey:
        bytes[0] = record.TransEnabled;
        StoreU32(bytes + 1, record.TransColor);
        bytes[5] = record.TransReserved;
        break;
    case TRecordGroup::Grid:
        StoreU32(bytes + 0, record.GridColor);
        StoreU32(bytes + 4, record.AGridColor);
        break;
    case TRecordGroup::Zoom:
        StoreU16(bytes, record.Zoom);
        break;
    case TRecordGroup::Invisible:
        bytes[0] = record.UseInvisiblePart;
        StoreU16(bytes + 1, record.InvisiblePart);
        bytes[3] = record.InvisibleReserved;
        break;
    }
}

void DecodeRecordGroup(PluginMapRecord &record, TRecordGroup group, const uint8_t *bytes)
{
    switch (group) {
    case TRecordGroup::MapHeader:
        record.Width = LoadU32(bytes + 0);
        record.Height = LoadU32(bytes + 4);
        record.PartsWidth = LoadU32(bytes + 8);
        record.PartsHeight = LoadU32(bytes + 12);
        record.LayerCount = bytes[16];
        record.BitCount = bytes[17];
        record.PathMode = bytes[18];
        record.AlignFlags = bytes[19];
        break;
    case TRecordGroup::EditorFlags:
        std::memcpy(record.EditorFlags, bytes, 6);
        break;
    case TRecordGroup::ColorKey:
        record.TransEnabled = bytes[0];
        record.TransColor = LoadU32(bytes + 1);
        record.TransReserved = bytes[5];
        break;
    case TRecordGroup::Grid:
        record.GridColor = LoadU32(bytes + 0);
        record.AGridColor = LoadU32(bytes + 4);
        break;
    case TRecordGroup::Zoom:
        record.Zoom = LoadU16(bytes);
        break;
    case TRecordGroup::Invisible:
        record.UseInvisiblePart = bytes[0];
        record.InvisiblePart = LoadU16(bytes + 1);
        record.InvisibleReserved = bytes[3];
        break;
    }
}

void OverlayRecordGroup(PluginMapRecord &record, TRecordGroup group, const uint8_t *data,
                        size_t count)
{
    uint8_t bytes[MaxRecordGroupSize];
    EncodeRecordGroup(record, group, bytes);
    std::memcpy(bytes, data, std::min(count, RecordGroupSize(group)));
    DecodeRecordGroup(record, group, bytes);
}
