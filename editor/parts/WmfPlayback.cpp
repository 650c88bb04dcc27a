// Old metafiles, with or without the placeable header: libuemf's readers take each
// record apart; the lengths they would trust (strings, point counts, bitmaps) are checked
// against the record's size first.
#include "GdiPlayer.h"
#include "MetafileDib.h"
#include "MetafilePlayback.h"
#include "MetafileRecords.h"

#include <uwmf.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;

int16_t Le16(const char *P)
{
    int16_t value = 0;
    std::memcpy(&value, P, 2);
    return value;
}

// A record too short for its fixed fields is broken.
void Need(int RecordSize)
{
    if (RecordSize == 0)
        RefuseBrokenMetafile();
}

QPointF Point(const U_POINT16 &P)
{
    return QPointF(P.x, P.y);
}

QRectF Box(const U_RECT16 &R)
{
    return QRectF(QPointF(R.left, R.top), QPointF(R.right, R.bottom));
}

QColor Color(const U_COLORREF &C)
{
    return QColor(C.Red, C.Green, C.Blue);
}

// Where the picture lies in logical units: a placeable header's box, or a plain file's
// first window.
struct TOldMetafileFrame {
    QPointF Origin;
    QPointF Extent;
    double Width = 0; // pixels
    double Height = 0;
};

class TWmfReader
{
public:
    explicit TWmfReader(TGdiPlayer &Player) : FPlayer(Player) {}

    // Plays one record (a copy followed by zeros) of Size bytes; false at the end record.
    bool Play(const char *Record, uint32_t Size);

private:
    QPolygonF Points(const char *Data, uint32_t Count);
    void Text(const char *Record, uint32_t Size, bool Extended);
    void Font(const char *Record, uint32_t Size);
    void PatternBrush(const char *Record, uint32_t Size);
    void PolyPolygon(const char *Record, uint32_t Size);
    std::optional<QImage> Bitmap(const char *Record, uint32_t Size, const char *Dib);
    void Blit(const char *Record, uint32_t Size, uint8_t Type);

    TGdiPlayer &FPlayer;
};

QPolygonF TWmfReader::Points(const char *Data, uint32_t Count)
{
    QPolygonF points;
    points.reserve(static_cast<qsizetype>(Count));
    for (uint32_t i = 0; i < Count; ++i)
        points << QPointF(Le16(Data + i * 4), Le16(Data + i * 4 + 2));
    return points;
}

void TWmfReader::Text(const char *Record, uint32_t Size, bool Extended)
{
    U_POINT16 at{};
    int16_t length = 0;
    const char *string = nullptr;
    std::optional<QRectF> box;
    uint16_t options = 0;
    std::vector<double> advances;
    if (!Extended) {
        length = Le16(Record + U_SIZE_METARECORD);
        if (length < 0 || !FitsInRecord(U_SIZE_METARECORD + 2, (length + 1) / 2 + 2, 2, Size))
            RefuseBrokenMetafile();
        Need(U_WMRTEXTOUT_get(Record, &at, &length, &string));
    } else {
        if (Size < U_SIZE_WMREXTTEXTOUT)
            RefuseBrokenMetafile();
        length = Le16(Record + offsetof(U_WMREXTTEXTOUT, Length));
        std::memcpy(&options, Record + offsetof(U_WMREXTTEXTOUT, Opts), 2);
        const uint32_t rectBytes = (options & (U_ETO_OPAQUE | U_ETO_CLIPPED)) != 0 ? 8 : 0;
        const uint64_t stringAt = U_SIZE_WMREXTTEXTOUT + rectBytes;
        if (length < 0 || !FitsInRecord(stringAt, length, 1, Size))
            RefuseBrokenMetafile();
        const int16_t *dx = nullptr;
        U_RECT16 rect{};
        Need(U_WMREXTTEXTOUT_get(Record, &at, &length, &options, &string, &dx, &rect));
        if (rectBytes != 0)
            box = Box(rect);
        // The spacing array is there only when the record has room for it.
        const uint64_t dxAt = stringAt + 2 * ((uint64_t(length) + 1) / 2);
        if (length > 0 && FitsInRecord(dxAt, length, 2, Size))
            for (int16_t i = 0; i < length; ++i)
                advances.push_back(Le16(Record + dxAt + 2 * uint64_t(i)));
    }
    FPlayer.TextOut(Point(at), QString::fromLatin1(string, length), advances, options, box);
}

