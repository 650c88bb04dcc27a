#include "FileAssociations.h"

#include "editor/shell/settings/IniFile.h"

#include <QColor>
#include <QFile>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace
{

std::string Environment(const char *name)
{
    const char *value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string DesktopFileName(const std::string &extension)
{
    return "tessella-" + extension + "file.desktop";
}

bool WriteWhole(const std::string &path, const QByteArray &bytes)
{
    std::error_code error;
    fs::create_directories(fs::path(path).parent_path(), error);
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes);
    return file.commit();
}

// Desktop entry string values escape line breaks and backslashes.
std::string DesktopString(const std::string &text)
{
    std::string escaped;
    for (const char c : text) {
        if (c == '\\')
            escaped += "\\\\";
        else if (c == '\n')
            escaped += "\\n";
        else if (c == '\r')
            escaped += "\\r";
        else if (c == '\t')
            escaped += "\\t";
        else
            escaped += c;
    }
    return escaped;
}

// A document with a few tiles and the extension: one look per file type.
QImage TypeIcon(const std::string &extension, int32_t iconIndex)
{
    QImage icon(48, 48, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(60, 60, 60));
    painter.setBrush(Qt::white);
    painter.drawRect(6, 2, 36, 44);
    const QColor tiles[2][3] = {{QColor(70, 130, 180), QColor(95, 170, 90), QColor(210, 160, 60)},
                                {QColor(150, 90, 170), QColor(200, 90, 80), QColor(80, 160, 160)}};
    const QColor *colors = tiles[iconIndex == 2 ? 1 : 0];
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            painter.fillRect(10 + x * 10, 6 + y * 10, 9, 9, colors[(x + y) % 3]);
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(40, 40, 40));
    painter.drawText(QRect(6, 28, 36, 16), Qt::AlignCenter, QString::fromStdString(extension));
    return icon;
}

} // namespace

TXdgFolders TXdgFolders::FromEnvironment()
{
    TXdgFolders folders;
    const std::string home = Environment("HOME");
    folders.DataHome = Environment("XDG_DATA_HOME");
    if (folders.DataHome.empty())
        folders.DataHome = home + "/.local/share";
    folders.ConfigHome = Environment("XDG_CONFIG_HOME");
    if (folders.ConfigHome.empty())
        folders.ConfigHome = home + "/.config";
    std::string dirs = Environment("XDG_DATA_DIRS");
    if (dirs.empty())
        dirs = "/usr/local/share:/usr/share";
    std::istringstream list(dirs);
    for (std::string dir; std::getline(list, dir, ':');)
        if (!dir.empty())
            folders.DataDirs.push_back(dir);
    return folders;
}

std::string DesktopExecLine(const std::string &programPath)
{
    // Inside the quotes the shell's special characters take a backslash; "%" is doubled
    // so that it is no field code. The string escaping of the value then applies on top.
    std::string quoted = "\"";
    for (const char c : programPath) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        if (c == '%')
            quoted += '%';
        quoted += c;
    }
    quoted += "\" %f";
    return DesktopString(quoted);
}

TFileAssociations::TFileAssociations(TXdgFolders folders, std::string programPath)
    : FFolders(std::move(folders)), FProgramPath(std::move(programPath))
{
}

std::string TFileAssociations::MimeTypeName(const std::string &extension)
{
    return "application/x-" + extension + "file";
}

std::string TFileAssociations::PackagePath(const std::string &extension) const
{
    return FFolders.DataHome + "/mime/packages/tessella-" + extension + "file.xml";
}

std::string TFileAssociations::DesktopEntryPath(const std::string &extension) const
{
    return FFolders.DataHome + "/applications/" + DesktopFileName(extension);
}

std::string TFileAssociations::IconPath(const std::string &extension) const
{
    return FFolders.DataHome + "/icons/hicolor/48x48/mimetypes/application-x-" + extension +
           "file.png";
}

std::string TFileAssociations::PackageDescription(const std::string &extension) const
{
    QFile file(QString::fromStdString(PackagePath(extension)));
    if (!file.open(QIODevice::ReadOnly))
        return std::string();
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("comment") &&
            !xml.attributes().hasAttribute("http://www.w3.org/XML/1998/namespace", "lang"))
            return xml.readElementText().toStdString();
    }
    return std::string();
}

bool GlobsClaim(const std::string &text, bool version2, const std::string &extension,
                const std::string &exceptType)
{
    // globs2 lines are "weight:type:pattern[:flags]", the older globs lines "type:pattern".
    const std::string pattern = "*." + Lower(extension);
    const size_t typeField = version2 ? 1 : 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::istringstream parts(line);
        for (std::string field; std::getline(parts, field, ':');)
            fields.push_back(field);
        if (fields.size() < typeField + 2)
            continue;
        if (Lower(fields[typeField + 1]) == pattern && fields[typeField] != exceptType)
            return true;
    }
    return false;
}

