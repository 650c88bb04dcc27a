#include "MapTestSupport.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace
{

std::string ReadFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::filesystem::path TestFolder(const std::string &name)
{
    auto folder = std::filesystem::temp_directory_path() / ("tessella-map-" + name);
    std::filesystem::create_directories(folder);
    return folder;
}

} // namespace

TEST(DebugDump, MapTextHasShiftJisHeadingsAndCrLf)
{
    TMapChip chip;
    chip.FileName = "parts.bmp";
    auto map = MakeMap(2, 2, 0);
    map->AddLayer("one", &chip, 3);
    map->AddLayer("two", nullptr, 0);
    const auto folder = TestFolder("dump");
    ASSERT_TRUE(map->DebugOut_Map(folder.string()));
    const std::string expected = "\r\n"
                                 "\x83\x7D\x83\x62\x83\x76\x83\x66\x81\x5B\x83\x5E\x82\xCC\x8F\x6F"
                                 "\x97\xCD\x8C\x8B\x89\xCA\r\n"
                                 "Width=2:Height=2\r\n"
                                 "\r\nname:one\r\nchip:parts.bmp\r\n3,3,\r\n3,3,\r\n"
                                 "\r\nname:two\r\nchip:\x8E\x51\x8F\xC6\x82\xC8\x82\xB5\r\n"
                                 "0,0,\r\n0,0,\r\n"
                                 "[EOF]\r\n";
    EXPECT_EQ(ReadFile(folder / "map.txt"), expected);
}

TEST(DebugDump, ModifyTextListsEveryRecord)
{
    auto map = MakeMap(2, 1);
    map->BeginModify();
    TModified pen = Single(0, 1, 0, 4);
    map->WriteData(pen, 256);
    map->EndModify();
    const auto folder = TestFolder("modify");
    ASSERT_TRUE(map->DebugOut_Modify(folder.string()));
    const std::string text = ReadFile(folder / "modify.txt");
    EXPECT_EQ(text.rfind("\r\n\x95\xCF\x8D\x58", 0), 0u);
    EXPECT_NE(text.find("index=4\r\nmodifyCursor=3\r\n"), std::string::npos);
    EXPECT_NE(text.find("index:1\r\nmtData\r\nlayer:0\r\n\x83\x54\x83\x43\x83\x59\x81\x46"
                        "1, 1\r\nstartIndex:1\r\n0(4),\r\n\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("index:0\r\nmtBegin\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 7), "[EOF]\r\n");
}
