#include "SusiePluginHost.h"

#include "common/RuntimeFolders.h"
#include "common/SusiePlugin.h"
#include "common/platform/CurrentDirectory.h"
#include "common/platform/DynamicLibrary.h"
#include "common/platform/InputFile.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace
{

constexpr size_t kProbeBytes = 2048;
constexpr size_t kProbeBuffer = 3072;
constexpr int kMaxFolderDepth = 32;

std::string Lower(std::string Text)
{
    std::transform(Text.begin(), Text.end(), Text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return Text;
}

std::string Info(SusieGetPluginInfoProc GetInfo, int32_t Number)
{
    char buffer[129] = {};
    GetInfo(Number, buffer, 128);
    buffer[128] = '\0';
    return buffer;
}

// Settings keys compare case-insensitively, as the settings file's do.
const TSusieSetting *FindSetting(const std::vector<TSusieSetting> &Settings,
                                 const std::string &FileName)
{
    const std::string key = Lower(FileName);
    for (const TSusieSetting &setting : Settings)
        if (Lower(setting.FileName) == key)
            return &setting;
    return nullptr;
}

// Frees the two blocks a plug-in handed over, whatever happens to the picture.
struct THandedBlocks {
    void *Info = nullptr;
    void *Bits = nullptr;
    ~THandedBlocks()
    {
        std::free(Info);
        std::free(Bits);
    }
};

} // namespace

bool TSusiePluginHost::ScanSusiePlugins(const std::string &Folder, const std::string &ProgramFolder,
                                        const std::vector<TSusieSetting> &Settings)
{
    FPlugins.clear();
    if (!ProgramFolder.empty())
        SetCurrentDirectoryPath(ProgramFolder);
    fs::path folder(Folder);
    if (folder.is_relative() && !ProgramFolder.empty())
        folder = fs::path(RuntimeFolderBase(ProgramFolder, Folder)) / folder;
    ScanFolder(folder.string(), Settings, 0);

    // Plug-ins with a settings key first, in the keys' order; the others as found.
    std::vector<TSusiePluginList> ordered;
    ordered.reserve(FPlugins.size());
    for (const TSusieSetting &setting : Settings) {
        for (TSusiePluginList &plugin : FPlugins) {
            if (!plugin.Path.empty() &&
                Lower(fs::path(plugin.Path).filename().string()) == Lower(setting.FileName)) {
                ordered.push_back(std::move(plugin));
                plugin.Path.clear();
            }
        }
    }
    for (TSusiePluginList &plugin : FPlugins)
        if (!plugin.Path.empty())
            ordered.push_back(std::move(plugin));
    FPlugins = std::move(ordered);
    return !FPlugins.empty();
}

void TSusiePluginHost::ScanFolder(const std::string &Folder,
                                  const std::vector<TSusieSetting> &Settings, int Depth)
{
    std::error_code error;
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(Folder, error), end; !error && it != end; it.increment(error))
        entries.push_back(*it);
    std::sort(entries.begin(), entries.end(),
              [](const fs::directory_entry &a, const fs::directory_entry &b) {
                  return a.path().filename() < b.path().filename();
              });
    for (const fs::directory_entry &entry : entries) {
        std::error_code ignored;
        if (entry.is_directory(ignored)) {
            // Linked folders are not followed, so a link back up cannot loop.
            if (!entry.is_symlink(ignored) && Depth < kMaxFolderDepth)
                ScanFolder(entry.path().string(), Settings, Depth + 1);
            continue;
        }
        if (Lower(entry.path().extension().string()) != ".spi")
            continue;
        const std::string path = fs::absolute(entry.path(), ignored).string();
        TDynamicLibrary library;
        if (!library.Load(path))
            continue;
        auto getInfo = library.Function<SusieGetPluginInfoProc>("GetPluginInfo");
        if (getInfo == nullptr)
            continue;
        const std::string version = Info(getInfo, 0);
        if (version.size() < 4 || version[2] != 'I' || version[3] != 'N')
            continue;
        TSusiePluginList plugin;
        plugin.Info.Name = Info(getInfo, 1);
        plugin.Info.Filter = Info(getInfo, 2);
        plugin.Info.Description = Info(getInfo, 3);
        plugin.Info.HasConfigDialog = library.Symbol("ConfigurationDlg") != nullptr;
        const TSusieSetting *setting = FindSetting(Settings, entry.path().filename().string());
        plugin.Info.Enabled = setting == nullptr || setting->Enabled;
        plugin.Path = path;
        FPlugins.push_back(std::move(plugin));
    }
}

