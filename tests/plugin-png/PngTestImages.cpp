#include "PngTestImages.h"

#include <cstdio>
#include <png.h>
#include <stdexcept>

int TPngImage::Channels() const
{
    switch (ColorType) {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_PALETTE:
        return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB:
        return 3;
    default:
        return 4;
    }
}

namespace
{

void AppendToVector(png_structp Png, png_bytep Data, size_t Length)
{
    auto *out = static_cast<std::vector<uint8_t> *>(png_get_io_ptr(Png));
    out->insert(out->end(), Data, Data + Length);
}

void NoFlush(png_structp) {}

// One row packed as PNG stores it.
std::vector<uint8_t> PackRow(const TPngImage &Image, int32_t Y)
{
    const int channels = Image.Channels();
    const size_t samples = static_cast<size_t>(Image.Width) * channels;
    const uint16_t *row = Image.Samples.data() + static_cast<size_t>(Y) * samples;
    std::vector<uint8_t> packed;
    if (Image.BitDepth == 16) {
        for (size_t i = 0; i < samples; ++i) {
            packed.push_back(static_cast<uint8_t>(row[i] >> 8));
            packed.push_back(static_cast<uint8_t>(row[i]));
        }
    } else if (Image.BitDepth == 8) {
        for (size_t i = 0; i < samples; ++i)
            packed.push_back(static_cast<uint8_t>(row[i]));
    } else {
        const int perByte = 8 / Image.BitDepth;
        packed.assign((samples + perByte - 1) / perByte, 0);
        for (size_t i = 0; i < samples; ++i) {
            const int shift = 8 - Image.BitDepth * (static_cast<int>(i % perByte) + 1);
            packed[i / perByte] |= static_cast<uint8_t>(row[i] << shift);
        }
    }
    return packed;
}

// A low-depth sample scaled to 8 bits the way PNG decoders expand it.
uint8_t To8(uint16_t Sample, int BitDepth)
{
    if (BitDepth == 16)
        return static_cast<uint8_t>(Sample >> 8);
    return static_cast<uint8_t>(Sample * 255 / ((1 << BitDepth) - 1));
}

} // namespace

