#include "plugins/csv/CsvWriter.h"

#include "common/platform/ReplacingFile.h"
#include "plugins/csv/TextEncoding.h"

#include <charconv>
#include <cstring>
#include <vector>

namespace
{

// Text collects in a large buffer that goes to the file in big writes.
class TTextOutput
{
public:
    explicit TTextOutput(TReplacingFile &file) : File(file), Buffer(Capacity) {}

    // Room for at least count more bytes.
    char *Reserve(size_t count)
    {
        if (Capacity - Used < count)
            Flush();
        if (Capacity - Used < count) {
            Buffer.resize(Used + count);
            Capacity = Buffer.size();
        }
        return Buffer.data() + Used;
    }
    void Commit(char *end) { Used = static_cast<size_t>(end - Buffer.data()); }

    void Append(const char *text, size_t length)
    {
        char *p = Reserve(length);
        std::memcpy(p, text, length);
        Commit(p + length);
    }
    void Append(const std::string &text) { Append(text.data(), text.size()); }
    void Append(char c) { Append(&c, 1); }
    void AppendInteger(int64_t value)
    {
        char *p = Reserve(24);
        Commit(std::to_chars(p, p + 24, value).ptr);
    }

    bool Flush()
    {
        Ok = Ok && File.Write(Buffer.data(), Used);
        Used = 0;
        return Ok;
    }
    bool IsOk() const { return Ok; }

private:
    TReplacingFile &File;
    size_t Capacity = 1 << 20;
    std::vector<char> Buffer;
    size_t Used = 0;
    bool Ok = true;
};

// Decimal digits of 0..99, two by two.
constexpr char DigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

char *FormatCell(char *p, uint32_t value)
{
    char digits[5];
    char *end = digits + sizeof digits;
    char *q = end;
    while (value >= 100) {
        const uint32_t pair = value % 100;
        value /= 100;
        q -= 2;
        std::memcpy(q, DigitPairs + 2 * pair, 2);
    }
    if (value >= 10) {
        q -= 2;
        std::memcpy(q, DigitPairs + 2 * value, 2);
    } else {
        *--q = static_cast<char>('0' + value);
    }
    const auto length = static_cast<size_t>(end - q);
    std::memcpy(p, q, length);
    return p + length;
}

bool TextIsUtf8(const std::string &text)
{
    return IsValidUtf8(reinterpret_cast<const uint8_t *>(text.data()), text.size());
}

// Double-byte text loses a last lead byte that has no trail byte (it would swallow the
// closing quote).
std::string WithoutLoneLeadByte(const std::string &text)
{
    size_t i = 0;
    while (i < text.size()) {
        if (IsDoubleByteLead(static_cast<uint8_t>(text[i]))) {
            if (i + 1 == text.size())
                return text.substr(0, i);
            ++i;
        }
        ++i;
    }
    return text;
}

// The names and references as they go into the file, and whether the file is UTF-8. The
// reader decides on the whole file, so the writer does too, on the texts it writes: a
// double-byte text that became UTF-8 by losing its lone lead byte is written as UTF-8,
// or the reader would take its trail bytes 0x5C for escapes.
struct TLayerTexts {
    std::vector<std::string> Names;
    std::vector<std::string> Images;
    bool Utf8 = true;
};

TLayerTexts LayerTexts(const PluginMapRecord &record)
{
    TLayerTexts texts;
    for (uint32_t i = 0; i < record.LayerCount; ++i) {
        const PluginLayerRecord &layer = record.Layers[i];
        texts.Names.emplace_back(layer.Name != nullptr ? layer.Name : "");
        texts.Images.emplace_back(layer.PartsImage != nullptr ? layer.PartsImage : "");
    }
    const auto allUtf8 = [&texts] {
        for (size_t i = 0; i < texts.Names.size(); ++i)
            if (!TextIsUtf8(texts.Names[i]) || !TextIsUtf8(texts.Images[i]))
                return false;
        return true;
    };
    if (allUtf8())
        return texts;
    for (size_t i = 0; i < texts.Names.size(); ++i) {
        texts.Names[i] = WithoutLoneLeadByte(texts.Names[i]);
        texts.Images[i] = WithoutLoneLeadByte(texts.Images[i]);
    }
    texts.Utf8 = allUtf8();
    return texts;
}

void WriteHeader(TTextOutput &out, const PluginMapRecord &record)
{
    const uint8_t align = record.AlignFlags == 255 ? 0 : (record.AlignFlags & 1);
    const int64_t values[] = {
        static_cast<int32_t>(record.Width),
        static_cast<int32_t>(record.Height),
        static_cast<int32_t>(record.PartsWidth),
        static_cast<int32_t>(record.PartsHeight),
        record.LayerCount,
        record.BitCount,
        record.PathMode,
        align,
        record.UseInvisiblePart,
        record.InvisiblePart,
        record.TransEnabled,
        static_cast<int32_t>(record.TransColor),
    };
    for (size_t i = 0; i < std::size(values); ++i) {
        if (i != 0)
            out.Append(',');
        out.AppendInteger(values[i]);
    }
    out.Append('\n');
}

void WriteCells(TTextOutput &out, const uint16_t *cells, uint32_t width, uint32_t height)
{
    constexpr size_t MaxCellText = 6; // five digits and a separator
    for (uint64_t y = 0; y < height; ++y) {
        const uint16_t *row = cells + y * width;
        for (uint32_t x = 0; x < width;) {
            // As many cells as the buffer has room for, in one go.
            const uint32_t batch = width - x < 4096 ? width - x : 4096;
            char *p = out.Reserve(batch * MaxCellText);
            for (uint32_t end = x + batch; x < end; ++x) {
                p = FormatCell(p, row[x]);
                *p++ = x + 1 < width ? ',' : '\n';
            }
            out.Commit(p);
        }
    }
    out.Append('\n');
}

} // namespace

