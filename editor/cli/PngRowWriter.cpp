// The PNG writer: 8-bit RGB, rows handed over as they come, compressed on every core. The
// rows are gathered into blocks of a few megabytes; each block is deflated on a thread of
// its own, primed with the 32 KiB of rows before it, and ends on a byte boundary, so the
// blocks laid end to end are the one zlib stream a PNG holds (its checksum is combined from
// the blocks'). Rows are not filtered and the fastest deflate level is used: maps repeat
// their parts, and unfiltered rows keep those repeats byte for byte, so deflate finds them
// at once (smaller and faster than any filter on tile maps).
#include "ImageRowWriter.h"

#include "common/platform/ReplacingFile.h"

#include <algorithm>
#include <deque>
#include <future>
#include <memory>
#include <thread>
#include <vector>
#include <zlib.h>

namespace
{

constexpr size_t kBlockBytes = 4u << 20;      // raw bytes of rows per block
constexpr size_t kWindowBytes = 32u << 10;    // deflate's window: what a block is primed with
constexpr uint32_t kMaxChunkBytes = 1u << 30; // a PNG chunk holds less than 2^31 bytes

void StoreBigEndian(uint8_t *at, uint32_t value)
{
    at[0] = static_cast<uint8_t>(value >> 24);
    at[1] = static_cast<uint8_t>(value >> 16);
    at[2] = static_cast<uint8_t>(value >> 8);
    at[3] = static_cast<uint8_t>(value);
}

// One block of rows: its raw bytes and, once deflated, its compressed bytes and the
// Adler-32 of the raw ones. The buffers are reused from block to block, so that the pages
// are touched once and never zeroed for nothing.
struct TBlock {
    std::unique_ptr<uint8_t[]> Raw;
    size_t RawSize = 0;
    std::unique_ptr<uint8_t[]> Out;
    size_t OutCapacity = 0;
    size_t OutSize = 0;
    uint32_t Adler = 1;
    bool Ok = false;
};

TBlock DeflateBlock(TBlock block, const std::vector<uint8_t> &primer, bool last)
{
    block.Ok = false;
    block.OutSize = 0;
    block.Adler =
        static_cast<uint32_t>(adler32(1, block.Raw.get(), static_cast<uInt>(block.RawSize)));
    z_stream stream{};
    if (deflateInit2(&stream, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return block;
    if (!primer.empty())
        deflateSetDictionary(&stream, primer.data(), static_cast<uInt>(primer.size()));
    const size_t bound = deflateBound(&stream, static_cast<uLong>(block.RawSize)) + 16;
    if (block.OutCapacity < bound) {
        block.Out.reset(new uint8_t[bound]);
        block.OutCapacity = bound;
    }
    stream.next_in = block.Raw.get();
    stream.avail_in = static_cast<uInt>(block.RawSize);
    stream.next_out = block.Out.get();
    stream.avail_out = static_cast<uInt>(block.OutCapacity);
    // A block that is not the last ends on a byte boundary without closing the stream.
    const int result = deflate(&stream, last ? Z_FINISH : Z_SYNC_FLUSH);
    block.Ok = last ? result == Z_STREAM_END : result == Z_OK;
    block.OutSize = stream.total_out;
    deflateEnd(&stream);
    return block;
}

class TPngRowWriter : public TImageRowWriter
{
public:
    bool Begin(const std::string &Path, int64_t Width, int64_t Height, std::string &Error) override
    {
        if (Width <= 0 || Height <= 0 || Width > 0x7FFFFFFF / 3 || Height > 0x7FFFFFFF) {
            Error = "the picture is too large for a PNG file";
            return false;
        }
        if (!FFile.Open(Path)) {
            Error = "cannot create the file";
            return false;
        }
        FWidth = static_cast<uint32_t>(Width);
        FRowsLeft = Height;
        FThreads = std::max(1u, std::thread::hardware_concurrency());
        static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        uint8_t header[13] = {};
        StoreBigEndian(header, FWidth);
        StoreBigEndian(header + 4, static_cast<uint32_t>(Height));
        header[8] = 8; // bits per channel
        header[9] = 2; // RGB
        // Compression method, filter method and interlacing all 0.
        FOk = FFile.Write(signature, sizeof signature) && WriteChunk("IHDR", header, 13);
        // The zlib header: deflate with a 32 KiB window, the fastest level.
        const uint8_t zlibHeader[2] = {0x78, 0x01};
        FOk = FOk && WriteChunk("IDAT", zlibHeader, 2);
        if (!FOk)
            Error = "cannot write the file";
        return FOk;
    }

    bool WriteRow(int32_t, const uint32_t *Pixels) override
    {
        if (!FOk || FRowsLeft <= 0)
            return false;
        if (!FBlock.Raw) {
            FBlock = TakeSpareBlock();
            FBlock.RawSize = 0;
        }
        // A filter byte (0: none), then red, green and blue of each 0x00RRGGBB pixel.
        uint8_t *out = FBlock.Raw.get() + FBlock.RawSize;
        *out++ = 0;
        for (uint32_t x = 0; x < FWidth; ++x) {
            const uint32_t pixel = Pixels[x];
            *out++ = static_cast<uint8_t>(pixel >> 16);
            *out++ = static_cast<uint8_t>(pixel >> 8);
            *out++ = static_cast<uint8_t>(pixel);
        }
        FBlock.RawSize += RowBytes();
        --FRowsLeft;
        if (FBlock.RawSize + RowBytes() > RawCapacity() || FRowsLeft == 0)
            SubmitBlock(FRowsLeft == 0);
        return FOk;
    }

    bool Finish() override
    {
        if (!FOk || FRowsLeft != 0)
            return false;
        while (!FPending.empty())
            WriteOldest();
        uint8_t checksum[4];
        StoreBigEndian(checksum, FAdler);
        FOk = FOk && WriteChunk("IDAT", checksum, 4) && WriteChunk("IEND", nullptr, 0);
        return FOk && FFile.Commit();
    }

private:
    size_t RowBytes() const { return 1 + size_t{FWidth} * 3; }
    // A block holds whole rows: at least one, about kBlockBytes of them.
    size_t RawCapacity() const { return std::max(kBlockBytes, RowBytes()); }

    TBlock TakeSpareBlock()
    {
        if (!FSpare.empty()) {
            TBlock block = std::move(FSpare.back());
            FSpare.pop_back();
            return block;
        }
        TBlock block;
        block.Raw.reset(new uint8_t[RawCapacity()]);
        return block;
    }

    void SubmitBlock(bool last)
    {
        // The next block is primed with the end of this one, so matches reach across.
        std::vector<uint8_t> primer(std::move(FPrimer));
        const size_t keep = std::min(kWindowBytes, FBlock.RawSize);
        FPrimer.assign(FBlock.Raw.get() + FBlock.RawSize - keep, FBlock.Raw.get() + FBlock.RawSize);
        FPending.push_back(std::async(
            std::launch::async,
            [last, primer = std::move(primer)](TBlock block) {
                return DeflateBlock(std::move(block), primer, last);
            },
            std::move(FBlock)));
        FBlock = TBlock();
        // As many blocks in flight as there are cores, so memory stays bounded.
        while (FPending.size() > FThreads)
            WriteOldest();
    }

    void WriteOldest()
    {
        TBlock block = FPending.front().get();
        FPending.pop_front();
        FOk = FOk && block.Ok;
        FAdler = static_cast<uint32_t>(
            adler32_combine(FAdler, block.Adler, static_cast<z_off_t>(block.RawSize)));
        for (size_t at = 0; FOk && at < block.OutSize; at += kMaxChunkBytes) {
            const size_t count = std::min<size_t>(kMaxChunkBytes, block.OutSize - at);
            FOk = WriteChunk("IDAT", block.Out.get() + at, static_cast<uint32_t>(count));
        }
        FSpare.push_back(std::move(block));
    }

    bool WriteChunk(const char *type, const uint8_t *data, uint32_t size)
    {
        uint8_t head[8];
        StoreBigEndian(head, size);
        std::copy(type, type + 4, head + 4);
        uLong crc = crc32(0, head + 4, 4);
        if (size > 0)
            crc = crc32(crc, data, size);
        uint8_t tail[4];
        StoreBigEndian(tail, static_cast<uint32_t>(crc));
        return FFile.Write(head, 8) && (size == 0 || FFile.Write(data, size)) &&
               FFile.Write(tail, 4);
    }

    TReplacingFile FFile;
    uint32_t FWidth = 0;
    int64_t FRowsLeft = 0;
    unsigned FThreads = 1;
    bool FOk = false;
    TBlock FBlock; // the block being filled
    std::vector<uint8_t> FPrimer;
    std::deque<std::future<TBlock>> FPending;
    std::vector<TBlock> FSpare;
    uint32_t FAdler = 1;
};

} // namespace

std::unique_ptr<TImageRowWriter> MakePngRowWriter()
{
    return std::make_unique<TPngRowWriter>();
}
