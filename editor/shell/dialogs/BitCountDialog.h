// The bit-count dialog: the map's bit count and fixed parts alignment before (shown only)
// and after (chosen). The command renumbers the layers through the map's RemapChipNumbers.
#pragma once

#include <QDialog>
#include <cstdint>

class QCheckBox;
class QRadioButton;

class TBitCountDialog : public QDialog
{
    Q_OBJECT
public:
    TBitCountDialog(uint8_t bitCount, bool fixedAlignment, QWidget *parent);
    uint8_t NewBitCount() const;
    bool NewFixedAlignment() const;

private:
    QRadioButton *FBits8 = nullptr;
    QCheckBox *FFixed = nullptr;
};
