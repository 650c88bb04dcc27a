// The layer window's list: one checkable entry per layer, topmost first. Beyond a plain list
// it swaps two layers when an entry is dragged onto another, opens the options on a double
// click right of the check boxes, shows the hand over entries and the context menu there, and
// passes W, Esc and typed characters on to the main window's key handlers.
#pragma once

#include <QListWidget>

class TLayerForm;

class TLayerList : public QListWidget
{
    Q_OBJECT
public:
    explicit TLayerList(TLayerForm *owner);

    // The width of the check-box column: pointer positions within it act on the check box.
    int CheckZoneWidth() const;
    // The entry under a viewport position that is right of the check boxes, or -1.
    int EntryRightOfCheckBox(const QPoint &position) const;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    bool DropAllowedAt(const QPoint &position) const;
    void EndDrag();

    TLayerForm *FOwner;
    int FDragRow = -1; // the entry the left button went down on, right of the check boxes
    QPoint FDragStart;
    bool FDragging = false;
    // A double click on a check box toggles it once: the release that follows is not another.
    bool FSwallowRelease = false;
};
