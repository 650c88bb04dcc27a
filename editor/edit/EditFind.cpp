// Find: selects the next cell of the current layer holding a part number, marked as a find
// result, and brings it into view.
#include "EditController.h"

#include "SelectionRules.h"

bool TEditController::Find(uint16_t Value, bool Wrap)
{
    TMap *map = FProject.Map();
    if (map == nullptr || !map->IsReady())
        return false;
    // A floating block is put down before the selection moves away from it.
    if (FView.Floating)
        EndGesture();
    const int32_t layer = FWindow.CurrentLayer();
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
    FWindow.ScrollView(FView.Selection.X, FView.Selection.Y);
    if (FView.ScrollX != scrollX || FView.ScrollY != scrollY) {
        FWindow.RedrawAll();
    } else {
        RepaintCells(shown);
        RepaintCells(FView.Selection);
    }
    FWindow.ShowSelectionStatus();
    FWindow.RefreshCommands();
    return true;
}
