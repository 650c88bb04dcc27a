// The main window: the map view with its menu, tool bar, scroll bars and status bar, the
// three tool windows beside it, drops, window messages, and the settings at start and exit.
// It owns the view state and the back buffer the drawing uses, the project document, and
// the classes that do the work behind its commands: the edit controller, the tool input
// and the file commands, each reaching the window through a small host of its own.
#pragma once

#include "common/TessellaPlugin.h"
#include "editor/edit/ProjectDocument.h"
#include "editor/render/ComposedView.h"
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
#include <string>

class QAction;
class QActionGroup;
class QKeyEvent;
class QLabel;
class QMenu;
class QScrollBar;
class QToolBar;
class TChipForm;
class TEditController;
class TFileCommands;
class TFilePluginHost;
class TLayerForm;
class TMainFormEditHost;
class TMainFormFileHost;
class TMainFormMessageHost;
class TMainFormPartsHost;
class TMainFormToolInputHost;
class TMapViewWidget;
class TPreviewForm;
class TProgressDisplay;
class TProgressForm;
class TToolInput;
class TViewZoom;
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
    // Scrolled: only the scroll position changed, so the picture may move, not be composed.
    void RedrawAll(bool scrolled = false);
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

    // Menu entries and tool bar buttons by component name (shortcuts, tests, tool windows).
    QAction *MenuItem(const std::string &name) const;
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
    // The map view's zoom commands.
    TViewZoom &Zoom() { return *FZoom; }
    void WindowMenuItemClick(const std::string &name);
    void HideTollWindows();

    // The file commands (Open, Save, Import, Export, Reload) and the handle plug-ins get.
    TFileCommands &Files() { return *FFiles; }
    TessellaWindow *WindowHandle() { return &FWindowHandle; }
    // Progress of long operations: the callback file plug-ins get reports to the program's
    // main window; Progress().Callback() serves the map's transforms and image plug-ins.
    static int32_t ProgressProc(int32_t Position, int32_t Total, const char *Message);
    TProgressDisplay &Progress() { return *FProgress; }
    // Hides the tool windows; shows again those whose menu entry is checked.
    void HideAllClients();
    void ShowAllClients();

    // The dialog commands (editor/shell/dialogs/).
    void NewMenuItemClick();
    void ProjectMenuItemClick();
    void OptionMenuItemClick();
    void VersionMenuItemClick();
    void ResizeMenuItemClick();
    void ScrollMenuItemClick();
    void ReplaceMenuItemClick();
    void ChangePartsSizeMenuItemClick();
    void ChangeBitCountDialogMenuItemClick();
    // A tool window's close box runs its Window menu command (not once this window closed).
    void ToolWindowClosed(const std::string &menuName);

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
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
    void ScrollBarsMoved();
    void FormClose();
    void SelectTool(uint8_t tool);
    void ScrollBy(int32_t columns, int32_t rows);
    void ShowSelectionStatus();
    // The tool windows (MainFormToolWindows.cpp).
    void ConnectToolWindowCommands();
    void ShowToolWindowFromSetting(const std::string &menuName, bool visible);
    void InitToolWindowHints();
    // The view's part of the project's settings (TProjectView).
    void ReadViewSettings(TProjectSettings &Settings) const override;
    void TakeViewSettings(const TProjectSettings &Settings) override;
    friend class TMainFormEditHost;
    friend class TMainFormFileHost;
    friend class TMainFormPartsHost;
    friend class TMainFormToolInputHost;
    friend class TViewZoom;
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
    TComposedView FComposedView; // what FBackBuffer shows
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
    std::unique_ptr<TMainFormPartsHost> FPartsHost;

    // The editing and the tool input work on the view state (FView), which holds what the
    // drawing reads of them: the tool, the drag, the selection and its floating blocks.
    std::unique_ptr<TMainFormEditHost> FEditHost;
    std::unique_ptr<TEditController> FEdit;
    std::unique_ptr<TMainFormToolInputHost> FToolInputHost;
    std::unique_ptr<TToolInput> FToolInput;
    std::unique_ptr<TMainFormFileHost> FFileHost;
    std::unique_ptr<TFileCommands> FFiles;
    std::unique_ptr<TProgressDisplay> FProgress;
    std::unique_ptr<TViewZoom> FZoom;
};
