// EMF parts images written with libuemf's writers, one family of records per case, and
// the pictures they must give, pixel by pixel; then every way a file can be broken.
#include "MetafileTestFiles.h"
#include "PartsTestSupport.h"

#include "editor/parts/PictureLoader.h"

#include <QFont>
#include <QFontMetrics>
#include <stdexcept>

namespace
{

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kBlack = 0x000000;

U_RECTL Rect(int L, int T, int R, int B)
{
    return U_RECTL{L, T, R, B};
}

bool In(int X, int Y, int L, int T, int R, int B)
{
    return X >= L && X < R && Y >= T && Y < B;
}

class EnhancedMetafileTest : public TPartsFixture
{
protected:
    std::string File(const std::string &Name) const { return (Root / Name).string(); }

    TPixelBuffer Load(const std::string &Path)
    {
        TPixelBuffer picture;
        LoadPictureFile(Path, picture);
        return picture;
    }

    // A red brush and no pen, the drawing state most cases start from.
    static void RedFill(TEmfWriter &Emf)
    {
        Emf.Select(Emf.Brush(U_BS_SOLID, U_RGB(255, 0, 0)));
        Emf.Select(U_NULL_PEN);
    }
};

} // namespace

TEST_F(EnhancedMetafileTest, TheFrameGivesTheSizeAndUnpaintedPixelsAreWhite)
{
    TEmfWriter emf(File("empty.emf"), 48, 96);
    emf.Finish();
    const TPixelBuffer picture = Load(File("empty.emf"));
    EXPECT_EQ(picture.BitsPerPixel(), 32);
    EXPECT_TRUE(ShowsPicture(picture, 48, 96, [](int, int) { return kWhite; }));
}

