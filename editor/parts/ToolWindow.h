// A floating tool window beside the main window (parts, layers, overview): a real tool
// window with a tool bar, bounds and opacity, that can be rolled up to its tool bar, and
// whose keys and wheel turns go on to the main window's handlers. It lives below the shell
// so that the parts window can be one; it knows nothing of the settings file or the main
// window: the owner passes bounds in and reads them back.
#pragma once

#include <QWidget>
#include <cstdint>

class QKeyEvent;
class QToolBar;
class QVBoxLayout;
class QWheelEvent;

// Stored window bounds are the frame's top-left corner and the size inside the frame, so a
// window placed at 0, 0 keeps its title bar on the screen and reopens where it was.
void PlaceWindow(QWidget &window, const QRect &bounds);
QRect PlacedBounds(const QWidget &window);

class TToolWindow : public QWidget
{
    Q_OBJECT
public:
    // UnrolledMaxHeight: the tallest the window may be once unrolled (QWIDGETSIZE_MAX: no limit).
    TToolWindow(QWidget *owner, const QString &caption, int32_t unrolledMaxHeight);

    // Bounds, opacity (255 opaque, below translucent) and roll-up state from the settings;
    // whether the window shows is the owner's Window menu command.
    void ApplyPlacement(const QRect &bounds, uint8_t alpha, bool minimized);
    // The bounds to store: a rolled-up window gives the height it had before rolling up.
    QRect StoredBounds() const;

    bool RolledUp() const { return FRolledUp; }
    // Rolling up keeps the height in OrgHeight and leaves only the tool bar; unrolling gives
    // the height back. Subclasses re-lay out in RollUpChanged.
    void SetRolledUp(bool rolledUp);
    int32_t OrgHeight() const { return FOrgHeight; }

protected:
    QToolBar *ToolBar() const { return FToolBar; }
    // The window's content below its tool bar; hidden while rolled up.
    void SetContent(QWidget *content);
    // Moves the window left as far as its right edge passes the screen's (never past the
    // screen's left edge): a window that widened for its texts stays wholly in view.
    void KeepRightEdgeOnScreen();

    // Where keys and the wheel go: true when the main window used the event.
    virtual bool ForwardKeyPress(QKeyEvent *) { return false; }
    virtual bool ForwardKeyRelease(QKeyEvent *) { return false; }
    virtual bool ForwardWheel(QWheelEvent *) { return false; }
    virtual void RollUpChanged() {}

    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    QVBoxLayout *FLayout;
    QToolBar *FToolBar;
    QWidget *FContent = nullptr;
    int32_t FUnrolledMaxHeight;
    bool FRolledUp = false;
    int32_t FOrgHeight = 0;
};
