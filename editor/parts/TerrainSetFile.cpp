#include "TerrainSetFile.h"

#include "common/platform/InputFile.h"
#include "common/platform/ReplacingFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <pugixml.hpp>
#include <set>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace
{

// Far beyond any tileset, small enough that reading one never exhausts memory.
constexpr uint64_t kMaxFileSize = 64u << 20;
constexpr int32_t kMaxTileSize = 1 << 16;

struct TParseFailure {
    std::string Reason;
};

[[noreturn]] void Fail(const std::string &Reason)
{
    throw TParseFailure{Reason};
}

bool ReadWholeFile(const std::string &Path, std::string &Text, std::string &Error)
{
    TInputFile file;
    if (!file.Open(Path.c_str())) {
        Error = "cannot be opened";
        return false;
    }
    if (file.Size() > kMaxFileSize) {
        Error = "is too large";
        return false;
    }
    Text.resize(static_cast<size_t>(file.Size()));
    if (!file.ReadExact(Text.data(), Text.size())) {
        Error = "cannot be read";
        return false;
    }
    return true;
}

// A whole decimal integer in [Low, High]; Missing when the attribute is absent.
int32_t IntegerAttribute(const pugi::xml_node &Node, const char *Name, int32_t Missing, int32_t Low,
                         int32_t High)
{
    const pugi::xml_attribute attribute = Node.attribute(Name);
    if (!attribute)
        return Missing;
    const std::string text = attribute.value();
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < Low || value > High)
        Fail(std::string("<") + Node.name() + "> has an unusable " + Name + " \"" + text + "\"");
    return static_cast<int32_t>(value);
}

double ProbabilityAttribute(const pugi::xml_node &Node)
{
    const pugi::xml_attribute attribute = Node.attribute("probability");
    if (!attribute)
        return 1.0;
    const std::string text = attribute.value();
    char *end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || errno != 0 || !std::isfinite(value) ||
        value < 0.0)
        Fail(std::string("<") + Node.name() + "> has an unusable probability \"" + text + "\"");
    return value;
}

// "#rrggbb" or "#aarrggbb" (the alpha is not kept).
uint32_t ParseColour(const std::string &Text, bool &Ok)
{
    Ok = false;
    if ((Text.size() != 7 && Text.size() != 9) || Text[0] != '#')
        return 0;
    uint32_t value = 0;
    const auto [end, error] =
        std::from_chars(Text.data() + 1, Text.data() + Text.size(), value, 16);
    if (error != std::errc() || end != Text.data() + Text.size())
        return 0;
    Ok = true;
    return value & 0xFFFFFF;
}

std::string ColourText(uint32_t Colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(Colour & 0xFFFFFF));
    return text;
}

std::string NumberText(double Value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", Value);
    return text;
}

const char *TypeName(TTerrainSetType Type)
{
    switch (Type) {
    case TTerrainSetType::Corner:
        return "corner";
    case TTerrainSetType::Edge:
        return "edge";
    case TTerrainSetType::Mixed:
        return "mixed";
    }
    return "corner";
}

bool ParseType(const std::string &Text, TTerrainSetType &Type)
{
    if (Text == "corner")
        Type = TTerrainSetType::Corner;
    else if (Text == "edge")
        Type = TTerrainSetType::Edge;
    else if (Text == "mixed")
        Type = TTerrainSetType::Mixed;
    else
        return false;
    return true;
}

// Eight comma-separated numbers, or the older single hexadecimal number holding one digit
// per place with the top edge in the lowest digit.
bool ParseWangId(const std::string &Text, TWangId &Id)
{
    Id = {};
    if (Text.size() > 2 && Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X')) {
        uint32_t value = 0;
        const auto [end, error] =
            std::from_chars(Text.data() + 2, Text.data() + Text.size(), value, 16);
        if (error != std::errc() || end != Text.data() + Text.size())
            return false;
        for (size_t slot = 0; slot < 8; ++slot)
            Id[slot] = static_cast<uint8_t>((value >> (4 * slot)) & 0xF);
        return true;
    }
    const char *p = Text.data();
    const char *end = Text.data() + Text.size();
    for (size_t slot = 0; slot < 8; ++slot) {
        uint32_t value = 0;
        const auto [next, error] = std::from_chars(p, end, value);
        if (error != std::errc() || value > 255)
            return false;
        Id[slot] = static_cast<uint8_t>(value);
        p = next;
        if (slot < 7) {
            if (p == end || *p != ',')
                return false;
            ++p;
        }
    }
    return p == end;
}

