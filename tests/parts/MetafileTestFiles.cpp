#include "MetafileTestFiles.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

TEmfWriter::TEmfWriter(const std::string &Path, int Width, int Height)
{
    emf_start(Path.c_str(), 65536, 65536, &FTrack);
    emf_htable_create(128, 128, &FHandles);
    const U_RECTL bounds{0, 0, Width - 1, Height - 1};
    const U_RECTL frame{0, 0, static_cast<int32_t>(std::lround(Width * 2540 / 96.0)),
                        static_cast<int32_t>(std::lround(Height * 2540 / 96.0))};
    Add(U_EMRHEADER_set(bounds, frame, nullptr, 0, nullptr, sizel_set(960, 960),
                        sizel_set(254, 254), 0));
}

TEmfWriter::~TEmfWriter()
{
    if (FTrack != nullptr)
        emf_free(&FTrack);
    if (FHandles != nullptr)
        emf_htable_free(&FHandles);
}

void TEmfWriter::Add(char *Record)
{
    emf_append(reinterpret_cast<U_ENHMETARECORD *>(Record), FTrack, U_REC_FREE);
}

uint32_t TEmfWriter::Pen(uint32_t Style, int Width, U_COLORREF Color)
{
    uint32_t handle = 0;
    Add(createpen_set(&handle, FHandles, logpen_set(Style, point32_set(Width, 0), Color)));
    return handle;
}

uint32_t TEmfWriter::Brush(uint32_t Style, U_COLORREF Color, int Hatch)
{
    uint32_t handle = 0;
    Add(createbrushindirect_set(&handle, FHandles, logbrush_set(Style, Color, Hatch)));
    return handle;
}

uint32_t TEmfWriter::Font(int Height, const char *Face)
{
    uint16_t *face = U_Utf8ToUtf16le(Face, 0, nullptr);
    const U_LOGFONT font =
        logfont_set(Height, 0, 0, 0, U_FW_NORMAL, 0, 0, 0, U_ANSI_CHARSET, U_OUT_DEFAULT_PRECIS,
                    U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY, U_DEFAULT_PITCH, face);
    free(face);
    uint32_t handle = 0;
    Add(extcreatefontindirectw_set(&handle, FHandles, reinterpret_cast<const char *>(&font),
                                   nullptr));
    return handle;
}

void TEmfWriter::Select(uint32_t Handle)
{
    Add(selectobject_set(Handle, FHandles));
}

void TEmfWriter::Delete(uint32_t Handle)
{
    Add(deleteobject_set(&Handle, FHandles));
}

void TEmfWriter::Finish()
{
    Add(U_EMREOF_set(0, nullptr, FTrack));
    emf_finish(FTrack, FHandles);
}

TWmfWriter::TWmfWriter(const std::string &Path, int Width, int Height, int Inch)
{
    wmf_start(Path.c_str(), 65536, 65536, &FTrack);
    wmf_htable_create(128, 128, &FHandles);
    U_PAIRF size{static_cast<float>(Width / 96.0), static_cast<float>(Height / 96.0)};
    wmf_header_append(reinterpret_cast<U_METARECORD *>(U_WMRHEADER_set(
                          Inch == 0 ? nullptr : &size, static_cast<unsigned>(Inch))),
                      FTrack, U_REC_FREE);
}

TWmfWriter::~TWmfWriter()
{
    if (FTrack != nullptr)
        wmf_free(&FTrack);
    if (FHandles != nullptr)
        wmf_htable_free(&FHandles);
}

void TWmfWriter::Add(char *Record)
{
    wmf_append(reinterpret_cast<U_METARECORD *>(Record), FTrack, U_REC_FREE);
}

uint32_t TWmfWriter::Pen(uint16_t Style, uint16_t Width, U_COLORREF Color)
{
    uint32_t handle = 0;
    Add(wcreatepenindirect_set(&handle, FHandles, U_PEN_set(Style, Width, Color)));
    return handle;
}

uint32_t TWmfWriter::Brush(uint16_t Style, U_COLORREF Color, uint16_t Hatch)
{
    uint32_t handle = 0;
    Add(wcreatebrushindirect_set(&handle, FHandles, U_WLOGBRUSH_set(Style, Color, Hatch)));
    return handle;
}

uint32_t TWmfWriter::Font(int16_t Height, const char *Face)
{
    U_FONT *font = U_FONT_set(Height, 0, 0, 0, U_FW_NORMAL, 0, 0, 0, U_ANSI_CHARSET, 0, 0, 0, 0,
                              const_cast<char *>(Face));
    uint32_t handle = 0;
    Add(wcreatefontindirect_set(&handle, FHandles, font));
    free(font);
    return handle;
}

void TWmfWriter::Select(uint32_t Handle)
{
    Add(wselectobject_set(Handle, FHandles));
}

