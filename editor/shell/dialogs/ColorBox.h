// A colour box: a button that shows a colour swatch and asks for a new colour through the
// dialog seam when pressed. Colours are 0x00BBGGRR.
#pragma once

#include <QPushButton>
#include <cstdint>

class TColorBox : public QPushButton
{
    Q_OBJECT
public:
    TColorBox(const QString &objectName, uint32_t color, QWidget *parent);
    uint32_t Color() const { return FColor; }
    void SetColor(uint32_t color);

private:
    void Choose();

    uint32_t FColor = 0;
};
