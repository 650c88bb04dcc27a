// Plays the drawing calls of a Windows metafile onto a picture with QPainter: the device
// context (mapping mode, window and viewport, world transform, saved states, selected
// objects, colours and modes, clipping, the current position and path) and the drawing
// itself. The EMF and WMF readers decode records into these calls.
//
// Coordinates go logical -> (world transform) -> page (mapping mode, window, viewport) ->
// device (the metafile's reference device) -> output pixels. Shapes are drawn without
// anti-aliasing in output pixels, with the device conventions of the format: a box covers
// its left and top edge but not its right and bottom one, and a pen of one pixel is drawn
// on the pixels inside that box.
#pragma once

#include "GdiObjects.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRegion>
#include <QTransform>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

class TGdiPlayer
{
public:
    // DevicePixelsPerMm: the reference device's resolution, for the metric mapping modes.
    TGdiPlayer(QImage &Target, const QTransform &DeviceToOutput, QSizeF DevicePixelsPerMm);
    ~TGdiPlayer();
    TGdiPlayer(const TGdiPlayer &) = delete;
    TGdiPlayer &operator=(const TGdiPlayer &) = delete;

    // Mapping.
    void SetMapMode(uint32_t Mode);
    void SetWindowOrg(QPointF Origin);
    void SetWindowExt(QPointF Extent);
    void SetViewportOrg(QPointF Origin);
    void SetViewportExt(QPointF Extent);
    void OffsetWindowOrg(QPointF Offset);
    void OffsetViewportOrg(QPointF Offset);
    void ScaleWindowExt(double XNum, double XDenom, double YNum, double YDenom);
    void ScaleViewportExt(double XNum, double XDenom, double YNum, double YDenom);
    void SetWorldTransform(const QTransform &Transform);
    // Mode: 1 identity, 2 multiply on the left, 3 on the right.
    void ModifyWorldTransform(const QTransform &Transform, uint32_t Mode);

    // Saved states: a negative number counts back from the newest, a positive one is the
    // state's number from the oldest.
    void SaveDC();
    void RestoreDC(int32_t Which);

    void SetBkMode(uint32_t Mode); // 1 transparent, 2 opaque
    void SetBkColor(QColor Color) { FState.BkColor = Color; }
    void SetTextColor(QColor Color) { FState.TextColor = Color; }
    void SetPolyFillMode(uint32_t Mode); // 1 alternate, 2 winding
    void SetRop2(uint32_t Mode) { FState.Rop2 = Mode; }
    void SetTextAlign(uint32_t Align) { FState.TextAlign = Align; }
    void SetArcDirection(uint32_t Direction) { FState.ArcClockwise = Direction == 2; }

    // Objects: enhanced metafiles name the slot, old metafiles take the lowest free one.
    // Stock objects are 0x80000000 plus their number.
    void CreateObject(uint32_t Index, const TGdiObject &Object);
    void AddObject(const TGdiObject &Object);
    void SelectObject(uint32_t Index);
    void DeleteObject(uint32_t Index);

    // Drawing, in logical coordinates.
    void MoveTo(QPointF Point);
    void LineTo(QPointF Point);
    void Polyline(const QPolygonF &Points);
    void PolylineTo(const QPolygonF &Points);
    void PolyBezier(const QPolygonF &Points);
    void PolyBezierTo(const QPolygonF &Points);
    void Polygon(const QPolygonF &Points);
    void PolyPolygon(const std::vector<QPolygonF> &Polygons);
    void PolyPolyline(const std::vector<QPolygonF> &Lines);
    void Rectangle(const QRectF &Box);
    void RoundRect(const QRectF &Box, QSizeF Corner);
    void Ellipse(const QRectF &Box);
    void Arc(const QRectF &Box, QPointF Start, QPointF End);
    void ArcTo(const QRectF &Box, QPointF Start, QPointF End);
    void Chord(const QRectF &Box, QPointF Start, QPointF End);
    void Pie(const QRectF &Box, QPointF Start, QPointF End);
    void SetPixel(QPointF Point, QColor Color);

