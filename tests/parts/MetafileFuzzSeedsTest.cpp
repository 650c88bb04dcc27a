// The seed corpus of the metafile fuzz target: one EMF, one placeable and one plain WMF,
// each with records of every family.
#include "MetafileTestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace
{

void WriteEmfSeed(const std::string &Path)
{
    TEmfWriter emf(Path, 48, 48);
    emf.Add(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    emf.Add(U_EMRSETWINDOWEXTEX_set(sizel_set(96, 96)));
    emf.Add(U_EMRSETVIEWPORTEXTEX_set(sizel_set(48, 48)));
    emf.Add(U_EMRSETWORLDTRANSFORM_set(xform_set(1, 0.5f, 0, 1, 2, 2)));
    emf.Add(U_EMRSAVEDC_set());
    emf.Select(emf.Brush(U_BS_HATCHED, U_RGB(0, 0, 255), U_HS_DIAGCROSS));
    emf.Select(emf.Pen(U_PS_DASH, 0, U_RGB(255, 0, 0)));
    emf.Add(U_EMRELLIPSE_set(U_RECTL{4, 4, 40, 40}));
    emf.Add(U_EMRPIE_set(U_RECTL{0, 0, 60, 60}, point32_set(60, 30), point32_set(30, 0)));
    emf.Add(U_EMRRESTOREDC_set(-1));
    const U_POINT16 points[] = {{0, 0}, {50, 10}, {20, 60}, {70, 70}};
    const uint32_t counts[] = {2, 2};
    emf.Add(U_EMRPOLYBEZIER16_set(U_RECTL{}, 4, points));
    emf.Add(U_EMRPOLYPOLYLINE16_set(U_RECTL{}, 2, counts, 4, points));
    emf.Add(U_EMRBEGINPATH_set());
    emf.Add(U_EMRPOLYGON16_set(U_RECTL{}, 3, points));
    emf.Add(U_EMRENDPATH_set());
    emf.Add(U_EMRSTROKEANDFILLPATH_set(U_RECTL{}));
    U_RECTL area{10, 10, 30, 30};
    PU_RGNDATA region = rgndata_set(rgndataheader_set(1, area), &area);
    emf.Add(U_EMREXTSELECTCLIPRGN_set(U_RGN_AND, region));
    free(region);
    TTestDib dib = MakeTestDib(8);
    emf.Add(U_EMRSTRETCHDIBITS_set(U_RECTL{}, point32_set(8, 8), point32_set(16, 8),
                                   point32_set(0, 0), point32_set(4, 2), U_DIB_RGB_COLORS,
                                   U_SRCCOPY, dib.Header(), static_cast<uint32_t>(dib.Bits.size()),
                                   dib.Bits.data()));
    emf.Select(emf.Font(-12, "DejaVu Sans"));
    const std::u16string text = u"Ab";
    uint32_t advances[2] = {8, 8};
    char *record = emrtext_set(point32_set(4, 30), 2, 2, const_cast<char16_t *>(text.data()),
                               U_ETO_OPAQUE, U_RECTL{0, 0, 20, 20}, advances);
    emf.Add(U_EMREXTTEXTOUTW_set(U_RECTL{}, U_GM_COMPATIBLE, 1, 1,
                                 reinterpret_cast<PU_EMRTEXT>(record)));
    free(record);
    emf.Finish();
}

void WriteWmfSeed(const std::string &Path, bool Placeable)
{
    TWmfWriter wmf(Path, 48, 48, Placeable ? 1440 : 0);
    wmf.Add(U_WMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    wmf.Add(U_WMRSETWINDOWORG_set(U_POINT16{0, 0}));
    wmf.Add(U_WMRSETWINDOWEXT_set(U_POINT16{720, 720}));
    wmf.Select(wmf.Brush(U_BS_HATCHED, U_RGB(0, 0, 255), U_HS_CROSS));
    wmf.Select(wmf.Pen(U_PS_DOT, 0, U_RGB(255, 0, 0)));
    wmf.Add(U_WMRSAVEDC_set());
    wmf.Add(U_WMRINTERSECTCLIPRECT_set(U_RECT16{0, 0, 500, 500}));
    wmf.Add(U_WMRROUNDRECT_set(60, 60, U_RECT16{30, 30, 400, 300}));
    wmf.Add(U_WMRCHORD_set(U_POINT16{400, 200}, U_POINT16{200, 0}, U_RECT16{0, 0, 400, 400}));
    wmf.Add(U_WMRRESTOREDC_set(-1));
    const U_POINT16 points[] = {{0, 0}, {500, 100}, {200, 600}, {700, 700}};
    const uint16_t counts[] = {2, 2};
    wmf.Add(U_WMRPOLYPOLYGON_set(2, counts, points));
    wmf.Add(U_WMRPOLYLINE_set(4, points));
    TTestDib dib = MakeTestDib(4);
    wmf.Add(U_WMRSTRETCHDIB_set(U_POINT16{100, 100}, U_POINT16{200, 100}, U_POINT16{0, 0},
                                U_POINT16{4, 2}, U_DIB_RGB_COLORS, U_SRCCOPY, dib.Header(),
                                static_cast<uint32_t>(dib.Bits.size()), dib.Bits.data()));
    wmf.Select(wmf.Font(-180, "DejaVu Sans"));
    wmf.Add(U_WMRTEXTOUT_set(U_POINT16{60, 400}, const_cast<char *>("Ab")));
    wmf.Finish();
}

} // namespace

TEST(MetafileFuzzSeeds, WritesTheFuzzSeedCorpus)
{
    const std::filesystem::path folder =
        std::filesystem::path(TESSELLA_BUILD_DIR) / "fuzz" / "corpus-metafile";
    std::filesystem::create_directories(folder);
    WriteEmfSeed((folder / "families.emf").string());
    WriteWmfSeed((folder / "placeable.wmf").string(), true);
    WriteWmfSeed((folder / "plain.wmf").string(), false);
    EXPECT_GT(std::filesystem::file_size(folder / "families.emf"), 200u);
}
