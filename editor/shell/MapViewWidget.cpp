#include "MapViewWidget.h"

#include "MainForm.h"
#include "editor/render/PaintImage.h"

#include <QPainter>

TMapViewWidget::TMapViewWidget(TMainForm *owner) : QWidget(owner), FOwner(owner)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
}

void TMapViewWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    TPixelBuffer &buffer = FOwner->BackBuffer();
    if (!FOwner->Initialized() || buffer.IsEmpty()) {
        painter.fillRect(rect(), palette().window());
        return;
    }
    painter.fillRect(rect(), palette().window());
    painter.drawImage(0, 0, WrapPixelBuffer(buffer));
}

void TMapViewWidget::resizeEvent(QResizeEvent *)
{
    FOwner->FormResize();
}
