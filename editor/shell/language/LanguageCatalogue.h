// The language catalogue: the language files found in "Languages", the one chosen for this
// run, and its two numbered lists. Every lookup takes the caller's English text, which is
// what it answers when no file gives the entry.
#pragma once

#include "LangEntry.h"
#include "editor/shell/settings/IniFile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TLanguageFileInfo {
    std::string FileName; // name with extension, without folder
    int32_t LocaleId = 0; // "Locale"/"id", 0 when missing
    std::string Path;     // where the scan found it
};

// Every ".ini" file (extension in any case) in the folder and its sub-folders, in name
// order within each folder, sub-folders taken where their name falls.
std::vector<TLanguageFileInfo> ScanLanguageFiles(const std::string &folder);

class TLanguageCatalogue
{
public:
    // Scans the "Languages" folder (beside the program, else where an installation puts
    // it: RuntimeFolderBase) and loads the language the settings name in
    // "General"/"Language". Without that key the first file whose locale number equals
    // localeId is taken and its name stored in the settings; when none matches, "english" is
    // stored and the built-in texts are used. A named file that does not exist leaves the
    // lists empty. False only when the chosen file exists but cannot be read.
    bool Init(const std::string &programFolder, TIniFile &settings, int32_t localeId);
    void Free();

    std::string GetLangString(int32_t index, std::string_view defaultText) const;
    std::string GetLangMessage(int32_t index, std::string_view defaultText) const;
    // A key of a named section (menus, hints, dialogs).
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultText) const;
    std::string GetLangText(const TLangEntry &entry) const
    {
        return ReadString(entry.Section, entry.Key, entry.Default);
    }

    const std::vector<TLanguageFileInfo> &LanguageFiles() const { return languageFiles; }
    // The file in use; empty when the built-in texts are used.
    const std::string &LanguageFilePath() const { return languagePath; }
    const std::vector<std::string> &Strings() const { return strings; }
    const std::vector<std::string> &Messages() const { return messages; }

private:
    std::string ChooseLanguageFile(const std::string &languageFolder, TIniFile &settings,
                                   int32_t localeId) const;

    std::vector<TLanguageFileInfo> languageFiles;
    std::string languagePath;
    TIniFile languageFile;
    std::vector<std::string> strings;
    std::vector<std::string> messages;
};

// The entries "str_0", "str_1", ... of a section up to the first that is missing or "--".
std::vector<std::string> LoadLangList(const TIniFile &file, std::string_view section);
