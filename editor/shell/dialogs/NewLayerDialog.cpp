#include "NewLayerDialog.h"

#include "DialogKit.h"

#include "editor/shell/language/DialogTexts.h"
#include "editor/shell/language/Language.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

TNewLayerDialog::TNewLayerDialog(QWidget *parent, const QString &title, const std::string &name,
                                 const std::vector<std::string> &imageNames, int selected)
    : QDialog(parent), FName(new QLineEdit(this)), FImages(new QComboBox(this)),
      FImageCount(static_cast<int>(imageNames.size()))
{
    setObjectName("TNewLayerDialog");
    setWindowTitle(title);
    FName->setObjectName("NameEdit");
    FName->setText(QString::fromStdString(name));
    FImages->setObjectName("ImageList");
    for (const std::string &image : imageNames)
        FImages->addItem(QString::fromStdString(image));
    FImages->addItem(QString::fromStdString(GetLangString(22, "N/A")));
    FImages->setCurrentIndex(std::clamp(selected, 0, FImageCount));

    auto *nameLabel = new QLabel(QString::fromStdString(GetLangText(LayerDialogText::Name)), this);
    nameLabel->setBuddy(FName);
    auto *imageLabel =
        new QLabel(QString::fromStdString(GetLangText(LayerDialogText::PartsImage)), this);
    imageLabel->setBuddy(FImages);
    auto *form = new QFormLayout;
    form->setHorizontalSpacing(5);
    form->addRow(nameLabel, FName);
    form->addRow(imageLabel, FImages);
    auto *column = new QVBoxLayout(this);
    column->addLayout(form);
    AddOkCancel(*this, *column);
    FName->setMinimumWidth(220);
    FName->selectAll();
    FName->setFocus();
}

std::string TNewLayerDialog::LayerName() const
{
    return FName->text().toStdString();
}

int TNewLayerDialog::ImageIndex() const
{
    const int index = FImages->currentIndex();
    return index >= 0 && index < FImageCount ? index : -1;
}
