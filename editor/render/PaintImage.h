// QPainter access to a pixel buffer, for text only (and for showing the buffer in a window).
// QPainter writes 0xFF (or alpha × coverage) into the fourth byte of the pixels it paints, so
// parts images are never drawn this way and keyed sources are never compared against them.
#pragma once

#include "PixelBuffer.h"
#include "PixelDrawing.h"

#include <QImage>
#include <QPainter>
#include <QString>
#include <cstdint>

// A Format_RGB32 image sharing the buffer's memory (converted to 32 bits first). It stays
// valid until the buffer is resized or converted.
QImage WrapPixelBuffer(TPixelBuffer &Buffer);

// Draws texts into a buffer in the part-number font: the default family at a character
// height of 11 pixels (font height -11 in the platform's convention), without antialiasing,
// so every painted pixel has the text colour.
class TTextPainter
{
public:
    static constexpr int32_t FontHeight = -11;

    explicit TTextPainter(TPixelBuffer &Dest);
    TTextPainter(const TTextPainter &) = delete;
    TTextPainter &operator=(const TTextPainter &) = delete;

    // Text with its top-left corner at (X, Y) in the colour value Color, on an opaque box of
    // BoxColor when Boxed, clipped to Clip.
    void Draw(int32_t X, int32_t Y, const QString &Text, uint32_t Color, bool Boxed,
              uint32_t BoxColor, const TPixelRect &Clip);

    // How far a text of the font may reach: the width of the widest part number and the
    // height of a line, in pixels.
    static int32_t WidestNumberWidth();
    static int32_t LineHeight();

private:
    TPixelRect FBounds;
    QImage FImage;
    QPainter FPainter;
};
