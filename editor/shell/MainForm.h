// The main window: the map view with its menu, tool bar, scroll bars and status bar. It
// owns the view state, the back buffer, the selection and the clipboard object, and keeps
// the three tool windows beside it.
#pragma once

#include "common/TessellaPlugin.h"
#include "editor/edit/ProjectDocument.h"
#include "editor/map/DefineUnit.h"
#include "editor/render/MapViewMath.h"
#include "editor/render/MapViewState.h"
#include "editor/render/PixelBuffer.h"
#include "editor/shell/MapDocument.h"
#include "editor/shell/settings/Settings.h"

#include <QList>
#include <QMainWindow>
#include <QUrl>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QKeyEvent;
class QWheelEvent;
class QActionGroup;
class QLabel;
class QMenu;
class QScrollBar;
class QToolBar;
class TChipForm;
class TLayerForm;
class TMap;
class TMapViewWidget;
class TPreviewForm;
class TProgressForm;
class TFilePluginHost;
class TMainFormMessageHost;
class TMainFormEditHost;
class TMainFormToolInputHost;
class TEditController;
class TToolInput;
class TFileCommands;
class TMainFormFileHost;
class TMainFormPartsHost;
class TWindowMessageServer;

// The private message that runs once the message loop has started.
constexpr int WMInitializedEvent = 0x0800;

class TMainForm : public QMainWindow, private TProjectView
{
    Q_OBJECT
public:
    // FormCreate: scans the file plug-ins, reads the settings, builds menus and tool bar.
    // Initialized() is false when no file plug-in was found.
    explicit TMainForm(const std::string &programFolder);
    ~TMainForm() override;

    bool Initialized() const { return FInitialized; }
    // Creates the parts, layer and overview windows, in that order.
    void CreateToolWindows();

    TChipForm *ChipForm() const { return FChipForm; }
    TLayerForm *LayerForm() const { return FLayerForm; }
    TPreviewForm *PreviewForm() const { return FPreviewForm; }
    TFilePluginHost *Plugins() const { return FPlugins.get(); }

    // Creates a fresh map document; false when a layer could not be added.
    bool CreateNewMap(int32_t width, int32_t height, int32_t layerCount, int32_t partsWidth,
                      int32_t partsHeight, uint8_t bitCount, bool fixedAlignment);
    // The first map: the command line's file or the default 100 × 100 map.
    void WMInitialized();
    // The file the first map comes from (a full path); empty for the default map.
    void SetCommandLineFile(const std::string &path) { FCommandLineFile = path; }
    // A file dropped on the window or named on the command line.
    void OpenDroppedFile(const std::string &path);
    // What a drop on the window does: the first of the files is opened once the drop is over.
    void FilesDropped(const QList<QUrl> &urls);

    // View state.
    void Init();
    void ApplyEditorFlags();
    std::string FormatTittle() const;
    void UpdateTitle();
    void ToolButtonMediator();
    void FormResize();
    void RedrawAll();
    void LayerChanged();
    const TMapViewState &ViewState() const { return FView; }
    // Replaces the selection, scrolls it into view and redraws.
    void SetSelection(const TSelection &selection);
    // Centres the map view on a map cell, as far as the scroll bars allow; the caller redraws.
    void ScrollView(int32_t x, int32_t y);
    TWindowMessageServer *MessageServer() const { return FMessageServer.get(); }
    TPixelBuffer &BackBuffer() { return FBackBuffer; }
    TMapViewWidget *MapView() const { return FViewWidget; }
    // The text of status bar panel 0 (cursor), 1 (selection) or 2 (displayed area).
    std::string StatusText(int32_t panel) const;
    int32_t GetMaxIndex() const;
    bool FixedAlignment() const { return FProject.FixedAlignment(); }
    // The open project: the map and what its file carries beside the cells.
    TProjectDocument &Project() { return FProject; }
    const TProjectDocument &Project() const { return FProject; }

