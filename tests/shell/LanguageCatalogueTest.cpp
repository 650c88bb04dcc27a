#include "editor/shell/language/LangTexts.h"
#include "editor/shell/language/Language.h"
#include "editor/shell/settings/Settings.h"
#include "editor/shell/settings/SettingsFile.h"

#include "TempFolder.h"
#include "tests/support/ScriptedDialogSeam.h"

#include <gtest/gtest.h>

namespace
{

// A program folder with its own Languages folder.
class LanguageCatalogueTest : public testing::Test
{
protected:
    TTempFolder program;
    TIniFile settings;
    TLanguageCatalogue catalogue;

    void WriteLanguage(const std::string &relative, const std::string &content)
    {
        program.Write("Languages/" + relative, content);
    }
};

std::string Numbered(const char *section, int count)
{
    std::string text = std::string("[") + section + "]\n";
    for (int i = 0; i < count; ++i)
        text += "str_" + std::to_string(i) + "=" + section + std::to_string(i) + "\n";
    return text;
}

} // namespace

TEST_F(LanguageCatalogueTest, ListsEndAtTheFirstGap)
{
    WriteLanguage("gaps.ini", "[Strings]\nstr_0=a\nstr_1=b\nstr_2=c\nstr_3=d\nstr_4=e\nstr_6=g\n"
                              "[Messages]\nstr_0=m0\nstr_1=m1\nstr_2=m2\nstr_3=--\nstr_4=m4\n");
    settings.WriteString("General", "Language", "gaps");
    ASSERT_TRUE(catalogue.Init(program.Path(), settings, 1033));
    EXPECT_EQ(catalogue.Strings().size(), 5u);
    EXPECT_EQ(catalogue.GetLangString(4, "Error"), "e");
    EXPECT_EQ(catalogue.GetLangString(5, "Infomation"), "Infomation");
    EXPECT_EQ(catalogue.GetLangString(6, "Caution"), "Caution");
    // A literal "--" ends the list as a missing key does.
    EXPECT_EQ(catalogue.Messages().size(), 3u);
    EXPECT_EQ(catalogue.GetLangMessage(2, "x"), "m2");
    EXPECT_EQ(catalogue.GetLangMessage(4, "default"), "default");
}

TEST_F(LanguageCatalogueTest, IndicesOutsideTheListGiveTheDefault)
{
    WriteLanguage("short.ini",
                  Numbered("Strings", 3) + Numbered("Messages", 30) + "[Strings]\nstr_1=\n");
    settings.WriteString("General", "Language", "short");
    ASSERT_TRUE(catalogue.Init(program.Path(), settings, 1033));
    EXPECT_EQ(catalogue.GetLangString(-1, "negative"), "negative");
    EXPECT_EQ(catalogue.GetLangString(INT32_MIN, "negative"), "negative");
    EXPECT_EQ(catalogue.GetLangString(3, "beyond"), "beyond");
    EXPECT_EQ(catalogue.GetLangString(0, "first"), "Strings0");
    EXPECT_EQ(catalogue.GetLangMessage(29, "last"), "Messages29");
    EXPECT_EQ(catalogue.GetLangMessage(41, LangMessage::PartsSizeChanged.Default),
              LangMessage::PartsSizeChanged.Default);
}

TEST_F(LanguageCatalogueTest, EmptyValueIsAnEntry)
{
    WriteLanguage("empty.ini", "[Strings]\nstr_0=\nstr_1=one\n");
    settings.WriteString("General", "Language", "empty");
    ASSERT_TRUE(catalogue.Init(program.Path(), settings, 1033));
    EXPECT_EQ(catalogue.GetLangString(0, "Untitled"), "");
    EXPECT_EQ(catalogue.GetLangString(1, "x"), "one");
}

TEST_F(LanguageCatalogueTest, FirstStartTakesTheFileOfTheSystemLocale)
{
    WriteLanguage("english.ini", "[Locale]\nid=1033\n[Strings]\nstr_0=Untitled\n");
    WriteLanguage("nihongo.ini", "[Locale]\nid=1041\n[Strings]\nstr_0=無題\n");
    ASSERT_TRUE(catalogue.Init(program.Path(), settings, 1041));
    EXPECT_EQ(ReadLanguageName(settings), "nihongo");
    EXPECT_EQ(catalogue.GetLangString(0, "Untitled"), "無題"); // used at once
}

