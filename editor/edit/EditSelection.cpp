// The edit controller's selection: selecting all, dropping the selection (putting a
// floating block down), putting blocks down, and making the selection the pattern the pen
// tools use.
#include "EditController.h"

#include "FloatingBlocks.h"
#include "SelectionRules.h"

bool TEditController::SelectAll(bool Update)
{
    TMap *map = FProject.Map();
    if (map == nullptr || !map->IsReady())
        return false;
    FView.Selection = TSelection{1, 0, 0, map->Width() - 1, map->Height() - 1, 0};
    if (Update) {
        FWindow.RedrawAll();
        FWindow.RefreshCommands();
    }
    return true;
}

void TEditController::UnSelect(bool Update)
{
    const TSelection shown = FView.Selection;
    // Putting a floating block down and closing its group is the gesture's end.
    EndGesture();
    FView.Selection.Active = 0;
    FView.FoundMark = false;
    // All that changes on the screen lies under the selection: its frame and a block put down.
    if (Update)
        RepaintCells(shown);
    FWindow.RestoreToolCursor();
    FView.FoundMark = false;
    FWindow.ShowSelectionStatus();
}

void TEditController::WriteSelectData(bool Update)
{
    TMap *map = FProject.Map();
    if (map == nullptr || !map->IsReady())
        return;
    const TSelection written = PutBlocksDown(*map, FFloatingBlocks, FView.Selection, GetMaxIndex());
    if (!written.Active) {
        // Wholly off the map: nothing is written and the lift's group ends here.
        if (map->InModify())
            map->EndModify();
        return;
    }
    NoteWritten(written);
    if (Update) {
        FWindow.UpdateCanvas(written.X, written.Y, written.DX, written.DY);
        FWindow.RefreshCommands();
    }
}

void TEditController::SetPatternSelect()
{
    TMap *map = FProject.Map();
    if (map == nullptr || !FView.Selection.Active)
        return;
    TSelection source = FView.Selection;
    FixSelection(source, map->Width());
    // Only cells of the map can be read.
    ClipSelection(source, map->Width(), map->Height());
    if (!LiesInsideMap(source, map->Width(), map->Height()))
        return;
    TModified pattern;
    pattern.Source = source;
    pattern.SrcPitch = source.DX;
    pattern.Layer = FWindow.CurrentLayer();
    if (!map->ReadData(pattern))
        return;
    FPatternData = std::move(pattern);
    // The parts window highlights the pattern's part when it is a single one. Its pick
    // would leave pattern mode, so pattern mode begins after it.
    FWindow.MarkPickedPart(FPatternData.Data.size() == 1 ? FPatternData.Data.front() : -1);
    FPatternMode = true;
    RefreshCursorBlock();
    FWindow.RefreshCommands();
}

void TEditController::ExitPattern()
{
    FPatternMode = false;
    FPatternData.Source.Active = 0;
    FPatternData.Target.Active = 0;
    FPatternData.Data.assign(1, 0);
    RefreshCursorBlock();
}

void TEditController::SelectAllMenuItemClick()
{
    UnSelect(false);
    FWindow.ChooseTool(tmSelect);
    SelectAll(true);
}

void TEditController::DoNotSelectMenuItemClick()
{
    UnSelect(true);
    FWindow.RefreshCommands();
}

void TEditController::ClearSelectionForTool()
{
    const TSelection shown = FView.Selection;
    UnSelect(false);
    // The old selection's hatch (or a block put down there) must not stay on the screen.
    RepaintCells(shown);
}
