// WMF parts images, placeable and plain, written with libuemf's writers (one record byte by
// byte), one family of records per case: each compared pixel by pixel with what it must
// draw and, where libwmf draws the family too, with libwmf's own wmf2gd rendering.
#include "MetafileTestFiles.h"
#include "PartsTestSupport.h"

#include "editor/parts/PictureLoader.h"

#include <QFont>
#include <QFontMetrics>
#include <cstdlib>
#include <stdexcept>

namespace
{

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kBlack = 0x000000;

// The files are 48 x 48 pixels of 15 logical units each (1440 units to the inch).
int16_t L(int Pixels)
{
    return static_cast<int16_t>(Pixels * 15);
}

U_RECT16 Box(int Left, int Top, int Right, int Bottom)
{
    return U_RECT16{L(Left), L(Top), L(Right), L(Bottom)};
}

U_POINT16 P(int X, int Y)
{
    return U_POINT16{L(X), L(Y)};
}

bool In(int X, int Y, int Left, int Top, int Right, int Bottom)
{
    return X >= Left && X < Right && Y >= Top && Y < Bottom;
}

// A placeable file whose window is its box and whose whole box is painted white first, so
// that libwmf, which fits what is drawn into its picture, draws the same box.
class TScene : public TWmfWriter
{
public:
    explicit TScene(const std::string &Path) : TWmfWriter(Path, 48, 48, 1440)
    {
        Add(U_WMRSETWINDOWORG_set(U_POINT16{0, 0}));
        Add(U_WMRSETWINDOWEXT_set(U_POINT16{720, 720}));
        const uint32_t white = Brush(U_BS_SOLID, U_RGB(255, 255, 255));
        const uint32_t none = Pen(U_PS_NULL, 0, U_RGB(0, 0, 0));
        Select(white);
        Select(none);
        Add(U_WMRRECTANGLE_set(Box(0, 0, 48, 48)));
        Delete(white);
        Delete(none);
    }
};

class OldMetafileTest : public TPartsFixture
{
protected:
    std::string File(const std::string &Name) const { return (Root / Name).string(); }

    TPixelBuffer Load(const std::string &Path)
    {
        TPixelBuffer picture;
        LoadPictureFile(Path, picture);
        return picture;
    }

    static void RedFill(TWmfWriter &Wmf)
    {
        Wmf.Select(Wmf.Brush(U_BS_SOLID, U_RGB(255, 0, 0)));
        Wmf.Select(Wmf.Pen(U_PS_NULL, 0, U_RGB(0, 0, 0)));
    }

    // libwmf's picture of the file at the same size; a pixel of ours matches when one of
    // its neighbours there has about its colour.
    ::testing::AssertionResult MatchesWmf2gd(const std::string &Path, const TPixelBuffer &Ours)
    {
        const std::string png = Path + ".png";
        const std::string command = "wmf2gd --maxwidth=" + std::to_string(Ours.Width()) +
                                    " --maxheight=" + std::to_string(Ours.Height()) +
                                    " --maxsize -o '" + png + "' '" + Path + "' 2>/dev/null";
        if (std::system(command.c_str()) != 0)
            return ::testing::AssertionFailure() << "wmf2gd failed on " << Path;
        const QImage theirs =
            QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
        if (theirs.width() != Ours.Width() || theirs.height() != Ours.Height())
            return ::testing::AssertionFailure()
                   << "wmf2gd drew " << theirs.width() << " x " << theirs.height();
        const auto near = [](uint32_t a, uint32_t b) {
            for (int shift : {0, 8, 16})
                if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 60)
                    return false;
            return true;
        };
        int mismatches = 0;
        for (int y = 0; y < Ours.Height(); ++y)
            for (int x = 0; x < Ours.Width(); ++x) {
                bool found = false;
                for (int dy = -1; dy <= 1 && !found; ++dy)
                    for (int dx = -1; dx <= 1 && !found; ++dx)
                        found = theirs.valid(x + dx, y + dy) &&
                                near(Ours.Pixel(x, y), theirs.pixel(x + dx, y + dy));
                mismatches += found ? 0 : 1;
            }
        if (mismatches * 100 > Ours.Width() * Ours.Height())
            return ::testing::AssertionFailure() << mismatches << " pixels differ from wmf2gd";
        return ::testing::AssertionSuccess();
    }

