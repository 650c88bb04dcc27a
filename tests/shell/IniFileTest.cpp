#include "editor/shell/settings/IniFile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

namespace
{

TIniFile Parse(const std::string &text)
{
    TIniFile ini;
    ini.LoadFromBytes(text);
    return ini;
}

} // namespace

TEST(IniFile, NamesCompareWithoutCase)
{
    TIniFile ini = Parse("[newDialog]\nmapwidth=120\n");
    EXPECT_EQ(ini.ReadInteger("NewDialog", "mapWidth", 100), 120);
    EXPECT_TRUE(ini.SectionExists("NEWDIALOG"));

    // Writing with another spelling meets the same entry and keeps the file's spelling.
    ASSERT_TRUE(ini.WriteInteger("NewDialog", "mapWidth", 64));
    EXPECT_EQ(ini.SaveToBytes(), "[newDialog]\nmapwidth=64\n");
}

TEST(IniFile, RoundTripKeepsWhatItDoesNotKnow)
{
    const std::string original = "; settings\r\n"
                                 "\r\n"
                                 "[General]\r\n"
                                 "  ShowGrid = 0   \r\n"
                                 "Unknown=keep me\r\n"
                                 "not a key line\r\n"
                                 "\r\n"
                                 "[Other]\r\n"
                                 "# hash comment\r\n"
                                 "x=1\r\n";
    TIniFile ini = Parse(original);
    EXPECT_EQ(ini.SaveToBytes(), original);

    ini.WriteBool("General", "ShowGrid", true);
    ini.WriteInteger("General", "GridColor", 255);
    ini.WriteString("Window", "MainWinLeft", "5");
    EXPECT_EQ(ini.SaveToBytes(), "; settings\r\n"
                                 "\r\n"
                                 "[General]\r\n"
                                 "ShowGrid=1\r\n"
                                 "Unknown=keep me\r\n"
                                 "GridColor=255\r\n"
                                 "not a key line\r\n"
                                 "\r\n"
                                 "[Other]\r\n"
                                 "# hash comment\r\n"
                                 "x=1\r\n"
                                 "\r\n"
                                 "[Window]\r\n"
                                 "MainWinLeft=5\r\n");
}

TEST(IniFile, ByteOrderMarkAndMissingFinalLineBreakSurvive)
{
    const std::string original = "\xEF\xBB\xBF[A]\nk=v";
    TIniFile ini = Parse(original);
    EXPECT_EQ(ini.ReadString("A", "k", ""), "v");
    EXPECT_EQ(ini.SaveToBytes(), original);
}

TEST(IniFile, BooleansAndIntegers)
{
    TIniFile ini = Parse("[S]\nzero=0\none=1\nseven=7\nneg=-3\nhex=0x00A4A0A0\ndollar=$ff\n"
                         "word=yes\nempty=\nbig=99999999999\nspaced= 12 \n");
    EXPECT_FALSE(ini.ReadBool("S", "zero", true));
    EXPECT_TRUE(ini.ReadBool("S", "one", false));
    EXPECT_TRUE(ini.ReadBool("S", "seven", false)); // any non-zero integer is true
    EXPECT_TRUE(ini.ReadBool("S", "word", true));   // not an integer: the default
    EXPECT_FALSE(ini.ReadBool("S", "word", false));
    EXPECT_TRUE(ini.ReadBool("S", "missing", true));
    EXPECT_EQ(ini.ReadInteger("S", "neg", 0), -3);
    EXPECT_EQ(ini.ReadInteger("S", "hex", 0), 0xA4A0A0);
    EXPECT_EQ(ini.ReadInteger("S", "dollar", 0), 255);
    EXPECT_EQ(ini.ReadInteger("S", "empty", 42), 42);
    EXPECT_EQ(ini.ReadInteger("S", "big", 42), 42); // out of range: the default
    EXPECT_EQ(ini.ReadInteger("S", "spaced", 0), 12);

    ini.WriteBool("S", "flag", true);
    ini.WriteBool("S", "off", false);
    ini.WriteInteger("S", "min", INT32_MIN);
    EXPECT_EQ(ini.ReadString("S", "flag", ""), "1");
    EXPECT_EQ(ini.ReadString("S", "off", ""), "0");
    EXPECT_EQ(ini.ReadInteger("S", "min", 0), INT32_MIN);
}

TEST(IniFile, ValuesKeepTheirBlanksThroughQuotes)
{
    TIniFile ini;
    const std::string trailing = "Please input from 2 to 10000 for a width. ";
    ini.WriteString("Messages", "str_8", trailing);
    ini.WriteString("Messages", "quoted", "\"as is\"");
    ini.WriteString("Messages", "empty", "");
    ini.WriteString("Messages", "broken", "two\nlines");

    TIniFile reread = Parse(ini.SaveToBytes());
    EXPECT_EQ(reread.ReadString("Messages", "str_8", ""), trailing);
    EXPECT_EQ(reread.ReadString("Messages", "quoted", ""), "\"as is\"");
    EXPECT_TRUE(reread.ValueExists("Messages", "empty"));
    EXPECT_EQ(reread.ReadString("Messages", "empty", "default"), "");
    EXPECT_EQ(reread.ReadString("Messages", "broken", ""), "two lines");
    EXPECT_EQ(Parse("[a]\nk='single'\n").ReadString("a", "k", ""), "single");
}

