#include "plugins/tmx/TmxReader.h"

#include "plugins/tmx/LayerData.h"
#include "plugins/tmx/TiledError.h"
#include "plugins/tmx/TiledLayers.h"
#include "plugins/tmx/TiledValues.h"

#include <climits>
#include <cstring>
#include <pugixml.hpp>

namespace
{

// One file being read: its name for messages, its folder for references.
struct TXmlFile {
    std::string Name;
    std::string Folder;
    TTilesetFiles &Files;
};

void Parse(pugi::xml_document &document, std::vector<char> &data, const std::string &name)
{
    const pugi::xml_parse_result parsed =
        document.load_buffer_inplace(data.data(), data.size(), pugi::parse_default);
    if (parsed)
        return;
    // pugixml reports a byte offset; people read lines and columns.
    int64_t line = 1;
    int64_t column = 1;
    for (ptrdiff_t i = 0; i < parsed.offset && i < static_cast<ptrdiff_t>(data.size()); ++i) {
        if (data[static_cast<size_t>(i)] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    ThrowBroken(name, "the XML is broken at line " + std::to_string(line) + ", column " +
                          std::to_string(column) + " (" + parsed.description() + ")");
}

std::string ElementText(const pugi::xml_node &node)
{
    std::string text = "<" + std::string(node.name()) + ">";
    const char *name = node.attribute("name").value();
    if (*name != '\0')
        text += " " + Quoted(name);
    return text;
}

// An attribute read as a number; Fallback when it is absent.
int64_t Int(const TXmlFile &file, const pugi::xml_node &node, const char *name, int64_t fallback)
{
    const pugi::xml_attribute attribute = node.attribute(name);
    if (attribute.empty())
        return fallback;
    int64_t value = 0;
    if (!ParseInteger(attribute.value(), value))
        ThrowBroken(file.Name, "the attribute " + std::string(name) + " of " + ElementText(node) +
                                   " is not a whole number");
    return value;
}

int32_t Int32(const TXmlFile &file, const pugi::xml_node &node, const char *name, int64_t fallback)
{
    const int64_t value = Int(file, node, name, fallback);
    if (value < INT32_MIN || value > INT32_MAX)
        ThrowBroken(file.Name, "the attribute " + std::string(name) + " of " + ElementText(node) +
                                   " is out of range");
    return static_cast<int32_t>(value);
}

double Real(const TXmlFile &file, const pugi::xml_node &node, const char *name, double fallback)
{
    const pugi::xml_attribute attribute = node.attribute(name);
    if (attribute.empty())
        return fallback;
    double value = 0;
    if (!ParseReal(attribute.value(), value))
        ThrowBroken(file.Name, "the attribute " + std::string(name) + " of " + ElementText(node) +
                                   " is not a number");
    return value;
}

size_t PropertyCount(const pugi::xml_node &node)
{
    size_t count = 0;
    for (const pugi::xml_node &property : node.child("properties").children("property"))
        (void)property, ++count;
    return count;
}

void ReadImage(const TXmlFile &file, const pugi::xml_node &image, std::string &path,
               std::string &reference, std::optional<uint32_t> *trans)
{
    reference = image.attribute("source").value();
    if (reference.empty())
        ThrowNotSupported(file.Name, "an image without a source (image data inside the file) "
                                     "cannot be read");
    path = ResolveReference(file.Folder, reference);
    if (trans != nullptr && !image.attribute("trans").empty()) {
        uint32_t colour = 0;
        if (!ParseColour(image.attribute("trans").value(), colour))
            ThrowBroken(file.Name, "the trans colour " + Quoted(image.attribute("trans").value()) +
                                       " is not a colour");
        *trans = colour & 0xFFFFFF;
    }
}

// The old terrain types: one corner set.
void ReadTerrainTypes(const TXmlFile &file, const pugi::xml_node &node, TTiledTileset &tileset)
{
    const pugi::xml_node types = node.child("terraintypes");
    if (types.empty())
        return;
    TTiledWangSet set;
    set.Name = "Terrains";
    set.Type = "corner";
    for (const pugi::xml_node &terrain : types.children("terrain")) {
        TTiledWangColor colour;
        colour.Name = terrain.attribute("name").value();
        colour.Color = "#808080";
        colour.Tile = Int(file, terrain, "tile", -1);
        set.Colors.push_back(colour);
    }
    for (const pugi::xml_node &tile : node.children("tile")) {
        const char *corners = tile.attribute("terrain").value();
        if (*corners == '\0')
            continue;
        TTiledWangTile wang;
        wang.TileId = static_cast<uint32_t>(Int(file, tile, "id", 0));
        // Top left, top right, bottom left, bottom right; wang ids go round from the top.
        static const int kCornerSlot[4] = {7, 1, 5, 3};
        int corner = 0;
        for (const char *at = corners; corner < 4; ++corner) {
            const char *end = std::strchr(at, ',');
            const std::string text = end != nullptr ? std::string(at, end) : std::string(at);
            int64_t value = -1;
            if (!text.empty() && (!ParseInteger(text.c_str(), value) || value < 0 ||
                                  value >= static_cast<int64_t>(set.Colors.size())))
                ThrowBroken(file.Name, "the terrain " + Quoted(corners) + " of tile " +
                                           std::to_string(wang.TileId) + " is not a terrain");
            wang.WangId[static_cast<size_t>(kCornerSlot[corner])] =
                static_cast<uint8_t>(text.empty() ? 0 : value + 1);
            if (end == nullptr)
                break;
            at = end + 1;
        }
        set.Tiles.push_back(wang);
    }
    if (!set.Colors.empty())
        tileset.WangSets.push_back(set);
}

void ReadWangSets(const TXmlFile &file, const pugi::xml_node &node, TTiledTileset &tileset)
{
    for (const pugi::xml_node &element : node.child("wangsets").children("wangset")) {
        if (!element.child("wangcornercolor").empty() || !element.child("wangedgecolor").empty()) {
            tileset.OldStyleWangSets = true;
            continue;
        }
        TTiledWangSet set;
        set.Name = element.attribute("name").value();
        set.Type = element.attribute("type").empty() ? "mixed" : element.attribute("type").value();
        set.Tile = Int(file, element, "tile", -1);
        for (const pugi::xml_node &colour : element.children("wangcolor")) {
            TTiledWangColor entry;
            entry.Name = colour.attribute("name").value();
            entry.Color = colour.attribute("color").value();
            entry.Tile = Int(file, colour, "tile", -1);
            entry.Probability = Real(file, colour, "probability", 1);
            set.Colors.push_back(entry);
        }
        for (const pugi::xml_node &tile : element.children("wangtile")) {
            TTiledWangTile entry;
            entry.TileId = static_cast<uint32_t>(Int(file, tile, "tileid", 0));
            if (!ParseWangId(tile.attribute("wangid").value(), entry.WangId)) {
                tileset.OldStyleWangSets = true;
                set.Tiles.clear();
                break;
            }
            set.Tiles.push_back(entry);
        }
        tileset.WangSets.push_back(set);
    }
}

void ReadTileset(const TXmlFile &file, const pugi::xml_node &node, TTiledTileset &tileset)
{
    tileset.Name = node.attribute("name").value();
    tileset.FileName = file.Name;
    tileset.TileWidth = Int32(file, node, "tilewidth", 0);
    tileset.TileHeight = Int32(file, node, "tileheight", 0);
    tileset.Spacing = Int32(file, node, "spacing", 0);
    tileset.Margin = Int32(file, node, "margin", 0);
    tileset.ColumnsAttribute = Int32(file, node, "columns", 0);
    tileset.RenderAtGridSize = std::strcmp(node.attribute("tilerendersize").value(), "grid") == 0;
    tileset.KeepAspect =
        std::strcmp(node.attribute("fillmode").value(), "preserve-aspect-fit") == 0;
    tileset.Properties = PropertyCount(node);
    const pugi::xml_node offset = node.child("tileoffset");
    tileset.OffsetX = Int32(file, offset, "x", 0);
    tileset.OffsetY = Int32(file, offset, "y", 0);
    const pugi::xml_node image = node.child("image");
    if (!image.empty())
        ReadImage(file, image, tileset.Image, tileset.ImageReference, &tileset.Trans);
    for (const pugi::xml_node &element : node.children("tile")) {
        TTiledTile tile;
        tile.Id = static_cast<uint32_t>(Int(file, element, "id", 0));
        if (!element.attribute("probability").empty())
            tile.Probability = Real(file, element, "probability", 1);
        tile.Animated = !element.child("animation").empty();
        tile.HasShapes = !element.child("objectgroup").empty();
        tile.Properties = PropertyCount(element);
        const pugi::xml_node own = element.child("image");
        if (!own.empty()) {
            ReadImage(file, own, tile.Image, tile.ImageReference, nullptr);
            tile.X = Int32(file, element, "x", 0);
            tile.Y = Int32(file, element, "y", 0);
            tile.Width = Int32(file, element, "width", 0);
            tile.Height = Int32(file, element, "height", 0);
        }
        tileset.Tiles.push_back(tile);
    }
    ReadTerrainTypes(file, node, tileset);
    ReadWangSets(file, node, tileset);
    CheckTileset(tileset);
}

// The ids of a <data> element or a <chunk>: CSV, base64 or <tile> elements.
std::vector<uint32_t> ReadIds(const TXmlFile &file, const pugi::xml_node &data,
                              const pugi::xml_node &holder, size_t count, const std::string &where)
{
    const std::string encoding = data.attribute("encoding").value();
    const std::string compression = data.attribute("compression").value();
    if (encoding == "csv")
        return DecodeCsvIds(holder.child_value(), count, where);
    if (encoding == "base64")
        return DecodeBase64Ids(holder.child_value(), compression, count, where);
    if (!encoding.empty())
        ThrowNotSupported(file.Name, "the data encoding " + Quoted(encoding) +
                                         " is not one of csv and base64");
    std::vector<uint32_t> ids;
    ids.reserve(count);
    for (const pugi::xml_node &tile : holder.children("tile")) {
        if (ids.size() == count)
            throw ETiledError(prBrokenFile, where + ": the data holds more than the layer's " +
                                                std::to_string(count) + " tiles");
        const int64_t gid = Int(file, tile, "gid", 0);
        if (gid < 0 || gid > 0xFFFFFFFFll)
            throw ETiledError(prBrokenFile,
                              where + ": the tile id " + std::to_string(gid) + " is not a tile id");
        ids.push_back(static_cast<uint32_t>(gid));
    }
    if (ids.size() < count)
        throw ETiledError(prBrokenFile, where + ": the data is cut short: it holds " +
                                            std::to_string(ids.size()) + " tiles of the layer's " +
                                            std::to_string(count));
    return ids;
}

TGroupState Inherit(const TXmlFile &file, const pugi::xml_node &node, const TGroupState &outer)
{
    TGroupState state = outer;
    state.Visible = outer.Visible && Int(file, node, "visible", 1) != 0;
    state.Opacity = outer.Opacity * Real(file, node, "opacity", 1);
    state.OffsetX += Real(file, node, "offsetx", 0);
    state.OffsetY += Real(file, node, "offsety", 0);
    state.Tinted = outer.Tinted || !node.attribute("tintcolor").empty();
    state.Parallax = outer.Parallax || Real(file, node, "parallaxx", 1) != 1 ||
                     Real(file, node, "parallaxy", 1) != 1;
    return state;
}

void ReadTileLayer(const TXmlFile &file, const TTiledMap &map, const pugi::xml_node &node,
                   const TGroupState &state, std::vector<TPendingLayer> &layers)
{
    TPendingLayer pending;
    pending.Layer = LayerOfGroupState(node.attribute("name").value(), state);
    const TTiledLayer &layer = pending.Layer;
    const std::string where = file.Name + ": layer " + Quoted(layer.Name);
    const pugi::xml_node data = node.child("data");
    if (map.Infinite) {
        for (const pugi::xml_node &chunk : data.children("chunk")) {
            TTiledChunk block;
            block.X = Int(file, chunk, "x", 0);
            block.Y = Int(file, chunk, "y", 0);
            block.Width = Int(file, chunk, "width", 0);
            block.Height = Int(file, chunk, "height", 0);
            const std::string at =
                where + ", chunk at " + std::to_string(block.X) + ", " + std::to_string(block.Y);
            CheckLayerSize(block.Width, block.Height, file.Files.Limits(), at);
            block.Gids =
                ReadIds(file, data, chunk, static_cast<size_t>(block.Width * block.Height), at);
            pending.Chunks.push_back(std::move(block));
        }
    } else {
        pending.Width = Int(file, node, "width", map.Width);
        pending.Height = Int(file, node, "height", map.Height);
        CheckLayerSize(pending.Width, pending.Height, file.Files.Limits(), where);
        if (pending.Width > map.Width || pending.Height > map.Height)
            ThrowBroken(file.Name,
                        "the layer " + Quoted(layer.Name) + " (" + std::to_string(pending.Width) +
                            " × " + std::to_string(pending.Height) + ") is larger than the map (" +
                            std::to_string(map.Width) + " × " + std::to_string(map.Height) + ")");
        if (!data.empty())
            pending.Gids = ReadIds(file, data, data,
                                   static_cast<size_t>(pending.Width * pending.Height), where);
    }
    layers.push_back(std::move(pending));
}

void ReadLayers(const TXmlFile &file, TTiledMap &map, const pugi::xml_node &parent,
                const TGroupState &outer, std::vector<TPendingLayer> &layers, int depth = 0)
{
    if (depth > kMaxGroupDepth)
        ThrowNotSupported(file.Name, "the groups are nested more than " +
                                         std::to_string(kMaxGroupDepth) + " deep");
    for (const pugi::xml_node &node : parent.children()) {
        const std::string kind = node.name();
        const std::string name = node.attribute("name").value();
        if (kind != "layer" && kind != "objectgroup" && kind != "imagelayer" && kind != "group")
            continue;
        if (PropertyCount(node) != 0 && kind != "objectgroup" && kind != "imagelayer")
            map.Extras.PropertyOwners.push_back((kind == "group" ? "group " : "layer ") +
                                                Quoted(name));
        const TGroupState state = Inherit(file, node, outer);
        if (kind == "layer")
            ReadTileLayer(file, map, node, state, layers);
        else if (kind == "objectgroup")
            map.Extras.ObjectLayers.push_back(name);
        else if (kind == "imagelayer")
            map.Extras.ImageLayers.push_back(name);
        else {
            map.Extras.Groups.push_back(name);
            ReadLayers(file, map, node, state, layers, depth + 1);
        }
    }
}

void ReadMapProperties(const pugi::xml_node &node, TTiledMap &map)
{
    size_t others = 0;
    for (const pugi::xml_node &property : node.child("properties").children("property")) {
        const std::string type = property.attribute("type").value();
        if (std::strcmp(property.attribute("name").value(), "comment") == 0 &&
            (type.empty() || type == "string")) {
            // Text of several lines is the element's content; one line is its value.
            map.Comment = property.attribute("value").empty()
                              ? std::string(property.child_value())
                              : std::string(property.attribute("value").value());
        } else {
            ++others;
        }
    }
    if (others != 0)
        map.Extras.PropertyOwners.push_back("the map");
}

} // namespace

TTiledMap ReadTmxMap(std::vector<char> &Data, const std::string &Path, TTilesetFiles &Files)
{
    TTiledMap map;
    map.FileName = DisplayName(Files.MapFolder(), Path);
    map.Folder = FolderOfPath(Path);
    const TXmlFile file{map.FileName, map.Folder, Files};
    pugi::xml_document document;
    Parse(document, Data, file.Name);
    const pugi::xml_node root = document.document_element();
    if (std::strcmp(root.name(), "map") != 0)
        ThrowNotSupported(file.Name, std::strcmp(root.name(), "tileset") == 0
                                         ? "this is a tileset, not a map"
                                         : "the file holds <" + std::string(root.name()) +
                                               ">, not a Tiled map");
    if (!root.attribute("orientation").empty())
        map.Orientation = root.attribute("orientation").value();
    if (!root.attribute("renderorder").empty())
        map.RenderOrder = root.attribute("renderorder").value();
    map.Width = Int(file, root, "width", 0);
    map.Height = Int(file, root, "height", 0);
    map.TileWidth = Int(file, root, "tilewidth", 0);
    map.TileHeight = Int(file, root, "tileheight", 0);
    map.Infinite = Int(file, root, "infinite", 0) != 0;
    map.Extras.BackgroundColour = !root.attribute("backgroundcolor").empty();
    CheckMapHeader(map);
    ReadMapProperties(root, map);
    for (const pugi::xml_node &node : root.children("tileset")) {
        TTiledTilesetUse use;
        const int64_t firstGid = Int(file, node, "firstgid", 0);
        if (firstGid <= 0 || firstGid > 0x0FFFFFFF)
            ThrowBroken(file.Name, "the firstgid " + std::to_string(firstGid) + " of " +
                                       ElementText(node) + " is not a tile id");
        use.FirstGid = static_cast<uint32_t>(firstGid);
        const char *source = node.attribute("source").value();
        if (*source != '\0') {
            use.Tileset = Files.Load(ResolveReference(file.Folder, source), file.Name);
        } else {
            auto tileset = std::make_shared<TTiledTileset>();
            ReadTileset(file, node, *tileset);
            use.Tileset = tileset;
        }
        map.Tilesets.push_back(use);
    }
    std::vector<TPendingLayer> layers;
    ReadLayers(file, map, root, TGroupState{}, layers);
    PlaceLayers(map, layers, Files.Limits());
    return map;
}

std::shared_ptr<TTiledTileset> ReadTsxTileset(std::vector<char> &Data, const std::string &Path,
                                              TTilesetFiles &Files)
{
    const TXmlFile file{DisplayName(Files.MapFolder(), Path), FolderOfPath(Path), Files};
    pugi::xml_document document;
    Parse(document, Data, file.Name);
    const pugi::xml_node root = document.document_element();
    if (std::strcmp(root.name(), "tileset") != 0)
        ThrowBroken(file.Name, "the file holds <" + std::string(root.name()) + ">, not a tileset");
    auto tileset = std::make_shared<TTiledTileset>();
    ReadTileset(file, root, *tileset);
    return tileset;
}
