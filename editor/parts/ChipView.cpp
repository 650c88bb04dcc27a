#include "ChipView.h"

#include "ChipForm.h"
#include "editor/render/PaintImage.h"

#include <QMouseEvent>
#include <QPainter>

TChipView::TChipView(TChipForm *owner) : QWidget(owner), FOwner(owner)
{
    setObjectName("ChipView");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
}

void TChipView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    TPixelBuffer &back = FOwner->Back();
    if (!back.IsEmpty())
        painter.drawImage(0, 0, WrapPixelBuffer(back));
    if (FHint.isEmpty())
        return;
    // On a plate of its own, so it reads on any background.
    const QRect space = rect().adjusted(12, 12, -12, -12);
    const int flags = Qt::AlignCenter | Qt::TextWordWrap;
    const QRect text = painter.boundingRect(space, flags, FHint);
    QColor plate = palette().color(QPalette::Base);
    plate.setAlpha(230);
    painter.fillRect(text.adjusted(-8, -6, 8, 6), plate);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(space, flags, FHint);
}

void TChipView::SetHint(const QString &text)
{
    if (text == FHint)
        return;
    FHint = text;
    update();
}

void TChipView::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (FOwner->Terrain().IsActive() && (event->modifiers() & Qt::ControlModifier) == 0) {
        FOwner->ViewTerrainPress(at.x(), at.y(), event->button() == Qt::RightButton);
        return;
    }
    FOwner->ViewMouseDown(at.x(), at.y(), (event->modifiers() & Qt::ControlModifier) != 0);
}

void TChipView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    FOwner->ViewMouseMove(at.x(), at.y());
}

void TChipView::mouseReleaseEvent(QMouseEvent *)
{
    FOwner->ViewMouseUp();
}

void TChipView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The double click acts on the pick of its first click; its second press then picks
    // again, as every press does.
    FOwner->ViewDoubleClick();
    mousePressEvent(event);
}
