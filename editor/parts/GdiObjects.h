// The drawing objects a metafile creates and selects: pens, brushes and fonts, as plain
// descriptions that the player turns into QPainter pens, brushes and fonts when it draws.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>

#include <cstdint>
#include <variant>

// Pen styles, brush styles and hatches keep the values the metafile formats give them.
enum : uint32_t {
    kPenSolid = 0,
    kPenDash = 1,
    kPenDot = 2,
    kPenDashDot = 3,
    kPenDashDotDot = 4,
    kPenNull = 5,
    kPenInsideFrame = 6,
    kPenStyleMask = 0x0F,
    kPenEndCapSquare = 0x100,
    kPenEndCapFlat = 0x200,
    kPenEndCapMask = 0xF00,
    kPenJoinBevel = 0x1000,
    kPenJoinMiter = 0x2000,
    kPenJoinMask = 0xF000,
};

enum : uint32_t {
    kBrushSolid = 0,
    kBrushNull = 1,
    kBrushHatched = 2,
    kBrushPattern = 3,
    kBrushDibPattern = 5,
    kBrushDibPatternPt = 6,
};

struct TGdiPen {
    uint32_t Style = kPenSolid;
    // In logical units; 0 draws one device pixel whatever the transform.
    double Width = 0;
    QColor Color = Qt::black;
};

struct TGdiBrush {
    uint32_t Style = kBrushSolid;
    QColor Color = Qt::white;
    uint32_t Hatch = 0;
    QImage Pattern; // pattern brushes
};

struct TGdiFont {
    // In logical units: negative is the character height, positive the cell height, 0 a
    // default size.
    int32_t Height = 0;
    int32_t Escapement = 0; // tenths of a degree, counter-clockwise
    int32_t Weight = 400;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    QString Face;
};

// Palettes, regions and the like are kept only so that object numbers stay right.
struct TGdiOtherObject {
};

using TGdiObject = std::variant<TGdiPen, TGdiBrush, TGdiFont, TGdiOtherObject>;

// Colours as metafiles store them: red in the low byte.
inline QColor ColorFromRef(uint32_t Ref)
{
    return QColor(Ref & 0xFF, (Ref >> 8) & 0xFF, (Ref >> 16) & 0xFF);
}
