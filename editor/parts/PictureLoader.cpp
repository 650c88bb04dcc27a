#include "PictureLoader.h"

#include "common/platform/InputFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <filesystem>
#include <limits>
#include <stdexcept>

namespace
{

constexpr uint64_t kMaxFileBytes = uint64_t{1} << 30;

std::vector<uint8_t> ReadWholeFile(const std::string &FileName)
{
    TInputFile file;
    if (!file.Open(FileName.c_str()))
        throw std::runtime_error("cannot read " +
                                 std::filesystem::path(FileName).filename().string());
    if (file.Size() > kMaxFileBytes)
        throw std::runtime_error("file too large");
    std::vector<uint8_t> data(static_cast<size_t>(file.Size()));
    if (!file.ReadExact(data.data(), data.size()))
        throw std::runtime_error("read error");
    return data;
}

bool IsJpeg(const std::vector<uint8_t> &Data)
{
    return Data.size() >= 3 && Data[0] == 0xFF && Data[1] == 0xD8 && Data[2] == 0xFF;
}

uint32_t Le32(const std::vector<uint8_t> &Data, size_t At)
{
    return Data[At] | Data[At + 1] << 8 | Data[At + 2] << 16 |
           static_cast<uint32_t>(Data[At + 3]) << 24;
}

// Qt's reader hands back a picture even when an uncompressed bitmap's rows are cut short;
// such a file is refused rather than shown half empty.
void CheckBitmapLength(const std::vector<uint8_t> &Data)
{
    if (Data.size() < 54)
        throw std::runtime_error("the bitmap is cut short");
    const uint32_t offset = Le32(Data, 10);
    const int64_t width = static_cast<int32_t>(Le32(Data, 18));
    const int64_t height = static_cast<int32_t>(Le32(Data, 22));
    const uint32_t bits = Data[28] | Data[29] << 8;
    const uint32_t compression = Le32(Data, 30);
    if (compression != 0 && compression != 3)
        return;
    const int64_t stride = ((width * bits + 31) / 32) * 4;
    const int64_t needed = static_cast<int64_t>(offset) + stride * (height < 0 ? -height : height);
    if (width <= 0 || needed > static_cast<int64_t>(Data.size()))
        throw std::runtime_error("the bitmap is cut short");
}

void DecodeWithQt(const std::vector<uint8_t> &Data, TPixelBuffer &Bitmap)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(Data.data()),
                                               static_cast<qsizetype>(Data.size()));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    const QByteArray format = QImageReader::imageFormat(&device).toLower();
    if (format != "bmp" && format != "ico" && format != "cur")
        throw std::runtime_error("unsupported image format");
    if (format == "bmp")
        CheckBitmapLength(Data);
    device.seek(0);
    QImageReader reader(&device, format);
    QImage image;
    if (!reader.read(&image) || image.isNull())
        throw std::runtime_error(reader.errorString().toStdString());
    // Transparent pixels end up over black, as when a picture is drawn on a new bitmap. An
    // opaque picture is copied as it is: a large parts image is not converted twice.
    if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    TPixelBuffer picture(image.width(), image.height(), 32);
    for (int32_t y = 0; y < picture.Height(); ++y) {
        const auto *src = reinterpret_cast<const uint32_t *>(image.constScanLine(y));
        uint32_t *dst = picture.Row32(y);
        for (int32_t x = 0; x < picture.Width(); ++x)
            dst[x] = src[x] & 0x00FFFFFFu;
    }
    Bitmap = std::move(picture);
}

} // namespace

void LoadPictureFile(const std::string &FileName, TPixelBuffer &Bitmap)
{
    const std::vector<uint8_t> data = ReadWholeFile(FileName);
    if (data.empty())
        throw std::runtime_error("empty file");
    if (IsJpeg(data))
        DecodeJpeg(data, Bitmap);
    else if (IsMetafile(data.data(), data.size()))
        DecodeMetafile(data.data(), data.size(), Bitmap);
    else
        DecodeWithQt(data, Bitmap);
}
