// The edit controller: everything the tools and editing commands do to the open project's
// map — the pen's parts and the pattern, the selection and its floating blocks, the open
// gesture (one modification group from press to release, with every early end going
// through EndGesture), the cell writers, selection and clipboard commands, find, undo and
// redo, and the map-operation commands once their dialogs have been answered. It writes the
// selection and gesture state into the view state the drawing reads, and reaches the
// window only through TEditWindow; messages go through the dialog seam.
#pragma once

#include "EditWindow.h"
#include "ProjectDocument.h"
#include "TerrainBrush.h"
#include "TerrainMatcher.h"
#include "TerrainWindow.h"
#include "editor/map/DefineUnit.h"
#include "editor/render/MapViewState.h"
#include "editor/render/TerrainMarks.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TMap;
class TTessellaClipboard;

// Raised through a map operation's progress when the user aborts it; the map has put
// everything back, and the controller ends the operation quietly.
class EOperationAborted : public std::exception
{
};

class TEditController
{
public:
    TEditController(TProjectDocument &Project, TMapViewState &View, TEditWindow &Window);
    ~TEditController();
    TEditController(const TEditController &) = delete;
    TEditController &operator=(const TEditController &) = delete;

    // The map being edited; null while none exists.
    TMap *Map() const { return FProject.Map(); }
    // 256 for 8-bit maps, 65536 for 16-bit maps.
    int32_t GetMaxIndex() const;
    bool UseInvisiblePart() const { return FView.UseInvisiblePart; }
    uint16_t InvisiblePart() const { return FView.InvisiblePart; }

    // The gesture (EditGesture.cpp). BeginGesture opens its modification group; EndGesture
    // is the one place a gesture ends: a floating block is put down where it is, the group
    // is closed, the drag is over and the overview shows the cells written.
    bool BeginGesture();
    void EndGesture();
    // A drag cut short (tool change, hidden layer): a block stays lifted, a dragged
    // rectangle is normalised, anything else ends as a gesture.
    void EndDrag();
    // False, after telling the user, when the current layer is hidden (the gesture ends).
    bool DoEditCurrentLayer();
    // The document is going: its floating blocks and its drag go with it, unwritten.
    void CloseData();
    // Recomposes the cells of a rectangle (normalised first); nothing when it is inactive.
    void RepaintCells(const TSelection &Cells);
    // The block the cursor grid outlines: the pattern's, otherwise the parts window's pick.
    void RefreshCursorBlock();

    // Presses and drags of the tools (EditStrokes.cpp): the pen or eraser stroke begins at a
    // cell and goes on to the next cells; the other tools select the pressed cell.
    bool BeginStroke(int32_t X, int32_t Y);
    void StrokeTo(int32_t X, int32_t Y);
    void SelectCellForTool(int32_t X, int32_t Y);
    // Lifts the selection into floating blocks: the current layer, or every visible one;
    // KeepSource leaves the cells where they were (a copy).
    bool LiftSelection(bool EveryLayer, bool KeepSource);
    // Ctrl+press on a floating block: put it down here and lift a copy of it at once.
    bool StampFloatingSelection(bool EveryLayer);
    // The dragged corner of the selection moves to a cell; a floating block moves by cells.
    void DragSelectionTo(int32_t X, int32_t Y);
    void MoveFloatingSelection(int32_t DX, int32_t DY);
    // What each tool does at the release.
    void ReleaseTiledPen();
    void ReleaseFill();
    void ReleasePattern();
    void ReleaseSelect();

    // Cell writers (EditWriters.cpp), inside the group the caller opened.
    void WriteCurrentData(bool Update);
    void Erase(bool Update);
    void WriteTileCurrentData(bool Update);
    void WriteSingleData(int32_t Layer, const TSelection &Rect, bool Update, uint16_t Value);
    uint16_t GetCurrentChip() const;
    void DelSelectionMenuItemClick();
    void FillSelectionMenuItemClick();
    // What Fill... does once its type is chosen (0: selected parts or pattern, 1: invisible).
    void RunFill(int32_t FillType);

    // Selection, floating blocks and pattern (EditSelection.cpp).
    bool SelectAll(bool Update);
    // Puts a floating block down, ends the gesture's group and drops the selection.
    void UnSelect(bool Update);
    // The selection the tool had goes before a tool starts anew (its frame is redrawn).
    void ClearSelectionForTool();
    void WriteSelectData(bool Update);
    void SetPatternSelect();
    // Leaves pattern mode: the parts window's pick is the pen again.
    void ExitPattern();
    void SelectAllMenuItemClick();
    void DoNotSelectMenuItemClick();
    TSelection GetSelection() const { return FView.Selection; }
    bool PatternMode() const { return FPatternMode; }
    const TModified &PatternData() const { return FPatternData; }
    const std::vector<TModified> &FloatingBlocks() const { return FFloatingBlocks; }

