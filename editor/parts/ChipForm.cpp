// The parts window's frame: creation, the table's life, layout and scroll bars, the picture,
// zoom and the tool buttons. Picking parts with the pointer is in ChipFormSelection.cpp.
#include "ChipForm.h"

#include "ChipTable.h"
#include "ChipView.h"
#include "editor/map/DialogSeam.h"
#include "editor/map/MapDataUnit.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMimeData>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

namespace
{
constexpr int32_t kUnrolledMaxHeight = 587;
constexpr int32_t kCreationCellSize = 32;

QString Text(int32_t index, const char *english)
{
    return QString::fromStdString(Dialogs().GetLangString(index, english));
}
} // namespace

TChipForm::TChipForm(TChipFormHost &host, const std::string &programFolder, QWidget *owner)
    : TToolWindow(owner, Text(17, "Parts"), kUnrolledMaxHeight), FHost(host),
      FProgramFolder(programFolder)
{
    setObjectName("TChipForm");
    setAcceptDrops(true);
    AddButton("ToolButton2", "insert-image", "O", &TChipForm::OpenImageClick);
    AddButton("ToolButton3", "edit-clear", "C", &TChipForm::CloseImageClick);
    ToolBar()->addSeparator();
    AddButton("ToolButton5", "zoom-in", "+", &TChipForm::ZoomIn);
    AddButton("ToolButton6", "zoom-out", "-", &TChipForm::ZoomOut);
    ToolBar()->addSeparator();
    AddButton("ToolButton7", "edit-find", "F", &TChipForm::FindClick);
    ToolBar()->addSeparator();
    AddButton("ToolButton13", "go-up", "^", &TChipForm::MinimizeClick)->setCheckable(true);
    ToolBar()->addSeparator();
    AddButton("TerrainButton", "tessella-terrain-mode", "T", &TChipForm::TerrainClick)
        ->setCheckable(true);

    auto *content = new QWidget(this);
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    // The client area: the picture and its scroll bars; its size drives the layout.
    FClient = new QWidget(content);
    auto *grid = new QGridLayout(FClient);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    FView = new TChipView(this);
    FHorzScrollBar = new QScrollBar(Qt::Horizontal, FClient);
    FVertScrollBar = new QScrollBar(Qt::Vertical, FClient);
    grid->addWidget(FView, 0, 0);
    grid->addWidget(FVertScrollBar, 0, 1);
    grid->addWidget(FHorzScrollBar, 1, 0);
    FHorzScrollBar->hide();
    FVertScrollBar->hide();
    FClient->installEventFilter(this);
    AddTerrainMode(content);
    column->addWidget(FTerrain);
    column->addWidget(FClient, 1);

    auto *status = new QStatusBar(content);
    status->setSizeGripEnabled(false);
    const QString texts[3] = {Text(1, "Corsor") + "(0, 0)", Text(2, "Selection") + "(0, 0)-(0, 0)",
                              Text(26, "Select") + "(0)"};
    // Each panel as wide as its whole text: when the three do not fit, the window widens
    // (and moves left at the screen's edge, see resizeEvent).
    for (int i = 0; i < 3; ++i) {
        FStatusPanels[i] = new QLabel(texts[i], status);
        status->addWidget(FStatusPanels[i], i == 2 ? 1 : 0);
    }
    column->addWidget(status);
    SetContent(content);

    connect(FHorzScrollBar, &QScrollBar::valueChanged, this, [this] { ScrollBarsMoved(); });
    connect(FVertScrollBar, &QScrollBar::valueChanged, this, [this] { ScrollBarsMoved(); });
    FCellWidth = kCreationCellSize;
    FCellHeight = kCreationCellSize;
    SetZoomRatio(FHost.PartsWindowZoom());
    CheckDelImageToolButton();
}

TChipForm::~TChipForm()
{
    // The map may be gone already: only the entries are freed.
    if (FTable)
        FTable->FreeAllChips();
}

QAction *TChipForm::AddButton(const char *objectName, const char *themeName, const char *letter,
                              void (TChipForm::*handler)())
{
    QAction *button = ToolBar()->addAction(FHost.ToolIcon(themeName, letter), QString());
    button->setObjectName(objectName);
    connect(button, &QAction::triggered, this, handler);
    return button;
}

QAction *TChipForm::Button(const char *objectName) const
{
    return ToolBar()->findChild<QAction *>(objectName);
}