    // Our picture is what it must be and what libwmf draws.
    void Check(const std::string &Path, const std::function<uint32_t(int, int)> &Expected,
               int Allowed = 0, bool CrossCheck = true)
    {
        const TPixelBuffer picture = Load(Path);
        EXPECT_TRUE(ShowsPicture(picture, 48, 48, Expected, Allowed));
        if (CrossCheck) {
            EXPECT_TRUE(MatchesWmf2gd(Path, picture));
        }
    }
};

} // namespace

TEST_F(OldMetafileTest, PlaceableFilesTakeTheirBoxAndPlainFilesTheirWindow)
{
    {
        TWmfWriter wmf(File("placeable.wmf"), 72, 24, 1440); // 1080 x 360 units
        wmf.Finish();
    }
    EXPECT_TRUE(ShowsPicture(Load(File("placeable.wmf")), 72, 24, [](int, int) { return kWhite; }));
    {
        TWmfWriter wmf(File("plain.wmf"), 0, 0, 0);
        wmf.Add(U_WMRSETWINDOWORG_set(U_POINT16{100, 200}));
        wmf.Add(U_WMRSETWINDOWEXT_set(U_POINT16{40, 30}));
        RedFill(wmf);
        wmf.Add(U_WMRRECTANGLE_set(U_RECT16{110, 210, 120, 220}));
        wmf.Finish();
    }
    EXPECT_TRUE(ShowsPicture(Load(File("plain.wmf")), 40, 30, [](int x, int y) {
        return In(x, y, 10, 10, 20, 20) ? kRed : kWhite;
    }));
}

TEST_F(OldMetafileTest, WindowsViewportsAndSavedStatesPlaceTheShapes)
{
    // Every file draws the same red box at pixels [8, 24) x [8, 16) by other means.
    const std::vector<std::function<void(TWmfWriter &)>> placements = {
        [](TWmfWriter &w) { w.Add(U_WMRRECTANGLE_set(Box(8, 8, 24, 16))); },
        [](TWmfWriter &w) {
            w.Add(U_WMRSETWINDOWORG_set(P(-4, -4)));
            w.Add(U_WMRRECTANGLE_set(Box(4, 4, 20, 12)));
        },
        [](TWmfWriter &w) {
            w.Add(U_WMROFFSETWINDOWORG_set(P(4, 4)));
            w.Add(U_WMRRECTANGLE_set(Box(12, 12, 28, 20)));
        },
        [](TWmfWriter &w) { // twice the window: half the size
            w.Add(U_WMRSCALEWINDOWEXT_set(U_POINT16{1, 1}, U_POINT16{2, 2}));
            w.Add(U_WMRRECTANGLE_set(Box(16, 16, 48, 32)));
        },
        [](TWmfWriter &w) {
            w.Add(U_WMRSAVEDC_set());
            w.Add(U_WMRSETWINDOWEXT_set(U_POINT16{10, 10}));
            w.Add(U_WMRRESTOREDC_set(-1));
            w.Add(U_WMRRECTANGLE_set(Box(8, 8, 24, 16)));
        },
    };
    for (size_t i = 0; i < placements.size(); ++i) {
        SCOPED_TRACE(i);
        const std::string path = File("map" + std::to_string(i) + ".wmf");
        {
            TScene wmf(path);
            RedFill(wmf);
            placements[i](wmf);
            wmf.Finish();
        }
        // libwmf keeps its first window whatever scales it.
        const bool scaled = i == 3;
        Check(
            path, [](int x, int y) { return In(x, y, 8, 8, 24, 16) ? kRed : kWhite; }, 0, !scaled);
    }
}

