// The new-map dialog (TNewDialog): map and parts sizes, the number of layers, 8 or 16 bits,
// fixed parts alignment, preset from the settings section "NewDialog", which the "Default"
// box writes back; the bits start as the last new map's. It checks its fields on OK and
// creates nothing itself: the New command does.
#pragma once

#include "editor/shell/language/LangEntry.h"

#include <QDialog>
#include <cstdint>

class QCheckBox;
class QLineEdit;
class QRadioButton;

struct TNewMapChoice {
    int32_t MapWidth = 100;
    int32_t MapHeight = 100;
    int32_t PartsWidth = 32;
    int32_t PartsHeight = 32;
    uint8_t BitCount = 16;
    bool FixedAlignment = false;
    int32_t LayerCount = 1;
};

class TNewDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TNewDialog(QWidget *parent);
    // The checked values; valid once the dialog was accepted.
    TNewMapChoice Choice() const;

protected:
    void accept() override;

private:
    // Checks one field against its range; on failure shows the message, puts the nearer
    // limit into the field and the caret at its end.
    bool CheckField(QLineEdit *edit, int32_t low, int32_t high, const TLangText &message);

    QLineEdit *FMapWidth = nullptr;
    QLineEdit *FMapHeight = nullptr;
    QLineEdit *FPartsWidth = nullptr;
    QLineEdit *FPartsHeight = nullptr;
    QLineEdit *FLayers = nullptr;
    QRadioButton *FBits8 = nullptr;
    QRadioButton *FBits16 = nullptr;
    QCheckBox *FFixed = nullptr;
    QCheckBox *FDefault = nullptr;
};
