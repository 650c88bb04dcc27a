#include "plugins/tmx/LayerData.h"

#include "plugins/tmx/TiledError.h"

#include <array>
#include <zlib.h>
#include <zstd.h>

namespace
{

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

[[noreturn]] void Fail(const std::string &where, const std::string &what)
{
    throw ETiledError(prBrokenFile, where + ": " + what);
}

std::string TilesText(size_t count)
{
    return std::to_string(count) + (count == 1 ? " tile" : " tiles");
}

// The ids in little-endian bytes, exactly count of them.
std::vector<uint32_t> IdsOf(const std::vector<uint8_t> &bytes, size_t count,
                            const std::string &where)
{
    if (bytes.size() < count * 4)
        Fail(where, "the data is cut short: it holds " + TilesText(bytes.size() / 4) +
                        " of the layer's " + std::to_string(count));
    if (bytes.size() > count * 4)
        Fail(where, "the data holds more than the layer's " + TilesText(count));
    std::vector<uint32_t> ids(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t *p = bytes.data() + 4 * i;
        ids[i] = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
    }
    return ids;
}

// Inflates a zlib (windowBits 15) or gzip (31) stream into at most limit bytes; one byte
// more tells a stream that holds too much.
std::vector<uint8_t> Inflate(const std::vector<uint8_t> &input, int windowBits, size_t limit,
                             const std::string &where, const char *name)
{
    z_stream stream{};
    if (inflateInit2(&stream, windowBits) != Z_OK)
        throw std::bad_alloc();
    std::vector<uint8_t> output(limit + 1);
    stream.next_in = const_cast<Bytef *>(input.data());
    stream.avail_in = static_cast<uInt>(input.size());
    stream.next_out = output.data();
    stream.avail_out = static_cast<uInt>(output.size());
    const int result = inflate(&stream, Z_FINISH);
    const size_t produced = output.size() - stream.avail_out;
    const size_t left = stream.avail_in;
    inflateEnd(&stream);
    if (result == Z_MEM_ERROR)
        throw std::bad_alloc();
    if (produced > limit)
        Fail(where, std::string("the ") + name + " data holds more than the layer's " +
                        TilesText(limit / 4));
    if (result == Z_DATA_ERROR || result == Z_NEED_DICT)
        Fail(where, std::string("the ") + name + " data is broken");
    if (result != Z_STREAM_END)
        Fail(where, std::string("the ") + name + " data is cut short");
    if (left != 0)
        Fail(where, std::string("bytes follow the end of the ") + name + " data");
    output.resize(produced);
    return output;
}

std::vector<uint8_t> DecompressZstd(const std::vector<uint8_t> &input, size_t limit,
                                    const std::string &where)
{
    ZSTD_DCtx *context = ZSTD_createDCtx();
    if (context == nullptr)
        throw std::bad_alloc();
    std::vector<uint8_t> output(limit + 1);
    ZSTD_inBuffer in{input.data(), input.size(), 0};
    ZSTD_outBuffer out{output.data(), output.size(), 0};
    size_t result = 1;
    while (in.pos < in.size && out.pos < out.size) {
        result = ZSTD_decompressStream(context, &out, &in);
        if (ZSTD_isError(result) || result == 0)
            break;
    }
    ZSTD_freeDCtx(context);
    if (out.pos > limit)
        Fail(where, "the zstd data holds more than the layer's " + TilesText(limit / 4));
    if (ZSTD_isError(result))
        Fail(where, std::string("the zstd data is broken (") + ZSTD_getErrorName(result) + ")");
    if (result != 0)
        Fail(where, "the zstd data is cut short");
    if (in.pos != in.size)
        Fail(where, "bytes follow the end of the zstd data");
    output.resize(out.pos);
    return output;
}

} // namespace