void TWmfWriter::Delete(uint32_t Handle)
{
    Add(wdeleteobject_set(&Handle, FHandles));
}

void TWmfWriter::Finish()
{
    Add(U_WMREOF_set());
    wmf_finish(FTrack);
}

namespace
{

const uint32_t kDibColours[8] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF,
                                 0x000000, 0xFFFF00, 0x00FFFF, 0xFF00FF};

} // namespace

uint32_t TestDibPixel(int BitCount, int X, int Y)
{
    if (BitCount == 1)
        return (X + Y) % 2 == 0 ? 0xFF0000 : 0x000000;
    return kDibColours[Y * 4 + X];
}

TTestDib MakeTestDib(int BitCount)
{
    TTestDib dib;
    const int colours = BitCount == 1 ? 2 : (BitCount <= 8 ? 8 : 0);
    const U_BITMAPINFOHEADER header =
        bitmapinfoheader_set(4, 2, 1, static_cast<uint16_t>(BitCount), U_BI_RGB, 0, 0, 0,
                             static_cast<U_NUM_RGBQUAD>(colours), 0);
    dib.Info.resize(sizeof header + 4 * size_t(colours));
    std::memcpy(dib.Info.data(), &header, sizeof header);
    for (int i = 0; i < colours; ++i) {
        const uint32_t rgb = BitCount == 1 ? (i == 1 ? 0xFF0000 : 0) : kDibColours[i];
        char *entry = dib.Info.data() + sizeof header + 4 * i;
        entry[0] = static_cast<char>(rgb & 0xFF);
        entry[1] = static_cast<char>((rgb >> 8) & 0xFF);
        entry[2] = static_cast<char>((rgb >> 16) & 0xFF);
    }
    const int stride = ((4 * BitCount + 31) / 32) * 4;
    dib.Bits.assign(size_t(stride) * 2, 0);
    for (int row = 0; row < 2; ++row) {
        const int y = 1 - row; // bottom row first
        char *line = dib.Bits.data() + row * stride;
        for (int x = 0; x < 4; ++x) {
            const uint32_t rgb = TestDibPixel(BitCount, x, y);
            const int index = BitCount == 1 ? (rgb != 0 ? 1 : 0) : y * 4 + x;
            switch (BitCount) {
            case 1:
                line[0] = static_cast<char>(line[0] | (index << (7 - x)));
                break;
            case 4:
                line[x / 2] = static_cast<char>(line[x / 2] | (index << (x % 2 == 0 ? 4 : 0)));
                break;
            case 8:
                line[x] = static_cast<char>(index);
                break;
            default: {
                const int bytes = BitCount / 8;
                line[x * bytes] = static_cast<char>(rgb & 0xFF);
                line[x * bytes + 1] = static_cast<char>((rgb >> 8) & 0xFF);
                line[x * bytes + 2] = static_cast<char>((rgb >> 16) & 0xFF);
                break;
            }
            }
        }
    }
    return dib;
}

std::vector<char> TTestDib::Packed() const
{
    std::vector<char> packed(Info);
    packed.insert(packed.end(), Bits.begin(), Bits.end());
    return packed;
}

::testing::AssertionResult ShowsPicture(const TPixelBuffer &Picture, int Width, int Height,
                                        const std::function<uint32_t(int, int)> &Expected,
                                        int Allowed)
{
    if (Picture.Width() != Width || Picture.Height() != Height)
        return ::testing::AssertionFailure()
               << "the picture is " << Picture.Width() << " x " << Picture.Height() << ", not "
               << Width << " x " << Height;
    int edges = 0;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const uint32_t want = Expected(x, y);
            const uint32_t got = Picture.Pixel(x, y);
            if ((got >> 24) != 0)
                return ::testing::AssertionFailure()
                       << "the fourth byte is set at " << x << "," << y;
            if (got == want)
                continue;
            bool edge = false;
            for (int dy = -1; dy <= 1 && !edge; ++dy)
                for (int dx = -1; dx <= 1 && !edge; ++dx) {
                    const int nx = x + dx;
                    const int ny = y + dy;
                    edge =
                        nx >= 0 && ny >= 0 && nx < Width && ny < Height && Expected(nx, ny) != want;
                }
            if (!edge || ++edges > Allowed)
                return ::testing::AssertionFailure()
                       << std::hex << "pixel " << std::dec << x << "," << y << " is " << std::hex
                       << got << ", not " << want << (edge ? " (too many edge pixels)" : "");
        }
    return ::testing::AssertionSuccess();
}

std::vector<uint8_t> LoadMetafileBytes(const std::string &Path)
{
    std::ifstream in(Path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void SaveMetafileBytes(const std::string &Path, const std::vector<uint8_t> &Bytes)
{
    std::ofstream out(Path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(Bytes.data()),
              static_cast<std::streamsize>(Bytes.size()));
}
