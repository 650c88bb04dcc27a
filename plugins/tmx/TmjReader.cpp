#include "plugins/tmx/TmjReader.h"

#include "plugins/tmx/LayerData.h"
#include "plugins/tmx/TiledError.h"
#include "plugins/tmx/TiledLayers.h"
#include "plugins/tmx/TiledValues.h"

#include <climits>
#include <cmath>
#include <nlohmann/json.hpp>

using nlohmann::json;

namespace
{

struct TJsonFile {
    std::string Name;
    std::string Folder;
    TTilesetFiles &Files;
};

json Parse(const std::vector<char> &data, const std::string &name)
{
    try {
        return json::parse(data.begin(), data.end());
    } catch (const json::parse_error &error) {
        int64_t line = 1;
        int64_t column = 1;
        for (size_t i = 0; i + 1 < error.byte && i < data.size(); ++i) {
            if (data[i] == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
        ThrowBroken(name, "the JSON is broken at line " + std::to_string(line) + ", column " +
                              std::to_string(column));
    }
}

std::string Owner(const json &object, const char *kind)
{
    const auto name = object.find("name");
    if (name != object.end() && name->is_string())
        return std::string(kind) + " " + Quoted(name->get<std::string>());
    return kind;
}

[[noreturn]] void WrongType(const TJsonFile &file, const json &object, const char *kind,
                            const char *member, const char *type)
{
    ThrowBroken(file.Name, "the member " + std::string(member) + " of the " + Owner(object, kind) +
                               " is not " + type);
}

const json *Member(const json &object, const char *member)
{
    const auto found = object.find(member);
    return found != object.end() && !found->is_null() ? &*found : nullptr;
}

int64_t Int(const TJsonFile &file, const json &object, const char *kind, const char *member,
            int64_t fallback, int64_t low = INT32_MIN, int64_t high = INT32_MAX)
{
    const json *value = Member(object, member);
    if (value == nullptr)
        return fallback;
    if (value->is_number_unsigned()) {
        const auto number = value->get<uint64_t>();
        if (number <= static_cast<uint64_t>(high))
            return static_cast<int64_t>(number);
    } else if (value->is_number_integer()) {
        const auto number = value->get<int64_t>();
        if (number >= low && number <= high)
            return number;
    } else if (value->is_number_float()) {
        // Range first: casting a double beyond int64_t is undefined.
        const double number = value->get<double>();
        if (number >= static_cast<double>(low) && number <= static_cast<double>(high) &&
            number == std::floor(number))
            return static_cast<int64_t>(number);
    }
    WrongType(file, object, kind, member, "a whole number in range");
}

int32_t Int32(const TJsonFile &file, const json &object, const char *kind, const char *member,
              int64_t fallback)
{
    return static_cast<int32_t>(Int(file, object, kind, member, fallback));
}

double Real(const TJsonFile &file, const json &object, const char *kind, const char *member,
            double fallback)
{
    const json *value = Member(object, member);
    if (value == nullptr)
        return fallback;
    if (!value->is_number())
        WrongType(file, object, kind, member, "a number");
    return value->get<double>();
}

bool Bool(const TJsonFile &file, const json &object, const char *kind, const char *member,
          bool fallback)
{
    const json *value = Member(object, member);
    if (value == nullptr)
        return fallback;
    if (value->is_boolean())
        return value->get<bool>();
    if (value->is_number())
        return value->get<double>() != 0;
    WrongType(file, object, kind, member, "true or false");
}

std::string Text(const TJsonFile &file, const json &object, const char *kind, const char *member,
                 const std::string &fallback = {})
{
    const json *value = Member(object, member);
    if (value == nullptr)
        return fallback;
    if (!value->is_string())
        WrongType(file, object, kind, member, "a text");
    return value->get<std::string>();
}

const json &Object(const TJsonFile &file, const json &value, const char *what)
{
    if (!value.is_object())
        ThrowBroken(file.Name, std::string(what) + " is not a JSON object");
    return value;
}

// An array member, or an empty array when absent.
const json &Array(const TJsonFile &file, const json &object, const char *kind, const char *member)
{
    static const json empty = json::array();
    const json *value = Member(object, member);
    if (value == nullptr)
        return empty;
    if (!value->is_array())
        WrongType(file, object, kind, member, "a list");
    return *value;
}

size_t PropertyCount(const TJsonFile &file, const json &object, const char *kind)
{
    const json *value = Member(object, "properties");
    if (value == nullptr)
        return 0;
    if (value->is_array() || value->is_object()) // older files write an object
        return value->size();
    WrongType(file, object, kind, "properties", "a list");
}

std::optional<uint32_t> Colour(const TJsonFile &file, const json &object, const char *kind,
                               const char *member)
{
    const std::string text = Text(file, object, kind, member);
    if (text.empty())
        return std::nullopt;
    uint32_t colour = 0;
    if (!ParseColour(text.c_str(), colour))
        WrongType(file, object, kind, member, "a colour");
    return colour;
}

void ReadWangSets(const TJsonFile &file, const json &node, TTiledTileset &tileset)
{
    for (const json &entry : Array(file, node, "tileset", "wangsets")) {
        const json &element = Object(file, entry, "a wang set");
        if (Member(element, "cornercolors") != nullptr ||
            Member(element, "edgecolors") != nullptr) {
            tileset.OldStyleWangSets = true;
            continue;
        }
        TTiledWangSet set;
        set.Name = Text(file, element, "wang set", "name");
        set.Type = Text(file, element, "wang set", "type", "mixed");
        set.Tile = Int(file, element, "wang set", "tile", -1);
        for (const json &colourEntry : Array(file, element, "wang set", "colors")) {
            const json &colour = Object(file, colourEntry, "a wang colour");
            TTiledWangColor entryColour;
            entryColour.Name = Text(file, colour, "wang colour", "name");
            entryColour.Color = Text(file, colour, "wang colour", "color");
            entryColour.Tile = Int(file, colour, "wang colour", "tile", -1);
            entryColour.Probability = Real(file, colour, "wang colour", "probability", 1);
            set.Colors.push_back(entryColour);
        }
        for (const json &tileEntry : Array(file, element, "wang set", "wangtiles")) {
            const json &tile = Object(file, tileEntry, "a wang tile");
            TTiledWangTile wang;
            wang.TileId = static_cast<uint32_t>(Int(file, tile, "wang tile", "tileid", 0, 0));
            const json &ids = Array(file, tile, "wang tile", "wangid");
            if (ids.size() != 8) {
                tileset.OldStyleWangSets = true;
                set.Tiles.clear();
                break;
            }
            for (size_t i = 0; i < 8; ++i) {
                if (!ids[i].is_number_unsigned() || ids[i].get<uint64_t>() > 254)
                    ThrowBroken(file.Name, "a wang id of the wang set " + Quoted(set.Name) +
                                               " is not eight colour numbers");
                wang.WangId[i] = static_cast<uint8_t>(ids[i].get<uint64_t>());
            }
            set.Tiles.push_back(wang);
        }
        tileset.WangSets.push_back(set);
    }
}

// The old terrain list: one corner set.
void ReadTerrains(const TJsonFile &file, const json &node, TTiledTileset &tileset,
                  const std::vector<std::pair<uint32_t, const json *>> &tiles)
{
    const json &terrains = Array(file, node, "tileset", "terrains");
    if (terrains.empty())
        return;
    TTiledWangSet set;
    set.Name = "Terrains";
    set.Type = "corner";
    for (const json &entry : terrains) {
        const json &terrain = Object(file, entry, "a terrain");
        TTiledWangColor colour;
        colour.Name = Text(file, terrain, "terrain", "name");
        colour.Color = "#808080";
        colour.Tile = Int(file, terrain, "terrain", "tile", -1);
        set.Colors.push_back(colour);
    }
    static const size_t kCornerSlot[4] = {7, 1, 5, 3};
    for (const auto &[id, tile] : tiles) {
        const json &corners = Array(file, *tile, "tile", "terrain");
        if (corners.empty())
            continue;
        TTiledWangTile wang;
        wang.TileId = id;
        for (size_t i = 0; i < 4 && i < corners.size(); ++i) {
            if (!corners[i].is_number_integer() || corners[i].get<int64_t>() < -1 ||
                corners[i].get<int64_t>() >= static_cast<int64_t>(set.Colors.size()))
                ThrowBroken(file.Name,
                            "the terrain of tile " + std::to_string(id) + " is not a terrain");
            wang.WangId[kCornerSlot[i]] = static_cast<uint8_t>(corners[i].get<int64_t>() + 1);
        }
        set.Tiles.push_back(wang);
    }
    tileset.WangSets.push_back(set);
}

void ReadTileset(const TJsonFile &file, const json &node, TTiledTileset &tileset)
{
    const char *kind = "tileset";
    tileset.Name = Text(file, node, kind, "name");
    tileset.FileName = file.Name;
    tileset.TileWidth = Int32(file, node, kind, "tilewidth", 0);
    tileset.TileHeight = Int32(file, node, kind, "tileheight", 0);
    tileset.Spacing = Int32(file, node, kind, "spacing", 0);
    tileset.Margin = Int32(file, node, kind, "margin", 0);
    tileset.ColumnsAttribute = Int32(file, node, kind, "columns", 0);
    tileset.RenderAtGridSize = Text(file, node, kind, "tilerendersize") == "grid";
    tileset.KeepAspect = Text(file, node, kind, "fillmode") == "preserve-aspect-fit";
    tileset.Properties = PropertyCount(file, node, kind);
    if (const json *offset = Member(node, "tileoffset")) {
        Object(file, *offset, "the tile offset");
        tileset.OffsetX = Int32(file, *offset, "tile offset", "x", 0);
        tileset.OffsetY = Int32(file, *offset, "tile offset", "y", 0);
    }
    tileset.ImageReference = Text(file, node, kind, "image");
    if (!tileset.ImageReference.empty())
        tileset.Image = ResolveReference(file.Folder, tileset.ImageReference);
    tileset.Trans = Colour(file, node, kind, "transparentcolor");

    // Tiles come as a list, or in older files as an object keyed by id.
    std::vector<std::pair<uint32_t, const json *>> tiles;
    if (const json *list = Member(node, "tiles")) {
        if (list->is_array()) {
            for (const json &entry : *list) {
                const json &tile = Object(file, entry, "a tile");
                tiles.emplace_back(static_cast<uint32_t>(Int(file, tile, "tile", "id", 0, 0)),
                                   &tile);
            }
        } else if (list->is_object()) {
            for (auto entry = list->begin(); entry != list->end(); ++entry) {
                int64_t id = 0;
                if (!ParseInteger(entry.key().c_str(), id) || id < 0)
                    ThrowBroken(file.Name,
                                "the tile key " + Quoted(entry.key()) + " is not a tile id");
                tiles.emplace_back(static_cast<uint32_t>(id), &Object(file, *entry, "a tile"));
            }
        } else {
            WrongType(file, node, kind, "tiles", "a list");
        }
    }
    for (const auto &[id, element] : tiles) {
        TTiledTile tile;
        tile.Id = id;
        if (Member(*element, "probability") != nullptr)
            tile.Probability = Real(file, *element, "tile", "probability", 1);
        tile.Animated = !Array(file, *element, "tile", "animation").empty();
        tile.HasShapes = Member(*element, "objectgroup") != nullptr;
        tile.Properties = PropertyCount(file, *element, "tile");
        tile.ImageReference = Text(file, *element, "tile", "image");
        if (!tile.ImageReference.empty()) {
            tile.Image = ResolveReference(file.Folder, tile.ImageReference);
            tile.X = Int32(file, *element, "tile", "x", 0);
            tile.Y = Int32(file, *element, "tile", "y", 0);
            tile.Width = Int32(file, *element, "tile", "width", 0);
            tile.Height = Int32(file, *element, "tile", "height", 0);
        }
        tileset.Tiles.push_back(tile);
    }
    ReadTerrains(file, node, tileset, tiles);
    ReadWangSets(file, node, tileset);
    CheckTileset(tileset);
}

std::vector<uint32_t> ReadIds(const TJsonFile &file, const json &holder, const json &layer,
                              size_t count, const std::string &where)
{
    const json *data = Member(holder, "data");
    const std::string encoding = Text(file, layer, "layer", "encoding", "csv");
    if (encoding == "base64") {
        if (data == nullptr || !data->is_string())
            throw ETiledError(prBrokenFile, where + ": the base64 data is not a text");
        return DecodeBase64Ids(data->get_ref<const std::string &>(),
                               Text(file, layer, "layer", "compression"), count, where);
    }
    if (encoding != "csv")
        ThrowNotSupported(file.Name, "the data encoding " + Quoted(encoding) +
                                         " is not one of csv and base64");
    if (data == nullptr || !data->is_array())
        throw ETiledError(prBrokenFile, where + ": the data is not a list of tile ids");
    if (data->size() < count)
        throw ETiledError(prBrokenFile, where + ": the data is cut short: it holds " +
                                            std::to_string(data->size()) +
                                            " tiles of the "
                                            "layer's " +
                                            std::to_string(count));
    if (data->size() > count)
        throw ETiledError(prBrokenFile, where + ": the data holds more than the layer's " +
                                            std::to_string(count) + " tiles");
    std::vector<uint32_t> ids(count);
    for (size_t i = 0; i < count; ++i) {
        const json &value = (*data)[i];
        if (!value.is_number_unsigned() || value.get<uint64_t>() > 0xFFFFFFFFu)
            throw ETiledError(prBrokenFile, where + ": entry " + std::to_string(i + 1) +
                                                " of the data is not a tile id");
        ids[i] = static_cast<uint32_t>(value.get<uint64_t>());
    }
    return ids;
}

TGroupState Inherit(const TJsonFile &file, const json &node, const TGroupState &outer)
{
    TGroupState state = outer;
    state.Visible = outer.Visible && Bool(file, node, "layer", "visible", true);
    state.Opacity = outer.Opacity * Real(file, node, "layer", "opacity", 1);
    state.OffsetX += Real(file, node, "layer", "offsetx", 0);
    state.OffsetY += Real(file, node, "layer", "offsety", 0);
    state.Tinted = outer.Tinted || !Text(file, node, "layer", "tintcolor").empty();
    state.Parallax = outer.Parallax || Real(file, node, "layer", "parallaxx", 1) != 1 ||
                     Real(file, node, "layer", "parallaxy", 1) != 1;
    return state;
}

void ReadTileLayer(const TJsonFile &file, const TTiledMap &map, const json &node,
                   const TGroupState &state, std::vector<TPendingLayer> &layers)
{
    TPendingLayer pending;
    pending.Layer = LayerOfGroupState(Text(file, node, "layer", "name"), state);
    const TTiledLayer &layer = pending.Layer;
    const std::string where = file.Name + ": layer " + Quoted(layer.Name);
    if (map.Infinite) {
        for (const json &entry : Array(file, node, "layer", "chunks")) {
            const json &chunk = Object(file, entry, "a chunk");
            TTiledChunk block;
            block.X = Int(file, chunk, "chunk", "x", 0);
            block.Y = Int(file, chunk, "chunk", "y", 0);
            block.Width = Int(file, chunk, "chunk", "width", 0);
            block.Height = Int(file, chunk, "chunk", "height", 0);
            const std::string at =
                where + ", chunk at " + std::to_string(block.X) + ", " + std::to_string(block.Y);
            CheckLayerSize(block.Width, block.Height, file.Files.Limits(), at);
            block.Gids =
                ReadIds(file, chunk, node, static_cast<size_t>(block.Width * block.Height), at);
            pending.Chunks.push_back(std::move(block));
        }
    } else {
        pending.Width = Int(file, node, "layer", "width", map.Width);
        pending.Height = Int(file, node, "layer", "height", map.Height);
        CheckLayerSize(pending.Width, pending.Height, file.Files.Limits(), where);
        if (pending.Width > map.Width || pending.Height > map.Height)
            ThrowBroken(file.Name,
                        "the layer " + Quoted(layer.Name) + " (" + std::to_string(pending.Width) +
                            " × " + std::to_string(pending.Height) + ") is larger than the map (" +
                            std::to_string(map.Width) + " × " + std::to_string(map.Height) + ")");
        if (Member(node, "data") != nullptr)
            pending.Gids = ReadIds(file, node, node,
                                   static_cast<size_t>(pending.Width * pending.Height), where);
    }
    layers.push_back(std::move(pending));
}

void ReadLayers(const TJsonFile &file, TTiledMap &map, const json &list, const TGroupState &outer,
                std::vector<TPendingLayer> &layers, int depth = 0)
{
    if (depth > kMaxGroupDepth)
        ThrowNotSupported(file.Name, "the groups are nested more than " +
                                         std::to_string(kMaxGroupDepth) + " deep");
    for (const json &entry : list) {
        const json &node = Object(file, entry, "a layer");
        const std::string kind = Text(file, node, "layer", "type");
        const std::string name = Text(file, node, "layer", "name");
        if (kind != "tilelayer" && kind != "objectgroup" && kind != "imagelayer" && kind != "group")
            ThrowBroken(file.Name,
                        "the layer " + Quoted(name) + " has the unknown type " + Quoted(kind));
        if (PropertyCount(file, node, "layer") != 0 && kind != "objectgroup" &&
            kind != "imagelayer")
            map.Extras.PropertyOwners.push_back((kind == "group" ? "group " : "layer ") +
                                                Quoted(name));
        const TGroupState state = Inherit(file, node, outer);
        if (kind == "tilelayer") {
            ReadTileLayer(file, map, node, state, layers);
        } else if (kind == "objectgroup") {
            map.Extras.ObjectLayers.push_back(name);
        } else if (kind == "imagelayer") {
            map.Extras.ImageLayers.push_back(name);
        } else {
            map.Extras.Groups.push_back(name);
            ReadLayers(file, map, Array(file, node, "group", "layers"), state, layers, depth + 1);
        }
    }
}

void ReadMapProperties(const TJsonFile &file, const json &root, TTiledMap &map)
{
    const json *properties = Member(root, "properties");
    if (properties == nullptr)
        return;
    size_t others = 0;
    if (properties->is_array()) {
        for (const json &entry : *properties) {
            const json &property = Object(file, entry, "a property");
            const std::string type = Text(file, property, "property", "type", "string");
            const json *value = Member(property, "value");
            if (Text(file, property, "property", "name") == "comment" && type == "string" &&
                value != nullptr && value->is_string())
                map.Comment = value->get<std::string>();
            else
                ++others;
        }
    } else if (properties->is_object()) {
        others = properties->size();
    } else {
        WrongType(file, root, "map", "properties", "a list");
    }
    if (others != 0)
        map.Extras.PropertyOwners.push_back("the map");
}

} // namespace

TTiledMap ReadTmjMap(const std::vector<char> &Data, const std::string &Path, TTilesetFiles &Files)
{
    TTiledMap map;
    map.FileName = DisplayName(Files.MapFolder(), Path);
    map.Folder = FolderOfPath(Path);
    const TJsonFile file{map.FileName, map.Folder, Files};
    const json document = Parse(Data, file.Name);
    const json &root = Object(file, document, "the file");
    const std::string type = Text(file, root, "map", "type", "map");
    if (type != "map")
        ThrowNotSupported(file.Name, type == "tileset"
                                         ? "this is a tileset, not a map"
                                         : "the file holds a " + type + ", not a Tiled map");
    map.Orientation = Text(file, root, "map", "orientation", "orthogonal");
    map.RenderOrder = Text(file, root, "map", "renderorder", "right-down");
    map.Width = Int(file, root, "map", "width", 0);
    map.Height = Int(file, root, "map", "height", 0);
    map.TileWidth = Int(file, root, "map", "tilewidth", 0);
    map.TileHeight = Int(file, root, "map", "tileheight", 0);
    map.Infinite = Bool(file, root, "map", "infinite", false);
    map.Extras.BackgroundColour = !Text(file, root, "map", "backgroundcolor").empty();
    CheckMapHeader(map);
    ReadMapProperties(file, root, map);
    for (const json &entry : Array(file, root, "map", "tilesets")) {
        const json &node = Object(file, entry, "a tileset");
        TTiledTilesetUse use;
        use.FirstGid =
            static_cast<uint32_t>(Int(file, node, "tileset", "firstgid", 0, 1, 0x0FFFFFFF));
        if (use.FirstGid == 0)
            ThrowBroken(file.Name, "a tileset has no firstgid");
        const std::string source = Text(file, node, "tileset", "source");
        if (!source.empty()) {
            use.Tileset = Files.Load(ResolveReference(file.Folder, source), file.Name);
        } else {
            auto tileset = std::make_shared<TTiledTileset>();
            ReadTileset(file, node, *tileset);
            use.Tileset = tileset;
        }
        map.Tilesets.push_back(use);
    }
    std::vector<TPendingLayer> layers;
    ReadLayers(file, map, Array(file, root, "map", "layers"), TGroupState{}, layers);
    PlaceLayers(map, layers, Files.Limits());
    return map;
}

std::shared_ptr<TTiledTileset> ReadTsjTileset(const std::vector<char> &Data,
                                              const std::string &Path, TTilesetFiles &Files)
{
    const TJsonFile file{DisplayName(Files.MapFolder(), Path), FolderOfPath(Path), Files};
    const json document = Parse(Data, file.Name);
    const json &root = Object(file, document, "the file");
    const std::string type = Text(file, root, "tileset", "type", "tileset");
    if (type != "tileset")
        ThrowBroken(file.Name, "the file holds a " + type + ", not a tileset");
    auto tileset = std::make_shared<TTiledTileset>();
    ReadTileset(file, root, *tileset);
    return tileset;
}
