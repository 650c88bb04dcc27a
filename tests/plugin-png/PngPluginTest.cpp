// The shipped PNG image plug-in, loaded as the editor loads it.
#include "PngTestImages.h"

#include "common/SusiePlugin.h"
#include "common/platform/DynamicLibrary.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

const std::string kPluginPath = std::string(TESSELLA_BUILD_DIR) + "/Plugins/png.spi";

class PngPluginTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        Library = new TDynamicLibrary(kPluginPath);
        ASSERT_TRUE(Library->IsLoaded()) << Library->LastError();
    }
    static void TearDownTestSuite()
    {
        delete Library;
        Library = nullptr;
    }
    void SetUp() override
    {
        ASSERT_NE(Library, nullptr);
        GetInfo = Library->Function<SusieGetPluginInfoProc>("GetPluginInfo");
        Supported = Library->Function<SusieIsSupportedProc>("IsSupported");
        PictureInfo = Library->Function<SusieGetPictureInfoProc>("GetPictureInfo");
        Picture = Library->Function<SusieGetPictureProc>("GetPicture");
        ASSERT_TRUE(GetInfo && Supported && PictureInfo && Picture);
        Folder = fs::temp_directory_path() /
                 ("tessella-png-" + std::to_string(getpid()) + "-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(Folder);
    }
    void TearDown() override { fs::remove_all(Folder); }

    std::string Write(const std::string &Name, const std::vector<uint8_t> &Bytes)
    {
        const std::string path = (Folder / Name).string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char *>(Bytes.data()),
                   static_cast<std::streamsize>(Bytes.size()));
        return path;
    }

    // Decodes from memory and checks every pixel against the picture written.
    void ExpectDecodes(const std::string &Name, const TPngImage &Image)
    {
        const std::vector<uint8_t> bytes = EncodePng(Image);
        void *info = nullptr;
        void *bits = nullptr;
        ASSERT_EQ(Picture(reinterpret_cast<const char *>(bytes.data()),
                          static_cast<intptr_t>(bytes.size()), SUSIE_INPUT_MEMORY, &info, &bits,
                          nullptr, 0),
                  0)
            << Name;
        const auto *header = static_cast<const uint8_t *>(info);
        int32_t width, height;
        uint16_t bitCount;
        std::memcpy(&width, header + 4, 4);
        std::memcpy(&height, header + 8, 4);
        std::memcpy(&bitCount, header + 14, 2);
        EXPECT_EQ(width, Image.Width) << Name;
        EXPECT_EQ(height, Image.Height) << Name;
        EXPECT_EQ(bitCount, 24) << Name;
        const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
        const auto *rows = static_cast<const uint8_t *>(bits);
        int mismatches = 0;
        for (int32_t y = 0; y < Image.Height; ++y)
            for (int32_t x = 0; x < Image.Width; ++x) {
                uint8_t want[3];
                ExpectedBgr(Image, x, y, want);
                const uint8_t *got = rows + (Image.Height - 1 - y) * stride + 3 * x;
                if (std::memcmp(got, want, 3) != 0 && ++mismatches < 4)
                    ADD_FAILURE() << Name << " pixel " << x << "," << y << ": got " << int(got[2])
                                  << "," << int(got[1]) << "," << int(got[0]) << " want "
                                  << int(want[2]) << "," << int(want[1]) << "," << int(want[0]);
            }
        std::free(info);
        std::free(bits);
    }

    static TDynamicLibrary *Library;
    SusieGetPluginInfoProc GetInfo = nullptr;
    SusieIsSupportedProc Supported = nullptr;
    SusieGetPictureInfoProc PictureInfo = nullptr;
    SusieGetPictureProc Picture = nullptr;
    fs::path Folder;
};

TDynamicLibrary *PngPluginTest::Library = nullptr;

TEST_F(PngPluginTest, DescribesItselfAsAnImportFilterForPng)
{
    char buffer[128];
    EXPECT_EQ(GetInfo(0, buffer, 128), 4);
    EXPECT_STREQ(buffer, "00IN");
    GetInfo(2, buffer, 128);
    EXPECT_STREQ(buffer, "*.png");
    GetInfo(3, buffer, 128);
    EXPECT_STREQ(buffer, "PNG file");
    EXPECT_GT(GetInfo(1, buffer, 128), 0);
    EXPECT_EQ(GetInfo(4, buffer, 128), 0);
    EXPECT_EQ(GetInfo(0, buffer, 3), 2);
    EXPECT_STREQ(buffer, "00");
    EXPECT_EQ(Library->Symbol("ConfigurationDlg"), nullptr);
}

TEST_F(PngPluginTest, RecognisesThePngSignature)
{
    std::vector<char> head(2048, 0);
    const std::vector<uint8_t> png = EncodePng(MakeTestPng(PNG_COLOR_TYPE_RGB, 8, false));
    std::memcpy(head.data(), png.data(), 8);
    EXPECT_NE(Supported("x.png", head.data()), 0);
    head[1] = 'Q';
    EXPECT_EQ(Supported("x.png", head.data()), 0);
    EXPECT_EQ(Supported("x.png", nullptr), 0);
}

TEST_F(PngPluginTest, DecodesEveryColourTypeAndDepth)
{
    for (const auto &[name, image] : AllTestPngs())
        ExpectDecodes(name, image);
}