    // Clipboard (EditClipboard.cpp).
    bool CopyOfCurrentSelection();
    bool CutToCurrentSelection(bool Update);
    bool PasteToCurrentSelection();
    void CopyMenuItemClick();
    void CutMenuItemClick();
    void PasteMenuItemClick();
    TTessellaClipboard *Clipboard() const { return FClipboard.get(); }
    // "copy.txt" of the debug dumps into Folder (the current folder when empty).
    void DebugOut_CopyData(const std::string &Folder = std::string());

    // Find, undo and redo (EditFind.cpp, EditUndo.cpp).
    // Selects the next cell of the current layer holding Value after the selection.
    bool Find(uint16_t Value, bool Wrap);
    void UndoMenuItemClick();
    void RedoMenuItemClick();
    void FlushMenuItemClick();

    // The map operations once their dialogs are answered (EditMapCommands.cpp).
    void ResizeMap(int32_t Width, int32_t Height, const TProgressProc &Progress);
    void ScrollMap(int32_t Horizontal, int32_t Vertical, bool AllLayers,
                   const TProgressProc &Progress);
    // Returns how many cells of the current layer held Find; -1 when nothing was done.
    int64_t ReplaceChip(uint16_t Find, uint16_t Replace);
    void ChangePartsSize(uint16_t Width, uint16_t Height);
    void ChangeBitCount(uint8_t BitCount, bool FixedAlignment);

    // Terrain painting (EditTerrain.cpp), with the sets and the chosen terrain from Window.
    // A stroke paints the view state's brush at each cell it passes, one undo step from the
    // press to the release; the fill replaces a terrain's region in one step; the right button
    // picks the terrain under the pointer (U, V: where in the cell, in [0, 1)).
    void SetTerrainWindow(TTerrainWindow *Window);
    bool BeginTerrainStroke(int32_t X, int32_t Y);
    void TerrainStrokeTo(int32_t X, int32_t Y);
    bool TerrainFill(int32_t X, int32_t Y);
    void ReleaseTerrainFill();
    bool PickTerrain(int32_t X, int32_t Y, double U, double V);
    bool FillsTerrain() const;
    // The random choices among equal parts in the strokes from now on follow Seed.
    void SetTerrainSeed(uint64_t Seed);
    const TTerrainMarks &TerrainMarks() const { return FTerrainMarks; }

private:
    // The map a selection write goes to, or null when it is not ready or the selection is
    // unusable (the gesture is then ended).
    TMap *MapForSelectionWrite();
    // Runs a write as a command of its own: the running gesture ends, the write gets its
    // own group.
    void RunAsOneStep(const std::function<void()> &Write);
    // Replays one group of the log in either direction (TMap::Undo or TMap::Redo) after
    // ending the running gesture, and redraws what changed.
    TSelection ReplayGroup(void (TMap::*Replay)(TSelection &));
    TModified PenData(bool &Ready) const;
    // Delete and Cut of a floating block: the block goes, the cells it floated over stay.
    void DiscardFloatingBlocks();
    void NoteWritten(const TSelection &Cells);
    void UpdateSelectionArea(const TSelection &Before, const TSelection &After);

    TProjectDocument &FProject;
    TMapViewState &FView;
    TEditWindow &FWindow;
    std::unique_ptr<TTessellaClipboard> FClipboard;
    TModified FCurrentData;
    TModified FPatternData;
    bool FPatternMode = false;
    std::vector<TModified> FFloatingBlocks;
    // The map cells the running gesture wrote, for the overview at its end.
    TSelection FStrokeArea;

    // The chosen terrain's set as the current layer numbers its parts, for the running
    // stroke; its seed; the cells marked for want of a fitting part.
    bool PrepareTerrain();
    void PaintTerrainCells(const std::vector<TTerrainCell> &Cells);
    TTerrainWindow *FTerrainWindow = nullptr;
    std::unique_ptr<TTerrainMatcher> FTerrainMatcher;
    uint8_t FTerrain = 0;
    int32_t FTerrainLayer = -1;
    uint64_t FTerrainSeedBase = 0;
    uint64_t FTerrainStrokes = 0;
    uint64_t FTerrainSeed = 0;
    TTerrainMarks FTerrainMarks;
};
