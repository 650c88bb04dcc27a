// Enhanced metafiles: the header gives the picture's frame and the reference device; each
// record is checked against the file and, with libuemf's record checks and our own for the
// counts we use, against its own size before it is played.
#include "GdiPlayer.h"
#include "MetafileDib.h"
#include "MetafilePlayback.h"
#include "MetafileRecords.h"

#include <uemf.h>
#include <uemf_safe.h>

#include <cmath>
#include <string>

namespace
{

constexpr uint32_t kEmfSignature = 0x464D4520; // " EMF"

template <typename T> const T &As(const char *Record)
{
    return *reinterpret_cast<const T *>(Record);
}

QPointF Point(const U_POINTL &P)
{
    return QPointF(P.x, P.y);
}

QPointF Point(const U_POINT16 &P)
{
    return QPointF(P.x, P.y);
}

QRectF Box(const U_RECTL &R)
{
    return QRectF(QPointF(R.left, R.top), QPointF(R.right, R.bottom));
}

QColor Color(const U_COLORREF &C)
{
    return QColor(C.Red, C.Green, C.Blue);
}

QTransform Transform(const U_XFORM &X)
{
    return QTransform(X.eM11, X.eM12, X.eM21, X.eM22, X.eDx, X.eDy);
}

bool IsFiniteTransform(const U_XFORM &X)
{
    for (const float v : {X.eM11, X.eM12, X.eM21, X.eM22, X.eDx, X.eDy})
        if (!std::isfinite(v) || std::abs(v) > 1e9f)
            return false;
    return true;
}

class TEmfReader
{
public:
    TEmfReader(TGdiPlayer &Player) : FPlayer(Player) {}

    // Plays one record (a copy followed by zeros) of Size bytes; false at the end record.
    bool Play(char *Record, uint32_t Type, uint32_t Size);

private:
    template <typename Point16, typename PointL>
    QPolygonF Points(const char *Record, uint32_t Size, bool Short);
    std::vector<QPolygonF> PolyPoints(const char *Record, uint32_t Size, bool Short);
    void Text(const char *Record, uint32_t Size, bool Wide);
    void Font(const char *Record, uint32_t Size);
    void Pen(const char *Record, uint32_t Size, bool Extended);
    void PatternBrush(const char *Record, uint32_t Size);
    void ClipRegion(const char *Record, uint32_t Size);
    std::optional<QImage> Bitmap(const char *Record, uint32_t Size, uint32_t OffBmi, uint32_t CbBmi,
                                 uint32_t OffBits, uint32_t CbBits);
    void Blit(char *Record, uint32_t Size, uint32_t Type);

