// Reading enhanced (EMF) and old (WMF, placeable or plain) Windows metafiles with
// libuemf and playing their records through TGdiPlayer onto a picture of the metafile's own
// size, white where the metafile paints nothing. Records that are not drawn are skipped; a
// metafile whose records do not fit in the file, or whose counts do not fit in their
// records, is refused with std::runtime_error before anything past it is read.
#pragma once

#include <QImage>

#include <cstddef>
#include <cstdint>

// The size of the largest picture played; larger metafiles are refused.
constexpr int64_t kMaxMetafilePixels = int64_t{1} << 27;
constexpr int32_t kMaxMetafileSide = 32767;

bool IsEnhancedMetafile(const uint8_t *Data, size_t Size);
bool IsOldMetafile(const uint8_t *Data, size_t Size);

// The frame, in hundredths of a millimetre, at 96 pixels per inch.
QImage PlayEnhancedMetafile(const uint8_t *Data, size_t Size, int64_t MaxPixels);
// A placeable file's bounding box at its units per inch; a plain one's window extent.
QImage PlayOldMetafile(const uint8_t *Data, size_t Size, int64_t MaxPixels);

// A white picture of the given size, or std::runtime_error when it is empty or too large.
QImage BlankMetafilePicture(double Width, double Height, int64_t MaxPixels);
