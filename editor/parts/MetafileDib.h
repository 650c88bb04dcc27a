// The device-independent bitmaps inside metafile records, decoded with libuemf's own
// conversion: uncompressed, 1, 4, 8, 16, 24 or 32 bits per pixel (bit fields read as the
// usual masks), with the 12-byte core header or the 40-byte and longer info headers.
#pragma once

#include <QImage>

#include <cstddef>
#include <optional>

// Header: the bitmap's header and colour table, HeaderBytes long; Bits: the pixel rows,
// BitsBytes long. Both lie inside their record. No picture for a bitmap of a kind or size
// that is not drawn; std::runtime_error when the bitmap needs more bytes than it has.
std::optional<QImage> DecodeDib(const char *Header, size_t HeaderBytes, const char *Bits,
                                size_t BitsBytes);

// A packed bitmap: header, colour table and rows one after another in Bytes bytes.
std::optional<QImage> DecodePackedDib(const char *Dib, size_t Bytes);