    TGdiPlayer &FPlayer;
};

// Polylines, polygons and Bézier curves with 32- or 16-bit points after the bounds.
template <typename Point16, typename PointL>
QPolygonF TEmfReader::Points(const char *Record, uint32_t Size, bool Short)
{
    const auto &head = As<U_EMRPOLYLINE>(Record);
    const uint32_t count = head.cptl;
    const uint64_t offset = offsetof(U_EMRPOLYLINE, aptl);
    if (!FitsInRecord(offset, count, Short ? sizeof(Point16) : sizeof(PointL), Size))
        RefuseBrokenMetafile();
    QPolygonF points;
    points.reserve(static_cast<qsizetype>(count));
    const char *at = Record + offset;
    for (uint32_t i = 0; i < count; ++i) {
        if (Short)
            points << Point(reinterpret_cast<const Point16 *>(at)[i]);
        else
            points << Point(reinterpret_cast<const PointL *>(at)[i]);
    }
    return points;
}

std::vector<QPolygonF> TEmfReader::PolyPoints(const char *Record, uint32_t Size, bool Short)
{
    const auto &head = As<U_EMRPOLYPOLYLINE>(Record);
    const uint32_t polys = head.nPolys;
    const uint32_t total = head.cptl;
    const uint64_t countsAt = offsetof(U_EMRPOLYPOLYLINE, aPolyCounts);
    if (!FitsInRecord(countsAt, polys, 4, Size))
        RefuseBrokenMetafile();
    const uint64_t pointsAt = countsAt + uint64_t{polys} * 4;
    const uint64_t pointSize = Short ? sizeof(U_POINT16) : sizeof(U_POINTL);
    if (!FitsInRecord(pointsAt, total, pointSize, Size))
        RefuseBrokenMetafile();
    const auto *counts = reinterpret_cast<const uint32_t *>(Record + countsAt);
    std::vector<QPolygonF> result;
    uint64_t next = 0;
    for (uint32_t p = 0; p < polys; ++p) {
        if (counts[p] > total - next)
            RefuseBrokenMetafile();
        QPolygonF points;
        for (uint32_t i = 0; i < counts[p]; ++i, ++next) {
            const char *at = Record + pointsAt + next * pointSize;
            points << (Short ? Point(*reinterpret_cast<const U_POINT16 *>(at))
                             : Point(*reinterpret_cast<const U_POINTL *>(at)));
        }
        result.push_back(points);
    }
    return result;
}

void TEmfReader::Text(const char *Record, uint32_t Size, bool Wide)
{
    const auto &head = As<U_EMREXTTEXTOUTW>(Record);
    const U_EMRTEXT &text = head.emrtext;
    const uint32_t count = text.nChars;
    const uint32_t options = text.fOptions;
    uint64_t after = offsetof(U_EMREXTTEXTOUTW, emrtext) + sizeof(U_EMRTEXT);
    std::optional<QRectF> box;
    if ((options & U_ETO_NO_RECT) == 0) {
        if (!FitsInRecord(after, 1, sizeof(U_RECTL), Size))
            RefuseBrokenMetafile();
        U_RECTL rect;
        std::memcpy(&rect, Record + after, sizeof rect);
        box = Box(rect);
        after += sizeof(U_RECTL);
    }
    if (!FitsInRecord(after, 1, 4, Size))
        RefuseBrokenMetafile();
    uint32_t offDx = 0;
    std::memcpy(&offDx, Record + after, 4);
    if (!FitsInRecord(text.offString, count, Wide ? 2 : 1, Size))
        RefuseBrokenMetafile();
    QString string;
    if (Wide) {
        std::u16string units(count, u'\0');
        std::memcpy(units.data(), Record + text.offString, size_t{count} * 2);
        string = QString::fromStdU16String(units);
    } else {
        string = QString::fromLatin1(Record + text.offString, static_cast<qsizetype>(count));
    }
    std::vector<double> advances;
    const uint64_t perChar = (options & U_ETO_PDY) != 0 ? 2 : 1;
    if (offDx != 0 && count != 0) {
        if (!FitsInRecord(offDx, uint64_t{count} * perChar, 4, Size))
            RefuseBrokenMetafile();
        for (uint32_t i = 0; i < count; ++i) {
            int32_t dx = 0;
            std::memcpy(&dx, Record + offDx + i * perChar * 4, 4);
            advances.push_back(dx);
        }
    }
    FPlayer.TextOut(Point(text.ptlReference), string, advances, options, box);
}

void TEmfReader::Font(const char *Record, uint32_t Size)
{
    if (Size < U_SIZE_EMREXTCREATEFONTINDIRECTW_LOGFONT)
        RefuseBrokenMetafile();
    const auto &head = As<U_EMREXTCREATEFONTINDIRECTW>(Record);
    const U_LOGFONT &lf = head.elfw.elfLogFont;
    TGdiFont font;
    font.Height = lf.lfHeight;
    font.Escapement = lf.lfEscapement;
    font.Weight = lf.lfWeight;
    font.Italic = lf.lfItalic != 0;
    font.Underline = lf.lfUnderline != 0;
    font.StrikeOut = lf.lfStrikeOut != 0;
    std::u16string face;
    for (size_t i = 0; i < U_LF_FACESIZE && lf.lfFaceName[i] != 0; ++i)
        face.push_back(static_cast<char16_t>(lf.lfFaceName[i]));
    font.Face = QString::fromStdU16String(face);
    FPlayer.CreateObject(head.ihFont, font);
}

void TEmfReader::Pen(const char *Record, uint32_t Size, bool Extended)
{
    TGdiPen pen;
    if (Extended) {
        if (Size < offsetof(U_EMREXTCREATEPEN, elp) + offsetof(U_EXTLOGPEN, elpNumEntries))
            RefuseBrokenMetafile();
        const auto &head = As<U_EMREXTCREATEPEN>(Record);
        pen.Style = head.elp.elpPenStyle;
        pen.Width = (head.elp.elpPenStyle & U_PS_GEOMETRIC) != 0 ? head.elp.elpWidth : 0;
        pen.Color = Color(head.elp.elpColor);
        if (head.elp.elpBrushStyle == U_BS_NULL)
            pen.Style = kPenNull;
        FPlayer.CreateObject(head.ihPen, pen);
        return;
    }
    const auto &head = As<U_EMRCREATEPEN>(Record);
    pen.Style = head.lopn.lopnStyle;
    pen.Width = std::abs(head.lopn.lopnWidth.x);
    pen.Color = Color(head.lopn.lopnColor);
    FPlayer.CreateObject(head.ihPen, pen);
}

std::optional<QImage> TEmfReader::Bitmap(const char *Record, uint32_t Size, uint32_t OffBmi,
                                         uint32_t CbBmi, uint32_t OffBits, uint32_t CbBits)
{
    if (!FitsInRecord(OffBmi, CbBmi, 1, Size) || !FitsInRecord(OffBits, CbBits, 1, Size))
        RefuseBrokenMetafile();
    return DecodeDib(Record + OffBmi, CbBmi, Record + OffBits, CbBits);
}

void TEmfReader::PatternBrush(const char *Record, uint32_t Size)
{
    const auto &head = As<U_EMRCREATEDIBPATTERNBRUSHPT>(Record);
    TGdiBrush brush;
    brush.Style = kBrushDibPatternPt;
    brush.Color = Qt::black;
    if (head.iUsage == U_DIB_RGB_COLORS) {
        if (auto image = Bitmap(Record, Size, head.offBmi, head.cbBmi, head.offBits, head.cbBits))
            brush.Pattern = *image;
    }
    FPlayer.CreateObject(head.ihBrush, brush);
}

void TEmfReader::ClipRegion(const char *Record, uint32_t Size)
{
    const auto &head = As<U_EMREXTSELECTCLIPRGN>(Record);
    const uint32_t bytes = head.cbRgnData;
    const uint64_t dataAt = offsetof(U_EMREXTSELECTCLIPRGN, RgnData);
    if (!FitsInRecord(dataAt, bytes, 1, Size))
        RefuseBrokenMetafile();
    if (bytes == 0) {
        // No region: the mode copy clears the clipping, the others leave it.
        if (head.iMode == U_RGN_COPY)
            FPlayer.ResetClip();
        return;
    }
    if (bytes < sizeof(U_RGNDATAHEADER))
        RefuseBrokenMetafile();
    const auto &data = As<U_RGNDATA>(Record + dataAt);
    const uint32_t count = data.rdh.nCount;
    if (!FitsInRecord(sizeof(U_RGNDATAHEADER), count, sizeof(U_RECTL), bytes))
        RefuseBrokenMetafile();
    std::vector<QRectF> region;
    const auto *rects =
        reinterpret_cast<const U_RECTL *>(Record + dataAt + sizeof(U_RGNDATAHEADER));
    for (uint32_t i = 0; i < count; ++i) {
        const U_RECTL &r = rects[i];
        if (r.right > r.left && r.bottom > r.top)
            region.push_back(Box(r));
    }
    FPlayer.SelectClipRegion(region, head.iMode);
}

void TEmfReader::Blit(char *Record, uint32_t Size, uint32_t Type)
{
    if (Type == U_EMR_STRETCHDIBITS) {
        const auto &r = As<U_EMRSTRETCHDIBITS>(Record);
        const QRectF dest(r.Dest.x, r.Dest.y, r.cDest.x, r.cDest.y);
        if (r.cbBmiSrc == 0 || r.iUsageSrc != U_DIB_RGB_COLORS) {
            if (r.cbBmiSrc == 0)
                FPlayer.PatBlt(dest, r.dwRop);
            return;
        }
        const auto image = Bitmap(Record, Size, r.offBmiSrc, r.cbBmiSrc, r.offBitsSrc, r.cbBitsSrc);
        if (!image)
            return;
        // The source rectangle of a bottom-up bitmap is measured from its bottom row.
        uint32_t headerSize = 0;
        int32_t height = 0;
        std::memcpy(&headerSize, Record + r.offBmiSrc, 4);
        std::memcpy(&height, Record + r.offBmiSrc + 8, 4);
        const bool bottomUp = headerSize == 12 || height > 0;
        const double top = bottomUp ? image->height() - double(r.Src.y) - r.cSrc.y : r.Src.y;
        FPlayer.DrawBitmap(dest, *image, QRectF(r.Src.x, top, r.cSrc.x, r.cSrc.y), r.dwRop);
        return;
    }
    if (Type == U_EMR_SETDIBITSTODEVICE) {
        const auto &r = As<U_EMRSETDIBITSTODEVICE>(Record);
        if (r.cbBmiSrc == 0 || r.iUsageSrc != U_DIB_RGB_COLORS)
            return;
        if (!FitsInRecord(r.offBmiSrc, r.cbBmiSrc, 1, Size) || r.cbBmiSrc < 12)
            RefuseBrokenMetafile();
        // The record may hold a band of the rows only: its bitmap is as tall as the band.
        char *header = Record + r.offBmiSrc;
        uint32_t headerSize = 0;
        int32_t height = 0;
        std::memcpy(&headerSize, header, 4);
        std::memcpy(&height, header + 8, 4);
        const bool bottomUp = headerSize < 40 || height > 0;
        if (headerSize >= 40 && r.cScans < std::abs(int64_t{height})) {
            const int32_t band = bottomUp ? int32_t(r.cScans) : -int32_t(r.cScans);
            std::memcpy(header + 8, &band, 4);
        }
        const auto image = Bitmap(Record, Size, r.offBmiSrc, r.cbBmiSrc, r.offBitsSrc, r.cbBitsSrc);
        if (!image)
            return;
        const double rows = image->height();
        const double top = bottomUp ? double(r.iStartScan) + rows - r.Src.y - r.cSrc.y
                                    : double(r.Src.y) - r.iStartScan;
        FPlayer.DrawBitmapUnscaled(Point(r.Dest), *image, QRectF(r.Src.x, top, r.cSrc.x, r.cSrc.y));
        return;
    }
    // Bit-block transfers, stretched or not; without a bitmap they paint the brush.
    const auto &r = As<U_EMRBITBLT>(Record);
    const QRectF dest(r.Dest.x, r.Dest.y, r.cDest.x, r.cDest.y);
    if (r.cbBmiSrc == 0) {
        FPlayer.PatBlt(dest, r.dwRop);
        return;
    }
    if (r.iUsageSrc != U_DIB_RGB_COLORS)
        return;
    QPointF size(r.cDest.x, r.cDest.y);
    if (Type == U_EMR_STRETCHBLT)
        size = Point(As<U_EMRSTRETCHBLT>(Record).cSrc);
    const auto image = Bitmap(Record, Size, r.offBmiSrc, r.cbBmiSrc, r.offBitsSrc, r.cbBitsSrc);
    if (image)
        FPlayer.DrawBitmap(dest, *image, QRectF(r.Src.x, r.Src.y, size.x(), size.y()), r.dwRop);
}

bool TEmfReader::Play(char *Record, uint32_t Type, uint32_t Size)
{
    const auto box = [&] { return Box(As<U_EMRELLIPSE>(Record).rclBox); };
    const auto arc = [&](auto draw) {
        const auto &r = As<U_EMRARC>(Record);
        (FPlayer.*draw)(Box(r.rclBox), Point(r.ptlStart), Point(r.ptlEnd));
    };
    const auto mode = [&] { return As<U_EMRSETMAPMODE>(Record).iMode; };
    switch (Type) {
    case U_EMR_EOF:
        return false;
    case U_EMR_POLYBEZIER:
        FPlayer.PolyBezier(Points<U_POINT16, U_POINTL>(Record, Size, false));
        break;
    case U_EMR_POLYGON:
        FPlayer.Polygon(Points<U_POINT16, U_POINTL>(Record, Size, false));
        break;
    case U_EMR_POLYLINE:
        FPlayer.Polyline(Points<U_POINT16, U_POINTL>(Record, Size, false));
        break;
    case U_EMR_POLYBEZIERTO:
        FPlayer.PolyBezierTo(Points<U_POINT16, U_POINTL>(Record, Size, false));
        break;
    case U_EMR_POLYLINETO:
        FPlayer.PolylineTo(Points<U_POINT16, U_POINTL>(Record, Size, false));
        break;
    case U_EMR_POLYBEZIER16:
        FPlayer.PolyBezier(Points<U_POINT16, U_POINTL>(Record, Size, true));
        break;
    case U_EMR_POLYGON16:
        FPlayer.Polygon(Points<U_POINT16, U_POINTL>(Record, Size, true));
        break;
    case U_EMR_POLYLINE16:
        FPlayer.Polyline(Points<U_POINT16, U_POINTL>(Record, Size, true));
        break;
    case U_EMR_POLYBEZIERTO16:
        FPlayer.PolyBezierTo(Points<U_POINT16, U_POINTL>(Record, Size, true));
        break;
    case U_EMR_POLYLINETO16:
        FPlayer.PolylineTo(Points<U_POINT16, U_POINTL>(Record, Size, true));
        break;
    case U_EMR_POLYPOLYLINE:
        FPlayer.PolyPolyline(PolyPoints(Record, Size, false));
        break;
    case U_EMR_POLYPOLYGON:
        FPlayer.PolyPolygon(PolyPoints(Record, Size, false));
        break;
    case U_EMR_POLYPOLYLINE16:
        FPlayer.PolyPolyline(PolyPoints(Record, Size, true));
        break;
    case U_EMR_POLYPOLYGON16:
        FPlayer.PolyPolygon(PolyPoints(Record, Size, true));
        break;
    case U_EMR_SETWINDOWEXTEX: {
        const auto &e = As<U_EMRSETWINDOWEXTEX>(Record).szlExtent;
        FPlayer.SetWindowExt(QPointF(e.cx, e.cy));
        break;
    }
    case U_EMR_SETVIEWPORTEXTEX: {
        const auto &e = As<U_EMRSETVIEWPORTEXTEX>(Record).szlExtent;
        FPlayer.SetViewportExt(QPointF(e.cx, e.cy));
        break;
    }
    case U_EMR_SETWINDOWORGEX:
        FPlayer.SetWindowOrg(Point(As<U_EMRSETWINDOWORGEX>(Record).ptlOrigin));
        break;
    case U_EMR_SETVIEWPORTORGEX:
        FPlayer.SetViewportOrg(Point(As<U_EMRSETVIEWPORTORGEX>(Record).ptlOrigin));
        break;
    case U_EMR_SCALEVIEWPORTEXTEX:
    case U_EMR_SCALEWINDOWEXTEX: {
        const auto &s = As<U_EMRSCALEWINDOWEXTEX>(Record);
        if (Type == U_EMR_SCALEWINDOWEXTEX)
            FPlayer.ScaleWindowExt(s.xNum, s.xDenom, s.yNum, s.yDenom);
        else
            FPlayer.ScaleViewportExt(s.xNum, s.xDenom, s.yNum, s.yDenom);
        break;
    }
    case U_EMR_SETPIXELV: {
        const auto &p = As<U_EMRSETPIXELV>(Record);
        FPlayer.SetPixel(Point(p.ptlPixel), Color(p.crColor));
        break;
    }
    case U_EMR_SETMAPMODE:
        FPlayer.SetMapMode(mode());
        break;
    case U_EMR_SETBKMODE:
        FPlayer.SetBkMode(mode());
        break;
    case U_EMR_SETPOLYFILLMODE:
        FPlayer.SetPolyFillMode(mode());
        break;
    case U_EMR_SETROP2:
        FPlayer.SetRop2(mode());
        break;
    case U_EMR_SETTEXTALIGN:
        FPlayer.SetTextAlign(mode());
        break;
    case U_EMR_SETARCDIRECTION:
        FPlayer.SetArcDirection(As<U_EMRSETARCDIRECTION>(Record).iArcDirection);
        break;
    case U_EMR_SETTEXTCOLOR:
        FPlayer.SetTextColor(Color(As<U_EMRSETTEXTCOLOR>(Record).crColor));
        break;
    case U_EMR_SETBKCOLOR:
        FPlayer.SetBkColor(Color(As<U_EMRSETBKCOLOR>(Record).crColor));
        break;
    case U_EMR_OFFSETCLIPRGN:
        FPlayer.OffsetClip(Point(As<U_EMROFFSETCLIPRGN>(Record).ptlOffset));
        break;
    case U_EMR_MOVETOEX:
        FPlayer.MoveTo(Point(As<U_EMRMOVETOEX>(Record).ptl));
        break;
    case U_EMR_LINETO:
        FPlayer.LineTo(Point(As<U_EMRLINETO>(Record).ptl));
        break;
    case U_EMR_EXCLUDECLIPRECT:
        FPlayer.ExcludeClipRect(Box(As<U_EMREXCLUDECLIPRECT>(Record).rclClip));
        break;
    case U_EMR_INTERSECTCLIPRECT:
        FPlayer.IntersectClipRect(Box(As<U_EMRINTERSECTCLIPRECT>(Record).rclClip));
        break;
    case U_EMR_SAVEDC:
        FPlayer.SaveDC();
        break;
    case U_EMR_RESTOREDC:
        FPlayer.RestoreDC(As<U_EMRRESTOREDC>(Record).iRelative);
        break;
    case U_EMR_SETWORLDTRANSFORM: {
        const U_XFORM &x = As<U_EMRSETWORLDTRANSFORM>(Record).xform;
        if (IsFiniteTransform(x))
            FPlayer.SetWorldTransform(Transform(x));
        break;
    }
    case U_EMR_MODIFYWORLDTRANSFORM: {
        const auto &m = As<U_EMRMODIFYWORLDTRANSFORM>(Record);
        if (IsFiniteTransform(m.xform))
            FPlayer.ModifyWorldTransform(Transform(m.xform), m.iMode);
        break;
    }
    case U_EMR_SELECTOBJECT:
        FPlayer.SelectObject(As<U_EMRSELECTOBJECT>(Record).ihObject);
        break;
    case U_EMR_DELETEOBJECT:
        FPlayer.DeleteObject(As<U_EMRDELETEOBJECT>(Record).ihObject);
        break;
    case U_EMR_CREATEPEN:
        Pen(Record, Size, false);
        break;
    case U_EMR_EXTCREATEPEN:
        Pen(Record, Size, true);
        break;
    case U_EMR_CREATEBRUSHINDIRECT: {
        const auto &b = As<U_EMRCREATEBRUSHINDIRECT>(Record);
        TGdiBrush brush;
        brush.Style = b.lb.lbStyle;
        brush.Color = Color(b.lb.lbColor);
        brush.Hatch = b.lb.lbHatch;
        FPlayer.CreateObject(b.ihBrush, brush);
        break;
    }
    case U_EMR_CREATEDIBPATTERNBRUSHPT:
    case U_EMR_CREATEMONOBRUSH:
        PatternBrush(Record, Size);
        break;
    case U_EMR_CREATEPALETTE:
        FPlayer.CreateObject(As<U_EMRSELECTOBJECT>(Record).ihObject, TGdiOtherObject{});
        break;
    case U_EMR_EXTCREATEFONTINDIRECTW:
        Font(Record, Size);
        break;
    case U_EMR_ELLIPSE:
        FPlayer.Ellipse(box());
        break;
    case U_EMR_RECTANGLE:
        FPlayer.Rectangle(box());
        break;
    case U_EMR_ROUNDRECT: {
        const auto &r = As<U_EMRROUNDRECT>(Record);
        FPlayer.RoundRect(Box(r.rclBox), QSizeF(r.szlCorner.cx, r.szlCorner.cy));
        break;
    }
    case U_EMR_ARC:
        arc(&TGdiPlayer::Arc);
        break;
    case U_EMR_ARCTO:
        arc(&TGdiPlayer::ArcTo);
        break;
    case U_EMR_CHORD:
        arc(&TGdiPlayer::Chord);
        break;
    case U_EMR_PIE:
        arc(&TGdiPlayer::Pie);
        break;
    case U_EMR_BEGINPATH:
        FPlayer.BeginPath();
        break;
    case U_EMR_ENDPATH:
        FPlayer.EndPath();
        break;
    case U_EMR_CLOSEFIGURE:
        FPlayer.CloseFigure();
        break;
    case U_EMR_ABORTPATH:
        FPlayer.AbortPath();
        break;
    case U_EMR_FILLPATH:
        FPlayer.FillPath();
        break;
    case U_EMR_STROKEPATH:
        FPlayer.StrokePath();
        break;
    case U_EMR_STROKEANDFILLPATH:
        FPlayer.StrokeAndFillPath();
        break;
    case U_EMR_SELECTCLIPPATH:
        FPlayer.SelectClipPath(mode());
        break;
    case U_EMR_EXTSELECTCLIPRGN:
        ClipRegion(Record, Size);
        break;
    case U_EMR_BITBLT:
    case U_EMR_STRETCHBLT:
    case U_EMR_SETDIBITSTODEVICE:
    case U_EMR_STRETCHDIBITS:
        Blit(Record, Size, Type);
        break;
    case U_EMR_EXTTEXTOUTW:
    case U_EMR_EXTTEXTOUTA:
        Text(Record, Size, Type == U_EMR_EXTTEXTOUTW);
        break;
    default:
        break;
    }
    return true;
}

// The record types played above: libuemf checks these before they are read.
bool IsPlayed(uint32_t Type)
{
    switch (Type) {
    case U_EMR_HEADER:
    case U_EMR_COMMENT:
    case U_EMR_ANGLEARC:
    case U_EMR_SETMAPPERFLAGS:
    case U_EMR_SETSTRETCHBLTMODE:
    case U_EMR_SETCOLORADJUSTMENT:
    case U_EMR_SETMETARGN:
    case U_EMR_SETBRUSHORGEX:
    case U_EMR_SETMITERLIMIT:
    case U_EMR_FLATTENPATH:
    case U_EMR_WIDENPATH:
        return false;
    default:
        return Type >= U_EMR_POLYBEZIER && Type <= U_EMR_EXTCREATEPEN &&
               Type != U_EMR_SELECTPALETTE && Type != U_EMR_SETPALETTEENTRIES &&
               Type != U_EMR_RESIZEPALETTE && Type != U_EMR_REALIZEPALETTE &&
               Type != U_EMR_EXTFLOODFILL && Type != U_EMR_POLYDRAW && Type != U_EMR_FILLRGN &&
               Type != U_EMR_FRAMERGN && Type != U_EMR_INVERTRGN && Type != U_EMR_PAINTRGN &&
               Type != U_EMR_MASKBLT && Type != U_EMR_PLGBLT && Type != U_EMR_POLYDRAW16 &&
               Type != U_EMR_UNDEF69;
    }
}

uint32_t ReadU32(const uint8_t *Data)
{
    uint32_t value = 0;
    std::memcpy(&value, Data, 4);
    return value;
}

} // namespace

