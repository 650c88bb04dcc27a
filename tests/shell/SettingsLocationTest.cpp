#include "editor/shell/settings/SettingsLocation.h"
#include "editor/shell/settings/SettingsFile.h"

#include "TempFolder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// Sets an environment variable for one test and restores it afterwards.
class TScopedEnv
{
public:
    TScopedEnv(const char *variable, const std::string &value) : name(variable)
    {
        if (const char *old = std::getenv(variable))
            previous = old;
        setenv(name, value.c_str(), 1);
    }
    ~TScopedEnv()
    {
        if (previous)
            setenv(name, previous->c_str(), 1);
        else
            unsetenv(name);
    }

private:
    const char *name;
    std::optional<std::string> previous;
};

} // namespace

TEST(SettingsLocation, BesideTheProgramWhenItsFolderIsWritable)
{
    TTempFolder program;
    EXPECT_EQ(SettingsFileLocation(program.Path()), program.File("Tessella.ini"));
}

TEST(SettingsLocation, ConfigFolderWhenTheProgramFolderIsNotWritable)
{
    TTempFolder config;
    TScopedEnv xdg("XDG_CONFIG_HOME", config.Path());
    // A program folder that cannot take files: one that does not exist (also for root).
    const std::string missing = config.File("no/such/program");
    EXPECT_EQ(SettingsFileLocation(missing), config.File("Tessella/Tessella.ini"));

    // A read-only folder; root may write anyway, so this part only runs for other users.
    if (geteuid() != 0) {
        TTempFolder program;
        chmod(program.Path().c_str(), 0555);
        EXPECT_EQ(SettingsFileLocation(program.Path()), config.File("Tessella/Tessella.ini"));
        chmod(program.Path().c_str(), 0755);
    }
}

TEST(SettingsLocation, AnInstalledProgramKeepsItsSettingsInTheConfigFolder)
{
    // <prefix>/bin is writable here (as /usr/bin is for root), yet no file goes there.
    TTempFolder prefix;
    TTempFolder config;
    TScopedEnv xdg("XDG_CONFIG_HOME", config.Path());
    std::filesystem::create_directories(prefix.File("bin"));
    std::filesystem::create_directories(prefix.File("lib/tessella/Plugins"));
    EXPECT_EQ(SettingsFileLocation(prefix.File("bin")), config.File("Tessella/Tessella.ini"));
    // Plug-ins beside it make it a program folder of its own again.
    std::filesystem::create_directories(prefix.File("bin/Plugins"));
    EXPECT_EQ(SettingsFileLocation(prefix.File("bin")), prefix.File("bin/Tessella.ini"));
}

TEST(SettingsLocation, ConfigHomeDefaultsToDotConfig)
{
    TTempFolder home;
    TScopedEnv homeVar("HOME", home.Path());
    const std::string expected = home.File(".config/Tessella/Tessella.ini");
    {
        TScopedEnv xdg("XDG_CONFIG_HOME", "");
        EXPECT_EQ(SettingsFileLocation("/nonexistent/program"), expected);
    }
    {
        TScopedEnv xdg("XDG_CONFIG_HOME", "relative/path"); // ignored, as relative
        EXPECT_EQ(SettingsFileLocation("/nonexistent/program"), expected);
    }
}

TEST(SettingsFile, OpenSaveAndReopen)
{
    TTempFolder config;
    TScopedEnv xdg("XDG_CONFIG_HOME", config.Path());
    const std::string missing = config.File("gone");

    ASSERT_TRUE(OpenSettingsFile(missing)); // first start: nothing to read, no error
    SettingsFile().WriteBool("General", "ShowGrid", false);
    ASSERT_TRUE(SaveSettingsFile());
    CloseSettingsFile();
    EXPECT_FALSE(SettingsFile().ValueExists("General", "ShowGrid"));

    ASSERT_TRUE(OpenSettingsFile(missing));
    EXPECT_FALSE(SettingsFile().ReadBool("General", "ShowGrid", true));
    CloseSettingsFile();
    EXPECT_TRUE(std::filesystem::exists(config.File("Tessella/Tessella.ini")));
}

TEST(SettingsFile, UnreadableFileIsAnError)
{
    TTempFolder program;
    std::filesystem::create_directory(program.File("Tessella.ini")); // a folder in its place
    EXPECT_FALSE(OpenSettingsFile(program.Path()));
    CloseSettingsFile();
}
