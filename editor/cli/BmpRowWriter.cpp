// The BMP writer: uncompressed 24 bits per pixel with the header the editor's own bitmap
// dumps carry. A BMP file stores its rows bottom up, so each row is written at its place
// from the end of the file; the file's size is known from the start.
#include "ImageRowWriter.h"

#include "common/platform/ReplacingFile.h"

#include <cstdio>
#include <limits>
#include <vector>

namespace
{

void Put16(uint8_t *at, uint32_t value)
{
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void Put32(uint8_t *at, uint32_t value)
{
    Put16(at, value & 0xFFFF);
    Put16(at + 2, value >> 16);
}

constexpr int64_t kHeaderSize = 54;

class TBmpRowWriter : public TImageRowWriter
{
public:
    bool Begin(const std::string &Path, int64_t Width, int64_t Height, std::string &Error) override
    {
        const int64_t stride = (Width * 3 + 3) & ~int64_t{3};
        if (Width <= 0 || Height <= 0 || Width > std::numeric_limits<int32_t>::max() ||
            Height > std::numeric_limits<int32_t>::max() ||
            stride * Height + kHeaderSize > std::numeric_limits<uint32_t>::max()) {
            Error = "the picture is too large for a BMP file";
            return false;
        }
        if (!FFile.Open(Path)) {
            Error = "cannot create the file";
            return false;
        }
        FWidth = Width;
        FHeight = Height;
        FStride = stride;
        FRow.assign(static_cast<size_t>(stride), 0);
        uint8_t header[kHeaderSize] = {};
        header[0] = 'B';
        header[1] = 'M';
        Put32(header + 2, static_cast<uint32_t>(stride * Height + kHeaderSize));
        Put32(header + 10, kHeaderSize);
        Put32(header + 14, 40);
        Put32(header + 18, static_cast<uint32_t>(Width));
        Put32(header + 22, static_cast<uint32_t>(Height));
        Put16(header + 26, 1);
        Put16(header + 28, 24);
        if (!FFile.Write(header, sizeof header)) {
            Error = "cannot write the file";
            return false;
        }
        return true;
    }

    bool WriteRow(int32_t Y, const uint32_t *Pixels) override
    {
        uint8_t *out = FRow.data();
        for (int64_t x = 0; x < FWidth; ++x) {
            const uint32_t p = Pixels[x];
            *out++ = static_cast<uint8_t>(p);
            *out++ = static_cast<uint8_t>(p >> 8);
            *out++ = static_cast<uint8_t>(p >> 16);
        }
        const int64_t offset = kHeaderSize + (FHeight - 1 - Y) * FStride;
        return std::fseek(FFile.Output(), static_cast<long>(offset), SEEK_SET) == 0 &&
               FFile.Write(FRow.data(), FRow.size());
    }

    bool Finish() override { return FFile.Commit(); }

private:
    TReplacingFile FFile;
    int64_t FWidth = 0;
    int64_t FHeight = 0;
    int64_t FStride = 0;
    std::vector<uint8_t> FRow;
};

} // namespace

std::unique_ptr<TImageRowWriter> MakeBmpRowWriter()
{
    return std::make_unique<TBmpRowWriter>();
}