TEST_F(PngPluginTest, ReadsFromAFileAndFromAnOffsetInIt)
{
    const TPngImage image = MakeTestPng(PNG_COLOR_TYPE_RGB_ALPHA, 8, false);
    std::vector<uint8_t> bytes = EncodePng(image);
    const std::string path = Write("plain.png", bytes);
    SusiePictureInfo info{};
    ASSERT_EQ(PictureInfo(path.c_str(), 0, 0, &info), 0);
    EXPECT_EQ(info.width, image.Width);
    EXPECT_EQ(info.height, image.Height);
    EXPECT_EQ(info.hInfo, nullptr);
    void *header = nullptr;
    void *bits = nullptr;
    ASSERT_EQ(Picture(path.c_str(), 0, 0, &header, &bits, nullptr, 0), 0);
    uint8_t want[3];
    ExpectedBgr(image, 0, image.Height - 1, want);
    EXPECT_EQ(std::memcmp(bits, want, 3), 0); // the bottom row comes first
    std::free(header);
    std::free(bits);

    bytes.insert(bytes.begin(), 100, 'x');
    const std::string shifted = Write("shifted.bin", bytes);
    ASSERT_EQ(PictureInfo(shifted.c_str(), 100, 0, &info), 0);
    EXPECT_EQ(info.width, image.Width);
}

TEST_F(PngPluginTest, BrokenFilesFailCleanly)
{
    const std::vector<uint8_t> good = EncodePng(MakeTestPng(PNG_COLOR_TYPE_RGB, 8, true, 40, 30));
    std::vector<std::vector<uint8_t>> broken;
    for (size_t cut : {size_t{0}, size_t{5}, size_t{8}, size_t{20}, size_t{33}, good.size() / 2,
                       good.size() - 13})
        broken.emplace_back(good.begin(), good.begin() + static_cast<ptrdiff_t>(cut));
    std::vector<uint8_t> badCrc = good;
    badCrc[29] ^= 0xFF; // inside IHDR's CRC
    broken.push_back(badCrc);
    std::vector<uint8_t> badData = good;
    for (size_t i = 60; i < badData.size() - 20; i += 7)
        badData[i] ^= 0x5A;
    broken.push_back(badData);
    std::vector<uint8_t> notPng(good.size(), 'a');
    broken.push_back(notPng);
    for (size_t i = 0; i < broken.size(); ++i) {
        const std::vector<uint8_t> &bytes = broken[i];
        void *header = reinterpret_cast<void *>(1);
        void *bits = reinterpret_cast<void *>(1);
        const char *data = bytes.empty() ? "" : reinterpret_cast<const char *>(bytes.data());
        EXPECT_NE(Picture(data, static_cast<intptr_t>(bytes.size()), SUSIE_INPUT_MEMORY, &header,
                          &bits, nullptr, 0),
                  0)
            << i;
        EXPECT_EQ(header, nullptr) << i;
        EXPECT_EQ(bits, nullptr) << i;
        const std::string path = Write("broken" + std::to_string(i) + ".png", bytes);
        EXPECT_NE(Picture(path.c_str(), 0, 0, &header, &bits, nullptr, 0), 0) << i;
    }
    SusiePictureInfo info{};
    EXPECT_EQ(PictureInfo((Folder / "missing.png").c_str(), 0, 0, &info), SUSIE_READ_ERROR);
    EXPECT_EQ(PictureInfo(reinterpret_cast<const char *>(notPng.data()),
                          static_cast<intptr_t>(notPng.size()), SUSIE_INPUT_MEMORY, &info),
              SUSIE_UNKNOWN_FORMAT);
}

struct TProgressLog {
    int Calls = 0;
    int32_t Last = -1;
    int32_t Denominator = 0;
    int StopAfter = -1;
};

int32_t RecordProgress(int32_t Num, int32_t Denom, intptr_t Data)
{
    auto *log = reinterpret_cast<TProgressLog *>(Data);
    EXPECT_GE(Num, log->Last);
    log->Last = Num;
    log->Denominator = Denom;
    ++log->Calls;
    return log->StopAfter >= 0 && log->Calls > log->StopAfter ? 1 : 0;
}

TEST_F(PngPluginTest, ReportsProgressAndStopsWhenAsked)
{
    const std::vector<uint8_t> bytes = EncodePng(MakeTestPng(PNG_COLOR_TYPE_RGB, 8, false, 8, 50));
    void *header = nullptr;
    void *bits = nullptr;
    TProgressLog log;
    ASSERT_EQ(Picture(reinterpret_cast<const char *>(bytes.data()),
                      static_cast<intptr_t>(bytes.size()), SUSIE_INPUT_MEMORY, &header, &bits,
                      RecordProgress, reinterpret_cast<intptr_t>(&log)),
              0);
    EXPECT_EQ(log.Last, log.Denominator);
    EXPECT_GT(log.Calls, 10);
    std::free(header);
    std::free(bits);

    TProgressLog stop;
    stop.StopAfter = 5;
    EXPECT_EQ(Picture(reinterpret_cast<const char *>(bytes.data()),
                      static_cast<intptr_t>(bytes.size()), SUSIE_INPUT_MEMORY, &header, &bits,
                      RecordProgress, reinterpret_cast<intptr_t>(&stop)),
              SUSIE_CANCELLED);
    EXPECT_EQ(header, nullptr);
    EXPECT_EQ(bits, nullptr);
}

} // namespace
