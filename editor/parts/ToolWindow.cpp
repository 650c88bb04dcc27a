#include "ToolWindow.h"

#include <QKeyEvent>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>

TToolWindow::TToolWindow(QWidget *owner, const QString &caption, int32_t unrolledMaxHeight)
    : QWidget(owner, Qt::Tool), FLayout(new QVBoxLayout(this)), FToolBar(new QToolBar(this)),
      FUnrolledMaxHeight(unrolledMaxHeight)
{
    setWindowTitle(caption);
    FLayout->setContentsMargins(0, 0, 0, 0);
    FLayout->setSpacing(0);
    FToolBar->setIconSize(QSize(16, 16));
    FToolBar->setFocusPolicy(Qt::NoFocus);
    FLayout->addWidget(FToolBar);
}

void PlaceWindow(QWidget &window, const QRect &bounds)
{
    window.move(bounds.topLeft());
    window.resize(bounds.size());
}

QRect PlacedBounds(const QWidget &window)
{
    return QRect(window.pos(), window.size());
}

void TToolWindow::SetContent(QWidget *content)
{
    FContent = content;
    FLayout->addWidget(content, 1);
}

void TToolWindow::KeepRightEdgeOnScreen()
{
    const QScreen *shownOn = screen();
    if (shownOn == nullptr)
        return;
    const QRect area = shownOn->availableGeometry();
    const int overflow = frameGeometry().right() - area.right();
    if (overflow > 0)
        move(std::max(x() - overflow, area.left()), y());
}

void TToolWindow::ApplyPlacement(const QRect &bounds, uint8_t alpha, bool minimized)
{
    PlaceWindow(*this, bounds);
    FOrgHeight = bounds.height();
    setWindowOpacity(alpha / 255.0);
    if (minimized)
        SetRolledUp(true);
}

void TToolWindow::SetRolledUp(bool rolledUp)
{
    if (rolledUp == FRolledUp)
        return;
    FRolledUp = rolledUp;
    if (rolledUp) {
        FOrgHeight = height();
        if (FContent != nullptr)
            FContent->hide();
        // The window's minimum size comes from its layout: without the content it is the
        // tool bar's, at once rather than at the next layout pass.
        FLayout->activate();
        // Only the tool bar stays: the window cannot be pulled taller while rolled up.
        const int rolledHeight = FToolBar->sizeHint().height();
        setMaximumHeight(rolledHeight);
        resize(width(), rolledHeight);
    } else {
        setMaximumHeight(FUnrolledMaxHeight);
        if (FContent != nullptr)
            FContent->show();
        resize(width(), FOrgHeight);
    }
    RollUpChanged();
}

QRect TToolWindow::StoredBounds() const
{
    const QRect bounds = PlacedBounds(*this);
    return {bounds.x(), bounds.y(), bounds.width(), FRolledUp ? FOrgHeight : bounds.height()};
}

void TToolWindow::keyPressEvent(QKeyEvent *event)
{
    if (!ForwardKeyPress(event))
        QWidget::keyPressEvent(event);
}

void TToolWindow::keyReleaseEvent(QKeyEvent *event)
{
    if (!ForwardKeyRelease(event))
        QWidget::keyReleaseEvent(event);
}

void TToolWindow::wheelEvent(QWheelEvent *event)
{
    if (ForwardWheel(event))
        event->accept();
    else
        QWidget::wheelEvent(event);
}
