// The parts window's picture area: shows the window's back buffer and hands presses, moves,
// releases and double clicks on to the window.
#pragma once

#include <QString>
#include <QWidget>

class TChipForm;

class TChipView : public QWidget
{
    Q_OBJECT
public:
    explicit TChipView(TChipForm *owner);
    // A line shown over the picture (what to do when there is no image); empty for none.
    void SetHint(const QString &text);
    QString Hint() const { return FHint; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    TChipForm *FOwner;
    QString FHint;
};
