// What Fill... does once its dialog (editor/edit/MainFormMapCommands.cpp) has chosen the
// type: fills the selection of the current layer with the pen's parts (or the
// pattern) repeated, or with the invisible part, as one undo step.
#include "editor/shell/MainForm.h"
#include "editor/shell/MapDocument.h"

void TMainForm::RunFill(int32_t FillType)
{
    TMap *map = MapDocument();
    if (map == nullptr || !map->IsReady())
        return;
    EndGesture();
    const TSelection shown = FView.Selection;
    if (BeginGesture()) {
        if (FillType == 0)
            WriteTileCurrentData(true);
        else
            WriteSingleData(CurrentLayerIndex(), FView.Selection, true,
                            UseInvisiblePart() ? InvisiblePart() : 0);
        EndGesture();
    }
    FView.Selection.Active = 0;
    RepaintCells(shown);
}
