#include "CliTestSupport.h"
#include "editor/cli/HeadlessMap.h"
#include "editor/plugins/FilePluginHost.h"
#include "editor/render/BackgroundBitmap.h"
#include "editor/render/MapViewMath.h"
#include "editor/render/MapViewRenderer.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace
{

// A map tall enough for several bands at every zoom: three layers over one parts image
// (4 × 2 parts of 16 pixels, the alignment following the image), the middle one hidden,
// the transparent colour and the invisible part in force, parts beyond the image.
void WriteRenderMap(const TTempFolder &folder)
{
    ASSERT_TRUE(
        PartsImage(4, 2, 16, 0xFF00FF).save(QString::fromStdString(folder.Path("parts.png"))));
    TTestMap map(7, 37, 3);
    map.Names = {"ground", "hidden", "top"};
    map.Images = {"parts.png", "parts.png", "parts.png"};
    for (size_t i = 0; i < map.Cells[0].size(); ++i) {
        map.Cells[0][i] = static_cast<uint16_t>(i * 5 % 11); // 8..10 lie beyond the image
        map.Cells[1][i] = static_cast<uint16_t>(i % 3);
        map.Cells[2][i] = static_cast<uint16_t>(i % 4 == 0 ? 1 : (i % 4 == 1 ? 3 : 7));
    }
    PluginMapRecord &record = map.Bind(false, false);
    map.Layers[0].Visible = map.Layers[2].Visible = 1;
    record.PartsWidth = 16;
    record.PartsHeight = 16;
    record.BitCount = 8;
    record.PathMode = 1;
    record.AlignFlags = 1;
    record.TransEnabled = 1;
    record.TransColor = 0x00FF00FF;
    record.UseInvisiblePart = 1;
    record.InvisiblePart = 7;
    WriteProject(folder.Path("map.tzp"), record);
}

// What the map view shows of the whole map at that zoom with every overlay off, composed
// in one piece.
TPixelBuffer MapViewPicture(const std::string &path, uint16_t zoom, bool allLayers)
{
    TFilePluginHost plugins;
    EXPECT_TRUE(plugins.LoadPlugins(TESSELLA_BUILD_DIR, "Plugins"));
    THeadlessMap opened(TESSELLA_BUILD_DIR, THeadlessUse::Drawing);
    EXPECT_TRUE(opened.Open(plugins, path));
    TMap &map = opened.Map();
    if (allLayers)
        for (int32_t i = 0; i < map.LayerCount(); ++i)
            map.SetLayerVisible(i, true);
    TMapViewState state;
    state.ViewReady = state.Initialized = true;
    state.ViewCellWidth = ViewCellSizeFromZoom(map.PartsWidth(), zoom);
    state.ViewCellHeight = ViewCellSizeFromZoom(map.PartsHeight(), zoom);
    state.ViewWidth = map.Width() * state.ViewCellWidth;
    state.ViewHeight = map.Height() * state.ViewCellHeight;
    state.TransEnabled = opened.Settings().TransEnabled != 0;
    state.TransColor = opened.Settings().TransColor;
    state.UseInvisiblePart = opened.Settings().UseInvisiblePart != 0;
    state.InvisiblePart = opened.Settings().InvisiblePart;
    state.ShowGrid = state.ShowCGrid = false;
    TPixelBuffer back(state.ViewWidth, state.ViewHeight, 32);
    const TPixelBuffer background = MakeBackgroundBitmap();
    TMapViewRenderer renderer(map, state, opened.Parts(), back, &background);
    EXPECT_TRUE(renderer.ComposeFull());
    return back;
}

// The number of pixels that differ (all when the sizes do).
int64_t Differences(const QImage &picture, const TPixelBuffer &expected)
{
    if (picture.width() != expected.Width() || picture.height() != expected.Height())
        return int64_t{expected.Width()} * expected.Height() + 1;
    int64_t differences = 0;
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x)
            differences += (picture.pixel(x, y) & 0xFFFFFF) != expected.Pixel(x, y);
    return differences;
}

} // namespace

// --render gives exactly the map view's pixels, band joins included, at the smallest,
// a reduced, the normal and the largest zoom, to PNG and BMP, with and without hidden
// layers.
TEST(TRender, PicturesAreExactlyTheMapViewsComposition)
{
    TTempFolder folder;
    WriteRenderMap(folder);
    struct TCase {
        std::string Zoom;
        uint16_t Zoom256;
        std::string Picture;
        bool AllLayers;
    };
    const TCase cases[] = {{"6.25", 16, "tiny.png", false},
                           {"37.5%", 96, "narrow.bmp", false},
                           {"100", 256, "full.png", false},
                           {"300", 768, "large.png", true}};
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Picture);
        std::vector<std::string> arguments = {"--render", "map.tzp", c.Picture, "--zoom", c.Zoom};
        if (c.AllLayers)
            arguments.push_back("--all-layers");
        const TRun run = RunTessella(arguments, folder.Root());
        ASSERT_EQ(run.Status, 0) << run.Err;
        EXPECT_EQ(run.Err, "");
        const QImage picture = ReadPicture(folder.Path(c.Picture));
        const TPixelBuffer expected =
            MapViewPicture(folder.Path("map.tzp"), c.Zoom256, c.AllLayers);
        EXPECT_EQ(picture.width(), 7 * 16 * c.Zoom256 / 256);
        EXPECT_EQ(picture.height(), 37 * 16 * c.Zoom256 / 256);
        EXPECT_EQ(Differences(picture, expected), 0);
    }
    // The hidden layer makes a difference: the two pictures are not trivially equal.
    const TRun run = RunTessella({"--render", "map.tzp", "all.png", "--all-layers"}, folder.Root());
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_GT(Differences(ReadPicture(folder.Path("all.png")),
                          MapViewPicture(folder.Path("map.tzp"), 256, false)),
              100);
}
