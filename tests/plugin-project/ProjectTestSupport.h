// Fixture and comparisons for the project plug-in tests.
#pragma once

#include "tests/common/PluginTestSupport.h"

#include <gtest/gtest.h>

#include <string>

class ProjectPluginTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(Plugin.Library.IsLoaded()) << Plugin.Library.LastError(); }

    // Imports path into Imported; the host pre-sets nothing but zeros.
    int32_t ImportFile(const std::string &path, ProgressProc progress = GoOn)
    {
        FreeImportedRecord(Imported);
        Imported = PluginMapRecord{};
        return Plugin.Import(Window.Handle(), path.c_str(), &Imported, progress);
    }
    int32_t ImportBytes(const std::vector<uint8_t> &bytes, ProgressProc progress = GoOn)
    {
        WriteFileBytes(Folder.Path("in.tzp"), bytes);
        return ImportFile(Folder.Path("in.tzp"), progress);
    }
    int32_t ExportRecord(PluginMapRecord &record, const std::string &path,
                         ProgressProc progress = GoOn)
    {
        return Plugin.Export(Window.Handle(), path.c_str(), &record, progress);
    }

    void TearDown() override { FreeImportedRecord(Imported); }

    TLoadedFilePlugin Plugin{"tzp.so"};
    TTempFolder Folder;
    TTestWindow Window;
    PluginMapRecord Imported{};
};

// A map with every field set to a value of its own.
TTestMap RichMap();

std::string TextOrNull(const char *text);
std::vector<uint16_t> LayerCells(const PluginMapRecord &record, int layer);
void ExpectSameHeaderAndSettings(const PluginMapRecord &expected, const PluginMapRecord &actual);
void ExpectSameLayers(const PluginMapRecord &expected, const PluginMapRecord &actual);

// Makes a folder the current directory for a scope.
class TCurrentDirectoryScope
{
public:
    explicit TCurrentDirectoryScope(const std::string &folder);
    ~TCurrentDirectoryScope();
    TCurrentDirectoryScope(const TCurrentDirectoryScope &) = delete;
    TCurrentDirectoryScope &operator=(const TCurrentDirectoryScope &) = delete;

private:
    std::string Previous;
};