bool DecodeBase64(std::string_view Text, std::vector<uint8_t> &Bytes)
{
    static const std::array<int8_t, 256> values = [] {
        std::array<int8_t, 256> table{};
        table.fill(-1);
        const char *alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        for (int i = 0; i < 64; ++i)
            table[static_cast<uint8_t>(alphabet[i])] = static_cast<int8_t>(i);
        return table;
    }();
    Bytes.clear();
    Bytes.reserve(Text.size() / 4 * 3);
    uint32_t group = 0;
    int held = 0;
    int padding = 0;
    for (const char c : Text) {
        if (IsSpace(c))
            continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        const int8_t value = values[static_cast<uint8_t>(c)];
        if (value < 0 || padding != 0)
            return false;
        group = group << 6 | static_cast<uint32_t>(value);
        if (++held == 4) {
            Bytes.push_back(static_cast<uint8_t>(group >> 16));
            Bytes.push_back(static_cast<uint8_t>(group >> 8));
            Bytes.push_back(static_cast<uint8_t>(group));
            group = 0;
            held = 0;
        }
    }
    // A last group of two or three characters carries one or two bytes.
    if (held == 1 || padding > 2 || (padding != 0 && held + padding != 4))
        return false;
    if (held == 2) {
        Bytes.push_back(static_cast<uint8_t>(group >> 4));
    } else if (held == 3) {
        Bytes.push_back(static_cast<uint8_t>(group >> 10));
        Bytes.push_back(static_cast<uint8_t>(group >> 2));
    }
    return true;
}

std::vector<uint32_t> DecodeCsvIds(std::string_view Text, size_t Count, const std::string &Where)
{
    std::vector<uint32_t> ids;
    ids.reserve(Count);
    size_t at = 0;
    const size_t size = Text.size();
    while (at < size && IsSpace(Text[at]))
        ++at;
    if (at == size) {
        if (Count != 0)
            Fail(Where, "the data is empty; the layer has " + TilesText(Count));
        return ids;
    }
    for (;;) {
        while (at < size && IsSpace(Text[at]))
            ++at;
        uint64_t value = 0;
        const size_t start = at;
        while (at < size && Text[at] >= '0' && Text[at] <= '9') {
            value = value * 10 + static_cast<uint64_t>(Text[at] - '0');
            if (value > 0xFFFFFFFFu)
                Fail(Where,
                     "the tile id at entry " + std::to_string(ids.size() + 1) + " is too large");
            ++at;
        }
        if (at == start)
            Fail(Where, "entry " + std::to_string(ids.size() + 1) +
                            " of the CSV data is not a "
                            "tile id");
        if (ids.size() == Count)
            Fail(Where, "the data holds more than the layer's " + TilesText(Count));
        ids.push_back(static_cast<uint32_t>(value));
        while (at < size && IsSpace(Text[at]))
            ++at;
        if (at == size)
            break;
        if (Text[at] != ',')
            Fail(Where, "entry " + std::to_string(ids.size()) +
                            " of the CSV data is not a "
                            "tile id");
        ++at;
    }
    if (ids.size() < Count)
        Fail(Where, "the data is cut short: it holds " + TilesText(ids.size()) +
                        " of the layer's " + std::to_string(Count));
    return ids;
}

std::vector<uint32_t> DecodeBase64Ids(std::string_view Text, const std::string &Compression,
                                      size_t Count, const std::string &Where)
{
    std::vector<uint8_t> bytes;
    if (!DecodeBase64(Text, bytes))
        Fail(Where, "the base64 data is broken");
    if (Compression.empty())
        return IdsOf(bytes, Count, Where);
    if (Compression == "zlib")
        return IdsOf(Inflate(bytes, 15, Count * 4, Where, "zlib"), Count, Where);
    if (Compression == "gzip")
        return IdsOf(Inflate(bytes, 31, Count * 4, Where, "gzip"), Count, Where);
    if (Compression == "zstd")
        return IdsOf(DecompressZstd(bytes, Count * 4, Where), Count, Where);
    throw ETiledError(prNotSupported, Where + ": the compression " + Quoted(Compression) +
                                          " is not one of zlib, gzip and zstd");
}
