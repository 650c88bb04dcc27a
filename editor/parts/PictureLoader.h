// The platform's picture loader for parts images: JPEG through libjpeg, BMP and ICO through
// Qt's image reader. Every picture becomes a 32-bit buffer with the fourth byte 0, drawn over
// black where it has transparent pixels. Failures throw std::runtime_error with the reason.
#pragma once

#include "editor/render/PixelBuffer.h"

#include <cstdint>
#include <string>
#include <vector>

void LoadPictureFile(const std::string &FileName, TPixelBuffer &Bitmap);

// JPEG data in memory, decoded by libjpeg.
void DecodeJpeg(const std::vector<uint8_t> &Data, TPixelBuffer &Bitmap);
