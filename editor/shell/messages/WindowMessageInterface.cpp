#include "WindowMessageInterface.h"

#include "editor/map/MapDataUnit.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace
{

// Little-endian fields of the caller's records. Records may sit at any address, so every
// access goes through memcpy of bytes.
int32_t ReadInt32(const unsigned char *record, size_t offset)
{
    unsigned char bytes[4];
    std::memcpy(bytes, record + offset, sizeof bytes);
    const uint32_t value = uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
                           uint32_t{bytes[3]} << 24;
    return static_cast<int32_t>(value);
}

uint8_t ReadUInt8(const unsigned char *record, size_t offset)
{
    uint8_t value = 0;
    std::memcpy(&value, record + offset, 1);
    return value;
}

void WriteInt32(unsigned char *record, size_t offset, int32_t value)
{
    const uint32_t bits = static_cast<uint32_t>(value);
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
        static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24)};
    std::memcpy(record + offset, bytes, sizeof bytes);
}

// Adds without the overflow of signed arithmetic: the records come from other programs.
int32_t WrappingAdd(int32_t value, int32_t delta)
{
    return static_cast<int32_t>(static_cast<uint32_t>(value) + static_cast<uint32_t>(delta));
}

unsigned char *RecordAt(uintptr_t address)
{
    return reinterpret_cast<unsigned char *>(address);
}

unsigned char *RecordAt(intptr_t address)
{
    return reinterpret_cast<unsigned char *>(address);
}

// Copies text into a buffer of capacity bytes, zero-terminated, cutting it before a
// character that would not fit whole (texts are UTF-8).
void CopyText(const std::string &text, unsigned char *buffer, size_t capacity)
{
    if (capacity == 0)
        return;
    size_t length = std::min(text.size(), capacity - 1);
    if (length < text.size()) {
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
    }
    std::memcpy(buffer, text.data(), length);
    buffer[length] = 0;
}

int32_t TextLengthWithTerminator(const std::string &text)
{
    return static_cast<int32_t>(std::min<size_t>(text.size(), INT32_MAX - 1) + 1);
}

// A rectangle of cells made valid for reading and writing: the extent turned positive
// (a rectangle dragged leftwards or upwards) and cut to the map on all four sides.
// False when nothing of it lies inside the map.
bool NormaliseAndClip(const TSelection &selection, int32_t mapWidth, int32_t mapHeight,
                      TSelection &area)
{
    int64_t left = selection.X;
    int64_t right = int64_t{selection.X} + selection.DX;
    int64_t top = selection.Y;
    int64_t bottom = int64_t{selection.Y} + selection.DY;
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    left = std::max<int64_t>(left, 0);
    top = std::max<int64_t>(top, 0);
    right = std::min<int64_t>(right, int64_t{mapWidth} - 1);
    bottom = std::min<int64_t>(bottom, int64_t{mapHeight} - 1);
    if (left > right || top > bottom)
        return false;
    area.Active = 1;
    area.X = static_cast<int32_t>(left);
    area.Y = static_cast<int32_t>(top);
    area.DX = static_cast<int32_t>(right - left);
    area.DY = static_cast<int32_t>(bottom - top);
    area.Index = static_cast<int32_t>(top * mapWidth + left);
    return true;
}

int64_t CellCountOf(const TSelection &area)
{
    return (int64_t{area.DX} + 1) * (int64_t{area.DY} + 1);
}

TMap *ReadyMap(TWindowMessageHost &host)
{
    TMap *map = host.Map();
    return map != nullptr && map->IsReady() ? map : nullptr;
}

// 0x8008: the layer's name.
intptr_t LayerName(TWindowMessageHost &host, uintptr_t wParam, intptr_t lParam)
{
    unsigned char *request = RecordAt(wParam);
    if (request == nullptr)
        return 0;
    const TMap *map = host.Map();
    const std::string name = map != nullptr ? map->GetLayerName(ReadInt32(request, 0)) : "";
    const int32_t size = ReadInt32(request, 4);
    if (size == 0)
        WriteInt32(request, 4, TextLengthWithTerminator(name));
    else if (size > 0 && lParam != 0)
        CopyText(name, RecordAt(lParam), static_cast<size_t>(size));
    return 0;
}