TEST_F(OldMetafileTest, PensBrushesHatchesAndObjectSlots)
{
    {
        TScene wmf(File("objects.wmf"));
        const uint32_t red = wmf.Brush(U_BS_SOLID, U_RGB(255, 0, 0));
        wmf.Select(red);
        wmf.Select(wmf.Pen(U_PS_SOLID, 0, U_RGB(0, 0, 0)));
        wmf.Add(U_WMRRECTANGLE_set(Box(8, 8, 24, 16)));
        // A deleted slot is the next one taken.
        wmf.Delete(red);
        const uint32_t green = wmf.Brush(U_BS_SOLID, U_RGB(0, 255, 0));
        EXPECT_EQ(green, red);
        wmf.Select(green);
        wmf.Select(wmf.Pen(U_PS_NULL, 0, U_RGB(0, 0, 0)));
        wmf.Add(U_WMRRECTANGLE_set(Box(32, 8, 40, 16)));
        wmf.Select(wmf.Brush(U_BS_HATCHED, U_RGB(0, 0, 255), U_HS_HORIZONTAL));
        wmf.Add(U_WMRSETBKCOLOR_set(U_RGB(0, 255, 0)));
        wmf.Add(U_WMRRECTANGLE_set(Box(0, 24, 16, 40)));
        wmf.Add(U_WMRSETBKMODE_set(U_TRANSPARENT));
        wmf.Add(U_WMRRECTANGLE_set(Box(24, 24, 40, 40)));
        wmf.Finish();
    }
    // libwmf lays its hatches out otherwise; the solid parts are compared with it.
    const TPixelBuffer picture = Load(File("objects.wmf"));
    EXPECT_TRUE(ShowsPicture(picture, 48, 48, [](int x, int y) {
        if (In(x, y, 8, 8, 24, 16))
            return x == 8 || x == 23 || y == 8 || y == 15 ? kBlack : kRed;
        if (In(x, y, 32, 8, 40, 16))
            return kGreen;
        if (In(x, y, 0, 24, 16, 40))
            return y % 8 == 7 ? kBlue : kGreen;
        if (In(x, y, 24, 24, 40, 40))
            return y % 8 == 7 ? kBlue : kWhite;
        return kWhite;
    }));
}

TEST_F(OldMetafileTest, LinesPolylinesPolygonsAndPolyPolygons)
{
    {
        TScene wmf(File("lines.wmf"));
        wmf.Select(wmf.Pen(U_PS_SOLID, 0, U_RGB(0, 0, 0)));
        wmf.Add(U_WMRMOVETO_set(P(2, 2)));
        wmf.Add(U_WMRLINETO_set(P(40, 2)));
        const U_POINT16 column[] = {P(2, 6), P(2, 40)};
        wmf.Add(U_WMRPOLYLINE_set(2, column));
        RedFill(wmf);
        const U_POINT16 box[] = {P(8, 8), P(24, 8), P(24, 16), P(8, 16)};
        wmf.Add(U_WMRPOLYGON_set(4, box));
        wmf.Select(wmf.Brush(U_BS_SOLID, U_RGB(0, 255, 0)));
        // The fill modes are compared in the EMF test: libwmf fills alternately always.
        const U_POINT16 squares[] = {P(8, 24),  P(40, 24), P(40, 44), P(8, 44),
                                     P(16, 28), P(32, 28), P(32, 40), P(16, 40)};
        const uint16_t counts[] = {4, 4};
        wmf.Add(U_WMRPOLYPOLYGON_set(2, counts, squares));
        wmf.Finish();
    }
    Check(
        File("lines.wmf"),
        [](int x, int y) {
            if ((y == 2 && x >= 2 && x <= 40) || (x == 2 && y >= 6 && y <= 40))
                return kBlack;
            if (In(x, y, 8, 8, 24, 16))
                return kRed;
            if (In(x, y, 16, 28, 32, 40))
                return kWhite;
            return In(x, y, 8, 24, 40, 44) ? kGreen : kWhite;
        },
        4);
}

