// The main window's life: creation, the view state, the title, layout, and closing.
#include "MainForm.h"

#include "MainFormEditHost.h"
#include "MainFormFileHost.h"
#include "MapDocument.h"
#include "ViewZoom.h"
#include "common/platform/CurrentDirectory.h"
#include "editor/edit/EditController.h"
#include "editor/edit/SelectionRules.h"
#include "editor/map/DialogSeam.h"
#include "editor/map/TessellaClipboardUnit.h"
#include "editor/parts/ChipForm.h"
#include "editor/parts/ToolWindow.h"
#include "editor/plugins/FileCommands.h"
#include "editor/plugins/FilePluginHost.h"
#include "editor/plugins/PluginNotice.h"
#include "editor/render/BackgroundBitmap.h"
#include "editor/render/MapViewMath.h"
#include "editor/render/MapViewRenderer.h"
#include "editor/render/RasterPrimitives.h"
#include "editor/shell/input/MainFormToolInputHost.h"
#include "editor/shell/input/MapViewWidget.h"
#include "editor/shell/input/ToolInput.h"
#include "editor/shell/language/Language.h"
#include "editor/shell/messages/MainFormMessages.h"
#include "editor/shell/messages/WindowMessageSocket.h"
#include "editor/shell/progress/ProgressDisplay.h"
#include "editor/shell/settings/SettingsFile.h"
#include "editor/shell/windows/LayerForm.h"
#include "editor/shell/windows/MainFormPartsHost.h"
#include "editor/shell/windows/PreviewForm.h"
#include "editor/shell/windows/ToolWindowPlacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMimeData>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QWindowStateChangeEvent>
#include <cmath>

