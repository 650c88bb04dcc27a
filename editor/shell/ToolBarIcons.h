// Tool bar icons: the desktop theme's icon when it has one, else the program's own SVG icon of
// that theme name (":/icons/<name>.svg", from resources/icons), so the tool bars look finished
// on a machine without an icon theme and stay crisp on high-DPI screens. Knows nothing of the
// buttons that carry the icons.
#pragma once

#include <QIcon>
#include <QString>

// The theme's icon, else our own; a drawn letter only for a name we ship no icon for.
QIcon ToolBarIcon(const char *themeName, const QString &fallbackText);

// Our own icon of a theme name, whatever the desktop theme holds; null when we ship none.
QIcon OwnToolBarIcon(const QString &themeName);
