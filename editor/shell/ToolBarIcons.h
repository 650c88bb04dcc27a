// Tool bar icons: the desktop theme's icon when it has one, else a drawn letter, so the
// tool bar is usable on a bare machine.
#pragma once

#include <QIcon>
#include <QString>

QIcon ToolBarIcon(const char *themeName, const QString &fallbackText);
