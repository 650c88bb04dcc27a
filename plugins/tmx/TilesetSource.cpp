#include "plugins/tmx/TilesetSource.h"

#include "plugins/tmx/TiledError.h"

#include <filesystem>

namespace
{

const char *FormatName(TImageFormat format)
{
    switch (format) {
    case TImageFormat::Png:
        return "PNG";
    case TImageFormat::Bmp:
        return "BMP";
    case TImageFormat::Gif:
        return "GIF";
    case TImageFormat::Jpeg:
        return "JPEG";
    case TImageFormat::Unknown:
        break;
    }
    return "unknown";
}

// The size of a picture file, or ETiledError naming the file that refers to it.
TImageSize ReadSize(const std::string &path, const std::string &reference,
                    const std::string &referrer, TImageFormat &format)
{
    TImageSize size;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        ThrowFileError(referrer, "the image " + reference + " cannot be opened");
    if (!ReadImageSize(path, size, &format))
        ThrowNotSupported(referrer, "the image " + reference +
                                        " is not a PNG, BMP, GIF or JPEG picture that can be "
                                        "read");
    return size;
}

} // namespace

TTilesetSource::TTilesetSource(const TTiledTileset &Tileset, uint32_t FirstGid)
    : FTileset(Tileset), FFirstGid(FirstGid)
{
    if (IsCollection()) {
        for (const TTiledTile &tile : FTileset.Tiles)
            if (!tile.Image.empty() && tile.Id >= FTileCount)
                FTileCount = tile.Id + 1;
        return;
    }
    FImageSize = ReadSize(FTileset.Image, FTileset.ImageReference, FTileset.FileName, FFormat);
    // Tiled's rule: whole tiles between the margins, spacing between them.
    const int64_t step = int64_t{FTileset.TileWidth} + FTileset.Spacing;
    const int64_t rowStep = int64_t{FTileset.TileHeight} + FTileset.Spacing;
    const int64_t columns =
        (int64_t{FImageSize.Width} - 2 * int64_t{FTileset.Margin} + FTileset.Spacing) / step;
    const int64_t rows =
        (int64_t{FImageSize.Height} - 2 * int64_t{FTileset.Margin} + FTileset.Spacing) / rowStep;
    if (columns > 0 && rows > 0) {
        FColumns = static_cast<int32_t>(columns);
        FTileCount = static_cast<uint32_t>(columns * rows);
    }
}

bool TTilesetSource::HasTile(uint32_t Id) const
{
    if (!IsCollection())
        return Id < FTileCount;
    const TTiledTile *tile = FTileset.FindTile(Id);
    return tile != nullptr && !tile->Image.empty();
}

void TTilesetSource::ReadCollectionSize(const TTiledTile &Tile) const
{
    if (FTileSizes.count(Tile.Id) != 0)
        return;
    TImageFormat format = TImageFormat::Unknown;
    FTileSizes[Tile.Id] = ReadSize(Tile.Image, Tile.ImageReference, FTileset.FileName, format);
}

void TTilesetSource::TileRectangle(uint32_t Id, int32_t &X, int32_t &Y, int32_t &Width,
                                   int32_t &Height) const
{
    if (!IsCollection()) {
        X = FTileset.Margin + static_cast<int32_t>(Id % static_cast<uint32_t>(FColumns)) *
                                  (FTileset.TileWidth + FTileset.Spacing);
        Y = FTileset.Margin + static_cast<int32_t>(Id / static_cast<uint32_t>(FColumns)) *
                                  (FTileset.TileHeight + FTileset.Spacing);
        Width = FTileset.TileWidth;
        Height = FTileset.TileHeight;
        return;
    }
    const TTiledTile &tile = *FTileset.FindTile(Id);
    X = tile.X;
    Y = tile.Y;
    Width = tile.Width;
    Height = tile.Height;
    if (Width == 0 || Height == 0) {
        ReadCollectionSize(tile);
        const TImageSize &size = FTileSizes[Id];
        Width = size.Width - X;
        Height = size.Height - Y;
    }
    if (Width <= 0 || Height <= 0)
        ThrowBroken(FTileset.FileName, "tile " + std::to_string(Id) + " of " + Describe() +
                                           " names no pixels of its image");
}

const TRgbaImage &TTilesetSource::Decode(const std::string &Path, const std::string &Reference,
                                         TRgbaImage &Image, bool &Decoded)
{
    if (Decoded)
        return Image;
    std::string reason;
    if (!ReadPngFile(Path, Image, reason)) {
        TImageSize size;
        TImageFormat format = TImageFormat::Unknown;
        std::error_code error;
        if (!std::filesystem::is_regular_file(Path, error))
            ThrowFileError(FTileset.FileName, "the image " + Reference + " cannot be opened");
        if (ReadImageSize(Path, size, &format) && format != TImageFormat::Png)
            ThrowNotSupported(FTileset.FileName,
                              "the image " + Reference + " is a " + FormatName(format) +
                                  " picture; only PNG pictures can be cut into new parts");
        ThrowBroken(FTileset.FileName, "the image " + Reference + " cannot be read: " + reason);
    }
    for (size_t i = 3; i < Image.Pixels.size() && !FOwnAlpha; i += 4)
        FOwnAlpha = Image.Pixels[i] < 128;
    if (FTileset.Trans) {
        const uint32_t key = *FTileset.Trans;
        for (size_t i = 0; i < Image.Pixels.size(); i += 4) {
            uint8_t *pixel = Image.Pixels.data() + i;
            if ((uint32_t{pixel[0]} << 16 | uint32_t{pixel[1]} << 8 | pixel[2]) == key) {
                pixel[0] = 255;
                pixel[1] = 0;
                pixel[2] = 255;
                pixel[3] = 0;
            }
        }
    }
    Decoded = true;
    return Image;
}

const TRgbaImage &TTilesetSource::SourcePixels(uint32_t Id)
{
    if (!IsCollection())
        return Decode(FTileset.Image, FTileset.ImageReference, FPixels, FDecoded);
    const TTiledTile &tile = *FTileset.FindTile(Id);
    return Decode(tile.Image, tile.ImageReference, FTilePixels[Id], FTileDecoded[Id]);
}

bool TTilesetSource::ImageHasAlpha()
{
    Decode(FTileset.Image, FTileset.ImageReference, FPixels, FDecoded);
    return FOwnAlpha;
}

std::string TTilesetSource::Describe() const
{
    std::string text = "the tileset " + Quoted(FTileset.Name);
    if (FTileset.External)
        text += " (" + FTileset.FileName + ")";
    return text;
}
