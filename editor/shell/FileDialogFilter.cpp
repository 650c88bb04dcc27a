#include "FileDialogFilter.h"

#include <QRegularExpression>

QStringList ToQtNameFilters(const std::string &filter)
{
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList nameFilters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString label = parts[i].trimmed();
        QStringList globs;
        for (const QString &glob : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            if (!glob.trimmed().isEmpty())
                globs << glob.trimmed();
        }
        if (globs.isEmpty())
            continue;
        // Qt takes the globs from the last parentheses and hides them, so the label shows
        // exactly as given even when it already names its patterns.
        nameFilters << label + QStringLiteral(" (") + globs.join(QLatin1Char(' ')) +
                           QLatin1Char(')');
    }
    return nameFilters;
}

QString DefaultSuffixForNameFilter(const QString &nameFilter, const QString &fallback)
{
    static const QRegularExpression globs(QStringLiteral("\\(([^()]*)\\)\\s*$"));
    const QRegularExpressionMatch match = globs.match(nameFilter);
    if (!match.hasMatch())
        return fallback;
    const QString first = match.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts).value(0);
    static const QRegularExpression plain(QStringLiteral("^\\*\\.([A-Za-z0-9_]+)$"));
    const QRegularExpressionMatch extension = plain.match(first);
    return extension.hasMatch() ? extension.captured(1) : fallback;
}