    // Paths.
    void BeginPath();
    void EndPath();
    void CloseFigure();
    void AbortPath();
    void FillPath();
    void StrokePath();
    void StrokeAndFillPath();
    void SelectClipPath(uint32_t Mode);

    // Clipping. Regions are rectangles in the reference device's pixels; Mode 1 and, 2 or, 3 xor,
    // 4 diff, 5 copy.
    void IntersectClipRect(const QRectF &Box);
    void ExcludeClipRect(const QRectF &Box);
    void SelectClipRegion(const std::vector<QRectF> &DeviceRects, uint32_t Mode);
    void ResetClip();
    void OffsetClip(QPointF Offset);

    // Text at a logical reference point; Advances (logical, one per character) may be
    // empty. Options: 2 fill the rectangle with the background colour, 4 clip to it.
    void TextOut(QPointF Reference, const QString &Text, const std::vector<double> &Advances,
                 uint32_t Options, const std::optional<QRectF> &Box);

    // A bitmap into a logical rectangle (a negative width or height mirrors it); Source
    // in the bitmap's pixels, top row 0. Rop is the ternary raster operation.
    void DrawBitmap(const QRectF &Dest, const QImage &Bitmap, const QRectF &Source, uint32_t Rop);
    // A bitmap one device pixel per bitmap pixel, its top-left corner at a logical point.
    void DrawBitmapUnscaled(QPointF Dest, const QImage &Bitmap, const QRectF &Source);
    // The raster operations that take no source: the brush, black, white, inversion.
    void PatBlt(const QRectF &Dest, uint32_t Rop);

    // Pictures with this many pixels at most are drawn; larger bitmaps are skipped.
    static constexpr int64_t kMaxBitmapPixels = int64_t{1} << 26;

private:
    struct TState {
        uint32_t MapMode = 1;
        QPointF WindowOrg{0, 0};
        QPointF WindowExt{1, 1};
        QPointF ViewportOrg{0, 0};
        QPointF ViewportExt{1, 1};
        QTransform World;
        TGdiPen Pen;
        TGdiBrush Brush;
        TGdiFont Font;
        QColor TextColor = Qt::black;
        QColor BkColor = Qt::white;
        bool BkOpaque = true;
        Qt::FillRule FillRule = Qt::OddEvenFill;
        uint32_t Rop2 = 13;
        uint32_t TextAlign = 0;
        bool ArcClockwise = false;
        QPointF Position;
        std::optional<QRegion> Clip; // output pixels
    };

    QTransform PageTransform() const;
    QTransform LogicalToOutput() const;
    double OutputScale() const;
    bool IsAxisAligned() const;
    QRectF OutputBox(const QRectF &Box) const;
    QPointF ToOutput(QPointF Point) const;
    QPolygonF ToOutput(const QPolygonF &Points) const;

    QRegion PixelsOf(const QPainterPath &Path) const;
    QPen MakePen() const;
    QBrush MakeBrush(const TGdiBrush &Brush) const;
    QFont MakeFont(double &Ascent, double &Descent) const;
    bool PrepareRop();
    void ApplyClip();

    // Closed shapes: the area the brush fills and the line the pen draws.
    void DrawShape(const QPainterPath &Area, const QPainterPath &Outline);
    void DrawLines(const QPainterPath &Line);
    // A box-based figure: 0 ellipse, 1 arc, 2 chord, 3 pie, 4 rounded rectangle.
    QPainterPath BoxFigure(int Kind, const QRectF &Box, QPointF Start, QPointF End, QSizeF Corner,
                           bool Closed) const;
    void BoxShape(int Kind, const QRectF &Box, QPointF Start, QPointF End, QSizeF Corner);
    void FillOutputRect(const QRectF &Rect, const QBrush &Brush, QPainter::CompositionMode Mode);

    QImage &FTarget;
    QPainter FPainter;
    QTransform FDeviceToOutput;
    QSizeF FDevicePixelsPerMm;
    TState FState;
    std::vector<TState> FSaved;
    std::map<uint32_t, TGdiObject> FObjects;
    bool FInPath = false;
    QPainterPath FPath; // output pixels
};
