#include "MainFormMessages.h"

#include "WindowMessageInterface.h"
#include "editor/edit/EditController.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/MapDocument.h"
#include "editor/shell/windows/PreviewForm.h"

TMap *TMainFormMessageHost::Map()
{
    return MapDocument();
}

TSelection TMainFormMessageHost::GetSelection() const
{
    return FForm.ViewState().Selection;
}

void TMainFormMessageHost::SetSelection(const TSelection &selection)
{
    FForm.SetSelection(selection);
}

void TMainFormMessageHost::RedrawCells(const TSelection &)
{
    FForm.RedrawAll();
}

void TMainFormMessageHost::CellsChanged()
{
    if (FForm.PreviewForm() != nullptr)
        FForm.PreviewForm()->UpdatePreview();
    FForm.ToolButtonMediator();
}

bool TMainFormMessageHost::PartsAlignmentNotFixed() const
{
    return !FForm.Project().FixedAlignment();
}

int32_t TMainFormMessageHost::GetMaxIndex() const
{
    return FForm.Edit().GetMaxIndex();
}

bool TMainFormMessageHost::CreateNewMap(int32_t width, int32_t height, int32_t layerCount,
                                        int32_t partsWidth, int32_t partsHeight, uint8_t bitCount,
                                        bool fixedAlignment)
{
    return FForm.CreateNewMap(width, height, layerCount, partsWidth, partsHeight, bitCount,
                              fixedAlignment);
}

// The window handle's SendMessage: the messages of the interface, in-process.
intptr_t TMainForm::HandleSendMessage(TessellaWindow *window, uint32_t message, uintptr_t wParam,
                                      intptr_t lParam)
{
    if (window == nullptr || window->Host == nullptr || !IsTessellaWindowMessage(message))
        return 0;
    auto *form = static_cast<TMainForm *>(window->Host);
    return TessellaWindowMessage(*form->FMessageHost, message, wParam, lParam);
}
