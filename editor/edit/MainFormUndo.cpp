// Undo, Redo and Flush Undo Buffers: each first ends the running gesture (a floating block
// is put down and its group closed) and drops the selection, then replays one group.
#include "editor/shell/MainForm.h"
#include "editor/shell/MapDocument.h"
#include "editor/shell/windows/PreviewForm.h"

void TMainForm::UndoMenuItemClick()
{
    TMap *map = MapDocument();
    if (map == nullptr)
        return;
    const TSelection shown = FView.Selection;
    UnSelect(false);
    TSelection changed;
    map->Undo(changed);
    // Only the cells taken back and the old selection's frame change on the screen.
    RepaintCells(shown);
    RepaintCells(changed);
    if (changed.Active) {
        if (FPreviewForm != nullptr)
            FPreviewForm->UpdatePreviewRect(changed.X, changed.Y, changed.DX, changed.DY);
        ToolButtonMediator();
    }
}

void TMainForm::RedoMenuItemClick()
{
    TMap *map = MapDocument();
    if (map == nullptr)
        return;
    const TSelection shown = FView.Selection;
    UnSelect(false);
    TSelection changed;
    map->Redo(changed);
    RepaintCells(shown);
    RepaintCells(changed);
    if (changed.Active) {
        if (FPreviewForm != nullptr)
            FPreviewForm->UpdatePreviewRect(changed.X, changed.Y, changed.DX, changed.DY);
        ToolButtonMediator();
    } else {
        RefreshOverview();
    }
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
