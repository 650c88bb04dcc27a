// The map operations of the Tool and Edit menus once their dialogs are answered: resize,
// scroll, replace, the parts size and the bit count. Each ends any running gesture first;
// resizes and bit-count changes cannot be undone, so they empty the log.
#include "EditController.h"

#include "editor/map/DialogSeam.h"

#include <algorithm>
#include <new>

namespace
{

// Part columns for numbering with fixed alignment: 16 for 8-bit maps, 256 for 16-bit.
int32_t FixedColumns(uint8_t bitCount)
{
    return bitCount == 8 ? 16 : 256;
}

std::string WithFolder(std::string text, const std::string &folder)
{
    if (const size_t at = text.find("%s"); at != std::string::npos)
        text.replace(at, 2, folder);
    return text;
}

} // namespace

void TEditController::ResizeMap(int32_t Width, int32_t Height, const TProgressProc &Progress)
{
    TMap *map = FProject.Map();
    if (map == nullptr)
        return;
    UnSelect(true);
    const uint16_t fill = UseInvisiblePart() ? InvisiblePart() : 0;
    const int32_t oldWidth = map->Width();
    const int32_t oldHeight = map->Height();
    try {
        map->ResizeMap(Width, Height, Progress, fill, 1, 3);
    } catch (const EOperationAborted &) {
    } catch (const ETemporaryFolderFailure &failure) {
        Dialogs().ShowMessageBox(
            mkError, WithFolder(Dialogs().GetLangMessage(46, "The map cannot be resized: the "
                                                             "temporary folder %s is missing, "
                                                             "full or not writable."),
                                failure.Folder()));
    } catch (const std::exception &error) {
        Dialogs().ShowMessageBox(mkError, FailureText(error));
    }
    // Records made before keep the old row width: replaying them would scramble cells.
    if (map->Width() != oldWidth || map->Height() != oldHeight)
        map->FlushModify();
}

void TEditController::ScrollMap(int32_t Horizontal, int32_t Vertical, bool AllLayers,
                                const TProgressProc &Progress)
{
    TMap *map = FProject.Map();
    if (map == nullptr)
        return;
    UnSelect(true);
    // Offsets are negated: a positive value moves the picture right or down. Reduced first,
    // so that negating the smallest integer cannot overflow.
    const auto negated = [](int32_t offset, int32_t size) {
        return static_cast<int32_t>(-(static_cast<int64_t>(offset) % std::max(size, 1)));
    };
    const int32_t layer = AllLayers ? -1 : FWindow.CurrentLayer();
    if (!AllLayers && layer < 0)
        return;
    try {
        map->ScrollMap(negated(Horizontal, map->Width()), negated(Vertical, map->Height()), layer,
                       Progress);
    } catch (const std::exception &) {
        // The map gives up silently and has put every layer back.
    }
}

int64_t TEditController::ReplaceChip(uint16_t Find, uint16_t Replace)
{
    TMap *map = FProject.Map();
    const int32_t layer = FWindow.CurrentLayer();
    if (map == nullptr || !map->IsValidLayer(layer))
        return -1;
    UnSelect(true);
    const std::vector<uint16_t> &cells = map->GetLayer(layer).Data;
    const int64_t found = std::count(cells.begin(), cells.end(), Find);
    const bool replaced = map->ReplaceChip(Find, Replace, layer);
    FWindow.RefreshCommands();
    return replaced ? found : -1;
}

void TEditController::ChangePartsSize(uint16_t Width, uint16_t Height)
{
    TMap *map = FProject.Map();
    if (map == nullptr || (Width == map->PartsWidth() && Height == map->PartsHeight()))
        return;
    FView.ViewCellWidth = Width;
    FView.ViewCellHeight = Height;
    map->SetPartsSize(Width, Height);
    FWindow.PartsLayoutChanged();
    FWindow.ViewLayoutChanged();
    Dialogs().ShowMessageBox(
        mkInformation,
        Dialogs().GetLangMessage(
            41, "Parts size was changed. Please load a new parts image that suits the size."));
}

void TEditController::ChangeBitCount(uint8_t BitCount, bool FixedAlignment)
{
    TMap *map = FProject.Map();
    if (map == nullptr)
        return;
    const uint8_t oldBits = map->BitCount();
    const bool oldFixed = FProject.FixedAlignment();
    const auto columnsOf = [&](bool fixed, uint8_t bits, int32_t layer) {
        return fixed ? FixedColumns(bits) : FWindow.ImageColumns(BitCount, layer);
    };
    if (BitCount != oldBits || FixedAlignment != oldFixed) {
        // Cells the new numbering cannot hold are reset and cannot be had back: ask first.
        int64_t lost = 0;
        for (int32_t layer = 0; layer < map->LayerCount() % 256; ++layer)
            lost += map->CountRemapOverflows(columnsOf(oldFixed, oldBits, layer),
                                             columnsOf(FixedAlignment, BitCount, layer), BitCount,
                                             layer);
        if (lost > 0) {
            std::string text = Dialogs().GetLangMessage(
                45, "%d cells use parts above 255 and will be reset. Continue?");
            if (const size_t at = text.find("%d"); at != std::string::npos)
                text.replace(at, 2, std::to_string(lost));
            if (Dialogs().AskQuestion(Dialogs().GetLangString(6, "Caution"), text,
                                      TQuestionButtons::OkCancel,
                                      TQuestionIcon::Warning) != TAnswer::Ok)
                return;
        }
        UnSelect(true);
        // The numbering changes its columns: the invisible part starts again at 0.
        FProject.SetFixedAlignment(FixedAlignment);
        FView.InvisiblePart = 0;
        // A layer's columns without fixed alignment: its image's, else the fixed count.
        for (int32_t layer = 0; layer < map->LayerCount() % 256; ++layer)
            map->RemapChipNumbers(columnsOf(oldFixed, oldBits, layer),
                                  columnsOf(FixedAlignment, BitCount, layer), BitCount, 0, layer);
        map->SetModified();
    }
    map->FlushModify();
    FWindow.RedrawAll();
    FWindow.MarkPickedPart(0);
    FWindow.PartsLayoutChanged();
    FWindow.RefreshOverview();
    FWindow.RefreshCommands();
}
