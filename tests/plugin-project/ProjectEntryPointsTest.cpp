// The plug-in as the editor sees it: its description, its exports and its argument checks.
#include "tests/plugin-project/ProjectFiles.h"
#include "tests/plugin-project/ProjectTestSupport.h"

#include <cstring>

TEST_F(ProjectPluginTest, DescribesItselfAsAProjectFormatOfApiVersionTwo)
{
    ASSERT_NE(Plugin.GetApiVersion, nullptr);
    ASSERT_NE(Plugin.GetTessellaPluginInfo, nullptr);
    EXPECT_EQ(Plugin.GetApiVersion(), 2);
    FilePluginInfo info{};
    Plugin.GetTessellaPluginInfo(&info);
    const std::string description(info.Description, strnlen(info.Description, 128));
    EXPECT_EQ(description.rfind("Tessella Project File Format Plugin 2005", 0), 0u) << description;
    EXPECT_STREQ(info.Filter, "Tessella Project File (*.tzp)|*.tzp");
    EXPECT_EQ(info.Flags, 4u);
    Plugin.GetTessellaPluginInfo(nullptr); // must not crash
}

TEST_F(ProjectPluginTest, ExportsTheEntryPointsAndNothingElse)
{
    const std::set<std::string> expected = {"Export", "GetApiVersion", "GetTessellaPluginInfo",
                                            "Import", "IsSupported"};
    EXPECT_EQ(ExportedSymbols(PluginPath("tzp.so")), expected);
}

TEST_F(ProjectPluginTest, NullArgumentsReturnBadParameterWithoutTouchingAnyFile)
{
    TTestMap map = RichMap();
    PluginMapRecord &record = map.Bind();
    const std::string path = Folder.Path("out.tzp");
    PluginMapRecord target{};
    TessellaWindow *window = Window.Handle();
    EXPECT_EQ(Plugin.Export(nullptr, path.c_str(), &record, GoOn), 3);
    EXPECT_EQ(Plugin.Export(window, nullptr, &record, GoOn), 3);
    EXPECT_EQ(Plugin.Export(window, path.c_str(), nullptr, GoOn), 3);
    EXPECT_EQ(Plugin.Export(window, path.c_str(), &record, nullptr), 3);
    EXPECT_TRUE(Folder.Entries().empty());

    ASSERT_EQ(ExportRecord(record, path), 0);
    const std::vector<uint8_t> written = ReadFileBytes(path);
    EXPECT_EQ(Plugin.Import(nullptr, path.c_str(), &target, GoOn), 3);
    EXPECT_EQ(Plugin.Import(window, nullptr, &target, GoOn), 3);
    EXPECT_EQ(Plugin.Import(window, path.c_str(), nullptr, GoOn), 3);
    EXPECT_EQ(Plugin.Import(window, path.c_str(), &target, nullptr), 3);
    EXPECT_TRUE(RecordOwnsNothing(target));
    EXPECT_EQ(ReadFileBytes(path), written);
    EXPECT_EQ(Plugin.IsSupported(nullptr), 3);
}

TEST_F(ProjectPluginTest, IsSupportedAcceptsEveryVersionAndRefusesOtherFiles)
{
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> accepted = {
        {"v1.tzp", SampleVersion1File()},
        {"v2.tzp", SampleVersion2File("tiles.bmp", {0, 1, 2, 3, 4, 5})},
        {"v3.tzp", SampleVersion3File()},
        {"v4.tzp", SampleVersion4File()},
    };
    for (const auto &[name, bytes] : accepted) {
        WriteFileBytes(Folder.Path(name), bytes);
        EXPECT_EQ(Plugin.IsSupported(Folder.Path(name).c_str()), 0) << name;
    }
    TBytes wave;
    wave.Id("RIFF").U32(4).Id("WAVE");
    WriteFileBytes(Folder.Path("sound.wav"), wave.Data);
    EXPECT_EQ(Plugin.IsSupported(Folder.Path("sound.wav").c_str()), 1);
    WriteFileBytes(Folder.Path("short.tzp"), {'R', 'I', 'F', 'F'});
    EXPECT_EQ(Plugin.IsSupported(Folder.Path("short.tzp").c_str()), 1);
    WriteFileText(Folder.Path("text.tzp"), "Width,Height\n1,2\n");
    EXPECT_EQ(Plugin.IsSupported(Folder.Path("text.tzp").c_str()), 1);

    // A file that cannot be opened is left to Import, which reports why.
    EXPECT_EQ(Plugin.IsSupported(Folder.Path("missing.tzp").c_str()), 0);
    EXPECT_EQ(ImportFile(Folder.Path("missing.tzp")), 5);
    EXPECT_TRUE(RecordOwnsNothing(Imported));
}

TEST_F(ProjectPluginTest, ImportOfAnotherRiffFormIsNotSupported)
{
    TBytes wave;
    wave.Id("RIFF").U32(16).Id("WAVE").Chunk("fmt ", TBytes().U32(0));
    EXPECT_EQ(ImportBytes(wave.Data), 1);
    EXPECT_TRUE(RecordOwnsNothing(Imported));
}
