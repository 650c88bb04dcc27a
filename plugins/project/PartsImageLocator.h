// Finding the parts image of an old (version-2) layer, whose cells can only be renumbered
// once the image's width is known.
#pragma once

#include "common/TessellaPlugin.h"

#include <cstdint>
#include <string>

// Size of the file name the user may choose, terminator included.
constexpr uint32_t ChosenImagePathSize = 260;

// Looks for the image at the current directory followed by the stored reference (whose
// "\" separators are read as "/"); when it is not there, asks the user through the
// window. On success width is the image's pixel width and, when the user chose a file,
// reference becomes its full path. Returns 0, or 7 when the user cancelled or the chosen
// file is not a bitmap.
int32_t LocatePartsImage(TessellaWindow *window, std::string &reference, uint32_t &width);