void TChipForm::Init()
{
    TMap *map = FHost.Map();
    if (map == nullptr)
        return;
    FSelection = TSelection{1, 0, 0, 0, 0, 0};
    FDragging = false;
    FCellWidth = map->PartsWidth();
    FCellHeight = map->PartsHeight();
    FPartsWidthShown = map->PartsWidth();
    FPartsHeightShown = map->PartsHeight();
    const int32_t zoom = FHost.PartsWindowZoom();
    if (FCellWidth * zoom >= 256)
        FCellWidth = FCellWidth * zoom / 256;
    if (FCellHeight * zoom >= 256)
        FCellHeight = FCellHeight * zoom / 256;
    ReleaseTable();
    FTable = std::make_unique<TChipTable>(*map, FHost);
    FTable->Init("Plugins", FProgramFolder, FHost.ImagePluginSettings());
    FTable->SusiePlugins().SetProgress(FHost.ImagePluginProgress());
    {
        const QSignalBlocker blockH(FHorzScrollBar);
        const QSignalBlocker blockV(FVertScrollBar);
        FHorzScrollBar->setValue(0);
        FVertScrollBar->setValue(0);
    }
    FScrollX = 0;
    FScrollY = 0;
    FormResize();
    CheckDelImageToolButton();
}

void TChipForm::ReleaseTable()
{
    // The images go: their terrain sets are written and forgotten with them.
    FTerrain->Reset();
    FBaseValid = false;
    if (FTable)
        FTable->ReleaseAll();
    FTable.reset();
}

bool TChipForm::AddMapChip(const std::string &fileName)
{
    if (!FTable)
        Init();
    if (!FTable)
        return false;
    if (!FTable->AddMapChip(fileName))
        return false;
    ImageChanged();
    return true;
}

void TChipForm::CheckMapChipChanged()
{
    if (!FTable)
        return;
    const TChipChangeCheck check = FTable->CheckMapChipChanged();
    if (check.Detached || check.Reloaded)
        ImageChanged();
}

void TChipForm::ImageChanged()
{
    FormResize();
    CheckDelImageToolButton();
    FHost.PartsImageChanged();
}

bool TChipForm::GetImagePosition(int32_t ChipNumber, int32_t LayerIndex, int32_t &X,
                                 int32_t &Y) const
{
    if (!FTable)
        return false;
    return FTable->GetImagePosition(ChipNumber, LayerIndex, X, Y);
}

int32_t TChipForm::AlignX() const
{
    return FTable ? FTable->ChipAlignX() : 0;
}

int32_t TChipForm::AlignY() const
{
    return FTable ? FTable->ChipAlignY() : 0;
}

int32_t TChipForm::ValueLimit() const
{
    const TMap *map = FHost.Map();
    return map != nullptr && map->BitCount() >= 16 ? 65536 : 256;
}

TPixelBuffer *TChipForm::CurrentImage() const
{
    const TMap *map = FHost.Map();
    if (map == nullptr || !FTable || !map->IsValidLayer(FHost.CurrentLayer()))
        return nullptr;
    const TMapChip *chip = map->GetLayerChip(FHost.CurrentLayer());
    return chip != nullptr ? static_cast<TPixelBuffer *>(chip->Image.get()) : nullptr;
}

TChipCanvasState TChipForm::CanvasState() const
{
    const TMap *map = FHost.Map();
    const TChipFormLook look = FHost.Look();
    TChipCanvasState state;
    state.PartsWidth = map->PartsWidth();
    state.PartsHeight = map->PartsHeight();
    state.CellWidth = FCellWidth;
    state.CellHeight = FCellHeight;
    state.ScrollX = FScrollX;
    state.ScrollY = FScrollY;
    state.AlignX = AlignX();
    state.AlignY = AlignY();
    state.ValueLimit = ValueLimit();
    state.DrawGrid = !(look.SyncMainGrid && !look.ShowGrid);
    state.GridColor = look.GridColor;
    state.UseInvisiblePart = look.UseInvisiblePart;
    state.InvisiblePart = look.InvisiblePart;
    state.UseTranslucentSelect = look.UseTranslucentSelect;
    state.HighlightColor = look.HighlightColor;
    state.Selection = FSelection;
    return state;
}

void TChipForm::UpdateFullCanvas()
{
    if (FBack.IsEmpty())
        return;
    const TMap *map = FHost.Map();
    if (map == nullptr || !map->IsReady() || !FTable) {
        FBaseValid = false;
        // No document yet: the bare background, never a stale or empty picture.
        ComposeChipCanvas(FBack, TChipCanvasState{}, nullptr, FHost.BackgroundBitmap());
        FView->update();
        return;
    }
    const int32_t alignX = AlignX();
    const int32_t alignY = AlignY();
    FTable->UpdateChipAlign();
    // Another layer's image may have other columns and rows: the scroll bars follow.
    if ((AlignX() != alignX || AlignY() != alignY) && !FLayingOut) {
        FormResize();
        return;
    }
    TChipCanvasState state = CanvasState();
    // Without an image the window says how to get one instead of showing an empty grid.
    TPixelBuffer *image = CurrentImage();
    state.DrawGrid = state.DrawGrid && image != nullptr;
    FView->SetHint(image != nullptr ? QString()
                                    : QString::fromStdString(Dialogs().GetLangMessage(
                                          50, "Open a parts image with the first button, or "
                                              "drop an image file here")));
    ComposeChipBase(FBack, state, image, FHost.BackgroundBitmap());
    ShowTerrainMarks(state);
    FBase = FBack;
    FBaseValid = true;
    DrawCurrentSelection(FBack, state);
    FView->update();
}