std::string WangIdText(const TWangId &Id)
{
    std::string text;
    for (size_t slot = 0; slot < 8; ++slot) {
        if (slot > 0)
            text += ',';
        text += std::to_string(Id[slot]);
    }
    return text;
}

// The sets written by Tiled before it knew set types keep corner and edge colours apart;
// they stay in the file as they are, but are not offered for painting.
bool IsOldStyleSet(const pugi::xml_node &Set)
{
    return !Set.attribute("type") || Set.child("wangcornercolor") || Set.child("wangedgecolor");
}

TTerrainSet ReadSet(const pugi::xml_node &Node, int32_t FileIndex, int32_t TileCount)
{
    TTerrainSet set;
    set.Name = Node.attribute("name").value();
    set.FileIndex = FileIndex;
    if (!ParseType(Node.attribute("type").value(), set.Type))
        Fail("terrain set \"" + set.Name + "\" has the unknown type \"" +
             Node.attribute("type").value() + "\"");
    set.Tile = IntegerAttribute(Node, "tile", -1, -1, INT32_MAX);
    for (const pugi::xml_node &colourNode : Node.children("wangcolor")) {
        if (set.Colours.size() >= static_cast<size_t>(MaxTerrainColours))
            Fail("terrain set \"" + set.Name + "\" has more than 254 terrains");
        TTerrainColour colour;
        colour.Name = colourNode.attribute("name").value();
        bool ok = true;
        if (colourNode.attribute("color"))
            colour.Colour = ParseColour(colourNode.attribute("color").value(), ok);
        if (!ok)
            Fail("terrain \"" + colour.Name + "\" has an unusable colour \"" +
                 colourNode.attribute("color").value() + "\"");
        colour.Tile = IntegerAttribute(colourNode, "tile", -1, -1, INT32_MAX);
        colour.Probability = ProbabilityAttribute(colourNode);
        set.Colours.push_back(std::move(colour));
    }
    for (const pugi::xml_node &tileNode : Node.children("wangtile")) {
        const int32_t tile = IntegerAttribute(tileNode, "tileid", -1, 0, INT32_MAX);
        if (tile < 0 || (TileCount > 0 && tile >= TileCount))
            Fail("terrain set \"" + set.Name + "\" names a tile outside the tileset");
        TWangId id{};
        if (!ParseWangId(tileNode.attribute("wangid").value(), id))
            Fail("terrain set \"" + set.Name + "\" has an unusable wang id \"" +
                 tileNode.attribute("wangid").value() + "\"");
        for (uint8_t value : id)
            if (value > set.Colours.size())
                Fail("terrain set \"" + set.Name + "\" names terrain " + std::to_string(value) +
                     " of " + std::to_string(set.Colours.size()));
        if (!set.Tiles.emplace(tile, UsedSlots(set.Type, id)).second)
            Fail("terrain set \"" + set.Name + "\" names tile " + std::to_string(tile) + " twice");
    }
    return set;
}

// Sets an attribute only when the value it holds means something else, so that an
// unchanged value keeps its spelling.
void SetText(pugi::xml_node Node, const char *Name, const std::string &Value)
{
    pugi::xml_attribute attribute = Node.attribute(Name);
    if (!attribute)
        attribute = Node.append_attribute(Name);
    if (Value != attribute.value())
        attribute.set_value(Value.c_str());
}

void SetInteger(pugi::xml_node Node, const char *Name, int32_t Value)
{
    const pugi::xml_attribute attribute = Node.attribute(Name);
    if (attribute && attribute.as_llong(INT64_MIN) == Value)
        return;
    SetText(Node, Name, std::to_string(Value));
}

void SetProbability(pugi::xml_node Node, double Value)
{
    const pugi::xml_attribute attribute = Node.attribute("probability");
    if (attribute && attribute.as_double(-1.0) == Value)
        return;
    SetText(Node, "probability", NumberText(Value));
}

