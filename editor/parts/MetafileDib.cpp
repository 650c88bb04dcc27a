#include "MetafileDib.h"

#include "GdiPlayer.h"

#include <uwmf.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace
{

struct TDibLayout {
    int32_t Width = 0;
    int32_t Height = 0;
    uint32_t BitCount = 0;
    uint32_t Compression = 0;
    uint64_t TableEntries = 0;
    uint64_t TableOffset = 0; // from the header's start
    uint64_t TableEnd = 0;
    bool Core = false; // three-byte colour entries
};

[[noreturn]] void Broken()
{
    throw std::runtime_error("broken bitmap in the metafile");
}

uint32_t Le32(const char *P)
{
    uint32_t value = 0;
    std::memcpy(&value, P, 4);
    return value;
}

TDibLayout ReadLayout(const char *Header, size_t HeaderBytes)
{
    if (HeaderBytes < 12)
        Broken();
    TDibLayout layout;
    const uint32_t size = Le32(Header);
    uint32_t clrUsed = 0;
    if (size == 12) {
        uint32_t coreSize = 0;
        int32_t bits = 0;
        U_BITMAPCOREHEADER_get(Header, &coreSize, &layout.Width, &layout.Height, &bits);
        layout.BitCount = static_cast<uint32_t>(bits);
        layout.Core = true;
    } else {
        if (size < 40 || size > HeaderBytes)
            Broken();
        uint32_t ignored = 0;
        int32_t resolution = 0;
        uint32_t planes = 0;
        U_BITMAPINFOHEADER_get(Header, &ignored, &layout.Width, &layout.Height, &planes,
                               &layout.BitCount, &layout.Compression, &ignored, &resolution,
                               &resolution, &clrUsed, &ignored);
    }
    layout.TableOffset = size;
    // The three masks of a 40-byte header with bit fields come before the colours.
    if (layout.Compression == 3 && size == 40)
        layout.TableOffset += 12;
    if (layout.BitCount <= 8)
        layout.TableEntries = clrUsed != 0 ? clrUsed : uint64_t{1} << layout.BitCount;
    else
        layout.TableEntries = clrUsed;
    layout.TableEnd = layout.TableOffset + layout.TableEntries * (layout.Core ? 3 : 4);
    return layout;
}

bool IsDrawn(const TDibLayout &Layout)
{
    const uint32_t bits = Layout.BitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    if (Layout.Compression != 0 && !(Layout.Compression == 3 && bits >= 16))
        return false;
    if (Layout.Width <= 0 || Layout.Height == 0 || Layout.Height == INT32_MIN)
        return false;
    const int64_t pixels = int64_t{Layout.Width} * std::abs(int64_t{Layout.Height});
    return pixels <= TGdiPlayer::kMaxBitmapPixels;
}

std::optional<QImage> Convert(const TDibLayout &Layout, const char *Header, const char *Bits,
                              size_t BitsBytes)
{
    const int64_t height = std::abs(int64_t{Layout.Height});
    const uint64_t stride = ((uint64_t(Layout.Width) * Layout.BitCount + 31) / 32) * 4;
    if (stride * uint64_t(height) > BitsBytes)
        Broken();

    // Pixel values past the colours the bitmap has read black, never past the table.
    U_RGBQUAD table[256];
    std::memset(table, 0, sizeof table);
    const size_t entries = static_cast<size_t>(std::min<uint64_t>(Layout.TableEntries, 256));
    for (size_t i = 0; i < entries && Layout.BitCount <= 8; ++i) {
        const char *entry = Header + Layout.TableOffset + i * (Layout.Core ? 3 : 4);
        table[i].Blue = static_cast<uint8_t>(entry[0]);
        table[i].Green = static_cast<uint8_t>(entry[1]);
        table[i].Red = static_cast<uint8_t>(entry[2]);
    }
    const bool paletted = Layout.BitCount <= 8;
    char *rgba = nullptr;
    // The conversion writes rows in the order it is told: top row first here.
    const int invert = Layout.Height > 0 ? 1 : 0;
    const int result =
        DIB_to_RGBA(Bits, paletted ? table : nullptr, paletted ? 256 : 0, &rgba, Layout.Width,
                    static_cast<int>(height), Layout.BitCount, paletted ? 256 : 0, invert);
    if (result != 0 || rgba == nullptr) {
        std::free(rgba);
        return std::nullopt;
    }
    const QImage wrapped(reinterpret_cast<const uchar *>(rgba), Layout.Width,
                         static_cast<int>(height), Layout.Width * 4, QImage::Format_RGBX8888);
    QImage picture = wrapped.convertToFormat(QImage::Format_RGB32);
    std::free(rgba);
    return picture;
}

} // namespace

std::optional<QImage> DecodeDib(const char *Header, size_t HeaderBytes, const char *Bits,
                                size_t BitsBytes)
{
    const TDibLayout layout = ReadLayout(Header, HeaderBytes);
    if (!IsDrawn(layout))
        return std::nullopt;
    if (layout.BitCount <= 8 && layout.TableEnd > HeaderBytes)
        Broken();
    return Convert(layout, Header, Bits, BitsBytes);
}

std::optional<QImage> DecodePackedDib(const char *Dib, size_t Bytes)
{
    const TDibLayout layout = ReadLayout(Dib, Bytes);
    if (!IsDrawn(layout))
        return std::nullopt;
    if (layout.TableEnd > Bytes)
        Broken();
    return Convert(layout, Dib, Dib + layout.TableEnd,
                   Bytes - static_cast<size_t>(layout.TableEnd));
}