bool IsEnhancedMetafile(const uint8_t *Data, size_t Size)
{
    return Size >= 44 && ReadU32(Data) == U_EMR_HEADER && ReadU32(Data + 40) == kEmfSignature;
}

QImage PlayEnhancedMetafile(const uint8_t *Data, size_t Size, int64_t MaxPixels)
{
    if (!IsEnhancedMetafile(Data, Size))
        RefuseBrokenMetafile();
    const uint32_t headerSize = ReadU32(Data + 4);
    if (headerSize < U_SIZE_EMRHEADER_MIN || headerSize > Size || headerSize % 4 != 0)
        RefuseBrokenMetafile();
    TRecordCopy copy;
    const auto &header = As<U_EMRHEADER>(copy.Copy(Data, headerSize));
    const U_RECTL frame = header.rclFrame;
    QSizeF perMm(96 / 25.4, 96 / 25.4);
    if (header.szlDevice.cx > 0 && header.szlDevice.cy > 0 && header.szlMillimeters.cx > 0 &&
        header.szlMillimeters.cy > 0)
        perMm = QSizeF(double(header.szlDevice.cx) / header.szlMillimeters.cx,
                       double(header.szlDevice.cy) / header.szlMillimeters.cy);
    const double frameWidth = double(frame.right) - frame.left;
    const double frameHeight = double(frame.bottom) - frame.top;
    QImage picture = BlankMetafilePicture(std::round(frameWidth * 96 / 2540),
                                          std::round(frameHeight * 96 / 2540), MaxPixels);
    // The frame, in the reference device's pixels, fills the picture.
    const QRectF onDevice(frame.left / 100.0 * perMm.width(), frame.top / 100.0 * perMm.height(),
                          frameWidth / 100.0 * perMm.width(), frameHeight / 100.0 * perMm.height());
    const QTransform deviceToOutput = QTransform::fromTranslate(-onDevice.left(), -onDevice.top()) *
                                      QTransform::fromScale(picture.width() / onDevice.width(),
                                                            picture.height() / onDevice.height());
    {
        TGdiPlayer player(picture, deviceToOutput, perMm);
        TEmfReader reader(player);
        for (size_t at = headerSize; at < Size;) {
            if (Size - at < 8)
                RefuseBrokenMetafile();
            const uint32_t type = ReadU32(Data + at);
            const uint32_t size = ReadU32(Data + at + 4);
            if (size < 8 || size % 4 != 0 || size > Size - at)
                RefuseBrokenMetafile();
            char *record = const_cast<char *>(copy.Copy(Data + at, size));
            if (IsPlayed(type) && U_emf_record_safe(record) == 0)
                RefuseBrokenMetafile();
            if (!reader.Play(record, type, size))
                break;
            at += size;
        }
    }
    return picture;
}

QImage BlankMetafilePicture(double Width, double Height, int64_t MaxPixels)
{
    if (!(Width >= 1 && Height >= 1))
        throw std::runtime_error("the metafile has no picture size");
    if (Width > kMaxMetafileSide || Height > kMaxMetafileSide || Width * Height > double(MaxPixels))
        throw std::runtime_error("the metafile picture is too large");
    QImage picture(static_cast<int>(Width), static_cast<int>(Height), QImage::Format_RGB32);
    if (picture.isNull())
        throw std::bad_alloc();
    picture.fill(Qt::white);
    return picture;
}
