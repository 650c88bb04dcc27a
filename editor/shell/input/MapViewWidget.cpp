#include "MapViewWidget.h"

#include "ToolInput.h"
#include "editor/render/PaintImage.h"
#include "editor/shell/MainForm.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

namespace
{
// The rectangle a one-pixel frame from (left, top) to (right, bottom), exclusive, covers.
QRect FrameArea(const QRect &frame)
{
    return frame.isEmpty() ? QRect() : frame.adjusted(0, 0, 1, 1);
}
} // namespace

TMapViewWidget::TMapViewWidget(TMainForm *owner) : QWidget(owner), FOwner(owner)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
}

void TMapViewWidget::SetCursorFrame(const QRect &frame, uint32_t color)
{
    if (frame == FCursorFrame && color == FCursorColor)
        return;
    update(FrameArea(FCursorFrame));
    FCursorFrame = frame;
    FCursorColor = color;
    update(FrameArea(FCursorFrame));
}

void TMapViewWidget::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    TPixelBuffer &buffer = FOwner->BackBuffer();
    const QRect area = event->rect();
    if (!FOwner->Initialized() || buffer.IsEmpty()) {
        painter.fillRect(area, palette().window());
        return;
    }
    // Only the asked-for rectangle of the back buffer is copied.
    const QImage image = WrapPixelBuffer(buffer);
    const QRect shown = area.intersected(image.rect());
    if (shown != area)
        painter.fillRect(area, palette().window());
    if (!shown.isEmpty())
        painter.drawImage(shown.topLeft(), image, shown);
    if (!FCursorFrame.isEmpty() && FCursorFrame.intersects(area)) {
        // Colour values are 0x00BBGGRR.
        const QColor color(FCursorColor & 0xFF, (FCursorColor >> 8) & 0xFF,
                           (FCursorColor >> 16) & 0xFF);
        painter.setPen(QPen(color, 0));
        painter.setBrush(Qt::NoBrush);
        const TMapViewState &view = FOwner->ViewState();
        // A round terrain brush shows as the circle inside its square.
        if (view.ToolMode == tmTerrain && view.TerrainBrushRound && view.TerrainBrushSize > 2)
            painter.drawEllipse(FCursorFrame.adjusted(0, 0, -1, -1));
        else
            painter.drawRect(FCursorFrame.adjusted(0, 0, -1, -1));
    }
}

void TMapViewWidget::resizeEvent(QResizeEvent *)
{
    FOwner->FormResize();
}

void TMapViewWidget::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    FOwner->ToolInput().FormMouseDown(event->button(), event->modifiers(), point.x(), point.y());
}

void TMapViewWidget::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    FOwner->ToolInput().FormMouseMove(event->buttons(), point.x(), point.y());
}

void TMapViewWidget::mouseReleaseEvent(QMouseEvent *event)
{
    FOwner->ToolInput().FormMouseUp(event->button(), event->buttons());
}

void TMapViewWidget::wheelEvent(QWheelEvent *event)
{
    if (FOwner->ToolInput().HandleWheel(event))
        event->accept();
    else
        event->ignore();
}

void TMapViewWidget::leaveEvent(QEvent *)
{
    SetCursorFrame(QRect(), FCursorColor);
}
