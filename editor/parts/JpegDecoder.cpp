#include "PictureLoader.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include <jpeglib.h>

namespace
{

constexpr uint64_t kMaxPixels = uint64_t{1} << 28;

struct TJpegError {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

extern "C" void ReportJpegError(j_common_ptr Info)
{
    auto *error = reinterpret_cast<TJpegError *>(Info->err);
    (*Info->err->format_message)(Info, error->Message);
    std::longjmp(error->Jump, 1);
}

extern "C" void IgnoreJpegMessage(j_common_ptr, int) {}

// What the decoding hands back. It lives in the caller's frame, so the values stored in it
// survive libjpeg's jump back on an error.
struct TJpegOutput {
    uint32_t *Pixels = nullptr; // malloc'd, Width × Height, 0x00RRGGBB
    uint8_t *Row = nullptr;
    uint32_t Width = 0;
    uint32_t Height = 0;
    char Message[JMSG_LENGTH_MAX] = {};
};

// Plain C-style code only between setjmp and the jump: nothing here has a destructor.
bool DecodeToPixels(const uint8_t *Data, size_t Size, TJpegOutput *Out)
{
    jpeg_decompress_struct info;
    TJpegError error;
    std::memset(&info, 0, sizeof(info));
    info.err = jpeg_std_error(&error.Manager);
    error.Manager.error_exit = ReportJpegError;
    error.Manager.emit_message = IgnoreJpegMessage;
    error.Message[0] = '\0';
    if (setjmp(error.Jump)) {
        std::memcpy(Out->Message, error.Message, sizeof(Out->Message));
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, Data, static_cast<unsigned long>(Size));
    jpeg_read_header(&info, TRUE);
    if (static_cast<uint64_t>(info.image_width) * info.image_height > kMaxPixels) {
        std::snprintf(Out->Message, sizeof(Out->Message), "picture too large");
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    Out->Width = info.output_width;
    Out->Height = info.output_height;
    Out->Pixels = static_cast<uint32_t *>(
        std::calloc(static_cast<size_t>(Out->Width) * Out->Height, sizeof(uint32_t)));
    Out->Row = static_cast<uint8_t *>(std::malloc(static_cast<size_t>(Out->Width) * 3));
    if (Out->Pixels == nullptr || Out->Row == nullptr || info.output_components != 3) {
        std::snprintf(Out->Message, sizeof(Out->Message), "out of memory");
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        const uint32_t y = info.output_scanline;
        JSAMPROW row = Out->Row;
        jpeg_read_scanlines(&info, &row, 1);
        uint32_t *dst = Out->Pixels + static_cast<size_t>(y) * Out->Width;
        for (uint32_t x = 0; x < Out->Width; ++x) {
            const uint8_t *p = Out->Row + 3 * static_cast<size_t>(x);
            dst[x] = static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2];
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

void DecodeJpeg(const std::vector<uint8_t> &Data, TPixelBuffer &Bitmap)
{
    TJpegOutput out;
    const bool ok = DecodeToPixels(Data.data(), Data.size(), &out);
    std::free(out.Row);
    if (!ok) {
        std::free(out.Pixels);
        throw std::runtime_error(out.Message[0] != '\0' ? out.Message : "broken JPEG data");
    }
    TPixelBuffer picture;
    try {
        picture.SetSize(static_cast<int32_t>(out.Width), static_cast<int32_t>(out.Height), 32);
    } catch (...) {
        std::free(out.Pixels);
        throw;
    }
    for (uint32_t y = 0; y < out.Height; ++y)
        std::memcpy(picture.Row32(static_cast<int32_t>(y)),
                    out.Pixels + static_cast<size_t>(y) * out.Width,
                    static_cast<size_t>(out.Width) * 4);
    std::free(out.Pixels);
    Bitmap = std::move(picture);
}
