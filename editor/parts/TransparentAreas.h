// Whether a parts image has transparent areas the transparent colour can let through: a PNG
// picture that came out with pixels of RGB(255, 0, 255), which is how the PNG reader gives
// the pixels that are more than half transparent.
#pragma once

#include "editor/render/PixelBuffer.h"

#include <string>

inline constexpr uint32_t kTransparentAreaColor = 0x00FF00FF; // as 0x00BBGGRR and 0x00RRGGBB

bool HasTransparentAreas(const std::string &FileName, const TPixelBuffer &Picture);
