#include "common/platform/DynamicLibrary.h"
#include "tests/common/PluginTestSupport.h"

#include <gtest/gtest.h>

TEST(DynamicLibrary, LoadsLooksUpAndReleases)
{
    TDynamicLibrary library;
    EXPECT_FALSE(library.IsLoaded());
    ASSERT_TRUE(library.Load(PluginPath("tzp.so"))) << library.LastError();
    auto version = library.Function<FilePluginGetApiVersionProc>("GetApiVersion");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version(), 2);
    EXPECT_EQ(library.Symbol("NoSuchEntryPoint"), nullptr);
    EXPECT_EQ(library.Symbol(nullptr), nullptr);
    library.Release();
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_EQ(library.Symbol("GetApiVersion"), nullptr);
}

TEST(DynamicLibrary, MissingFileLeavesItEmptyWithAReason)
{
    TDynamicLibrary library(PluginPath("no-such-plugin.so"));
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_FALSE(library.LastError().empty());
}

TEST(DynamicLibrary, TwoPluginsWithTheSameEntryNamesStayApart)
{
    TDynamicLibrary project(PluginPath("tzp.so"));
    TDynamicLibrary csv(PluginPath("gridcsv.so"));
    ASSERT_TRUE(project.IsLoaded() && csv.IsLoaded());
    FilePluginInfo a{};
    FilePluginInfo b{};
    project.Function<FilePluginGetInfoProc>("GetTessellaPluginInfo")(&a);
    csv.Function<FilePluginGetInfoProc>("GetTessellaPluginInfo")(&b);
    EXPECT_STREQ(a.Filter, "Tessella Project File (*.tzp)|*.tzp");
    EXPECT_STREQ(b.Filter, "CSV Project File(*.csv)|*.csv");
}

TEST(DynamicLibrary, MovesOwnership)
{
    TDynamicLibrary first(PluginPath("tzp.so"));
    ASSERT_TRUE(first.IsLoaded());
    TDynamicLibrary second(std::move(first));
    EXPECT_TRUE(second.IsLoaded());
    EXPECT_FALSE(first.IsLoaded()); // NOLINT(bugprone-use-after-move): moved-from is empty
    TDynamicLibrary third;
    third = std::move(second);
    EXPECT_NE(third.Symbol("Import"), nullptr);
}
