#include "PreviewForm.h"

#include "PreviewView.h"
#include "editor/edit/EditController.h"
#include "editor/parts/ChipForm.h"
#include "editor/render/BackgroundBitmap.h"
#include "editor/render/MapViewMath.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/MapDocument.h"
#include "editor/shell/ToolBarIcons.h"
#include "editor/shell/input/ToolInput.h"
#include "editor/shell/language/HintTexts.h"
#include "editor/shell/language/Language.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

namespace
{
constexpr int32_t kMinScale = 1;
constexpr int32_t kMaxScale = 4;
constexpr int kStatusPanelWidth = 150;
} // namespace

TPreviewForm::TPreviewForm(TMainForm *owner)
    : TToolWindow(owner, QString::fromStdString(GetLangString(25, "Preview")), QWIDGETSIZE_MAX),
      FOwner(owner), FBackground(MakeBackgroundBitmap())
{
    FEnlargeButton = ToolBar()->addAction(ToolBarIcon("zoom-in", "+"), QString());
    FEnlargeButton->setObjectName("ToolButton2");
    FEnlargeButton->setToolTip(QString::fromStdString(GetLangText(HintText::OverviewZoomIn)));
    connect(FEnlargeButton, &QAction::triggered, this, [this] { ToolButton2Click(); });
    FReduceButton = ToolBar()->addAction(ToolBarIcon("zoom-out", "-"), QString());
    FReduceButton->setObjectName("ToolButton3");
    FReduceButton->setToolTip(QString::fromStdString(GetLangText(HintText::OverviewZoomOut)));
    connect(FReduceButton, &QAction::triggered, this, [this] { ToolButton3Click(); });
    ToolBar()->addSeparator();
    FMinimizeButton = ToolBar()->addAction(ToolBarIcon("go-up", "^"), QString());
    FMinimizeButton->setObjectName("ToolButton5");
    FMinimizeButton->setCheckable(true);
    FMinimizeButton->setToolTip(QString::fromStdString(GetLangText(HintText::OverviewMinimize)));
    connect(FMinimizeButton, &QAction::triggered, this, [this] { ToolButton5Click(); });

    auto *content = new QWidget(this);
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    // The client area: the picture and its scroll bars; its size drives the layout.
    FClient = new QWidget(content);
    auto *grid = new QGridLayout(FClient);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    FView = new TPreviewView(this);
    FHorzScrollBar = new QScrollBar(Qt::Horizontal, FClient);
    FVertScrollBar = new QScrollBar(Qt::Vertical, FClient);
    // The square between the two bars keeps the button face rather than stale pixels.
    FCorner = new QWidget(FClient);
    FCorner->setAutoFillBackground(true);
    FCorner->setBackgroundRole(QPalette::Button);
    grid->addWidget(FView, 0, 0);
    grid->addWidget(FVertScrollBar, 0, 1);
    grid->addWidget(FHorzScrollBar, 1, 0);
    grid->addWidget(FCorner, 1, 1);
    FHorzScrollBar->hide();
    FVertScrollBar->hide();
    FCorner->hide();
    FClient->installEventFilter(this);
    column->addWidget(FClient, 1);
    FStatusBar = new QStatusBar(content);
    FStatusBar->setSizeGripEnabled(false);
    FStatusPanel = new QLabel(FStatusBar);
    FStatusPanel->setMinimumWidth(kStatusPanelWidth);
    FStatusBar->addWidget(FStatusPanel);
    column->addWidget(FStatusBar);
    SetContent(content);
    connect(FHorzScrollBar, &QScrollBar::valueChanged, this, [this] { ScrollBarsMoved(); });
    connect(FVertScrollBar, &QScrollBar::valueChanged, this, [this] { ScrollBarsMoved(); });
    UpdatePreviewStatus();
}

bool TPreviewForm::MapReady() const
{
    const TMap *map = MapDocument();
    return map != nullptr && map->IsReady() && map->Width() > 0 && map->Height() > 0;
}

void TPreviewForm::InitPreview(int32_t scale)
{
    FState.PreviewScale = std::clamp(scale, kMinScale, kMaxScale);
    FState.PreviewScrollX = 0;
    FState.PreviewScrollY = 0;
    FPreviewTopLeft = 0;
    FDragging = false;
    {
        const QSignalBlocker blockH(FHorzScrollBar);
        const QSignalBlocker blockV(FVertScrollBar);
        FHorzScrollBar->setValue(0);
        FVertScrollBar->setValue(0);
    }
    FBack = TPixelBuffer();
    setMinimumSize(100, ToolBar()->sizeHint().height() + FStatusBar->sizeHint().height());
    FormResize();
    UpdatePreviewStatus();
    if (FOwner->isVisible())
        FOwner->activateWindow();
}

