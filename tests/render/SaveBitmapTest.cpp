// The debug dump writer's bytes.
#include "editor/render/RasterPrimitives.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

namespace
{

std::vector<uint8_t> ReadFile(const std::filesystem::path &Path)
{
    std::ifstream in(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t Le32(const std::vector<uint8_t> &B, size_t At)
{
    return B[At] | B[At + 1] << 8 | B[At + 2] << 16 | static_cast<uint32_t>(B[At + 3]) << 24;
}

class SaveBitmap24Test : public testing::Test
{
protected:
    void SetUp() override
    {
        Folder = std::filesystem::temp_directory_path() /
                 ("tessella-savebitmap-" +
                  std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(Folder);
    }
    void TearDown() override { std::filesystem::remove_all(Folder); }
    std::filesystem::path Folder;
};

} // namespace

TEST_F(SaveBitmap24Test, OnePixelIsFiftyEightBytes)
{
    TPixelBuffer b(1, 1, 32);
    b.SetPixel(0, 0, 0x00112233);
    const auto path = Folder / "one.bmp";
    SaveBitmap24(path.string(), b);
    const std::vector<uint8_t> bytes = ReadFile(path);
    ASSERT_EQ(bytes.size(), 58u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(Le32(bytes, 2), 58u);
    EXPECT_EQ(Le32(bytes, 6), 0u);
    EXPECT_EQ(Le32(bytes, 10), 54u);
    EXPECT_EQ(Le32(bytes, 14), 40u);
    EXPECT_EQ(Le32(bytes, 18), 1u);
    EXPECT_EQ(Le32(bytes, 22), 1u);
    EXPECT_EQ(bytes[26] | bytes[27] << 8, 1);
    EXPECT_EQ(bytes[28] | bytes[29] << 8, 24);
    for (size_t i = 30; i < 54; ++i)
        EXPECT_EQ(bytes[i], 0) << i;
    EXPECT_EQ(bytes[54], 0x33); // blue
    EXPECT_EQ(bytes[55], 0x22);
    EXPECT_EQ(bytes[56], 0x11); // red
    EXPECT_EQ(bytes[57], 0);    // padding
    EXPECT_EQ(b.BitsPerPixel(), 24);
}

TEST_F(SaveBitmap24Test, RowsAreStoredBottomUpAndFourWideHasNoPadding)
{
    TPixelBuffer b(4, 2, 32);
    for (int32_t x = 0; x < 4; ++x) {
        b.SetPixel(x, 0, 0x00000001u * static_cast<uint32_t>(x + 1)); // top row: blue 1..4
        b.SetPixel(x, 1, 0x00010000u * static_cast<uint32_t>(x + 1)); // bottom row: red 1..4
    }
    const auto path = Folder / "four.bmp";
    SaveBitmap24(path.string(), b);
    const std::vector<uint8_t> bytes = ReadFile(path);
    ASSERT_EQ(bytes.size(), 54u + 2 * 12);
    EXPECT_EQ(Le32(bytes, 2), 78u);
    EXPECT_EQ(Le32(bytes, 22), 2u);
    // The first stored row is the bottom one.
    EXPECT_EQ(bytes[54 + 2], 1);
    EXPECT_EQ(bytes[54 + 0], 0);
    EXPECT_EQ(bytes[54 + 12], 1);
    EXPECT_EQ(bytes[54 + 12 + 9], 4);
}

TEST_F(SaveBitmap24Test, ReplacesAnExistingFileAndFailsLoudly)
{
    const auto path = Folder / "again.bmp";
    {
        std::ofstream(path) << std::string(500, 'x');
    }
    TPixelBuffer b(2, 3, 32);
    SaveBitmap24(path.string(), b);
    EXPECT_EQ(std::filesystem::file_size(path), 54u + 3 * 8);
    EXPECT_THROW(SaveBitmap24((Folder / "no-such-folder" / "x.bmp").string(), b),
                 std::runtime_error);
}

TEST(PixelBuffer, ConversionsKeepColoursAndClearTheFourthByte)
{
    TPixelBuffer b(3, 2, 32);
    b.SetPixel(2, 1, 0xFF123456);
    b.ConvertTo24();
    EXPECT_EQ(b.BitsPerPixel(), 24);
    EXPECT_EQ(b.RowBytes(), 12);
    b.ConvertTo32();
    EXPECT_EQ(b.Pixel(2, 1), 0x00123456u);
    EXPECT_EQ(b.ImageWidth(), 3);
    EXPECT_EQ(b.ImageHeight(), 2);
}
