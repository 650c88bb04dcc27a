// The replace dialog: the part number searched for and its replacement, both checked
// against the map's bit count on OK. The command runs the map's ReplaceChip.
#pragma once

#include <QDialog>
#include <cstdint>

class QLineEdit;

class TReplaceDialog : public QDialog
{
    Q_OBJECT
public:
    // bitCount: 8 or 16, the range the numbers must keep.
    TReplaceDialog(uint8_t bitCount, QWidget *parent);
    uint16_t SearchNumber() const;
    uint16_t ReplaceNumber() const;

protected:
    void accept() override;

private:
    uint8_t FBitCount;
    QLineEdit *FSearch = nullptr;
    QLineEdit *FReplace = nullptr;
};
