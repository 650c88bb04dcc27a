// File-dialog filters as the editor and its plug-ins write them — "Label|pattern|Label|
// pattern", several globs of a pattern separated by ";" — turned into Qt's name filters.
#pragma once

#include <QString>
#include <QStringList>
#include <string>

// One Qt name filter per pair: "Label (glob glob)". A label without a pattern is dropped.
QStringList ToQtNameFilters(const std::string &filter);

// The extension a file name typed without one receives: the name filter's first glob when
// it is a plain "*.ext", otherwise the fallback.
QString DefaultSuffixForNameFilter(const QString &nameFilter, const QString &fallback);
