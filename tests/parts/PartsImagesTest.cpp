// BMP, JPEG, ICO and PNG parts images load (PNG through the shipped plug-in found by the
// scan) and draw in the map view; missing and broken files give their messages.
#include "PartsTestSupport.h"

#include "editor/render/MapViewRenderer.h"
#include "tests/plugin-png/PngTestImages.h"

#include <QImage>
#include <png.h>

namespace
{

// 16 × 16 pixels: four 8 × 8 parts in red, green, blue and white.
const uint32_t kPartColours[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF};

QImage FourParts()
{
    QImage image(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            image.setPixel(x, y, 0xFF000000u | kPartColours[(y / 8) * 2 + x / 8]);
    return image;
}

bool Near(uint32_t A, uint32_t B, int Tolerance)
{
    for (int shift : {0, 8, 16}) {
        const int a = static_cast<int>((A >> shift) & 0xFF);
        const int b = static_cast<int>((B >> shift) & 0xFF);
        if (std::abs(a - b) > Tolerance)
            return false;
    }
    return (A >> 24) == 0;
}

class PartsImagesTest : public TPartsFixture
{
protected:
    // Loads the file into layer 0 and composes a 2 × 2-cell view of cells holding 0..3.
    void LoadAndDraw(const std::string &Path, int Tolerance, bool InteriorOnly = false)
    {
        TChipTable table(Map, Host);
        InitTable(table);
        ASSERT_TRUE(table.AddMapChip(Path)) << Path;
        EXPECT_TRUE(Seam->Messages.empty());
        ASSERT_EQ(table.GetMapChipCount(), 1);
        const auto *image =
            dynamic_cast<const TPixelBuffer *>(table.GetMapChipAddr(0)->Image.get());
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->Width(), 16);
        EXPECT_EQ(image->BitsPerPixel(), 32);
        for (uint16_t v = 0; v < 4; ++v)
            Map.GetLayer(0).Data[v % 2 + (v / 2) * Map.Width()] = v;
        TMapViewState state;
        state.ViewReady = state.Initialized = true;
        state.ViewWidth = state.ViewHeight = 16;
        state.ViewCellWidth = state.ViewCellHeight = 8;
        state.ShowGrid = false;
        TPixelBuffer back(16, 16, 32);
        TMapViewRenderer(Map, state, table, back, nullptr).ComposeFull();
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                // Lossy pictures blur colour edges: only the inside of each part is exact.
                if (InteriorOnly && (x % 8 < 2 || x % 8 > 5 || y % 8 < 2 || y % 8 > 5))
                    continue;
                ASSERT_TRUE(Near(back.Pixel(x, y), kPartColours[(y / 8) * 2 + x / 8], Tolerance))
                    << Path << " " << x << "," << y << ": " << std::hex << back.Pixel(x, y);
            }
    }
};

TEST_F(PartsImagesTest, BitmapLoadsAndDraws)
{
    const std::string path = (Root / "parts.bmp").string();
    ASSERT_TRUE(FourParts().save(QString::fromStdString(path), "BMP"));
    LoadAndDraw(path, 0);
}

TEST_F(PartsImagesTest, JpegLoadsAndDraws)
{
    const std::string path = (Root / "parts.jpg").string();
    ASSERT_TRUE(FourParts().save(QString::fromStdString(path), "JPG", 100));
    LoadAndDraw(path, 24, true);
}

TEST_F(PartsImagesTest, IconLoadsAndDraws)
{
    const std::string path = (Root / "parts.ico").string();
    ASSERT_TRUE(FourParts().save(QString::fromStdString(path), "ICO"));
    LoadAndDraw(path, 0);
}

TEST_F(PartsImagesTest, PngLoadsThroughThePluginFoundByTheScan)
{
    InstallPngPlugin();
    TPngImage png;
    png.Width = 16;
    png.Height = 16;
    png.ColorType = PNG_COLOR_TYPE_RGB;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const uint32_t c = kPartColours[(y / 8) * 2 + x / 8];
            png.Samples.push_back(static_cast<uint16_t>((c >> 16) & 0xFF));
            png.Samples.push_back(static_cast<uint16_t>((c >> 8) & 0xFF));
            png.Samples.push_back(static_cast<uint16_t>(c & 0xFF));
        }
    const std::string path = (Root / "parts.png").string();
    ASSERT_TRUE(WritePngFile(path, png));
    LoadAndDraw(path, 0);
}