void TChipForm::UpdatePickCanvas()
{
    if (!FBaseValid || FBase.Width() != FBack.Width() || FBase.Height() != FBack.Height()) {
        UpdateFullCanvas();
        return;
    }
    FBack = FBase;
    DrawCurrentSelection(FBack, CanvasState());
    FView->update();
}

void TChipForm::FormResize()
{
    if (RolledUp() || FLayingOut)
        return;
    FLayingOut = true;
    if (FTable)
        FTable->UpdateChipAlign();
    const int32_t alignX = AlignX();
    const int32_t alignY = AlignY();
    const int32_t clientWidth = FClient->width();
    const int32_t clientHeight = FClient->height();
    int32_t viewWidth = clientWidth;
    int32_t viewHeight = clientHeight;
    const bool showHorz = viewWidth < static_cast<int64_t>(FCellWidth) * alignX;
    if (showHorz)
        viewHeight -= FHorzScrollBar->sizeHint().height();
    const bool showVert = viewHeight < static_cast<int64_t>(FCellHeight) * alignY;
    if (showVert)
        viewWidth -= FVertScrollBar->sizeHint().width();
    viewWidth = std::max(viewWidth, 1);
    viewHeight = std::max(viewHeight, 1);
    FHorzScrollBar->setVisible(showHorz);
    FVertScrollBar->setVisible(showVert);

    auto layOut = [](QScrollBar *bar, int32_t parts, int32_t viewSize, int32_t cellSize,
                     bool shown) {
        const QSignalBlocker block(bar);
        const int32_t largeChange = viewSize / cellSize;
        const int32_t last = std::max(0, parts - largeChange);
        bar->setRange(0, shown ? last : 0);
        bar->setPageStep(std::max(1, std::min(largeChange + 1, parts)));
        bar->setSingleStep(1);
        bar->setValue(std::min(bar->value(), last));
        return shown ? bar->value() : 0;
    };
    FScrollX = layOut(FHorzScrollBar, alignX, viewWidth, FCellWidth, showHorz);
    FScrollY = layOut(FVertScrollBar, alignY, viewHeight, FCellHeight, showVert);
    if (FBack.Width() != viewWidth || FBack.Height() != viewHeight)
        FBack.SetSize(viewWidth, viewHeight, 32);
    FBaseValid = false;
    FLayingOut = false;
    UpdateFullCanvas();
}

void TChipForm::PartsLayoutChanged()
{
    const TMap *map = FHost.Map();
    if (map != nullptr && map->PartsWidth() > 0 && map->PartsHeight() > 0) {
        if (FPartsWidthShown > 0 && FPartsHeightShown > 0) {
            FCellWidth =
                std::max<int32_t>(1, static_cast<int32_t>(static_cast<int64_t>(FCellWidth) *
                                                          map->PartsWidth() / FPartsWidthShown));
            FCellHeight =
                std::max<int32_t>(1, static_cast<int32_t>(static_cast<int64_t>(FCellHeight) *
                                                          map->PartsHeight() / FPartsHeightShown));
        }
        FPartsWidthShown = map->PartsWidth();
        FPartsHeightShown = map->PartsHeight();
    }
    FSelection = TSelection{1, 0, 0, 0, 0, 0};
    FormResize();
    CheckDelImageToolButton();
}

void TChipForm::ScrollBarsMoved()
{
    FScrollX = FHorzScrollBar->isVisible() ? FHorzScrollBar->value() : 0;
    FScrollY = FVertScrollBar->isVisible() ? FVertScrollBar->value() : 0;
    UpdateFullCanvas();
}

void TChipForm::SetZoomRatio(int32_t Zoom)
{
    if (FCellWidth * Zoom >= 256)
        FCellWidth = FCellWidth * Zoom / 256;
    if (FCellHeight * Zoom >= 256)
        FCellHeight = FCellHeight * Zoom / 256;
    FormResize();
}

int32_t TChipForm::GetZoomRatio() const
{
    const TMap *map = FHost.Map();
    const int32_t pw = map != nullptr && map->PartsWidth() > 0 ? map->PartsWidth() : 32;
    return static_cast<int32_t>(static_cast<double>(FCellWidth) / pw * 256.0);
}