std::vector<uint8_t> EncodePng(const TPngImage &Image)
{
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("cannot encode the test PNG");
    }
    png_set_write_fn(png, &out, AppendToVector, NoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(Image.Width),
                 static_cast<png_uint_32>(Image.Height), Image.BitDepth, Image.ColorType,
                 Image.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (const TPngPaletteEntry &e : Image.Palette)
        palette.push_back({e.Red, e.Green, e.Blue});
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    png_color_16 key{};
    if (!Image.PaletteAlpha.empty()) {
        png_set_tRNS(png, info, Image.PaletteAlpha.data(),
                     static_cast<int>(Image.PaletteAlpha.size()), nullptr);
    } else if (Image.KeyColor) {
        const std::vector<uint16_t> &k = *Image.KeyColor;
        if (k.size() == 1)
            key.gray = k[0];
        else
            key.red = k[0], key.green = k[1], key.blue = k[2];
        png_set_tRNS(png, info, nullptr, 0, &key);
    }
    png_write_info(png, info);
    std::vector<std::vector<uint8_t>> rows;
    std::vector<png_bytep> pointers;
    for (int32_t y = 0; y < Image.Height; ++y)
        rows.push_back(PackRow(Image, y));
    for (auto &row : rows)
        pointers.push_back(row.data());
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

bool WritePngFile(const std::string &Path, const TPngImage &Image)
{
    const std::vector<uint8_t> bytes = EncodePng(Image);
    std::FILE *file = std::fopen(Path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

TPngImage MakeTestPng(int ColorType, int BitDepth, bool Interlaced, int32_t Width, int32_t Height)
{
    TPngImage image;
    image.Width = Width;
    image.Height = Height;
    image.ColorType = ColorType;
    image.BitDepth = BitDepth;
    image.Interlaced = Interlaced;
    const uint32_t max = (1u << BitDepth) - 1;
    const int channels = image.Channels();
    for (int32_t y = 0; y < Height; ++y)
        for (int32_t x = 0; x < Width; ++x)
            for (int c = 0; c < channels; ++c) {
                uint32_t v = static_cast<uint32_t>(x * 37 + y * 91 + c * 53) % (max + 1);
                if (BitDepth == 16) // both bytes alike, so every decoder agrees on 8 bits
                    v = (v & 0xFF) * 0x101;
                if (channels == 2 && c == 1)
                    v = ((x + y) % 3 == 0) ? 0 : max; // alpha: some pixels transparent
                if (channels == 4 && c == 3)
                    v = ((x + y) % 3 == 0) ? (BitDepth == 16 ? 0x7F7F : 127)
                                           : (BitDepth == 16 ? 0x8080 : 128);
                image.Samples.push_back(static_cast<uint16_t>(v));
            }
    if (ColorType == PNG_COLOR_TYPE_PALETTE) {
        for (uint32_t i = 0; i <= max; ++i)
            image.Palette.push_back({static_cast<uint8_t>(i * 40), static_cast<uint8_t>(255 - i),
                                     static_cast<uint8_t>(i * 7)});
    }
    return image;
}

void ExpectedBgr(const TPngImage &Image, int32_t X, int32_t Y, uint8_t Bgr[3])
{
    const int channels = Image.Channels();
    const uint16_t *s =
        Image.Samples.data() + (static_cast<size_t>(Y) * Image.Width + X) * channels;
    uint8_t r = 0, g = 0, b = 0, a = 255;
    const int depth = Image.BitDepth;
    switch (Image.ColorType) {
    case PNG_COLOR_TYPE_PALETTE: {
        const TPngPaletteEntry &e = Image.Palette[s[0]];
        r = e.Red, g = e.Green, b = e.Blue;
        if (s[0] < Image.PaletteAlpha.size())
            a = Image.PaletteAlpha[s[0]];
        break;
    }
    case PNG_COLOR_TYPE_GRAY:
        r = g = b = To8(s[0], depth);
        if (Image.KeyColor && (*Image.KeyColor)[0] == s[0])
            a = 0;
        break;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        r = g = b = To8(s[0], depth);
        a = To8(s[1], depth);
        break;
    case PNG_COLOR_TYPE_RGB:
        r = To8(s[0], depth), g = To8(s[1], depth), b = To8(s[2], depth);
        if (Image.KeyColor && (*Image.KeyColor)[0] == s[0] && (*Image.KeyColor)[1] == s[1] &&
            (*Image.KeyColor)[2] == s[2])
            a = 0;
        break;
    default:
        r = To8(s[0], depth), g = To8(s[1], depth), b = To8(s[2], depth);
        a = To8(s[3], depth);
        break;
    }
    if (a < 128)
        r = 255, g = 0, b = 255;
    Bgr[0] = b;
    Bgr[1] = g;
    Bgr[2] = r;
}

std::vector<std::pair<std::string, TPngImage>> AllTestPngs()
{
    std::vector<std::pair<std::string, TPngImage>> all;
    for (bool interlaced : {false, true}) {
        const std::string suffix = interlaced ? "-interlaced" : "";
        for (int depth : {1, 2, 4, 8, 16})
            all.emplace_back("gray" + std::to_string(depth) + suffix,
                             MakeTestPng(PNG_COLOR_TYPE_GRAY, depth, interlaced));
        for (int depth : {1, 2, 4, 8})
            all.emplace_back("palette" + std::to_string(depth) + suffix,
                             MakeTestPng(PNG_COLOR_TYPE_PALETTE, depth, interlaced));
        for (int depth : {8, 16}) {
            all.emplace_back("rgb" + std::to_string(depth) + suffix,
                             MakeTestPng(PNG_COLOR_TYPE_RGB, depth, interlaced));
            all.emplace_back("rgba" + std::to_string(depth) + suffix,
                             MakeTestPng(PNG_COLOR_TYPE_RGB_ALPHA, depth, interlaced));
            all.emplace_back("grayalpha" + std::to_string(depth) + suffix,
                             MakeTestPng(PNG_COLOR_TYPE_GRAY_ALPHA, depth, interlaced));
        }
    }
    TPngImage palette = MakeTestPng(PNG_COLOR_TYPE_PALETTE, 4, false);
    palette.PaletteAlpha = {0, 127, 128, 255, 10};
    all.emplace_back("palette4-trns", palette);
    TPngImage rgb = MakeTestPng(PNG_COLOR_TYPE_RGB, 8, false);
    rgb.KeyColor = std::vector<uint16_t>{rgb.Samples[0], rgb.Samples[1], rgb.Samples[2]};
    all.emplace_back("rgb8-trns", rgb);
    TPngImage gray = MakeTestPng(PNG_COLOR_TYPE_GRAY, 2, true);
    gray.KeyColor = std::vector<uint16_t>{gray.Samples[0]};
    all.emplace_back("gray2-trns-interlaced", gray);
    TPngImage gray16 = MakeTestPng(PNG_COLOR_TYPE_GRAY, 16, false);
    gray16.KeyColor = std::vector<uint16_t>{gray16.Samples[3]};
    all.emplace_back("gray16-trns", gray16);
    all.emplace_back("wide-rgba8", MakeTestPng(PNG_COLOR_TYPE_RGB_ALPHA, 8, true, 97, 3));
    return all;
}
