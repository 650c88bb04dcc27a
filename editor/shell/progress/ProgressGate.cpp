#include "ProgressGate.h"

#include <QApplication>
#include <QEvent>

namespace
{

// What could start a command or reach the running operation's data: user input, drops,
// closing, and the sockets other programs talk through.
bool HeldBack(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::FileOpen:
    case QEvent::Close:
    case QEvent::SockAct:
    case QEvent::SockClose:
        return true;
    default:
        return false;
    }
}

} // namespace

TProgressGate::TProgressGate(QWidget *progressWindow, QWidget *mainWindow)
    : FProgressWindow(progressWindow), FMainWindow(mainWindow)
{
}

TProgressGate::~TProgressGate()
{
    Close();
}

void TProgressGate::Open()
{
    if (FOpen)
        return;
    qApp->installEventFilter(this);
    FOpen = true;
}

void TProgressGate::Close()
{
    if (!FOpen)
        return;
    qApp->removeEventFilter(this);
    FOpen = false;
}

// Input for the progress window and for modal boxes the operation opens (a plug-in asking
// for a file, an error box) passes; so do popups belonging to them.
bool TProgressGate::Reachable(const QObject *receiver) const
{
    const auto *widget = qobject_cast<const QWidget *>(receiver);
    if (widget == nullptr)
        return false;
    for (const QWidget *w = widget; w != nullptr; w = w->parentWidget()) {
        if (w == FProgressWindow)
            return true;
        if (w->isWindow() && w != FMainWindow && w->windowModality() != Qt::NonModal)
            return true;
    }
    return false;
}

bool TProgressGate::eventFilter(QObject *watched, QEvent *event)
{
    if (!HeldBack(event->type()))
        return false;
    if (event->type() == QEvent::Close) {
        // Nobody closes the progress window but the end of the operation; the main window's
        // close waits for that end.
        if (!watched->isWidgetType() || (watched != FProgressWindow && Reachable(watched)))
            return false;
        if (watched == FMainWindow)
            FCloseRequested = true;
        event->ignore();
        return true;
    }
    // Sockets wait: their notifier fires again once the gate is gone.
    if (event->type() == QEvent::SockAct || event->type() == QEvent::SockClose)
        return true;
    // The platform's windows pass input on to their widgets, which are checked one by one.
    if (watched->isWindowType())
        return false;
    if (Reachable(watched))
        return false;
    event->ignore();
    return true;
}
