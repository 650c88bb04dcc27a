#include "common/TessellaPlugin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

TEST(PluginInterface, RecordsHaveTheSixtyFourBitLayout)
{
    EXPECT_EQ(sizeof(FilePluginInfo), 260u);
    EXPECT_EQ(sizeof(PluginMapRecord), 74u);
    EXPECT_EQ(sizeof(PluginLayerRecord), 25u);

    EXPECT_EQ(offsetof(PluginMapRecord, Width), 0u);
    EXPECT_EQ(offsetof(PluginMapRecord, Height), 4u);
    EXPECT_EQ(offsetof(PluginMapRecord, PartsWidth), 8u);
    EXPECT_EQ(offsetof(PluginMapRecord, PartsHeight), 12u);
    EXPECT_EQ(offsetof(PluginMapRecord, LayerCount), 16u);
    EXPECT_EQ(offsetof(PluginMapRecord, BitCount), 17u);
    EXPECT_EQ(offsetof(PluginMapRecord, PathMode), 18u);
    EXPECT_EQ(offsetof(PluginMapRecord, AlignFlags), 19u);
    EXPECT_EQ(offsetof(PluginMapRecord, Layers), 20u);
    EXPECT_EQ(offsetof(PluginMapRecord, EditorFlags), 28u);
    EXPECT_EQ(offsetof(PluginMapRecord, TransEnabled), 34u);
    EXPECT_EQ(offsetof(PluginMapRecord, TransColor), 35u);
    EXPECT_EQ(offsetof(PluginMapRecord, TransReserved), 39u);
    EXPECT_EQ(offsetof(PluginMapRecord, UseInvisiblePart), 40u);
    EXPECT_EQ(offsetof(PluginMapRecord, InvisiblePart), 41u);
    EXPECT_EQ(offsetof(PluginMapRecord, InvisibleReserved), 43u);
    EXPECT_EQ(offsetof(PluginMapRecord, GridColor), 44u);
    EXPECT_EQ(offsetof(PluginMapRecord, AGridColor), 48u);
    EXPECT_EQ(offsetof(PluginMapRecord, Zoom), 52u);
    EXPECT_EQ(offsetof(PluginMapRecord, Comment), 54u);
    EXPECT_EQ(offsetof(PluginMapRecord, HiddenSize), 62u);
    EXPECT_EQ(offsetof(PluginMapRecord, HiddenData), 66u);

    EXPECT_EQ(offsetof(PluginLayerRecord, Name), 0u);
    EXPECT_EQ(offsetof(PluginLayerRecord, PartsImage), 8u);
    EXPECT_EQ(offsetof(PluginLayerRecord, Visible), 16u);
    EXPECT_EQ(offsetof(PluginLayerRecord, Cells), 17u);
}

static void IgnoreNotice(TessellaWindow *, const char *) {}

// The window record is the host's; it grows only at its end, and a plug-in reads a member
// added later only when the host's StructSize covers it.
TEST(PluginInterface, WindowRecordGrowsAtItsEndAndTellsWhatItHolds)
{
    EXPECT_EQ(offsetof(TessellaWindow, StructSize), 0u);
    EXPECT_EQ(offsetof(TessellaWindow, Host), 8u);
    EXPECT_EQ(offsetof(TessellaWindow, SendMessage), 16u);
    EXPECT_EQ(offsetof(TessellaWindow, AskOpenFileName), 24u);
    EXPECT_EQ(offsetof(TessellaWindow, ShowNotice), 32u);
    EXPECT_EQ(sizeof(TessellaWindow), 40u);

    TessellaWindow window{};
    window.ShowNotice = IgnoreNotice;
    window.StructSize = offsetof(TessellaWindow, ShowNotice); // a host from before notices
    EXPECT_FALSE(TessellaCanShowNotice(&window));
    window.StructSize = sizeof window;
    EXPECT_TRUE(TessellaCanShowNotice(&window));
    window.ShowNotice = nullptr;
    EXPECT_FALSE(TessellaCanShowNotice(&window));
    EXPECT_FALSE(TessellaCanShowNotice(nullptr));
}

TEST(PluginInterface, LayerArrayHasNoPaddingBetweenEntries)
{
    PluginLayerRecord layers[3];
    EXPECT_EQ(reinterpret_cast<char *>(&layers[2]) - reinterpret_cast<char *>(&layers[0]), 50);
}

TEST(PluginInterface, FlagsAndResultCodes)
{
    EXPECT_EQ(pfImport, 1);
    EXPECT_EQ(pfExport, 2);
    EXPECT_EQ(pfProject, 4);
    EXPECT_EQ(pfConfigDialog, 8);
    EXPECT_EQ(pfCommand, 16);
    EXPECT_EQ(prSuccess, 0);
    EXPECT_EQ(prNotSupported, 1);
    EXPECT_EQ(prNotImplemented, 2);
    EXPECT_EQ(prBadParameter, 3);
    EXPECT_EQ(prBrokenFile, 4);
    EXPECT_EQ(prFileError, 5);
    EXPECT_EQ(prNoMemory, 6);
    EXPECT_EQ(prCancelled, 7);
    EXPECT_EQ(prInternalError, 8);
}

TEST(PluginInterface, SharedAllocatorGivesZeroFilledBlocks)
{
    auto *block = static_cast<unsigned char *>(TessellaAlloc(4096));
    ASSERT_NE(block, nullptr);
    for (int i = 0; i < 4096; ++i)
        ASSERT_EQ(block[i], 0);
    TessellaFree(block);
    void *empty = TessellaAlloc(0);
    EXPECT_NE(empty, nullptr);
    TessellaFree(empty);
}

TEST(PluginInterface, InfoTextsAreCutAtTheirField)
{
    FilePluginInfo info{};
    const std::string longText(200, 'a');
    std::memset(&info, 0x55, sizeof info);
    TessellaCopyInfoText(info.Description, longText.c_str());
    TessellaCopyInfoText(info.Filter, "Label|*.x");
    EXPECT_EQ(std::string(info.Description, 128), std::string(128, 'a'));
    EXPECT_STREQ(info.Filter, "Label|*.x");
    EXPECT_EQ(info.Filter[127], '\0');
}

// The same header must give the 32-bit layout to a 32-bit build, in C and in C++.
TEST(PluginInterface, HeaderCompilesForThirtyTwoBitTargetsInCAndCxx)
{
    if (std::system("command -v clang-14 >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "clang-14 is not installed";
    const std::string header = std::string(TESSELLA_SOURCE_DIR) + "/common/TessellaPlugin.h";
    const std::string flags =
        " -fsyntax-only -Wall -Wextra -Werror -DTESSELLA_FILE_PLUGIN_IMPLEMENTATION ";
    for (const char *target : {"-m32", "-m64"}) {
        for (const char *language : {"-x c -std=c11 -pedantic", "-x c++ -std=c++20"}) {
            const std::string command = "echo '#include \"" + header + "\"' | clang-14 " + target +
                                        " " + language + flags + "-";
            EXPECT_EQ(std::system(command.c_str()), 0) << command;
        }
    }
}
