// The scroll dialog: horizontal and vertical offsets and whether all layers or only the
// current one move. The scroll command negates the offsets and runs the map's ScrollMap.
#pragma once

#include <QDialog>
#include <cstdint>

class QLineEdit;
class QRadioButton;

class TScrollDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TScrollDialog(QWidget *parent);
    // The offsets as typed, 0 when they are no number.
    int32_t Horizontal() const;
    int32_t Vertical() const;
    bool AllLayers() const;

private:
    QLineEdit *FHorizontal = nullptr;
    QLineEdit *FVertical = nullptr;
    QRadioButton *FAllLayers = nullptr;
};