void StoreColour(pugi::xml_node Node, const TTerrainColour &Colour)
{
    SetText(Node, "name", Colour.Name);
    bool ok = false;
    const pugi::xml_attribute colour = Node.attribute("color");
    if (!colour || ParseColour(colour.value(), ok) != Colour.Colour || !ok)
        SetText(Node, "color", ColourText(Colour.Colour));
    SetInteger(Node, "tile", Colour.Tile);
    SetProbability(Node, Colour.Probability);
}

void StoreSet(pugi::xml_node Node, const TTerrainSet &Set)
{
    SetText(Node, "name", Set.Name);
    SetText(Node, "type", TypeName(Set.Type));
    SetInteger(Node, "tile", Set.Tile);

    // Terrains: the existing elements in order, then new ones after the last.
    std::vector<pugi::xml_node> colours;
    for (pugi::xml_node colour : Node.children("wangcolor"))
        colours.push_back(colour);
    pugi::xml_node last;
    for (size_t i = 0; i < Set.Colours.size(); ++i) {
        pugi::xml_node colour;
        if (i < colours.size())
            colour = colours[i];
        else if (last)
            colour = Node.insert_child_after("wangcolor", last);
        else if (pugi::xml_node first = Node.first_child())
            colour = Node.insert_child_before("wangcolor", first);
        else
            colour = Node.append_child("wangcolor");
        StoreColour(colour, Set.Colours[i]);
        last = colour;
    }
    for (size_t i = Set.Colours.size(); i < colours.size(); ++i)
        Node.remove_child(colours[i]);

    // Tiles: changed ids rewritten in place, gone ones removed, new ones appended in order.
    std::set<int32_t> present;
    std::vector<pugi::xml_node> gone;
    for (pugi::xml_node tile : Node.children("wangtile")) {
        const int32_t id = tile.attribute("tileid").as_int(-1);
        const auto found = Set.Tiles.find(id);
        if (found == Set.Tiles.end() || present.count(id) != 0) {
            gone.push_back(tile);
            continue;
        }
        present.insert(id);
        TWangId current{};
        if (!ParseWangId(tile.attribute("wangid").value(), current) ||
            UsedSlots(Set.Type, current) != found->second)
            SetText(tile, "wangid", WangIdText(found->second));
    }
    for (pugi::xml_node tile : gone)
        Node.remove_child(tile);
    for (const auto &[id, wangId] : Set.Tiles) {
        if (present.count(id) != 0)
            continue;
        pugi::xml_node tile = Node.append_child("wangtile");
        tile.append_attribute("tileid").set_value(id);
        tile.append_attribute("wangid").set_value(WangIdText(wangId).c_str());
    }
}

bool SameFile(const fs::path &A, const fs::path &B)
{
    std::error_code error;
    if (fs::equivalent(A, B, error))
        return true;
    return fs::weakly_canonical(A, error) == fs::weakly_canonical(B, error);
}

// The image a tileset file names, resolved against the file's folder; empty when none.
fs::path NamedImage(const fs::path &TilesetFile)
{
    std::string text;
    std::string error;
    if (!ReadWholeFile(TilesetFile.string(), text, error))
        return {};
    pugi::xml_document document;
    if (!document.load_buffer(text.data(), text.size()))
        return {};
    const pugi::xml_node image = document.child("tileset").child("image");
    const std::string source = image.attribute("source").value();
    if (source.empty())
        return {};
    return TilesetFile.parent_path() / fs::path(source);
}

bool HasTilesetExtension(const fs::path &Path)
{
    std::string extension = Path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".tsx";
}

} // namespace

TTerrainSetFile::TTerrainSetFile() : FDocument(std::make_unique<pugi::xml_document>()) {}

TTerrainSetFile::~TTerrainSetFile() = default;

std::unique_ptr<TTerrainSetFile> TTerrainSetFile::Read(const std::string &Path, std::string &Error)
{
    std::string text;
    if (!ReadWholeFile(Path, text, Error))
        return nullptr;
    return Parse(text, Path, Error);
}

std::unique_ptr<TTerrainSetFile> TTerrainSetFile::Parse(const std::string &Text,
                                                        const std::string &Path, std::string &Error)
{
    std::unique_ptr<TTerrainSetFile> file(new TTerrainSetFile());
    file->FPath = Path;
    const unsigned options = pugi::parse_default | pugi::parse_declaration | pugi::parse_comments |
                             pugi::parse_pi | pugi::parse_doctype;
    const pugi::xml_parse_result parsed =
        file->FDocument->load_buffer(Text.data(), Text.size(), options, pugi::encoding_utf8);
    if (!parsed) {
        Error = std::string("is not XML (") + parsed.description() + " at byte " +
                std::to_string(parsed.offset) + ")";
        return nullptr;
    }
    if (!file->Load(Error))
        return nullptr;
    return file;
}

