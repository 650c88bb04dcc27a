#include "LayerList.h"

#include "LayerForm.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QWheelEvent>

namespace
{
// Positions up to here belong to the check boxes, whatever the style draws.
constexpr int kMinCheckZone = 14;
} // namespace

TLayerList::TLayerList(TLayerForm *owner) : QListWidget(owner), FOwner(owner)
{
    setObjectName("LayerList");
    setSelectionMode(QAbstractItemView::SingleSelection);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
}

int TLayerList::CheckZoneWidth() const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    option.rect = QRect(0, 0, viewport()->width(), 16);
    const QRect indicator =
        style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
    return std::max(kMinCheckZone, indicator.right());
}

int TLayerList::EntryRightOfCheckBox(const QPoint &position) const
{
    const QListWidgetItem *entry = itemAt(position);
    if (entry == nullptr || position.x() <= CheckZoneWidth())
        return -1;
    return row(entry);
}

bool TLayerList::DropAllowedAt(const QPoint &position) const
{
    const int target = EntryRightOfCheckBox(position);
    return target >= 0 && target != currentRow();
}

void TLayerList::mousePressEvent(QMouseEvent *event)
{
    EndDrag();
    const QPoint at = event->position().toPoint();
    // Below the last entry there is nothing to select: the current layer stays marked.
    if (itemAt(at) == nullptr)
        return;
    if (event->button() == Qt::LeftButton)
        FDragRow = EntryRightOfCheckBox(at);
    FDragStart = at;
    QListWidget::mousePressEvent(event);
}

void TLayerList::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (FDragRow >= 0 && (event->buttons() & Qt::LeftButton)) {
        // The entry is dragged, not the selection: the list's own drag-select stays out.
        if (!FDragging && (at - FDragStart).manhattanLength() >= QApplication::startDragDistance())
            FDragging = true;
        if (FDragging)
            viewport()->setCursor(DropAllowedAt(at) ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
        return;
    }
    viewport()->setCursor(EntryRightOfCheckBox(at) >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QListWidget::mouseMoveEvent(event);
}

void TLayerList::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (FDragging) {
        const int target = DropAllowedAt(at) ? EntryRightOfCheckBox(at) : -1;
        EndDrag();
        if (target >= 0)
            FOwner->SwapCurrentWith(target);
        return;
    }
    EndDrag();
    if (FSwallowRelease) {
        FSwallowRelease = false;
        return;
    }
    QListWidget::mouseReleaseEvent(event);
}

void TLayerList::EndDrag()
{
    FDragRow = -1;
    FDragging = false;
    viewport()->setCursor(Qt::ArrowCursor);
}

void TLayerList::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (EntryRightOfCheckBox(at) >= 0) {
        FOwner->OpenCurrentLayerSetting();
        return;
    }
    // On a check box the first click has toggled it already.
    if (itemAt(at) != nullptr)
        FSwallowRelease = true;
    QListWidget::mouseDoubleClickEvent(event);
}

void TLayerList::contextMenuEvent(QContextMenuEvent *event)
{
    if (EntryRightOfCheckBox(event->pos()) < 0)
        return;
    FOwner->ShowContextMenu(event->globalPos());
}

void TLayerList::keyPressEvent(QKeyEvent *event)
{
    // W, Esc and every typed character belong to the main window; arrows move in the list.
    const bool typed = !event->text().isEmpty() && event->text().at(0).isPrint();
    if (event->key() == Qt::Key_W || event->key() == Qt::Key_Escape || typed) {
        FOwner->ForwardListKeyPress(event);
        return;
    }
    QListWidget::keyPressEvent(event);
}

void TLayerList::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_W) {
        FOwner->ForwardListKeyRelease(event);
        return;
    }
    QListWidget::keyReleaseEvent(event);
}

void TLayerList::wheelEvent(QWheelEvent *event)
{
    if (FOwner->ForwardListWheel(event)) {
        event->accept();
        return;
    }
    QListWidget::wheelEvent(event);
}
