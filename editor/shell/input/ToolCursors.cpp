#include "ToolCursors.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <cmath>
#include <iterator>

namespace
{

constexpr int kCursorSize = 32;

struct TCursorImage {
    const char *Name;
    QPoint HotSpot;
};

// Indexed by cursor number - 1. The hot spot is where the tool acts: the pen's and the
// dropper's tip, the middle of the hand, the drop running off the bucket's lip, the eraser's
// lowest corner.
constexpr TCursorImage kCursorImages[] = {
    {"CR_PEN", {1, 30}},        {"CR_TILEPEN", {1, 30}}, {"CR_HAND", {17, 17}},
    {"CR_CLOSEHAND", {17, 20}}, {"CR_DROPPER", {1, 30}}, {"CR_PAINTCAN", {7, 28}},
    {"CR_ERASER", {10, 30}},
};

const TCursorImage *CursorImage(int32_t number)
{
    if (number < 1 || number > static_cast<int32_t>(std::size(kCursorImages)))
        return nullptr;
    return &kCursorImages[number - 1];
}

} // namespace

QPoint ToolCursorHotSpot(int32_t number)
{
    const TCursorImage *image = CursorImage(number);
    return image != nullptr ? image->HotSpot : QPoint(-1, -1);
}

QCursor ToolCursor(int32_t number)
{
    const TCursorImage *image = CursorImage(number);
    if (image == nullptr)
        return QCursor(Qt::ArrowCursor);
    QSvgRenderer renderer(QStringLiteral(":/cursors/%1.svg").arg(QLatin1String(image->Name)));
    if (!renderer.isValid())
        return QCursor(Qt::CrossCursor);
    // Drawn for the densest screen, so a 2x screen gets a 64 x 64 image, not a blown-up 32.
    const qreal ratio = qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
    const int pixels = static_cast<int>(std::ceil(kCursorSize * ratio));
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        renderer.render(&painter);
    }
    // X11 shows a cursor image pixel for pixel and takes its hot spot in image pixels too,
    // whatever ratio the pixmap carries; other platforms read both in device-independent
    // pixels and scale the image themselves.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        // The middle of the design pixel, in image pixels.
        const QPoint hotSpot(static_cast<int>((image->HotSpot.x() + 0.5) * ratio),
                             static_cast<int>((image->HotSpot.y() + 0.5) * ratio));
        return QCursor(pixmap, hotSpot.x(), hotSpot.y());
    }
    pixmap.setDevicePixelRatio(ratio);
    return QCursor(pixmap, image->HotSpot.x(), image->HotSpot.y());
}