void TPreviewForm::FormResize()
{
    if (!MapReady() || RolledUp() || FLayingOut)
        return;
    // Showing or hiding a bar resizes the picture, not the client area; the guard keeps a
    // layout from starting inside another.
    FLayingOut = true;
    const TMap *map = MapDocument();
    const int32_t e = FState.PreviewScale;
    const int32_t clientWidth = FClient->width();
    const int32_t clientHeight = FClient->height();
    int32_t viewWidth = clientWidth;
    int32_t viewHeight = clientHeight;
    const bool showHorz = viewWidth < static_cast<int64_t>(map->Width()) * e;
    if (showHorz)
        viewHeight = clientHeight - FHorzScrollBar->sizeHint().height();
    const bool showVert = viewHeight < static_cast<int64_t>(map->Height()) * e;
    if (showVert)
        viewWidth = clientWidth - FVertScrollBar->sizeHint().width();
    viewWidth = std::max(viewWidth, 1);
    viewHeight = std::max(viewHeight, 1);
    FState.ViewWidth = viewWidth;
    FState.ViewHeight = viewHeight;
    FHorzScrollBar->setVisible(showHorz);
    FVertScrollBar->setVisible(showVert);
    FCorner->setVisible(showHorz && showVert);

    auto layOut = [](QScrollBar *bar, int32_t mapSize, int32_t viewSize, int32_t scale,
                     bool shown) {
        const QSignalBlocker block(bar);
        const int32_t largeChange = viewSize / scale;
        bar->setRange(0, shown ? std::max(0, mapSize - largeChange) : 0);
        bar->setPageStep(std::max(1, std::min(largeChange + 1, mapSize)));
        bar->setSingleStep(1);
        bar->setValue(ClampScrollPosition(bar->value(), mapSize, largeChange));
    };
    layOut(FHorzScrollBar, map->Width(), viewWidth, e, showHorz);
    layOut(FVertScrollBar, map->Height(), viewHeight, e, showVert);
    FState.PreviewScrollX = showHorz ? FHorzScrollBar->value() : 0;
    FState.PreviewScrollY = showVert ? FVertScrollBar->value() : 0;
    FPreviewTopLeft = FState.PreviewScrollY * map->Width() + FState.PreviewScrollX;

    FBack.SetSize(viewWidth, viewHeight, 32);
    FBack.Fill(0xFFFFFF);
    FView->Screen.SetSize(viewWidth, viewHeight, 32);
    FView->Screen.Fill(0xFFFFFF);
    FLayingOut = false;
    UpdatePreview();
}

void TPreviewForm::ScrollBarsMoved()
{
    const TMap *map = MapDocument();
    if (map == nullptr)
        return;
    FState.PreviewScrollX = FHorzScrollBar->isVisible() ? FHorzScrollBar->value() : 0;
    FState.PreviewScrollY = FVertScrollBar->isVisible() ? FVertScrollBar->value() : 0;
    FPreviewTopLeft = FState.PreviewScrollY * map->Width() + FState.PreviewScrollX;
    UpdatePreview();
}

void TPreviewForm::UpdatePreview()
{
    TMap *map = MapDocument();
    TChipForm *chips = FOwner->ChipForm();
    FState.Visible = isVisible();
    FState.Minimized = RolledUp();
    if (map == nullptr || chips == nullptr || !MapReady() || FBack.IsEmpty())
        return;
    TPreviewRenderer renderer(*map, FState, FOwner->ViewState(), *chips, FBack, &FBackground);
    if (!renderer.UpdatePreview())
        return;
    DrawViewFrame();
    UpdatePreviewStatus();
}

void TPreviewForm::UpdatePreviewRect(int32_t x, int32_t y, int32_t dx, int32_t dy)
{
    TMap *map = MapDocument();
    TChipForm *chips = FOwner->ChipForm();
    FState.Visible = isVisible();
    FState.Minimized = RolledUp();
    if (map == nullptr || chips == nullptr || !MapReady() || FBack.IsEmpty())
        return;
    TPreviewRenderer renderer(*map, FState, FOwner->ViewState(), *chips, FBack, &FBackground);
    if (!renderer.UpdatePreviewRect(x, y, dx, dy))
        return;
    DrawViewFrame();
    UpdatePreviewStatus();
}

