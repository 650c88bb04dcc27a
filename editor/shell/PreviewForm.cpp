#include "PreviewForm.h"

#include "Language.h"
#include "MainForm.h"

#include <QLabel>

TPreviewForm::TPreviewForm(TMainForm *owner)
    : TToolWindow(owner, QString::fromStdString(GetLangString(25, "Preview"))), FOwner(owner)
{
    SetContent(new QLabel);
}

void TPreviewForm::InitPreview(int32_t scale)
{
    FScale = std::clamp(scale, 1, 4);
    UpdatePreview();
}

void TPreviewForm::UpdatePreview()
{
    update();
}
