#include "ToolBarIcons.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace
{

QIcon LetterIcon(const QString &text)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(60, 90, 140), 2));
    painter.setBrush(QColor(225, 235, 250));
    painter.drawRoundedRect(QRectF(2, 2, 28, 28), 5, 5);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(18);
    painter.setFont(font);
    painter.setPen(QColor(30, 50, 90));
    painter.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, text);
    return QIcon(pixmap);
}

} // namespace

QIcon ToolBarIcon(const char *themeName, const QString &fallbackText)
{
    const QString name = QString::fromLatin1(themeName);
    if (QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    return LetterIcon(fallbackText);
}
