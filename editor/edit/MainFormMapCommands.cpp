// The main window's map-operation commands: Fill..., Resize, Scroll, Replace, Change parts
// size and Change bit count. Each shows its dialog, ends any running gesture, calls the
// map's transform and refreshes the views. Resize and bit-count changes cannot be undone.
#include "editor/map/DialogSeam.h"
#include "editor/parts/ChipForm.h"
#include "editor/parts/ChipTable.h"
#include "editor/shell/DialogRunner.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/MapDocument.h"
#include "editor/shell/dialogs/BitCountDialog.h"
#include "editor/shell/dialogs/FillDialog.h"
#include "editor/shell/dialogs/ReplaceDialog.h"
#include "editor/shell/dialogs/ScrollDialog.h"
#include "editor/shell/dialogs/SizeDialog.h"
#include "editor/shell/language/LangTexts.h"
#include "editor/shell/language/Language.h"
#include "editor/shell/windows/LayerForm.h"
#include "editor/shell/windows/PreviewForm.h"

#include <new>

namespace
{

// Raised through the map's resize when the user aborts it; the map puts every layer back.
class EResizeAborted : public std::exception
{
};

// Part columns for numbering with fixed alignment: 16 for 8-bit maps, 256 for 16-bit.
int32_t FixedColumns(uint8_t bitCount)
{
    return bitCount == 8 ? 16 : 256;
}

} // namespace

void TMainForm::FillMenuItemClick()
{
    if (MapDocument() == nullptr)
        return;
    TFillDialog dialog(this);
    if (RunModal(dialog) == QDialog::Accepted)
        RunFill(dialog.FillType());
}

void TMainForm::ResizeMenuItemClick()
{
    TMap *map = MapDocument();
    if (map == nullptr)
        return;
    TSizeDialog dialog(TSizeDialogKind::MapSize, map->Width(), map->Height(), this);
    if (RunModal(dialog) != QDialog::Accepted)
        return;
    UnSelect(true);
    // The map can put every layer back, so this progress offers its abort button. Rows count
    // from 1: a report of position 0 would open the display again and forget an abort.
    const TProgressProc progress = [this](int32_t position, int32_t total,
                                          const std::string &message) {
        if (position == total && position < -2)
            return ReportProgress(0, 1 - total, message);
        if (position >= 0 && position < total) {
            if (!ReportProgress(position + 1, total + 1, message))
                throw EResizeAborted();
            return true;
        }
        return ReportProgress(position, total, message);
    };
    const uint16_t fill = UseInvisiblePart() ? InvisiblePart() : 0;
    const int32_t oldWidth = map->Width();
    const int32_t oldHeight = map->Height();
    try {
        map->ResizeMap(dialog.NewWidth(), dialog.NewHeight(), progress, fill, 1, 3);
    } catch (const EResizeAborted &) {
    } catch (const ETemporaryFolderFailure &failure) {
        std::string text = GetLangMessage(LangMessage::TemporaryFolderUnusable);
        if (const size_t at = text.find("%s"); at != std::string::npos)
            text.replace(at, 2, failure.Folder());
        ShowMessageBox(mkError, text);
    } catch (const std::exception &error) {
        ShowMessageBox(mkError, FailureText(error));
    }
    if (ProgressRunning())
        EndProgress();
    if (map->Width() != oldWidth || map->Height() != oldHeight) {
        // Records made before keep the old row width: replaying them would scramble cells.
        map->FlushModify();
        FNewMapWidth = map->Width();
        FNewMapHeight = map->Height();
    }
    FormResize();
    if (FPreviewForm != nullptr)
        FPreviewForm->FormResize();
    UpdateTitle();
    ToolButtonMediator();
}

void TMainForm::ScrollMenuItemClick()
{
    TMap *map = MapDocument();
    if (map == nullptr)
        return;
    TScrollDialog dialog(this);
    if (RunModal(dialog) != QDialog::Accepted)
        return;
    UnSelect(true);
    // Offsets are negated: a positive value moves the picture right or down. Reduced first,
    // so that negating the smallest integer cannot overflow.
    const auto negated = [](int32_t offset, int32_t size) {
        return static_cast<int32_t>(-(static_cast<int64_t>(offset) % std::max(size, 1)));
    };
    const int32_t layer =
        dialog.AllLayers() ? -1 : (FLayerForm != nullptr ? FLayerForm->GetCurrentLayerIndex() : -1);
    if (!dialog.AllLayers() && layer < 0)
        return;
    try {
        map->ScrollMap(negated(dialog.Horizontal(), map->Width()),
                       negated(dialog.Vertical(), map->Height()), layer, ProgressCallback());
    } catch (const std::exception &) {
        // The map gives up silently; only its progress is still to be closed.
    }
    if (ProgressRunning())
        EndProgress();
    RedrawAll();
    if (FPreviewForm != nullptr)
        FPreviewForm->UpdatePreview();
    UpdateTitle();
    ToolButtonMediator();
}

