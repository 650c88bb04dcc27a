#include "tests/plugin-tmx/TiledTestFiles.h"

#include "plugins/tmx/PngFile.h"

#include <zlib.h>
#include <zstd.h>

void WriteTestPng(const std::string &Path, int32_t Width, int32_t Height,
                  const std::function<uint32_t(int32_t, int32_t)> &Colour)
{
    TRgbaImage image;
    image.Resize(Width, Height);
    for (int32_t y = 0; y < Height; ++y)
        for (int32_t x = 0; x < Width; ++x) {
            const uint32_t c = Colour(x, y);
            uint8_t *p = image.At(x, y);
            p[0] = static_cast<uint8_t>(c >> 24);
            p[1] = static_cast<uint8_t>(c >> 16);
            p[2] = static_cast<uint8_t>(c >> 8);
            p[3] = static_cast<uint8_t>(c);
        }
    WriteFileBytes(Path, EncodePng(image, "test"));
}

std::vector<uint8_t> IdBytes(const std::vector<uint32_t> &Ids)
{
    TBytes bytes;
    for (const uint32_t id : Ids)
        bytes.U32(id);
    return bytes.Data;
}

std::string Base64(const std::vector<uint8_t> &Bytes)
{
    static const char *alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < Bytes.size(); i += 3) {
        uint32_t group = uint32_t{Bytes[i]} << 16;
        if (i + 1 < Bytes.size())
            group |= uint32_t{Bytes[i + 1]} << 8;
        if (i + 2 < Bytes.size())
            group |= Bytes[i + 2];
        out += alphabet[group >> 18 & 63];
        out += alphabet[group >> 12 & 63];
        out += i + 1 < Bytes.size() ? alphabet[group >> 6 & 63] : '=';
        out += i + 2 < Bytes.size() ? alphabet[group & 63] : '=';
    }
    return out;
}

namespace
{

std::vector<uint8_t> Deflate(const std::vector<uint8_t> &bytes, int windowBits)
{
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
    std::vector<uint8_t> out(deflateBound(&stream, static_cast<uLong>(bytes.size())) + 32);
    stream.next_in = const_cast<Bytef *>(bytes.data());
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(out.size() - stream.avail_out);
    deflateEnd(&stream);
    return out;
}

} // namespace

std::vector<uint8_t> ZlibBytes(const std::vector<uint8_t> &Bytes)
{
    return Deflate(Bytes, 15);
}

std::vector<uint8_t> GzipBytes(const std::vector<uint8_t> &Bytes)
{
    return Deflate(Bytes, 31);
}

std::vector<uint8_t> ZstdBytes(const std::vector<uint8_t> &Bytes)
{
    std::vector<uint8_t> out(ZSTD_compressBound(Bytes.size()));
    out.resize(ZSTD_compress(out.data(), out.size(), Bytes.data(), Bytes.size(), 3));
    return out;
}

std::string CsvIds(const std::vector<uint32_t> &Ids, size_t Width)
{
    std::string text;
    for (size_t i = 0; i < Ids.size(); ++i) {
        text += std::to_string(Ids[i]);
        if (i + 1 < Ids.size())
            text += (i + 1) % Width == 0 ? ",\n" : ",";
    }
    return text;
}

std::string TmxMap(int Width, int Height, int Grid, const std::string &Body,
                   const std::string &Extra)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map version=\"1.10\" "
           "orientation=\"orthogonal\" renderorder=\"right-down\" width=\"" +
           std::to_string(Width) + "\" height=\"" + std::to_string(Height) + "\" tilewidth=\"" +
           std::to_string(Grid) + "\" tileheight=\"" + std::to_string(Grid) + "\"" + Extra + ">\n" +
           Body + "</map>\n";
}

std::vector<uint16_t> TImportedMap::Cells(size_t Layer) const
{
    const uint16_t *cells = Record.Layers[Layer].Cells;
    return std::vector<uint16_t>(cells, cells + size_t{Record.Width} * Record.Height);
}

std::string TImportedMap::Name(size_t Layer) const
{
    const char *name = Record.Layers[Layer].Name;
    return name != nullptr ? name : "(null)";
}

std::string TImportedMap::Image(size_t Layer) const
{
    const char *image = Record.Layers[Layer].PartsImage;
    return image != nullptr ? image : "";
}
