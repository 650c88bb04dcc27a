// The parts table: reuse, lookups, closing, alignment and numbering, the open dialog and its
// filter, and reloading changed files.
#include "PartsTestSupport.h"

#include <QImage>
#include <chrono>

namespace
{

class ChipTableTest : public TPartsFixture
{
protected:
    std::string WriteBitmap(const std::string &Name, int Width, int Height, uint32_t Colour)
    {
        QImage image(Width, Height, QImage::Format_RGB32);
        image.fill(0xFF000000u | Colour);
        const std::string path = (Root / Name).string();
        EXPECT_TRUE(image.save(QString::fromStdString(path), "BMP"));
        return path;
    }
    static uint32_t FirstPixel(const TMapChip *Chip)
    {
        return static_cast<const TPixelBuffer *>(Chip->Image.get())->Pixel(0, 0);
    }
};

TEST_F(ChipTableTest, TheSamePathIsLoadedOnce)
{
    TChipTable table(Map, Host);
    InitTable(table);
    const std::string path = WriteBitmap("a.bmp", 32, 32, 0x123456);
    ASSERT_TRUE(table.AddMapChip(path));
    Host.Layer = 1;
    ASSERT_TRUE(table.AddMapChip(path));
    EXPECT_EQ(table.GetMapChipCount(), 1);
    EXPECT_EQ(Map.GetLayerChip(0), Map.GetLayerChip(1));
    // The same file written differently is another entry.
    ASSERT_TRUE(table.AddMapChip((Root / "." / "a.bmp").string()));
    EXPECT_EQ(table.GetMapChipCount(), 2);

    EXPECT_EQ(table.GetMapChipName(0), path);
    EXPECT_EQ(table.GetMapChipName(5), "");
    EXPECT_EQ(table.GetMapChipAddr(-1), nullptr);
    EXPECT_EQ(table.GetNamedIndex(path), 0);
    EXPECT_EQ(table.GetNamedIndex((Root / "A.bmp").string()), -1);
    const TMapChip *chip = table.GetMapChipAddr(0);
    EXPECT_GT(chip->FileDate, 40000.0); // days since 1899
    EXPECT_EQ(FirstPixel(chip), 0x00123456u);
}

TEST_F(ChipTableTest, ClosingAnImageDetachesItFromEveryLayer)
{
    TChipTable table(Map, Host);
    InitTable(table);
    const std::string shared = WriteBitmap("shared.bmp", 16, 16, 0x111111);
    const std::string other = WriteBitmap("other.bmp", 16, 16, 0x222222);
    table.AddMapChip(other);
    table.AddMapChip(shared);
    Host.Layer = 1;
    table.AddMapChip(shared);
    EXPECT_TRUE(table.CloseCurrentImage());
    EXPECT_EQ(Map.GetLayerChip(0), nullptr);
    EXPECT_EQ(Map.GetLayerChip(1), nullptr);
    ASSERT_EQ(table.GetMapChipCount(), 1);
    EXPECT_EQ(table.GetMapChipName(0), other);
    EXPECT_FALSE(table.CloseCurrentImage());
}

TEST_F(ChipTableTest, FixedAlignmentNumbersSixteenColumns)
{
    Host.Fixed = true;
    TChipTable table(Map, Host);
    InitTable(table);
    table.AddMapChip(WriteBitmap("wide.bmp", 100, 40, 0));
    int32_t x = -1, y = -1;
    ASSERT_TRUE(table.GetImagePosition(17, 0, x, y));
    EXPECT_EQ(x, 8);
    EXPECT_EQ(y, 8);
    EXPECT_EQ(table.ChipAlignX(), 16);
    EXPECT_EQ(table.ChipAlignY(), 16);
}

TEST_F(ChipTableTest, AlignmentFromTheImageCountsPartialColumns)
{
    Map.Initialize(4, 4, 32, 32, 8);
    Map.ClearLayers();
    Map.AddLayer("L", nullptr, 0);
    TChipTable table(Map, Host);
    InitTable(table);
    table.AddMapChip(WriteBitmap("hundred.bmp", 100, 70, 0));
    int32_t columns = 0, rows = 0;
    table.GetChipAlignment(8, false, 0, columns, rows);
    EXPECT_EQ(columns, 4);
    EXPECT_EQ(rows, 3);
    int32_t x = 0, y = 0;
    ASSERT_TRUE(table.GetImagePosition(5, 0, x, y));
    EXPECT_EQ(x, 32);
    EXPECT_EQ(y, 32);
    // A layer without image, or the fixed setting: 16 × 16 (256 × 256 for 16 bits).
    table.GetChipAlignment(8, true, 0, columns, rows);
    EXPECT_EQ(columns, 16);
    table.GetChipAlignment(16, false, 3, columns, rows);
    EXPECT_EQ(columns, 256);
    EXPECT_EQ(rows, 256);
}

TEST_F(ChipTableTest, SixteenBitRowsAreBoundByTheValueLimit)
{
    Map.Initialize(4, 4, 32, 32, 16);
    Map.ClearLayers();
    Map.AddLayer("L", nullptr, 0);
    TChipTable table(Map, Host);
    InitTable(table);
    table.AddMapChip(WriteBitmap("tall.bmp", 64, 96, 0));
    int32_t columns = 0, rows = 0;
    table.GetChipAlignment(16, false, 0, columns, rows);
    EXPECT_EQ(columns, 2);
    EXPECT_EQ(rows, 3);
    // The value limit bounds rows: 65536 / 2 columns.
    auto tall = std::make_unique<TPixelBuffer>(64, 32 * 40000, 24);
    table.GetMapChipAddr(0)->Image = std::move(tall);
    table.GetChipAlignment(16, false, 0, columns, rows);
    EXPECT_EQ(rows, 32768);
}

TEST_F(ChipTableTest, PositionsNeedInitAndAReadyMap)
{
    TChipTable table(Map, Host);
    int32_t x = 7, y = 7;
    EXPECT_FALSE(table.GetImagePosition(3, 0, x, y)); // never initialised
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    InitTable(table);
    EXPECT_TRUE(table.GetImagePosition(3, 0, x, y));
    EXPECT_EQ(x, 24);
    Map.ClearLayers();
    EXPECT_FALSE(table.GetImagePosition(3, 0, x, y));
}

TEST_F(ChipTableTest, AnEmptyNameAsksWithThePartsFilter)
{
    InstallPlugin("fake_red.spi", "red.spi");
    Host.Folder = "/projects/castle";
    TChipTable table(Map, Host);
    InitTable(table);
    EXPECT_EQ(table.OpenFilter(),
              "All files|*.*|All images|*.bmp;*.jpg;*.jpeg;*.emf;*.wmf;*.fake|Bitmap|*.bmp|Red "
              "pictures|*.fake");
    EXPECT_FALSE(table.AddMapChip("")); // cancelled
    ASSERT_EQ(Seam->OpenRequests.size(), 1u);
    EXPECT_EQ(Seam->OpenRequests[0].FilterIndex, 2);
    EXPECT_EQ(Seam->OpenRequests[0].InitialDir, "/projects/castle");
    EXPECT_EQ(Seam->OpenRequests[0].Filter, table.OpenFilter());
    const std::string picked = WriteFake("chosen.fake");
    Seam->OpenAnswers.push_back(TFileDialogResult{picked, 2});
    EXPECT_TRUE(table.AddMapChip(""));
    EXPECT_EQ(table.GetMapChipName(0), picked);
}

TEST_F(ChipTableTest, InitFreesEveryEntryAndDetachesLayers)
{
    TChipTable table(Map, Host);
    InitTable(table);
    table.AddMapChip(WriteBitmap("a.bmp", 8, 8, 0));
    InitTable(table);
    EXPECT_EQ(table.GetMapChipCount(), 0);
    EXPECT_EQ(Map.GetLayerChip(0), nullptr);
}

TEST_F(ChipTableTest, ChangedFilesAreReloaded)
{
    TChipTable table(Map, Host);
    InitTable(table);
    const std::string path = WriteBitmap("live.bmp", 8, 8, 0x0000AA);
    ASSERT_TRUE(table.AddMapChip(path));
    EXPECT_FALSE(table.CheckMapChipChanged().Reloaded);
    WriteBitmap("live.bmp", 8, 8, 0x00BB00);
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(5));
    const TChipChangeCheck check = table.CheckMapChipChanged();
    EXPECT_TRUE(check.Reloaded);
    EXPECT_FALSE(check.Detached);
    EXPECT_EQ(FirstPixel(table.GetMapChipAddr(0)), 0x0000BB00u);
    EXPECT_FALSE(table.CheckMapChipChanged().Reloaded);
}

