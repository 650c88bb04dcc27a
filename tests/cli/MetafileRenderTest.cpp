// A map whose parts image is a Windows metafile renders from the command line: the same
// picture loader as the editor's plays the EMF or WMF.
#include "CliTestSupport.h"
#include "tests/parts/MetafileTestFiles.h"

#include <gtest/gtest.h>

namespace
{

// Two parts of 16 x 16 pixels, red and blue, drawn by a metafile.
void WriteParts(const std::string &Path, bool Enhanced)
{
    if (Enhanced) {
        TEmfWriter emf(Path, 32, 16);
        emf.Select(U_NULL_PEN);
        emf.Select(emf.Brush(U_BS_SOLID, U_RGB(255, 0, 0)));
        emf.Add(U_EMRRECTANGLE_set(U_RECTL{0, 0, 16, 16}));
        emf.Select(emf.Brush(U_BS_SOLID, U_RGB(0, 0, 255)));
        emf.Add(U_EMRRECTANGLE_set(U_RECTL{16, 0, 32, 16}));
        emf.Finish();
        return;
    }
    TWmfWriter wmf(Path, 32, 16, 96);
    wmf.Add(U_WMRSETWINDOWEXT_set(U_POINT16{32, 16}));
    wmf.Select(wmf.Pen(U_PS_NULL, 0, U_RGB(0, 0, 0)));
    wmf.Select(wmf.Brush(U_BS_SOLID, U_RGB(255, 0, 0)));
    wmf.Add(U_WMRRECTANGLE_set(U_RECT16{0, 0, 16, 16}));
    wmf.Select(wmf.Brush(U_BS_SOLID, U_RGB(0, 0, 255)));
    wmf.Add(U_WMRRECTANGLE_set(U_RECT16{16, 0, 32, 16}));
    wmf.Finish();
}

} // namespace

TEST(MetafileRender, MapsWithMetafilePartsRenderAndDescribeThemselves)
{
    for (const char *image : {"parts.emf", "parts.wmf"}) {
        SCOPED_TRACE(image);
        TTempFolder folder;
        WriteParts(folder.Path(image), std::string(image).ends_with(".emf"));
        TTestMap map(3, 2, 1);
        map.Names = {"ground"};
        map.Images = {image};
        map.Cells[0] = {0, 1, 0, 1, 1, 0};
        PluginMapRecord &record = map.Bind(false, false);
        map.Layers[0].Visible = 1;
        record.PartsWidth = 16;
        record.PartsHeight = 16;
        record.BitCount = 8;
        record.PathMode = 1;
        WriteProject(folder.Path("map.tzp"), record);

        const TRun render = RunTessella({"--render", "map.tzp", "out.png"}, folder.Root());
        ASSERT_EQ(render.Status, 0) << render.Err;
        EXPECT_EQ(render.Err, "");
        const QImage picture = ReadPicture(folder.Path("out.png"));
        ASSERT_EQ(picture.size(), QSize(48, 32));
        for (int cell = 0; cell < 6; ++cell) {
            const QRgb expected =
                map.Cells[0][static_cast<size_t>(cell)] == 0 ? 0xFFFF0000u : 0xFF0000FFu;
            const int x = (cell % 3) * 16;
            const int y = (cell / 3) * 16;
            for (const QPoint inside : {QPoint(x + 1, y + 1), QPoint(x + 14, y + 14)})
                EXPECT_EQ(picture.pixel(inside), expected) << cell;
        }

        const TRun info = RunTessella({"--info", "map.tzp"}, folder.Root());
        EXPECT_EQ(info.Status, 0) << info.Err;
        EXPECT_NE(info.Out.find(image), std::string::npos) << info.Out;
    }
}