    // The editing and the tool input; their commands are the Edit and Tool menus' entries.
    TEditController &Edit() { return *FEdit; }
    TToolInput &ToolInput() { return *FToolInput; }
    // Recomposes the map cells (X, Y)–(X + DX, Y + DY) and shows just them.
    void UpdateCanvas(int32_t X, int32_t Y, int32_t DX, int32_t DY);
    // The debug dumps "map.txt", "modify.txt", "main-scrn.bmp" and "copy.txt".
    void DebugMenuItemClick();
    void FillMenuItemClick();

    // Menu entries by component name, for the shortcuts, tests and tool windows.
    QAction *MenuItem(const std::string &name) const;
    // Tool bar buttons by component name.
    QAction *ToolButton(const std::string &name) const;

    // The invisible part lives in the view state, the one copy every view reads.
    bool UseInvisiblePart() const { return FView.UseInvisiblePart; }
    uint16_t InvisiblePart() const { return FView.InvisiblePart; }
    void SetInvisiblePart(bool use, uint16_t part);

    // Display switch commands (each toggles its check mark, stores the flag and redraws).
    void ShowGridMenuItemClick();
    void ShowCGridMenuItemClick();
    void ShowMarkerMenuItemClick();
    void LayerFogMenuItemClick();
    void ShowNumberMenuItemClick();
    void DoTransMenuItemClick();
    void TransColorMenuItemClick();
    void EditZoomInMenuItemClick();
    void EditZoomOutMenuItemClick();
    void EditZoomNormMenuItemClick();
    void ViewScaleClick(int32_t divisor);
    void WindowMenuItemClick(const std::string &name);
    void HideTollWindows();

    // The file commands: Open, Save, Save As, Import, Export, Reload and the save question.
    TFileCommands &Files() { return *FFiles; }
    // The handle plug-ins get for this window.
    TessellaWindow *WindowHandle() { return &FWindowHandle; }

    // Progress of long operations and the dialog commands (editor/shell/progress/,
    // editor/shell/dialogs/).
    // The progress callback file plug-ins get; it reports to the editor's main window.
    static int32_t ProgressProc(int32_t Position, int32_t Total, const char *Message);
    bool ReportProgress(int32_t Position, int32_t Total, const std::string &Message);
    // The same callback for the map's transforms and the image plug-ins.
    TProgressProc ProgressCallback();
    // A progress window exists: the program takes no commands until it ends.
    bool ProgressRunning() const { return FProgressForm != nullptr; }
    TProgressForm *ProgressForm() const { return FProgressForm.get(); }
    // Hides the tool windows; shows again those whose menu entry is checked.
    void HideAllClients();
    void ShowAllClients();
    void NewMenuItemClick();
    void ProjectMenuItemClick();
    void OptionMenuItemClick();
    void VersionMenuItemClick();
    void ResizeMenuItemClick();
    void ScrollMenuItemClick();
    void ReplaceMenuItemClick();
    void ChangePartsSizeMenuItemClick();
    void ChangeBitCountDialogMenuItemClick();

