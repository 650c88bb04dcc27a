#include "ToolBarIcons.h"

#include <QFile>
#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace
{

// Every size a tool bar may ask for at device pixel ratios 1, 1.5, 2, 3 and 4, rendered from
// the vector image so that no size is a scaled copy of another.
constexpr int kIconSizes[] = {16, 20, 22, 24, 32, 40, 44, 48, 64};

QPixmap RenderIcon(QSvgRenderer &renderer, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

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

QIcon OwnToolBarIcon(const QString &themeName)
{
    const QString file = QStringLiteral(":/icons/%1.svg").arg(themeName);
    if (!QFile::exists(file))
        return QIcon();
    QSvgRenderer renderer(file);
    if (!renderer.isValid())
        return QIcon();
    QIcon icon;
    for (int size : kIconSizes)
        icon.addPixmap(RenderIcon(renderer, size));
    return icon;
}

QIcon ToolBarIcon(const char *themeName, const QString &fallbackText)
{
    const QString name = QString::fromLatin1(themeName);
    if (QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    QIcon own = OwnToolBarIcon(name);
    if (!own.isNull())
        return own;
    return LetterIcon(fallbackText);
}
