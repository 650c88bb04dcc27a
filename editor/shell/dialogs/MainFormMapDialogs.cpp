// The main window's map-operation commands: Fill..., Resize, Scroll, Replace, Change parts
// size and Change bit count. Each shows its dialog, hands the answer to the edit controller
// and refreshes the views; resizes and scrolls report their progress here.
#include "BitCountDialog.h"
#include "FillDialog.h"
#include "ReplaceDialog.h"
#include "ScrollDialog.h"
#include "SizeDialog.h"
#include "editor/edit/EditController.h"
#include "editor/parts/ChipForm.h"
#include "editor/shell/DialogRunner.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/MapDocument.h"
#include "editor/shell/language/LangTexts.h"
#include "editor/shell/language/Language.h"
#include "editor/shell/progress/ProgressDisplay.h"
#include "editor/shell/windows/PreviewForm.h"

#include <QStatusBar>

namespace
{
// How long a command's report stays in the status bar, in milliseconds.
constexpr int kStatusMessageTime = 8000;
} // namespace

void TMainForm::FillMenuItemClick()
{
    if (MapDocument() == nullptr)
        return;
    TFillDialog dialog(this);
    if (RunModal(dialog) == QDialog::Accepted)
        FEdit->RunFill(dialog.FillType());
}

void TMainForm::ResizeMenuItemClick()
{
    TMap *map = MapDocument();
    if (map == nullptr)
        return;
    TSizeDialog dialog(TSizeDialogKind::MapSize, map->Width(), map->Height(), this);
    if (RunModal(dialog) != QDialog::Accepted)
        return;
    // The map can put every layer back, so this progress offers its abort button. Rows count
    // from 1: a report of position 0 would open the display again and forget an abort.
    const TProgressProc progress = [this](int32_t position, int32_t total,
                                          const std::string &message) {
        if (position == total && position < -2)
            return FProgress->Report(0, 1 - total, message);
        if (position >= 0 && position < total) {
            if (!FProgress->Report(position + 1, total + 1, message))
                throw EOperationAborted();
            return true;
        }
        return FProgress->Report(position, total, message);
    };
    FEdit->ResizeMap(dialog.NewWidth(), dialog.NewHeight(), progress);
    if (FProgress->Running())
        FProgress->End();
    FormResize();
    if (FPreviewForm != nullptr)
        FPreviewForm->FormResize();
    UpdateTitle();
    ToolButtonMediator();
}

void TMainForm::ScrollMenuItemClick()
{
    if (MapDocument() == nullptr)
        return;
    TScrollDialog dialog(this);
    if (RunModal(dialog) != QDialog::Accepted)
        return;
    FEdit->ScrollMap(dialog.Horizontal(), dialog.Vertical(), dialog.AllLayers(),
                     FProgress->Callback());
    if (FProgress->Running())
        FProgress->End();
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
        const int64_t replaced = FEdit->ReplaceChip(dialog.SearchNumber(), dialog.ReplaceNumber());
        if (replaced >= 0)
            statusBar()->showMessage(
                QString::fromStdString(GetLangMessage(LangMessage::CellsReplaced))
                    .replace("%d", QString::number(replaced)),
                kStatusMessageTime);
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
    FEdit->ChangePartsSize(static_cast<uint16_t>(dialog.NewWidth()),
                           static_cast<uint16_t>(dialog.NewHeight()));
    map->SetModified();
    UpdateTitle();
    RedrawAll();
    if (FChipForm != nullptr)
        FChipForm->update();
}

void TMainForm::ChangeBitCountDialogMenuItemClick()
{
    TMap *map = MapDocument();
    if (map == nullptr)
        return;
    TBitCountDialog dialog(map->BitCount(), FProject.FixedAlignment(), this);
    if (RunModal(dialog) != QDialog::Accepted)
        return;
    FEdit->ChangeBitCount(dialog.NewBitCount(), dialog.NewFixedAlignment());
}