// 0x8009: the file name of the layer's parts image.
intptr_t LayerImageName(TWindowMessageHost &host, uintptr_t wParam, intptr_t lParam)
{
    unsigned char *request = RecordAt(wParam);
    if (request == nullptr)
        return 1;
    const TMap *map = host.Map();
    const int32_t layer = ReadInt32(request, 0);
    const TMapChip *chip =
        map != nullptr && map->IsValidLayer(layer) ? map->GetLayerChip(layer) : nullptr;
    if (chip == nullptr) {
        WriteInt32(request, 4, 0);
        return 1;
    }
    const int32_t size = ReadInt32(request, 4);
    if (size == 0) {
        const int32_t needed = TextLengthWithTerminator(chip->FileName);
        WriteInt32(request, 4, needed);
        return needed;
    }
    if (size < 0 || lParam == 0)
        return 1;
    CopyText(chip->FileName, RecordAt(lParam), static_cast<size_t>(size));
    return 0;
}

// 0x800A: 1 when the layer is visible.
intptr_t LayerVisible(TWindowMessageHost &host, uintptr_t wParam)
{
    const TMap *map = host.Map();
    if (map == nullptr || wParam > static_cast<uintptr_t>(INT32_MAX))
        return 0;
    const int32_t layer = static_cast<int32_t>(wParam);
    return map->IsValidLayer(layer) && map->GetLayerVisible(layer) ? 1 : 0;
}

// 0x8064: the selection, with its width and height rather than the editor's extents.
intptr_t GetSelection(TWindowMessageHost &host, intptr_t lParam)
{
    unsigned char *record = RecordAt(lParam);
    if (record == nullptr)
        return 0;
    const TSelection selection = host.GetSelection();
    const unsigned char active[4] = {selection.Active, 0, 0, 0};
    std::memcpy(record, active, sizeof active);
    WriteInt32(record, 4, selection.X);
    WriteInt32(record, 8, selection.Y);
    WriteInt32(record, 12, WrappingAdd(selection.DX, 1));
    WriteInt32(record, 16, WrappingAdd(selection.DY, 1));
    WriteInt32(record, 20, selection.Index);
    return 0;
}

// 0x8065: sets the selection; the record's width and height become the extents in place.
intptr_t SetSelection(TWindowMessageHost &host, intptr_t lParam)
{
    unsigned char *record = RecordAt(lParam);
    if (record == nullptr)
        return 0;
    WriteInt32(record, 12, WrappingAdd(ReadInt32(record, 12), -1));
    WriteInt32(record, 16, WrappingAdd(ReadInt32(record, 16), -1));

    TSelection selection;
    selection.Active = ReadUInt8(record, 0);
    selection.X = ReadInt32(record, 4);
    selection.Y = ReadInt32(record, 8);
    selection.DX = ReadInt32(record, 12);
    selection.DY = ReadInt32(record, 16);
    selection.Index = ReadInt32(record, 20);
    const TMap *map = host.Map();
    // The index follows from X and Y; a stale one from the caller must not reach the writers.
    if (map != nullptr)
        selection.Index = static_cast<int32_t>(int64_t{selection.Y} * map->Width() + selection.X);

    const TSelection previous = host.GetSelection();
    host.SetSelection(selection);
    if (map == nullptr)
        return 0;
    TSelection area;
    if (previous.Active && NormaliseAndClip(previous, map->Width(), map->Height(), area))
        host.RedrawCells(area);
    if (selection.Active && NormaliseAndClip(selection, map->Width(), map->Height(), area))
        host.RedrawCells(area);
    return 0;
}

// The extent of a read request's width or height: negative means the whole map.
// Returns the last offset from the start (the extent minus one), -1 for an empty extent.
int64_t RequestedExtent(int32_t size, int32_t mapSize)
{
    if (size < 0)
        return int64_t{mapSize} - 1;
    return int64_t{size} - 1;
}

