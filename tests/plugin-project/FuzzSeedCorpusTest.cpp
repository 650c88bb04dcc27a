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
    // The parts image the version-2 seed refers to, for the fuzz target's folder.
    WriteFileBytes(root + "/" + SampleImageName, BmpFile(160, 16));
    struct stat info {
    };
    EXPECT_EQ(stat((folder + "/version4.tzp").c_str(), &info), 0);
}
