// The parts window: the current layer's parts image, zoomed, with a grid, from which the user
// picks the part (or rectangle of parts) the pen paints with. It owns the table of loaded
// parts images (the map's layers only refer to them), opens, closes and accepts dropped
// images, marks the invisible part and picks the transparent colour. It reaches the main
// window only through TChipFormHost and knows nothing of the shell.
#pragma once

#include "ChipCanvas.h"
#include "ChipFormHost.h"
#include "TerrainMode.h"
#include "ToolWindow.h"
#include "editor/map/DefineUnit.h"
#include "editor/render/MapViewState.h"
#include "editor/render/PixelBuffer.h"

#include <memory>
#include <string>

class QAction;
class QUrl;
class QLabel;
class QScrollBar;
class TChipTable;
class TChipView;

class TChipForm : public TToolWindow, public TChipPositions
{
    Q_OBJECT
public:
    TChipForm(TChipFormHost &host, const std::string &programFolder, QWidget *owner);
    ~TChipForm() override;

    // Resets the palette for the current map document: part 0 picked, the displayed size from
    // the part size and the host's starting zoom, every loaded image freed, the image
    // plug-ins rescanned. Callers run it after the old layers are gone.
    void Init();
    // Frees the table while the map it refers to still exists: a new map replaces the
    // document right after, and nothing may look up parts of the old one.
    void ReleaseTable();
    // Loads (or reuses) an image and attaches it to the current layer; an empty name asks.
    bool AddMapChip(const std::string &fileName);
    // Files dropped on the window: each, in the order given, becomes the current layer's
    // image in turn.
    void FilesDropped(const QList<QUrl> &urls);
    // Reads images whose files changed on disk again (on every activation of the program) and
    // shows the outcome in every view.
    void CheckMapChipChanged();

    // The picked parts: a copy of the selection (part columns and rows of the image).
    TSelection GetSelectedInfo() const { return FSelection; }
    // Fills Request's Source, SrcPitch and Data with the picked parts' numbers, row by row;
    // false (Request untouched) without a map or a pick.
    bool SetCurrentData(TModified &Request) const;
    // Picks one part by number; a negative number drops the pick.
    void Selectchip(int32_t ChipNumber);
    // Moves the pick one part: 0 left, 1 right, 2 up, 3 down.
    void SelectchipAxial(int32_t Direction);
    // A negative extent made positive, and Index recomputed for AlignX columns.
    static void FixSelection(TSelection &Selection, int32_t AlignX);

    bool GetImagePosition(int32_t ChipNumber, int32_t LayerIndex, int32_t &X,
                          int32_t &Y) const override;
    TChipTable *Table() const { return FTable.get(); }

    // The picture: recompose and show.
    void UpdateFullCanvas();
    // After the pick changed, and nothing else: the picture kept from the last full
    // composition with the pick drawn anew.
    void UpdatePickCanvas();
    // Zoom: SetZoomRatio scales the displayed part size by Zoom / 256.
    void SetZoomRatio(int32_t Zoom);
    int32_t GetZoomRatio() const;
    void ResumeDrawSize();
    void ZoomIn();
    void ZoomOut();
    // The close button follows whether the current layer has an image, the zoom buttons
    // whether one more step is allowed.
    void CheckDelImageToolButton();
    // Scroll bars, view size and back buffer for the window's size, zoom and image.
    void FormResize();
    // The map's part size or its numbering changed: the displayed part size follows the new
    // part size at the zoom kept, and the scroll ranges and the picture follow at once.
    void PartsLayoutChanged();

    // Tool buttons.
    void OpenImageClick();
    void CloseImageClick();
    void FindClick();
    void MinimizeClick();

    // Pointer input of the view, in view pixels.
    void ViewMouseDown(int32_t X, int32_t Y, bool Ctrl);
    void ViewMouseMove(int32_t X, int32_t Y);
    void ViewMouseUp();
    void ViewDoubleClick();
    // A press in the view while the terrain mode is on (ChipFormTerrain.cpp): marks the
    // corner or edge under the pointer, or with Unmark takes its mark off.
    void ViewTerrainPress(int32_t X, int32_t Y, bool Unmark);
    TTerrainMode &Terrain() const { return *FTerrain; }
    void TerrainClick();

    int32_t PartsCellWidth() const { return FCellWidth; }
    int32_t PartsCellHeight() const { return FCellHeight; }
    int32_t PartsScrollX() const { return FScrollX; }
    int32_t PartsScrollY() const { return FScrollY; }
    bool Dragging() const { return FDragging; }
    QString StatusText(int Panel) const;
    QAction *Button(const char *objectName) const;
    TChipView *View() const { return FView; }
    // The composed picture the view shows.
    TPixelBuffer &Back() { return FBack; }

protected:
    bool ForwardKeyPress(QKeyEvent *event) override;
    bool ForwardKeyRelease(QKeyEvent *event) override;
    bool ForwardWheel(QWheelEvent *event) override;
    void RollUpChanged() override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QAction *AddButton(const char *objectName, const char *themeName, const char *letter,
                       void (TChipForm::*handler)());
    void ScrollBarsMoved();
    // After an image was attached or detached: layout, picture, buttons and the other views.
    void ImageChanged();
    TChipCanvasState CanvasState() const;
    TPixelBuffer *CurrentImage() const;
    int32_t AlignX() const;
    int32_t AlignY() const;
    int32_t ValueLimit() const;
    bool IsValidPart(int32_t Column, int32_t Row) const;
    void PickTransparentColor(int32_t X, int32_t Y);
    void SetStatus(int Panel, const QString &text);

    TChipFormHost &FHost;
    std::string FProgramFolder;
    std::unique_ptr<TChipTable> FTable;
    TPixelBuffer FBack;
    // The last full composition without the pick; valid until the next layout.
    TPixelBuffer FBase;
    bool FBaseValid = false;

    int32_t FCellWidth = 32; // dw, dh
    int32_t FCellHeight = 32;
    int32_t FScrollX = 0;
    int32_t FScrollY = 0;
    TSelection FSelection{1, 0, 0, 0, 0, 0};
    int32_t FPressCellX = 0;
    int32_t FPressCellY = 0;
    bool FDragging = false;
    // The map's part size the displayed part size was taken from.
    int32_t FPartsWidthShown = 0;
    int32_t FPartsHeightShown = 0;
    bool FLayingOut = false;
    // The window widened during a drag: it moves back into view once the button is up, so
    // the parts under the pointer stay put while the user picks.
    bool FKeepOnScreenPending = false;

    QWidget *FClient = nullptr;
    TChipView *FView = nullptr;
    QScrollBar *FHorzScrollBar = nullptr;
    QScrollBar *FVertScrollBar = nullptr;
    QLabel *FStatusPanels[3] = {nullptr, nullptr, nullptr};
    TTerrainMode *FTerrain = nullptr;
    void AddTerrainMode(QWidget *Content);
    void ShowTerrainMarks(const TChipCanvasState &State);
};
