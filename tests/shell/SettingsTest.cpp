#include "editor/shell/settings/Settings.h"

#include <gtest/gtest.h>

namespace
{
TIniFile Parse(const std::string &text)
{
    TIniFile ini;
    ini.LoadFromBytes(text);
    return ini;
}
} // namespace

TEST(Settings, FirstStartDefaults)
{
    const TIniFile empty;
    const TMainFormSettings s = ReadMainFormSettings(empty);
    EXPECT_EQ(s.MainWindow.Left, 0);
    EXPECT_EQ(s.MainWindow.Top, 0);
    EXPECT_EQ(s.MainWindow.Width, 680);
    EXPECT_EQ(s.MainWindow.Height, 650);
    EXPECT_FALSE(s.MainWinMaximized);
    EXPECT_EQ(s.MainWinZoom, 256);
    EXPECT_TRUE(s.ShowGrid);
    EXPECT_TRUE(s.ShowCGrid);
    EXPECT_FALSE(s.ShowNumber);
    EXPECT_FALSE(s.ShowMarker);
    EXPECT_FALSE(s.FogMode);
    EXPECT_EQ(s.GridColor, 10789024u);
    EXPECT_EQ(s.AGridColor, 255u);
    EXPECT_EQ(s.NumberColor, 0u);
    EXPECT_EQ(s.NumberBkColor, 8421504u);
    EXPECT_EQ(s.ZoomRatio, 32);
    EXPECT_FALSE(s.UseEraser);

    EXPECT_EQ(ReadProgressForceTime(empty), 300);
    EXPECT_FALSE(ReadSyncMainGrid(empty));
    const TNewDialogSettings n = ReadNewDialogSettings(empty);
    EXPECT_EQ(n.MapWidth, 100);
    EXPECT_EQ(n.PartsHeight, 32);
    EXPECT_EQ(n.Size, 16);
    EXPECT_EQ(n.Align, 1);
}

TEST(Settings, ToolWindowsStackAtTheRightEdgeByDefault)
{
    const TIniFile empty;
    const TToolWindowSettings parts = ReadPartsWindowSettings(empty, 1920);
    EXPECT_EQ(parts.Bounds.Left, 1920 - 350);
    EXPECT_EQ(parts.Bounds.Top, 0);
    EXPECT_EQ(parts.Bounds.Width, 350);
    EXPECT_EQ(parts.Bounds.Height, 375);
    EXPECT_TRUE(parts.Visible);
    EXPECT_FALSE(parts.Minimized);
    EXPECT_EQ(parts.Alpha, 255);

    const TToolWindowSettings layer = ReadLayerWindowSettings(empty, 1920, parts.Bounds);
    EXPECT_EQ(layer.Bounds.Left, 1920 - 200);
    EXPECT_EQ(layer.Bounds.Top, 375);
    EXPECT_EQ(layer.Bounds.Height, 120);

    const TToolWindowSettings overview = ReadOverviewWindowSettings(empty, 1920, layer.Bounds);
    EXPECT_EQ(overview.Bounds.Top, 495);
    EXPECT_EQ(overview.Bounds.Width, 200);
    EXPECT_EQ(overview.Bounds.Height, 200);

    // A stored width moves the default left edge with it.
    const TIniFile wide = Parse("[Window]\nPartsWinWidth=500\n[General]\nPWinAlpha=128\n");
    const TToolWindowSettings stored = ReadPartsWindowSettings(wide, 1920);
    EXPECT_EQ(stored.Bounds.Left, 1420);
    EXPECT_EQ(stored.Alpha, 128);
}

