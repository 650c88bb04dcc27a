#include "DialogKit.h"

#include "editor/shell/language/Language.h"

#include <QBoxLayout>
#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <charconv>

QString LangQ(const TLangEntry &entry)
{
    return QString::fromStdString(GetLangText(entry));
}

QString Utf8Q(const std::string &text)
{
    return QString::fromStdString(text);
}

QString WithoutAccessKey(const QString &text)
{
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        plain += text[i];
    }
    return plain;
}

int32_t TextToInt(const QString &text, int32_t defaultValue)
{
    const std::string digits = text.trimmed().toStdString();
    if (digits.empty())
        return defaultValue;
    const char *first = digits.data();
    const char *last = first + digits.size();
    if (*first == '+' && ++first != last && *first == '-')
        return defaultValue;
    int32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last)
        return defaultValue;
    return value;
}

QLineEdit *NewNumberEdit(const QString &objectName, int32_t value, QWidget *parent)
{
    auto *edit = new QLineEdit(QString::number(value), parent);
    edit->setObjectName(objectName);
    return edit;
}

void FocusAtEnd(QLineEdit *edit)
{
    edit->setFocus();
    edit->setCursorPosition(static_cast<int>(edit->text().size()));
}

void AddOkCancel(QDialog &dialog, QBoxLayout &layout)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    auto *ok = new QPushButton("OK", &dialog);
    ok->setObjectName("OkButton");
    ok->setDefault(true);
    auto *cancel = new QPushButton("Cancel", &dialog);
    cancel->setObjectName("CancelButton");
    row->addWidget(ok);
    row->addWidget(cancel);
    layout.addLayout(row);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
}

void WidenToEntries(QListWidget &list)
{
    for (int i = 0; i < list.count(); ++i)
        list.item(i)->setToolTip(list.item(i)->text());
    const int bar = list.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &list);
    list.setMinimumWidth(list.sizeHintForColumn(0) + 2 * list.frameWidth() + bar);
}
