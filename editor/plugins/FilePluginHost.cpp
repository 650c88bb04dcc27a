#include "FilePluginHost.h"

#include "common/RuntimeFolders.h"
#include "common/platform/CurrentDirectory.h"
#include "common/platform/DynamicLibrary.h"
#include "editor/map/DialogSeam.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>

namespace
{

std::string FixedText(const char *text, size_t size)
{
    return std::string(text, strnlen(text, size));
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

const char *const kResultTexts[] = {
    "Successful",
    "This file is not supported!",
    "The function is not implemented!",
    "The parameter is abnormal!",
    "The file is broken!",
    "File error!",
    "Not enough memory!",
    "Processing was aborted!(user cancellation)",
    "Internal error!",
};

} // namespace

std::string TPluginList::Description() const
{
    return FixedText(Info.Description, sizeof Info.Description);
}

std::string TPluginList::Filter() const
{
    return FixedText(Info.Filter, sizeof Info.Filter);
}

bool ContainsNoCase(const std::string &text, const std::string &pattern)
{
    return Lower(text).find(Lower(pattern)) != std::string::npos;
}

std::string ResultText(int32_t code)
{
    std::string text;
    if (code >= 0 && code <= 8)
        text = Dialogs().GetLangMessage(30 + code, kResultTexts[code]);
    else
        text = Dialogs().GetLangMessage(39, "Undefined error!");
    return text + "(" + std::to_string(code) + ")";
}

bool TFilePluginHost::LoadPlugins(const std::string &programFolder, const std::string &folder)
{
    FProgramFolder = RuntimeFolderBase(programFolder, folder);
    FPluginList.clear();
    FHasProjectPlugin = FHasImportPlugin = FHasExportPlugin = false;
    SetCurrentDirectoryPath(FProgramFolder);
    std::set<std::string> visited;
    const uint32_t flags = ScanFolder(folder, visited);
    for (size_t i = 0; i < FPluginList.size(); ++i) {
        if (ContainsNoCase(FPluginList[i].Filter(), "*.tzp"))
            std::swap(FPluginList[i], FPluginList[0]);
    }
    FHasProjectPlugin = (flags & pfProject) != 0;
    FHasImportPlugin = (flags & pfImport) != 0;
    FHasExportPlugin = (flags & pfExport) != 0;
    return flags != 0;
}

uint32_t TFilePluginHost::ScanFolder(const std::string &relativeFolder,
                                     std::set<std::string> &visited)
{
    namespace fs = std::filesystem;
    uint32_t flags = 0;
    std::error_code error;
    const fs::path folder = fs::path(FProgramFolder) / relativeFolder;
    const fs::path real = fs::canonical(folder, error);
    if (error || !visited.insert(real.string()).second)
        return 0;
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        entries.push_back(*it);
    // A stable order whatever the file system lists first.
    std::sort(entries.begin(), entries.end(),
              [](const fs::directory_entry &a, const fs::directory_entry &b) {
                  return a.path().filename() < b.path().filename();
              });
    for (const fs::directory_entry &entry : entries) {
        const std::string name = entry.path().filename().string();
        const std::string relative = relativeFolder + "/" + name;
        if (entry.is_directory(error)) {
            flags |= ScanFolder(relative, visited);
            continue;
        }
        if (Lower(entry.path().extension().string()) != ".so")
            continue;
        TDynamicLibrary library(entry.path().string());
        auto getInfo = library.Function<FilePluginGetInfoProc>("GetTessellaPluginInfo");
        if (getInfo == nullptr)
            continue;
        TPluginList plugin;
        getInfo(&plugin.Info);
        plugin.FileName = relative;
        auto getApiVersion = library.Function<FilePluginGetApiVersionProc>("GetApiVersion");
        plugin.ApiVersion = getApiVersion != nullptr ? getApiVersion() : 1;
        flags |= plugin.Info.Flags;
        FPluginList.push_back(std::move(plugin));
    }
    return flags;
}

int32_t TFilePluginHost::ProjectPluginIndex() const
{
    for (size_t i = 0; i < FPluginList.size(); ++i) {
        if (ContainsNoCase(FPluginList[i].Filter(), "*.tzp"))
            return static_cast<int32_t>(i) + 1;
    }
    return 0;
}

std::string TFilePluginHost::LibraryPath(const TPluginList &entry) const
{
    return (std::filesystem::path(FProgramFolder) / entry.FileName).string();
}

bool TFilePluginHost::OpenPluginSettings(TessellaWindow *window, const std::string &fileName,
                                         int32_t mode) const
{
    TDynamicLibrary library((std::filesystem::path(FProgramFolder) / fileName).string());
    auto configure = library.Function<FilePluginConfigurationDlgProc>("ConfigurationDlg");
    if (configure == nullptr)
        return false;
    configure(window, mode);
    return true;
}