TEST_F(EnhancedMetafileTest, MappingModesWindowsViewportsAndWorldTransformsPlaceTheShapes)
{
    // Every file draws the same red box at pixels [8, 24) x [8, 16) by other means.
    const std::vector<std::function<void(TEmfWriter &)>> placements = {
        [](TEmfWriter &e) { e.Add(U_EMRRECTANGLE_set(Rect(8, 8, 24, 16))); },
        [](TEmfWriter &e) {
            e.Add(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
            e.Add(U_EMRSETWINDOWEXTEX_set(sizel_set(480, 240)));
            e.Add(U_EMRSETVIEWPORTEXTEX_set(sizel_set(48, 24)));
            e.Add(U_EMRRECTANGLE_set(Rect(80, 80, 240, 160)));
        },
        [](TEmfWriter &e) {
            e.Add(U_EMRSETWINDOWORGEX_set(point32_set(100, 100)));
            e.Add(U_EMRSETVIEWPORTORGEX_set(point32_set(4, 4)));
            e.Add(U_EMRRECTANGLE_set(Rect(104, 104, 120, 112)));
        },
        [](TEmfWriter &e) { // twips: 15 to the pixel, y upwards
            e.Add(U_EMRSETMAPMODE_set(U_MM_TWIPS));
            e.Add(U_EMRRECTANGLE_set(Rect(120, -120, 360, -240)));
        },
        [](TEmfWriter &e) {
            e.Add(U_EMRSETMAPMODE_set(U_MM_ISOTROPIC));
            e.Add(U_EMRSETWINDOWEXTEX_set(sizel_set(10, 10)));
            e.Add(U_EMRSETVIEWPORTEXTEX_set(sizel_set(40, 20))); // the smaller scale wins
            e.Add(U_EMRRECTANGLE_set(Rect(4, 4, 12, 8)));
        },
        [](TEmfWriter &e) {
            e.Add(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
            e.Add(U_EMRSETVIEWPORTEXTEX_set(sizel_set(1, 1)));
            e.Add(U_EMRSCALEVIEWPORTEXTEX_set(4, 1, 8, 1));
            e.Add(U_EMRSCALEWINDOWEXTEX_set(2, 1, 4, 1));
            e.Add(U_EMRRECTANGLE_set(Rect(4, 4, 12, 8)));
        },
        [](TEmfWriter &e) {
            e.Add(U_EMRSETWORLDTRANSFORM_set(xform_set(2, 0, 0, 2, 4, 4)));
            e.Add(U_EMRRECTANGLE_set(Rect(2, 2, 10, 6)));
        },
        [](TEmfWriter &e) {
            e.Add(U_EMRSETWORLDTRANSFORM_set(xform_set(2, 0, 0, 2, 0, 0)));
            e.Add(U_EMRMODIFYWORLDTRANSFORM_set(xform_set(1, 0, 0, 1, 2, 2), U_MWT_LEFTMULTIPLY));
            e.Add(U_EMRRECTANGLE_set(Rect(2, 2, 10, 6)));
        },
        [](TEmfWriter &e) { // a saved state comes back whole
            e.Add(U_EMRSAVEDC_set());
            e.Add(U_EMRSETWORLDTRANSFORM_set(xform_set(9, 0, 0, 9, 0, 0)));
            e.Add(U_EMRSETMAPMODE_set(U_MM_TWIPS));
            e.Select(U_BLACK_BRUSH);
            e.Add(U_EMRRESTOREDC_set(-1));
            e.Add(U_EMRRECTANGLE_set(Rect(8, 8, 24, 16)));
        },
    };
    for (size_t i = 0; i < placements.size(); ++i) {
        SCOPED_TRACE(i);
        const std::string path = File("map" + std::to_string(i) + ".emf");
        {
            TEmfWriter emf(path, 48, 48);
            RedFill(emf);
            placements[i](emf);
            emf.Finish();
        }
        EXPECT_TRUE(ShowsPicture(Load(path), 48, 48, [](int x, int y) {
            return In(x, y, 8, 8, 24, 16) ? kRed : kWhite;
        }));
    }
}

TEST_F(EnhancedMetafileTest, PensHatchedBrushesBackgroundsAndStockObjects)
{
    {
        TEmfWriter emf(File("objects.emf"), 48, 48);
        // A red box with a black one-pixel frame on its own outer pixels.
        emf.Select(emf.Brush(U_BS_SOLID, U_RGB(255, 0, 0)));
        emf.Select(emf.Pen(U_PS_SOLID, 1, U_RGB(0, 0, 0)));
        emf.Add(U_EMRRECTANGLE_set(Rect(8, 8, 24, 16)));
        // Stock objects: a black brush without a pen.
        emf.Select(U_BLACK_BRUSH);
        emf.Select(U_NULL_PEN);
        emf.Add(U_EMRRECTANGLE_set(Rect(32, 8, 40, 16)));
        // A blue cross hatch over the green background colour, then over nothing.
        const uint32_t hatch = emf.Brush(U_BS_HATCHED, U_RGB(0, 0, 255), U_HS_CROSS);
        emf.Select(hatch);
        emf.Add(U_EMRSETBKCOLOR_set(U_RGB(0, 255, 0)));
        emf.Add(U_EMRRECTANGLE_set(Rect(0, 24, 16, 40)));
        emf.Add(U_EMRSETBKMODE_set(U_TRANSPARENT));
        emf.Add(U_EMRRECTANGLE_set(Rect(24, 24, 40, 40)));
        // A deleted object that is selected again changes nothing.
        emf.Select(U_WHITE_BRUSH);
        emf.Delete(hatch);
        emf.Add(U_EMRSELECTOBJECT_set(hatch));
        emf.Add(U_EMRRECTANGLE_set(Rect(40, 40, 48, 48)));
        emf.Finish();
    }
    EXPECT_TRUE(ShowsPicture(Load(File("objects.emf")), 48, 48, [](int x, int y) {
        if (In(x, y, 8, 8, 24, 16))
            return x == 8 || x == 23 || y == 8 || y == 15 ? kBlack : kRed;
        if (In(x, y, 32, 8, 40, 16))
            return kBlack;
        const bool line = x % 8 == 7 || y % 8 == 7;
        if (In(x, y, 0, 24, 16, 40))
            return line ? kBlue : kGreen;
        if (In(x, y, 24, 24, 40, 40))
            return line ? kBlue : kWhite;
        return kWhite;
    }));
}

TEST_F(EnhancedMetafileTest, LinesPolylinesPolygonsAndPolyPolygonsIn16And32Bits)
{
    {
        TEmfWriter emf(File("lines.emf"), 48, 48);
        emf.Select(emf.Pen(U_PS_SOLID, 1, U_RGB(0, 0, 0)));
        emf.Add(U_EMRMOVETOEX_set(point32_set(2, 2)));
        emf.Add(U_EMRLINETO_set(point32_set(40, 2)));
        const U_POINT16 column[] = {{2, 6}, {2, 40}};
        emf.Add(U_EMRPOLYLINE16_set(Rect(0, 0, 0, 0), 2, column));
        const U_POINTL step[] = {{44, 6}, {44, 40}};
        emf.Add(U_EMRPOLYLINETO_set(Rect(0, 0, 0, 0), 2, step)); // from (40, 2)
        RedFill(emf);
        const U_POINTL box[] = {{8, 8}, {24, 8}, {24, 16}, {8, 16}};
        emf.Add(U_EMRPOLYGON_set(Rect(0, 0, 0, 0), 4, box));
        emf.Select(emf.Brush(U_BS_SOLID, U_RGB(0, 255, 0)));
        const U_POINT16 squares[] = {{8, 24},  {16, 24}, {16, 32}, {8, 32},
                                     {24, 24}, {32, 24}, {32, 32}, {24, 32}};
        const uint32_t counts[] = {4, 4};
        emf.Add(U_EMRPOLYPOLYGON16_set(Rect(0, 0, 0, 0), 2, counts, 8, squares));
        emf.Finish();
    }
    EXPECT_TRUE(ShowsPicture(
        Load(File("lines.emf")), 48, 48,
        [](int x, int y) {
            if ((y == 2 && x >= 2 && x <= 40) || (x == 2 && y >= 6 && y <= 40) ||
                (x == 44 && y >= 6 && y <= 40))
                return kBlack;
            if (x > 40 && x < 44 && y > 2 && y < 6) // the step from (40, 2) to (44, 6)
                return (x - 40 == y - 2) ? kBlack : kWhite;
            if (In(x, y, 8, 8, 24, 16))
                return kRed;
            if (In(x, y, 8, 24, 16, 32) || In(x, y, 24, 24, 32, 32))
                return kGreen;
            return kWhite;
        },
        12));

    // The fill mode decides about a square inside a square drawn the same way round.
    for (const uint32_t mode : {U_ALTERNATE, U_WINDING}) {
        SCOPED_TRACE(mode);
        {
            TEmfWriter emf(File("fill.emf"), 48, 48);
            RedFill(emf);
            emf.Add(U_EMRSETPOLYFILLMODE_set(mode));
            const U_POINT16 nested[] = {{4, 4},   {44, 4},  {44, 44}, {4, 44},
                                        {14, 14}, {34, 14}, {34, 34}, {14, 34}};
            const uint32_t counts[] = {4, 4};
            emf.Add(U_EMRPOLYPOLYGON16_set(Rect(0, 0, 0, 0), 2, counts, 8, nested));
            emf.Finish();
        }
        EXPECT_TRUE(ShowsPicture(Load(File("fill.emf")), 48, 48, [mode](int x, int y) {
            if (In(x, y, 14, 14, 34, 34))
                return mode == U_WINDING ? kRed : kWhite;
            return In(x, y, 4, 4, 44, 44) ? kRed : kWhite;
        }));
    }
}

TEST_F(EnhancedMetafileTest, RectanglesRoundedRectanglesEllipsesArcsChordsAndPies)
{
    {
        TEmfWriter emf(File("shapes.emf"), 96, 48);
        RedFill(emf);
        emf.Add(U_EMRELLIPSE_set(Rect(0, 0, 32, 32)));
        // A quarter: counter-clockwise from three o'clock to twelve.
        emf.Add(U_EMRPIE_set(Rect(32, 0, 64, 32), point32_set(64, 16), point32_set(48, 0)));
        emf.Add(U_EMRCHORD_set(Rect(64, 0, 96, 32), point32_set(96, 16), point32_set(80, 0)));
        emf.Add(U_EMRROUNDRECT_set(Rect(0, 36, 32, 48), sizel_set(8, 8)));
        emf.Select(emf.Pen(U_PS_SOLID, 1, U_RGB(0, 0, 255)));
        emf.Add(U_EMRARC_set(Rect(40, 34, 56, 50), point32_set(56, 42), point32_set(48, 34)));
        emf.Finish();
    }
    const auto inCircle = [](int x, int y, double cx, double cy, double r) {
        const double dx = x + 0.5 - cx;
        const double dy = y + 0.5 - cy;
        return dx * dx + dy * dy <= r * r;
    };
    const TPixelBuffer picture = Load(File("shapes.emf"));
    EXPECT_TRUE(ShowsPicture(
        picture, 96, 48,
        [&](int x, int y) {
            if (x < 32 && y < 32)
                return inCircle(x, y, 16, 16, 16) ? kRed : kWhite;
            if (x >= 32 && x < 64 && y < 32)
                return inCircle(x, y, 48, 16, 16) && x >= 48 && y < 16 ? kRed : kWhite;
            if (x >= 64 && y < 32) // above the line from (96, 16) to (80, 0)
                return inCircle(x, y, 80, 16, 16) && (y + 0.5) < (x + 0.5) - 80 ? kRed : kWhite;
            if (y >= 36 && x < 32) {
                const bool corner = (x < 4 || x >= 28) && (y < 40 || y >= 44);
                return corner ? picture.Pixel(x, y) : kRed; // the corners' curves
            }
            return picture.Pixel(x, y) == kBlue ? kBlue : kWhite; // the arc, checked below
        },
        140));
    // The arc is the upper-right quarter of its circle and nothing else.
    int arcPixels = 0;
    for (int y = 32; y < 48; ++y)
        for (int x = 36; x < 60; ++x)
            if (picture.Pixel(x, y) == kBlue) {
                ++arcPixels;
                EXPECT_TRUE(x >= 47 && y <= 43) << x << "," << y;
            }
    EXPECT_GE(arcPixels, 8);
}

TEST_F(EnhancedMetafileTest, PathsAreFilledStrokedAndClipTheDrawing)
{
    {
        TEmfWriter emf(File("paths.emf"), 48, 48);
        RedFill(emf);
        emf.Add(U_EMRBEGINPATH_set());
        emf.Add(U_EMRMOVETOEX_set(point32_set(4, 4)));
        emf.Add(U_EMRLINETO_set(point32_set(20, 4)));
        emf.Add(U_EMRLINETO_set(point32_set(20, 12)));
        emf.Add(U_EMRLINETO_set(point32_set(4, 12)));
        emf.Add(U_EMRCLOSEFIGURE_set());
        emf.Add(U_EMRENDPATH_set());
        emf.Add(U_EMRFILLPATH_set(Rect(0, 0, 0, 0)));
        // A stroked path, and a path that becomes the clipping region.
        emf.Select(emf.Pen(U_PS_SOLID, 1, U_RGB(0, 0, 255)));
        emf.Add(U_EMRBEGINPATH_set());
        emf.Add(U_EMRMOVETOEX_set(point32_set(28, 6)));
        emf.Add(U_EMRLINETO_set(point32_set(44, 6)));
        emf.Add(U_EMRENDPATH_set());
        emf.Add(U_EMRSTROKEPATH_set(Rect(0, 0, 0, 0)));
        emf.Add(U_EMRBEGINPATH_set());
        emf.Add(U_EMRRECTANGLE_set(Rect(8, 24, 40, 40)));
        emf.Add(U_EMRENDPATH_set());
        emf.Add(U_EMRSELECTCLIPPATH_set(U_RGN_COPY));
        emf.Select(U_NULL_PEN);
        emf.Select(emf.Brush(U_BS_SOLID, U_RGB(0, 255, 0)));
        emf.Add(U_EMRRECTANGLE_set(Rect(0, 20, 48, 48)));
        // A triangle added to the clipping: the pixels whose centres it covers.
        emf.Add(U_EMRBEGINPATH_set());
        const U_POINT16 triangle[] = {{0, 40}, {16, 40}, {0, 48}};
        emf.Add(U_EMRPOLYGON16_set(Rect(0, 0, 0, 0), 3, triangle));
        emf.Add(U_EMRENDPATH_set());
        emf.Add(U_EMRSELECTCLIPPATH_set(U_RGN_OR));
        emf.Select(U_BLACK_BRUSH);
        emf.Add(U_EMRRECTANGLE_set(Rect(0, 40, 48, 48)));
        emf.Finish();
    }
    EXPECT_TRUE(ShowsPicture(
        Load(File("paths.emf")), 48, 48,
        [](int x, int y) {
            if (In(x, y, 4, 4, 20, 12))
                return kRed;
            if (y == 6 && x >= 28 && x <= 44)
                return kBlue;
            if (y >= 40)
                return (x + 0.5) / 16 + (y + 0.5 - 40) / 8 < 1 ? kBlack : kWhite;
            return In(x, y, 8, 24, 40, 40) ? kGreen : kWhite;
        },
        4));
}

TEST_F(EnhancedMetafileTest, BitmapsOfEveryDepthAreStretchedBlittedAndSetToTheDevice)
{
    for (const int bits : {1, 4, 8, 24, 32}) {
        SCOPED_TRACE(bits);
        const std::string path = File("dib" + std::to_string(bits) + ".emf");
        {
            TEmfWriter emf(path, 48, 48);
            TTestDib dib = MakeTestDib(bits);
            const auto size = static_cast<uint32_t>(dib.Bits.size());
            const U_XFORM none = xform_set(1, 0, 0, 1, 0, 0);
            // Four times as large at (8, 8); one to one at (32, 8) twice; a pattern blit.
            emf.Add(U_EMRSTRETCHDIBITS_set(Rect(0, 0, 0, 0), point32_set(8, 8), point32_set(16, 8),
                                           point32_set(0, 0), point32_set(4, 2), U_DIB_RGB_COLORS,
                                           U_SRCCOPY, dib.Header(), size, dib.Bits.data()));
            emf.Add(U_EMRBITBLT_set(Rect(0, 0, 0, 0), point32_set(32, 8), point32_set(4, 2),
                                    point32_set(0, 0), none, U_RGB(0, 0, 0), U_DIB_RGB_COLORS,
                                    U_SRCCOPY, dib.Header(), size, dib.Bits.data()));
            emf.Add(U_EMRSETDIBITSTODEVICE_set(
                Rect(0, 0, 0, 0), point32_set(32, 16), point32_set(0, 0), point32_set(4, 2),
                U_DIB_RGB_COLORS, 0, 2, dib.Header(), size, dib.Bits.data()));
            emf.Add(U_EMRSTRETCHBLT_set(Rect(0, 0, 0, 0), point32_set(8, 24), point32_set(8, 8),
                                        point32_set(2, 0), point32_set(2, 2), none, U_RGB(0, 0, 0),
                                        U_DIB_RGB_COLORS, U_SRCCOPY, dib.Header(), size,
                                        dib.Bits.data()));
            emf.Select(emf.Brush(U_BS_SOLID, U_RGB(0, 0, 255)));
            emf.Add(U_EMRBITBLT_set(Rect(0, 0, 0, 0), point32_set(32, 32), point32_set(8, 8),
                                    point32_set(0, 0), none, U_RGB(0, 0, 0), U_DIB_RGB_COLORS,
                                    U_PATCOPY, nullptr, 0, nullptr));
            emf.Finish();
        }
        EXPECT_TRUE(ShowsPicture(Load(path), 48, 48, [bits](int x, int y) {
            if (In(x, y, 8, 8, 24, 16))
                return TestDibPixel(bits, (x - 8) / 4, (y - 8) / 4);
            if (In(x, y, 32, 8, 36, 10))
                return TestDibPixel(bits, x - 32, y - 8);
            if (In(x, y, 32, 16, 36, 18))
                return TestDibPixel(bits, x - 32, y - 16);
            if (In(x, y, 8, 24, 16, 32)) // the right half, twice as large
                return TestDibPixel(bits, 2 + (x - 8) / 4, (y - 24) / 4);
            return In(x, y, 32, 32, 40, 40) ? kBlue : kWhite;
        }));
    }
}

TEST_F(EnhancedMetafileTest, TextIsWrittenInTheSystemsFontsWithItsColours)
{
    const std::u16string text = u"Hi";
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(24);
    const QFontMetrics metrics(font);
    {
        TEmfWriter emf(File("text.emf"), 96, 48);
        emf.Select(emf.Font(-24, "DejaVu Sans"));
        emf.Add(U_EMRSETTEXTCOLOR_set(U_RGB(0, 0, 255)));
        emf.Add(U_EMRSETBKCOLOR_set(U_RGB(255, 255, 0)));
        uint32_t advances[2] = {static_cast<uint32_t>(metrics.horizontalAdvance(QChar('H'))),
                                static_cast<uint32_t>(metrics.horizontalAdvance(QChar('i')))};
        char *record = emrtext_set(point32_set(8, 8), 2, 2, const_cast<char16_t *>(text.data()),
                                   U_ETO_NONE, Rect(0, 0, 0, 0), advances);
        emf.Add(U_EMREXTTEXTOUTW_set(Rect(0, 0, 0, 0), U_GM_COMPATIBLE, 1, 1,
                                     reinterpret_cast<PU_EMRTEXT>(record)));
        free(record);
        emf.Finish();
    }
    const TPixelBuffer picture = Load(File("text.emf"));
    // Blue ink inside the text's box, over the yellow background of an opaque text.
    const QRect ink =
        metrics.boundingRect(QStringLiteral("Hi")).translated(8, 8 + metrics.ascent());
    const QRect cell(8, 8, metrics.horizontalAdvance(QStringLiteral("Hi")), metrics.height());
    int blue = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 96; ++x) {
            const uint32_t pixel = picture.Pixel(x, y);
            if (!cell.adjusted(-1, -1, 1, 1).contains(x, y)) {
                EXPECT_EQ(pixel, kWhite) << x << "," << y;
                continue;
            }
            if (pixel == kBlue) {
                ++blue;
                EXPECT_TRUE(ink.adjusted(-2, -2, 2, 2).contains(x, y)) << x << "," << y;
            }
        }
    EXPECT_GT(blue, 40);
    EXPECT_EQ(picture.Pixel(cell.right() - 1, cell.top() + 1), 0xFFFF00u);
}

TEST_F(EnhancedMetafileTest, ClippingRectanglesAndRegions)
{
    {
        TEmfWriter emf(File("clip.emf"), 48, 48);
        RedFill(emf);
        emf.Add(U_EMRINTERSECTCLIPRECT_set(Rect(8, 8, 24, 16)));
        emf.Add(U_EMRRECTANGLE_set(Rect(0, 0, 48, 48)));
        // Back to no clipping: a region record without a region, which libuemf's writer
        // does not make.
        auto *reset = static_cast<uint32_t *>(calloc(4, 4));
        reset[0] = U_EMR_EXTSELECTCLIPRGN;
        reset[1] = 16;
        reset[3] = U_RGN_COPY;
        emf.Add(reinterpret_cast<char *>(reset));
        emf.Add(U_EMREXCLUDECLIPRECT_set(Rect(0, 0, 24, 48)));
        emf.Select(emf.Brush(U_BS_SOLID, U_RGB(0, 255, 0)));
        emf.Add(U_EMRRECTANGLE_set(Rect(0, 40, 48, 48)));
        U_RECTL area = Rect(30, 20, 40, 30);
        PU_RGNDATA region = rgndata_set(rgndataheader_set(1, area), &area);
        emf.Add(U_EMREXTSELECTCLIPRGN_set(U_RGN_COPY, region));
        free(region);
        emf.Select(emf.Brush(U_BS_SOLID, U_RGB(0, 0, 255)));
        emf.Add(U_EMRRECTANGLE_set(Rect(0, 0, 48, 40)));
        // A region far wider than any picture clips to its rows.
        U_RECTL wide = Rect(-2000000000, 0, 2000000000, 4);
        region = rgndata_set(rgndataheader_set(1, wide), &wide);
        emf.Add(U_EMREXTSELECTCLIPRGN_set(U_RGN_COPY, region));
        free(region);
        emf.Select(U_BLACK_BRUSH);
        emf.Add(U_EMRRECTANGLE_set(Rect(0, 0, 48, 48)));
        emf.Finish();
    }
    EXPECT_TRUE(ShowsPicture(Load(File("clip.emf")), 48, 48, [](int x, int y) {
        if (y < 4)
            return kBlack;
        if (In(x, y, 8, 8, 24, 16))
            return kRed;
        if (In(x, y, 24, 40, 48, 48))
            return kGreen;
        return In(x, y, 30, 20, 40, 30) ? kBlue : kWhite;
    }));
}

TEST_F(EnhancedMetafileTest, RasterOperationsOfThePen)
{
    {
        TEmfWriter emf(File("rop.emf"), 48, 48);
        RedFill(emf);
        emf.Add(U_EMRRECTANGLE_set(Rect(0, 0, 48, 48)));
        emf.Select(U_WHITE_BRUSH);
        emf.Add(U_EMRSETROP2_set(U_R2_XORPEN)); // red ^ white = cyan
        emf.Add(U_EMRRECTANGLE_set(Rect(0, 0, 16, 16)));
        emf.Add(U_EMRSETROP2_set(U_R2_NOP));
        emf.Add(U_EMRRECTANGLE_set(Rect(16, 0, 32, 16)));
        emf.Add(U_EMRSETROP2_set(U_R2_NOT));
        emf.Add(U_EMRRECTANGLE_set(Rect(32, 0, 48, 16)));
        emf.Add(U_EMRSETROP2_set(U_R2_BLACK));
        emf.Add(U_EMRRECTANGLE_set(Rect(0, 16, 16, 32)));
        emf.Add(U_EMRSETROP2_set(U_R2_MASKPEN)); // red & white = red
        emf.Add(U_EMRRECTANGLE_set(Rect(16, 16, 32, 32)));
        emf.Add(U_EMRSETROP2_set(U_R2_COPYPEN));
        emf.Add(U_EMRRECTANGLE_set(Rect(32, 16, 48, 32)));
        emf.Finish();
    }
    EXPECT_TRUE(ShowsPicture(Load(File("rop.emf")), 48, 48, [](int x, int y) {
        if (y < 16)
            return x < 16 || x >= 32 ? 0x00FFFFu : kRed;
        if (y < 32)
            return x < 16 ? kBlack : (x < 32 ? kRed : kWhite);
        return kRed;
    }));
}

TEST_F(EnhancedMetafileTest, CoordinatesAndPensFarBeyondThePictureStillDraw)
{
    {
        TEmfWriter emf(File("far.emf"), 48, 48);
        emf.Select(emf.Pen(U_PS_DASHDOT, 0, U_RGB(255, 0, 0)));
        const U_POINTL far[] = {{-2000000000, 5}, {2000000000, 6}, {-2000000000, 2000000000}};
        emf.Add(U_EMRPOLYLINE_set(Rect(0, 0, 0, 0), 3, far));
        // A line one unit wide in units of 10^8 pixels covers the picture.
        emf.Add(U_EMRSETWORLDTRANSFORM_set(xform_set(1e8f, 0, 0, 1e8f, 0, 24)));
        emf.Select(emf.Pen(U_PS_SOLID, 1, U_RGB(0, 0, 0)));
        emf.Add(U_EMRMOVETOEX_set(point32_set(-1, 0)));
        emf.Add(U_EMRLINETO_set(point32_set(1, 0)));
        emf.Finish();
    }
    EXPECT_TRUE(ShowsPicture(Load(File("far.emf")), 48, 48, [](int, int) { return kBlack; }));
}

TEST_F(EnhancedMetafileTest, RecordsThatAreNotDrawnAreSkipped)
{
    {
        TEmfWriter emf(File("skipped.emf"), 48, 48);
        emf.Add(U_EMRCOMMENT_set(8, "EMF+\0\0\0"));
        RedFill(emf);
        emf.Add(U_EMRSETICMMODE_set(2));
        emf.Add(U_EMRANGLEARC_set(point32_set(24, 24), 10, 0, 90));
        // A record type no writer knows, sixteen bytes long.
        char *unknown = static_cast<char *>(calloc(1, 16));
        const uint32_t head[2] = {200, 16};
        std::memcpy(unknown, head, sizeof head);
        emf.Add(unknown);
        emf.Add(U_EMRRECTANGLE_set(Rect(8, 8, 24, 16)));
        emf.Finish();
    }
    EXPECT_TRUE(ShowsPicture(Load(File("skipped.emf")), 48, 48,
                             [](int x, int y) { return In(x, y, 8, 8, 24, 16) ? kRed : kWhite; }));
}

namespace
{

// The records of an enhanced metafile: (offset, type) in file order.
std::vector<std::pair<size_t, uint32_t>> Records(const std::vector<uint8_t> &Bytes)
{
    std::vector<std::pair<size_t, uint32_t>> records;
    for (size_t at = 0; at + 8 <= Bytes.size();) {
        uint32_t type = 0;
        uint32_t size = 0;
        std::memcpy(&type, &Bytes[at], 4);
        std::memcpy(&size, &Bytes[at + 4], 4);
        records.emplace_back(at, type);
        if (size == 0)
            break;
        at += size;
    }
    return records;
}

size_t RecordAt(const std::vector<uint8_t> &Bytes, uint32_t Type)
{
    for (const auto &[at, type] : Records(Bytes))
        if (type == Type)
            return at;
    ADD_FAILURE() << "no record " << Type;
    return 0;
}

void Put32(std::vector<uint8_t> &Bytes, size_t At, uint32_t Value)
{
    std::memcpy(&Bytes[At], &Value, 4);
}

} // namespace

TEST_F(EnhancedMetafileTest, BrokenFilesAreRefusedWithTheLoadersMessage)
{
    {
        TEmfWriter emf(File("whole.emf"), 48, 48);
        RedFill(emf);
        const U_POINT16 triangle[] = {{0, 0}, {40, 0}, {0, 40}};
        emf.Add(U_EMRPOLYGON16_set(Rect(0, 0, 0, 0), 3, triangle));
        const U_POINT16 squares[] = {{8, 24}, {16, 24}, {16, 32}, {24, 24}, {32, 24}, {32, 32}};
        const uint32_t counts[] = {3, 3};
        emf.Add(U_EMRPOLYPOLYGON16_set(Rect(0, 0, 0, 0), 2, counts, 6, squares));
        const std::u16string text = u"Hi";
        uint32_t advances[2] = {10, 10};
        char *emrtext = emrtext_set(point32_set(8, 8), 2, 2, const_cast<char16_t *>(text.data()),
                                    U_ETO_NONE, Rect(0, 0, 0, 0), advances);
        emf.Add(U_EMREXTTEXTOUTW_set(Rect(0, 0, 0, 0), U_GM_COMPATIBLE, 1, 1,
                                     reinterpret_cast<PU_EMRTEXT>(emrtext)));
        free(emrtext);
        TTestDib dib = MakeTestDib(8);
        emf.Add(U_EMRSTRETCHDIBITS_set(Rect(0, 0, 0, 0), point32_set(8, 8), point32_set(16, 8),
                                       point32_set(0, 0), point32_set(4, 2), U_DIB_RGB_COLORS,
                                       U_SRCCOPY, dib.Header(),
                                       static_cast<uint32_t>(dib.Bits.size()), dib.Bits.data()));
        emf.Finish();
    }
    const std::vector<uint8_t> whole = LoadMetafileBytes(File("whole.emf"));
    ASSERT_NO_THROW(Load(File("whole.emf")));
    const size_t polygon = RecordAt(whole, U_EMR_POLYGON16);
    const size_t polyPolygon = RecordAt(whole, U_EMR_POLYPOLYGON16);
    const size_t text = RecordAt(whole, U_EMR_EXTTEXTOUTW);
    const size_t bitmap = RecordAt(whole, U_EMR_STRETCHDIBITS);
    const size_t textAt = text + offsetof(U_EMREXTTEXTOUTW, emrtext);
    const size_t dibHeader = bitmap + sizeof(U_EMRSTRETCHDIBITS);

    struct TCase {
        const char *Name;
        std::function<void(std::vector<uint8_t> &)> Break;
        const char *Reason;
    };
    const std::vector<TCase> cases = {
        {"cut inside a record", [&](auto &b) { b.resize(polygon + 12); }, "broken metafile"},
        {"cut inside the header", [](auto &b) { b.resize(60); }, "broken metafile"},
        {"a size past the end", [&](auto &b) { Put32(b, polygon + 4, 0x10000); },
         "broken metafile"},
        {"a size below eight", [&](auto &b) { Put32(b, polygon + 4, 4); }, "broken metafile"},
        {"a size not in words", [&](auto &b) { Put32(b, polygon + 4, 22); }, "broken metafile"},
        {"points past the record",
         [&](auto &b) { Put32(b, polygon + offsetof(U_EMRPOLYGON16, cpts), 1000); },
         "broken metafile"},
        {"polygon counts past the points",
         [&](auto &b) { Put32(b, polyPolygon + offsetof(U_EMRPOLYPOLYGON16, aPolyCounts), 5); },
         "broken metafile"},
        {"polygon counts past the record",
         [&](auto &b) { Put32(b, polyPolygon + offsetof(U_EMRPOLYPOLYGON16, nPolys), 0x40000001); },
         "broken metafile"},
        {"characters past the record",
         [&](auto &b) { Put32(b, textAt + offsetof(U_EMRTEXT, nChars), 0x7FFFFFF0); },
         "broken metafile"},
        {"advances past the record",
         [&](auto &b) { Put32(b, textAt + sizeof(U_EMRTEXT) + sizeof(U_RECTL), 0xFFFFFF00); },
         "broken metafile"},
        {"bitmap rows past their bytes", [&](auto &b) { Put32(b, dibHeader + 8, 400); },
         "broken bitmap in the metafile"},
        {"bitmap past the record",
         [&](auto &b) { Put32(b, bitmap + offsetof(U_EMRSTRETCHDIBITS, cbBitsSrc), 0x1000); },
         "broken metafile"},
        {"colours past the record", [&](auto &b) { Put32(b, dibHeader + 32, 200); },
         "broken metafile"},
        {"an empty frame", [](auto &b) { Put32(b, 8 + 16 + 8, 0); },
         "the metafile has no picture size"},
        {"a frame too large", [](auto &b) { Put32(b, 8 + 16 + 8, 0x7FFFFFFF); },
         "the metafile picture is too large"},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Name);
        std::vector<uint8_t> bytes = whole;
        c.Break(bytes);
        SaveMetafileBytes(File("broken.emf"), bytes);
        TPixelBuffer picture;
        try {
            LoadPictureFile(File("broken.emf"), picture);
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error &failure) {
            EXPECT_STREQ(failure.what(), c.Reason);
        }
    }

    // The parts window shows the loader's message and keeps the layer as it was.
    TChipTable table(Map, Host);
    InitTable(table);
    EXPECT_FALSE(table.AddMapChip(File("broken.emf")));
    ASSERT_EQ(Seam->Messages.size(), 1u);
    EXPECT_EQ(Seam->Messages[0].Text,
              "Cannot open the broken.emf.(the metafile picture is too large)");
    EXPECT_EQ(table.GetMapChipCount(), 0);
}
