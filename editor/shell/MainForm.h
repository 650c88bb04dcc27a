// The main window: the map view with its menu, tool bar, scroll bars and status bar. It
// owns the view state, the back buffer, the selection and the clipboard object, and keeps
// the three tool windows beside it.
#pragma once

#include "Settings.h"
#include "common/TessellaPlugin.h"
#include "editor/map/DefineUnit.h"
#include "editor/plugins/ProjectSettings.h"
#include "editor/render/MapViewState.h"
#include "editor/render/PixelBuffer.h"

#include <QList>
#include <QMainWindow>
#include <QUrl>
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
class TMapViewWidget;
class TPreviewForm;
class TTessellaClipboard;
class TFilePluginHost;
class TMainFormMessageHost;
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
    void RedrawAll();
    void LayerChanged();
    const TMapViewState &ViewState() const { return FView; }
    // Replaces the selection, scrolls it into view and redraws.
    void SetSelection(const TSelection &selection);
    // Centres the map view on a map cell, as far as the scroll bars allow; the caller redraws.
    void ScrollView(int32_t x, int32_t y);
    TWindowMessageServer *MessageServer() const { return FMessageServer.get(); }
    TPixelBuffer &BackBuffer() { return FBackBuffer; }
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

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void changeEvent(QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
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
};