bool TTerrainSetFile::Load(std::string &Error)
{
    const pugi::xml_node tileset = FDocument->document_element();
    try {
        if (std::string(tileset.name()) != "tileset")
            Fail("is not a Tiled tileset");
        TTerrainTileset &t = FTileset;
        t.TileWidth = IntegerAttribute(tileset, "tilewidth", 0, 1, kMaxTileSize);
        t.TileHeight = IntegerAttribute(tileset, "tileheight", 0, 1, kMaxTileSize);
        if (t.TileWidth <= 0 || t.TileHeight <= 0)
            Fail("has no tile size");
        t.Margin = IntegerAttribute(tileset, "margin", 0, 0, kMaxTileSize);
        t.Spacing = IntegerAttribute(tileset, "spacing", 0, 0, kMaxTileSize);
        t.TileCount = IntegerAttribute(tileset, "tilecount", 0, 0, INT32_MAX);
        const pugi::xml_node image = tileset.child("image");
        FImageSource = image.attribute("source").value();
        if (FImageSource.empty())
            Fail("has no image of its own");
        const int32_t imageWidth = IntegerAttribute(image, "width", 0, 0, INT32_MAX);
        t.Columns = IntegerAttribute(tileset, "columns", 0, 0, INT32_MAX);
        // Old files may leave the columns out; the image's width gives them.
        if (t.Columns <= 0 && imageWidth > 0)
            t.Columns =
                std::max(0, (imageWidth - 2 * t.Margin + t.Spacing) / (t.TileWidth + t.Spacing));
        if (t.Columns <= 0)
            Fail("has no columns");
        for (const pugi::xml_node &tile : tileset.children("tile")) {
            const int32_t id = IntegerAttribute(tile, "id", -1, 0, INT32_MAX);
            if (id >= 0 && tile.attribute("probability"))
                t.TileProbability[id] = ProbabilityAttribute(tile);
        }
        int32_t index = 0;
        for (const pugi::xml_node &set : tileset.child("wangsets").children("wangset")) {
            if (!IsOldStyleSet(set))
                t.Sets.push_back(ReadSet(set, index, t.TileCount));
            ++index;
        }
    } catch (const TParseFailure &failure) {
        Error = failure.Reason;
        return false;
    }
    return true;
}

std::unique_ptr<TTerrainSetFile> TTerrainSetFile::Create(const std::string &Path,
                                                         const std::string &ImageSource,
                                                         int32_t Width, int32_t Height,
                                                         int32_t TileWidth, int32_t TileHeight)
{
    std::unique_ptr<TTerrainSetFile> file(new TTerrainSetFile());
    file->FPath = Path;
    file->FImageSource = ImageSource;
    const int32_t columns = std::max(1, Width / std::max(1, TileWidth));
    const int32_t rows = std::max(1, Height / std::max(1, TileHeight));
    pugi::xml_node declaration = file->FDocument->append_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value("1.0");
    declaration.append_attribute("encoding").set_value("UTF-8");
    pugi::xml_node tileset = file->FDocument->append_child("tileset");
    // The format's version only: which Tiled saved a file is for Tiled to write.
    tileset.append_attribute("version").set_value("1.8");
    tileset.append_attribute("name").set_value(fs::path(ImageSource).stem().string().c_str());
    tileset.append_attribute("tilewidth").set_value(TileWidth);
    tileset.append_attribute("tileheight").set_value(TileHeight);
    tileset.append_attribute("tilecount").set_value(columns * rows);
    tileset.append_attribute("columns").set_value(columns);
    pugi::xml_node image = tileset.append_child("image");
    image.append_attribute("source").set_value(ImageSource.c_str());
    image.append_attribute("width").set_value(Width);
    image.append_attribute("height").set_value(Height);
    TTerrainTileset &t = file->FTileset;
    t.TileWidth = TileWidth;
    t.TileHeight = TileHeight;
    t.Columns = columns;
    t.TileCount = columns * rows;
    return file;
}