bool TSusiePluginHost::LoadPictureBySusie(const std::string &FileName, TPixelBuffer &Bitmap)
{
    for (const TSusiePluginList &plugin : FPlugins) {
        if (plugin.Info.Enabled && LoadPictureWithSusiePlugin(FileName, plugin.Path, Bitmap))
            return true;
    }
    return false;
}

bool TSusiePluginHost::LoadPictureWithSusiePlugin(const std::string &FileName,
                                                  const std::string &LibraryPath,
                                                  TPixelBuffer &Bitmap)
{
    TDynamicLibrary library;
    if (!library.Load(LibraryPath))
        return false;
    auto isSupported = library.Function<SusieIsSupportedProc>("IsSupported");
    if (isSupported == nullptr)
        return false;

    std::vector<char> head(kProbeBuffer, 0);
    {
        TInputFile file;
        if (!file.Open(FileName.c_str()))
            throw std::runtime_error("cannot read " + fs::path(FileName).filename().string());
        file.Read(head.data(), kProbeBytes);
    }
    const bool supported = isSupported(FileName.c_str(), head.data()) != 0;
    head.clear();
    if (!supported)
        return false;

    auto getPictureInfo = library.Function<SusieGetPictureInfoProc>("GetPictureInfo");
    auto getPicture = library.Function<SusieGetPictureProc>("GetPicture");
    if (getPictureInfo == nullptr || getPicture == nullptr)
        return false;
    SusiePictureInfo info{};
    if (getPictureInfo(FileName.c_str(), 0, 0, &info) != 0)
        return false;
    std::free(info.hInfo);

    THandedBlocks blocks;
    FProgressOpen = false;
    const int32_t status = getPicture(FileName.c_str(), 0, 0, &blocks.Info, &blocks.Bits,
                                      &SusieProgress, reinterpret_cast<intptr_t>(this));
    // A plug-in that fails or is stopped half-way never reports its end; the display it
    // opened must not outlive the load, or its input gate keeps the editor shut.
    if (FProgressOpen && FProgress)
        FProgress(-1, -1, "");
    FProgressOpen = false;
    if (status != 0)
        return false;
    if (blocks.Info == nullptr || blocks.Bits == nullptr)
        return false;
    TPixelBuffer picture;
    if (!BitmapFromDib(static_cast<const uint8_t *>(blocks.Info),
                       static_cast<const uint8_t *>(blocks.Bits), picture))
        return false;
    Bitmap = std::move(picture);
    return true;
}

int32_t TSusiePluginHost::SusieProgress(int32_t nNum, int32_t nDenom, intptr_t lData)
{
    auto *host = reinterpret_cast<TSusiePluginHost *>(lData);
    if (host == nullptr || !host->FProgress)
        return 0;
    if (nNum == 0 && nDenom > 0)
        host->FProgressOpen = true;
    else if (nNum >= 0 && nNum == nDenom)
        host->FProgressOpen = false;
    return host->FProgress(nNum, nDenom, "now loading...") ? 0 : 1;
}

void TSusiePluginHost::OrderSusieByNames(const std::vector<std::string> &Names)
{
    std::vector<TSusiePluginList> ordered;
    std::vector<bool> taken(FPlugins.size(), false);
    for (const std::string &name : Names) {
        for (size_t i = 0; i < FPlugins.size(); ++i) {
            if (!taken[i] && FPlugins[i].Info.Name == name) {
                ordered.push_back(FPlugins[i]);
                taken[i] = true;
                break;
            }
        }
    }
    for (size_t i = 0; i < FPlugins.size(); ++i)
        if (!taken[i])
            ordered.push_back(FPlugins[i]);
    FPlugins = std::move(ordered);
}

bool TSusiePluginHost::OpenSusieConfigDialog(TessellaWindow *Parent, const std::string &LibraryPath,
                                             int32_t Code)
{
    TDynamicLibrary library;
    if (!library.Load(LibraryPath))
        return false;
    auto configure = library.Function<SusieConfigurationDlgProc>("ConfigurationDlg");
    if (configure == nullptr)
        return false;
    configure(Parent, Code);
    return true;
}
