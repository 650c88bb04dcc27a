#include "BackgroundBitmap.h"

TPixelBuffer MakeBackgroundBitmap()
{
    constexpr uint32_t grey = 0x00D0D0D0;
    constexpr uint32_t white = 0x00FFFFFF;
    TPixelBuffer bitmap(8, 8, 32);
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 8; ++x)
            bitmap.SetPixel(x, y, ((x < 4) == (y < 4)) ? grey : white);
    return bitmap;
}
