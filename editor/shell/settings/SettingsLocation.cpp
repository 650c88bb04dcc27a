#include "SettingsLocation.h"

#include "common/RuntimeFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdlib>

namespace
{
const char *const SettingsFileName = "Tessella.ini";
}

bool IsFolderWritable(const std::string &folder)
{
    const QString path = QString::fromStdString(folder);
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return false;
    QTemporaryFile probe(QDir(path).filePath(QStringLiteral(".tessella-write-XXXXXX")));
    return probe.open(); // removed again when the probe goes out of scope
}

std::string SettingsFileLocation(const std::string &programFolder)
{
    const QString beside = QDir(QString::fromStdString(programFolder)).filePath(SettingsFileName);
    const QFileInfo existing(beside);
    // An installed program's folder (/usr/bin) is the system's, even where root may write.
    if (!IsInstalledProgram(programFolder) && IsFolderWritable(programFolder) &&
        (!existing.exists() || existing.isWritable()))
        return beside.toStdString();

    QString configHome = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
    if (configHome.isEmpty() || QDir::isRelativePath(configHome))
        configHome = QDir::home().filePath(QStringLiteral(".config"));
    return QDir(configHome).filePath(QStringLiteral("Tessella/") + SettingsFileName).toStdString();
}