TEST_F(OldMetafileTest, RectanglesRoundedRectanglesEllipsesArcsChordsAndPies)
{
    {
        TScene wmf(File("shapes.wmf"));
        RedFill(wmf);
        wmf.Add(U_WMRELLIPSE_set(Box(0, 0, 24, 24)));
        wmf.Add(U_WMRPIE_set(P(48, 12), P(36, 0), Box(24, 0, 48, 24)));
        wmf.Add(U_WMRCHORD_set(P(24, 36), P(12, 24), Box(0, 24, 24, 48)));
        wmf.Add(U_WMRROUNDRECT_set(L(6), L(6), Box(28, 28, 44, 44)));
        wmf.Finish();
    }
    const auto inCircle = [](int x, int y, double cx, double cy, double r) {
        const double dx = x + 0.5 - cx;
        const double dy = y + 0.5 - cy;
        return dx * dx + dy * dy <= r * r;
    };
    const TPixelBuffer picture = Load(File("shapes.wmf"));
    Check(
        File("shapes.wmf"),
        [&](int x, int y) {
            if (x < 24 && y < 24)
                return inCircle(x, y, 12, 12, 12) ? kRed : kWhite;
            if (x >= 24 && y < 24)
                return inCircle(x, y, 36, 12, 12) && x >= 36 && y < 12 ? kRed : kWhite;
            if (x < 24)
                return inCircle(x, y, 12, 36, 12) && (y + 0.5) < (x + 0.5) + 12 ? kRed : kWhite;
            if (In(x, y, 28, 28, 44, 44)) {
                const bool corner = (x < 31 || x >= 41) && (y < 31 || y >= 41);
                return corner ? picture.Pixel(x, y) : kRed;
            }
            return kWhite;
        },
        100, false); // libwmf leaves out ellipses without a pen and squares the corners
}

TEST_F(OldMetafileTest, BitmapsOfEveryDepthAreStretchedAndBlitted)
{
    for (const int bits : {1, 4, 8, 24, 32}) {
        SCOPED_TRACE(bits);
        const std::string path = File("dib" + std::to_string(bits) + ".wmf");
        {
            TScene wmf(path);
            TTestDib dib = MakeTestDib(bits);
            const auto size = static_cast<uint32_t>(dib.Bits.size());
            wmf.Add(U_WMRSTRETCHDIB_set(P(8, 8), P(16, 8), U_POINT16{0, 0}, U_POINT16{4, 2},
                                        U_DIB_RGB_COLORS, U_SRCCOPY, dib.Header(), size,
                                        dib.Bits.data()));
            wmf.Add(U_WMRDIBSTRETCHBLT_set(P(32, 8), P(8, 4), U_POINT16{0, 0}, U_POINT16{4, 2},
                                           U_SRCCOPY, dib.Header(), size, dib.Bits.data()));
            // A blit's source is as large as its destination in the bitmap's pixels: one
            // logical unit to the pixel for that.
            wmf.Add(U_WMRSAVEDC_set());
            wmf.Add(U_WMRSETWINDOWEXT_set(U_POINT16{48, 48}));
            wmf.Add(U_WMRDIBBITBLT_set(U_POINT16{8, 24}, U_POINT16{4, 2}, U_POINT16{0, 0},
                                       U_SRCCOPY, dib.Header(), size, dib.Bits.data()));
            wmf.Add(U_WMRRESTOREDC_set(-1));
            // No writer makes a SetDIBitsToDevice record: one pixel per bitmap pixel.
            const std::vector<char> packed = dib.Packed();
            std::vector<char> record(24 + packed.size());
            const uint32_t words = static_cast<uint32_t>(record.size() / 2);
            const int16_t fields[] = {0x0D33, U_DIB_RGB_COLORS, 2, 0, 0, 0, 2, 4, L(16), L(32)};
            std::memcpy(record.data(), &words, 4);
            std::memcpy(record.data() + 4, fields, sizeof fields);
            std::memcpy(record.data() + 24, packed.data(), packed.size());
            char *copy = static_cast<char *>(malloc(record.size()));
            std::memcpy(copy, record.data(), record.size());
            wmf.Add(copy);
            wmf.Select(wmf.Brush(U_BS_SOLID, U_RGB(0, 0, 255)));
            wmf.Add(U_WMRPATBLT_set(P(32, 32), P(8, 8), U_PATCOPY));
            wmf.Finish();
        }
        // libwmf smooths what it stretches and keeps its first window: it is compared
        // below on bitmaps drawn one to one.
        Check(
            path,
            [bits](int x, int y) {
                if (In(x, y, 8, 8, 24, 16))
                    return TestDibPixel(bits, (x - 8) / 4, (y - 8) / 4);
                if (In(x, y, 32, 8, 40, 12))
                    return TestDibPixel(bits, (x - 32) / 2, (y - 8) / 2);
                if (In(x, y, 8, 24, 12, 26))
                    return TestDibPixel(bits, x - 8, y - 24);
                if (In(x, y, 32, 16, 36, 18))
                    return TestDibPixel(bits, x - 32, y - 16);
                return In(x, y, 32, 32, 40, 40) ? kBlue : kWhite;
            },
            0, false);

        const std::string unstretched = File("flat" + std::to_string(bits) + ".wmf");
        {
            TScene wmf(unstretched);
            TTestDib dib = MakeTestDib(bits);
            const auto size = static_cast<uint32_t>(dib.Bits.size());
            wmf.Add(U_WMRSTRETCHDIB_set(P(8, 8), P(4, 2), U_POINT16{0, 0}, U_POINT16{4, 2},
                                        U_DIB_RGB_COLORS, U_SRCCOPY, dib.Header(), size,
                                        dib.Bits.data()));
            wmf.Add(U_WMRDIBSTRETCHBLT_set(P(32, 8), P(4, 2), U_POINT16{0, 0}, U_POINT16{4, 2},
                                           U_SRCCOPY, dib.Header(), size, dib.Bits.data()));
            wmf.Select(wmf.Brush(U_BS_SOLID, U_RGB(0, 0, 255)));
            wmf.Add(U_WMRPATBLT_set(P(32, 32), P(8, 8), U_PATCOPY));
            wmf.Finish();
        }
        Check(unstretched, [bits](int x, int y) {
            if (In(x, y, 8, 8, 12, 10))
                return TestDibPixel(bits, x - 8, y - 8);
            if (In(x, y, 32, 8, 36, 10))
                return TestDibPixel(bits, x - 32, y - 8);
            return In(x, y, 32, 32, 40, 40) ? kBlue : kWhite;
        });
    }
}

