#include "BitCountDialog.h"

#include "DialogKit.h"
#include "editor/shell/language/DialogTexts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace
{

struct TBitCountBoxes {
    QGroupBox *Group;
    QRadioButton *Bits8;
    QCheckBox *Fixed;
};

// One group: the bit count as two choices and the fixed-alignment box.
TBitCountBoxes AddGroup(QWidget *parent, const TLangEntry &title, const QString &prefix,
                        uint8_t bitCount, bool fixedAlignment)
{
    using namespace BitCountDialogText;
    auto *group = new QGroupBox(LangQ(title), parent);
    auto *bits8 = new QRadioButton("8bit", group);
    bits8->setObjectName(prefix + "Bits8Radio");
    auto *bits16 = new QRadioButton("16bit", group);
    bits16->setObjectName(prefix + "Bits16Radio");
    (bitCount == 8 ? bits8 : bits16)->setChecked(true);
    auto *fixed = new QCheckBox(LangQ(Fixed), group);
    fixed->setObjectName(prefix + "FixedCheck");
    fixed->setChecked(fixedAlignment);
    auto *grid = new QGridLayout(group);
    auto *bitLabel = new QLabel(LangQ(BitCount), group);
    bitLabel->setBuddy(bits8);
    auto *alignLabel = new QLabel(LangQ(Alignment), group);
    alignLabel->setBuddy(fixed);
    grid->addWidget(bitLabel, 0, 0);
    grid->addWidget(bits8, 0, 1);
    grid->addWidget(bits16, 0, 2);
    grid->addWidget(alignLabel, 1, 0);
    grid->addWidget(fixed, 1, 1, 1, 2);
    return {group, bits8, fixed};
}

} // namespace

TBitCountDialog::TBitCountDialog(uint8_t bitCount, bool fixedAlignment, QWidget *parent)
    : QDialog(parent)
{
    using namespace BitCountDialogText;
    setObjectName("BitCountDialog");
    setWindowTitle(LangQ(Caption));
    const TBitCountBoxes before = AddGroup(this, Before, "Before", bitCount, fixedAlignment);
    before.Group->setEnabled(false);
    const TBitCountBoxes after = AddGroup(this, After, "", bitCount, fixedAlignment);
    FBits8 = after.Bits8;
    FFixed = after.Fixed;

    auto *groups = new QHBoxLayout;
    groups->addWidget(before.Group);
    groups->addWidget(after.Group);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(new QLabel(LangQ(Comment), this));
    AddOkCancel(*this, *layout);
}

uint8_t TBitCountDialog::NewBitCount() const
{
    return FBits8->isChecked() ? 8 : 16;
}

bool TBitCountDialog::NewFixedAlignment() const
{
    return FFixed->isChecked();
}