TEST(IniFile, RefusesNamesAFileCannotHold)
{
    TIniFile ini;
    EXPECT_FALSE(ini.WriteString("", "k", "v"));
    EXPECT_FALSE(ini.WriteString("S", "", "v"));
    EXPECT_FALSE(ini.WriteString("S", "a=b", "v"));
    EXPECT_FALSE(ini.WriteString("S", "[x]", "v"));
    EXPECT_FALSE(ini.WriteString("S", ";x", "v"));
    EXPECT_FALSE(ini.WriteString("S\n[T]", "k", "v"));
    EXPECT_FALSE(ini.WriteString("S", " padded", "v"));
    EXPECT_EQ(ini.SaveToBytes(), "");
}

TEST(IniFile, BrokenLinesMeanNothingAndStayPut)
{
    const std::string original = "k0=before any section\n"
                                 "[Unclosed\n"
                                 "=no key\n"
                                 "[]\n"
                                 "[A] trailing\n"
                                 "k=1\n"
                                 "[A]\n"
                                 "k=2\n"
                                 "j=3\n";
    TIniFile ini = Parse(original);
    EXPECT_EQ(ini.SaveToBytes(), original);
    EXPECT_FALSE(ini.SectionExists("Unclosed"));
    // A repeated section reads as one; the first entry of a name wins.
    EXPECT_EQ(ini.ReadInteger("A", "k", 0), 1);
    EXPECT_EQ(ini.ReadInteger("A", "j", 0), 3);
    EXPECT_EQ(ini.KeyNames("a"), (std::vector<std::string>{"k", "j"}));
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"", "A"}));
}

TEST(IniFile, NewKeysGoAfterTheLastKeyOfTheirSection)
{
    TIniFile ini = Parse("[A]\nx=1\n\n; about B\n[B]\ny=2\n");
    ini.WriteString("a", "z", "3");
    EXPECT_EQ(ini.SaveToBytes(), "[A]\nx=1\nz=3\n\n; about B\n[B]\ny=2\n");
}

TEST(IniFile, EraseSectionAndDeleteKey)
{
    TIniFile ini = Parse("[spi]\na.spi=1\n[General]\nk=1\n[SPI]\nb.spi=0\nk=1\n");
    ini.EraseSection("Spi");
    EXPECT_EQ(ini.SaveToBytes(), "[General]\nk=1\n");
    ini.DeleteKey("general", "K");
    EXPECT_FALSE(ini.ValueExists("General", "k"));
    EXPECT_TRUE(ini.SectionExists("General"));
}

TEST(IniFile, FileRoundTripAndMissingOrUnreadableFiles)
{
    TTempFolder folder;
    TIniFile missing(folder.File("none.ini"));
    EXPECT_EQ(missing.Load(), TIniReadResult::Missing);

    TIniFile aFolder(folder.Path());
    EXPECT_EQ(aFolder.Load(), TIniReadResult::Failed);

    // Saving creates the folders on the way.
    TIniFile ini(folder.File("deep/er/Tessella.ini"));
    ini.WriteString("General", "Language", "japanese");
    ASSERT_TRUE(ini.UpdateFile());
    TIniFile reread(ini.FileName());
    ASSERT_EQ(reread.Load(), TIniReadResult::Read);
    EXPECT_EQ(reread.ReadString("General", "Language", ""), "japanese");
}

TEST(IniFile, CodePage932FilesAreReadAsJapanese)
{
    // "[Strings]\nstr_0=無題" in code page 932.
    TIniFile ini = Parse("[Strings]\nstr_0=\x96\xb3\x91\xe8\n");
    EXPECT_EQ(ini.ReadString("Strings", "str_0", ""), "無題");
}

TEST(IniFile, ParseIniIntegerLimits)
{
    EXPECT_EQ(ParseIniInteger("2147483647"), INT32_MAX);
    EXPECT_EQ(ParseIniInteger("-2147483648"), INT32_MIN);
    EXPECT_FALSE(ParseIniInteger("2147483648").has_value());
    EXPECT_EQ(ParseIniInteger("0xFFFFFFFF"), -1);
    EXPECT_FALSE(ParseIniInteger("0x100000000").has_value());
    EXPECT_FALSE(ParseIniInteger("12abc").has_value());
    EXPECT_FALSE(ParseIniInteger("-").has_value());
    EXPECT_FALSE(ParseIniInteger("0x").has_value());
}
