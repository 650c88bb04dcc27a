#include "PreviewView.h"

#include "PreviewForm.h"
#include "editor/render/PaintImage.h"

#include <QMouseEvent>
#include <QPainter>

TPreviewView::TPreviewView(TPreviewForm *owner) : QWidget(owner), FOwner(owner)
{
    setObjectName("PreviewView");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(Qt::OpenHandCursor);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
}

void TPreviewView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (!Screen.IsEmpty())
        painter.drawImage(0, 0, WrapPixelBuffer(Screen));
}

void TPreviewView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setCursor(Qt::ClosedHandCursor);
    FOwner->PreviewMouseDown(event->position().toPoint().x(), event->position().toPoint().y());
}

void TPreviewView::mouseMoveEvent(QMouseEvent *event)
{
    setCursor(FOwner->Dragging() ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
    FOwner->PreviewMouseMove(event->position().toPoint().x(), event->position().toPoint().y());
}

void TPreviewView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setCursor(Qt::OpenHandCursor);
    FOwner->PreviewMouseUp();
}
