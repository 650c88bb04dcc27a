#include "plugins/tmx/TmxWriter.h"

#include "common/platform/ReplacingFile.h"
#include "plugins/tmx/ImageSize.h"
#include "plugins/tmx/Utf8Text.h"

#include <charconv>
#include <filesystem>
#include <map>
#include <vector>

namespace fs = std::filesystem;

namespace
{

// Tile ids keep their top four bits for flip flags.
constexpr int64_t kMaxGlobalId = 0x0FFFFFFF;

// One tileset of the map: a parts image, with or without the transparent colour.
struct TTileset {
    std::string Reference; // as the record names it
    bool Transparent = false;
    std::string Source; // the image relative to the map file
    TImageSize Size;
    int32_t Columns = 0; // whole tiles per row, as the TMX reader counts them
    int32_t Rows = 0;
    int64_t FirstGid = 0;
};

// Text collects in a buffer that goes to the file in big writes.
class TOutput
{
public:
    explicit TOutput(TReplacingFile &file) : FFile(file) { FBuffer.reserve(kFlushAt + 64); }
    TOutput &operator<<(const std::string &text)
    {
        FBuffer += text;
        return FlushIfFull();
    }
    TOutput &operator<<(const char *text)
    {
        FBuffer += text;
        return FlushIfFull();
    }
    TOutput &operator<<(int64_t value)
    {
        char digits[24];
        FBuffer.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
        return FlushIfFull();
    }
    bool Flush()
    {
        FOk = FFile.Write(FBuffer.data(), FBuffer.size()) && FOk;
        FBuffer.clear();
        return FOk;
    }
    bool IsOk() const { return FOk; }

private:
    static constexpr size_t kFlushAt = 1 << 20;
    TOutput &FlushIfFull()
    {
        if (FBuffer.size() >= kFlushAt)
            Flush();
        return *this;
    }
    TReplacingFile &FFile;
    std::string FBuffer;
    bool FOk = true;
};

std::string Hex6(uint32_t colour)
{
    static const char digits[] = "0123456789abcdef";
    // A colour value is 0x00BBGGRR; the map wants red, green, blue.
    const uint32_t rgb = (colour & 0xFF) << 16 | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
    std::string text(6, '0');
    for (int i = 5; i >= 0; --i)
        text[static_cast<size_t>(5 - i)] = digits[(rgb >> (4 * i)) & 0xF];
    return text;
}

int32_t FixedColumns(uint8_t bitCount)
{
    int32_t columns = 1;
    for (int i = 0; i < bitCount / 8 && i < 4; ++i)
        columns *= 16;
    return columns;
}

// The image a reference names: beside the map file, or else from the current directory
// (where the editor keeps the project being exported).
bool FindImage(const std::string &reference, const fs::path &targetFolder, fs::path &found)
{
    std::string relative = reference;
    for (char &c : relative)
        if (c == '\\')
            c = '/';
    std::error_code error;
    for (const fs::path &base : {targetFolder, fs::current_path(error)}) {
        const fs::path candidate = fs::absolute(base / relative, error).lexically_normal();
        if (!error && fs::is_regular_file(candidate, error)) {
            found = candidate;
            return true;
        }
    }
    return false;
}

// The tilesets in the order the layers first use them; false (code in result) on failure.
bool CollectTilesets(const PluginMapRecord &record, const fs::path &targetFolder,
                     std::vector<TTileset> &tilesets, std::vector<int> &layerTileset,
                     int32_t &result)
{
    std::map<std::string, TTileset> images; // one look-up per image
    layerTileset.assign(record.LayerCount, -1);
    int64_t nextGid = 1;
    for (uint32_t i = 0; i < record.LayerCount; ++i) {
        const char *reference = record.Layers[i].PartsImage;
        if (reference == nullptr)
            continue;
        // The bottom layer is drawn opaque: it keeps a tileset without the colour.
        const bool transparent = record.TransEnabled != 0 && i != 0;
        for (size_t t = 0; t < tilesets.size(); ++t)
            if (tilesets[t].Reference == reference && tilesets[t].Transparent == transparent)
                layerTileset[i] = static_cast<int>(t);
        if (layerTileset[i] >= 0)
            continue;
        auto known = images.find(reference);
        if (known == images.end()) {
            TTileset image;
            image.Reference = reference;
            fs::path found;
            if (!FindImage(reference, targetFolder, found) ||
                !ReadImageSize(found.string(), image.Size)) {
                result = prFileError;
                return false;
            }
            const fs::path source = found.lexically_relative(targetFolder);
            image.Source = (source.empty() ? found : source).generic_string();
            image.Columns = image.Size.Width / static_cast<int32_t>(record.PartsWidth);
            image.Rows = image.Size.Height / static_cast<int32_t>(record.PartsHeight);
            known = images.emplace(reference, image).first;
        }
        TTileset tileset = known->second;
        tileset.Transparent = transparent;
        tileset.FirstGid = nextGid;
        const int64_t count = int64_t{tileset.Columns} * tileset.Rows;
        nextGid += count > 0 ? count : 1; // every tileset keeps an id of its own
        if (nextGid > kMaxGlobalId) {
            result = prBadParameter;
            return false;
        }
        layerTileset[i] = static_cast<int>(tilesets.size());
        tilesets.push_back(tileset);
    }
    return true;
}

void WriteTileset(TOutput &out, const TTileset &tileset, const PluginMapRecord &record)
{
    const std::string name = fs::path(tileset.Source).stem().string();
    out << " <tileset firstgid=\"" << tileset.FirstGid << "\" name=\"" << XmlText(name)
        << "\" tilewidth=\"" << int64_t{record.PartsWidth} << "\" tileheight=\""
        << int64_t{record.PartsHeight} << "\" tilecount=\""
        << int64_t{tileset.Columns} * tileset.Rows << "\" columns=\"" << int64_t{tileset.Columns}
        << "\">\n";
    out << "  <image source=\"" << XmlText(tileset.Source) << "\"";
    if (tileset.Transparent)
        out << " trans=\"" << Hex6(record.TransColor) << "\"";
    out << " width=\"" << int64_t{tileset.Size.Width} << "\" height=\""
        << int64_t{tileset.Size.Height} << "\"/>\n";
    out << " </tileset>\n";
}

void WriteComment(TOutput &out, const std::string &comment)
{
    out << " <properties>\n  <property name=\"comment\"";
    // Line ends survive only as element text: attribute values fold them into spaces.
    if (comment.find_first_of("\r\n") != std::string::npos)
        out << ">" << XmlText(comment) << "</property>\n";
    else
        out << " value=\"" << XmlText(comment) << "\"/>\n";
    out << " </properties>\n";
}

// The layer's cells as tile ids: the invisible part and parts outside the image are 0.
void WriteLayerData(TOutput &out, const PluginMapRecord &record, const uint16_t *cells,
                    const TTileset *tileset)
{
    const int64_t columns =
        (record.AlignFlags & 1) == 0
            ? FixedColumns(record.BitCount)
            : (tileset != nullptr
                   ? (int64_t{tileset->Size.Width} + record.PartsWidth - 1) / record.PartsWidth
                   : 1);
    std::vector<int64_t> ids(65536, 0);
    if (tileset != nullptr) {
        for (int64_t v = 0; v < 65536; ++v) {
            const int64_t column = v % columns;
            const int64_t row = v / columns;
            if (column < tileset->Columns && row < tileset->Rows)
                ids[static_cast<size_t>(v)] = tileset->FirstGid + row * tileset->Columns + column;
        }
    }
    if (record.UseInvisiblePart != 0)
        ids[record.InvisiblePart] = 0;
    for (uint32_t y = 0; y < record.Height; ++y) {
        const uint16_t *row = cells + uint64_t{y} * record.Width;
        for (uint32_t x = 0; x < record.Width; ++x) {
            out << ids[row[x]];
            if (x + 1 < record.Width || y + 1 < record.Height)
                out << ",";
        }
        out << "\n";
    }
}

} // namespace