TEST_F(LanguageCatalogueTest, InstalledProgramFindsItsSharedLanguagesFolder)
{
    // <prefix>/bin/tessella with <prefix>/share/tessella/Languages, nothing beside it.
    program.Write("usr/share/tessella/Languages/nihongo.ini",
                  "[Locale]\nid=1041\n[Strings]\nstr_0=無題\n");
    std::filesystem::create_directories(program.File("usr/bin"));
    ASSERT_TRUE(catalogue.Init(program.File("usr/bin"), settings, 1041));
    EXPECT_EQ(ReadLanguageName(settings), "nihongo");
    EXPECT_EQ(catalogue.LanguageFilePath(),
              program.File("usr/share/tessella/Languages/nihongo.ini"));
    EXPECT_EQ(catalogue.GetLangString(0, "Untitled"), "無題");
}

TEST_F(LanguageCatalogueTest, NoMatchingLocaleStoresEnglishAndUsesTheBuiltInTexts)
{
    WriteLanguage("nihongo.ini", "[Locale]\nid=1041\n[Strings]\nstr_0=無題\n");
    ASSERT_TRUE(catalogue.Init(program.Path(), settings, 1031));
    EXPECT_EQ(settings.ReadString("General", "Language", ""), "english");
    EXPECT_TRUE(catalogue.LanguageFilePath().empty());
    EXPECT_EQ(catalogue.GetLangString(0, "Untitled"), "Untitled");
}

TEST_F(LanguageCatalogueTest, StoredLanguageWinsOverTheLocale)
{
    WriteLanguage("nihongo.ini", "[Locale]\nid=1041\n[Strings]\nstr_0=無題\n");
    settings.WriteString("General", "Language", "english");
    ASSERT_TRUE(catalogue.Init(program.Path(), settings, 1041));
    EXPECT_EQ(ReadLanguageName(settings), "english");
    EXPECT_EQ(catalogue.GetLangString(0, "Untitled"), "Untitled");
}

TEST_F(LanguageCatalogueTest, MissingLanguageFileGivesTheDefaults)
{
    settings.WriteString("General", "Language", "klingon");
    ASSERT_TRUE(catalogue.Init(program.Path(), settings, 1033));
    EXPECT_TRUE(catalogue.Strings().empty());
    EXPECT_EQ(catalogue.GetLangMessage(22, "File I/O plug-in was not found."),
              "File I/O plug-in was not found.");
    EXPECT_EQ(catalogue.ReadString("MainMenu", "New", "New..."), "New...");
}

TEST_F(LanguageCatalogueTest, UnreadableLanguageFileFails)
{
    std::filesystem::create_directories(program.File("Languages/broken.ini/inside"));
    settings.WriteString("General", "Language", "broken");
    EXPECT_FALSE(catalogue.Init(program.Path(), settings, 1033));
}

TEST_F(LanguageCatalogueTest, ScanIsRecursiveAndTakesIniInAnyCase)
{
    WriteLanguage("b.ini", "[Locale]\nid=7\n");
    WriteLanguage("A.INI", "[locale]\nID=5\n");
    WriteLanguage("readme.txt", "[Locale]\nid=9\n");
    WriteLanguage("more/c.Ini", "[Locale]\nid=1041\n[Strings]\nstr_0=C\n");
    WriteLanguage("no-locale.ini", "[Strings]\nstr_0=x\n");
    const std::vector<TLanguageFileInfo> files = ScanLanguageFiles(program.File("Languages"));
    ASSERT_EQ(files.size(), 4u);
    EXPECT_EQ(files[0].FileName, "A.INI");
    EXPECT_EQ(files[0].LocaleId, 5);
    EXPECT_EQ(files[1].FileName, "b.ini");
    EXPECT_EQ(files[2].FileName, "c.Ini"); // listed by name only, without "more/"
    EXPECT_EQ(files[2].LocaleId, 1041);
    EXPECT_EQ(files[3].FileName, "no-locale.ini");
    EXPECT_EQ(files[3].LocaleId, 0);

    // A file found in a sub-folder is used when chosen, rather than silently not found.
    ASSERT_TRUE(catalogue.Init(program.Path(), settings, 1041));
    EXPECT_EQ(ReadLanguageName(settings), "c");
    EXPECT_EQ(catalogue.GetLangString(0, "Untitled"), "C");
    TLanguageCatalogue again;
    ASSERT_TRUE(again.Init(program.Path(), settings, 1033));
    EXPECT_EQ(again.GetLangString(0, "Untitled"), "C");
}

