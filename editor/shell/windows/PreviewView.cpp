#include "PreviewView.h"

#include "PreviewForm.h"
#include "editor/render/PaintImage.h"
#include "editor/shell/input/ToolCursors.h"

#include <QMouseEvent>
#include <QPainter>

namespace
{
// The screen cursors "CR_HAND" and "CR_CLOSEHAND".
constexpr int32_t kOpenHand = 3;
constexpr int32_t kClosedHand = 4;
} // namespace

TPreviewView::TPreviewView(TPreviewForm *owner) : QWidget(owner), FOwner(owner)
{
    setObjectName("PreviewView");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(ToolCursor(kOpenHand));
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
    setCursor(ToolCursor(kClosedHand));
    FOwner->PreviewMouseDown(event->position().toPoint().x(), event->position().toPoint().y());
}

void TPreviewView::mouseMoveEvent(QMouseEvent *event)
{
    setCursor(ToolCursor(FOwner->Dragging() ? kClosedHand : kOpenHand));
    FOwner->PreviewMouseMove(event->position().toPoint().x(), event->position().toPoint().y());
}

void TPreviewView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setCursor(ToolCursor(kOpenHand));
    FOwner->PreviewMouseUp();
}
