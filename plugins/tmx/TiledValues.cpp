#include "plugins/tmx/TiledValues.h"

#include "plugins/tmx/TiledError.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace
{

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string TilesetName(const TTiledTileset &tileset)
{
    return "the tileset " + Quoted(tileset.Name);
}

} // namespace

bool ParseInteger(const char *Text, int64_t &Value)
{
    const char *at = Text;
    bool negative = false;
    if (*at == '-' || *at == '+')
        negative = *at++ == '-';
    if (*at < '0' || *at > '9')
        return false;
    int64_t value = 0;
    for (; *at >= '0' && *at <= '9'; ++at) {
        value = value * 10 + (*at - '0');
        if (value > 0xFFFFFFFFll)
            return false;
    }
    if (*at != '\0')
        return false;
    Value = negative ? -value : value;
    return true;
}

bool ParseReal(const char *Text, double &Value)
{
    if (*Text == '\0')
        return false;
    char *end = nullptr;
    errno = 0;
    const double value = std::strtod(Text, &end);
    if (*end != '\0' || errno != 0 || !std::isfinite(value))
        return false;
    Value = value;
    return true;
}

bool ParseColour(const char *Text, uint32_t &Value)
{
    if (*Text == '#')
        ++Text;
    const size_t length = std::strlen(Text);
    if (length != 6 && length != 8)
        return false;
    uint32_t value = 0;
    for (size_t i = 0; i < length; ++i) {
        const int digit = HexDigit(Text[i]);
        if (digit < 0)
            return false;
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    Value = value & 0xFFFFFF; // #aarrggbb: the colour without its alpha
    return true;
}

bool ParseWangId(const char *Text, std::array<uint8_t, 8> &Value)
{
    const char *at = Text;
    for (size_t i = 0; i < 8; ++i) {
        if (*at < '0' || *at > '9')
            return false;
        int value = 0;
        while (*at >= '0' && *at <= '9') {
            value = value * 10 + (*at++ - '0');
            if (value > 254)
                return false;
        }
        Value[i] = static_cast<uint8_t>(value);
        if (i < 7 && *at++ != ',')
            return false;
    }
    return *at == '\0';
}

void CheckMapHeader(const TTiledMap &Map)
{
    if (Map.Orientation != "orthogonal")
        ThrowNotSupported(Map.FileName,
                          "the map is " + Map.Orientation + "; only orthogonal maps can be opened");
    if (Map.RenderOrder != "right-down" && Map.RenderOrder != "right-up" &&
        Map.RenderOrder != "left-down" && Map.RenderOrder != "left-up")
        ThrowBroken(Map.FileName,
                    "the render order " + Quoted(Map.RenderOrder) + " is not one Tiled knows");
    if (Map.TileWidth <= 0 || Map.TileHeight <= 0 || Map.TileWidth > kMaxTileSide ||
        Map.TileHeight > kMaxTileSide)
        ThrowBroken(Map.FileName, "the tile size " + std::to_string(Map.TileWidth) + " × " +
                                      std::to_string(Map.TileHeight) + " is not a size");
}

void CheckTileset(const TTiledTileset &Tileset)
{
    const bool collection = Tileset.Image.empty();
    if (!collection && (Tileset.TileWidth <= 0 || Tileset.TileHeight <= 0))
        ThrowBroken(Tileset.FileName, TilesetName(Tileset) + " has no tile size");
    if (Tileset.TileWidth < 0 || Tileset.TileHeight < 0 || Tileset.TileWidth > kMaxTileSide ||
        Tileset.TileHeight > kMaxTileSide)
        ThrowBroken(Tileset.FileName, TilesetName(Tileset) + " has the tile size " +
                                          std::to_string(Tileset.TileWidth) + " × " +
                                          std::to_string(Tileset.TileHeight) +
                                          ", which is not a size");
    if (Tileset.Margin < 0 || Tileset.Spacing < 0 || Tileset.Margin > kMaxTileSide ||
        Tileset.Spacing > kMaxTileSide)
        ThrowBroken(Tileset.FileName, TilesetName(Tileset) + " has a negative or too large "
                                                             "margin or spacing");
    if (std::abs(Tileset.OffsetX) > kMaxTileSide || std::abs(Tileset.OffsetY) > kMaxTileSide)
        ThrowBroken(Tileset.FileName, TilesetName(Tileset) + " has a tile offset beyond " +
                                          std::to_string(kMaxTileSide) + " pixels");
    for (const TTiledTile &tile : Tileset.Tiles) {
        if (tile.Image.empty())
            continue;
        if (tile.X < 0 || tile.Y < 0 || tile.Width < 0 || tile.Height < 0 ||
            tile.Width > kMaxTileSide || tile.Height > kMaxTileSide || tile.X > kMaxTileSide * 4 ||
            tile.Y > kMaxTileSide * 4)
            ThrowBroken(Tileset.FileName, "tile " + std::to_string(tile.Id) + " of " +
                                              TilesetName(Tileset) +
                                              " names a part of its image that is not one");
    }
}
