#include "plugins/tmx/DerivedFiles.h"

#include "common/platform/InputFile.h"
#include "common/platform/ReplacingFile.h"
#include "plugins/tmx/TiledError.h"
#include "plugins/tmx/TmxWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace
{

constexpr const char *kSoftware = "Tessella";
constexpr const char *kTilesetMark = "<!-- Tessella: parts";

std::vector<uint8_t> ReadBytes(const std::string &path)
{
    TInputFile file;
    std::vector<uint8_t> bytes;
    if (!file.Open(path.c_str()))
        return bytes;
    bytes.resize(static_cast<size_t>(file.Size()));
    if (!file.ReadExact(bytes.data(), bytes.size()))
        bytes.clear();
    return bytes;
}

// Whether a file at the path, if any, is one this plug-in wrote.
bool Ours(const std::string &path, bool image)
{
    std::error_code error;
    if (!fs::exists(fs::symlink_status(path, error)))
        return true;
    if (!fs::is_regular_file(fs::symlink_status(path, error)))
        return false;
    if (image)
        return PngFileHasSoftware(path, kSoftware);
    const std::vector<uint8_t> bytes = ReadBytes(path);
    const std::string head(
        bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(std::min<size_t>(bytes.size(), 512)));
    return head.find(kTilesetMark) != std::string::npos;
}

// Text inside an XML comment: valid UTF-8 and no "--".
std::string CommentText(const std::string &text)
{
    std::string out = XmlText(text);
    for (const auto &[entity, character] : {std::pair<const char *, const char *>{"&quot;", "\""},
                                            {"&lt;", "<"},
                                            {"&gt;", ">"},
                                            {"&amp;", "&"}})
        for (size_t at = out.find(entity); at != std::string::npos; at = out.find(entity, at))
            out.replace(at, std::strlen(entity), character);
    for (size_t at = out.find("--"); at != std::string::npos; at = out.find("--", at))
        out.replace(at, 2, "- -");
    return out;
}

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

} // namespace

std::string FileNameOfTileset(const std::string &Name)
{
    std::string out;
    for (const char c : Name) {
        const auto byte = static_cast<unsigned char>(c);
        out += (byte < 0x20 || std::strchr("/\\:*?\"<>|", c) != nullptr) ? '_' : c;
    }
    const size_t first = out.find_first_not_of(". ");
    if (first == std::string::npos)
        return "tileset";
    out.erase(0, first);
    out.erase(out.find_last_not_of(". ") + 1);
    return out;
}

TDerivedFiles::TDerivedFiles(std::string MapFolder, std::string MapName)
    : FMapFolder(std::move(MapFolder)), FMapName(std::move(MapName))
{
}

TDerivedFiles::~TDerivedFiles()
{
    if (FKeep)
        return;
    std::error_code error;
    for (const std::string &path : FCreated)
        fs::remove(path, error);
}

std::vector<std::string> TDerivedFiles::ChooseNames(const std::vector<TDerivedTileset> &Derived)
{
    std::set<std::string> taken;
    std::vector<std::string> images;
    for (const TDerivedTileset &tileset : Derived) {
        const std::string base = FileNameOfTileset(tileset.Name);
        std::string stem;
        for (int k = 1;; ++k) {
            stem = base + (k == 1 ? "" : " (" + std::to_string(k) + ")") + ".tessella";
            const std::string path = (fs::path(FMapFolder) / stem).string();
            if (taken.count(stem) == 0 && Ours(path + ".png", true) && Ours(path + ".tsx", false))
                break;
            if (k == 1000)
                ThrowFileError(FMapName, "no free file name for the parts of the tileset " +
                                             Quoted(tileset.Name));
        }
        taken.insert(stem);
        FStems.push_back(stem);
        images.push_back(stem + ".png");
    }
    return images;
}

void TDerivedFiles::WriteFile(const std::string &Name, const std::vector<uint8_t> &Bytes)
{
    const std::string path = (fs::path(FMapFolder) / Name).string();
    std::error_code error;
    const bool existed = fs::exists(fs::symlink_status(path, error));
    if (existed && ReadBytes(path) == Bytes)
        return;
    TReplacingFile file;
    errno = 0;
    if (!file.Open(path) || !file.Write(Bytes.data(), Bytes.size()) || !file.Commit())
        ThrowFileError(FMapName, Name + " cannot be written beside the map (" +
                                     (errno != 0 ? std::strerror(errno) : "write error") + ")");
    if (!existed)
        FCreated.push_back(path);
}

void TDerivedFiles::Write(const std::vector<TDerivedTileset> &Derived)
{
    for (size_t i = 0; i < Derived.size(); ++i) {
        const TDerivedTileset &tileset = Derived[i];
        const std::string image = FStems[i] + ".png";
        WriteFile(image, EncodePng(tileset.Image, kSoftware));
        const std::string text = DerivedTilesetText(tileset, image);
        WriteFile(FStems[i] + ".tsx", std::vector<uint8_t>(text.begin(), text.end()));
    }
}

std::vector<std::string> TDerivedFiles::FileNames() const
{
    std::vector<std::string> names;
    for (const std::string &stem : FStems) {
        names.push_back(stem + ".png");
        names.push_back(stem + ".tsx");
    }
    return names;
}

std::string DerivedTilesetText(const TDerivedTileset &Derived, const std::string &ImageName)
{
    const int32_t columns = Derived.PartColumns;
    const int32_t rows = Derived.Image.Height / Derived.PartsHeight;
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += std::string(kTilesetMark) + " of " + CommentText(Derived.Describe) +
           " on the map's grid -->\n";
    out += "<tileset version=\"1.8\" name=\"" + XmlText(Derived.Name) + "\" tilewidth=\"" +
           std::to_string(Derived.PartsWidth) + "\" tileheight=\"" +
           std::to_string(Derived.PartsHeight) + "\" tilecount=\"" +
           std::to_string(columns * rows) + "\" columns=\"" + std::to_string(columns) + "\">\n";
    out += " <image source=\"" + XmlText(ImageName) + "\" width=\"" +
           std::to_string(Derived.Image.Width) + "\" height=\"" +
           std::to_string(Derived.Image.Height) + "\"/>\n";
    for (const auto &[part, probability] : Derived.Probabilities)
        out += " <tile id=\"" + std::to_string(part) + "\" probability=\"" + Number(probability) +
               "\"/>\n";
    if (!Derived.WangSets.empty()) {
        out += " <wangsets>\n";
        for (const TTiledWangSet &set : Derived.WangSets) {
            out += "  <wangset name=\"" + XmlText(set.Name) + "\" type=\"" + XmlText(set.Type) +
                   "\" tile=\"" + std::to_string(set.Tile) + "\">\n";
            for (const TTiledWangColor &colour : set.Colors)
                out += "   <wangcolor name=\"" + XmlText(colour.Name) + "\" color=\"" +
                       XmlText(colour.Color) + "\" tile=\"" + std::to_string(colour.Tile) +
                       "\" probability=\"" + Number(colour.Probability) + "\"/>\n";
            for (const TTiledWangTile &tile : set.Tiles) {
                out += "   <wangtile tileid=\"" + std::to_string(tile.TileId) + "\" wangid=\"";
                for (size_t i = 0; i < 8; ++i)
                    out += (i == 0 ? "" : ",") + std::to_string(tile.WangId[i]);
                out += "\"/>\n";
            }
            out += "  </wangset>\n";
        }
        out += " </wangsets>\n";
    }
    out += "</tileset>\n";
    return out;
}
