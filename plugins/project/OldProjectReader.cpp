// Versions 1 and 2: top-level chunks without pad bytes. "UMFh", "Comt" and unknown chunks
// are taken by their size; "ColK", "InvC" and the layer chunks by their content, whose
// size field old writers did not keep exact. Nothing is read past the end of the file.
#include "common/ImportedRecord.h"
#include "plugins/project/FieldReader.h"
#include "plugins/project/LinearPartNumbers.h"
#include "plugins/project/PartsImageLocator.h"
#include "plugins/project/ProjectReaders.h"
#include "plugins/project/RecordBytes.h"
#include "plugins/project/RiffFormat.h"

#include <algorithm>
#include <cstring>

namespace
{

class TOldProjectReader
{
public:
    TOldProjectReader(int version, TessellaWindow *window, TInputFile &file,
                      PluginMapRecord &record)
        : Version(version), Window(window), File(file), Record(record), Owned(&record)
    {
    }

    int32_t Read(ProgressProc progress)
    {
        uint8_t head[12];
        if (!File.ReadExact(head, sizeof head))
            return prFileError;
        if (LoadU32(head) != ProjectChunk::Riff || LoadU32(head + 8) != ProjectChunk::Form)
            return prNotSupported;

        uint64_t offset = 12;
        while (File.Size() - offset >= 8) {
            uint8_t header[8];
            if (!File.Seek(offset) || !File.ReadExact(header, sizeof header))
                return prFileError;
            const uint32_t id = LoadU32(header);
            const uint32_t size = LoadU32(header + 4);
            const int32_t result = ReadChunk(id, size, offset + 8, offset, progress);
            if (result != prSuccess)
                return result;
        }
        if (!HeaderSeen || Filled < Record.LayerCount)
            return prBrokenFile;
        // The cells are renumbered to fixed rows of slots, so the map's alignment is fixed.
        if (Version == 2)
            Record.AlignFlags = 0;
        Owned.Commit();
        return prSuccess;
    }

private:
    // Handles the chunk whose data starts at data and sets next to where the next
    // chunk header is.
    int32_t ReadChunk(uint32_t id, uint32_t size, uint64_t data, uint64_t &next,
                      ProgressProc progress)
    {
        TFieldReader fields(File, File.Size());
        const bool sizeFits = size <= File.Size() - data;
        next = data + size;
        switch (id) {
        case ProjectChunk::Header:
            return sizeFits ? ReadHeader(size) : prBrokenFile;
        case ProjectChunk::Comment:
            return sizeFits ? ReadComment(size) : prBrokenFile;
        case ProjectChunk::ColorKey: {
            uint32_t enabled = 0;
            uint32_t color = 0;
            if (!fields.ReadU32(enabled) || !fields.ReadU32(color))
                return prBrokenFile;
            Record.TransEnabled = static_cast<uint8_t>(enabled);
            Record.TransColor = color;
            next = File.Position();
            return prSuccess;
        }
        case ProjectChunk::Invisible: {
            uint8_t use = 0;
            uint8_t part = 0;
            if (!fields.ReadU8(use) || !fields.ReadU8(part))
                return prBrokenFile;
            Record.UseInvisiblePart = use;
            Record.InvisiblePart = part;
            Record.InvisibleReserved = 255;
            next = File.Position();
            return prSuccess;
        }
        default:
            break;
        }
        const uint32_t layerChunk = Version == 1 ? ProjectChunk::Layer0 : ProjectChunk::Layer1;
        if (id == layerChunk && !HeaderSeen)
            return prBrokenFile;
        if (id != layerChunk || Filled >= Record.LayerCount)
            return sizeFits ? prSuccess : prBrokenFile; // skipped by its size
        const int32_t result = Version == 1 ? ReadLayer0(fields, Owned.Layer(Filled))
                                            : ReadLayer1(fields, Owned.Layer(Filled));
        if (result != prSuccess)
            return result;
        next = File.Position();
        if (progress(static_cast<int32_t>(Filled), Record.LayerCount, "reading...") == 0)
            return prCancelled;
        ++Filled;
        return prSuccess;
    }

    int32_t ReadHeader(uint32_t size)
    {
        if (HeaderSeen)
            return prBrokenFile;
        uint8_t header[PLUGIN_MAP_HEADER_SIZE];
        const size_t count = std::min<size_t>(size, sizeof header);
        if (!File.ReadExact(header, count))
            return prFileError;
        OverlayRecordGroup(Record, TRecordGroup::MapHeader, header, count);
        if (!Owned.AllocateLayers(Record.LayerCount))
            return prNoMemory;
        HeaderSeen = true;
        return prSuccess;
    }

