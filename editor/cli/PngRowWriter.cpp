// The PNG writer: 8-bit RGB through libpng, rows handed over as they come. Fast settings
// (no filter, the fastest deflate level): maps repeat their parts, and unfiltered rows keep
// those repeats byte for byte, so deflate finds them at once (smaller and faster than any
// filter on tile maps).
#include "ImageRowWriter.h"

#include "common/platform/ReplacingFile.h"

#include <algorithm>
#include <cctype>
#include <csetjmp>
#include <png.h>

namespace
{

class TPngRowWriter : public TImageRowWriter
{
public:
    ~TPngRowWriter() override { Release(); }

    bool Begin(const std::string &Path, int64_t Width, int64_t Height, std::string &Error) override
    {
        if (Width <= 0 || Height <= 0 || Width > PNG_UINT_31_MAX || Height > PNG_UINT_31_MAX) {
            Error = "the picture is too large for a PNG file";
            return false;
        }
        if (!FFile.Open(Path)) {
            Error = "cannot create the file";
            return false;
        }
        FPng = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        FInfo = FPng != nullptr ? png_create_info_struct(FPng) : nullptr;
        if (FInfo == nullptr ||
            !WriteHeader(static_cast<png_uint_32>(Width), static_cast<png_uint_32>(Height))) {
            Error = "cannot write the file";
            return false;
        }
        return true;
    }

    bool WriteRow(int32_t, const uint32_t *Pixels) override
    {
        // libpng reports errors by a long jump back here; nothing with a destructor lives
        // between the two.
        if (setjmp(png_jmpbuf(FPng)) != 0)
            return false;
        png_write_row(FPng, reinterpret_cast<png_const_bytep>(Pixels));
        return true;
    }

    bool Finish() override
    {
        if (!WriteEnd())
            return false;
        Release();
        return FFile.Commit();
    }

private:
    bool WriteHeader(png_uint_32 width, png_uint_32 height)
    {
        if (setjmp(png_jmpbuf(FPng)) != 0)
            return false;
        png_set_user_limits(FPng, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
        png_init_io(FPng, FFile.Output());
        png_set_IHDR(FPng, FInfo, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_filter(FPng, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
        png_set_compression_level(FPng, 1);
        png_write_info(FPng, FInfo);
        // Rows are 0x00RRGGBB words: blue, green, red and a byte to drop.
        png_set_bgr(FPng);
        png_set_filler(FPng, 0, PNG_FILLER_AFTER);
        return true;
    }

    bool WriteEnd()
    {
        if (setjmp(png_jmpbuf(FPng)) != 0)
            return false;
        png_write_end(FPng, nullptr);
        return true;
    }

    void Release()
    {
        if (FPng != nullptr)
            png_destroy_write_struct(&FPng, FInfo != nullptr ? &FInfo : nullptr);
        FPng = nullptr;
        FInfo = nullptr;
    }

    TReplacingFile FFile;
    png_structp FPng = nullptr;
    png_infop FInfo = nullptr;
};

} // namespace

std::unique_ptr<TImageRowWriter> MakePngRowWriter()
{
    return std::make_unique<TPngRowWriter>();
}