std::string EscapeCsvText(const char *text, bool doubleByteText)
{
    std::string escaped;
    if (text == nullptr)
        return escaped;
    for (const char *p = text; *p != '\0'; ++p) {
        const auto c = static_cast<uint8_t>(*p);
        if (doubleByteText && IsDoubleByteLead(c)) {
            if (p[1] == '\0')
                break; // a lead byte without its trail would swallow the closing quote
            escaped.push_back(*p++);
            escaped.push_back(*p);
        } else if (c == '"' || c == '\\') {
            escaped.push_back('\\');
            escaped.push_back(*p);
        } else if (c == '\n' || c == '\r') {
            escaped.push_back(' ');
        } else {
            escaped.push_back(*p);
        }
    }
    return escaped;
}

int32_t WriteCsvFile(const char *path, const PluginMapRecord &record, ProgressProc progress)
{
    if (record.LayerCount != 0 && record.Layers == nullptr)
        return prBadParameter;
    const bool hasCells = uint64_t{record.Width} * record.Height != 0;
    for (uint32_t i = 0; i < record.LayerCount; ++i)
        if (hasCells && record.Layers[i].Cells == nullptr)
            return prBadParameter;
    const TLayerTexts texts = LayerTexts(record);

    TReplacingFile file;
    if (!file.Open(path))
        return prFileError;
    TTextOutput out(file);
    WriteHeader(out, record);
    for (uint32_t i = 0; i < record.LayerCount; ++i) {
        out.Append('"');
        out.Append(EscapeCsvText(texts.Names[i].c_str(), !texts.Utf8));
        out.Append("\",\"", 3);
        out.Append(EscapeCsvText(texts.Images[i].c_str(), !texts.Utf8));
        out.Append("\",", 2);
        // Any non-zero visibility is shown, and written as the reader hands it back.
        out.AppendInteger(record.Layers[i].Visible != 0 ? 1 : 0);
        out.Append('\n');
    }
    for (uint32_t i = 0; i < record.LayerCount; ++i) {
        WriteCells(out, record.Layers[i].Cells, record.Width, record.Height);
        if (!out.IsOk())
            return prFileError;
        if (progress(static_cast<int32_t>(i), record.LayerCount, "Exporting...") == 0)
            return prCancelled;
    }
    if (!out.Flush() || !file.Commit())
        return prFileError;
    return prSuccess;
}
