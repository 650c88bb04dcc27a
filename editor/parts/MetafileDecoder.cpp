#include "MetafilePlayback.h"
#include "PictureLoader.h"

bool IsMetafile(const uint8_t *Data, size_t Size)
{
    return IsEnhancedMetafile(Data, Size) || IsOldMetafile(Data, Size);
}

void DecodeMetafile(const uint8_t *Data, size_t Size, TPixelBuffer &Bitmap, int64_t MaxPixels)
{
    const QImage picture = IsEnhancedMetafile(Data, Size)
                               ? PlayEnhancedMetafile(Data, Size, MaxPixels)
                               : PlayOldMetafile(Data, Size, MaxPixels);
    // The fourth byte QPainter wrote is cleared, as in every loaded picture.
    TPixelBuffer result(picture.width(), picture.height(), 32);
    for (int32_t y = 0; y < result.Height(); ++y) {
        const auto *source = reinterpret_cast<const uint32_t *>(picture.constScanLine(y));
        uint32_t *target = result.Row32(y);
        for (int32_t x = 0; x < result.Width(); ++x)
            target[x] = source[x] & 0x00FFFFFFu;
    }
    Bitmap = std::move(result);
}
