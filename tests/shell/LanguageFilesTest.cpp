// The shipped language files against the built-in English texts.
#include "editor/plugins/TextEncoding.h"
#include "editor/shell/language/LangSections.h"
#include "editor/shell/language/LangTexts.h"
#include "editor/shell/language/LanguageCatalogue.h"
#include "editor/shell/settings/IniFile.h"

#include "TempFolder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace
{

std::string SourceFile(const std::string &name)
{
    return std::string(TESSELLA_SOURCE_DIR) + "/languages/" + name;
}

TIniFile LoadLanguage(const std::string &name)
{
    TIniFile file(SourceFile(name));
    EXPECT_EQ(file.Load(), TIniReadResult::Read) << name;
    return file;
}

std::string Fold(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Keys that several entries share with different English texts: a file cannot give
// each its own, so english.ini leaves them out.
std::set<std::string> SharedKeys(const TLangSection &section)
{
    std::map<std::string, std::set<std::string>> defaults;
    for (const TLangEntry &entry : section.Entries)
        defaults[Fold(entry.Key)].insert(entry.Default);
    std::set<std::string> shared;
    for (const auto &[key, texts] : defaults) {
        if (texts.size() > 1)
            shared.insert(key);
    }
    return shared;
}

std::set<std::string> FoldedKeys(const TIniFile &file, const std::string &section)
{
    std::set<std::string> keys;
    for (const std::string &key : file.KeyNames(section))
        keys.insert(Fold(key));
    return keys;
}

} // namespace

TEST(LanguageFiles, EnglishHoldsEveryNumberedEntryWithTheBuiltInText)
{
    const TIniFile english = LoadLanguage("english.ini");
    EXPECT_EQ(english.ReadInteger("Locale", "id", 0), 1033);

    const std::vector<std::string> strings = LoadLangList(english, "Strings");
    ASSERT_EQ(strings.size(), std::size(LangString::All));
    for (const TLangText &text : LangString::All)
        EXPECT_EQ(strings[static_cast<size_t>(text.Index)], text.Default)
            << "Strings " << text.Index;

    // Entry 40 is unused yet present, so that 41 still loads.
    const std::vector<std::string> messages = LoadLangList(english, "Messages");
    ASSERT_EQ(messages.size(), std::size(LangMessage::All));
    for (const TLangText &text : LangMessage::All)
        EXPECT_EQ(messages[static_cast<size_t>(text.Index)], text.Default)
            << "Messages " << text.Index;
}

TEST(LanguageFiles, TheTablesAreInIndexOrder)
{
    for (size_t i = 0; i < std::size(LangString::All); ++i)
        EXPECT_EQ(LangString::All[i].Index, static_cast<int32_t>(i));
    for (size_t i = 0; i < std::size(LangMessage::All); ++i)
        EXPECT_EQ(LangMessage::All[i].Index, static_cast<int32_t>(i));
    EXPECT_EQ(MainMenuText::Section, std::string("MainMenu"));
    EXPECT_EQ(std::size(MainMenuText::All), 69u);
    EXPECT_EQ(std::size(HintText::All), 41u);
}

TEST(LanguageFiles, EnglishNamedSectionsMatchTheBuiltInTexts)
{
    const TIniFile english = LoadLanguage("english.ini");
    std::set<std::string> knownSections = {"locale", "strings", "messages"};
    for (const TLangSection &section : NamedLangSections) {
        knownSections.insert(Fold(section.Name));
        const std::set<std::string> shared = SharedKeys(section);
        std::set<std::string> known;
        for (const TLangEntry &entry : section.Entries) {
            known.insert(Fold(entry.Key));
            // Reading through the file gives the built-in text, whether the key is there or
            // (for a shared key) left out.
            EXPECT_EQ(english.ReadString(entry.Section, entry.Key, "<missing>"),
                      shared.count(Fold(entry.Key)) ? "<missing>" : entry.Default)
                << section.Name << "/" << entry.Key;
        }
        // Nothing in the file that the program does not know.
        for (const std::string &key : FoldedKeys(english, section.Name))
            EXPECT_TRUE(known.count(key)) << "unknown key " << section.Name << "/" << key;
    }
    for (const std::string &name : english.SectionNames())
        EXPECT_TRUE(knownSections.count(Fold(name))) << "unknown section " << name;
}

TEST(LanguageFiles, JapaneseTranslatesEverything)
{
    const std::string bytes = TTempFolder::Read(SourceFile("japanese.ini"));
    EXPECT_TRUE(IsValidUtf8(bytes));
    const TIniFile japanese = LoadLanguage("japanese.ini");
    const TIniFile english = LoadLanguage("english.ini");
    EXPECT_EQ(japanese.ReadInteger("Locale", "id", 0), 1041);

    EXPECT_EQ(LoadLangList(japanese, "Strings").size(), std::size(LangString::All));
    EXPECT_EQ(LoadLangList(japanese, "Messages").size(), std::size(LangMessage::All));
    EXPECT_EQ(japanese.ReadString("Strings", "str_0", ""), "無題");

    for (const std::string &section : english.SectionNames()) {
        const std::set<std::string> keys = FoldedKeys(japanese, section);
        for (const std::string &key : english.KeyNames(section))
            EXPECT_TRUE(keys.count(Fold(key))) << "japanese.ini lacks " << section << "/" << key;
    }
    // Shared keys too, which english.ini leaves out: one translation serves all users.
    for (const TLangSection &section : NamedLangSections) {
        for (const TLangEntry &entry : section.Entries) {
            EXPECT_TRUE(japanese.ValueExists(entry.Section, entry.Key))
                << "japanese.ini lacks " << section.Name << "/" << entry.Key;
            EXPECT_FALSE(japanese.ReadString(entry.Section, entry.Key, "").empty());
        }
    }
}

TEST(LanguageFiles, BuildCopiesThemToLanguages)
{
    for (const char *name : {"english.ini", "japanese.ini"}) {
        const std::string built = std::string(TESSELLA_BUILD_DIR) + "/Languages/" + name;
        EXPECT_TRUE(TTempFolder::Read(built) == TTempFolder::Read(SourceFile(name))) << name;
    }
    const std::vector<TLanguageFileInfo> files =
        ScanLanguageFiles(std::string(TESSELLA_BUILD_DIR) + "/Languages");
    ASSERT_GE(files.size(), 2u);
    EXPECT_EQ(files[0].FileName, "english.ini");
    EXPECT_EQ(files[0].LocaleId, 1033);
    EXPECT_EQ(files[1].FileName, "japanese.ini");
    EXPECT_EQ(files[1].LocaleId, 1041);
}
