// The platform's picture loader for parts images: JPEG through libjpeg, BMP and ICO through
// Qt's image reader, EMF and WMF through libuemf and QPainter. Every picture becomes a 32-bit
// buffer with the fourth byte 0, drawn over black where it has transparent pixels. Failures throw
// std::runtime_error with the reason.
#pragma once

#include "editor/render/PixelBuffer.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

void LoadPictureFile(const std::string &FileName, TPixelBuffer &Bitmap);

// JPEG data in memory, decoded by libjpeg.
void DecodeJpeg(const std::vector<uint8_t> &Data, TPixelBuffer &Bitmap);

// A Windows metafile in memory (EMF, or WMF with or without the placeable header).
bool IsMetafile(const uint8_t *Data, size_t Size);
// Plays it onto a white picture of the metafile's own size; MaxPixels bounds that size.
void DecodeMetafile(const uint8_t *Data, size_t Size, TPixelBuffer &Bitmap,
                    int64_t MaxPixels = int64_t{1} << 27);