std::string XmlText(const std::string &text)
{
    std::string out;
    for (size_t at = 0; at < text.size();) {
        const size_t length = Utf8SequenceLength(text, at);
        const char c = text[at];
        if (length == 0) {
            out += kUtf8Replacement;
            ++at;
            continue;
        }
        if (length == 1) {
            const auto byte = static_cast<uint8_t>(c);
            if (c == '&')
                out += "&amp;";
            else if (c == '<')
                out += "&lt;";
            else if (c == '>')
                out += "&gt;";
            else if (c == '"')
                out += "&quot;";
            else if (c == '\t' || c == '\n' || c == '\r' || byte >= 0x20)
                out += c;
            else
                out += kUtf8Replacement;
        } else {
            out.append(text, at, length);
        }
        at += length;
    }
    return out;
}

int32_t WriteTmxFile(const char *path, const PluginMapRecord &record, ProgressProc progress)
{
    if (record.LayerCount != 0 && record.Layers == nullptr)
        return prBadParameter;
    if (record.PartsWidth == 0 || record.PartsHeight == 0)
        return prBadParameter;
    for (uint32_t i = 0; i < record.LayerCount; ++i)
        if (record.Layers[i].Cells == nullptr && uint64_t{record.Width} * record.Height != 0)
            return prBadParameter;
    const fs::path targetFolder = fs::absolute(fs::path(path)).parent_path();
    std::vector<TTileset> tilesets;
    std::vector<int> layerTileset;
    int32_t result = prSuccess;
    if (!CollectTilesets(record, targetFolder, tilesets, layerTileset, result))
        return result;

    TReplacingFile file;
    if (!file.Open(path))
        return prFileError;
    TOutput out(file);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out << "<map version=\"1.8\" orientation=\"orthogonal\" renderorder=\"right-down\" width=\""
        << int64_t{record.Width} << "\" height=\"" << int64_t{record.Height} << "\" tilewidth=\""
        << int64_t{record.PartsWidth} << "\" tileheight=\"" << int64_t{record.PartsHeight}
        << "\" infinite=\"0\" nextlayerid=\"" << int64_t{record.LayerCount} + 1
        << "\" nextobjectid=\"1\">\n";
    if (record.Comment != nullptr && record.Comment[0] != '\0')
        WriteComment(out, record.Comment);
    for (const TTileset &tileset : tilesets)
        WriteTileset(out, tileset, record);
    for (uint32_t i = 0; i < record.LayerCount; ++i) {
        const PluginLayerRecord &layer = record.Layers[i];
        out << " <layer id=\"" << int64_t{i} + 1 << "\" name=\""
            << XmlText(layer.Name != nullptr ? layer.Name : "") << "\" width=\""
            << int64_t{record.Width} << "\" height=\"" << int64_t{record.Height} << "\"";
        if (layer.Visible == 0)
            out << " visible=\"0\"";
        out << ">\n  <data encoding=\"csv\">\n";
        const int t = layerTileset[i];
        WriteLayerData(out, record, layer.Cells,
                       t >= 0 ? &tilesets[static_cast<size_t>(t)] : nullptr);
        out << "</data>\n </layer>\n";
        if (!out.IsOk())
            return prFileError;
        if (progress(static_cast<int32_t>(i), record.LayerCount, "Exporting...") == 0)
            return prCancelled;
    }
    out << "</map>\n";
    if (!out.Flush() || !file.Commit())
        return prFileError;
    return prSuccess;
}
