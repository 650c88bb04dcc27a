#include "common/RuntimeFolders.h"

#include <filesystem>
#include <system_error>

namespace
{

namespace fs = std::filesystem;

// Relative to the program's folder <prefix>/bin; packaging/CMakeLists.txt installs there.
const char *InstalledBase(const std::string &name)
{
    if (name == "Plugins")
        return "../lib/tessella";
    if (name == "Languages")
        return "../share/tessella";
    return nullptr;
}

bool IsFolder(const fs::path &path)
{
    std::error_code error;
    return fs::is_directory(path, error);
}

// The installed folder that holds name; empty when there is none.
std::string InstalledFolderBase(const std::string &programFolder, const std::string &name)
{
    const char *installed = InstalledBase(name);
    if (installed == nullptr || programFolder.empty())
        return {};
    const fs::path base = (fs::path(programFolder) / installed).lexically_normal();
    return IsFolder(base / name) ? base.string() : std::string();
}

} // namespace

std::string RuntimeFolderBase(const std::string &ProgramFolder, const std::string &Name)
{
    if (IsFolder(fs::path(ProgramFolder) / Name))
        return ProgramFolder;
    const std::string installed = InstalledFolderBase(ProgramFolder, Name);
    return installed.empty() ? ProgramFolder : installed;
}

bool IsInstalledProgram(const std::string &ProgramFolder)
{
    return !IsFolder(fs::path(ProgramFolder) / "Plugins") &&
           !InstalledFolderBase(ProgramFolder, "Plugins").empty();
}
