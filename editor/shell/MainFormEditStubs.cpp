// Placeholders for the editing entry points until the editing code lands.
#include "MainForm.h"

void TMainForm::ExitPattern() {}

bool TMainForm::Find(uint16_t, bool)
{
    return false;
}

void TMainForm::UnSelect(bool)
{
    FView.Selection.Active = 0;
    FView.FoundMark = false;
}

void TMainForm::RunFill(int32_t) {}

bool TMainForm::HandleKeyPress(QKeyEvent *)
{
    return false;
}

bool TMainForm::HandleKeyRelease(QKeyEvent *)
{
    return false;
}

bool TMainForm::HandleWheel(QWheelEvent *)
{
    return false;
}