TEST_F(LanguageCatalogueTest, NoLanguagesFolderAtAll)
{
    ASSERT_TRUE(catalogue.Init(program.File("elsewhere"), settings, 1041));
    EXPECT_TRUE(catalogue.LanguageFiles().empty());
    EXPECT_EQ(ReadLanguageName(settings), "english");
}

TEST_F(LanguageCatalogueTest, NamedSectionsFallBackKeyByKey)
{
    WriteLanguage("partial.ini", "[MainMenu]\nnew=Neu...\n");
    settings.WriteString("General", "Language", "partial");
    ASSERT_TRUE(catalogue.Init(program.Path(), settings, 1033));
    EXPECT_EQ(catalogue.ReadString("mainmenu", "New", "New..."), "Neu...");
    EXPECT_EQ(catalogue.ReadString("MainMenu", "Open", "Open..."), "Open...");
    EXPECT_EQ(catalogue.ReadString("Hints", "New", "New project"), "New project");
}

// The program-wide catalogue, its settings file and its message boxes.
class GlobalLanguageTest : public LanguageCatalogueTest
{
protected:
    void TearDown() override { FreeLanguage(); }
};

TEST_F(GlobalLanguageTest, AnotherErrorWordChangesEveryErrorCaption)
{
    WriteLanguage("deutsch.ini", "[Locale]\nid=1031\n[Strings]\nstr_0=Unbenannt\nstr_1=Cursor\n"
                                 "str_2=Auswahl\nstr_3=Anzeige\nstr_4=Fehler\nstr_5=Hinweis\n");
    ASSERT_TRUE(InitLanguage(program.Path(), 1031));
    EXPECT_EQ(SettingsFile().FileName(), program.File("Tessella.ini"));
    EXPECT_EQ(ReadLanguageName(SettingsFile()), "deutsch");
    EXPECT_EQ(MessageBoxCaption(mkError), "Tessella : Fehler");
    EXPECT_EQ(MessageBoxCaption(mkInformation), "Tessella : Hinweis");
    EXPECT_EQ(MessageBoxCaption(mkCaution), "Tessella : Caution");
    EXPECT_EQ(MessageBoxCaption(3), "");
    EXPECT_EQ(GetLangString(LangString::Untitled), "Unbenannt");
    EXPECT_EQ(GetLangMessage(LangMessage::FatalError), "A fatal error occurred!");
}

TEST_F(GlobalLanguageTest, MessageBoxesGoThroughTheSeam)
{
    ASSERT_TRUE(InitLanguage(program.Path(), 1033));
    EXPECT_EQ(MessageBoxCaption(mkError), "Tessella : Error");
    EXPECT_EQ(MessageBoxCaption(mkInformation), "Tessella : Infomation");
    TScopedDialogSeam seam;
    ShowMessageBox(mkError, "A fatal error occurred!(code:-2)");
    ShowMessageBox(3, "not shown");
    ShowMessageBox(-1, "not shown");
    ASSERT_EQ(seam->Messages.size(), 1u);
    EXPECT_EQ(seam->Messages[0].Kind, mkError);
    EXPECT_EQ(seam->Messages[0].Text, "A fatal error occurred!(code:-2)");
}

TEST_F(GlobalLanguageTest, UnreadableSettingsFileFailsTheStart)
{
    std::filesystem::create_directory(program.File("Tessella.ini"));
    EXPECT_FALSE(InitLanguage(program.Path(), 1033));
}

TEST_F(GlobalLanguageTest, FreeLanguageForgetsEverything)
{
    WriteLanguage("x.ini", "[Locale]\nid=1033\n[Strings]\nstr_0=X\n");
    ASSERT_TRUE(InitLanguage(program.Path(), 1033));
    EXPECT_EQ(GetLangString(0, "Untitled"), "X");
    FreeLanguage();
    EXPECT_EQ(GetLangString(0, "Untitled"), "Untitled");
    EXPECT_TRUE(LanguageCatalogue().LanguageFiles().empty());
    EXPECT_TRUE(SettingsFile().FileName().empty());
}