TEST_F(ChipTableTest, AFailedReloadKeepsThePictureAndSaysSo)
{
    TChipTable table(Map, Host);
    InitTable(table);
    const std::string path = WriteBitmap("live.bmp", 8, 8, 0x0000AA);
    ASSERT_TRUE(table.AddMapChip(path));
    WriteBytes("live.bmp", "garbage");
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(5));
    EXPECT_FALSE(table.CheckMapChipChanged().Reloaded);
    ASSERT_EQ(Seam->Messages.size(), 1u);
    EXPECT_EQ(Seam->Messages[0].Text, "パーツ画像を開けません (unsupported image format)");
    EXPECT_EQ(FirstPixel(table.GetMapChipAddr(0)), 0x000000AAu);
}

TEST_F(ChipTableTest, AVanishedFileDetachesTheCurrentLayerUsingIt)
{
    TChipTable table(Map, Host);
    InitTable(table);
    const std::string gone = WriteBitmap("gone.bmp", 8, 8, 0);
    const std::string kept = WriteBitmap("kept.bmp", 8, 8, 0);
    table.AddMapChip(gone);
    Host.Layer = 1;
    table.AddMapChip(kept);
    fs::remove(gone);
    // The current layer shows another image: nothing is detached.
    EXPECT_FALSE(table.CheckMapChipChanged().Detached);
    EXPECT_NE(Map.GetLayerChip(1), nullptr);
    EXPECT_NE(Map.GetLayerChip(0), nullptr);
    Host.Layer = 0;
    EXPECT_TRUE(table.CheckMapChipChanged().Detached);
    EXPECT_EQ(Map.GetLayerChip(0), nullptr);
    EXPECT_EQ(table.GetMapChipCount(), 2); // the entry stays
    EXPECT_TRUE(Seam->Messages.empty());
}

} // namespace
