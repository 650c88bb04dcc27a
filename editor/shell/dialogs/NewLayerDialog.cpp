#include "NewLayerDialog.h"

#include "DialogKit.h"

#include "editor/shell/language/DialogTexts.h"
#include "editor/shell/language/Language.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

TNewLayerDialog::TNewLayerDialog(QWidget *parent, const QString &title, const std::string &name,
                                 const std::vector<std::string> &imageNames, int selected)
    : QDialog(parent), FName(new QLineEdit(this)), FImages(new QComboBox(this)),
      FBrowse(new QPushButton(QString::fromStdString(GetLangText(LayerDialogText::Browse)), this)),
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
    FBrowse->setObjectName("BrowseButton");
    FBrowse->setAutoDefault(false);
    FBrowse->hide();
    connect(FBrowse, &QPushButton::clicked, this, &TNewLayerDialog::Browse);
    auto *imageRow = new QHBoxLayout;
    imageRow->addWidget(FImages, 1);
    imageRow->addWidget(FBrowse);
    auto *form = new QFormLayout;
    form->setHorizontalSpacing(5);
    form->addRow(nameLabel, FName);
    form->addRow(imageLabel, imageRow);
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

void TNewLayerDialog::OfferBrowse(const TFileDialogRequest &Request)
{
    FBrowseRequest = Request;
    FBrowse->show();
}

std::string TNewLayerDialog::BrowsedFile() const
{
    return !FBrowsedFile.empty() && FImages->currentIndex() == FImageCount ? FBrowsedFile
                                                                           : std::string();
}

void TNewLayerDialog::Browse()
{
    const std::optional<TFileDialogResult> chosen = Dialogs().AskOpenFile(FBrowseRequest);
    if (!chosen || chosen->FileName.empty())
        return;
    // One browsed entry, between the loaded images and "N/A".
    const QString name =
        QString::fromStdString(std::filesystem::path(chosen->FileName).filename().string());
    if (FBrowsedFile.empty())
        FImages->insertItem(FImageCount, name);
    else
        FImages->setItemText(FImageCount, name);
    FBrowsedFile = chosen->FileName;
    FImages->setCurrentIndex(FImageCount);
}
