#include "plugins/csv/CsvReader.h"

#include "common/ImportedRecord.h"
#include "common/platform/InputFile.h"
#include "plugins/csv/CsvTokenizer.h"
#include "plugins/csv/TextEncoding.h"

#include <algorithm>
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
    // Any non-zero low byte shows the layer; the record holds it as 1, as the writer
    // writes it back.
    layer.Visible = (token.Integer & 0xFF) != 0 ? 1 : 0;

    while (token.Kind != TCsvTokenKind::LineEnd && token.Kind != TCsvTokenKind::EndOfFile)
        token = tokenizer.Next();
    return prSuccess;
}

// The cell blocks: rows of values separated by empty lines. Block j becomes layer j;
// blocks beyond the layer count are ignored. Every layer gets R × C cells, R being the most
// rows of any block and C the most values of any row, with the values a shorter row or
// block lacks left 0. The host copies Width × Height cells, so only a file whose R × C
// differs from that is refused.
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
            switch (token.Kind) {
            case TCsvTokenKind::Integer:
            case TCsvTokenKind::Real:
                AddValue(static_cast<uint16_t>(token.Integer));
                break;
            case TCsvTokenKind::String:
            case TCsvTokenKind::Word:
                AddValue(0);
                break;
            case TCsvTokenKind::Character:
                break;
            case TCsvTokenKind::Invalid:
                if (InUsedBlock())
                    return prBrokenFile;
                break;
            case TCsvTokenKind::LineEnd:
                if (RowValues > 0)
                    CloseRow();
                else if (afterLineEnd)
                    CloseBlock();
                break;
            case TCsvTokenKind::EndOfFile:
                CloseRow();
                CloseBlock();
                return BuildLayers(progress);
            }
            afterLineEnd = token.Kind == TCsvTokenKind::LineEnd;
        }
    }

private:
    // One block's values row after row, and the length of each row.
    struct TBlock {
        std::vector<uint16_t> Values;
        std::vector<uint64_t> RowLengths;
    };

    bool InUsedBlock() const { return Blocks.size() < Record.LayerCount; }

    void AddValue(uint16_t value)
    {
        if (InUsedBlock())
            Current.Values.push_back(value);
        ++RowValues;
    }

    void CloseRow()
    {
        if (RowValues == 0)
            return;
        if (InUsedBlock()) {
            Current.RowLengths.push_back(RowValues);
            Columns = std::max(Columns, RowValues);
        }
        RowValues = 0;
        HasRows = true;
    }

    void CloseBlock()
    {
        if (!HasRows)
            return;
        if (InUsedBlock()) {
            Rows = std::max<uint64_t>(Rows, Current.RowLengths.size());
            Blocks.push_back(std::move(Current));
            Current = TBlock();
        }
        HasRows = false;
    }

    int32_t BuildLayers(ProgressProc progress)
    {
        if (Blocks.size() < Record.LayerCount || Blocks.empty())
            return prBrokenFile;
        if (Rows * Columns != uint64_t{Record.Width} * Record.Height)
            return prBrokenFile;
        for (size_t j = 0; j < Blocks.size(); ++j) {
            auto *cells = static_cast<uint16_t *>(TessellaAlloc(Rows * Columns * 2));
            Owned.Layer(j).Cells = cells;
            if (cells == nullptr)
                return prNoMemory;
            const TBlock &block = Blocks[j];
            const uint16_t *value = block.Values.data();
            for (size_t r = 0; r < block.RowLengths.size(); ++r) {
                std::copy(value, value + block.RowLengths[r], cells + r * Columns);
                value += block.RowLengths[r];
            }
            Blocks[j] = TBlock();
            if (progress(static_cast<int32_t>(j), static_cast<int32_t>(Blocks.size()),
                         "Importing...") == 0)
                return prCancelled;
        }
        return prSuccess;
    }

    TCsvTokenizer &Tokenizer;
    TImportedRecord &Owned;
    PluginMapRecord &Record;
    std::vector<TBlock> Blocks; // the blocks that become layers
    TBlock Current;
    uint64_t RowValues = 0;
    bool HasRows = false; // the block being read has a row, used or not
    uint64_t Rows = 0;    // R
    uint64_t Columns = 0; // C
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
