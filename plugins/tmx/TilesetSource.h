// One tileset as the conversion sees it: the tiles it holds (an image cut by Tiled's rule of
// margin and spacing, or a collection of images), where each tile's pixels lie, and the
// pixels themselves, read from PNG files only when a tile has to be cut into new parts.
// Errors name the tileset's file and the image.
#pragma once

#include "plugins/tmx/ImageSize.h"
#include "plugins/tmx/PngFile.h"
#include "plugins/tmx/TiledMap.h"

#include <cstdint>
#include <map>
#include <string>

class TTilesetSource
{
public:
    // Reads the image's header; throws ETiledError when it is missing or not a picture.
    TTilesetSource(const TTiledTileset &Tileset, uint32_t FirstGid);

    const TTiledTileset &Tileset() const { return FTileset; }
    uint32_t FirstGid() const { return FFirstGid; }
    bool IsCollection() const { return FTileset.Image.empty(); }
    // Tiles of an image tileset (ids 0 .. count - 1); for a collection one past its last id.
    uint32_t TileCount() const { return FTileCount; }
    // Whether the id names a tile.
    bool HasTile(uint32_t Id) const;
    int32_t Columns() const { return FColumns; }

    // Image tilesets: the image's size and format as its header says (read once).
    const TImageSize &ImageSize() const { return FImageSize; }
    TImageFormat ImageFormat() const { return FFormat; }

    // Where tile Id's pixels lie in the picture SourcePixels(Id) gives, and its own size.
    void TileRectangle(uint32_t Id, int32_t &X, int32_t &Y, int32_t &Width, int32_t &Height) const;
    // The picture holding tile Id (the tileset's image, or the tile's own), decoded on first
    // use with the trans colour made transparent. Throws ETiledError when it is not a PNG
    // file or cannot be read.
    const TRgbaImage &SourcePixels(uint32_t Id);
    // Whether a pixel of the tileset's image is less than half opaque by its own alpha, not
    // counting the trans colour (decodes the image).
    bool ImageHasAlpha();

    // How messages name the tileset: "the tileset "Desert" (desert.tsx)".
    std::string Describe() const;

private:
    const TRgbaImage &Decode(const std::string &Path, const std::string &Reference,
                             TRgbaImage &Image, bool &Decoded);
    void ReadCollectionSize(const TTiledTile &Tile) const;

    const TTiledTileset &FTileset;
    uint32_t FFirstGid;
    uint32_t FTileCount = 0;
    int32_t FColumns = 0;
    TImageSize FImageSize;
    TImageFormat FFormat = TImageFormat::Unknown;
    TRgbaImage FPixels;
    bool FDecoded = false;
    bool FOwnAlpha = false;
    // Collections: each tile's picture and size, read when first asked for.
    std::map<uint32_t, TRgbaImage> FTilePixels;
    std::map<uint32_t, bool> FTileDecoded;
    mutable std::map<uint32_t, TImageSize> FTileSizes;
};