TEST_F(PartsImagesTest, TransparentPngPixelsBecomeTheTransparentColour)
{
    InstallPngPlugin();
    TPngImage png;
    png.Width = 8;
    png.Height = 8;
    png.ColorType = PNG_COLOR_TYPE_RGB_ALPHA;
    for (int i = 0; i < 64; ++i)
        for (uint16_t s :
             {uint16_t{10}, uint16_t{20}, uint16_t{30}, static_cast<uint16_t>(i % 8 < 4 ? 0 : 255)})
            png.Samples.push_back(s);
    const std::string path = (Root / "alpha.png").string();
    ASSERT_TRUE(WritePngFile(path, png));
    TChipTable table(Map, Host);
    InitTable(table);
    ASSERT_TRUE(table.AddMapChip(path));
    const auto *image = dynamic_cast<const TPixelBuffer *>(table.GetMapChipAddr(0)->Image.get());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Pixel(0, 0), 0x00FF00FFu);
    EXPECT_EQ(image->Pixel(5, 0), 0x000A141Eu);
}

TEST_F(PartsImagesTest, WithoutThePluginPngIsNotRead)
{
    const std::string path = (Root / "parts.png").string();
    ASSERT_TRUE(WritePngFile(path, MakeTestPng(PNG_COLOR_TYPE_RGB, 8, false)));
    TChipTable table(Map, Host);
    InitTable(table);
    EXPECT_FALSE(table.AddMapChip(path));
    ASSERT_EQ(Seam->Messages.size(), 1u);
    EXPECT_EQ(Seam->Messages[0].Kind, mkError);
    EXPECT_EQ(Seam->Messages[0].Text, "Cannot open the parts.png.(unsupported image format)");
}

TEST_F(PartsImagesTest, MissingFileIsReportedByNameOnly)
{
    TChipTable table(Map, Host);
    InitTable(table);
    EXPECT_FALSE(table.AddMapChip((Root / "sub" / "nothere.bmp").string()));
    ASSERT_EQ(Seam->Messages.size(), 1u);
    EXPECT_EQ(Seam->Messages[0].Kind, mkCaution);
    EXPECT_EQ(Seam->Messages[0].Text, "nothere.bmp was not found.");
    EXPECT_EQ(table.GetMapChipCount(), 0);
}

TEST_F(PartsImagesTest, BrokenFilesAreReportedAndTheLayerKeepsItsImage)
{
    InstallPngPlugin();
    TChipTable table(Map, Host);
    InitTable(table);
    const std::string good = (Root / "good.bmp").string();
    ASSERT_TRUE(FourParts().save(QString::fromStdString(good), "BMP"));
    ASSERT_TRUE(table.AddMapChip(good));
    TMapChip *before = Map.GetLayerChip(0);

    std::string bmp;
    {
        std::ifstream in(good, std::ios::binary);
        bmp.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const std::vector<uint8_t> png = EncodePng(MakeTestPng(PNG_COLOR_TYPE_RGB, 8, false));
    const std::string files[] = {
        WriteBytes("cut.bmp", bmp.substr(0, 60)),
        WriteBytes("cut.jpg", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10)),
        WriteBytes("cut.png", std::string(png.begin(), png.begin() + 40)),
        WriteBytes("empty.bmp", ""),
        WriteBytes("text.bmp", "just some text"),
    };
    for (const std::string &file : files) {
        Seam->Messages.clear();
        EXPECT_FALSE(table.AddMapChip(file)) << file;
        ASSERT_EQ(Seam->Messages.size(), 1u) << file;
        EXPECT_EQ(Seam->Messages[0].Kind, mkError);
        const std::string name = fs::path(file).filename().string();
        EXPECT_EQ(Seam->Messages[0].Text.rfind("Cannot open the " + name + ".(", 0), 0u)
            << Seam->Messages[0].Text;
        EXPECT_EQ(Seam->Messages[0].Text.back(), ')');
        EXPECT_EQ(Map.GetLayerChip(0), before);
    }
    EXPECT_EQ(table.GetMapChipCount(), 1);
}

} // namespace