bool TFileAssociations::OthersClaim(const std::string &extension) const
{
    std::vector<std::string> dirs = {FFolders.DataHome};
    dirs.insert(dirs.end(), FFolders.DataDirs.begin(), FFolders.DataDirs.end());
    for (const std::string &dir : dirs) {
        // A database has globs2, or only globs when it is old.
        for (const bool version2 : {true, false}) {
            std::ifstream globs(dir + "/mime/" + (version2 ? "globs2" : "globs"));
            if (!globs)
                continue;
            std::ostringstream text;
            text << globs.rdbuf();
            if (GlobsClaim(text.str(), version2, extension, MimeTypeName(extension)))
                return true;
            break;
        }
    }
    return false;
}

TAssociationState TFileAssociations::GetState(const TAssociationType &type) const
{
    const bool ownPackage = fs::exists(PackagePath(type.Extension));
    if (ownPackage)
        return PackageDescription(type.Extension) == type.Description ? asOurs : asOthers;
    return OthersClaim(type.Extension) ? asOthers : asNone;
}

bool TFileAssociations::Create(const TAssociationType &type)
{
    const std::string mimeType = MimeTypeName(type.Extension);
    QByteArray package;
    QXmlStreamWriter xml(&package);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement("mime-info");
    xml.writeDefaultNamespace("http://www.freedesktop.org/standards/shared-mime-info");
    xml.writeStartElement("mime-type");
    xml.writeAttribute("type", QString::fromStdString(mimeType));
    xml.writeTextElement("comment", QString::fromStdString(type.Description));
    xml.writeEmptyElement("icon");
    xml.writeAttribute("name", QString::fromStdString("application-x-" + type.Extension + "file"));
    // Above the usual weight: an association the user asked for wins over one installed.
    xml.writeEmptyElement("glob");
    xml.writeAttribute("pattern", QString::fromStdString("*." + type.Extension));
    xml.writeAttribute("weight", "80");
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    bool written = WriteWhole(PackagePath(type.Extension), package);

    const std::string entry = "[Desktop Entry]\n"
                              "Type=Application\n"
                              "Name=Tessella\n"
                              "Comment=" +
                              DesktopString(type.Description) +
                              "\n"
                              "Exec=" +
                              DesktopExecLine(FProgramPath) +
                              "\n"
                              "Icon=application-x-" +
                              type.Extension +
                              "file\n"
                              "MimeType=" +
                              mimeType +
                              ";\n"
                              "NoDisplay=true\n"
                              "Terminal=false\n";
    written =
        WriteWhole(DesktopEntryPath(type.Extension), QByteArray::fromStdString(entry)) && written;

    const std::string icon = IconPath(type.Extension);
    std::error_code error;
    fs::create_directories(fs::path(icon).parent_path(), error);
    written = TypeIcon(type.Extension, type.IconIndex).save(QString::fromStdString(icon), "PNG") &&
              written;

    Refresh();
    RunTool("xdg-mime", {"default", QString::fromStdString(DesktopFileName(type.Extension)),
                         QString::fromStdString(mimeType)});
    return written;
}

bool TFileAssociations::Remove(const TAssociationType &type)
{
    bool removed = true;
    for (const std::string &path : {PackagePath(type.Extension), DesktopEntryPath(type.Extension),
                                    IconPath(type.Extension)}) {
        std::error_code error;
        fs::remove(path, error);
        removed = removed && !error;
    }
    RemoveDefault(type.Extension);
    Refresh();
    return removed;
}

// The default application that xdg-mime recorded goes with the type.
void TFileAssociations::RemoveDefault(const std::string &extension) const
{
    TIniFile list(FFolders.ConfigHome + "/mimeapps.list");
    if (list.Load() != TIniReadResult::Read)
        return;
    const char *section = "Default Applications";
    const std::string key = MimeTypeName(extension);
    const std::string ours = DesktopFileName(extension);
    if (!list.ValueExists(section, key))
        return;
    std::string kept;
    std::istringstream entries(list.ReadString(section, key, ""));
    for (std::string entry; std::getline(entries, entry, ';');)
        if (!entry.empty() && entry != ours)
            kept += entry + ";";
    if (kept.empty())
        list.DeleteKey(section, key);
    else
        list.WriteString(section, key, kept);
    list.UpdateFile();
}

// Rebuilds the user's MIME database and desktop entry cache: how the desktop learns that
// associations changed.
void TFileAssociations::Refresh() const
{
    RunTool("update-mime-database", {QString::fromStdString(FFolders.DataHome + "/mime")});
    RunTool("update-desktop-database",
            {QString::fromStdString(FFolders.DataHome + "/applications")});
}

// The tools see the same folders as this object, whatever the program's environment says.
void TFileAssociations::RunTool(const char *name, const QStringList &arguments) const
{
    const QString tool = QStandardPaths::findExecutable(name);
    if (tool.isEmpty())
        return;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", QString::fromStdString(FFolders.DataHome));
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(FFolders.ConfigHome));
    QStringList dirs;
    for (const std::string &dir : FFolders.DataDirs)
        dirs << QString::fromStdString(dir);
    environment.insert("XDG_DATA_DIRS", dirs.join(':'));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(tool, arguments);
    process.waitForFinished(30000);
}
