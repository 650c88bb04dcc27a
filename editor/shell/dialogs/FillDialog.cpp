#include "FillDialog.h"

#include "DialogKit.h"
#include "editor/shell/language/DialogTexts.h"

#include <QComboBox>
#include <QGroupBox>
#include <QStandardItemModel>
#include <QVBoxLayout>
#include <algorithm>

TFillDialog::TFillDialog(QWidget *parent) : QDialog(parent)
{
    using namespace FillDialogText;
    setObjectName("FillDialog");
    setWindowTitle(LangQ(Caption));
    auto *group = new QGroupBox(LangQ(FillGroup), this);
    auto *groupLayout = new QVBoxLayout(group);
    FTypes = new QComboBox(group);
    FTypes->setObjectName("FillTypeCombo");
    FTypes->setMinimumWidth(220);
    groupLayout->addWidget(FTypes);
    for (const TLangEntry &entry : {SelectedParts, InvisibleParts}) {
        const QString text = LangQ(entry);
        if (text == "-")
            FTypes->insertSeparator(FTypes->count());
        else
            FTypes->addItem(text);
    }
    FTypes->setCurrentIndex(0);
    // A separator can never be the choice: choosing it takes the first entry.
    connect(FTypes, &QComboBox::currentIndexChanged, this, [this](int index) {
        const auto *model = qobject_cast<const QStandardItemModel *>(FTypes->model());
        if (index > 0 && model != nullptr && model->item(index) != nullptr &&
            !model->item(index)->isEnabled())
            FTypes->setCurrentIndex(0);
    });
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    AddOkCancel(*this, *layout);
}

int32_t TFillDialog::FillType() const
{
    return std::max(0, FTypes->currentIndex());
}
