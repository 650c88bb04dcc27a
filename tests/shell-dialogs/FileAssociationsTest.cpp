// File associations written into a user data folder of the test's own.
#include "editor/shell/dialogs/FileAssociations.h"

#include <QStandardPaths>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;

namespace
{

std::string Read(const fs::path &path)
{
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class TFileAssociationsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Each test has a folder of its own: ctest runs them side by side.
        Root = fs::temp_directory_path() /
               ("tessella-associations-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(Root);
        Folders.DataHome = (Root / "data").string();
        Folders.ConfigHome = (Root / "config").string();
        Folders.DataDirs = {(Root / "system").string()};
        fs::create_directories(Root / "system" / "mime");
    }
    void TearDown() override { fs::remove_all(Root); }

    fs::path Root;
    TXdgFolders Folders;
    const TAssociationType Tzp{"tzp", "Tessella Project File", 1};
    const TAssociationType Fmf{"fmf", "Fixed Mapdata File", 2};
};

} // namespace

TEST_F(TFileAssociationsTest, CreateThenRemoveLeavesNothingBehind)
{
    TFileAssociations associations(Folders, "/opt/my tools/Tessella");
    EXPECT_EQ(associations.GetState(Tzp), asNone);
    ASSERT_TRUE(associations.Create(Tzp));
    EXPECT_EQ(associations.GetState(Tzp), asOurs);
    EXPECT_EQ(associations.GetState(Fmf), asNone);

    const std::string package = Read(associations.PackagePath("tzp"));
    EXPECT_NE(package.find("type=\"application/x-tzpfile\""), std::string::npos);
    EXPECT_NE(package.find("<comment>Tessella Project File</comment>"), std::string::npos);
    EXPECT_NE(package.find("pattern=\"*.tzp\""), std::string::npos);
    const std::string entry = Read(associations.DesktopEntryPath("tzp"));
    EXPECT_NE(entry.find("Exec=\"/opt/my tools/Tessella\" %f\n"), std::string::npos);
    EXPECT_NE(entry.find("MimeType=application/x-tzpfile;\n"), std::string::npos);
    EXPECT_TRUE(fs::exists(associations.IconPath("tzp")));
    EXPECT_TRUE(fs::path(associations.PackagePath("tzp")).string().rfind(Folders.DataHome, 0) == 0);

    const bool mimeTool = !QStandardPaths::findExecutable("update-mime-database").isEmpty();
    if (mimeTool) {
        EXPECT_NE(Read(fs::path(Folders.DataHome) / "mime" / "globs2")
                      .find("application/x-tzpfile:*.tzp"),
                  std::string::npos);
    }
    const bool xdgMime = !QStandardPaths::findExecutable("xdg-mime").isEmpty();
    if (xdgMime) {
        EXPECT_NE(Read(fs::path(Folders.ConfigHome) / "mimeapps.list")
                      .find("application/x-tzpfile=tessella-tzpfile.desktop"),
                  std::string::npos);
    }

    ASSERT_TRUE(associations.Remove(Tzp));
    EXPECT_EQ(associations.GetState(Tzp), asNone);
    EXPECT_FALSE(fs::exists(associations.PackagePath("tzp")));
    EXPECT_FALSE(fs::exists(associations.DesktopEntryPath("tzp")));
    EXPECT_FALSE(fs::exists(associations.IconPath("tzp")));
    if (mimeTool) {
        EXPECT_EQ(Read(fs::path(Folders.DataHome) / "mime" / "globs2").find("tzp"),
                  std::string::npos);
    }
    if (xdgMime) {
        EXPECT_EQ(Read(fs::path(Folders.ConfigHome) / "mimeapps.list").find("tzpfile"),
                  std::string::npos);
    }
}

TEST_F(TFileAssociationsTest, AnotherProgramsTypeOrAnotherDescriptionIsStateTwo)
{
    {
        std::ofstream globs(Root / "system" / "mime" / "globs2");
        globs << "# comment\n50:application/x-fixed-map:*.FMF\n";
    }
    TFileAssociations associations(Folders, "/usr/bin/Tessella");
    EXPECT_EQ(associations.GetState(Fmf), asOthers);
    EXPECT_EQ(associations.GetState(Tzp), asNone);
    // Overwriting makes it ours, the other program's type staying where it is.
    ASSERT_TRUE(associations.Create(Fmf));
    EXPECT_EQ(associations.GetState(Fmf), asOurs);
    EXPECT_EQ(associations.GetState({"fmf", "Some other text", 2}), asOthers);
    ASSERT_TRUE(associations.Remove(Fmf));
    EXPECT_EQ(associations.GetState(Fmf), asOthers);
}

TEST(DesktopExecLine, QuotesAndEscapesThePath)
{
    EXPECT_EQ(DesktopExecLine("/usr/bin/Tessella"), "\"/usr/bin/Tessella\" %f");
    // '"', '`', '$' and '\' take a backslash inside the quotes, '%' doubles, and the value's
    // own escaping then doubles every backslash.
    EXPECT_EQ(DesktopExecLine("/a b/\"q\"/$x/`y`/100%/c\\d"),
              "\"/a b/\\\\\"q\\\\\"/\\\\$x/\\\\`y\\\\`/100%%/c\\\\\\\\d\" %f");
}

TEST(GlobsClaim, ReadsBothDatabaseFormatsAndSkipsBrokenLines)
{
    const std::string globs2 = "# generated\n\n:\n50\n50:\n::::\n80:application/x-tzpfile:*.tzp\n"
                               "50:text/x-other:*.TZP:cs\n";
    EXPECT_TRUE(GlobsClaim(globs2, true, "tzp", "application/x-tzpfile"));
    EXPECT_FALSE(GlobsClaim(globs2, true, "fmf", "application/x-fmffile"));
    EXPECT_FALSE(
        GlobsClaim("80:application/x-tzpfile:*.tzp\n", true, "tzp", "application/x-tzpfile"));
    EXPECT_TRUE(GlobsClaim("text/x-other:*.fmf\n", false, "fmf", "application/x-fmffile"));
    EXPECT_FALSE(GlobsClaim("text/x-other:*.fmf\n", true, "fmf", "application/x-fmffile"));
    EXPECT_FALSE(GlobsClaim(std::string("50:a/b:*.tzp\0junk", 17), true, "fmf", ""));
}
