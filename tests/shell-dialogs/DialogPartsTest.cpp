// The dialogs' pieces that stand on their own: numbers typed into edits, the about box's
// version line, memory figures and language list.
#include "common/platform/MemoryStatus.h"
#include "editor/shell/dialogs/AboutBox.h"
#include "editor/shell/dialogs/DialogKit.h"
#include "editor/shell/language/LanguageCatalogue.h"

#include <gtest/gtest.h>

TEST(DialogParts, TypedNumbersFallBackToTheDefault)
{
    EXPECT_EQ(TextToInt(" 12 ", 7), 12);
    EXPECT_EQ(TextToInt("-5", 7), -5);
    EXPECT_EQ(TextToInt("+5", 7), 5);
    for (const char *text : {"", "abc", "12abc", "1 2", "+-3", "99999999999", "0x10"})
        EXPECT_EQ(TextToInt(text, 7), 7) << text;
}

TEST(DialogParts, LabelsWithoutAControlLoseTheirAccessKey)
{
    EXPECT_EQ(WithoutAccessKey("&Width:"), "Width:");
    EXPECT_EQ(WithoutAccessKey(QString::fromUtf8("幅(&W):")), QString::fromUtf8("幅(W):"));
    EXPECT_EQ(WithoutAccessKey("Fish && &Chips&"), "Fish & Chips&");
}

TEST(DialogParts, VersionLineJoinsTheMinorNumbers)
{
    EXPECT_EQ(VersionLine("0.1.0.0"), "version 0.10 (build 0)");
    EXPECT_EQ(VersionLine("1.2.3.45"), "version 1.23 (build 45)");
    EXPECT_EQ(VersionLine("2, 0, 7, 1"), "version 2.07 (build 1)");
    EXPECT_EQ(VersionLine("3"), "version 3.00 (build 0)");
}

TEST(DialogParts, MemoryAmountsInKilobytesUpToOneMegabyte)
{
    EXPECT_EQ(FormatMemoryAmount(1048576), "1,024KB");
    EXPECT_EQ(FormatMemoryAmount(1048577), "1MB");
    EXPECT_EQ(FormatMemoryAmount(1073741824), "1,024MB");
    EXPECT_EQ(FormatMemoryAmount(1536), "2KB");
    EXPECT_EQ(FormatMemoryAmount(0), "0KB");
    EXPECT_EQ(FormatMemoryAmount(1099511627776ULL * 3), "3,145,728MB");
}

TEST(DialogParts, MemoryStatusFromMeminfo)
{
    const std::optional<TMemoryStatus> status =
        ParseMemInfo("MemTotal:       16000000 kB\nMemFree:         1000000 kB\n"
                     "MemAvailable:    4000000 kB\nBuffers:          200000 kB\n");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->TotalPhysical, 16000000ULL * 1024);
    EXPECT_EQ(status->AvailPhysical, 4000000ULL * 1024);
    EXPECT_EQ(status->MemoryLoad, 75u);

    // Older kernels: free memory, buffers and cache are what is available.
    const std::optional<TMemoryStatus> old = ParseMemInfo(
        "MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 100 kB\nCached: 300 kB\nSwapTotal: 0 kB\n");
    ASSERT_TRUE(old);
    EXPECT_EQ(old->AvailPhysical, 500u * 1024);
    EXPECT_EQ(old->MemoryLoad, 50u);

    const std::optional<TMemoryStatus> huge =
        ParseMemInfo("MemTotal: 99999999999999999999 kB\nMemTotal: 18446744073709551615 kB\n"
                     "MemFree: 18446744073709551615 kB\nBuffers: 18446744073709551615 kB\n");
    ASSERT_TRUE(huge);
    EXPECT_LE(huge->AvailPhysical, huge->TotalPhysical);
    EXPECT_LE(huge->MemoryLoad, 100u);
    EXPECT_FALSE(ParseMemInfo("MemFree: 100 kB\n"));
    EXPECT_FALSE(ParseMemInfo(""));
    EXPECT_TRUE(ReadMemoryStatus()); // this machine's
}

TEST(DialogParts, LanguageListNamesEachFileOnceAfterTheBuiltInEnglish)
{
    std::vector<TLanguageFileInfo> files = {{"english.ini", 1033, ""},
                                            {"japanese.ini", 1041, ""},
                                            {"German.INI", 1031, ""},
                                            {"Japanese.ini", 1041, ""},
                                            {"ENGLISH.ini", 1033, ""}};
    EXPECT_EQ(LanguageNames(files), (std::vector<std::string>{"japanese", "German"}));
}
