#include "ColorBox.h"

#include "editor/map/DialogSeam.h"
#include "editor/shell/settings/ColorRef.h"

#include <QPainter>
#include <QPixmap>

TColorBox::TColorBox(const QString &objectName, uint32_t color, QWidget *parent)
    : QPushButton(parent)
{
    setObjectName(objectName);
    setMinimumWidth(120);
    SetColor(color);
    connect(this, &QPushButton::clicked, this, &TColorBox::Choose);
}

void TColorBox::SetColor(uint32_t color)
{
    FColor = color & 0x00FFFFFFu;
    QPixmap swatch(40, 14);
    swatch.fill(ColorFromColorRef(FColor));
    QPainter painter(&swatch);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, swatch.width() - 1, swatch.height() - 1);
    painter.end();
    setIcon(QIcon(swatch));
    setIconSize(swatch.size());
    const QColor shown = ColorFromColorRef(FColor);
    setText(shown.name(QColor::HexRgb).toUpper());
}

void TColorBox::Choose()
{
    if (const std::optional<uint32_t> chosen = Dialogs().AskColor(FColor))
        SetColor(*chosen);
}
