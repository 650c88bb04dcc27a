#include "RecentFilesMenu.h"

#include "editor/plugins/FileCommands.h"
#include "editor/plugins/FileNameText.h"

#include <QAction>
#include <QMenu>
#include <filesystem>

TRecentFilesMenu::TRecentFilesMenu(QMenu &Menu, TFileCommands &Files)
    : QObject(&Menu), FMenu(Menu), FFiles(Files)
{
    FMenu.setToolTipsVisible(true);
    connect(&FMenu, &QMenu::aboutToShow, this, &TRecentFilesMenu::Rebuild);
    Rebuild();
}

void TRecentFilesMenu::Rebuild()
{
    for (QAction *entry : FEntries)
        delete entry;
    FEntries.clear();
    const std::vector<std::string> &paths = FFiles.Recent().Paths();
    if (!paths.empty())
        FEntries.push_back(FMenu.addSeparator());
    for (size_t i = 0; i < paths.size(); ++i) {
        const std::string &path = paths[i];
        // "&1" to "&9", then "1&0"; a "&" in a name is shown, not taken as the access key.
        const QString number = i < 9 ? QString("&%1").arg(i + 1)
                                     : QString("%1&%2").arg((i + 1) / 10).arg((i + 1) % 10);
        const QString name = QString::fromStdString(FileNameOnly(path)).replace("&", "&&");
        QAction *entry = FMenu.addAction(number + " " + name);
        entry->setObjectName(QString("RecentFile%1").arg(i + 1));
        entry->setToolTip(QString::fromStdString(path));
        entry->setStatusTip(entry->toolTip());
        std::error_code error;
        entry->setEnabled(std::filesystem::is_regular_file(path, error));
        connect(entry, &QAction::triggered, this, [this, path] { FFiles.OpenRecent(path); });
        FEntries.push_back(entry);
    }
}