TMainForm::TMainForm(const std::string &programFolder)
    : QMainWindow(nullptr), FProgramFolder(programFolder), FPlugins(new TFilePluginHost)
{
    setWindowTitle("Tessella");
    setAcceptDrops(true);
    FWindowHandle.StructSize = sizeof(TessellaWindow);
    FWindowHandle.Host = this;
    FWindowHandle.SendMessage = &TMainForm::HandleSendMessage;
    FWindowHandle.AskOpenFileName = &TFileCommands::AskOpenFileNameForPlugin;
    FWindowHandle.ShowNotice = &ShowPluginNotice;
    // The editing, the tool input and the file commands exist from the start, so that
    // every path (also a start without plug-ins) can reach them.
    FEditHost = std::make_unique<TMainFormEditHost>(*this);
    FEdit = std::make_unique<TEditController>(FProject, FView, *FEditHost);
    FEdit->SetTerrainWindow(FEditHost.get());
    FToolInputHost = std::make_unique<TMainFormToolInputHost>(*this);
    FToolInput = std::make_unique<TToolInput>(*FEdit, FView, *FToolInputHost);
    FFileHost = std::make_unique<TMainFormFileHost>(*this);
    FFiles = std::make_unique<TFileCommands>(FProject, *FPlugins, *FFileHost);
    FProgress = std::make_unique<TProgressDisplay>(*this);
    FZoom = std::make_unique<TViewZoom>(*this);
    // Other programs reach the messages without addresses through a local socket; the
    // editor works on without it when none can be made.
    FMessageHost = std::make_unique<TMainFormMessageHost>(*this);
    FMessageServer = std::make_unique<TWindowMessageServer>(*FMessageHost);
    FMessageServer->Listen();

    if (!FPlugins->LoadPlugins(programFolder, "Plugins")) {
        ShowMessageBox(mkError, GetLangMessage(22, "File I/O plug-in was not found."));
        return;
    }
    SetCurrentDirectoryPath(programFolder);

    FSettings = ReadMainFormSettings(SettingsFile());
    FFiles->Recent().Assign(ReadRecentFiles(SettingsFile()));
    const TWindowBounds &bounds = FSettings.MainWindow;
    PlaceWindow(*this, QRect(bounds.Left, bounds.Top, bounds.Width, bounds.Height));
    FRestoreBounds = bounds;
    if (FSettings.MainWinMaximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    FViewZoom = FSettings.MainWinZoom;
    FPartsWindowZoom = 256;
    FOverviewScale = 2;
    FBackground = MakeBackgroundBitmap();

    FView.NumberColor = FSettings.NumberColor;
    FView.NumberBkColor = FSettings.NumberBkColor;
    FView.BoxNumber = FSettings.BoxNumber;
    FView.NumberMin = static_cast<uint8_t>(FSettings.NumberMin);
    FView.forceinvnum = static_cast<uint8_t>(FSettings.ForceInvNum);
    FView.GridMin = static_cast<uint8_t>(FSettings.GridMin);
    FView.UseTranslucentSelect = FSettings.UseTranslucentSelect;

    BuildMainMenu();
    BuildPluginMenu();
    BuildToolBar();

    auto *central = new QWidget(this);
    auto *grid = new QGridLayout(central);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    FViewWidget = new TMapViewWidget(this);
    FHorzScrollBar = new QScrollBar(Qt::Horizontal, central);
    FVertScrollBar = new QScrollBar(Qt::Vertical, central);
    grid->addWidget(FViewWidget, 0, 0);
    FViewWidget->setFocus(); // the keys of the tools go to the map view
    grid->addWidget(FVertScrollBar, 0, 1);
    grid->addWidget(FHorzScrollBar, 1, 0);
    setCentralWidget(central);
    connect(FHorzScrollBar, &QScrollBar::valueChanged, this, [this] { ScrollBarsMoved(); });
    connect(FVertScrollBar, &QScrollBar::valueChanged, this, [this] { ScrollBarsMoved(); });
    BuildStatusBar();

    MenuItem("EraserToolMenuItem")->setVisible(FSettings.UseEraser);
    MenuItem("EraserToolMenuItem")->setEnabled(FSettings.UseEraser);
    ToolButton("EraserToolButton")->setVisible(FSettings.UseEraser);

    FProject.ProjectPlugin = FPlugins->ProjectPluginIndex();
    FProject.AttachView(this);

    Init();
    FView.ShowGrid = FSettings.ShowGrid;
    FView.ShowNumber = FSettings.ShowNumber;
    FView.ShowCGrid = FSettings.ShowCGrid;
    FView.ShowMarker = FSettings.ShowMarker;
    FView.FogMode = FSettings.FogMode;
    FView.GridColor = FSettings.GridColor;
    FView.AGridColor = FSettings.AGridColor;
    ApplyEditorFlags();

    FViewReady = true;
    FInitialized = true;
    FView.Initialized = true;
}

TMainForm::~TMainForm()
{
    // The tool windows go first, while everything they may ask of this window still exists.
    delete FPreviewForm;
    delete FLayerForm;
    delete FChipForm;
}

void TMainForm::CreateToolWindows()
{
    const int32_t workWidth = screen() != nullptr ? screen()->availableGeometry().width() : 1280;
    FPartsHost = std::make_unique<TMainFormPartsHost>(*this);
    FChipForm = new TChipForm(*FPartsHost, FProgramFolder, this);
    const TToolWindowSettings parts = ReadPartsWindowSettings(SettingsFile(), workWidth);
    ApplyToolWindowSettings(*FChipForm, parts);
    FLayerForm = new TLayerForm(this);
    const TToolWindowSettings layers =
        ReadLayerWindowSettings(SettingsFile(), workWidth, parts.Bounds);
    ApplyToolWindowSettings(*FLayerForm, layers);
    FPreviewForm = new TPreviewForm(this);
    const TToolWindowSettings overview =
        ReadOverviewWindowSettings(SettingsFile(), workWidth, layers.Bounds);
    ApplyToolWindowSettings(*FPreviewForm, overview);
    ConnectToolWindowCommands();
    ShowToolWindowFromSetting("PartsWindowMenuItem", parts.Visible);
    ShowToolWindowFromSetting("LayerWindowMenuItem", layers.Visible);
    ShowToolWindowFromSetting("OVWindowMenuItem", overview.Visible);
}

void TMainForm::ReadViewSettings(TProjectSettings &Settings) const
{
    Settings.EditorFlags[0] = FView.ShowGrid;
    Settings.EditorFlags[1] = FView.ShowNumber;
    Settings.EditorFlags[2] = 0;
    Settings.EditorFlags[3] = FView.ShowCGrid;
    Settings.EditorFlags[4] = FView.ShowMarker;
    Settings.EditorFlags[5] = FView.FogMode;
    Settings.TransEnabled = FView.TransEnabled;
    Settings.TransColor = FView.TransColor;
    Settings.UseInvisiblePart = FView.UseInvisiblePart;
    Settings.InvisiblePart = FView.InvisiblePart;
    Settings.GridColor = FView.GridColor;
    Settings.AGridColor = FView.AGridColor;
    const TMap *map = MapDocument();
    const int32_t partsWidth = map != nullptr && map->PartsWidth() > 0 ? map->PartsWidth() : 1;
    Settings.Zoom = static_cast<uint16_t>(
        std::nearbyint(static_cast<double>(FView.ViewCellWidth) / partsWidth * 256.0));
}

void TMainForm::TakeViewSettings(const TProjectSettings &Settings)
{
    FView.TransEnabled = Settings.TransEnabled != 0;
    FView.TransColor = Settings.TransColor;
    SetInvisiblePart(Settings.UseInvisiblePart != 0, Settings.InvisiblePart);
}

void TMainForm::SetInvisiblePart(bool use, uint16_t part)
{
    FView.UseInvisiblePart = use;
    FView.InvisiblePart = part;
}

void TMainForm::Init()
{
    if (FEdit)
        FEdit->CloseData();
    if (const TMap *map = MapDocument()) {
        FView.ViewCellWidth = ViewCellSizeFromZoom(map->PartsWidth(), FViewZoom);
        FView.ViewCellHeight = ViewCellSizeFromZoom(map->PartsHeight(), FViewZoom);
    } else {
        FView.ViewCellWidth = ViewCellSizeFromZoom(32, FViewZoom);
        FView.ViewCellHeight = ViewCellSizeFromZoom(32, FViewZoom);
    }
    if (FHorzScrollBar != nullptr) {
        const QSignalBlocker blockH(FHorzScrollBar);
        const QSignalBlocker blockV(FVertScrollBar);
        FHorzScrollBar->setValue(0);
        FVertScrollBar->setValue(0);
    }
    SelectTool(tmPen);
    FProject.DocumentName = GetLangString(0, "Untitled");
    FProject.DocumentPath.clear();
    FView.CurrentLayerOnly = false;
    FToolWindowsHidden = false;
    FViewReady = true;
    FView.ViewReady = true;
}

void TMainForm::ApplyEditorFlags()
{
    // Each switch goes through its own command so check marks, buttons and flags agree.
    struct TSwitch {
        const char *Menu;
        bool Flag;
        void (TMainForm::*Command)();
    };
    const TSwitch switches[] = {
        {"DoTransMenuItem", FView.TransEnabled, &TMainForm::DoTransMenuItemClick},
        {"ShowGridMenuItem", FView.ShowGrid, &TMainForm::ShowGridMenuItemClick},
        {"ShowCGridMenuItem", FView.ShowCGrid, &TMainForm::ShowCGridMenuItemClick},
        {"ShowNumberMenuItem", FView.ShowNumber, &TMainForm::ShowNumberMenuItemClick},
        {"ShowMarkerMenuItem", FView.ShowMarker, &TMainForm::ShowMarkerMenuItemClick},
        {"LayerFogMenuItem", FView.FogMode, &TMainForm::LayerFogMenuItemClick},
    };
    for (const TSwitch &item : switches) {
        MenuItem(item.Menu)->setChecked(!item.Flag);
        (this->*item.Command)();
    }
    FNumberColorType = ReadNumberColorType(SettingsFile());
    if (FNumberColorType == 4)
        FView.NumberColor = FView.GridColor;
    else if (FNumberColorType == 5)
        FView.NumberColor = FView.AGridColor;
    if (const TMap *map = MapDocument()) {
        FView.ViewCellWidth = ViewCellSizeFromZoom(map->PartsWidth(), FViewZoom);
        FView.ViewCellHeight = ViewCellSizeFromZoom(map->PartsHeight(), FViewZoom);
    }
}

std::string TMainForm::FormatTittle() const
{
    const TMap *map = MapDocument();
    const int32_t bits = map != nullptr ? map->BitCount() : 0;
    const int32_t partsWidth = map != nullptr && map->PartsWidth() > 0 ? map->PartsWidth() : 1;
    std::string layerName;
    if (FLayerForm != nullptr && map != nullptr) {
        const int32_t layer = FLayerForm->GetCurrentLayerIndex();
        if (layer >= 0)
            layerName = map->GetLayerName(layer);
    }
    std::string title = "Tessella " + FProject.DocumentName + "(" + std::to_string(bits) + "bit) " +
                        " @ " + std::to_string(FView.ViewCellWidth * 100 / partsWidth) + "%" + "(" +
                        layerName + ") ";
    if (map != nullptr && map->IsModified())
        title += "*";
    return title;
}

void TMainForm::UpdateTitle()
{
    // While work runs the title says so; the end of the progress puts the title back.
    if (FProgress && FProgress->Running())
        return;
    setWindowTitle(QString::fromStdString(FormatTittle()));
}

bool TMainForm::CreateNewMap(int32_t width, int32_t height, int32_t layerCount, int32_t partsWidth,
                             int32_t partsHeight, uint8_t bitCount, bool fixedAlignment)
{
    // The running gesture ends before the map it works on goes.
    FEdit->EndGesture();
    try {
        auto map = std::make_unique<TMap>();
        map->Initialize(width, height, partsWidth, partsHeight, bitCount);
        // The parts table refers to the old map: it goes before the map does.
        if (FChipForm != nullptr)
            FChipForm->ReleaseTable();
        ReplaceMapDocument(std::move(map));
        // The new map carries nothing of the file that was open before.
        FProject.Reset(GetLangString(0, "Untitled"), fixedAlignment);
        Init();
        ApplyEditorFlags();
        FView.InvisiblePart = 0;
        if (FLayerForm != nullptr) {
            FLayerForm->Init();
            for (int32_t i = 0; i < static_cast<uint8_t>(layerCount); ++i) {
                if (!FLayerForm->AddLayer(GetLangString(7, "Layer") + std::to_string(i)))
                    return false;
            }
        } else {
            for (int32_t i = 0; i < static_cast<uint8_t>(layerCount); ++i)
                MapDocument()->AddLayer(GetLangString(7, "Layer") + std::to_string(i), nullptr,
                                        UseInvisiblePart() ? InvisiblePart() : 0);
        }
        if (FChipForm != nullptr)
            FChipForm->Init();
        MapDocument()->ClearModified();
        FormResize();
        UpdateTitle();
        if (FPreviewForm != nullptr) {
            FPreviewForm->InitPreview(FOverviewScale);
            FPreviewForm->setVisible(MenuItem("OVWindowMenuItem")->isChecked());
        }
        if (FChipForm != nullptr)
            FChipForm->setVisible(MenuItem("PartsWindowMenuItem")->isChecked());
        if (FLayerForm != nullptr)
            FLayerForm->setVisible(MenuItem("LayerWindowMenuItem")->isChecked());
        ToolButtonMediator();
    } catch (const std::exception &) {
        ShowMessageBox(mkError, "fatal : TMainForm.CreateNewMap");
        return false;
    }
    return true;
}

void TMainForm::WMInitialized()
{
    InitHints();
    // A first file that cannot be opened leaves the default map, as a dropped one does.
    if (!FCommandLineFile.empty() && FFiles->SaveMessage() &&
        FFiles->OpenDocument(FCommandLineFile))
        return;
    CreateNewMap(100, 100, 1, 32, 32, 8, true);
}

void TMainForm::OpenDroppedFile(const std::string &path)
{
    if (!FFiles->SaveMessage())
        return;
    try {
        if (FFiles->OpenDocument(path.substr(0, std::min<size_t>(path.size(), 4096))))
            return;
    } catch (const std::exception &) {
    }
    if (MapDocument() == nullptr || !MapDocument()->IsReady())
        CreateNewMap(100, 100, 1, 32, 32, 8, true);
}

bool TMainForm::event(QEvent *event)
{
    if (event->type() == static_cast<QEvent::Type>(QEvent::User + WMInitializedEvent)) {
        WMInitialized();
        return true;
    }
    return QMainWindow::event(event);
}

void TMainForm::SetSelection(const TSelection &selection)
{
    // A floating block is put down where it is before the selection moves away from it.
    if (FView.Floating)
        FEdit->EndGesture();
    FView.Selection = selection;
    FView.FoundMark = false;
    const TMap *map = MapDocument();
    if (map != nullptr && FView.ViewCellWidth > 0 && FView.ViewCellHeight > 0 &&
        FHorzScrollBar != nullptr) {
        // Bring the selection's top-left cell into view when it lies outside.
        const int32_t columns = std::max(1, FView.ViewWidth / FView.ViewCellWidth);
        const int32_t rows = std::max(1, FView.ViewHeight / FView.ViewCellHeight);
        if (selection.X < FView.ScrollX || selection.X >= FView.ScrollX + columns)
            FHorzScrollBar->setValue(CentredScrollPosition(selection.X, map->Width(),
                                                           FView.ViewWidth, FView.ViewCellWidth));
        if (selection.Y < FView.ScrollY || selection.Y >= FView.ScrollY + rows)
            FVertScrollBar->setValue(CentredScrollPosition(selection.Y, map->Height(),
                                                           FView.ViewHeight, FView.ViewCellHeight));
    }
    ToolButtonMediator();
    RedrawAll();
}

std::string TMainForm::StatusText(int32_t panel) const
{
    if (panel < 0 || panel > 2 || FStatusPanels[panel] == nullptr)
        return std::string();
    return FStatusPanels[panel]->text().toStdString();
}

void TMainForm::LayerChanged()
{
    FView.CurrentLayer = FLayerForm != nullptr ? FLayerForm->GetCurrentLayerIndex() : -1;
    // A drag does not go on into a layer that may not be edited.
    if (FView.Dragging && FLayerForm != nullptr &&
        !FLayerForm->GetLayerVisibleState(FView.CurrentLayer))
        FEdit->EndDrag();
    UpdateTitle();
    ToolButtonMediator();
    RedrawAll();
}

void TMainForm::FormResize()
{
    TMap *map = MapDocument();
    if (map == nullptr || !map->IsReady() || FViewWidget == nullptr)
        return;
    if (FView.ViewCellWidth <= 0 || FView.ViewCellHeight <= 0)
        return;
    QWidget *area = centralWidget();
    int32_t viewWidth = area->width();
    int32_t viewHeight = area->height();
    const int64_t mapPixelsWide = static_cast<int64_t>(FView.ViewCellWidth) * map->Width();
    const int64_t mapPixelsHigh = static_cast<int64_t>(FView.ViewCellHeight) * map->Height();
    const bool showHorz = viewWidth < mapPixelsWide;
    if (showHorz)
        viewHeight -= FHorzScrollBar->sizeHint().height();
    const bool showVert = viewHeight < mapPixelsHigh;
    if (showVert)
        viewWidth -= FVertScrollBar->sizeHint().width();
    FHorzScrollBar->setVisible(showHorz);
    FVertScrollBar->setVisible(showVert);
    viewWidth = std::max(viewWidth, 1);
    viewHeight = std::max(viewHeight, 1);
    FView.ViewWidth = viewWidth;
    FView.ViewHeight = viewHeight;

    auto layOut = [](QScrollBar *bar, int32_t mapSize, int32_t viewSize, int32_t cellSize,
                     bool shown) {
        const QSignalBlocker block(bar);
        const int32_t largeChange = viewSize / cellSize;
        bar->setRange(0, shown ? std::max(0, mapSize - largeChange) : 0);
        bar->setPageStep(std::max(1, std::min(largeChange + 1, mapSize)));
        bar->setSingleStep(1);
        if (bar->value() > mapSize - largeChange)
            bar->setValue(std::max(0, mapSize - largeChange));
    };
    layOut(FHorzScrollBar, map->Width(), viewWidth, FView.ViewCellWidth, showHorz);
    layOut(FVertScrollBar, map->Height(), viewHeight, FView.ViewCellHeight, showVert);
    FView.ScrollX = showHorz ? FHorzScrollBar->value() : 0;
    FView.ScrollY = showVert ? FVertScrollBar->value() : 0;

    FBackBuffer.SetSize(viewWidth, viewHeight, FView.TransEnabled ? 24 : 32);
    const int32_t statusWidth = statusBar()->width();
    const int widths[3] = {(statusWidth * 40 + 99) / 100, (statusWidth * 30 + 99) / 100,
                           (statusWidth * 30 + 99) / 100};
    for (int i = 0; i < 3; ++i)
        FStatusPanels[i]->setMinimumWidth(std::max(0, widths[i] - 8));
    RedrawAll();
    if (FPreviewForm != nullptr)
        FPreviewForm->UpdatePreview();
}

void TMainForm::ScrollBarsMoved()
{
    FView.ScrollX = FHorzScrollBar->isVisible() ? FHorzScrollBar->value() : 0;
    FView.ScrollY = FVertScrollBar->isVisible() ? FVertScrollBar->value() : 0;
    RedrawAll(true);
    if (FPreviewForm != nullptr)
        FPreviewForm->DrawViewFrame();
}

void TMainForm::ScrollView(int32_t x, int32_t y)
{
    const TMap *map = MapDocument();
    if (map == nullptr || FView.ViewCellWidth <= 0 || FView.ViewCellHeight <= 0)
        return;
    // Both bars move before anything is drawn.
    FViewReady = false;
    FHorzScrollBar->setValue(
        CentredScrollPosition(x, map->Width(), FView.ViewWidth, FView.ViewCellWidth));
    FVertScrollBar->setValue(
        CentredScrollPosition(y, map->Height(), FView.ViewHeight, FView.ViewCellHeight));
    FViewReady = true;
}

void TMainForm::RedrawAll(bool scrolled)
{
    TMap *map = MapDocument();
    if (map == nullptr || FChipForm == nullptr || FBackBuffer.IsEmpty())
        return;
    FView.ViewReady = FViewReady;
    FEdit->RefreshCursorBlock();
    TMapViewRenderer renderer(*map, FView, *FChipForm, FBackBuffer, &FBackground);
    if (scrolled)
        renderer.ComposeScrolled(FComposedView);
    else
        renderer.ComposeFull(&FComposedView);
    ShowSelectionStatus();
    if (FStatusPanels[2] != nullptr)
        FStatusPanels[2]->setText(
            QString::fromStdString(DisplayStatusText(FView, map->Width(), map->Height())));
    if (FViewWidget != nullptr)
        FViewWidget->update();
}

void TMainForm::UpdateCanvas(int32_t X, int32_t Y, int32_t DX, int32_t DY)
{
    TMap *map = MapDocument();
    if (map == nullptr || FChipForm == nullptr || FBackBuffer.IsEmpty() || FViewWidget == nullptr)
        return;
    FView.ViewReady = FViewReady;
    FEdit->RefreshCursorBlock();
    // Only the cells on the view are composed.
    const int32_t columns = FView.ViewWidth / std::max(1, FView.ViewCellWidth) + 1;
    const int32_t rows = FView.ViewHeight / std::max(1, FView.ViewCellHeight) + 1;
    const int32_t left = std::max(X - FView.ScrollX, 0);
    const int32_t top = std::max(Y - FView.ScrollY, 0);
    const int32_t right = std::min(X + DX - FView.ScrollX, columns);
    const int32_t bottom = std::min(Y + DY - FView.ScrollY, rows);
    if (right < left || bottom < top)
        return;
    TMapViewRenderer renderer(*map, FView, *FChipForm, FBackBuffer, &FBackground);
    const TPixelRect area = renderer.ComposeRegion(left, top, right - left, bottom - top);
    if (area.IsEmpty())
        return;
    FViewWidget->update(QRect(area.Left, area.Top, area.Width(), area.Height()));
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    // The save question decides; a refused close keeps everything as it is.
    if (!FFiles->SaveMessage()) {
        event->ignore();
        return;
    }
    FViewReady = false;
    FormClose();
    event->accept();
}

void TMainForm::FormClose()
{
    if (FClosingWritten || FChipForm == nullptr || FPreviewForm == nullptr)
        return;
    FClosingWritten = true;
    const TMap *map = MapDocument();
    const int32_t partsWidth = map != nullptr && map->PartsWidth() > 0 ? map->PartsWidth() : 32;
    FViewZoom =
        static_cast<uint16_t>(static_cast<double>(FView.ViewCellWidth) / partsWidth * 256.0);
    FPartsWindowZoom = static_cast<uint16_t>(FChipForm->GetZoomRatio());
    FOverviewScale = static_cast<uint16_t>(FPreviewForm->PreviewScale());

    TClosingSettings closing;
    closing.ShowGrid = FView.ShowGrid;
    closing.ShowCGrid = FView.ShowCGrid;
    closing.ShowNumber = FView.ShowNumber;
    closing.ShowMarker = FView.ShowMarker;
    closing.FogMode = FView.FogMode;
    closing.GridColor = FView.GridColor;
    closing.AGridColor = FView.AGridColor;
    closing.NumberColor = FView.NumberColor;
    const QRect frame = PlacedBounds(*this);
    closing.MainWindow = {frame.x(), frame.y(), frame.width(), frame.height()};
    closing.RestoreBounds = FRestoreBounds;
    closing.MainWinVisible = isVisible();
    closing.MainWinMaximized = isMaximized();
    closing.MainWinZoom = FViewZoom;
    closing.PartsWindow = ToolWindowState(*FChipForm);
    closing.LayerWindow = ToolWindowState(*FLayerForm);
    closing.OverviewWindow = ToolWindowState(*FPreviewForm);
    WriteClosingSettings(SettingsFile(), closing);
    SaveSettingsFile();
}

void TMainForm::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    if (!isMaximized() && !isFullScreen()) {
        const QRect frame = PlacedBounds(*this);
        FRestoreBounds = {frame.x(), frame.y(), frame.width(), frame.height()};
    }
}

void TMainForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // The bounds from before maximizing are what the next start restores.
    if (!isMaximized() && !isFullScreen()) {
        const QRect frame = PlacedBounds(*this);
        FRestoreBounds = {frame.x(), frame.y(), frame.width(), frame.height()};
    }
}

void TMainForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty())
        return;
    event->acceptProposedAction();
    FilesDropped(urls);
}

void TMainForm::FilesDropped(const QList<QUrl> &urls)
{
    if (urls.isEmpty())
        return;
    // Only the first file of a drop is opened.
    const std::string path = urls.first().toLocalFile().toStdString();
    QTimer::singleShot(0, this, [this, path] { OpenDroppedFile(path); });
}

void TMainForm::ScrollBy(int32_t columns, int32_t rows)
{
    const TMap *map = MapDocument();
    if (map == nullptr || FHorzScrollBar == nullptr)
        return;
    const int32_t horizontal =
        ClampScrollPosition(FHorzScrollBar->value() + columns, map->Width(),
                            FView.ViewWidth / std::max(1, FView.ViewCellWidth));
    const int32_t vertical =
        ClampScrollPosition(FVertScrollBar->value() + rows, map->Height(),
                            FView.ViewHeight / std::max(1, FView.ViewCellHeight));
    if (horizontal == FHorzScrollBar->value() && vertical == FVertScrollBar->value())
        return;
    // Both bars move before the one redraw.
    FViewReady = false;
    FHorzScrollBar->setValue(horizontal);
    FVertScrollBar->setValue(vertical);
    FViewReady = true;
    ScrollBarsMoved();
}

