// Undo, Redo and Flush Undo Buffers: each first ends the running gesture (a floating block
// is put down and its group closed) and drops the selection, then replays one group.
#include "editor/shell/MainForm.h"
#include "editor/shell/MapDocument.h"
#include "editor/shell/windows/PreviewForm.h"

// The undo and redo commands differ only in the direction of the replay.
TSelection TMainForm::ReplayGroup(void (TMap::*replay)(TSelection &))
{
    TSelection changed;
    TMap *map = MapDocument();
    if (map == nullptr)
        return changed;
    const TSelection shown = FView.Selection;
    UnSelect(false);
    (map->*replay)(changed);
    // Only the cells replayed and the old selection's frame change on the screen.
    RepaintCells(shown);
    RepaintCells(changed);
    if (changed.Active) {
        if (FPreviewForm != nullptr)
            FPreviewForm->UpdatePreviewRect(changed.X, changed.Y, changed.DX, changed.DY);
        ToolButtonMediator();
    }
    return changed;
}

void TMainForm::UndoMenuItemClick()
{
    ReplayGroup(&TMap::Undo);
}

void TMainForm::RedoMenuItemClick()
{
    if (MapDocument() != nullptr && !ReplayGroup(&TMap::Redo).Active)
        RefreshOverview();
}

void TMainForm::FlushMenuItemClick()
{
    TMap *map = MapDocument();
    if (map == nullptr)
        return;
    // A group still open (a lifted block) is taken back before the log goes.
    if (map->InModify())
        UndoMenuItemClick();
    map->FlushModify();
    ToolButtonMediator();
}