void TTerrainSetFile::StoreSets()
{
    pugi::xml_node tileset = FDocument->document_element();
    pugi::xml_node wangsets = tileset.child("wangsets");
    if (!wangsets) {
        if (FTileset.Sets.empty())
            return;
        wangsets = tileset.append_child("wangsets");
    }
    std::vector<pugi::xml_node> nodes;
    for (pugi::xml_node set : wangsets.children("wangset"))
        nodes.push_back(set);
    std::vector<bool> kept(nodes.size(), false);
    std::vector<pugi::xml_node> targets;
    for (TTerrainSet &set : FTileset.Sets) {
        pugi::xml_node target;
        if (set.FileIndex >= 0 && static_cast<size_t>(set.FileIndex) < nodes.size() &&
            !kept[static_cast<size_t>(set.FileIndex)] &&
            !IsOldStyleSet(nodes[static_cast<size_t>(set.FileIndex)])) {
            kept[static_cast<size_t>(set.FileIndex)] = true;
            target = nodes[static_cast<size_t>(set.FileIndex)];
        } else {
            target = wangsets.append_child("wangset");
        }
        StoreSet(target, set);
        targets.push_back(target);
    }
    // Sets read from the file that the model no longer has were taken away; the ones never
    // read (old style) stay.
    for (size_t i = 0; i < nodes.size(); ++i)
        if (!kept[i] && !IsOldStyleSet(nodes[i]))
            wangsets.remove_child(nodes[i]);
    // The model now names the elements by their new places.
    for (size_t i = 0; i < targets.size(); ++i) {
        int32_t index = 0;
        for (pugi::xml_node set = wangsets.child("wangset"); set && set != targets[i];
             set = set.next_sibling("wangset"))
            ++index;
        FTileset.Sets[i].FileIndex = index;
    }
}

void TTerrainSetFile::StoreTileProbabilities()
{
    pugi::xml_node tileset = FDocument->document_element();
    for (const auto &[id, probability] : FTileset.TileProbability) {
        pugi::xml_node tile =
            tileset.find_child_by_attribute("tile", "id", std::to_string(id).c_str());
        if (!tile) {
            if (probability == 1.0)
                continue;
            // Tiled keeps its tiles after the image, before the terrain sets.
            pugi::xml_node before = tileset.child("wangsets");
            tile =
                before ? tileset.insert_child_before("tile", before) : tileset.append_child("tile");
            tile.append_attribute("id").set_value(id);
        }
        SetProbability(tile, probability);
    }
}

std::string TTerrainSetFile::Text()
{
    StoreTileProbabilities();
    StoreSets();
    std::ostringstream out;
    FDocument->save(out, " ", pugi::format_indent, pugi::encoding_utf8);
    return out.str();
}

bool TTerrainSetFile::Write(std::string &Error)
{
    const std::string text = Text();
    TReplacingFile file;
    if (!file.Open(FPath) || !file.Write(text.data(), text.size()) || !file.Commit()) {
        Error = std::strerror(errno != 0 ? errno : EIO);
        return false;
    }
    return true;
}

std::string TerrainSetFileFor(const std::string &ImagePath, bool &Exists)
{
    Exists = false;
    const fs::path image(ImagePath);
    const fs::path folder = image.parent_path().empty() ? fs::path(".") : image.parent_path();
    const fs::path byStem = folder / (image.stem().string() + ".tsx");
    std::error_code error;
    const bool stemTaken = fs::is_regular_file(byStem, error);
    if (stemTaken) {
        const fs::path named = NamedImage(byStem);
        if (!named.empty() && SameFile(named, image)) {
            Exists = true;
            return byStem.string();
        }
    }
    std::vector<fs::path> candidates;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code statError;
        if (it->is_regular_file(statError) && HasTilesetExtension(it->path()))
            candidates.push_back(it->path());
    }
    std::sort(candidates.begin(), candidates.end());
    for (const fs::path &candidate : candidates) {
        const fs::path named = NamedImage(candidate);
        if (!named.empty() && SameFile(named, image)) {
            Exists = true;
            return candidate.string();
        }
    }
    if (!stemTaken)
        return byStem.string();
    return (folder / (image.filename().string() + ".tsx")).string();
}
