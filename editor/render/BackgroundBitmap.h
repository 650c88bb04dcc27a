// The view background: an 8 × 8 checkerboard of 4 × 4 squares, grey RGB(208, 208, 208) at the
// top left and bottom right, white at the top right and bottom left, used as a repeating
// brush behind the map, the overview and the parts image.
#pragma once

#include "PixelBuffer.h"

TPixelBuffer MakeBackgroundBitmap();