void TMainForm::ShowSelectionStatus()
{
    if (FStatusPanels[1] == nullptr)
        return;
    // With the terrain brush the panel tells the brush while nothing is selected.
    if (FView.ToolMode == tmTerrain && !FView.Selection.Active) {
        FToolInput->ShowTerrainBrushStatus();
        return;
    }
    FStatusPanels[1]->setText(QString::fromStdString(FView.Selection.Active
                                                         ? SelectionStatusText(FView.Selection)
                                                         : GetLangString(10, "Selection N/A")));
}

void TMainForm::keyPressEvent(QKeyEvent *event)
{
    if (FToolInput->HandleKeyPress(event))
        event->accept();
    else
        QMainWindow::keyPressEvent(event);
}

void TMainForm::keyReleaseEvent(QKeyEvent *event)
{
    if (FToolInput->HandleKeyRelease(event))
        event->accept();
    else
        QMainWindow::keyReleaseEvent(event);
}

void TMainForm::DebugMenuItemClick()
{
    TMap *map = MapDocument();
    if (map == nullptr)
        return;
    if (map->IsReady()) {
        map->DebugOut_Map();
        map->DebugOut_Modify();
    }
    try {
        if (!FBackBuffer.IsEmpty())
            SaveBitmap24("main-scrn.bmp", FBackBuffer);
    } catch (const std::exception &error) {
        ShowMessageBox(mkError, FailureText(error));
    }
    FEdit->DebugOut_CopyData();
}
