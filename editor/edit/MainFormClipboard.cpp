// Copy, cut and paste through the system clipboard (also between two running editors and
// between 8-bit and 16-bit maps), and the debug dump command.
#include "editor/edit/CopyDump.h"
#include "editor/edit/SelectionRules.h"
#include "editor/map/DialogSeam.h"
#include "editor/map/TessellaClipboardUnit.h"
#include "editor/render/RasterPrimitives.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/MapDocument.h"
#include "editor/shell/language/Language.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

bool TMainForm::CopyOfCurrentSelection()
{
    TMap *map = MapDocument();
    if (map == nullptr || !map->IsReady() || !FClipboard)
        return false;
    if (IsFailedSelection(FView.Selection, map->Width(), map->Height())) {
        FView.Selection.Active = 0;
        return false;
    }
    try {
        if (FView.Floating && !FFloatingBlocks.empty()) {
            FClipboard->SetData(FFloatingBlocks.front(), map->BitCount());
        } else {
            TSelection source = FView.Selection;
            // Only cells of the map are read: a selection past its edge is cut.
            ClipSelection(source, map->Width(), map->Height());
            TModified request;
            request.Layer = CurrentLayerIndex();
            request.Source = source;
            request.SrcPitch = source.DX;
            if (!map->ReadData(request))
                return false;
            FClipboard->SetData(request, map->BitCount());
        }
    } catch (const std::exception &error) {
        ShowMessageBox(mkError, FailureText(error));
        return false;
    }
    ToolButtonMediator();
    return true;
}

bool TMainForm::CutToCurrentSelection(bool)
{
    if (!CopyOfCurrentSelection())
        return false;
    DelSelectionMenuItemClick(); // its end refreshes the overview
    return true;
}

bool TMainForm::PasteToCurrentSelection()
{
    TMap *map = MapDocument();
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
    ToolMenuItemClick(tmSelect);
    if (!map->InModify() && !BeginGesture())
        return false;
    block.Layer = CurrentLayerIndex();
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
    UpdateCanvas(selection.X, selection.Y, selection.DX, selection.DY);
    ShowSelectionStatus();
    ToolButtonMediator();
    return true;
}

void TMainForm::CopyMenuItemClick()
{
    CopyOfCurrentSelection();
}

void TMainForm::CutMenuItemClick()
{
    CutToCurrentSelection(true);
}

void TMainForm::PasteMenuItemClick()
{
    PasteToCurrentSelection();
}

void TMainForm::DebugOut_CopyData(const std::string &Folder)
{
    TMap *map = MapDocument();
    if (map == nullptr || !FClipboard || !FClipboard->HasData())
        return;
    TModified request;
    FClipboard->GetData(request, map->BitCount());
    const std::filesystem::path file = Folder.empty() ? std::filesystem::path("copy.txt")
                                                      : std::filesystem::path(Folder) / "copy.txt";
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << FormatCopyDump(request);
}

void TMainForm::DebugMenuItemClick()
{
    TMap *map = MapDocument();
    if (map == nullptr)
        return;
    if (map->IsReady()) {
        map->DebugOut_Map();
        map->DebugOut_Modify();
    }
    try {
        if (!FBackBuffer.IsEmpty())
            SaveBitmap24("main-scrn.bmp", FBackBuffer);
    } catch (const std::exception &error) {
        ShowMessageBox(mkError, FailureText(error));
    }
    DebugOut_CopyData();
}
