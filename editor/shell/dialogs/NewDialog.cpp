#include "NewDialog.h"

#include "DialogKit.h"
#include "editor/map/DialogSeam.h"
#include "editor/shell/language/DialogTexts.h"
#include "editor/shell/language/LangTexts.h"
#include "editor/shell/language/Language.h"
#include "editor/shell/settings/Settings.h"
#include "editor/shell/settings/SettingsFile.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace
{

// A text that is no integer counts as 2, the smallest size the dialog takes.
constexpr int32_t NotANumber = 2;

} // namespace

TNewDialog::TNewDialog(QWidget *parent) : QDialog(parent)
{
    using namespace NewDialogText;
    setObjectName("NewDialog");
    setWindowTitle(LangQ(Caption));
    const TNewDialogSettings preset = ReadNewDialogSettings(SettingsFile());

    FMapWidth = NewNumberEdit("MapWidthEdit", preset.MapWidth, this);
    FMapHeight = NewNumberEdit("MapHeightEdit", preset.MapHeight, this);
    FPartsWidth = NewNumberEdit("PartsWidthEdit", preset.PartsWidth, this);
    FPartsHeight = NewNumberEdit("PartsHeightEdit", preset.PartsHeight, this);
    FLayers = NewNumberEdit("LayersEdit", preset.Layers, this);
    auto *fields = new QFormLayout;
    const std::pair<TLangEntry, QLineEdit *> rows[] = {
        {MapWidth, FMapWidth},       {MapHeight, FMapHeight}, {PartsWidth, FPartsWidth},
        {PartsHeight, FPartsHeight}, {Layers, FLayers},
    };
    for (const auto &[caption, edit] : rows) {
        auto *label = new QLabel(LangQ(caption), this);
        label->setBuddy(edit);
        fields->addRow(label, edit);
    }

    FBits8 = new QRadioButton(LangQ(Bits8), this);
    FBits8->setObjectName("Bits8Radio");
    FBits16 = new QRadioButton(LangQ(Bits16), this);
    FBits16->setObjectName("Bits16Radio");
    const int32_t lastBits = ReadLastNewMapBits(SettingsFile());
    ((lastBits != 0 ? lastBits : preset.Size) == 8 ? FBits8 : FBits16)->setChecked(true);
    FFixed = new QCheckBox(LangQ(Fixed), this);
    FFixed->setObjectName("FixedCheck");
    FFixed->setChecked(preset.Align == 0);
    FDefault = new QCheckBox("Default", this);
    FDefault->setObjectName("DefaultCheck");

    // The two labels stand 5 pixels left of what they describe.
    auto *sizeRow = new QHBoxLayout;
    sizeRow->setSpacing(5);
    sizeRow->addWidget(new QLabel(LangQ(Size), this));
    sizeRow->addWidget(FBits8);
    sizeRow->addWidget(FBits16);
    sizeRow->addStretch(1);
    auto *alignRow = new QHBoxLayout;
    alignRow->setSpacing(5);
    alignRow->addWidget(new QLabel(LangQ(Align), this));
    alignRow->addWidget(FFixed);
    alignRow->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(sizeRow);
    layout->addLayout(alignRow);
    layout->addWidget(FDefault);
    AddOkCancel(*this, *layout);
}

TNewMapChoice TNewDialog::Choice() const
{
    TNewMapChoice choice;
    choice.MapWidth = TextToInt(FMapWidth->text(), NotANumber);
    choice.MapHeight = TextToInt(FMapHeight->text(), NotANumber);
    choice.PartsWidth = TextToInt(FPartsWidth->text(), NotANumber);
    choice.PartsHeight = TextToInt(FPartsHeight->text(), NotANumber);
    choice.BitCount = FBits8->isChecked() ? 8 : 16;
    choice.FixedAlignment = FFixed->isChecked();
    choice.LayerCount = TextToInt(FLayers->text(), 1);
    return choice;
}

bool TNewDialog::CheckField(QLineEdit *edit, int32_t low, int32_t high, const TLangText &message)
{
    const int32_t value = TextToInt(edit->text(), NotANumber);
    if (value >= low && value <= high)
        return true;
    ShowMessageBox(mkError, GetLangMessage(message));
    edit->setText(QString::number(value < low ? low : high));
    FocusAtEnd(edit);
    return false;
}

void TNewDialog::accept()
{
    using namespace LangMessage;
    if (!CheckField(FMapWidth, 2, 10000, MapWidthRange) ||
        !CheckField(FMapHeight, 2, 10000, MapHeightRange) ||
        !CheckField(FPartsWidth, 2, 255, PartsWidthRange) ||
        !CheckField(FPartsHeight, 2, 255, PartsHeightRange) ||
        !CheckField(FLayers, 1, 255, LayerCountRange))
        return;
    if (FDefault->isChecked()) {
        const TNewMapChoice choice = Choice();
        TNewDialogSettings settings;
        settings.MapWidth = choice.MapWidth;
        settings.MapHeight = choice.MapHeight;
        settings.PartsWidth = choice.PartsWidth;
        settings.PartsHeight = choice.PartsHeight;
        settings.Size = choice.BitCount;
        settings.Align = choice.FixedAlignment ? 0 : 1;
        settings.Layers = choice.LayerCount;
        WriteNewDialogSettings(SettingsFile(), settings);
    }
    WriteLastNewMapBits(SettingsFile(), FBits8->isChecked() ? 8 : 16);
    SaveSettingsFile();
    QDialog::accept();
}
