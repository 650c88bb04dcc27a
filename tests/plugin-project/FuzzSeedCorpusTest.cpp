// Writes the seed corpus of the project importer's fuzz target: one file of each layout.
#include "tests/plugin-project/ProjectFiles.h"
#include "tests/plugin-project/ProjectTestSupport.h"

#include <sys/stat.h>

TEST_F(ProjectPluginTest, WritesTheFuzzSeedCorpus)
{
    const std::string root = std::string(TESSELLA_BUILD_DIR) + "/fuzz";
    const std::string folder = root + "/corpus-tzp";
    mkdir(root.c_str(), 0755);
    mkdir(folder.c_str(), 0755);
    TTestMap map = RichMap();
    ASSERT_EQ(ExportRecord(map.Bind(), folder + "/written.tzp"), 0);
    WriteFileBytes(folder + "/version1.tzp", SampleVersion1File());
    WriteFileBytes(folder + "/version2.tzp",
                   SampleVersion2File(SampleImageName, {37, 1, 2, 3, 4, 5}, 8, 2));
    WriteFileBytes(folder + "/version3.tzp", SampleVersion3File());
    WriteFileBytes(folder + "/version4.tzp", SampleVersion4File());
    // Seeds of the BMP header reader that the version-2 reader relies on.
    const std::string bitmaps = root + "/corpus-bmp";
    mkdir(bitmaps.c_str(), 0755);
    WriteFileBytes(bitmaps + "/info.bmp", BmpFile(5, 3));
    TBytes core;
    core.Text("BM").U32(26 + 4).U32(0).U32(26).U32(12).U16(7).U16(1).U16(1).U16(24).U32(0);
    WriteFileBytes(bitmaps + "/core.bmp", core.Data);
    struct stat info {
    };
    EXPECT_EQ(stat((folder + "/version4.tzp").c_str(), &info), 0);
}