void StoreCells(const std::vector<uint16_t> &cells, const TSelection &area, int32_t mapWidth,
                unsigned char *buffer)
{
    const size_t columns = static_cast<size_t>(area.DX) + 1;
    for (int64_t row = 0; row <= area.DY; ++row) {
        const uint16_t *source =
            cells.data() + (area.Y + row) * static_cast<int64_t>(mapWidth) + area.X;
        unsigned char *target = buffer + static_cast<size_t>(row) * columns * 2;
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(target, source, columns * 2);
        } else {
            for (size_t column = 0; column < columns; ++column) {
                target[column * 2] = static_cast<unsigned char>(source[column]);
                target[column * 2 + 1] = static_cast<unsigned char>(source[column] >> 8);
            }
        }
    }
}

// 0x8066: copies a rectangle of one layer's cells into the caller's buffer.
intptr_t ReadCells(TWindowMessageHost &host, uintptr_t wParam, intptr_t lParam)
{
    const unsigned char *request = RecordAt(wParam);
    unsigned char *buffer = RecordAt(lParam);
    const TMap *map = host.Map();
    if (request == nullptr || buffer == nullptr || map == nullptr)
        return 1;
    const int32_t layer = ReadInt32(request, 4);
    if (!map->IsValidLayer(layer))
        return 1;
    const int64_t bufferSize = ReadInt32(request, 24);

    const int64_t lastColumn = RequestedExtent(ReadInt32(request, 16), map->Width());
    const int64_t lastRow = RequestedExtent(ReadInt32(request, 20), map->Height());
    TSelection area;
    bool empty = lastColumn < 0 || lastRow < 0;
    if (!empty) {
        TSelection requested;
        requested.X = ReadInt32(request, 8);
        requested.Y = ReadInt32(request, 12);
        requested.DX = static_cast<int32_t>(std::min<int64_t>(lastColumn, INT32_MAX));
        requested.DY = static_cast<int32_t>(std::min<int64_t>(lastRow, INT32_MAX));
        empty = !NormaliseAndClip(requested, map->Width(), map->Height(), area);
    }
    const int64_t cellCount = empty ? 0 : CellCountOf(area);
    if (cellCount * 2 != bufferSize)
        return 1;
    if (cellCount > 0)
        StoreCells(map->GetLayer(layer).Data, area, map->Width(), buffer);
    return 0;
}

std::vector<uint16_t> LoadCells(const unsigned char *data, size_t count)
{
    std::vector<uint16_t> cells(count);
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(cells.data(), data, count * 2);
    } else {
        for (size_t i = 0; i < count; ++i)
            cells[i] = static_cast<uint16_t>(data[i * 2] | data[i * 2 + 1] << 8);
    }
    return cells;
}

// 0x8067: writes cells into layer 0 over the selection as one undoable step.
intptr_t WriteCells(TWindowMessageHost &host, uintptr_t wParam, intptr_t lParam)
{
    const unsigned char *data = RecordAt(lParam);
    TMap *map = ReadyMap(host);
    if (data == nullptr || map == nullptr || map->LayerCount() < 1)
        return 0;
    const TSelection selection = host.GetSelection();
    TSelection area;
    if (!selection.Active || !NormaliseAndClip(selection, map->Width(), map->Height(), area))
        return 0;
    const int64_t cellCount = CellCountOf(area);
    if (static_cast<uint64_t>(cellCount) * 2 != static_cast<uint64_t>(wParam))
        return 0;

    TModified request;
    request.Layer = 0;
    request.Target = area;
    request.Source = area;
    request.Source.X = 0;
    request.Source.Y = 0;
    request.Source.Index = 0;
    request.SrcPitch = area.DX;
    request.Data = LoadCells(data, static_cast<size_t>(cellCount));

    // Inside a group that is already open (a floating block) the write joins it: a nested
    // group would break the log's begin and end pairs.
    const bool ownGroup = !map->InModify();
    if (ownGroup && !map->BeginModify())
        return 0;
    map->WriteData(request, host.GetMaxIndex());
    if (ownGroup)
        map->EndModify();
    host.RedrawCells(area);
    host.CellsChanged();
    return 0;
}

