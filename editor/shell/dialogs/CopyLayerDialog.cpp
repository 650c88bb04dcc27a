#include "CopyLayerDialog.h"

#include "DialogKit.h"

#include "editor/shell/language/DialogTexts.h"
#include "editor/shell/language/Language.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TCopyLayerDialog::TCopyLayerDialog(QWidget *parent, const std::string &sourceName,
                                   const std::string &newName)
    : QDialog(parent), FNewName(new QLineEdit(this))
{
    setObjectName("TCopyLayerDialog");
    setWindowTitle(QString::fromStdString(GetLangText(LayerDialogText::DuplicateCaption)));
    auto *source = new QLabel(QString::fromStdString(sourceName), this);
    source->setObjectName("SourceName");
    auto *sourceLabel =
        new QLabel(QString::fromStdString(GetLangText(LayerDialogText::Source)), this);
    sourceLabel->setBuddy(FNewName); // its access key leads to the one field there is
    FNewName->setObjectName("NewNameEdit");
    FNewName->setText(QString::fromStdString(newName));
    auto *nameLabel =
        new QLabel(QString::fromStdString(GetLangText(LayerDialogText::NewName)), this);
    nameLabel->setBuddy(FNewName);
    auto *form = new QFormLayout;
    form->setHorizontalSpacing(7);
    form->addRow(sourceLabel, source);
    form->addRow(nameLabel, FNewName);
    auto *column = new QVBoxLayout(this);
    column->addLayout(form);
    AddOkCancel(*this, *column);
    FNewName->setMinimumWidth(220);
    FNewName->selectAll();
    FNewName->setFocus();
}

std::string TCopyLayerDialog::NewName() const
{
    return FNewName->text().toStdString();
}
