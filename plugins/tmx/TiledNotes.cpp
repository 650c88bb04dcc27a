#include "plugins/tmx/TiledNotes.h"

#include "plugins/tmx/TiledError.h"

#include <cmath>
#include <cstdio>

namespace
{

// "a", "a and b", "a, b and c".
std::string Listed(const std::vector<std::string> &items)
{
    std::string text;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i != 0)
            text += i + 1 == items.size() ? " and " : ", ";
        text += items[i];
    }
    return text;
}

std::string QuotedList(const std::vector<std::string> &names)
{
    std::vector<std::string> quoted;
    for (const std::string &name : names)
        quoted.push_back(Quoted(name));
    return Listed(quoted);
}

std::string Counted(size_t count, const char *one, const char *many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

void LayerKinds(const TTiledExtras &extras, std::vector<std::string> &items)
{
    if (!extras.ObjectLayers.empty())
        items.push_back(std::string(extras.ObjectLayers.size() == 1 ? "the object layer "
                                                                    : "the object layers ") +
                        QuotedList(extras.ObjectLayers));
    if (!extras.ImageLayers.empty())
        items.push_back(
            std::string(extras.ImageLayers.size() == 1 ? "the image layer " : "the image layers ") +
            QuotedList(extras.ImageLayers));
    if (!extras.Groups.empty())
        items.push_back(std::string(extras.Groups.size() == 1 ? "the group " : "the groups ") +
                        QuotedList(extras.Groups) + " (their layers are kept)");
    if (extras.BackgroundColour)
        items.push_back("the background colour");
}

void LayerLooks(const TTiledMap &map, std::vector<std::string> &items)
{
    std::vector<std::string> opacity;
    std::vector<std::string> tinted;
    std::vector<std::string> parallax;
    for (const TTiledLayer &layer : map.Layers) {
        if (layer.Opacity < 1)
            opacity.push_back(Quoted(layer.Name) + " (" + Number(layer.Opacity) +
                              (layer.Opacity < 0.5 ? ": hidden)" : ": drawn opaque)"));
        if (layer.Tinted)
            tinted.push_back(layer.Name);
        if (layer.Parallax)
            parallax.push_back(layer.Name);
    }
    if (!opacity.empty())
        items.push_back("the opacity of " + Listed(opacity));
    if (!tinted.empty())
        items.push_back("the tint colour of " + QuotedList(tinted));
    if (!parallax.empty())
        items.push_back("the parallax of " + QuotedList(parallax));
}

void TilesetData(const std::vector<TTilesetFate> &fates, std::vector<std::string> &properties,
                 std::vector<std::string> &items)
{
    for (const TTilesetFate &fate : fates) {
        const TTiledTileset &tileset = *fate.Tileset;
        const std::string name = Quoted(tileset.Name);
        if (tileset.Properties != 0)
            properties.push_back("the tileset " + name);
        size_t withProperties = 0;
        size_t animated = 0;
        size_t shaped = 0;
        for (const TTiledTile &tile : tileset.Tiles) {
            withProperties += tile.Properties != 0;
            animated += tile.Animated;
            shaped += tile.HasShapes;
        }
        if (withProperties != 0)
            properties.push_back(Counted(withProperties, "tile", "tiles") + " of " + name);
        if (animated != 0)
            items.push_back("the animations of " + Counted(animated, "tile", "tiles") + " of " +
                            name);
        if (shaped != 0)
            items.push_back("the collision shapes of " + Counted(shaped, "tile", "tiles") + " of " +
                            name);
        if (tileset.OldStyleWangSets)
            items.push_back("the old-style terrain sets of " + name);
        if (!tileset.WangSets.empty() && !fate.Derived && !tileset.External)
            items.push_back("the terrain sets of " + name + " (they stay in the map file)");
        if (fate.TerrainCut)
            items.push_back("the terrain tiles of " + name + " larger than a part");
    }
}

} // namespace

std::vector<std::string> ListLeftOut(const TTiledMap &Map, const std::vector<TTilesetFate> &Fates)
{
    std::vector<std::string> items;
    LayerKinds(Map.Extras, items);
    std::vector<std::string> properties = Map.Extras.PropertyOwners;
    std::vector<std::string> tilesetItems;
    TilesetData(Fates, properties, tilesetItems);
    if (!properties.empty())
        items.push_back("the properties of " + Listed(properties));
    LayerLooks(Map, items);
    items.insert(items.end(), tilesetItems.begin(), tilesetItems.end());
    return items;
}

std::string NoticeText(const std::string &MapName, const std::vector<std::string> &LeftOut,
                       const std::vector<std::string> &Written)
{
    std::string text;
    if (!LeftOut.empty()) {
        text = MapName + ": left out what the map cannot hold: ";
        for (size_t i = 0; i < LeftOut.size(); ++i)
            text += (i == 0 ? "" : "; ") + LeftOut[i];
        text += ".";
    }
    if (!Written.empty()) {
        text += text.empty() ? MapName + ": written beside it: " : " Written beside it: ";
        text += Listed(Written) + ".";
    }
    return text;
}