TEST_F(OldMetafileTest, TextOutAndExtTextOutInTheSystemsFonts)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(16);
    const QFontMetrics metrics(font);
    {
        TScene wmf(File("text.wmf"));
        wmf.Select(wmf.Font(static_cast<int16_t>(-L(16)), "DejaVu Sans"));
        wmf.Add(U_WMRSETTEXTCOLOR_set(U_RGB(0, 0, 255)));
        wmf.Add(U_WMRSETBKMODE_set(U_TRANSPARENT));
        wmf.Add(U_WMRTEXTOUT_set(P(4, 4), const_cast<char *>("Hi")));
        wmf.Add(U_WMREXTTEXTOUT_set(P(4, 26), 2, 0, "Hi", nullptr, U_RECT16{0, 0, 0, 0}));
        wmf.Finish();
    }
    const TPixelBuffer picture = Load(File("text.wmf"));
    for (const int top : {4, 26}) {
        SCOPED_TRACE(top);
        const QRect ink =
            metrics.boundingRect(QStringLiteral("Hi")).translated(4, top + metrics.ascent());
        int blue = 0;
        for (int y = top - 2; y < top + metrics.height() + 2; ++y)
            for (int x = 0; x < 48; ++x)
                if (picture.Pixel(x, y) == kBlue) {
                    ++blue;
                    EXPECT_TRUE(ink.adjusted(-2, -2, 2, 2).contains(x, y)) << x << "," << y;
                }
        EXPECT_GT(blue, 20);
    }
}

