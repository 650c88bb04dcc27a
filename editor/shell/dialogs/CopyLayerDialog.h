// The duplicate dialog (TCopyLayerDialog): shows the layer being duplicated and asks the
// copy's name. It only asks; the layer window makes the copy.
#pragma once

#include <QDialog>
#include <string>

class QLineEdit;

class TCopyLayerDialog : public QDialog
{
    Q_OBJECT
public:
    TCopyLayerDialog(QWidget *parent, const std::string &sourceName, const std::string &newName);

    std::string NewName() const;

private:
    QLineEdit *FNewName;
};
