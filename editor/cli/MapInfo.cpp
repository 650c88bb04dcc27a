#include "MapInfo.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>

namespace
{

// "#RRGGBB" of a colour value 0x00BBGGRR.
std::string HexColour(uint32_t colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF,
                  (colour >> 16) & 0xFF);
    return text;
}

std::string JsonString(const std::string &text)
{
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

bool Exists(const std::string &path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

const char *YesNo(bool value)
{
    return value ? "true" : "false";
}

} // namespace

std::string MapInfoText(THeadlessMap &Map, const std::string &Path)
{
    const TMap &map = Map.Map();
    const TProjectSettings &settings = Map.Settings();
    std::ostringstream out;
    out << "File:           " << Path << " (read by " << Map.ReaderName() << ")\n";
    out << "Size:           " << map.Width() << " x " << map.Height() << " cells\n";
    out << "Parts:          " << map.PartsWidth() << " x " << map.PartsHeight() << " pixels\n";
    out << "Bits:           " << int{map.BitCount()} << "\n";
    if (settings.FixedAlignment())
        out << "Alignment:      fixed, " << (map.BitCount() == 8 ? 16 : 256) << " parts per row\n";
    else
        out << "Alignment:      as many parts per row as the image holds\n";
    out << "Transparency:   " << (settings.TransEnabled ? "on" : "off") << ", colour "
        << HexColour(settings.TransColor) << "\n";
    if (settings.UseInvisiblePart)
        out << "Invisible part: " << settings.InvisiblePart << "\n";
    else
        out << "Invisible part: none\n";
    if (settings.Comment.empty()) {
        out << "Comment:        none\n";
    } else {
        std::string comment = settings.Comment;
        comment.erase(std::remove(comment.begin(), comment.end(), '\r'), comment.end());
        size_t at = 0;
        while ((at = comment.find('\n', at)) != std::string::npos)
            comment.insert(++at, "                ");
        out << "Comment:        " << comment << "\n";
    }
    const std::vector<THeadlessLayerSummary> &layers = Map.LayerSummaries();
    out << "Layers:         " << layers.size() << "\n";
    for (size_t i = 0; i < layers.size(); ++i) {
        const THeadlessLayerSummary &layer = layers[i];
        const THeadlessLayerImage &image = Map.LayerImages()[i];
        out << "  " << i << " \"" << layer.Name << "\": " << (layer.Visible ? "shown" : "hidden")
            << ", " << layer.NonEmptyCells << " non-empty cells\n";
        if (image.Resolved.empty())
            out << "     parts image: none\n";
        else
            out << "     parts image: " << image.Stored << " -> " << image.Resolved
                << (Exists(image.Resolved) ? "" : " (not found)") << "\n";
    }
    return out.str();
}

std::string MapInfoJson(THeadlessMap &Map, const std::string &Path)
{
    const TMap &map = Map.Map();
    const TProjectSettings &settings = Map.Settings();
    std::ostringstream out;
    out << "{\"file\":" << JsonString(Path) << ",\"reader\":" << JsonString(Map.ReaderName())
        << ",\"width\":" << map.Width() << ",\"height\":" << map.Height()
        << ",\"partsWidth\":" << map.PartsWidth() << ",\"partsHeight\":" << map.PartsHeight()
        << ",\"bitCount\":" << int{map.BitCount()}
        << ",\"alignment\":" << (settings.FixedAlignment() ? "\"fixed\"" : "\"image\"")
        << ",\"transparency\":{\"enabled\":" << YesNo(settings.TransEnabled != 0) << ",\"color\":\""
        << HexColour(settings.TransColor) << "\"}"
        << ",\"invisiblePart\":{\"enabled\":" << YesNo(settings.UseInvisiblePart != 0)
        << ",\"part\":" << settings.InvisiblePart << "}"
        << ",\"comment\":" << JsonString(settings.Comment) << ",\"layers\":[";
    const std::vector<THeadlessLayerSummary> &layers = Map.LayerSummaries();
    for (size_t i = 0; i < layers.size(); ++i) {
        const THeadlessLayerSummary &layer = layers[i];
        const THeadlessLayerImage &image = Map.LayerImages()[i];
        out << (i == 0 ? "" : ",") << "{\"index\":" << i << ",\"name\":" << JsonString(layer.Name)
            << ",\"visible\":" << YesNo(layer.Visible) << ",\"partsImage\":";
        if (image.Resolved.empty())
            out << "null,\"resolvedPartsImage\":null,\"partsImageFound\":false";
        else
            out << JsonString(image.Stored)
                << ",\"resolvedPartsImage\":" << JsonString(image.Resolved)
                << ",\"partsImageFound\":" << YesNo(Exists(image.Resolved));
        out << ",\"nonEmptyCells\":" << layer.NonEmptyCells << "}";
    }
    out << "]}\n";
    return out.str();
}
