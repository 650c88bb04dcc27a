// The overview window: the whole map at a few pixels per cell with the map view's frame.
// Pressing or dragging in it centres the map view on the cell under the pointer.
#pragma once

#include "editor/parts/ToolWindow.h"
#include "editor/render/PixelBuffer.h"
#include "editor/render/PixelDrawing.h"
#include "editor/render/PreviewRenderer.h"

class QAction;
class QLabel;
class QScrollBar;
class QStatusBar;
class TMainForm;
class TPreviewView;

class TPreviewForm : public TToolWindow
{
    Q_OBJECT
public:
    explicit TPreviewForm(TMainForm *owner);

    int32_t PreviewScale() const { return FState.PreviewScale; }
    int32_t PreviewScrollX() const { return FState.PreviewScrollX; }
    int32_t PreviewScrollY() const { return FState.PreviewScrollY; }
    int32_t PreviewTopLeft() const { return FPreviewTopLeft; }
    bool Dragging() const { return FDragging; }

    // A new document: the scale, a new back buffer, the minimum size and a fresh layout.
    void InitPreview(int32_t scale);
    // Full recomposition.
    void UpdatePreview();
    // Recomposes a region given in map cells.
    void UpdatePreviewRect(int32_t x, int32_t y, int32_t dx, int32_t dy);
    // Shows the back buffer with the frame of the map view's area.
    void DrawViewFrame();
    void UpdatePreviewStatus();
    // Lays out the scroll bars and the back buffer for the current size and scale.
    void FormResize();

    // The frame of the map view's area in picture pixels; false when none is drawn.
    bool ViewFrame(TPixelRect &frame) const;
    const TPixelBuffer &Screen() const;
    TPreviewView *View() const { return FView; }
    QAction *EnlargeButton() const { return FEnlargeButton; }
    QAction *ReduceButton() const { return FReduceButton; }
    QAction *MinimizeButton() const { return FMinimizeButton; }
    QString StatusText() const;

    // Pointer input of the picture area, in its own coordinates.
    void PreviewMouseDown(int32_t x, int32_t y);
    void PreviewMouseMove(int32_t x, int32_t y);
    void PreviewMouseUp();
    // Repaints the square between the two scroll bars with the button face.
    void Erase_KOMATTA_GOMI();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool ForwardKeyPress(QKeyEvent *event) override;
    bool ForwardKeyRelease(QKeyEvent *event) override;
    bool ForwardWheel(QWheelEvent *event) override;
    void RollUpChanged() override;

private:
    void ToolButton2Click();
    void ToolButton3Click();
    void ToolButton5Click();
    void ScrollBarsMoved();
    void CentreMapView(int32_t x, int32_t y);
    bool MapReady() const;

    TMainForm *FOwner;
    TPreviewState FState;
    TPixelBuffer FBack;
    TPixelBuffer FBackground;
    int32_t FPreviewTopLeft = 0;
    bool FDragging = false;
    bool FLayingOut = false;

    QWidget *FClient = nullptr;
    TPreviewView *FView = nullptr;
    QScrollBar *FHorzScrollBar = nullptr;
    QScrollBar *FVertScrollBar = nullptr;
    QWidget *FCorner = nullptr;
    QStatusBar *FStatusBar = nullptr;
    QLabel *FStatusPanel = nullptr;
    QAction *FEnlargeButton = nullptr;
    QAction *FReduceButton = nullptr;
    QAction *FMinimizeButton = nullptr;
};