void TWmfReader::Font(const char *Record, uint32_t Size)
{
    if (Size < U_SIZE_WMRCREATEFONTINDIRECT)
        RefuseBrokenMetafile();
    const char *data = nullptr;
    Need(U_WMRCREATEFONTINDIRECT_get(Record, &data));
    U_FONT font{};
    std::memcpy(&font, data, U_SIZE_FONT_CORE);
    TGdiFont result;
    result.Height = font.Height;
    result.Escapement = font.Escapement;
    result.Weight = font.Weight;
    result.Italic = font.Italic != 0;
    result.Underline = font.Underline != 0;
    result.StrikeOut = font.StrikeOut != 0;
    const char *face = data + U_SIZE_FONT_CORE;
    const size_t room = Size - (U_SIZE_METARECORD + U_SIZE_FONT_CORE);
    size_t length = 0;
    while (length < room && length < 32 && face[length] != '\0')
        ++length;
    result.Face = QString::fromLatin1(face, static_cast<qsizetype>(length));
    FPlayer.AddObject(result);
}

std::optional<QImage> TWmfReader::Bitmap(const char *Record, uint32_t Size, const char *Dib)
{
    const uint64_t at = static_cast<uint64_t>(Dib - Record);
    if (Dib == nullptr || at >= Size)
        RefuseBrokenMetafile();
    return DecodePackedDib(Dib, Size - at);
}

void TWmfReader::PatternBrush(const char *Record, uint32_t Size)
{
    if (Size < U_SIZE_METARECORD + 4)
        RefuseBrokenMetafile();
    uint16_t style = 0;
    uint16_t usage = 0;
    const char *bm16 = nullptr;
    const char *dib = nullptr;
    Need(U_WMRDIBCREATEPATTERNBRUSH_get(Record, &style, &usage, &bm16, &dib));
    TGdiBrush brush;
    brush.Style = kBrushDibPatternPt;
    brush.Color = Qt::black;
    if (dib != nullptr && usage == U_DIB_RGB_COLORS)
        if (auto image = Bitmap(Record, Size, dib))
            brush.Pattern = *image;
    FPlayer.AddObject(brush);
}

void TWmfReader::PolyPolygon(const char *Record, uint32_t Size)
{
    if (Size < U_SIZE_METARECORD + 2)
        RefuseBrokenMetafile();
    const uint16_t polys = static_cast<uint16_t>(Le16(Record + U_SIZE_METARECORD));
    const uint64_t countsAt = U_SIZE_METARECORD + 2;
    if (!FitsInRecord(countsAt, polys, 2, Size))
        RefuseBrokenMetafile();
    if (polys == 0)
        return;
    uint64_t total = 0;
    for (uint16_t i = 0; i < polys; ++i)
        total += static_cast<uint16_t>(Le16(Record + countsAt + 2 * i));
    const uint64_t pointsAt = countsAt + 2 * uint64_t{polys};
    if (!FitsInRecord(pointsAt, total, 4, Size))
        RefuseBrokenMetafile();
    uint16_t count = 0;
    const uint16_t *counts = nullptr;
    const char *points = nullptr;
    Need(U_WMRPOLYPOLYGON_get(Record, &count, &counts, &points));
    std::vector<QPolygonF> polygons;
    uint64_t next = 0;
    for (uint16_t i = 0; i < polys; ++i) {
        const auto n = static_cast<uint16_t>(Le16(Record + countsAt + 2 * i));
        polygons.push_back(Points(points + next * 4, n));
        next += n;
    }
    FPlayer.PolyPolygon(polygons);
}

