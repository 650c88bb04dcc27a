// File associations on a freedesktop system: a file type of the user's shared MIME database
// (a package in $XDG_DATA_HOME/mime/packages) with a .desktop entry in the user's data folder
// that opens files of that type with this program, and an icon per type. Nothing is written
// outside the user's own folders. The database and desktop caches are rebuilt with
// update-mime-database and update-desktop-database, and the program is made the default
// with xdg-mime, each when the tool is installed.
#pragma once

#include <QStringList>
#include <cstdint>
#include <string>
#include <vector>

// The XDG base directories.
struct TXdgFolders {
    std::string DataHome;              // $XDG_DATA_HOME, else ~/.local/share
    std::string ConfigHome;            // $XDG_CONFIG_HOME, else ~/.config
    std::vector<std::string> DataDirs; // $XDG_DATA_DIRS, else /usr/local/share, /usr/share
    static TXdgFolders FromEnvironment();
};

struct TAssociationType {
    std::string Extension;   // "tzp"
    std::string Description; // "Tessella Project File"
    int32_t IconIndex = 1;
};

// The three states of an association.
enum TAssociationState : int32_t {
    asNone = 0,   // no file type claims the extension
    asOurs = 1,   // our file type with this description claims it
    asOthers = 2, // it belongs to another program (or to an older description of ours)
};

class TFileAssociations
{
public:
    TFileAssociations(TXdgFolders folders, std::string programPath);

    TAssociationState GetState(const TAssociationType &type) const;
    // Writes the file type, the .desktop entry and the icon; false when a file could not be
    // written (what was written stays, as the state then shows).
    bool Create(const TAssociationType &type);
    // Deletes what Create wrote; false when something could not be deleted.
    bool Remove(const TAssociationType &type);

    // "application/x-tzpfile": the file type's name, after the extension.
    static std::string MimeTypeName(const std::string &extension);
    std::string PackagePath(const std::string &extension) const;
    std::string DesktopEntryPath(const std::string &extension) const;
    std::string IconPath(const std::string &extension) const;

private:
    // The description our package gives the type; empty without a package.
    std::string PackageDescription(const std::string &extension) const;
    // Whether any installed type other than ours has the pattern "*.extension".
    bool OthersClaim(const std::string &extension) const;
    void Refresh() const;
    void RunTool(const char *name, const QStringList &arguments) const;
    void RemoveDefault(const std::string &extension) const;

    TXdgFolders FFolders;
    std::string FProgramPath;
};

// Whether the text of a MIME database's globs2 (version2) or globs file gives the pattern
// "*.extension" (in any case) to a type other than exceptType.
bool GlobsClaim(const std::string &text, bool version2, const std::string &extension,
                const std::string &exceptType);

// The Exec= value that opens one file with the program: the path quoted and escaped as the
// desktop entry format wants it, then the file code.
std::string DesktopExecLine(const std::string &programPath);