void TChipForm::ResumeDrawSize()
{
    const TMap *map = FHost.Map();
    if (map == nullptr)
        return;
    FCellWidth = map->PartsWidth();
    FCellHeight = map->PartsHeight();
    FormResize();
    CheckDelImageToolButton();
}

void TChipForm::ZoomIn()
{
    const TMap *map = FHost.Map();
    if (map == nullptr)
        return;
    const int32_t step = FHost.ZoomRatio();
    const int32_t pw = map->PartsWidth();
    const int32_t ph = map->PartsHeight();
    const int32_t w = FCellWidth + pw * step / 256;
    if (w > 2 * pw)
        return;
    FCellWidth = w;
    // A refused height keeps the grown width; the window is laid out for it either way.
    const int32_t h = FCellHeight + ph * step / 256;
    if (h <= 2 * ph)
        FCellHeight = h;
    FormResize();
    CheckDelImageToolButton();
}

void TChipForm::ZoomOut()
{
    const TMap *map = FHost.Map();
    if (map == nullptr)
        return;
    const int32_t step = FHost.ZoomRatio();
    const int32_t pw = map->PartsWidth();
    const int32_t ph = map->PartsHeight();
    const int32_t w = FCellWidth - pw * step / 256;
    if (w <= pw / 4)
        return;
    FCellWidth = w;
    const int32_t h = FCellHeight - ph * step / 256;
    if (h > ph / 4)
        FCellHeight = h;
    FormResize();
    CheckDelImageToolButton();
}

void TChipForm::CheckDelImageToolButton()
{
    Button("ToolButton3")->setEnabled(CurrentImage() != nullptr);
    const TMap *map = FHost.Map();
    const int32_t pw = map != nullptr ? map->PartsWidth() : kCreationCellSize;
    const int32_t step = pw * FHost.ZoomRatio() / 256;
    // Each button shows whether its next step would be taken.
    Button("ToolButton5")->setEnabled(FCellWidth + step <= 2 * pw);
    Button("ToolButton6")->setEnabled(FCellWidth - step > pw / 4);
}

void TChipForm::OpenImageClick()
{
    AddMapChip(std::string());
    FormResize();
}

void TChipForm::CloseImageClick()
{
    if (FTable && FTable->CloseCurrentImage())
        ImageChanged();
}

void TChipForm::FindClick()
{
    if (FSelection.Active && FHost.Find(static_cast<uint16_t>(FSelection.Index), true))
        return;
    Dialogs().Beep();
}

void TChipForm::MinimizeClick()
{
    SetRolledUp(!RolledUp());
}

void TChipForm::RollUpChanged()
{
    Button("ToolButton13")->setChecked(RolledUp());
    FormResize();
}

QString TChipForm::StatusText(int Panel) const
{
    return Panel >= 0 && Panel < 3 ? FStatusPanels[Panel]->text() : QString();
}

void TChipForm::SetStatus(int Panel, const QString &text)
{
    FStatusPanels[Panel]->setText(text);
    FStatusPanels[Panel]->setToolTip(text);
}

bool TChipForm::ForwardKeyPress(QKeyEvent *event)
{
    return FHost.KeyPress(event);
}

bool TChipForm::ForwardKeyRelease(QKeyEvent *event)
{
    return FHost.KeyRelease(event);
}

bool TChipForm::ForwardWheel(QWheelEvent *event)
{
    return FHost.Wheel(event);
}

bool TChipForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FClient && event->type() == QEvent::Resize)
        FormResize();
    return TToolWindow::eventFilter(watched, event);
}

void TChipForm::resizeEvent(QResizeEvent *event)
{
    TToolWindow::resizeEvent(event);
    // Widened for a longer status text while shown at the screen's right edge: the whole
    // window stays in view. A window being placed (hidden) keeps its stored bounds.
    if (!isVisible() || !event->oldSize().isValid() ||
        event->size().width() <= event->oldSize().width())
        return;
    if (FDragging)
        FKeepOnScreenPending = true;
    else
        KeepRightEdgeOnScreen();
}

void TChipForm::closeEvent(QCloseEvent *event)
{
    // The close box is the Window menu's command, so its check mark follows; a close never
    // refuses, so it never stands in the way of quitting.
    if (isVisible())
        FHost.ToggleWindowCommand();
    event->accept();
}

void TChipForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TChipForm::dropEvent(QDropEvent *event)
{
    event->acceptProposedAction();
    FilesDropped(event->mimeData()->urls());
}

void TChipForm::FilesDropped(const QList<QUrl> &urls)
{
    for (const QUrl &url : urls)
        if (url.isLocalFile())
            AddMapChip(url.toLocalFile().toStdString());
}
