// Find: selects the next cell of the current layer holding a part number, marked as a find
// result, and brings it into view.
#include "editor/edit/SelectionRules.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/MapDocument.h"

bool TMainForm::Find(uint16_t Value, bool Wrap)
{
    TMap *map = MapDocument();
    if (map == nullptr || !map->IsReady())
        return false;
    // A floating block is put down before the selection moves away from it.
    if (FView.Floating)
        EndGesture();
    const int32_t layer = CurrentLayerIndex();
    int64_t start = FindStartIndex(FView.Selection, FView.FoundMark);
    int64_t hit = map->FindChip(Value, layer, start);
    if (hit < 0 && Wrap && start > 0)
        hit = map->FindChip(Value, layer, 0);
    if (hit < 0)
        return false;
    const int32_t width = map->Width();
    const TSelection shown = FView.Selection;
    FView.Selection =
        CellSelection(static_cast<int32_t>(hit % width), static_cast<int32_t>(hit / width), width);
    FView.FoundMark = true;
    const int32_t scrollX = FView.ScrollX;
    const int32_t scrollY = FView.ScrollY;
    ScrollView(FView.Selection.X, FView.Selection.Y);
    if (FView.ScrollX != scrollX || FView.ScrollY != scrollY) {
        RedrawAll();
    } else {
        RepaintCells(shown);
        RepaintCells(FView.Selection);
    }
    ShowSelectionStatus();
    ToolButtonMediator();
    return true;
}