void TWmfReader::Blit(const char *Record, uint32_t Size, uint8_t Type)
{
    U_POINT16 dest{};
    U_POINT16 destSize{};
    U_POINT16 source{};
    U_POINT16 sourceSize{};
    uint32_t rop = 0;
    const char *dib = nullptr;
    const auto rect = [](U_POINT16 At, U_POINT16 Extent) {
        return QRectF(At.x, At.y, Extent.x, Extent.y);
    };
    switch (Type) {
    case U_WMR_PATBLT:
        Need(U_WMRPATBLT_get(Record, &dest, &destSize, &rop));
        FPlayer.PatBlt(rect(dest, destSize), rop);
        return;
    case U_WMR_DIBBITBLT:
        if (Size < U_SIZE_WMRDIBBITBLT_NOPX)
            RefuseBrokenMetafile();
        Need(U_WMRDIBBITBLT_get(Record, &dest, &destSize, &source, &rop, &dib));
        sourceSize = destSize;
        break;
    case U_WMR_DIBSTRETCHBLT:
        if (Size < U_SIZE_WMRDIBSTRETCHBLT_NOPX)
            RefuseBrokenMetafile();
        Need(U_WMRDIBSTRETCHBLT_get(Record, &dest, &destSize, &source, &sourceSize, &rop, &dib));
        break;
    case U_WMR_STRETCHDIB: {
        if (Size < U_SIZE_WMRSTRETCHDIB)
            RefuseBrokenMetafile();
        uint16_t usage = 0;
        Need(U_WMRSTRETCHDIB_get(Record, &dest, &destSize, &source, &sourceSize, &usage, &rop,
                                 &dib));
        if (usage != U_DIB_RGB_COLORS)
            return;
        break;
    }
    case U_WMR_SETDIBTODEV: {
        if (Size < U_SIZE_WMRSETDIBTODEV)
            RefuseBrokenMetafile();
        uint16_t usage = 0;
        uint16_t scans = 0;
        uint16_t first = 0;
        Need(U_WMRSETDIBTODEV_get(Record, &dest, &destSize, &source, &usage, &scans, &first, &dib));
        if (usage != U_DIB_RGB_COLORS)
            return;
        const auto image = Bitmap(Record, Size, dib);
        if (!image)
            return;
        // The source is measured from the bottom row of the rows the record holds.
        const double top = double(first) + image->height() - source.y - destSize.y;
        FPlayer.DrawBitmapUnscaled(Point(dest), *image,
                                   QRectF(source.x, top, destSize.x, destSize.y));
        return;
    }
    default:
        return;
    }
    if (dib == nullptr) {
        FPlayer.PatBlt(rect(dest, destSize), rop);
        return;
    }
    const auto image = Bitmap(Record, Size, dib);
    if (!image)
        return;
    // Packed bitmaps in these records are bottom-up unless their height says otherwise.
    int32_t height = 0;
    std::memcpy(&height, dib + 8, 4);
    const bool bottomUp = Type != U_WMR_STRETCHDIB || height > 0;
    const double top = bottomUp && Type == U_WMR_STRETCHDIB
                           ? image->height() - double(source.y) - sourceSize.y
                           : source.y;
    FPlayer.DrawBitmap(rect(dest, destSize), *image,
                       QRectF(source.x, top, sourceSize.x, sourceSize.y), rop);
}

