// File > Recent Files: Reopen Closed File, then the documents opened or saved last, newest
// first, built again each time the menu opens. A file that is no longer there stays listed,
// greyed, with its path as the hint.
#pragma once

#include <QList>
#include <QObject>

class QAction;
class QMenu;
class TFileCommands;

class TRecentFilesMenu : public QObject
{
    Q_OBJECT
public:
    // Menu holds the entries that stay (Reopen Closed File); the documents follow them.
    TRecentFilesMenu(QMenu &Menu, TFileCommands &Files);
    void Rebuild();

private:
    QMenu &FMenu;
    TFileCommands &FFiles;
    QList<QAction *> FEntries;
};