    // What the tool windows need of the main window (MainFormToolWindows.cpp).
    const TPixelBuffer &BackgroundBitmap() const { return FBackground; }
    int32_t ZoomRatio() const { return FSettings.ZoomRatio; }
    uint16_t PartsWindowZoom() const { return FPartsWindowZoom; }
    void SetTransColor(uint32_t color) { FView.TransColor = color; }
    // A tool window's close box: its Window menu command, so the check mark and tool bar
    // button follow; nothing once the main window has closed.
    void ToolWindowClosed(const std::string &menuName);

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void changeEvent(QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // Keys the map view (or any child) did not use arrive here.
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void BuildMainMenu();
    void BuildToolBar();
    void BuildStatusBar();
    void BuildPluginMenu();
    QAction *AddMenuItem(QMenu *menu, const std::string &name, const struct TLangEntry &caption,
                         const QKeySequence &shortcut, const std::function<void()> &handler);
    QAction *AddToolButton(const std::string &name, const struct TLangEntry &hint,
                           const char *themeIcon, const QString &fallbackText, QAction *menuItem);
    void InitHints();
    void ToggleSwitch(const std::string &menuName, const std::string &buttonName, bool &flag);
    void ApplyZoom(int32_t cellWidth, int32_t cellHeight);
    void ScrollBarsMoved();
    void FormClose();
    void SelectTool(uint8_t tool);
    void ScrollBy(int32_t columns, int32_t rows);
    void ShowSelectionStatus();
    friend class TMainFormEditHost;
    friend class TMainFormToolInputHost;
    // The view's part of the project's settings (TProjectView).
    void ReadViewSettings(TProjectSettings &Settings) const override;
    void TakeViewSettings(const TProjectSettings &Settings) override;
    friend class TMainFormFileHost;
    static intptr_t HandleSendMessage(TessellaWindow *window, uint32_t message, uintptr_t wParam,
                                      intptr_t lParam);

    TessellaWindow FWindowHandle{};

    std::string FProgramFolder;
    std::string FCommandLineFile;
    bool FInitialized = false;
    bool FViewReady = false;
    bool FClosingWritten = false;
    bool FToolWindowsHidden = false;

    TMainFormSettings FSettings;
    TMapViewState FView;
    TPixelBuffer FBackBuffer;
    TPixelBuffer FBackground;
    uint16_t FViewZoom = 256;
    uint16_t FPartsWindowZoom = 256;
    uint16_t FOverviewScale = 2;
    TWindowBounds FRestoreBounds;
    int32_t FNumberColorType = 0;
    TProjectDocument FProject{&MapDocument};

    std::unique_ptr<TFilePluginHost> FPlugins;
    std::unique_ptr<TMainFormMessageHost> FMessageHost;
    std::unique_ptr<TWindowMessageServer> FMessageServer;
    std::map<std::string, QAction *> FMenuItems;
    std::map<std::string, QAction *> FToolButtons;
    QActionGroup *FToolGroup = nullptr;
    QMenu *FPluginMenu = nullptr;
    QToolBar *FToolBar = nullptr;
    TMapViewWidget *FViewWidget = nullptr;
    QScrollBar *FHorzScrollBar = nullptr;
    QScrollBar *FVertScrollBar = nullptr;
    QLabel *FStatusPanels[3] = {nullptr, nullptr, nullptr};

    TChipForm *FChipForm = nullptr;
    TLayerForm *FLayerForm = nullptr;
    TPreviewForm *FPreviewForm = nullptr;

    // The editing and the tool input work on the view state (FView), which holds what the
    // drawing reads of them: the tool, the drag, the selection and its floating blocks.
    std::unique_ptr<TMainFormEditHost> FEditHost;
    std::unique_ptr<TEditController> FEdit;
    std::unique_ptr<TMainFormToolInputHost> FToolInputHost;
    std::unique_ptr<TToolInput> FToolInput;
    std::unique_ptr<TMainFormFileHost> FFileHost;
    std::unique_ptr<TFileCommands> FFiles;

    // The progress window of a running operation (editor/shell/progress/).
    void StartProgress(bool cancelable, int32_t maximum);
    void EndProgress();
    void ProgressWindowShown();
    struct TProgressFormDeleter {
        void operator()(TProgressForm *form) const;
    };
    std::unique_ptr<TProgressForm, TProgressFormDeleter> FProgressForm;
    bool FProgressHidWindows = false;

    // The tool windows (MainFormToolWindows.cpp).
    void ConnectToolWindowCommands();
    void ShowToolWindowFromSetting(const std::string &menuName, bool visible);
    void InitToolWindowHints();
    std::unique_ptr<TMainFormPartsHost> FPartsHost;
};
