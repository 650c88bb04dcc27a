#include "plugins/csv/CsvReader.h"

#include "common/ImportedRecord.h"
#include "common/platform/InputFile.h"
#include "plugins/csv/CsvTokenizer.h"
#include "plugins/csv/TextEncoding.h"

#include <vector>

namespace
{

constexpr size_t HeaderValueCount = 12;

void StoreHeader(const std::vector<int64_t> &v, PluginMapRecord &record)
{
    record.Width = static_cast<uint32_t>(v[0]);
    record.Height = static_cast<uint32_t>(v[1]);
    record.PartsWidth = static_cast<uint32_t>(v[2]);
    record.PartsHeight = static_cast<uint32_t>(v[3]);
    record.LayerCount = static_cast<uint8_t>(v[4]);
    record.BitCount = static_cast<uint8_t>(v[5]);
    record.PathMode = static_cast<uint8_t>(v[6]);
    record.AlignFlags = static_cast<uint8_t>(v[7]);
    record.UseInvisiblePart = static_cast<uint8_t>(v[8]);
    record.InvisiblePart = static_cast<uint16_t>(v[9]);
    record.TransEnabled = static_cast<uint8_t>(v[10]);
    record.TransColor = static_cast<uint32_t>(v[11]);
}

// One layer line: "name","reference",visible (the reference may be "" or left out).
int32_t ReadLayerLine(TCsvTokenizer &tokenizer, PluginLayerRecord &layer)
{
    TCsvToken token = tokenizer.Next();
    if (token.Kind != TCsvTokenKind::String)
        return prBrokenFile;
    layer.Name = TImportedRecord::CopyText(token.Text.data(), token.Text.size());
    if (layer.Name == nullptr)
        return prNoMemory;

    token = tokenizer.Next();
    if (token.Kind != TCsvTokenKind::Character || token.Character != ',')
        return prBrokenFile;

    token = tokenizer.Next();
    if (token.Kind == TCsvTokenKind::String) {
        if (!token.Text.empty()) {
            layer.PartsImage = TImportedRecord::CopyText(token.Text.data(), token.Text.size());
            if (layer.PartsImage == nullptr)
                return prNoMemory;
        }
    } else if (token.Kind != TCsvTokenKind::Character || token.Character != ',') {
        return prBrokenFile;
    }

    do {
        token = tokenizer.Next();
        if (token.Kind == TCsvTokenKind::EndOfFile)
            return prBrokenFile;
    } while (token.Kind != TCsvTokenKind::Integer);
    layer.Visible = static_cast<uint8_t>(token.Integer);

    while (token.Kind != TCsvTokenKind::LineEnd && token.Kind != TCsvTokenKind::EndOfFile)
        token = tokenizer.Next();
    return prSuccess;
}

// The cell blocks: rows of values separated by empty lines. Block j fills layer j and
// must hold exactly Height rows of exactly Width values; blocks beyond the layer count
// are ignored.
class TCellBlockReader
{
public:
    TCellBlockReader(TCsvTokenizer &tokenizer, TImportedRecord &owned, PluginMapRecord &record)
        : Tokenizer(tokenizer), Owned(owned), Record(record)
    {
    }

    int32_t Read(ProgressProc progress)
    {
        bool afterLineEnd = false;
        for (;;) {
            const TCsvToken token = Tokenizer.Next();
            int32_t result = prSuccess;
            switch (token.Kind) {
            case TCsvTokenKind::Integer:
            case TCsvTokenKind::Real:
                result = AddValue(static_cast<uint16_t>(token.Integer));
                break;
            case TCsvTokenKind::String:
            case TCsvTokenKind::Word:
                result = AddValue(0);
                break;
            case TCsvTokenKind::Character:
                break;
            case TCsvTokenKind::Invalid:
                result = InUsedBlock() ? prBrokenFile : prSuccess;
                break;
            case TCsvTokenKind::LineEnd:
                if (RowValues > 0)
                    result = CloseRow();
                else if (afterLineEnd)
                    result = CloseBlock(progress);
                break;
            case TCsvTokenKind::EndOfFile:
                result = CloseRow();
                if (result == prSuccess)
                    result = CloseBlock(progress);
                if (result != prSuccess)
                    return result;
                if (Blocks == 0 || Block < Record.LayerCount)
                    return prBrokenFile;
                return prSuccess;
            }
            if (result != prSuccess)
                return result;
            afterLineEnd = token.Kind == TCsvTokenKind::LineEnd;
        }
    }

private:
    bool InUsedBlock() const { return Block < Record.LayerCount; }

