#include "RasterPrimitives.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

namespace
{

void Put16(std::vector<uint8_t> &Out, uint32_t Value)
{
    Out.push_back(static_cast<uint8_t>(Value));
    Out.push_back(static_cast<uint8_t>(Value >> 8));
}

void Put32(std::vector<uint8_t> &Out, uint32_t Value)
{
    Put16(Out, Value & 0xFFFFu);
    Put16(Out, Value >> 16);
}

struct TFileCloser {
    void operator()(std::FILE *File) const { std::fclose(File); }
};

} // namespace

void SaveBitmap24(const std::string &FileName, TPixelBuffer &Bitmap)
{
    Bitmap.ConvertTo24();
    const uint32_t width = static_cast<uint32_t>(Bitmap.Width());
    const uint32_t height = static_cast<uint32_t>(Bitmap.Height());
    const uint32_t rowBytes = width * 3;
    const uint32_t stride = (rowBytes + 3) & ~3u;

    std::vector<uint8_t> header;
    header.reserve(54);
    Put16(header, 0x4D42);
    Put32(header, height * stride + 54);
    Put16(header, 0);
    Put16(header, 0);
    Put32(header, 54);
    Put32(header, 40);
    Put32(header, width);
    Put32(header, height);
    Put16(header, 1);
    Put16(header, 24);
    for (int i = 0; i < 6; ++i) // compression, image size, resolutions, colours
        Put32(header, 0);

    std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(FileName.c_str(), "wb"));
    if (!file)
        throw std::runtime_error("Cannot create " + FileName + ": " + std::strerror(errno));
    bool ok = std::fwrite(header.data(), 1, header.size(), file.get()) == header.size();
    const uint8_t padding[3] = {0, 0, 0};
    for (int32_t y = Bitmap.Height() - 1; ok && y >= 0; --y) {
        ok = std::fwrite(Bitmap.Row(y), 1, rowBytes, file.get()) == rowBytes &&
             std::fwrite(padding, 1, stride - rowBytes, file.get()) == stride - rowBytes;
    }
    std::FILE *raw = file.release();
    if (std::fclose(raw) != 0)
        ok = false;
    if (!ok)
        throw std::runtime_error("Cannot write " + FileName);
}
