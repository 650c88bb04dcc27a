#include "common/platform/CurrentDirectory.h"
#include "common/platform/InputFile.h"
#include "common/platform/ReplacingFile.h"
#include "tests/common/PluginTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

TEST(ReplacingFile, CommitReplacesTheTargetAndLeavesNoTemporaryFile)
{
    TTempFolder folder;
    const std::string target = folder.Path("map.tzp");
    WriteFileText(target, "old contents");
    TReplacingFile file;
    ASSERT_TRUE(file.Open(target));
    EXPECT_EQ(ReadFileText(target), "old contents"); // untouched while writing
    ASSERT_TRUE(file.Write("new", 3));
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadFileText(target), "new");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"map.tzp"});
}

TEST(ReplacingFile, DiscardKeepsTheOldFile)
{
    TTempFolder folder;
    const std::string target = folder.Path("map.tzp");
    WriteFileText(target, "old contents");
    {
        TReplacingFile file;
        ASSERT_TRUE(file.Open(target));
        ASSERT_TRUE(file.Write("half", 4));
        EXPECT_EQ(folder.Entries().size(), 2u); // the temporary file sits beside it
    }                                           // destroyed without Commit
    EXPECT_EQ(ReadFileText(target), "old contents");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"map.tzp"});
}

TEST(ReplacingFile, KeepsThePermissionsOfTheReplacedFile)
{
    TTempFolder folder;
    const std::string target = folder.Path("shared.csv");
    WriteFileText(target, "x");
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    TReplacingFile file;
    ASSERT_TRUE(file.Open(target));
    ASSERT_TRUE(file.Commit());
    struct stat info {
    };
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(ReplacingFile, SavingThroughALinkReplacesTheLinkedFile)
{
    TTempFolder folder;
    WriteFileText(folder.Path("real.tzp"), "old");
    ASSERT_EQ(symlink(folder.Path("real.tzp").c_str(), folder.Path("link.tzp").c_str()), 0);
    TReplacingFile file;
    ASSERT_TRUE(file.Open(folder.Path("link.tzp")));
    ASSERT_TRUE(file.Write("new", 3));
    ASSERT_TRUE(file.Commit());
    struct stat info {
    };
    ASSERT_EQ(lstat(folder.Path("link.tzp").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(ReadFileText(folder.Path("real.tzp")), "new");
}

TEST(ReplacingFile, LargeSavesReplaceOrKeepTheOldFileWholeWhileItsReadersKeepReading)
{
    // Large enough for the helper thread to drop the old file's cache and push the new one
    // to the disk while it is written.
    TTempFolder folder;
    const std::string target = folder.Path("large.tzp");
    const std::string oldText(24u << 20, 'o');
    const std::string newText(24u << 20, 'n');
    WriteFileText(target, oldText);
    FILE *reader = std::fopen(target.c_str(), "rb");
    ASSERT_NE(reader, nullptr);
    {
        TReplacingFile file;
        ASSERT_TRUE(file.Open(target));
        for (size_t at = 0; at < newText.size(); at += 1u << 20)
            ASSERT_TRUE(file.Write(newText.data() + at, 1u << 20));
    } // discarded
    EXPECT_EQ(ReadFileText(target), oldText);
    TReplacingFile file;
    ASSERT_TRUE(file.Open(target));
    for (size_t at = 0; at < newText.size(); at += 1u << 20)
        ASSERT_TRUE(file.Write(newText.data() + at, 1u << 20));
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadFileText(target), newText);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"large.tzp"});
    // Whoever had the old file open still reads all of it: it was replaced, never cut.
    std::string seen(oldText.size() + 1, '\0');
    EXPECT_EQ(std::fread(seen.data(), 1, seen.size(), reader), oldText.size());
    seen.resize(oldText.size());
    EXPECT_EQ(seen, oldText);
    std::fclose(reader);
}

TEST(ReplacingFile, FolderThatDoesNotExistFailsToOpen)
{
    TTempFolder folder;
    TReplacingFile file;
    EXPECT_FALSE(file.Open(folder.Path("missing/map.tzp")));
    EXPECT_FALSE(file.Write("x", 1));
    EXPECT_FALSE(file.Commit());
}

TEST(InputFile, ReadsAreBoundedByTheFileSize)
{
    TTempFolder folder;
    WriteFileText(folder.Path("f"), "abcdef");
    TInputFile file;
    ASSERT_TRUE(file.Open(folder.Path("f").c_str()));
    EXPECT_EQ(file.Size(), 6u);
    char buffer[16] = {};
    EXPECT_TRUE(file.Seek(4));
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 2u);
    EXPECT_EQ(std::string(buffer, 2), "ef");
    EXPECT_EQ(file.ReadByte(), -1);
    EXPECT_FALSE(file.Seek(7));
    EXPECT_TRUE(file.Seek(0));
    EXPECT_EQ(file.ReadByte(), 'a');
    EXPECT_FALSE(file.Skip(6));
    EXPECT_TRUE(file.Skip(5));
    EXPECT_EQ(file.Remaining(), 0u);
}

TEST(InputFile, FoldersAndMissingFilesDoNotOpen)
{
    TTempFolder folder;
    TInputFile file;
    EXPECT_FALSE(file.Open(folder.Root().c_str()));
    EXPECT_FALSE(file.Open(folder.Path("missing").c_str()));
    EXPECT_FALSE(file.IsOpen());
}

TEST(CurrentDirectory, FollowsChanges)
{
    TTempFolder folder;
    const std::string before = GetCurrentDirectoryPath();
    ASSERT_FALSE(before.empty());
    ASSERT_TRUE(SetCurrentDirectoryPath(folder.Root()));
    char real[4096];
    ASSERT_NE(realpath(folder.Root().c_str(), real), nullptr);
    EXPECT_EQ(GetCurrentDirectoryPath(), real);
    ASSERT_TRUE(SetCurrentDirectoryPath(before));
    EXPECT_FALSE(SetCurrentDirectoryPath(folder.Path("missing")));
}
