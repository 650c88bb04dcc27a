// The fill dialog: a drop-down of fill types (selected parts or pattern, invisible parts).
// An entry whose text is "-" is a separator line that cannot be chosen. The command runs
// TMainForm::RunFill with the chosen type.
#pragma once

#include <QDialog>
#include <cstdint>

class QComboBox;

class TFillDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TFillDialog(QWidget *parent);
    // The chosen entry's index: 0 selected parts or pattern, 1 invisible parts.
    int32_t FillType() const;

private:
    QComboBox *FTypes = nullptr;
};
