#include "plugins/tmx/ImageSize.h"
#include "tests/common/PluginTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace
{

std::vector<uint8_t> PngHeader(uint32_t width, uint32_t height)
{
    TBytes bytes;
    bytes.Raw({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13}).Id("IHDR");
    for (uint32_t value : {width, height})
        bytes.Raw({static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
                   static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)});
    return bytes.Raw({8, 2, 0, 0, 0}).Data;
}

std::vector<uint8_t> GifHeader(uint16_t width, uint16_t height)
{
    return TBytes().Text("GIF89a").U16(width).U16(height).Raw({0, 0, 0}).Data;
}

// A JPEG whose frame comes after an application segment.
std::vector<uint8_t> JpegHeader(uint16_t width, uint16_t height)
{
    return TBytes()
        .Raw({0xFF,
              0xD8,
              0xFF,
              0xE0,
              0x00,
              0x06,
              'J',
              'F',
              'I',
              'F',
              0xFF,
              0xFF,
              0xC2,
              0x00,
              0x0B,
              0x08,
              static_cast<uint8_t>(height >> 8),
              static_cast<uint8_t>(height),
              static_cast<uint8_t>(width >> 8),
              static_cast<uint8_t>(width),
              0x01,
              0x01,
              0x11,
              0x00})
        .Data;
}

std::vector<uint8_t> Os2BmpHeader(uint16_t width, uint16_t height)
{
    return TBytes().Text("BM").U32(26).U32(0).U32(26).U32(12).U16(width).U16(height).Data;
}

TImageSize SizeOf(const std::vector<uint8_t> &bytes)
{
    TImageSize size;
    if (!ParseImageSize(bytes.data(), bytes.size(), size))
        return {-1, -1};
    return size;
}

} // namespace

static bool operator==(const TImageSize &a, const TImageSize &b)
{
    return a.Width == b.Width && a.Height == b.Height;
}

TEST(TmxImageSize, ReadsTheSizeOfEveryFormatAndRefusesBrokenHeaders)
{
    EXPECT_EQ(SizeOf(PngHeader(512, 128)), (TImageSize{512, 128}));
    EXPECT_EQ(SizeOf(BmpFile(40, 32)), (TImageSize{40, 32}));
    EXPECT_EQ(SizeOf(Os2BmpHeader(24, 8)), (TImageSize{24, 8}));
    EXPECT_EQ(SizeOf(GifHeader(33, 17)), (TImageSize{33, 17}));
    EXPECT_EQ(SizeOf(JpegHeader(640, 480)), (TImageSize{640, 480}));
    // A bitmap stored top down has a negative height.
    std::vector<uint8_t> topDown = BmpFile(4, 6);
    topDown[22] = 0xFA;
    topDown[23] = topDown[24] = topDown[25] = 0xFF;
    EXPECT_EQ(SizeOf(topDown), (TImageSize{4, 6}));

    const TImageSize refused{-1, -1};
    // Every header cut one byte before its size is complete, and shorter.
    const std::pair<std::vector<uint8_t>, size_t> cuts[] = {{PngHeader(512, 128), 23},
                                                            {BmpFile(40, 32), 25},
                                                            {Os2BmpHeader(24, 8), 21},
                                                            {GifHeader(33, 17), 9},
                                                            {JpegHeader(640, 480), 19}};
    for (const auto &[whole, needed] : cuts)
        for (size_t cut : {size_t{0}, size_t{1}, needed / 2, needed}) {
            const std::vector<uint8_t> part(whole.begin(), whole.begin() + static_cast<long>(cut));
            EXPECT_EQ(SizeOf(part), refused) << cut;
        }
    EXPECT_EQ(SizeOf(PngHeader(0, 5)), refused);
    EXPECT_EQ(SizeOf(PngHeader(0x80000000u, 5)), refused);
    EXPECT_EQ(SizeOf(GifHeader(5, 0)), refused);
    EXPECT_EQ(SizeOf({0xFF, 0xD8, 0xFF, 0xD9}), refused); // a JPEG that ends before a frame
    EXPECT_EQ(SizeOf({'R', 'I', 'F', 'F'}), refused);

    TTempFolder folder;
    TImageSize size;
    EXPECT_FALSE(ReadImageSize(folder.Path("missing.png"), size));
    WriteFileBytes(folder.Path("tiles.png"), PngHeader(64, 32));
    ASSERT_TRUE(ReadImageSize(folder.Path("tiles.png"), size));
    EXPECT_EQ(size, (TImageSize{64, 32}));
}

// Seeds for fuzz/tmx_image_size_fuzzer (scripts/checks/fuzz-file-plugins.sh).
TEST(TmxImageSize, WritesTheFuzzSeedCorpus)
{
    const std::filesystem::path corpus =
        std::filesystem::path(TESSELLA_BUILD_DIR) / "fuzz" / "corpus-imagesize";
    std::filesystem::create_directories(corpus);
    int n = 0;
    for (const std::vector<uint8_t> &seed :
         {PngHeader(512, 128), BmpFile(40, 32), Os2BmpHeader(24, 8), GifHeader(33, 17),
          JpegHeader(640, 480)})
        WriteFileBytes((corpus / ("seed-" + std::to_string(n++))).string(), seed);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(corpus),
                            std::filesystem::directory_iterator()),
              5);
}