bool TWmfReader::Play(const char *Record, uint32_t Size)
{
    const auto type = static_cast<uint8_t>(Record[4]);
    uint16_t mode = 0;
    U_COLORREF color{};
    U_POINT16 a{};
    U_POINT16 b{};
    U_RECT16 rect{};
    switch (type) {
    case U_WMR_EOF:
        return false;
    case U_WMR_SETBKCOLOR:
        Need(U_WMRSETBKCOLOR_get(Record, &color));
        FPlayer.SetBkColor(Color(color));
        break;
    case U_WMR_SETTEXTCOLOR:
        Need(U_WMRSETTEXTCOLOR_get(Record, &color));
        FPlayer.SetTextColor(Color(color));
        break;
    case U_WMR_SETBKMODE:
        Need(U_WMRSETBKMODE_get(Record, &mode));
        FPlayer.SetBkMode(mode);
        break;
    case U_WMR_SETMAPMODE:
        Need(U_WMRSETMAPMODE_get(Record, &mode));
        FPlayer.SetMapMode(mode);
        break;
    case U_WMR_SETROP2:
        Need(U_WMRSETROP2_get(Record, &mode));
        FPlayer.SetRop2(mode);
        break;
    case U_WMR_SETPOLYFILLMODE:
        Need(U_WMRSETPOLYFILLMODE_get(Record, &mode));
        FPlayer.SetPolyFillMode(mode);
        break;
    case U_WMR_SETTEXTALIGN:
        Need(U_WMRSETTEXTALIGN_get(Record, &mode));
        FPlayer.SetTextAlign(mode);
        break;
    case U_WMR_SETWINDOWORG:
        Need(U_WMRSETWINDOWORG_get(Record, &a));
        FPlayer.SetWindowOrg(Point(a));
        break;
    case U_WMR_SETWINDOWEXT:
        Need(U_WMRSETWINDOWEXT_get(Record, &a));
        FPlayer.SetWindowExt(Point(a));
        break;
    case U_WMR_SETVIEWPORTORG:
        Need(U_WMRSETVIEWPORTORG_get(Record, &a));
        FPlayer.SetViewportOrg(Point(a));
        break;
    case U_WMR_SETVIEWPORTEXT:
        Need(U_WMRSETVIEWPORTEXT_get(Record, &a));
        FPlayer.SetViewportExt(Point(a));
        break;
    case U_WMR_OFFSETWINDOWORG:
        Need(U_WMROFFSETWINDOWORG_get(Record, &a));
        FPlayer.OffsetWindowOrg(Point(a));
        break;
    case U_WMR_OFFSETVIEWPORTORG:
        Need(U_WMROFFSETVIEWPORTORG_get(Record, &a));
        FPlayer.OffsetViewportOrg(Point(a));
        break;
    case U_WMR_SCALEWINDOWEXT:
        // libuemf hands back each axis as numerator and denominator, y first.
        Need(U_WMRSCALEWINDOWEXT_get(Record, &a, &b));
        FPlayer.ScaleWindowExt(b.x, b.y, a.x, a.y);
        break;
    case U_WMR_SCALEVIEWPORTEXT:
        Need(U_WMRSCALEVIEWPORTEXT_get(Record, &a, &b));
        FPlayer.ScaleViewportExt(b.x, b.y, a.x, a.y);
        break;
    case U_WMR_LINETO:
        Need(U_WMRLINETO_get(Record, &a));
        FPlayer.LineTo(Point(a));
        break;
    case U_WMR_MOVETO:
        Need(U_WMRMOVETO_get(Record, &a));
        FPlayer.MoveTo(Point(a));
        break;
    case U_WMR_EXCLUDECLIPRECT:
        Need(U_WMREXCLUDECLIPRECT_get(Record, &rect));
        FPlayer.ExcludeClipRect(Box(rect));
        break;
    case U_WMR_INTERSECTCLIPRECT:
        Need(U_WMRINTERSECTCLIPRECT_get(Record, &rect));
        FPlayer.IntersectClipRect(Box(rect));
        break;
    case U_WMR_OFFSETCLIPRGN:
        Need(U_WMROFFSETCLIPRGN_get(Record, &a));
        FPlayer.OffsetClip(Point(a));
        break;
    case U_WMR_ARC:
        Need(U_WMRARC_get(Record, &a, &b, &rect));
        FPlayer.Arc(Box(rect), Point(a), Point(b));
        break;
    case U_WMR_PIE:
        Need(U_WMRPIE_get(Record, &a, &b, &rect));
        FPlayer.Pie(Box(rect), Point(a), Point(b));
        break;
    case U_WMR_CHORD:
        Need(U_WMRCHORD_get(Record, &a, &b, &rect));
        FPlayer.Chord(Box(rect), Point(a), Point(b));
        break;
    case U_WMR_ELLIPSE:
        Need(U_WMRELLIPSE_get(Record, &rect));
        FPlayer.Ellipse(Box(rect));
        break;
    case U_WMR_RECTANGLE:
        Need(U_WMRRECTANGLE_get(Record, &rect));
        FPlayer.Rectangle(Box(rect));
        break;
    case U_WMR_ROUNDRECT: {
        int16_t width = 0;
        int16_t height = 0;
        Need(U_WMRROUNDRECT_get(Record, &width, &height, &rect));
        FPlayer.RoundRect(Box(rect), QSizeF(width, height));
        break;
    }
    case U_WMR_SETPIXEL:
        Need(U_WMRSETPIXEL_get(Record, &color, &a));
        FPlayer.SetPixel(Point(a), Color(color));
        break;
    case U_WMR_POLYGON:
    case U_WMR_POLYLINE: {
        const auto count = static_cast<uint16_t>(Le16(Record + U_SIZE_METARECORD));
        if (!FitsInRecord(U_SIZE_METARECORD + 2, count, 4, Size))
            RefuseBrokenMetafile();
        if (count == 0)
            break;
        uint16_t length = 0;
        const char *data = nullptr;
        if (type == U_WMR_POLYGON) {
            Need(U_WMRPOLYGON_get(Record, &length, &data));
            FPlayer.Polygon(Points(data, length));
        } else {
            Need(U_WMRPOLYLINE_get(Record, &length, &data));
            FPlayer.Polyline(Points(data, length));
        }
        break;
    }
    case U_WMR_POLYPOLYGON:
        PolyPolygon(Record, Size);
        break;
    case U_WMR_TEXTOUT:
    case U_WMR_EXTTEXTOUT:
        Text(Record, Size, type == U_WMR_EXTTEXTOUT);
        break;
    case U_WMR_PATBLT:
    case U_WMR_DIBBITBLT:
    case U_WMR_DIBSTRETCHBLT:
    case U_WMR_STRETCHDIB:
    case U_WMR_SETDIBTODEV:
        Blit(Record, Size, type);
        break;
    case U_WMR_SAVEDC:
        FPlayer.SaveDC();
        break;
    case U_WMR_RESTOREDC: {
        int16_t which = 0;
        Need(U_WMRRESTOREDC_get(Record, &which));
        FPlayer.RestoreDC(which);
        break;
    }
    case U_WMR_SELECTOBJECT:
        Need(U_WMRSELECTOBJECT_get(Record, &mode));
        FPlayer.SelectObject(mode);
        break;
    case U_WMR_DELETEOBJECT:
        Need(U_WMRDELETEOBJECT_get(Record, &mode));
        FPlayer.DeleteObject(mode);
        break;
    case U_WMR_CREATEPENINDIRECT: {
        U_PEN pen{};
        Need(U_WMRCREATEPENINDIRECT_get(Record, &pen));
        TGdiPen result;
        result.Style = pen.Style;
        result.Width = pen.Widthw[0];
        result.Color = Color(pen.Color);
        FPlayer.AddObject(result);
        break;
    }
    case U_WMR_CREATEBRUSHINDIRECT: {
        const char *data = nullptr;
        Need(U_WMRCREATEBRUSHINDIRECT_get(Record, &data));
        U_WLOGBRUSH brush{};
        std::memcpy(&brush, data, U_SIZE_WLOGBRUSH);
        TGdiBrush result;
        result.Style = brush.Style;
        result.Color = Color(brush.Color);
        result.Hatch = brush.Hatch;
        FPlayer.AddObject(result);
        break;
    }
    case U_WMR_CREATEFONTINDIRECT:
        Font(Record, Size);
        break;
    case U_WMR_DIBCREATEPATTERNBRUSH:
        PatternBrush(Record, Size);
        break;
    case U_WMR_CREATEPALETTE:
    case U_WMR_CREATEPATTERNBRUSH:
    case U_WMR_CREATEREGION:
    case U_WMR_CREATEBITMAPINDIRECT:
    case U_WMR_CREATEBITMAP:
        // Not drawn, but they take an object slot as every created object does.
        FPlayer.AddObject(TGdiOtherObject{});
        break;
    default:
        break;
    }
    return true;
}