    int32_t ReadComment(uint32_t size)
    {
        char *comment = static_cast<char *>(TessellaAlloc(uint64_t{size} + 1));
        if (comment == nullptr)
            return prNoMemory;
        Owned.AdoptComment(comment);
        return File.ReadExact(comment, size) ? prSuccess : prFileError;
    }

    uint64_t CellCount() const { return uint64_t{Record.Width} * Record.Height; }

    // "LAY0": name, path mode, reference, bytes per cell, one byte per cell.
    int32_t ReadLayer0(TFieldReader &fields, PluginLayerRecord &layer)
    {
        std::string name;
        std::string reference;
        uint8_t pathMode = 0;
        uint8_t bytesPerCell = 0;
        if (!fields.ReadString(name) || !fields.ReadU8(pathMode) || !fields.ReadString(reference) ||
            !fields.ReadU8(bytesPerCell) || CellCount() > fields.Remaining())
            return prBrokenFile;
        const auto count = static_cast<size_t>(CellCount());
        layer.Name = TImportedRecord::CopyText(name.data(), name.size());
        layer.PartsImage = TImportedRecord::CopyText(reference.data(), reference.size());
        auto *cells = static_cast<uint16_t *>(TessellaAlloc(count * 2));
        layer.Cells = cells;
        if (layer.Name == nullptr || layer.PartsImage == nullptr || cells == nullptr)
            return prNoMemory;
        // The bytes go into the front of the buffer and are widened from the back, so no
        // byte is overwritten before it has been read.
        auto *bytes = reinterpret_cast<uint8_t *>(cells);
        if (!fields.ReadBytes(bytes, count))
            return prBrokenFile;
        for (size_t i = count; i-- > 0;)
            cells[i] = bytes[i];
        layer.Visible = 1;
        Record.PathMode = pathMode;
        Record.BitCount = static_cast<uint8_t>(8 * bytesPerCell);
        return prSuccess;
    }

    // "LAY1": a byte, name, path mode, reference (at most 259 characters), a byte, bit
    // count, an unused string, a byte, visibility, then cells of linear part numbers.
    int32_t ReadLayer1(TFieldReader &fields, PluginLayerRecord &layer)
    {
        std::string name;
        std::string reference;
        std::string unused;
        uint8_t ignored = 0;
        uint8_t pathMode = 0;
        uint8_t bitCount = 0;
        uint8_t visible = 0;
        if (!fields.ReadU8(ignored) || !fields.ReadString(name) || !fields.ReadU8(pathMode) ||
            !fields.ReadString(reference, ChosenImagePathSize - 1) || !fields.ReadU8(ignored) ||
            !fields.ReadU8(bitCount) || !fields.ReadString(unused) || !fields.ReadU8(ignored) ||
            !fields.ReadU8(visible) || CellCount() > fields.Remaining() / 2)
            return prBrokenFile;
        layer.Name = TImportedRecord::CopyText(name.data(), name.size());
        layer.PartsImage = static_cast<char *>(TessellaAlloc(ChosenImagePathSize));
        if (layer.Name == nullptr || layer.PartsImage == nullptr)
            return prNoMemory;
        layer.Visible = visible;
        Record.PathMode = pathMode;
        Record.BitCount = bitCount;
        if (Record.PartsWidth == 0)
            return prBrokenFile;

        const uint64_t cellsAt = File.Position();
        uint32_t imageWidth = 0;
        const int32_t located = LocatePartsImage(Window, reference, imageWidth);
        if (located != prSuccess)
            return located;
        std::memcpy(layer.PartsImage, reference.data(),
                    std::min<size_t>(reference.size(), ChosenImagePathSize - 1));
        const uint32_t columns = imageWidth / Record.PartsWidth;
        if (columns == 0)
            return prBrokenFile; // the image is narrower than one part

        const auto count = static_cast<size_t>(CellCount());
        auto *cells = static_cast<uint16_t *>(TessellaAlloc(count * 2));
        layer.Cells = cells;
        if (cells == nullptr)
            return prNoMemory;
        if (!File.Seek(cellsAt) || !fields.ReadBytes(cells, count * 2))
            return prBrokenFile;
        CellsFromLittleEndian(cells, count);
        ConvertLinearPartNumbers(cells, count, columns, bitCount);
        return prSuccess;
    }

    int Version;
    TessellaWindow *Window;
    TInputFile &File;
    PluginMapRecord &Record;
    TImportedRecord Owned;
    bool HeaderSeen = false;
    size_t Filled = 0;
};

} // namespace

int32_t ReadOldProject(int version, TessellaWindow *window, const char *path,
                       PluginMapRecord &record, ProgressProc progress)
{
    TInputFile file;
    if (!file.Open(path))
        return prFileError;
    TOldProjectReader reader(version, window, file, record);
    return reader.Read(progress);
}
