#include "ScrollDialog.h"

#include "DialogKit.h"
#include "editor/shell/language/DialogTexts.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

TScrollDialog::TScrollDialog(QWidget *parent) : QDialog(parent)
{
    using namespace ScrollDialogText;
    setObjectName("ScrollDialog");
    setWindowTitle(LangQ(Caption));
    FHorizontal = NewNumberEdit("HorizontalEdit", 0, this);
    FVertical = NewNumberEdit("VerticalEdit", 0, this);
    auto *fields = new QFormLayout;
    auto *horizontalLabel = new QLabel(LangQ(ScrollDialogText::Horizontal), this);
    horizontalLabel->setBuddy(FHorizontal);
    auto *verticalLabel = new QLabel(LangQ(ScrollDialogText::Vertical), this);
    verticalLabel->setBuddy(FVertical);
    fields->addRow(horizontalLabel, FHorizontal);
    fields->addRow(verticalLabel, FVertical);

    FAllLayers = new QRadioButton(LangQ(ScrollDialogText::AllLayers), this);
    FAllLayers->setObjectName("AllLayersRadio");
    FAllLayers->setChecked(true);
    auto *current = new QRadioButton(LangQ(CurrentLayer), this);
    current->setObjectName("CurrentLayerRadio");

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(FAllLayers);
    layout->addWidget(current);
    AddOkCancel(*this, *layout);
    FocusAtEnd(FHorizontal);
    FHorizontal->selectAll();
}

int32_t TScrollDialog::Horizontal() const
{
    return TextToInt(FHorizontal->text(), 0);
}

int32_t TScrollDialog::Vertical() const
{
    return TextToInt(FVertical->text(), 0);
}

bool TScrollDialog::AllLayers() const
{
    return FAllLayers->isChecked();
}
