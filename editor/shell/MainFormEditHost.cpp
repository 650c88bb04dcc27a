#include "MainFormEditHost.h"

#include "MainForm.h"
#include "editor/parts/ChipForm.h"
#include "editor/parts/ChipTable.h"
#include "editor/shell/input/MapViewWidget.h"
#include "editor/shell/input/ToolInput.h"
#include "editor/shell/windows/LayerForm.h"
#include "editor/shell/windows/PreviewForm.h"

void TMainFormEditHost::UpdateCanvas(int32_t X, int32_t Y, int32_t DX, int32_t DY)
{
    FForm.UpdateCanvas(X, Y, DX, DY);
}

void TMainFormEditHost::RedrawAll()
{
    FForm.RedrawAll();
}

void TMainFormEditHost::RefreshOverview()
{
    if (FForm.FPreviewForm != nullptr)
        FForm.FPreviewForm->UpdatePreview();
}

void TMainFormEditHost::RefreshOverviewCells(const TSelection &Cells)
{
    if (FForm.FPreviewForm != nullptr)
        FForm.FPreviewForm->UpdatePreviewRect(Cells.X, Cells.Y, Cells.DX, Cells.DY);
}

void TMainFormEditHost::RefreshCommands()
{
    FForm.ToolButtonMediator();
}

void TMainFormEditHost::ShowSelectionStatus()
{
    FForm.ShowSelectionStatus();
}

int32_t TMainFormEditHost::CurrentLayer() const
{
    return FForm.FLayerForm != nullptr ? FForm.FLayerForm->GetCurrentLayerIndex() : -1;
}

bool TMainFormEditHost::LayerShown(int32_t Layer) const
{
    return FForm.FLayerForm != nullptr && FForm.FLayerForm->GetLayerVisibleState(Layer);
}

bool TMainFormEditHost::PickedParts(TModified &Request) const
{
    return FForm.FChipForm != nullptr && FForm.FChipForm->SetCurrentData(Request);
}

TSelection TMainFormEditHost::PickedPartsArea() const
{
    return FForm.FChipForm != nullptr ? FForm.FChipForm->GetSelectedInfo() : TSelection();
}

void TMainFormEditHost::MarkPickedPart(int32_t Part)
{
    if (FForm.FChipForm != nullptr)
        FForm.FChipForm->Selectchip(Part);
}

int32_t TMainFormEditHost::ImageColumns(uint8_t BitCount, int32_t Layer) const
{
    int32_t columns = BitCount == 8 ? 16 : 256;
    int32_t rows = 0;
    if (FForm.FChipForm != nullptr && FForm.FChipForm->Table() != nullptr)
        FForm.FChipForm->Table()->GetChipAlignment(BitCount, false, Layer, columns, rows);
    return columns;
}

void TMainFormEditHost::PartsLayoutChanged()
{
    if (FForm.FChipForm != nullptr)
        FForm.FChipForm->PartsLayoutChanged();
}

void TMainFormEditHost::ViewLayoutChanged()
{
    FForm.FormResize();
    RefreshOverview();
}

void TMainFormEditHost::ChooseTool(uint8_t Tool)
{
    FForm.FToolInput->ToolMenuItemClick(Tool);
}

void TMainFormEditHost::RestoreToolCursor()
{
    if (FForm.FToolInput)
        FForm.FToolInput->SetCursorOfToolMode(FForm.FView.ToolMode);
}

void TMainFormEditHost::ClearCursorFrame()
{
    if (FForm.FViewWidget != nullptr)
        FForm.FViewWidget->SetCursorFrame(QRect(), FForm.FView.AGridColor);
}

void TMainFormEditHost::ScrollView(int32_t X, int32_t Y)
{
    FForm.ScrollView(X, Y);
}

void TMainFormEditHost::GestureEnded()
{
    if (FForm.FToolInput)
        FForm.FToolInput->GestureEnded();
}
