// The overview window's picture area: shows the composed picture and passes presses, drags
// and releases on to the window.
#pragma once

#include "editor/render/PixelBuffer.h"

#include <QWidget>

class TPreviewForm;

class TPreviewView : public QWidget
{
    Q_OBJECT
public:
    explicit TPreviewView(TPreviewForm *owner);

    // What the window shows: the back buffer with the map view's frame.
    TPixelBuffer Screen;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TPreviewForm *FOwner;
};