TEST(Settings, ClampsOnReading)
{
    EXPECT_EQ(ReadMainFormSettings(Parse("[General]\nZoomRatio=5\n")).ZoomRatio, 16);
    EXPECT_EQ(ReadMainFormSettings(Parse("[General]\nZoomRatio=500\n")).ZoomRatio, 128);
    EXPECT_EQ(ReadMainFormSettings(Parse("[Window]\nMainWinZoom=3\n")).MainWinZoom, 16);
    EXPECT_EQ(ReadMainFormSettings(Parse("[Window]\nMainWinZoom=70000\n")).MainWinZoom, 65535);
    const TMainFormSettings bytes =
        ReadMainFormSettings(Parse("[General]\nGridMin=300\nNumberMin=-4\nforceinvnum=1000\n"));
    EXPECT_EQ(bytes.GridMin, 255);
    EXPECT_EQ(bytes.NumberMin, 0);
    EXPECT_EQ(bytes.ForceInvNum, 255);
    EXPECT_EQ(ReadPartsWindowSettings(Parse("[General]\nPWinAlpha=999\n"), 800).Alpha, 255);
    EXPECT_EQ(ReadProgressForceTime(Parse("[General]\nProgressForceTime=-5\n")), 0);
    // A window that could never be seen again gets its default size back.
    const TMainFormSettings tiny =
        ReadMainFormSettings(Parse("[Window]\nMainWinWidth=0\nMainWinHeight=-20\n"));
    EXPECT_EQ(tiny.MainWindow.Width, 680);
    EXPECT_EQ(tiny.MainWindow.Height, 650);
}

TEST(Settings, ClosingWritesAndTheNextStartReadsBack)
{
    TIniFile ini = Parse("; mine\n[General]\nLanguage=japanese\nCustom=1\n");
    TClosingSettings closing;
    closing.ShowGrid = false;
    closing.FogMode = true;
    closing.GridColor = 0x112233;
    closing.MainWindow = {10, 20, 800, 600};
    closing.MainWinZoom = 512;
    closing.PartsWindow = {{1, 2, 3, 400}, false, true};
    WriteClosingSettings(ini, closing);

    const TMainFormSettings next = ReadMainFormSettings(ini);
    EXPECT_FALSE(next.ShowGrid);
    EXPECT_TRUE(next.FogMode);
    EXPECT_EQ(next.GridColor, 0x112233u);
    EXPECT_EQ(next.MainWindow.Left, 10);
    EXPECT_EQ(next.MainWindow.Width, 800);
    EXPECT_EQ(next.MainWinZoom, 512);
    const TToolWindowSettings parts = ReadPartsWindowSettings(ini, 1000);
    EXPECT_EQ(parts.Bounds.Height, 400);
    EXPECT_FALSE(parts.Visible);
    EXPECT_TRUE(parts.Minimized);

    EXPECT_EQ(ini.ReadString("Window", "MainWinVisible", ""), "1");
    EXPECT_EQ(ini.ReadString("General", "Custom", ""), "1");
    EXPECT_EQ(ReadLanguageName(ini), "japanese");
    EXPECT_EQ(ini.SaveToBytes().rfind("; mine\n", 0), 0u);
}

TEST(Settings, MaximizedWindowStoresItsRestoreBounds)
{
    TIniFile ini;
    TClosingSettings closing;
    closing.MainWindow = {0, 0, 1920, 1080};
    closing.RestoreBounds = {100, 50, 700, 640};
    closing.MainWinMaximized = true;
    WriteClosingSettings(ini, closing);

    const TMainFormSettings next = ReadMainFormSettings(ini);
    EXPECT_TRUE(next.MainWinMaximized);
    EXPECT_EQ(next.MainWindow.Left, 100);
    EXPECT_EQ(next.MainWindow.Top, 50);
    EXPECT_EQ(next.MainWindow.Width, 700);
    EXPECT_EQ(next.MainWindow.Height, 640);
}

TEST(Settings, NewDialogAndImagePlugins)
{
    TIniFile ini;
    WriteNewDialogSettings(ini, {64, 48, 16, 16, 8, 0});
    const TNewDialogSettings n = ReadNewDialogSettings(ini);
    EXPECT_EQ(n.MapWidth, 64);
    EXPECT_EQ(n.Size, 8);
    EXPECT_EQ(n.Align, 0);
    EXPECT_EQ(ini.ReadInteger("newdialog", "MAPHEIGHT", 0), 48);

    ini.WriteInteger("spi", "old.spi", 1);
    WriteImagePluginStates(ini, {{"b.spi", true}, {"a.spi", false}});
    EXPECT_EQ(ReadImagePluginOrder(ini), (std::vector<std::string>{"b.spi", "a.spi"}));
    EXPECT_TRUE(ReadImagePluginEnabled(ini, "b.spi"));
    EXPECT_FALSE(ReadImagePluginEnabled(ini, "A.SPI"));
    EXPECT_TRUE(ReadImagePluginEnabled(ini, "unknown.spi"));
    EXPECT_FALSE(ini.ValueExists("spi", "old.spi"));
}