// The next record's size, refused when it does not fit in the rest of the file.
uint32_t RecordSize(const uint8_t *Data, size_t Size, size_t At)
{
    if (Size - At < U_SIZE_METARECORD)
        RefuseBrokenMetafile();
    uint32_t words = 0;
    std::memcpy(&words, Data + At, 4);
    const uint64_t bytes = uint64_t{words} * 2;
    const auto *record = reinterpret_cast<const char *>(Data + At);
    if (bytes < U_SIZE_METARECORD || bytes > Size - At ||
        U_WMRRECSAFE_get(record, reinterpret_cast<const char *>(Data + Size)) != bytes)
        RefuseBrokenMetafile();
    return static_cast<uint32_t>(bytes);
}

size_t ReadHeader(const uint8_t *Data, size_t Size, TOldMetafileFrame &Frame)
{
    U_WMRPLACEABLE placeable{};
    U_WMRHEADER header{};
    // libuemf counts the placeable header twice when it checks the header against the end
    // of the file: it reads a copy with room to spare, and the file's size is checked here.
    std::vector<char> start(128, 0);
    std::memcpy(start.data(), Data, std::min<size_t>(Size, 64));
    const int headerBytes =
        wmfheader_get(start.data(), start.data() + start.size(), &placeable, &header);
    if (headerBytes <= 0 || static_cast<size_t>(headerBytes) > Size ||
        (header.iType != 1 && header.iType != 2) || header.Size16w != 9)
        RefuseBrokenMetafile();
    if (placeable.Key == kPlaceableKey) {
        const U_RECT16 &box = placeable.Dst;
        if (placeable.Inch == 0)
            RefuseBrokenMetafile();
        Frame.Origin = QPointF(box.left, box.top);
        Frame.Extent = QPointF(double(box.right) - box.left, double(box.bottom) - box.top);
        Frame.Width = std::round(std::abs(Frame.Extent.x()) * 96 / placeable.Inch);
        Frame.Height = std::round(std::abs(Frame.Extent.y()) * 96 / placeable.Inch);
        return static_cast<size_t>(headerBytes);
    }
    // A plain file is as large as the window it first sets, one pixel per unit.
    bool haveOrigin = false;
    for (size_t at = static_cast<size_t>(headerBytes); at < Size;) {
        const uint32_t size = RecordSize(Data, Size, at);
        const uint8_t type = Data[at + 4];
        if (type == U_WMR_EOF)
            break;
        if (size >= 10 && (type == U_WMR_SETWINDOWORG || type == U_WMR_SETWINDOWEXT)) {
            const QPointF value(Le16(reinterpret_cast<const char *>(Data + at + 8)),
                                Le16(reinterpret_cast<const char *>(Data + at + 6)));
            if (type == U_WMR_SETWINDOWORG && !haveOrigin) {
                Frame.Origin = value;
                haveOrigin = true;
            } else if (type == U_WMR_SETWINDOWEXT) {
                Frame.Extent = value;
                break;
            }
        }
        at += size;
    }
    Frame.Width = std::abs(Frame.Extent.x());
    Frame.Height = std::abs(Frame.Extent.y());
    return static_cast<size_t>(headerBytes);
}

} // namespace

