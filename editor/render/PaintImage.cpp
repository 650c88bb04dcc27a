#include "PaintImage.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>

namespace
{
QColor ToQColor(uint32_t Color)
{
    return QColor(static_cast<int>(Color & 0xFF), static_cast<int>((Color >> 8) & 0xFF),
                  static_cast<int>((Color >> 16) & 0xFF));
}

QFont NumberFont()
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(-TTextPainter::FontHeight);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}
} // namespace

QImage WrapPixelBuffer(TPixelBuffer &Buffer)
{
    Buffer.ConvertTo32();
    return QImage(Buffer.Bits(), Buffer.Width(), Buffer.Height(), Buffer.RowBytes(),
                  QImage::Format_RGB32);
}

TTextPainter::TTextPainter(TPixelBuffer &Dest)
    : FBounds(BufferRect(Dest)), FImage(WrapPixelBuffer(Dest)), FPainter(&FImage)
{
    FPainter.setFont(NumberFont());
    FPainter.setRenderHint(QPainter::TextAntialiasing, false);
}

void TTextPainter::Draw(int32_t X, int32_t Y, const QString &Text, uint32_t Color, bool Boxed,
                        uint32_t BoxColor, const TPixelRect &Clip)
{
    const TPixelRect clip = Clip.Intersected(FBounds);
    if (clip.IsEmpty() || Text.isEmpty() || !FPainter.isActive())
        return;
    FPainter.setClipRect(QRect(clip.Left, clip.Top, clip.Width(), clip.Height()));
    FPainter.setPen(ToQColor(Color));
    if (Boxed) {
        FPainter.setBackgroundMode(Qt::OpaqueMode);
        FPainter.setBackground(ToQColor(BoxColor));
    } else {
        FPainter.setBackgroundMode(Qt::TransparentMode);
    }
    FPainter.drawText(QRect(X, Y, 1 << 16, 1 << 16), Qt::AlignLeft | Qt::AlignTop, Text);
}

int32_t TTextPainter::WidestNumberWidth()
{
    return QFontMetrics(NumberFont()).horizontalAdvance(QStringLiteral("65535"));
}

int32_t TTextPainter::LineHeight()
{
    return QFontMetrics(NumberFont()).height();
}
