// Undo, Redo and Flush Undo Buffers: each first ends the running gesture (a floating block
// is put down and its group closed) and drops the selection, then replays one group.
#include "EditController.h"

// The undo and redo commands differ only in the direction of the replay.
TSelection TEditController::ReplayGroup(void (TMap::*replay)(TSelection &))
{
    TSelection changed;
    TMap *map = FProject.Map();
    if (map == nullptr)
        return changed;
    const TSelection shown = FView.Selection;
    UnSelect(false);
    (map->*replay)(changed);
    // Only the cells replayed and the old selection's frame change on the screen.
    RepaintCells(shown);
    RepaintCells(changed);
    if (changed.Active) {
        FWindow.RefreshOverviewCells(changed);
        FWindow.RefreshCommands();
    }
    return changed;
}

void TEditController::UndoMenuItemClick()
{
    ReplayGroup(&TMap::Undo);
}

void TEditController::RedoMenuItemClick()
{
    if (FProject.Map() != nullptr && !ReplayGroup(&TMap::Redo).Active)
        FWindow.RefreshOverview();
}

void TEditController::FlushMenuItemClick()
{
    TMap *map = FProject.Map();
    if (map == nullptr)
        return;
    // A group still open (a lifted block) is taken back before the log goes.
    if (map->InModify())
        UndoMenuItemClick();
    map->FlushModify();
    FWindow.RefreshCommands();
}