void TMainForm::ReplaceMenuItemClick()
{
    TMap *map = MapDocument();
    if (map == nullptr || FLayerForm == nullptr)
        return;
    TReplaceDialog dialog(map->BitCount(), this);
    if (RunModal(dialog) == QDialog::Accepted) {
        const int32_t layer = FLayerForm->GetCurrentLayerIndex();
        if (map->IsValidLayer(layer)) {
            UnSelect(true);
            map->ReplaceChip(dialog.SearchNumber(), dialog.ReplaceNumber(), layer);
            UpdateTitle();
            ToolButtonMediator();
        }
    }
    RedrawAll();
    if (FPreviewForm != nullptr)
        FPreviewForm->UpdatePreview();
}

void TMainForm::ChangePartsSizeMenuItemClick()
{
    TMap *map = MapDocument();
    if (map == nullptr)
        return;
    TSizeDialog dialog(TSizeDialogKind::PartsSize, map->PartsWidth(), map->PartsHeight(), this);
    if (RunModal(dialog) != QDialog::Accepted)
        return;
    ChangePartsSize(static_cast<uint16_t>(dialog.NewWidth()),
                    static_cast<uint16_t>(dialog.NewHeight()));
    map->SetModified();
    UpdateTitle();
    RedrawAll();
    if (FChipForm != nullptr)
        FChipForm->update();
}

void TMainForm::ChangePartsSize(uint16_t Width, uint16_t Height)
{
    TMap *map = MapDocument();
    if (map == nullptr || (Width == map->PartsWidth() && Height == map->PartsHeight()))
        return;
    FNewMapPartsWidth = Width;
    FNewMapPartsHeight = Height;
    FView.ViewCellWidth = Width;
    FView.ViewCellHeight = Height;
    map->SetPartsSize(Width, Height);
    if (FChipForm != nullptr) {
        if (FChipForm->Table() != nullptr)
            FChipForm->Table()->UpdateChipAlign();
        FChipForm->update();
    }
    FormResize();
    if (FPreviewForm != nullptr)
        FPreviewForm->UpdatePreview();
    ShowMessageBox(mkInformation, GetLangMessage(LangMessage::PartsSizeChanged));
}

void TMainForm::ChangeBitCountDialogMenuItemClick()
{
    TMap *map = MapDocument();
    if (map == nullptr)
        return;
    const uint8_t oldBits = map->BitCount();
    const bool oldFixed = FixedAlignment();
    TBitCountDialog dialog(oldBits, oldFixed, this);
    if (RunModal(dialog) != QDialog::Accepted)
        return;
    const uint8_t newBits = dialog.NewBitCount();
    const bool newFixed = dialog.NewFixedAlignment();
    if (newBits != oldBits || newFixed != oldFixed) {
        UnSelect(true);
        // The editor's bit count is the new one before a layer's own columns are taken.
        FNewMapBitCount = newBits;
        FProject.SetFixedAlignment(newFixed);
        SetInvisiblePart(UseInvisiblePart(), 0);
        // A layer's columns without fixed alignment: its image's, else the fixed count.
        const auto imageColumns = [this, newBits](int32_t layer) {
            int32_t columns = FixedColumns(newBits);
            int32_t rows = 0;
            if (FChipForm != nullptr && FChipForm->Table() != nullptr)
                FChipForm->Table()->GetChipAlignment(newBits, false, layer, columns, rows);
            return columns;
        };
        for (int32_t layer = 0; layer < map->LayerCount() % 256; ++layer) {
            const int32_t oldColumns = oldFixed ? FixedColumns(oldBits) : imageColumns(layer);
            const int32_t newColumns = newFixed ? FixedColumns(newBits) : imageColumns(layer);
            map->RemapChipNumbers(oldColumns, newColumns, newBits, 0, layer);
        }
        map->SetModified();
    }
    map->FlushModify();
    UpdateTitle();
    RedrawAll();
    if (FChipForm != nullptr) {
        FChipForm->Selectchip(0);
        if (FChipForm->Table() != nullptr)
            FChipForm->Table()->UpdateChipAlign();
        FChipForm->update();
    }
    if (FPreviewForm != nullptr)
        FPreviewForm->UpdatePreview();
    ToolButtonMediator();
}