bool TPreviewForm::ViewFrame(TPixelRect &frame) const
{
    const TMap *map = MapDocument();
    TChipForm *chips = FOwner->ChipForm();
    if (map == nullptr || chips == nullptr || !MapReady())
        return false;
    TPreviewState state = FState;
    state.Visible = isVisible();
    TPixelBuffer unused;
    const TPreviewRenderer renderer(*map, state, FOwner->ViewState(), *chips, unused, nullptr);
    return renderer.ViewFrame(frame);
}

void TPreviewForm::DrawViewFrame()
{
    TMap *map = MapDocument();
    TChipForm *chips = FOwner->ChipForm();
    FState.Visible = isVisible();
    if (map == nullptr || chips == nullptr || !MapReady() || FBack.IsEmpty() || RolledUp())
        return;
    TPreviewRenderer renderer(*map, FState, FOwner->ViewState(), *chips, FBack, &FBackground);
    if (renderer.DrawViewFrame(FView->Screen, 0))
        FView->update();
    Erase_KOMATTA_GOMI();
}

void TPreviewForm::Erase_KOMATTA_GOMI()
{
    if (FCorner->isVisible())
        FCorner->update();
}

const TPixelBuffer &TPreviewForm::Screen() const
{
    return FView->Screen;
}

void TPreviewForm::UpdatePreviewStatus()
{
    FEnlargeButton->setEnabled(FState.PreviewScale < kMaxScale);
    FReduceButton->setEnabled(FState.PreviewScale > kMinScale);
    FMinimizeButton->setChecked(RolledUp());
    const TMap *map = MapDocument();
    FStatusPanel->setText(map != nullptr
                              ? QString::fromStdString(PreviewStatusText(*map, FState.PreviewScale))
                              : QString::fromStdString(GetLangString(29, "Zoom")));
}

QString TPreviewForm::StatusText() const
{
    return FStatusPanel->text();
}

void TPreviewForm::ToolButton2Click()
{
    FState.PreviewScale = std::min(FState.PreviewScale + 1, kMaxScale);
    FormResize();
    UpdatePreviewStatus();
}

void TPreviewForm::ToolButton3Click()
{
    FState.PreviewScale = std::max(FState.PreviewScale - 1, kMinScale);
    FormResize();
    UpdatePreviewStatus();
}

void TPreviewForm::ToolButton5Click()
{
    SetRolledUp(!RolledUp());
}

void TPreviewForm::RollUpChanged()
{
    FMinimizeButton->setChecked(RolledUp());
    FormResize();
}

void TPreviewForm::CentreMapView(int32_t x, int32_t y)
{
    const TMap *map = MapDocument();
    if (map == nullptr || !MapReady())
        return;
    const int32_t e = FState.PreviewScale;
    // Positions left of or above the picture would round towards the wrong cell.
    const int32_t cellX = std::max(0, x + e * FState.PreviewScrollX) / e;
    const int32_t cellY = std::max(0, y + e * FState.PreviewScrollY) / e;
    FOwner->ScrollView(std::min(cellX, map->Width() - 1), std::min(cellY, map->Height() - 1));
    FOwner->RedrawAll();
    DrawViewFrame();
}

void TPreviewForm::PreviewMouseDown(int32_t x, int32_t y)
{
    CentreMapView(x, y);
    FDragging = true;
}

void TPreviewForm::PreviewMouseMove(int32_t x, int32_t y)
{
    if (FDragging)
        CentreMapView(x, y);
}

void TPreviewForm::PreviewMouseUp()
{
    FDragging = false;
}

bool TPreviewForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FClient && event->type() == QEvent::Resize)
        FormResize();
    return TToolWindow::eventFilter(watched, event);
}

void TPreviewForm::showEvent(QShowEvent *event)
{
    TToolWindow::showEvent(event);
    FormResize();
}

void TPreviewForm::closeEvent(QCloseEvent *event)
{
    // The close box is the Window menu's command, so its check mark and button follow. The
    // close itself is never refused: a refusal would stand in the way of quitting.
    if (isVisible())
        FOwner->ToolWindowClosed("OVWindowMenuItem");
    event->accept();
}

bool TPreviewForm::ForwardKeyPress(QKeyEvent *event)
{
    return FOwner->ToolInput().HandleKeyPress(event);
}

bool TPreviewForm::ForwardKeyRelease(QKeyEvent *event)
{
    return FOwner->ToolInput().HandleKeyRelease(event);
}

bool TPreviewForm::ForwardWheel(QWheelEvent *event)
{
    return FOwner->ToolInput().HandleWheel(event);
}
