#include "common/RuntimeFolders.h"

#include "PluginTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace
{

void MakeFolders(const TTempFolder &root, std::initializer_list<const char *> folders)
{
    for (const char *folder : folders)
        fs::create_directories(root.Path(folder));
}

} // namespace

TEST(RuntimeFolders, BesideTheProgramComesBeforeTheInstalledPlaces)
{
    TTempFolder root;
    const std::string program = root.Path("usr/bin");
    MakeFolders(root, {"usr/bin/Plugins", "usr/bin/Languages", "usr/lib/tessella/Plugins",
                       "usr/share/tessella/Languages"});
    EXPECT_EQ(RuntimeFolderBase(program, "Plugins"), program);
    EXPECT_EQ(RuntimeFolderBase(program, "Languages"), program);
    EXPECT_FALSE(IsInstalledProgram(program));

    // Without them beside it, the program takes its own prefix's folders.
    fs::remove(root.Path("usr/bin/Plugins"));
    fs::remove(root.Path("usr/bin/Languages"));
    EXPECT_EQ(RuntimeFolderBase(program, "Plugins"), root.Path("usr/lib/tessella"));
    EXPECT_EQ(RuntimeFolderBase(program, "Languages"), root.Path("usr/share/tessella"));
    EXPECT_TRUE(IsInstalledProgram(program));
    // A trailing separator on the program's folder changes nothing.
    EXPECT_EQ(RuntimeFolderBase(program + "/", "Plugins"), root.Path("usr/lib/tessella"));
}

TEST(RuntimeFolders, NothingFoundLeavesTheProgramFolder)
{
    TTempFolder root;
    const std::string program = root.Path("opt/bin");
    // A file where a folder should be does not count; other names have no installed place.
    MakeFolders(root, {"opt/bin", "opt/lib/tessella", "opt/share/tessella/Other"});
    WriteFileText(root.Path("opt/lib/tessella/Plugins"), "not a folder");
    EXPECT_EQ(RuntimeFolderBase(program, "Plugins"), program);
    EXPECT_EQ(RuntimeFolderBase(program, "Languages"), program);
    EXPECT_EQ(RuntimeFolderBase(program, "Other"), program);
    EXPECT_FALSE(IsInstalledProgram(program));
    EXPECT_EQ(RuntimeFolderBase(root.Path("no/such/bin"), "Plugins"), root.Path("no/such/bin"));
}
