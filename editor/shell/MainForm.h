// The main window: the map view with its menu, tool bar, scroll bars and status bar. It
// owns the view state, the back buffer, the selection and the clipboard object, and keeps
// the three tool windows beside it.
#pragma once

#include "common/TessellaPlugin.h"
#include "editor/map/DefineUnit.h"
#include "editor/plugins/ProjectSettings.h"
#include "editor/render/ComposedView.h"
#include "editor/render/MapViewMath.h"
#include "editor/render/MapViewState.h"
#include "editor/render/PixelBuffer.h"
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
class TTessellaClipboard;
class TFilePluginHost;
class TMainFormMessageHost;
class TMainFormPartsHost;
class TWindowMessageServer;

// The private message that runs once the message loop has started.
constexpr int WMInitializedEvent = 0x0800;

class TMainForm : public QMainWindow
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
    // Scrolled: only the scroll position changed since the last redraw, so the picture may
    // be moved rather than composed again.
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
    int32_t GetMaxIndex() const;
    bool FixedAlignment() const { return !FNewMapAlignNotFixed; }

    // Editing entry points the tool windows use.
    // Leaves pattern mode: the parts window's pick is the pen again.
    void ExitPattern();
    // Selects the next cell of the current layer holding Value after the selection.
    bool Find(uint16_t Value, bool Wrap);
    // Puts a floating block down, ends the gesture's group and drops the selection.
    void UnSelect(bool Update);
    // What Fill... does once its type is chosen (0: selected parts or pattern, 1: invisible).
    void RunFill(int32_t FillType);
    // Keys and wheel of the map view; the tool windows forward theirs here. True when used.
    bool HandleKeyPress(QKeyEvent *event);
    bool HandleKeyRelease(QKeyEvent *event);
    bool HandleWheel(QWheelEvent *event);

    // Tool input (editor/shell/ToolInput.cpp): the map view's pointer, in view pixels.
    void FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int32_t x,
                       int32_t y);
    void FormMouseMove(Qt::MouseButtons buttons, int32_t x, int32_t y);
    void FormMouseUp(Qt::MouseButton button, Qt::MouseButtons buttons);
    void FormMouseWheelDown(Qt::KeyboardModifiers modifiers);
    void FormMouseWheelUp(Qt::KeyboardModifiers modifiers);
    // Keys (editor/shell/ToolKeys.cpp); each returns true when it used the key.
    bool FormKeyDown(int key, bool autoRepeat);
    bool FormKeyUp(int key, bool autoRepeat);
    bool FormKeyPress(const QString &text);
    // Choosing a tool (editor/shell/ToolChoice.cpp): what its menu entry and button do.
    void ToolMenuItemClick(uint8_t tool);
    void SetCursorOfToolMode(uint8_t tool);
    uint8_t PreviousTool() const { return FPreviousTool; }
    // The one place a gesture ends: a floating block is put down where it is, the open
    // modification group is closed and the drag is over. Every early end goes through here.
    void EndGesture();

    // Cell writing (editor/edit/MainFormWriters.cpp).
    bool DoEditCurrentLayer();
    void WriteCurrentData(bool Update);
    void Erase(bool Update);
    void WriteTileCurrentData(bool Update);
    void WriteSingleData(int32_t Layer, const TSelection &Rect, bool Update, uint16_t Value);
    uint16_t GetCurrentChip() const;
    void FillMenuItemClick();
    void DelSelectionMenuItemClick();
    void FillSelectionMenuItemClick();
    // Selection, floating blocks and pattern (editor/edit/MainFormSelection.cpp).
    bool SelectAll(bool Update);
    TSelection GetSelection() const { return FView.Selection; }
    void WriteSelectData(bool Update);
    void SetPatternSelect();
    bool PatternMode() const { return FPatternMode; }
    const TModified &PatternData() const { return FPatternData; }
    const std::vector<TModified> &FloatingBlocks() const { return FFloatingBlocks; }
    void CloseData();
    void SelectAllMenuItemClick();
    void DoNotSelectMenuItemClick();
    // Clipboard (editor/edit/MainFormClipboard.cpp).
    bool CopyOfCurrentSelection();
    bool CutToCurrentSelection(bool Update);
    bool PasteToCurrentSelection();
    void CopyMenuItemClick();
    void CutMenuItemClick();
    void PasteMenuItemClick();
    TTessellaClipboard *Clipboard() const { return FClipboard.get(); }
    // The debug dumps "map.txt", "modify.txt", "main-scrn.bmp" and "copy.txt" into Folder
    // (the current folder when empty).
    void DebugOut_CopyData(const std::string &Folder = std::string());
    void DebugMenuItemClick();
    // Recomposes the map cells (X, Y)–(X + DX, Y + DY) and shows just them.
    void UpdateCanvas(int32_t X, int32_t Y, int32_t DX, int32_t DY);

    // Menu entries by component name, for the shortcuts, tests and tool windows.
    QAction *MenuItem(const std::string &name) const;
    // Tool bar buttons by component name.
    QAction *ToolButton(const std::string &name) const;

    // Project state.
    std::string DocumentName;
    std::string DocumentPath;
    bool RelativePaths = true;
    // The invisible part lives in the view state, the one copy every view reads.
    bool UseInvisiblePart() const { return FView.UseInvisiblePart; }
    uint16_t InvisiblePart() const { return FView.InvisiblePart; }
    void SetInvisiblePart(bool use, uint16_t part);
    std::string ProjectComment;
    int32_t ProjectPlugin = 0;
    std::vector<uint8_t> HiddenData; // the opaque block a project file carries along

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
    void UndoMenuItemClick();
    void RedoMenuItemClick();
    void FlushMenuItemClick();
    void WindowMenuItemClick(const std::string &name);
    void HideTollWindows();

    // File commands.
    bool OpenFile(const std::string &path);
    bool SaveFile(const std::string &path, int32_t mask);
    int32_t PluginProcImport(const std::string &path, const std::string &pluginFileName);
    int32_t PluginProcExport(const std::string &path, const std::string &pluginFileName);
    void SetFileToProject(const std::string &path);
    bool SaveMessage();
    bool Open();
    bool Save();
    bool SaveAs();
    bool ImportFile();
    bool Exportfile();
    std::string OpenDialogFilter(uint32_t flag) const;
    std::string SaveDialogFilter(uint32_t flag) const;
    // The handle plug-ins get for this window.
    TessellaWindow *WindowHandle() { return &FWindowHandle; }
    void OpenMenuItemClick();
    void SaveMenuItemClick();
    void SaveAsMenuItemClick();
    void ImportMenuItemClick();
    void ExportMenuItemClick();
    void ReOpenMenuItemClick();
    // Runs the command plug-in of the given table entry.
    void PluginMenuClick(size_t pluginIndex);

    // Progress of long operations and the dialog commands (editor/shell/progress/,
    // editor/shell/dialogs/, editor/edit/MainFormMapCommands.cpp).
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
    void ChangePartsSize(uint16_t Width, uint16_t Height);
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
    // The map a selection write goes to, or null when it is not ready or the selection is
    // unusable (the gesture is then ended).
    TMap *MapForSelectionWrite();
    // Runs a write as a command of its own: the running gesture ends, the write gets its
    // own group.
    void RunAsOneStep(const std::function<void()> &write);
    // Replays one group of the log in either direction (TMap::Undo or TMap::Redo) after
    // ending the running gesture, and redraws what changed.
    TSelection ReplayGroup(void (TMap::*replay)(TSelection &));
    void BuildMainMenu();
    void BuildToolBar();
    void BuildStatusBar();
    void BuildPluginMenu();
    QAction *AddMenuItem(QMenu *menu, const std::string &name, const struct TLangEntry &caption,
                         const QKeySequence &shortcut, void (TMainForm::*handler)());
    QAction *AddToolButton(const std::string &name, const struct TLangEntry &hint,
                           const char *themeIcon, const QString &fallbackText, QAction *menuItem);
    void InitHints();
    void ToggleSwitch(const std::string &menuName, const std::string &buttonName, bool &flag);
    void ApplyZoom(int32_t cellWidth, int32_t cellHeight);
    void ScrollBarsMoved();
    void FormClose();
    void SelectTool(uint8_t tool);
    // Tool input helpers (editor/shell/ToolInput.cpp).
    int32_t CurrentLayerIndex() const;
    bool BeginGesture();
    void EndDrag();
    void PressTool(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, TViewPoint cell);
    void NoteWritten(const TSelection &cells);
    void DragSelection(TViewPoint cell, TViewPoint viewCell);
    void MoveFloatingSelection(TViewPoint viewCell);
    void ReleaseTool(Qt::MouseButton button);
    void ScrollBy(int32_t columns, int32_t rows);
    void ShowCursorText(TViewPoint cell, bool inside);
    void ShowCursorGrid(TViewPoint cell);
    void RefreshCursorBlock();
    void RefreshOverview();
    void ClearSelectionForTool();
    // Recomposes the cells of a rectangle (normalised first); nothing when it is inactive.
    void RepaintCells(const TSelection &cells);
    void UpdateSelectionArea(const TSelection &before, const TSelection &after);
    void ShowSelectionStatus();
    bool LiftSelection(Qt::KeyboardModifiers modifiers);
    TModified PenData(bool &ready) const;
    // The project settings as the window holds them, for a transfer.
    TProjectSettings CurrentProjectSettings() const;
    friend class TMainFormImportTarget;
    std::optional<std::string> AskFileToSave(int32_t titleIndex, const char *title, uint32_t flag);
    std::optional<std::string> AskFileToOpen(int32_t titleIndex, const char *title, uint32_t flag);
    static intptr_t HandleSendMessage(TessellaWindow *window, uint32_t message, uintptr_t wParam,
                                      intptr_t lParam);
    static int32_t HandleAskOpenFileName(TessellaWindow *window, const char *title,
                                         const char *filter, const char *defaultExt, char *result,
                                         uint32_t resultSize);

    TessellaWindow FWindowHandle{};
    int32_t FOpenFilterIndex = 1;

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
    // The bytes after the transparent colour and after the invisible part: carried from
    // file to file, 255 for a new map.
    uint8_t FTransReserved = 255;
    uint8_t FInvisibleReserved = 255;

    // The parameters of the last new map.
    int32_t FNewMapWidth = 100;
    int32_t FNewMapHeight = 100;
    int32_t FNewMapPartsWidth = 32;
    int32_t FNewMapPartsHeight = 32;
    uint8_t FNewMapLayerCount = 1;
    uint8_t FNewMapBitCount = 8;
    bool FNewMapAlignNotFixed = false;

    std::unique_ptr<TTessellaClipboard> FClipboard;
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

    // Editing state; the view state (FView) holds the tool, the drag flag, the selection and
    // the floating flag, which the drawing reads too.
    uint8_t FPreviousTool = tmPen;
    TViewPoint FLastCell;
    // The button that started the running drag; other buttons do not end it.
    Qt::MouseButton FGestureButton = Qt::NoButton;
    TModified FCurrentData;
    TModified FPatternData;
    bool FPatternMode = false;
    std::vector<TModified> FFloatingBlocks;
    // Space was let go while the hand dragged: the previous tool returns at the release.
    bool FSpaceReleasedWhileDragging = false;
    // The map cells a pen stroke wrote, for the overview at its end.
    TSelection FStrokeArea;

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