// 0x80C8: the size and file name of the layer's parts image.
intptr_t LayerImage(TWindowMessageHost &host, intptr_t lParam)
{
    unsigned char *record = RecordAt(lParam);
    if (record == nullptr)
        return 1;
    const TMap *map = host.Map();
    const int32_t layer = ReadInt32(record, 4);
    const TMapChip *chip =
        map != nullptr && map->IsValidLayer(layer) ? map->GetLayerChip(layer) : nullptr;
    const TChipImage *image = chip != nullptr ? chip->Image.get() : nullptr;
    WriteInt32(record, 8, image != nullptr ? image->ImageWidth() : 0);
    WriteInt32(record, 12, image != nullptr ? image->ImageHeight() : 0);
    // No platform bitmap handle exists for a parts image here.
    WriteInt32(record, 16, 0);
    CopyText(chip != nullptr ? chip->FileName : std::string(), record + ImageRecordHeaderSize,
             ImageRecordNameSize);
    return chip != nullptr ? 0 : 1;
}

// 0x812C: creates a new map from the record.
intptr_t NewMap(TWindowMessageHost &host, uintptr_t wParam)
{
    const unsigned char *record = RecordAt(wParam);
    if (record == nullptr)
        return 1;
    const int32_t layerCount = ReadInt32(record, 4) & 0xFF;
    const int32_t width = ReadInt32(record, 8);
    const int32_t height = ReadInt32(record, 12);
    const int32_t partsWidth = ReadInt32(record, 16);
    const int32_t partsHeight = ReadInt32(record, 20);
    const uint8_t bitCount = ReadUInt8(record, 24);
    const bool fixedAlignment = (ReadUInt8(record, 26) & 1) != 0;
    // A map the editor cannot hold is refused before the open one is thrown away.
    if (layerCount < 1 || width < 1 || height < 1 || partsWidth < 1 || partsHeight < 1 ||
        (bitCount != 8 && bitCount != 16) || int64_t{width} * height > INT32_MAX)
        return 1;
    return host.CreateNewMap(width, height, layerCount, partsWidth, partsHeight, bitCount,
                             fixedAlignment)
               ? 0
               : 1;
}

} // namespace

intptr_t TessellaWindowMessage(TWindowMessageHost &host, uint32_t message, uintptr_t wParam,
                               intptr_t lParam)
{
    const TMap *map = host.Map();
    switch (message) {
    case wmMapWidth:
        return map != nullptr ? map->Width() : 0;
    case wmMapHeight:
        return map != nullptr ? map->Height() : 0;
    case wmPartsWidth:
        return map != nullptr ? map->PartsWidth() : 0;
    case wmPartsHeight:
        return map != nullptr ? map->PartsHeight() : 0;
    case wmBitCount:
        return map != nullptr ? map->BitCount() : 0;
    case wmLayerCount:
        return map != nullptr ? map->LayerCount() & 0xFF : 0;
    case wmReserved:
        return 0;
    case wmAlignmentNotFixed:
        return host.PartsAlignmentNotFixed() ? 1 : 0;
    case wmLayerName:
        return LayerName(host, wParam, lParam);
    case wmLayerImageName:
        return LayerImageName(host, wParam, lParam);
    case wmLayerVisible:
        return LayerVisible(host, wParam);
    case wmGetSelection:
        return GetSelection(host, lParam);
    case wmSetSelection:
        return SetSelection(host, lParam);
    case wmReadCells:
        return ReadCells(host, wParam, lParam);
    case wmWriteCells:
        return WriteCells(host, wParam, lParam);
    case wmLayerImage:
        return LayerImage(host, lParam);
    case wmNewMap:
        return NewMap(host, wParam);
    default:
        return 0;
    }
}
