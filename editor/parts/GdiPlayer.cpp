#include "GdiPlayer.h"

#include <QFontMetricsF>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{

// Saved states and objects beyond these counts are refused the way a device context
// refuses them when it runs out of room.
constexpr size_t kMaxSavedStates = 4096;
constexpr size_t kMaxObjects = 65536;
// Text is drawn up to this height in output pixels; a larger font would only cost time.
constexpr double kMaxFontPixels = 2048;

constexpr uint32_t kStockObject = 0x80000000u;

QPainter::CompositionMode Rop2Mode(uint32_t Rop2)
{
    switch (Rop2) {
    case 2:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case 3:
        return QPainter::RasterOp_NotSourceAndDestination;
    case 4:
        return QPainter::RasterOp_NotSource;
    case 5:
        return QPainter::RasterOp_SourceAndNotDestination;
    case 6:
        return QPainter::RasterOp_NotDestination;
    case 7:
        return QPainter::RasterOp_SourceXorDestination;
    case 8:
        return QPainter::RasterOp_NotSourceOrNotDestination;
    case 9:
        return QPainter::RasterOp_SourceAndDestination;
    case 10:
        return QPainter::RasterOp_NotSourceXorDestination;
    case 12:
        return QPainter::RasterOp_NotSourceOrDestination;
    case 14:
        return QPainter::RasterOp_SourceOrNotDestination;
    case 15:
        return QPainter::RasterOp_SourceOrDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

// The ternary raster operations that combine a source bitmap with the picture.
QPainter::CompositionMode SourceRopMode(uint32_t Rop)
{
    switch (Rop) {
    case 0x00EE0086: // SRCPAINT
        return QPainter::RasterOp_SourceOrDestination;
    case 0x008800C6: // SRCAND
        return QPainter::RasterOp_SourceAndDestination;
    case 0x00660046: // SRCINVERT
        return QPainter::RasterOp_SourceXorDestination;
    case 0x00330008: // NOTSRCCOPY
        return QPainter::RasterOp_NotSource;
    case 0x00440328: // SRCERASE
        return QPainter::RasterOp_SourceAndNotDestination;
    case 0x001100A6: // NOTSRCERASE
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case 0x00BB0226: // MERGEPAINT
        return QPainter::RasterOp_NotSourceOrDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

bool UsesSource(uint32_t Rop)
{
    // The source bits of the operation index differ from the pattern-and-destination ones.
    const uint32_t index = (Rop >> 16) & 0xFF;
    return ((index >> 2) & 0x33) != (index & 0x33);
}

// The 8 x 8 hatch patterns, one bit per pixel, top row first.
bool HatchBit(uint32_t Hatch, int X, int Y)
{
    switch (Hatch) {
    case 0:
        return Y == 7;
    case 1:
        return X == 7;
    case 2:
        return X == Y;
    case 3:
        return X + Y == 7;
    case 4:
        return X == 7 || Y == 7;
    case 5:
        return X == Y || X + Y == 7;
    default:
        return true;
    }
}

QColor StockBrushColor(uint32_t Number)
{
    static const int greys[] = {255, 192, 128, 64, 0};
    return Number < 5 ? QColor(greys[Number], greys[Number], greys[Number]) : QColor(Qt::white);
}

double Sweep(double From, double To, bool Clockwise)
{
    double sweep = To - From;
    if (Clockwise) {
        while (sweep >= 0)
            sweep -= 360;
        while (sweep < -360)
            sweep += 360;
    } else {
        while (sweep <= 0)
            sweep += 360;
        while (sweep > 360)
            sweep -= 360;
    }
    return sweep;
}

bool IsUsable(double Value)
{
    return std::isfinite(Value) && std::abs(Value) < 1e9;
}

bool IsUsable(const QRectF &Box)
{
    return IsUsable(Box.left()) && IsUsable(Box.top()) && IsUsable(Box.right()) &&
           IsUsable(Box.bottom());
}

} // namespace

TGdiPlayer::TGdiPlayer(QImage &Target, const QTransform &DeviceToOutput, QSizeF DevicePixelsPerMm)
    : FTarget(Target), FDeviceToOutput(DeviceToOutput), FDevicePixelsPerMm(DevicePixelsPerMm)
{
    FPainter.begin(&FTarget);
    FPainter.setRenderHint(QPainter::Antialiasing, false);
    FPainter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    ApplyClip();
}

TGdiPlayer::~TGdiPlayer()
{
    FPainter.end();
}

void TGdiPlayer::SetMapMode(uint32_t Mode)
{
    if (Mode < 1 || Mode > 8)
        return;
    // Leaving the scalable modes keeps their extents; the fixed modes ignore them.
    FState.MapMode = Mode;
}

void TGdiPlayer::SetWindowOrg(QPointF Origin)
{
    FState.WindowOrg = Origin;
}

void TGdiPlayer::SetWindowExt(QPointF Extent)
{
    if (Extent.x() != 0 && Extent.y() != 0)
        FState.WindowExt = Extent;
}

void TGdiPlayer::SetViewportOrg(QPointF Origin)
{
    FState.ViewportOrg = Origin;
}

void TGdiPlayer::SetViewportExt(QPointF Extent)
{
    if (Extent.x() != 0 && Extent.y() != 0)
        FState.ViewportExt = Extent;
}

void TGdiPlayer::OffsetWindowOrg(QPointF Offset)
{
    FState.WindowOrg += Offset;
}

void TGdiPlayer::OffsetViewportOrg(QPointF Offset)
{
    FState.ViewportOrg += Offset;
}

void TGdiPlayer::ScaleWindowExt(double XNum, double XDenom, double YNum, double YDenom)
{
    if (XDenom != 0 && YDenom != 0)
        SetWindowExt(
            QPointF(FState.WindowExt.x() * XNum / XDenom, FState.WindowExt.y() * YNum / YDenom));
}

void TGdiPlayer::ScaleViewportExt(double XNum, double XDenom, double YNum, double YDenom)
{
    if (XDenom != 0 && YDenom != 0)
        SetViewportExt(QPointF(FState.ViewportExt.x() * XNum / XDenom,
                               FState.ViewportExt.y() * YNum / YDenom));
}

void TGdiPlayer::SetWorldTransform(const QTransform &Transform)
{
    if (Transform.isInvertible())
        FState.World = Transform;
}

void TGdiPlayer::ModifyWorldTransform(const QTransform &Transform, uint32_t Mode)
{
    if (Mode == 1)
        FState.World = QTransform();
    else if (Mode == 2)
        SetWorldTransform(Transform * FState.World);
    else if (Mode == 3)
        SetWorldTransform(FState.World * Transform);
}

void TGdiPlayer::SaveDC()
{
    if (FSaved.size() < kMaxSavedStates)
        FSaved.push_back(FState);
}

void TGdiPlayer::RestoreDC(int32_t Which)
{
    size_t keep = 0;
    if (Which < 0) {
        const uint64_t back = static_cast<uint64_t>(-static_cast<int64_t>(Which));
        if (back > FSaved.size())
            return;
        keep = FSaved.size() - static_cast<size_t>(back);
    } else {
        if (Which == 0 || static_cast<uint64_t>(Which) > FSaved.size())
            return;
        keep = static_cast<size_t>(Which) - 1;
    }
    FState = FSaved[keep];
    FSaved.resize(keep);
    ApplyClip();
}

void TGdiPlayer::SetBkMode(uint32_t Mode)
{
    if (Mode == 1 || Mode == 2)
        FState.BkOpaque = Mode == 2;
}

void TGdiPlayer::SetPolyFillMode(uint32_t Mode)
{
    if (Mode == 1 || Mode == 2)
        FState.FillRule = Mode == 2 ? Qt::WindingFill : Qt::OddEvenFill;
}

void TGdiPlayer::CreateObject(uint32_t Index, const TGdiObject &Object)
{
    if ((Index & kStockObject) != 0)
        return;
    if (FObjects.size() >= kMaxObjects && FObjects.find(Index) == FObjects.end())
        return;
    FObjects[Index] = Object;
}

void TGdiPlayer::AddObject(const TGdiObject &Object)
{
    uint32_t index = 0;
    for (const auto &entry : FObjects) {
        if (entry.first != index)
            break;
        ++index;
    }
    CreateObject(index, Object);
}

void TGdiPlayer::SelectObject(uint32_t Index)
{
    if ((Index & kStockObject) != 0) {
        const uint32_t number = Index & ~kStockObject;
        if (number <= 4 || number == 18) {
            FState.Brush = TGdiBrush{};
            FState.Brush.Color = StockBrushColor(number == 18 ? 0 : number);
        } else if (number == 5) {
            FState.Brush = TGdiBrush{};
            FState.Brush.Style = kBrushNull;
        } else if (number == 6 || number == 7 || number == 19) {
            FState.Pen = TGdiPen{};
            FState.Pen.Color = number == 6 ? QColor(Qt::white) : QColor(Qt::black);
        } else if (number == 8) {
            FState.Pen = TGdiPen{};
            FState.Pen.Style = kPenNull;
        } else if (number >= 10 && number <= 17 && number != 15) {
            FState.Font = TGdiFont{};
        }
        return;
    }
    const auto found = FObjects.find(Index);
    if (found == FObjects.end())
        return;
    if (const auto *pen = std::get_if<TGdiPen>(&found->second))
        FState.Pen = *pen;
    else if (const auto *brush = std::get_if<TGdiBrush>(&found->second))
        FState.Brush = *brush;
    else if (const auto *font = std::get_if<TGdiFont>(&found->second))
        FState.Font = *font;
}

void TGdiPlayer::DeleteObject(uint32_t Index)
{
    FObjects.erase(Index);
}

QTransform TGdiPlayer::PageTransform() const
{
    const TState &s = FState;
    double sx = 1;
    double sy = 1;
    double perMm = 0; // logical units in millimetres, for the fixed modes
    switch (s.MapMode) {
    case 2:
        perMm = 0.1;
        break;
    case 3:
        perMm = 0.01;
        break;
    case 4:
        perMm = 0.254;
        break;
    case 5:
        perMm = 0.0254;
        break;
    case 6:
        perMm = 25.4 / 1440;
        break;
    case 7:
    case 8:
        sx = s.ViewportExt.x() / s.WindowExt.x();
        sy = s.ViewportExt.y() / s.WindowExt.y();
        if (s.MapMode == 7) {
            const double scale = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(scale, sx);
            sy = std::copysign(scale, sy);
        }
        break;
    default:
        break;
    }
    if (perMm != 0) {
        sx = perMm * FDevicePixelsPerMm.width();
        sy = -perMm * FDevicePixelsPerMm.height();
    }
    return QTransform(sx, 0, 0, sy, s.ViewportOrg.x() - s.WindowOrg.x() * sx,
                      s.ViewportOrg.y() - s.WindowOrg.y() * sy);
}

QTransform TGdiPlayer::LogicalToOutput() const
{
    return FState.World * PageTransform() * FDeviceToOutput;
}

double TGdiPlayer::OutputScale() const
{
    return std::sqrt(std::abs(LogicalToOutput().determinant()));
}

bool TGdiPlayer::IsAxisAligned() const
{
    const QTransform t = LogicalToOutput();
    return t.m12() == 0 && t.m21() == 0 && !t.isRotating();
}

QPointF TGdiPlayer::ToOutput(QPointF Point) const
{
    return LogicalToOutput().map(Point);
}

QPolygonF TGdiPlayer::ToOutput(const QPolygonF &Points) const
{
    return LogicalToOutput().map(Points);
}

QRectF TGdiPlayer::OutputBox(const QRectF &Box) const
{
    const QTransform t = LogicalToOutput();
    const QPointF a = t.map(Box.topLeft());
    const QPointF b = t.map(Box.bottomRight());
    return QRectF(QPointF(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                  QPointF(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

QPen TGdiPlayer::MakePen() const
{
    const uint32_t style = FState.Pen.Style & kPenStyleMask;
    if (style == kPenNull)
        return QPen(Qt::NoPen);
    QPen pen(FState.Pen.Color);
    // Qt takes widths below 32768; a wider pen covers any picture anyway.
    const double width = FState.Pen.Width * OutputScale();
    pen.setWidthF(FState.Pen.Width == 0 || !(width >= 1.5) ? 0 : std::min(width, 32767.0));
    switch (FState.Pen.Style & kPenEndCapMask) {
    case kPenEndCapSquare:
        pen.setCapStyle(Qt::SquareCap);
        break;
    case kPenEndCapFlat:
        pen.setCapStyle(Qt::FlatCap);
        break;
    default:
        pen.setCapStyle(Qt::RoundCap);
        break;
    }
    switch (FState.Pen.Style & kPenJoinMask) {
    case kPenJoinBevel:
        pen.setJoinStyle(Qt::BevelJoin);
        break;
    case kPenJoinMiter:
        pen.setJoinStyle(Qt::MiterJoin);
        break;
    default:
        pen.setJoinStyle(Qt::RoundJoin);
        break;
    }
    switch (style) {
    case kPenDash:
        pen.setDashPattern({18, 6});
        break;
    case kPenDot:
        pen.setDashPattern({3, 3});
        break;
    case kPenDashDot:
        pen.setDashPattern({9, 6, 3, 6});
        break;
    case kPenDashDotDot:
        pen.setDashPattern({9, 3, 3, 3, 3, 3});
        break;
    default:
        break;
    }
    return pen;
}

QBrush TGdiPlayer::MakeBrush(const TGdiBrush &Brush) const
{
    switch (Brush.Style) {
    case kBrushNull:
        return QBrush(Qt::NoBrush);
    case kBrushHatched: {
        if (Brush.Hatch > 5)
            return QBrush(Brush.Color);
        QImage tile(8, 8, QImage::Format_ARGB32);
        const QRgb back = FState.BkOpaque ? FState.BkColor.rgb() : 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                tile.setPixel(x, y, HatchBit(Brush.Hatch, x, y) ? Brush.Color.rgb() : back);
        return QBrush(tile);
    }
    case kBrushPattern:
    case kBrushDibPattern:
    case kBrushDibPatternPt:
        if (!Brush.Pattern.isNull())
            return QBrush(Brush.Pattern);
        return QBrush(Brush.Color);
    default:
        return QBrush(Brush.Color);
    }
}

QFont TGdiPlayer::MakeFont(double &Ascent, double &Descent) const
{
    const TGdiFont &f = FState.Font;
    QFont font(f.Face.isEmpty() ? QStringLiteral("DejaVu Sans") : f.Face);
    const QTransform t = LogicalToOutput();
    const double yScale = std::hypot(t.m21(), t.m22());
    double pixels = f.Height == 0 ? 16 : std::abs(static_cast<double>(f.Height)) * yScale;
    if (f.Height > 0) {
        // A positive height is the whole cell; the font's size is its em.
        QFont probe = font;
        probe.setPixelSize(100);
        const QFontMetricsF metrics(probe, &FTarget);
        const double cell = metrics.ascent() + metrics.descent();
        if (cell > 0)
            pixels = pixels * 100 / cell;
    }
    if (!std::isfinite(pixels))
        pixels = 0;
    font.setPixelSize(static_cast<int>(std::lround(std::clamp(pixels, 0.0, kMaxFontPixels + 1))));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(f.Weight == 0 ? 400 : f.Weight, 1, 1000)));
    font.setItalic(f.Italic);
    font.setUnderline(f.Underline);
    font.setStrikeOut(f.StrikeOut);
    const QFontMetricsF metrics(font, &FTarget);
    Ascent = metrics.ascent();
    Descent = metrics.descent();
    return font;
}

void TGdiPlayer::ApplyClip()
{
    // No clipping is a clip to the whole picture: once clipping is switched off, Qt's
    // raster engine ignores the regions set after it.
    FPainter.setClipRegion(FState.Clip ? *FState.Clip : QRegion(FTarget.rect()));
}

bool TGdiPlayer::PrepareRop()
{
    if (FState.Rop2 == 11) // leaves the picture as it is
        return false;
    FPainter.setCompositionMode(Rop2Mode(FState.Rop2));
    return true;
}

void TGdiPlayer::DrawShape(const QPainterPath &Area, const QPainterPath &Outline)
{
    if (FInPath) {
        FPath.addPath(Area);
        return;
    }
    if (!PrepareRop())
        return;
    const bool black = FState.Rop2 == 1;
    const bool white = FState.Rop2 == 16;
    if (FState.Brush.Style != kBrushNull) {
        QPainterPath area = Area;
        area.setFillRule(FState.FillRule);
        if (black || white)
            FPainter.fillPath(area, black ? Qt::black : Qt::white);
        else
            FPainter.fillPath(area, MakeBrush(FState.Brush));
    }
    QPen pen = MakePen();
    if (pen.style() != Qt::NoPen) {
        if (black || white)
            pen.setColor(black ? Qt::black : Qt::white);
        if (FState.BkOpaque && pen.style() == Qt::CustomDashLine) {
            QPen gaps = pen;
            gaps.setStyle(Qt::SolidLine);
            gaps.setColor(FState.BkColor);
            FPainter.strokePath(Outline, gaps);
        }
        FPainter.strokePath(Outline, pen);
    }
    FPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TGdiPlayer::DrawLines(const QPainterPath &Line)
{
    if (FInPath) {
        FPath.addPath(Line);
        return;
    }
    TGdiBrush brush = FState.Brush;
    FState.Brush.Style = kBrushNull;
    DrawShape(QPainterPath(), Line.translated(0.5, 0.5));
    FState.Brush = brush;
}

void TGdiPlayer::MoveTo(QPointF Point)
{
    FState.Position = Point;
    if (FInPath)
        FPath.moveTo(ToOutput(Point));
}

void TGdiPlayer::LineTo(QPointF Point)
{
    const QPointF from = ToOutput(FState.Position);
    const QPointF to = ToOutput(Point);
    FState.Position = Point;
    if (FInPath) {
        if (FPath.elementCount() == 0 || FPath.currentPosition() != from)
            FPath.moveTo(from);
        FPath.lineTo(to);
        return;
    }
    QPainterPath line(from);
    line.lineTo(to);
    DrawLines(line);
}

void TGdiPlayer::Polyline(const QPolygonF &Points)
{
    if (Points.size() < 2)
        return;
    QPainterPath line;
    line.addPolygon(ToOutput(Points));
    DrawLines(line);
}

void TGdiPlayer::PolylineTo(const QPolygonF &Points)
{
    if (Points.isEmpty())
        return;
    if (FInPath) {
        for (const QPointF &point : Points)
            LineTo(point);
        return;
    }
    QPolygonF all;
    all << FState.Position << Points;
    FState.Position = Points.back();
    Polyline(all);
}

void TGdiPlayer::PolyBezier(const QPolygonF &Points)
{
    if (Points.size() < 4)
        return;
    const QPolygonF p = ToOutput(Points);
    QPainterPath curve(p[0]);
    for (qsizetype i = 1; i + 2 < p.size(); i += 3)
        curve.cubicTo(p[i], p[i + 1], p[i + 2]);
    DrawLines(curve);
}

void TGdiPlayer::PolyBezierTo(const QPolygonF &Points)
{
    if (Points.size() < 3)
        return;
    QPolygonF all;
    all << FState.Position << Points;
    FState.Position = Points[Points.size() - 1 - (Points.size() % 3)];
    if (FInPath) {
        const QPolygonF p = ToOutput(all);
        if (FPath.elementCount() == 0 || FPath.currentPosition() != p[0])
            FPath.moveTo(p[0]);
        for (qsizetype i = 1; i + 2 < p.size(); i += 3)
            FPath.cubicTo(p[i], p[i + 1], p[i + 2]);
        return;
    }
    PolyBezier(all);
}

void TGdiPlayer::Polygon(const QPolygonF &Points)
{
    if (Points.size() < 2)
        return;
    QPainterPath area;
    area.addPolygon(ToOutput(Points));
    area.closeSubpath();
    DrawShape(area, area.translated(0.5, 0.5));
}

void TGdiPlayer::PolyPolygon(const std::vector<QPolygonF> &Polygons)
{
    QPainterPath area;
    for (const QPolygonF &points : Polygons) {
        if (points.size() < 2)
            continue;
        area.addPolygon(ToOutput(points));
        area.closeSubpath();
    }
    DrawShape(area, area.translated(0.5, 0.5));
}

void TGdiPlayer::PolyPolyline(const std::vector<QPolygonF> &Lines)
{
    QPainterPath line;
    for (const QPolygonF &points : Lines)
        if (points.size() >= 2)
            line.addPolygon(ToOutput(points));
    DrawLines(line);
}

QPainterPath TGdiPlayer::BoxFigure(int Kind, const QRectF &Box, QPointF Start, QPointF End,
                                   QSizeF Corner, bool Closed) const
{
    QPainterPath path;
    if (Kind == 0) {
        path.addEllipse(Box);
        return path;
    }
    if (Kind == 4) {
        path.addRoundedRect(Box, std::abs(Corner.width()) / 2, std::abs(Corner.height()) / 2);
        return path;
    }
    const QPointF centre = Box.center();
    const double a = Box.width() / 2;
    const double b = Box.height() / 2;
    if (a <= 0 || b <= 0)
        return path;
    const auto angle = [&](QPointF p) {
        return std::atan2(-(p.y() - centre.y()) / b, (p.x() - centre.x()) / a) * 180 /
               std::numbers::pi;
    };
    const double from = angle(Start);
    const double sweep = Sweep(from, angle(End), FState.ArcClockwise);
    if (Kind == 3) {
        path.moveTo(centre);
        path.arcTo(Box, from, sweep);
    } else {
        path.arcMoveTo(Box, from);
        path.arcTo(Box, from, sweep);
    }
    if (Closed)
        path.closeSubpath();
    return path;
}

void TGdiPlayer::BoxShape(int Kind, const QRectF &Box, QPointF Start, QPointF End, QSizeF Corner)
{
    if (!IsUsable(Box))
        return;
    const bool closed = Kind != 1;
    if (!IsAxisAligned()) {
        const QTransform t = LogicalToOutput();
        const QPainterPath figure =
            t.map(BoxFigure(Kind, Box.normalized(), Start, End, Corner, closed));
        if (closed)
            DrawShape(figure, figure);
        else
            DrawLines(figure);
        return;
    }
    const QTransform t = LogicalToOutput();
    const QRectF box = OutputBox(Box);
    const QPointF start = t.map(Start);
    const QPointF end = t.map(End);
    const QSizeF corner(Corner.width() * std::abs(t.m11()), Corner.height() * std::abs(t.m22()));
    if (!closed) {
        DrawLines(BoxFigure(Kind, box.adjusted(0, 0, -1, -1), start, end, corner, false));
        return;
    }
    const QPainterPath area = BoxFigure(Kind, box, start, end, corner, true);
    const QPainterPath outline =
        BoxFigure(Kind, box.adjusted(0.5, 0.5, -0.5, -0.5), start, end, corner, true);
    DrawShape(area, outline);
}

void TGdiPlayer::Rectangle(const QRectF &Box)
{
    if (!IsUsable(Box))
        return;
    if (!IsAxisAligned()) {
        Polygon(QPolygonF(Box.normalized()));
        return;
    }
    const QRectF box = OutputBox(Box);
    QPainterPath area;
    area.addRect(box);
    QPainterPath outline;
    outline.addRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
    DrawShape(area, outline);
}

void TGdiPlayer::RoundRect(const QRectF &Box, QSizeF Corner)
{
    BoxShape(4, Box, {}, {}, Corner);
}

void TGdiPlayer::Ellipse(const QRectF &Box)
{
    BoxShape(0, Box, {}, {}, {});
}

void TGdiPlayer::Arc(const QRectF &Box, QPointF Start, QPointF End)
{
    BoxShape(1, Box, Start, End, {});
}

void TGdiPlayer::ArcTo(const QRectF &Box, QPointF Start, QPointF End)
{
    if (!IsUsable(Box))
        return;
    // A line from the current position to the arc's start, the arc, and the position at
    // its end, all in logical units.
    const QRectF box = Box.normalized();
    const QPointF centre = box.center();
    const double a = box.width() / 2;
    const double b = box.height() / 2;
    if (a <= 0 || b <= 0)
        return;
    const auto onEllipse = [&](QPointF p) {
        const double angle = std::atan2((p.y() - centre.y()) / b, (p.x() - centre.x()) / a);
        return QPointF(centre.x() + a * std::cos(angle), centre.y() + b * std::sin(angle));
    };
    LineTo(onEllipse(Start));
    Arc(Box, Start, End);
    if (FInPath)
        FPath.addPath(LogicalToOutput().map(BoxFigure(1, box, Start, End, {}, false)));
    MoveTo(onEllipse(End));
}

void TGdiPlayer::Chord(const QRectF &Box, QPointF Start, QPointF End)
{
    BoxShape(2, Box, Start, End, {});
}

void TGdiPlayer::Pie(const QRectF &Box, QPointF Start, QPointF End)
{
    BoxShape(3, Box, Start, End, {});
}

void TGdiPlayer::SetPixel(QPointF Point, QColor Color)
{
    const QPointF p = ToOutput(Point);
    if (!IsUsable(p.x()) || !IsUsable(p.y()))
        return;
    FPainter.fillRect(QRectF(std::floor(p.x()), std::floor(p.y()), 1, 1), Color);
}

void TGdiPlayer::BeginPath()
{
    FPath = QPainterPath();
    FInPath = true;
}

void TGdiPlayer::EndPath()
{
    FInPath = false;
}

void TGdiPlayer::CloseFigure()
{
    if (FInPath)
        FPath.closeSubpath();
}

void TGdiPlayer::AbortPath()
{
    FPath = QPainterPath();
    FInPath = false;
}

void TGdiPlayer::FillPath()
{
    FInPath = false;
    const TGdiPen pen = FState.Pen;
    FState.Pen.Style = kPenNull;
    DrawShape(FPath, QPainterPath());
    FState.Pen = pen;
    FPath = QPainterPath();
}

void TGdiPlayer::StrokePath()
{
    FInPath = false;
    DrawLines(FPath);
    FPath = QPainterPath();
}

void TGdiPlayer::StrokeAndFillPath()
{
    FInPath = false;
    DrawShape(FPath, FPath.translated(0.5, 0.5));
    FPath = QPainterPath();
}

// The picture's pixels whose centres the path covers, row by row. Qt's own conversion of
// polygons to regions loses memory on some polygons.
QRegion TGdiPlayer::PixelsOf(const QPainterPath &Path) const
{
    QImage mask(FTarget.size(), QImage::Format_Grayscale8);
    mask.fill(0);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillPath(Path, Qt::white);
    }
    QList<QRect> spans;
    for (int y = 0; y < mask.height(); ++y) {
        const uchar *row = mask.constScanLine(y);
        for (int x = 0; x < mask.width();) {
            if (row[x] == 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < mask.width() && row[x] != 0)
                ++x;
            spans.append(QRect(start, y, x - start, 1));
        }
    }
    QRegion region;
    region.setRects(spans.constData(), static_cast<int>(spans.size()));
    return region;
}

void TGdiPlayer::SelectClipPath(uint32_t Mode)
{
    FInPath = false;
    QPainterPath path = FPath;
    path.setFillRule(FState.FillRule);
    FPath = QPainterPath();
    const QRegion region = PixelsOf(path);
    const QRegion whole(FTarget.rect());
    const QRegion current = FState.Clip ? *FState.Clip : whole;
    switch (Mode) {
    case 1:
        FState.Clip = current.intersected(region);
        break;
    case 2:
        FState.Clip = current.united(region);
        break;
    case 3:
        FState.Clip = current.xored(region);
        break;
    case 4:
        FState.Clip = current.subtracted(region);
        break;
    case 5:
        FState.Clip = region;
        break;
    default:
        return;
    }
    ApplyClip();
}

namespace
{

// Clipping rectangles are cut to this much beyond any picture before they are counted in
// whole pixels.
QRectF Bounded(const QRectF &Box)
{
    if (!std::isfinite(Box.left()) || !std::isfinite(Box.top()) || !std::isfinite(Box.width()) ||
        !std::isfinite(Box.height()))
        return QRectF();
    return Box.intersected(QRectF(-1e8, -1e8, 2e8, 2e8));
}

QRect PixelRect(const QRectF &Box)
{
    const auto clamp = [](double v) { return std::clamp(std::round(v), -1e8, 1e8); };
    const int left = static_cast<int>(clamp(Box.left()));
    const int top = static_cast<int>(clamp(Box.top()));
    const int right = static_cast<int>(clamp(Box.right()));
    const int bottom = static_cast<int>(clamp(Box.bottom()));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

} // namespace

void TGdiPlayer::IntersectClipRect(const QRectF &Box)
{
    const QRectF bounded = Bounded(OutputBox(Box));
    const QRegion box = bounded.isEmpty() ? QRegion() : QRegion(PixelRect(bounded));
    FState.Clip = FState.Clip ? FState.Clip->intersected(box) : box;
    ApplyClip();
}

void TGdiPlayer::ExcludeClipRect(const QRectF &Box)
{
    const QRectF bounded = Bounded(OutputBox(Box));
    const QRegion box = bounded.isEmpty() ? QRegion() : QRegion(PixelRect(bounded));
    FState.Clip = (FState.Clip ? *FState.Clip : QRegion(FTarget.rect())).subtracted(box);
    ApplyClip();
}

void TGdiPlayer::SelectClipRegion(const std::vector<QRectF> &DeviceRects, uint32_t Mode)
{
    QRegion region;
    for (const QRectF &rect : DeviceRects) {
        const QRectF box = Bounded(FDeviceToOutput.mapRect(rect));
        if (!box.isEmpty())
            region += PixelRect(box);
    }
    const QRegion current = FState.Clip ? *FState.Clip : QRegion(FTarget.rect());
    switch (Mode) {
    case 1:
        FState.Clip = current.intersected(region);
        break;
    case 2:
        FState.Clip = current.united(region);
        break;
    case 3:
        FState.Clip = current.xored(region);
        break;
    case 4:
        FState.Clip = current.subtracted(region);
        break;
    case 5:
        FState.Clip = region;
        break;
    default:
        return;
    }
    ApplyClip();
}

void TGdiPlayer::ResetClip()
{
    FState.Clip.reset();
    ApplyClip();
}

void TGdiPlayer::OffsetClip(QPointF Offset)
{
    if (!FState.Clip)
        return;
    const QPointF delta = ToOutput(Offset) - ToOutput(QPointF(0, 0));
    if (!IsUsable(delta.x()) || !IsUsable(delta.y()))
        return;
    FState.Clip->translate(static_cast<int>(std::lround(delta.x())),
                           static_cast<int>(std::lround(delta.y())));
    ApplyClip();
}

void TGdiPlayer::TextOut(QPointF Reference, const QString &Text,
                         const std::vector<double> &Advances, uint32_t Options,
                         const std::optional<QRectF> &Box)
{
    // Fonts need the window system's font database, which the command line does not open.
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()) == nullptr)
        return;
    const bool updatePosition = (FState.TextAlign & 1) != 0;
    const QTransform t = LogicalToOutput();
    const QPointF origin = t.map(updatePosition ? FState.Position : Reference);
    if (!IsUsable(origin.x()) || !IsUsable(origin.y()))
        return;
    if (Box && IsUsable(*Box) && (Options & 2) != 0)
        FPainter.fillRect(OutputBox(*Box), FState.BkColor);

    double ascent = 0;
    double descent = 0;
    const QFont font = MakeFont(ascent, descent);
    const QFontMetricsF metrics(font, &FTarget);
    const double xScale = std::hypot(t.m11(), t.m12());
    std::vector<double> steps;
    double width = 0;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const double step = static_cast<size_t>(i) < Advances.size()
                                ? Advances[static_cast<size_t>(i)] * xScale
                                : metrics.horizontalAdvance(Text[i]);
        steps.push_back(IsUsable(step) ? step : 0);
        width += steps.back();
    }
    double x = 0;
    if ((FState.TextAlign & 6) == 6)
        x = -width / 2;
    else if ((FState.TextAlign & 6) == 2)
        x = -width;
    double baseline = ascent;
    if ((FState.TextAlign & 0x18) == 0x18)
        baseline = 0;
    else if ((FState.TextAlign & 0x18) == 8)
        baseline = -descent;

    if (font.pixelSize() >= 1 && font.pixelSize() <= kMaxFontPixels && !Text.isEmpty() &&
        FState.Rop2 != 11) {
        FPainter.save();
        if (Box && IsUsable(*Box) && (Options & 4) != 0)
            FPainter.setClipRect(OutputBox(*Box), Qt::IntersectClip);
        FPainter.translate(origin);
        FPainter.rotate(-FState.Font.Escapement / 10.0);
        if (FState.BkOpaque)
            FPainter.fillRect(QRectF(x, baseline - ascent, width, ascent + descent),
                              FState.BkColor);
        FPainter.setFont(font);
        FPainter.setPen(FState.TextColor);
        if (Advances.empty()) {
            FPainter.drawText(QPointF(x, baseline), Text);
        } else {
            for (qsizetype i = 0; i < Text.size(); ++i) {
                qsizetype length = 1;
                double step = steps[static_cast<size_t>(i)];
                if (Text[i].isHighSurrogate() && i + 1 < Text.size()) {
                    length = 2;
                    step += steps[static_cast<size_t>(i + 1)];
                }
                FPainter.drawText(QPointF(x, baseline), Text.mid(i, length));
                x += step;
                i += length - 1;
            }
        }
        FPainter.restore();
    }
    if (updatePosition && xScale > 0)
        FState.Position += QPointF(width / xScale, 0);
}

void TGdiPlayer::FillOutputRect(const QRectF &Rect, const QBrush &Brush,
                                QPainter::CompositionMode Mode)
{
    FPainter.setCompositionMode(Mode);
    FPainter.fillRect(Rect, Brush);
    FPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TGdiPlayer::DrawBitmap(const QRectF &Dest, const QImage &Bitmap, const QRectF &Source,
                            uint32_t Rop)
{
    if (!UsesSource(Rop)) {
        PatBlt(Dest, Rop);
        return;
    }
    if (Bitmap.isNull() || Source.width() <= 0 || Source.height() <= 0 || !IsUsable(Dest) ||
        Dest.width() == 0 || Dest.height() == 0)
        return;
    // The source rectangle is stretched onto the destination, mirrored where the
    // destination runs backwards.
    const QTransform place =
        QTransform::fromTranslate(-Source.left(), -Source.top()) *
        QTransform::fromScale(Dest.width() / Source.width(), Dest.height() / Source.height()) *
        QTransform::fromTranslate(Dest.left(), Dest.top()) * LogicalToOutput();
    const QRectF onOutput = place.mapRect(Source);
    if (!IsUsable(onOutput))
        return;
    FPainter.save();
    FPainter.setCompositionMode(SourceRopMode(Rop));
    FPainter.setTransform(place);
    FPainter.drawImage(Source.topLeft(), Bitmap, Source);
    FPainter.restore();
}

void TGdiPlayer::DrawBitmapUnscaled(QPointF Dest, const QImage &Bitmap, const QRectF &Source)
{
    const QPointF at = ToOutput(Dest);
    const QSizeF size(Source.width() * std::abs(FDeviceToOutput.m11()),
                      Source.height() * std::abs(FDeviceToOutput.m22()));
    if (Bitmap.isNull() || !IsUsable(at.x()) || !IsUsable(at.y()) || size.isEmpty())
        return;
    FPainter.drawImage(QRectF(at, size), Bitmap, Source);
}

void TGdiPlayer::PatBlt(const QRectF &Dest, uint32_t Rop)
{
    if (!IsUsable(Dest))
        return;
    QPainterPath area;
    area.addPolygon(LogicalToOutput().map(QPolygonF(Dest.normalized())));
    area.closeSubpath();
    const QRectF box = area.boundingRect();
    switch (Rop) {
    case 0x00F00021: // PATCOPY
        if (FState.Brush.Style != kBrushNull) {
            FPainter.fillPath(area, MakeBrush(FState.Brush));
        }
        break;
    case 0x005A0049: // PATINVERT
        FPainter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        FPainter.fillPath(area, MakeBrush(FState.Brush));
        FPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        break;
    case 0x00550009: // DSTINVERT
        FillOutputRect(box, Qt::white, QPainter::RasterOp_NotDestination);
        break;
    case 0x00000042: // BLACKNESS
        FPainter.fillPath(area, Qt::black);
        break;
    case 0x00FF0062: // WHITENESS
        FPainter.fillPath(area, Qt::white);
        break;
    default:
        break;
    }
}
