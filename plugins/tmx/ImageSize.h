// The pixel size and format of a parts image, read from its header alone: PNG, BMP, GIF and
// JPEG. The TMX map names every tileset's image with its size and numbers tiles by it; the
// import decides by the format whether the editor can show the image as it is. Standard
// library only; never reads past the bytes it is given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct TImageSize {
    int32_t Width = 0;
    int32_t Height = 0;
};

// From the first Size bytes of a file. False when they are not one of the four formats or
// the header is cut short or names a size of 0.
bool ParseImageSize(const uint8_t *Data, size_t Size, TImageSize &Result);

// The formats a header can name, for choosing how a picture can be used.
enum class TImageFormat { Unknown, Png, Bmp, Gif, Jpeg };

// The format of the first bytes of a file (Unknown when none of the four).
TImageFormat SniffImageFormat(const uint8_t *Data, size_t Size);

// From the file at Path (the first megabyte at most, which holds every header the
// formats put first), and its format when Format is given. False when it cannot be read or
// parsed.
bool ReadImageSize(const std::string &Path, TImageSize &Result, TImageFormat *Format = nullptr);