bool IsOldMetafile(const uint8_t *Data, size_t Size)
{
    if (Size >= 4) {
        uint32_t key = 0;
        std::memcpy(&key, Data, 4);
        if (key == kPlaceableKey)
            return true;
    }
    // A plain file starts with its header: type 1 or 2, nine words, version 1 or 3.
    return Size >= 6 && (Data[0] == 1 || Data[0] == 2) && Data[1] == 0 && Data[2] == 9 &&
           Data[3] == 0 && Data[4] == 0 && (Data[5] == 1 || Data[5] == 3);
}

QImage PlayOldMetafile(const uint8_t *Data, size_t Size, int64_t MaxPixels)
{
    TOldMetafileFrame frame;
    const size_t first = ReadHeader(Data, Size, frame);
    QImage picture = BlankMetafilePicture(frame.Width, frame.Height, MaxPixels);
    {
        TGdiPlayer player(picture, QTransform(), QSizeF(96 / 25.4, 96 / 25.4));
        // The picture's box in logical units fills the picture.
        player.SetMapMode(8);
        player.SetWindowOrg(frame.Origin);
        player.SetWindowExt(frame.Extent);
        player.SetViewportExt(QPointF(picture.width(), picture.height()));
        TWmfReader reader(player);
        TRecordCopy copy;
        for (size_t at = first; at < Size;) {
            const uint32_t size = RecordSize(Data, Size, at);
            if (!reader.Play(copy.Copy(Data + at, size), size))
                break;
            at += size;
        }
    }
    return picture;
}