TEST_F(OldMetafileTest, ClippingRectanglesAndTheirSavedStates)
{
    {
        TScene wmf(File("clip.wmf"));
        RedFill(wmf);
        wmf.Add(U_WMRSAVEDC_set());
        wmf.Add(U_WMRINTERSECTCLIPRECT_set(Box(8, 8, 24, 16)));
        wmf.Add(U_WMRRECTANGLE_set(Box(0, 0, 48, 20)));
        wmf.Add(U_WMRRESTOREDC_set(-1));
        wmf.Add(U_WMREXCLUDECLIPRECT_set(Box(0, 24, 24, 48)));
        wmf.Select(wmf.Brush(U_BS_SOLID, U_RGB(0, 255, 0)));
        wmf.Add(U_WMRRECTANGLE_set(Box(0, 32, 48, 48)));
        wmf.Finish();
    }
    // libwmf draws over a rectangle excluded after a restored state: the pixels say it all.
    Check(
        File("clip.wmf"),
        [](int x, int y) {
            if (In(x, y, 8, 8, 24, 16))
                return kRed;
            return In(x, y, 24, 32, 48, 48) ? kGreen : kWhite;
        },
        0, false);
}

TEST_F(OldMetafileTest, RasterOperationsOfThePen)
{
    {
        TScene wmf(File("rop.wmf"));
        RedFill(wmf);
        wmf.Add(U_WMRRECTANGLE_set(Box(0, 0, 48, 24)));
        wmf.Select(wmf.Brush(U_BS_SOLID, U_RGB(255, 255, 255)));
        wmf.Add(U_WMRSETROP2_set(U_R2_XORPEN));
        wmf.Add(U_WMRRECTANGLE_set(Box(0, 0, 24, 24)));
        wmf.Add(U_WMRSETROP2_set(U_R2_NOP));
        wmf.Add(U_WMRRECTANGLE_set(Box(24, 0, 48, 24)));
        wmf.Finish();
    }
    // libwmf draws no raster operations; the pixels say it all.
    Check(
        File("rop.wmf"), [](int x, int y) { return y < 24 ? (x < 24 ? 0x00FFFFu : kRed) : kWhite; },
        0, false);
}

namespace
{

size_t WmfRecordAt(const std::vector<uint8_t> &Bytes, uint16_t Function)
{
    for (size_t at = 22 + 18; at + 6 <= Bytes.size();) {
        uint32_t words = 0;
        uint16_t function = 0;
        std::memcpy(&words, &Bytes[at], 4);
        std::memcpy(&function, &Bytes[at + 4], 2);
        if (function == Function)
            return at;
        if (words == 0)
            break;
        at += words * 2;
    }
    ADD_FAILURE() << "no record " << Function;
    return 0;
}

template <typename T> void Put(std::vector<uint8_t> &Bytes, size_t At, T Value)
{
    std::memcpy(&Bytes[At], &Value, sizeof Value);
}

} // namespace

