#include "TransparentAreas.h"

#include "common/platform/InputFile.h"

#include <algorithm>
#include <cstring>

namespace
{
bool IsPngFile(const std::string &FileName)
{
    static constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    TInputFile file;
    unsigned char head[8] = {};
    return file.Open(FileName.c_str()) && file.ReadExact(head, sizeof head) &&
           std::memcmp(head, kSignature, sizeof head) == 0;
}
} // namespace

bool HasTransparentAreas(const std::string &FileName, const TPixelBuffer &Picture)
{
    if (Picture.IsEmpty() || Picture.BitsPerPixel() != 32 || !IsPngFile(FileName))
        return false;
    for (int32_t y = 0; y < Picture.Height(); ++y) {
        const uint32_t *row = Picture.Row32(y);
        if (std::any_of(row, row + Picture.Width(),
                        [](uint32_t pixel) { return (pixel & 0xFFFFFF) == kTransparentAreaColor; }))
            return true;
    }
    return false;
}
