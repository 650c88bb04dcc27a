#include "plugins/tmx/PngFile.h"

#include "common/platform/InputFile.h"

#include <csetjmp>
#include <cstring>
#include <png.h>

namespace
{

constexpr uint64_t kMaxPixels = uint64_t{1} << 28;

struct TPngInput {
    TInputFile *File;
    bool Cut = false;
};

void ReadBytes(png_structp png, png_bytep out, size_t count)
{
    auto *input = static_cast<TPngInput *>(png_get_io_ptr(png));
    if (!input->File->ReadExact(out, count)) {
        input->Cut = true;
        png_error(png, "the file is cut short");
    }
}

void ReportError(png_structp png, png_const_charp message)
{
    auto *reason = static_cast<std::string *>(png_get_error_ptr(png));
    if (reason != nullptr && reason->empty())
        *reason = message;
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

void WriteBytes(png_structp png, png_bytep data, size_t count)
{
    auto *out = static_cast<std::vector<uint8_t> *>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + count);
}

void Flush(png_structp) {}

// Decodes after the signature was checked. Everything that lives across the jump is made
// before setjmp, so the jump skips no destructor.
bool Decode(TInputFile &file, TRgbaImage &image, std::string &reason)
{
    TPngInput input{&file};
    std::vector<png_bytep> rows;
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, &reason, ReportError, IgnoreWarning);
    if (png == nullptr) {
        reason = "out of memory";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        if (reason.empty())
            reason = "the PNG data is broken";
        return false;
    }
    png_set_read_fn(png, &input, ReadBytes);
    png_set_sig_bytes(png, 8);
    png_set_user_limits(png, 65535, 65535);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (uint64_t{width} * height > kMaxPixels) {
        reason = "the picture is larger than 2^28 pixels";
        png_error(png, "too large");
    }
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t{width} * 4) {
        reason = "the PNG colour type cannot be read";
        png_error(png, "layout");
    }
    image.Resize(static_cast<int32_t>(width), static_cast<int32_t>(height));
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = image.At(0, static_cast<int32_t>(y));
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

} // namespace

bool ReadPngFile(const std::string &Path, TRgbaImage &Image, std::string &Reason)
{
    TInputFile file;
    if (!file.Open(Path.c_str())) {
        Reason = "it cannot be opened";
        return false;
    }
    png_byte signature[8];
    if (!file.ReadExact(signature, sizeof signature) || png_sig_cmp(signature, 0, 8) != 0) {
        Reason = "it is not a PNG file";
        return false;
    }
    Reason.clear();
    return Decode(file, Image, Reason);
}

std::vector<uint8_t> EncodePng(const TRgbaImage &Image, const std::string &Software)
{
    std::vector<uint8_t> out;
    std::vector<png_bytep> rows(static_cast<size_t>(Image.Height));
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, ReportError, IgnoreWarning);
    if (png == nullptr)
        throw std::bad_alloc();
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::bad_alloc();
    }
    png_set_write_fn(png, &out, WriteBytes, Flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(Image.Width),
                 static_cast<png_uint_32>(Image.Height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_text text{};
    text.compression = PNG_TEXT_COMPRESSION_NONE;
    text.key = const_cast<char *>("Software");
    text.text = const_cast<char *>(Software.c_str());
    png_set_text(png, info, &text, 1);
    png_write_info(png, info);
    for (int32_t y = 0; y < Image.Height; ++y)
        rows[static_cast<size_t>(y)] = const_cast<png_bytep>(Image.At(0, y));
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

bool PngFileHasSoftware(const std::string &Path, const std::string &Software)
{
    // Text chunks before the image data: walk the chunks up to the first IDAT.
    TInputFile file;
    if (!file.Open(Path.c_str()))
        return false;
    uint8_t signature[8];
    if (!file.ReadExact(signature, sizeof signature) || png_sig_cmp(signature, 0, 8) != 0)
        return false;
    for (;;) {
        uint8_t header[8];
        if (!file.ReadExact(header, sizeof header))
            return false;
        const uint32_t length = uint32_t{header[0]} << 24 | uint32_t{header[1]} << 16 |
                                uint32_t{header[2]} << 8 | header[3];
        if (std::memcmp(header + 4, "IDAT", 4) == 0 || std::memcmp(header + 4, "IEND", 4) == 0)
            return false;
        if (std::memcmp(header + 4, "tEXt", 4) == 0 && length < 4096) {
            std::string data(length, '\0');
            if (!file.ReadExact(data.data(), length))
                return false;
            if (data == "Software" + std::string(1, '\0') + Software)
                return true;
            if (!file.Skip(4))
                return false;
            continue;
        }
        if (!file.Skip(uint64_t{length} + 4))
            return false;
    }
}