TEST_F(OldMetafileTest, BrokenFilesAreRefusedWithTheLoadersMessage)
{
    {
        TScene wmf(File("whole.wmf"));
        RedFill(wmf);
        const U_POINT16 triangle[] = {P(0, 0), P(40, 0), P(0, 40)};
        wmf.Add(U_WMRPOLYGON_set(3, triangle));
        const U_POINT16 squares[] = {P(8, 24),  P(16, 24), P(16, 32),
                                     P(24, 24), P(32, 24), P(32, 32)};
        const uint16_t counts[] = {3, 3};
        wmf.Add(U_WMRPOLYPOLYGON_set(2, counts, squares));
        wmf.Add(U_WMRTEXTOUT_set(P(4, 4), const_cast<char *>("Hi")));
        wmf.Add(U_WMREXTTEXTOUT_set(P(4, 26), 2, 0, "Hi", nullptr, U_RECT16{0, 0, 0, 0}));
        TTestDib dib = MakeTestDib(8);
        wmf.Add(U_WMRSTRETCHDIB_set(P(8, 8), P(16, 8), U_POINT16{0, 0}, U_POINT16{4, 2},
                                    U_DIB_RGB_COLORS, U_SRCCOPY, dib.Header(),
                                    static_cast<uint32_t>(dib.Bits.size()), dib.Bits.data()));
        wmf.Finish();
    }
    const std::vector<uint8_t> whole = LoadMetafileBytes(File("whole.wmf"));
    ASSERT_NO_THROW(Load(File("whole.wmf")));
    const size_t polygon = WmfRecordAt(whole, 0x0324);
    const size_t polyPolygon = WmfRecordAt(whole, 0x0538);
    const size_t text = WmfRecordAt(whole, 0x0521);
    const size_t extText = WmfRecordAt(whole, 0x0A32);
    const size_t bitmap = WmfRecordAt(whole, 0x0F43);

    struct TCase {
        const char *Name;
        std::function<void(std::vector<uint8_t> &)> Break;
        const char *Reason;
    };
    const std::vector<TCase> cases = {
        {"cut inside a record", [&](auto &b) { b.resize(polygon + 10); }, "broken metafile"},
        {"cut inside the header", [](auto &b) { b.resize(30); }, "broken metafile"},
        {"a size past the end", [&](auto &b) { Put<uint32_t>(b, polygon, 0x100000); },
         "broken metafile"},
        {"a size below three words", [&](auto &b) { Put<uint32_t>(b, polygon, 2); },
         "broken metafile"},
        {"a size that overflows", [&](auto &b) { Put<uint32_t>(b, polygon, 0x80000004); },
         "broken metafile"},
        {"points past the record", [&](auto &b) { Put<uint16_t>(b, polygon + 6, 900); },
         "broken metafile"},
        {"polygon counts past the record",
         [&](auto &b) { Put<uint16_t>(b, polyPolygon + 6, 60000); }, "broken metafile"},
        {"points of the counts past the record",
         [&](auto &b) { Put<uint16_t>(b, polyPolygon + 8, 700); }, "broken metafile"},
        {"text past the record", [&](auto &b) { Put<int16_t>(b, text + 6, 3000); },
         "broken metafile"},
        {"a negative text length", [&](auto &b) { Put<int16_t>(b, text + 6, -20000); },
         "broken metafile"},
        {"extended text past the record", [&](auto &b) { Put<int16_t>(b, extText + 10, 3000); },
         "broken metafile"},
        {"bitmap rows past the record", [&](auto &b) { Put<int32_t>(b, bitmap + 28 + 8, 500); },
         "broken bitmap in the metafile"},
        {"a header of another size", [](auto &b) { Put<uint16_t>(b, 22 + 2, 12); },
         "broken metafile"},
        {"no units per inch", [](auto &b) { Put<uint16_t>(b, 14, 0); }, "broken metafile"},
        {"an empty box", [](auto &b) { Put<int16_t>(b, 10, 0); },
         "the metafile has no picture size"},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Name);
        std::vector<uint8_t> bytes = whole;
        c.Break(bytes);
        SaveMetafileBytes(File("broken.wmf"), bytes);
        TPixelBuffer picture;
        try {
            LoadPictureFile(File("broken.wmf"), picture);
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error &failure) {
            EXPECT_STREQ(failure.what(), c.Reason);
        }
    }

    // A font record that ends before the font's name.
    {
        TWmfWriter wmf(File("shortfont.wmf"), 48, 48, 1440);
        auto *font = static_cast<char *>(calloc(1, 24));
        const uint32_t words = 12;
        const uint16_t function = 0x02FB;
        std::memcpy(font, &words, 4);
        std::memcpy(font + 4, &function, 2);
        wmf.Add(font);
        wmf.Finish();
    }
    TPixelBuffer picture;
    EXPECT_THROW(LoadPictureFile(File("shortfont.wmf"), picture), std::runtime_error);

    // A plain file that never sets its window has no size.
    {
        TWmfWriter wmf(File("nowindow.wmf"), 0, 0, 0);
        RedFill(wmf);
        wmf.Add(U_WMRRECTANGLE_set(U_RECT16{0, 0, 10, 10}));
        wmf.Finish();
    }
    TChipTable table(Map, Host);
    InitTable(table);
    EXPECT_FALSE(table.AddMapChip(File("nowindow.wmf")));
    EXPECT_EQ(Seam->MessageTexts(),
              std::vector<std::string>{
                  "Cannot open the nowindow.wmf.(the metafile has no picture size)"});
}