    int32_t AddValue(uint16_t value)
    {
        if (InUsedBlock()) {
            if (RowValues >= Record.Width || Rows >= Record.Height)
                return prBrokenFile;
            if (Cells == nullptr) {
                Cells = static_cast<uint16_t *>(TessellaAlloc(CellCount() * 2));
                Owned.Layer(Block).Cells = Cells;
                if (Cells == nullptr)
                    return prNoMemory;
            }
            Cells[Rows * uint64_t{Record.Width} + RowValues] = value;
        }
        ++RowValues;
        return prSuccess;
    }

    int32_t CloseRow()
    {
        if (RowValues == 0)
            return prSuccess;
        if (InUsedBlock() && RowValues != Record.Width)
            return prBrokenFile;
        ++Rows;
        RowValues = 0;
        return prSuccess;
    }

    int32_t CloseBlock(ProgressProc progress)
    {
        if (Rows == 0)
            return prSuccess;
        ++Blocks;
        if (InUsedBlock()) {
            if (Rows != Record.Height)
                return prBrokenFile;
            if (progress(static_cast<int32_t>(Block), Record.LayerCount, "Importing...") == 0)
                return prCancelled;
            ++Block;
            Cells = nullptr;
        }
        Rows = 0;
        return prSuccess;
    }

    uint64_t CellCount() const { return uint64_t{Record.Width} * Record.Height; }

    TCsvTokenizer &Tokenizer;
    TImportedRecord &Owned;
    PluginMapRecord &Record;
    uint16_t *Cells = nullptr;
    uint64_t RowValues = 0;
    uint64_t Rows = 0;
    uint32_t Block = 0;  // the block being read; blocks from LayerCount on are ignored
    uint64_t Blocks = 0; // every block seen
};

} // namespace

bool ReadHeaderIntegers(TCsvTokenizer &tokenizer, std::vector<int64_t> &integers)
{
    for (;;) {
        const TCsvToken token = tokenizer.Next();
        if (token.Kind == TCsvTokenKind::LineEnd)
            return true;
        if (token.Kind == TCsvTokenKind::EndOfFile)
            return false;
        if (token.Kind == TCsvTokenKind::Integer)
            integers.push_back(token.Integer);
    }
}

int32_t ReadCsvText(const char *text, size_t size, PluginMapRecord &record, ProgressProc progress)
{
    const bool doubleByte = !IsValidUtf8(reinterpret_cast<const uint8_t *>(text), size);
    TCsvTokenizer tokenizer(text, size, doubleByte);

    std::vector<int64_t> header;
    ReadHeaderIntegers(tokenizer, header);
    if (header.size() < HeaderValueCount)
        return prBrokenFile;
    StoreHeader(header, record);

    // Every cell takes at least one byte of text: a claim beyond that is never allocated.
    const uint64_t cells = uint64_t{record.Width} * record.Height;
    if (record.LayerCount != 0 && cells > size / record.LayerCount)
        return prBrokenFile;

    TImportedRecord owned(&record);
    if (!owned.AllocateLayers(record.LayerCount))
        return prNoMemory;
    for (size_t i = 0; i < record.LayerCount; ++i) {
        const int32_t result = ReadLayerLine(tokenizer, owned.Layer(i));
        if (result != prSuccess)
            return result;
    }
    TCellBlockReader blocks(tokenizer, owned, record);
    const int32_t result = blocks.Read(progress);
    if (result != prSuccess)
        return result;
    owned.Commit();
    return prSuccess;
}

int32_t ReadCsvFile(const char *path, PluginMapRecord &record, ProgressProc progress)
{
    TInputFile file;
    if (!file.Open(path))
        return prFileError;
    if (file.Size() > SIZE_MAX)
        return prNoMemory;
    std::vector<char> text(static_cast<size_t>(file.Size()));
    if (!file.ReadExact(text.data(), text.size()))
        return prFileError;
    file.Close();
    return ReadCsvText(text.data(), text.size(), record, progress);
}
