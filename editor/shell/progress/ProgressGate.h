// The gate that holds the program still while a long operation runs: an application-wide
// event filter that lets only the progress window's own input (its abort button), the modal
// boxes the operation itself opens, and every repaint through. Menus, tool bar, shortcuts,
// drops and the window-message socket see nothing; a request to close the main window is
// remembered so that it can be answered once the operation has ended. Knows nothing of the
// map or of what the operation does.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class TProgressGate : public QObject
{
    Q_OBJECT
public:
    // progressWindow: the window whose input passes; mainWindow: whose close request waits.
    TProgressGate(QWidget *progressWindow, QWidget *mainWindow);
    ~TProgressGate() override;

    void Open();
    void Close();
    bool IsOpen() const { return FOpen; }
    // The main window was asked to close while the gate was open.
    bool CloseRequested() const { return FCloseRequested; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool Reachable(const QObject *receiver) const;

    QPointer<QWidget> FProgressWindow;
    QPointer<QWidget> FMainWindow;
    bool FOpen = false;
    bool FCloseRequested = false;
};
