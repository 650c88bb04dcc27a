#include "LanguageCatalogue.h"

#include "common/RuntimeFolders.h"
#include "editor/shell/settings/Settings.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace
{

std::string Folded(std::string text)
{
    for (char &c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

void ScanFolder(const fs::path &folder, std::set<fs::path> &visited,
                std::vector<TLanguageFileInfo> &found)
{
    std::error_code error;
    // A folder linked into itself is scanned once.
    const fs::path canonical = fs::canonical(folder, error);
    if (error || !visited.insert(canonical).second)
        return;

    std::vector<fs::path> entries;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        entries.push_back(it->path());
    std::sort(entries.begin(), entries.end(), [](const fs::path &a, const fs::path &b) {
        const std::string fa = Folded(a.filename().string());
        const std::string fb = Folded(b.filename().string());
        return fa != fb ? fa < fb : a.filename() < b.filename();
    });

    for (const fs::path &entry : entries) {
        std::error_code statError;
        if (fs::is_directory(entry, statError)) {
            ScanFolder(entry, visited, found);
            continue;
        }
        // Only regular files: opening a pipe that happens to end in ".ini" would block.
        if (!fs::is_regular_file(entry, statError) || Folded(entry.extension().string()) != ".ini")
            continue;
        TIniFile file(entry.string());
        file.Load();
        found.push_back(
            {entry.filename().string(), file.ReadInteger("Locale", "id", 0), entry.string()});
    }
}

} // namespace

std::vector<TLanguageFileInfo> ScanLanguageFiles(const std::string &folder)
{
    std::vector<TLanguageFileInfo> found;
    std::set<fs::path> visited;
    ScanFolder(folder, visited, found);
    return found;
}

std::vector<std::string> LoadLangList(const TIniFile &file, std::string_view section)
{
    std::vector<std::string> list;
    for (size_t n = 0;; ++n) {
        std::string value = file.ReadString(section, "str_" + std::to_string(n), "--");
        if (value == "--")
            break;
        list.push_back(std::move(value));
    }
    return list;
}

std::string TLanguageCatalogue::ChooseLanguageFile(const std::string &languageFolder,
                                                   TIniFile &settings, int32_t localeId) const
{
    if (HasLanguageName(settings)) {
        const std::string fileName = ReadLanguageName(settings) + ".ini";
        const fs::path direct = fs::path(languageFolder) / fileName;
        std::error_code error;
        if (fs::exists(direct, error))
            return direct.string();
        // The about box offers files of sub-folders by name only: find them where the scan
        // saw them rather than falling back to the built-in texts.
        for (const TLanguageFileInfo &info : languageFiles) {
            if (Folded(info.FileName) == Folded(fileName))
                return info.Path;
        }
        return direct.string();
    }
    for (const TLanguageFileInfo &info : languageFiles) {
        if (info.LocaleId == localeId) {
            WriteLanguageName(settings, fs::path(info.FileName).stem().string());
            return info.Path;
        }
    }
    WriteLanguageName(settings, "english");
    return {};
}

bool TLanguageCatalogue::Init(const std::string &programFolder, TIniFile &settings,
                              int32_t localeId)
{
    Free();
    const std::string languageFolder =
        (fs::path(RuntimeFolderBase(programFolder, "Languages")) / "Languages").string();
    languageFiles = ScanLanguageFiles(languageFolder);

    const std::string path = ChooseLanguageFile(languageFolder, settings, localeId);
    if (path.empty())
        return true;
    languageFile.SetFileName(path);
    switch (languageFile.Load()) {
    case TIniReadResult::Missing:
        return true;
    case TIniReadResult::Failed:
        languageFile.Clear();
        return false;
    case TIniReadResult::Read:
        break;
    }
    languagePath = path;
    strings = LoadLangList(languageFile, "Strings");
    messages = LoadLangList(languageFile, "Messages");
    return true;
}

void TLanguageCatalogue::Free()
{
    languageFiles.clear();
    languagePath.clear();
    languageFile.Clear();
    languageFile.SetFileName({});
    strings.clear();
    messages.clear();
}

namespace
{
std::string Lookup(const std::vector<std::string> &list, int32_t index, std::string_view fallback)
{
    if (index < 0 || static_cast<size_t>(index) >= list.size())
        return std::string(fallback);
    return list[static_cast<size_t>(index)];
}
} // namespace

std::string TLanguageCatalogue::GetLangString(int32_t index, std::string_view defaultText) const
{
    return Lookup(strings, index, defaultText);
}

std::string TLanguageCatalogue::GetLangMessage(int32_t index, std::string_view defaultText) const
{
    return Lookup(messages, index, defaultText);
}

std::string TLanguageCatalogue::ReadString(std::string_view section, std::string_view key,
                                           std::string_view defaultText) const
{
    if (languagePath.empty())
        return std::string(defaultText);
    return languageFile.ReadString(section, key, defaultText);
}
