#include "ToolWindow.h"

#include <QToolBar>
#include <QVBoxLayout>

TToolWindow::TToolWindow(QWidget *owner, const QString &caption)
    : QWidget(owner, Qt::Tool), FLayout(new QVBoxLayout(this)), FToolBar(new QToolBar(this))
{
    setWindowTitle(caption);
    FLayout->setContentsMargins(0, 0, 0, 0);
    FLayout->setSpacing(0);
    FToolBar->setIconSize(QSize(16, 16));
    FLayout->addWidget(FToolBar);
}

void TToolWindow::SetContent(QWidget *content)
{
    FContent = content;
    FLayout->addWidget(content, 1);
}

void TToolWindow::ApplySettings(const TToolWindowSettings &settings)
{
    setGeometry(settings.Bounds.Left, settings.Bounds.Top, settings.Bounds.Width,
                settings.Bounds.Height);
    setWindowOpacity(settings.Alpha / 255.0);
    if (settings.Minimized)
        SetRolledUp(true);
    setVisible(settings.Visible);
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
        resize(width(), FToolBar->sizeHint().height());
    } else {
        if (FContent != nullptr)
            FContent->show();
        resize(width(), FOrgHeight);
    }
}

TToolWindowState TToolWindow::State() const
{
    TToolWindowState state;
    const QRect bounds = geometry();
    state.Bounds = {bounds.x(), bounds.y(), bounds.width(),
                    FRolledUp ? FOrgHeight : bounds.height()};
    state.Visible = isVisible();
    state.Minimized = FRolledUp;
    return state;
}
