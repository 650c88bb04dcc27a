// The map view area of the main window: shows the back buffer, reports its size, and hands
// the pointer and the wheel to the main window's tool input. The cursor grid is drawn here,
// over the back buffer, so following the mouse never recomposes the map.
#pragma once

#include <QRect>
#include <QWidget>

class TMainForm;

class TMapViewWidget : public QWidget
{
    Q_OBJECT
public:
    explicit TMapViewWidget(TMainForm *owner);

    // The cursor grid's frame in view pixels, exclusive at right and bottom; an empty
    // rectangle removes it. Only the old and the new frame are repainted.
    void SetCursorFrame(const QRect &frame, uint32_t color);
    QRect CursorFrame() const { return FCursorFrame; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    TMainForm *FOwner;
    QRect FCursorFrame;
    uint32_t FCursorColor = 0x0000FF;
};
