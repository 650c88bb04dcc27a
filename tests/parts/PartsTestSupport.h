// A temporary folder with a plug-in folder, a ready map and a chip table over it.
#pragma once

#include "common/platform/CurrentDirectory.h"
#include "editor/parts/ChipTable.h"
#include "tests/support/ScriptedDialogSeam.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

class TTestChipHost : public TChipTableHost
{
public:
    int32_t Layer = 0;
    bool Fixed = false;
    std::string Folder;
    int32_t CurrentLayer() const override { return Layer; }
    bool UseFixedAlignment() const override { return Fixed; }
    std::string ProjectFolder() const override { return Folder; }
};

class TPartsFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        SavedDirectory = GetCurrentDirectoryPath();
        Root = fs::temp_directory_path() /
               ("tessella-parts-" + std::to_string(getpid()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Root);
        fs::create_directories(Root / "Plugins");
        Map.Initialize(6, 4, 8, 8, 8);
        Map.AddLayer("Layer0", nullptr, 0);
        Map.AddLayer("Layer1", nullptr, 0);
    }
    void TearDown() override
    {
        SetCurrentDirectoryPath(SavedDirectory);
        fs::remove_all(Root);
    }

    void InstallPlugin(const std::string &Built, const fs::path &As)
    {
        fs::create_directories((Root / "Plugins" / As).parent_path());
        fs::copy_file(fs::path(TESSELLA_FAKE_SPI_DIR) / Built, Root / "Plugins" / As,
                      fs::copy_options::overwrite_existing);
    }
    void InstallPngPlugin()
    {
        fs::copy_file(fs::path(TESSELLA_BUILD_DIR) / "Plugins" / "png.spi",
                      Root / "Plugins" / "png.spi", fs::copy_options::overwrite_existing);
    }
    std::string WriteBytes(const std::string &Name, const std::string &Bytes)
    {
        const fs::path path = Root / Name;
        std::ofstream(path, std::ios::binary) << Bytes;
        return path.string();
    }
    // A file the fake plug-ins read: "FAKE" and 96 more bytes.
    std::string WriteFake(const std::string &Name)
    {
        return WriteBytes(Name, "FAKE" + std::string(96, 'x'));
    }
    void InitTable(TChipTable &Table, const std::vector<TSusieSetting> &Settings = {})
    {
        Table.Init("Plugins", Root.string(), Settings);
    }

    std::string SavedDirectory;
    fs::path Root;
    TMap Map;
    TTestChipHost Host;
    TScopedDialogSeam Seam;
};
