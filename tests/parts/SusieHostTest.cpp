// Finding image plug-ins, their order and enabled state, and loading through them.
#include "PartsTestSupport.h"

namespace
{

class SusieHostTest : public TPartsFixture
{
protected:
    std::vector<std::string> FileNames(const TSusiePluginHost &Plugins) const
    {
        std::vector<std::string> names;
        for (const TSusiePluginList &p : Plugins.Plugins())
            names.push_back(fs::path(p.Path).filename().string());
        return names;
    }
    TSusiePluginHost Susie;
};

TEST_F(SusieHostTest, FindsImportFiltersInSubfoldersInAnyCase)
{
    InstallPlugin("fake_red.spi", "b.spi");
    InstallPlugin("fake_green.spi", "a.spi");
    InstallPlugin("fake_red.spi", "sub/c.SPI");
    InstallPlugin("fake_archive.spi", "archive.spi");
    WriteBytes("Plugins/broken.spi", "not a library");
    WriteBytes("Plugins/readme.txt", "text");
    ASSERT_TRUE(Susie.ScanSusiePlugins("Plugins", Root.string(), {}));
    EXPECT_EQ(FileNames(Susie), (std::vector<std::string>{"a.spi", "b.spi", "c.SPI"}));
    const TSusiePluginInfo &green = Susie.Plugins()[0].Info;
    EXPECT_EQ(green.Name, "Green");
    EXPECT_EQ(green.Filter, "*.fake");
    EXPECT_EQ(green.Description, "Green pictures");
    EXPECT_FALSE(green.HasConfigDialog);
    EXPECT_TRUE(Susie.Plugins()[1].Info.HasConfigDialog);
    EXPECT_TRUE(fs::path(Susie.Plugins()[0].Path).is_absolute());
    // The program's folder became the current directory.
    EXPECT_EQ(fs::canonical(GetCurrentDirectoryPath()), fs::canonical(Root));
    // A rescan starts from an empty list.
    ASSERT_TRUE(Susie.ScanSusiePlugins("Plugins", Root.string(), {}));
    EXPECT_EQ(Susie.Plugins().size(), 3u);
}

TEST_F(SusieHostTest, SettingsKeysComeFirstInTheirOrder)
{
    InstallPlugin("fake_red.spi", "a.spi");
    InstallPlugin("fake_red.spi", "b.spi");
    InstallPlugin("fake_red.spi", "c.spi");
    Susie.ScanSusiePlugins("Plugins", Root.string(), {{"b.spi", true}, {"A.SPI", true}});
    EXPECT_EQ(FileNames(Susie), (std::vector<std::string>{"b.spi", "a.spi", "c.spi"}));
}

TEST_F(SusieHostTest, EmptyOrMissingFolderGivesAnEmptyList)
{
    EXPECT_FALSE(Susie.ScanSusiePlugins("Plugins", Root.string(), {}));
    EXPECT_FALSE(Susie.ScanSusiePlugins("NoSuchFolder", Root.string(), {}));
    EXPECT_FALSE(Susie.LoadPictureBySusie(WriteFake("x.fake"), *std::make_unique<TPixelBuffer>()));
}

TEST_F(SusieHostTest, TheFirstEnabledPluginThatAcceptsLoads)
{
    InstallPlugin("fake_green.spi", "a.spi");
    InstallPlugin("fake_red.spi", "b.spi");
    const std::string file = WriteFake("picture.fake");
    TPixelBuffer bitmap;
    Susie.ScanSusiePlugins("Plugins", Root.string(), {{"b.spi", true}, {"a.spi", true}});
    ASSERT_TRUE(Susie.LoadPictureBySusie(file, bitmap));
    ASSERT_EQ(bitmap.Width(), 2);
    ASSERT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(bitmap.BitsPerPixel(), 32);
    EXPECT_EQ(bitmap.Pixel(0, 0), 0x00FF0000u); // red, from the palette
    EXPECT_EQ(bitmap.Pixel(1, 0), 0x00332211u); // the bottom-up bitmap's top row
    EXPECT_EQ(bitmap.Pixel(1, 1), 0x00FF0000u);

    // Disabled: listed, but never used.
    Susie.ScanSusiePlugins("Plugins", Root.string(), {{"b.spi", false}, {"a.spi", true}});
    ASSERT_EQ(Susie.Plugins().size(), 2u);
    EXPECT_FALSE(Susie.Plugins()[0].Info.Enabled);
    ASSERT_TRUE(Susie.LoadPictureBySusie(file, bitmap));
    EXPECT_EQ(bitmap.Pixel(0, 0), 0x0000FF00u); // green, top-down 24-bit
    EXPECT_EQ(bitmap.Pixel(1, 0), 0x00030201u);
    EXPECT_EQ(bitmap.Pixel(0, 1), 0x0000FF00u);
}

TEST_F(SusieHostTest, ShortFilesAreProbedWithZerosAfterTheirEnd)
{
    InstallPlugin("fake_red.spi", "a.spi");
    Susie.ScanSusiePlugins("Plugins", Root.string(), {});
    TPixelBuffer bitmap;
    // 100 bytes: the rest of the probe is zero and the plug-in accepts.
    EXPECT_TRUE(Susie.LoadPictureBySusie(WriteFake("short.fake"), bitmap));
    // A longer file fills the probe beyond byte 100: refused.
    EXPECT_FALSE(
        Susie.LoadPictureBySusie(WriteBytes("long.fake", "FAKE" + std::string(3000, 'x')), bitmap));
    EXPECT_FALSE(Susie.LoadPictureBySusie(WriteBytes("other.fake", std::string(100, 'y')), bitmap));
    EXPECT_THROW(Susie.LoadPictureBySusie((Root / "missing.fake").string(), bitmap),
                 std::runtime_error);
}

TEST_F(SusieHostTest, ProgressIsReportedAndCancellingFailsTheLoad)
{
    InstallPlugin("fake_red.spi", "a.spi");
    Susie.ScanSusiePlugins("Plugins", Root.string(), {});
    std::vector<std::string> messages;
    Susie.SetProgress([&messages](int32_t, int32_t, const std::string &Message) {
        messages.push_back(Message);
        return true;
    });
    TPixelBuffer bitmap;
    ASSERT_TRUE(Susie.LoadPictureBySusie(WriteFake("p.fake"), bitmap));
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front(), "now loading...");
    Susie.SetProgress([](int32_t, int32_t, const std::string &) { return false; });
    EXPECT_FALSE(Susie.LoadPictureBySusie(WriteFake("q.fake"), bitmap));
}

TEST_F(SusieHostTest, OrderByNamesAndConfigurationDialog)
{
    InstallPlugin("fake_red.spi", "a.spi");
    InstallPlugin("fake_green.spi", "b.spi");
    InstallPlugin("fake_red.spi", "c.spi");
    Susie.ScanSusiePlugins("Plugins", Root.string(), {});
    Susie.OrderSusieByNames({"Green", "Nobody"});
    EXPECT_EQ(FileNames(Susie), (std::vector<std::string>{"b.spi", "a.spi", "c.spi"}));
    Susie.OrderSusieByNames({"Red", "Green", "Red"});
    EXPECT_EQ(FileNames(Susie), (std::vector<std::string>{"a.spi", "b.spi", "c.spi"}));
    EXPECT_TRUE(Susie.OpenSusieConfigDialog(nullptr, Susie.Plugins()[0].Path, 1));
    EXPECT_FALSE(Susie.OpenSusieConfigDialog(nullptr, Susie.Plugins()[1].Path, 1));
    EXPECT_FALSE(Susie.OpenSusieConfigDialog(nullptr, (Root / "none.spi").string(), 1));
}

} // namespace
