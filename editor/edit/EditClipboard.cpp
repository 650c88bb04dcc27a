// Copy, cut and paste through the system clipboard (also between two running editors and
// between 8-bit and 16-bit maps), and the clipboard's debug dump.
#include "EditController.h"

#include "CopyDump.h"
#include "SelectionRules.h"
#include "editor/map/DialogSeam.h"
#include "editor/map/TessellaClipboardUnit.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

bool TEditController::CopyOfCurrentSelection()
{
    TMap *map = FProject.Map();
    if (map == nullptr || !map->IsReady() || !FClipboard)
        return false;
    // A floating block is copied whole, wherever it hangs over the map's edges.
    const bool floating = FView.Floating && !FFloatingBlocks.empty();
    if (!floating && IsFailedSelection(FView.Selection, map->Width(), map->Height())) {
        FView.Selection.Active = 0;
        return false;
    }
    try {
        if (floating) {
            FClipboard->SetData(FFloatingBlocks.front(), map->BitCount());
        } else {
            TSelection source = FView.Selection;
            // Only cells of the map are read: a selection past its edge is cut.
            ClipSelection(source, map->Width(), map->Height());
            TModified request;
            request.Layer = FWindow.CurrentLayer();
            request.Source = source;
            request.SrcPitch = source.DX;
            if (!map->ReadData(request))
                return false;
            FClipboard->SetData(request, map->BitCount());
        }
    } catch (const std::exception &error) {
        Dialogs().ShowMessageBox(mkError, FailureText(error));
        return false;
    }
    FWindow.RefreshCommands();
    return true;
}

bool TEditController::CutToCurrentSelection(bool)
{
    if (!CopyOfCurrentSelection())
        return false;
    DelSelectionMenuItemClick(); // its end refreshes the overview; a floating block just goes
    return true;
}

bool TEditController::PasteToCurrentSelection()
{
    TMap *map = FProject.Map();
    if (map == nullptr || !map->IsReady() || !FClipboard || !FClipboard->HasData())
        return false;
    TModified block;
    FClipboard->GetData(block, map->BitCount());
    const int64_t values =
        (static_cast<int64_t>(block.Source.DX) + 1) * (static_cast<int64_t>(block.Source.DY) + 1);
    // A damaged or foreign block that does not hold its own size is not pasted.
    if (block.Source.DX < 0 || block.Source.DY < 0 || block.Data.empty() ||
        static_cast<int64_t>(block.Data.size()) != values) {
        Dialogs().Beep();
        return false;
    }
    UnSelect(true);
    FWindow.ChooseTool(tmSelect);
    if (!map->InModify() && !BeginGesture())
        return false;
    block.Layer = FWindow.CurrentLayer();
    block.Source.Active = 1;
    block.SrcPitch = block.Source.DX;
    TSelection &selection = FView.Selection;
    selection = block.Source;
    selection.Active = 1;
    selection.X = PasteOrigin(map->Width(), FView.ViewWidth, FView.ViewCellWidth, FView.ScrollX,
                              block.Source.DX);
    selection.Y = PasteOrigin(map->Height(), FView.ViewHeight, FView.ViewCellHeight, FView.ScrollY,
                              block.Source.DY);
    selection.Index = selection.Y * map->Width() + selection.X;
    block.Target = selection;
    FFloatingBlocks.clear();
    FFloatingBlocks.push_back(std::move(block));
    FView.FloatingBlocks = &FFloatingBlocks;
    FView.Floating = true;
    FWindow.UpdateCanvas(selection.X, selection.Y, selection.DX, selection.DY);
    FWindow.ShowSelectionStatus();
    FWindow.RefreshCommands();
    return true;
}

void TEditController::CopyMenuItemClick()
{
    CopyOfCurrentSelection();
}

void TEditController::CutMenuItemClick()
{
    CutToCurrentSelection(true);
}

void TEditController::PasteMenuItemClick()
{
    PasteToCurrentSelection();
}

void TEditController::DebugOut_CopyData(const std::string &Folder)
{
    TMap *map = FProject.Map();
    if (map == nullptr || !FClipboard || !FClipboard->HasData())
        return;
    TModified request;
    FClipboard->GetData(request, map->BitCount());
    const std::filesystem::path file = Folder.empty() ? std::filesystem::path("copy.txt")
                                                      : std::filesystem::path(Folder) / "copy.txt";
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << FormatCopyDump(request);
}
