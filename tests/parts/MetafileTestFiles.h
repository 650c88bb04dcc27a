// Metafiles the tests write with libuemf's own writers, bitmaps for their records, and the
// pixel comparison the metafile tests share.
#pragma once

#include "editor/render/PixelBuffer.h"

#include <uwmf.h>

#include <QImage>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// An enhanced metafile of Width x Height pixels at 96 per inch, its reference device at 96
// pixels per inch too, so logical units are pixels until a record says otherwise.
class TEmfWriter
{
public:
    TEmfWriter(const std::string &Path, int Width, int Height);
    ~TEmfWriter();
    void Add(char *Record); // takes the record
    uint32_t Pen(uint32_t Style, int Width, U_COLORREF Color);
    uint32_t Brush(uint32_t Style, U_COLORREF Color, int Hatch = 0);
    uint32_t Font(int Height, const char *Face);
    void Select(uint32_t Handle);
    void Delete(uint32_t Handle);
    // Writes the end record and the file.
    void Finish();

private:
    EMFTRACK *FTrack = nullptr;
    EMFHANDLES *FHandles = nullptr;
};

// An old metafile: with a placeable header of Width x Height pixels in units of 1/Inch
// inch (Inch 0: no placeable header).
class TWmfWriter
{
public:
    TWmfWriter(const std::string &Path, int Width, int Height, int Inch);
    ~TWmfWriter();
    void Add(char *Record);
    uint32_t Pen(uint16_t Style, uint16_t Width, U_COLORREF Color);
    uint32_t Brush(uint16_t Style, U_COLORREF Color, uint16_t Hatch = 0);
    uint32_t Font(int16_t Height, const char *Face);
    void Select(uint32_t Handle);
    void Delete(uint32_t Handle);
    void Finish();

private:
    WMFTRACK *FTrack = nullptr;
    WMFHANDLES *FHandles = nullptr;
};

// A bitmap of 4 x 2 pixels, top row red, green, blue, white and bottom row black, yellow,
// cyan, magenta (1-bit bitmaps: red where x + y is even, else black), as the header with
// its colour table and the rows, bottom row first.
struct TTestDib {
    std::vector<char> Info; // U_BITMAPINFO with its colours
    std::vector<char> Bits;
    PU_BITMAPINFO Header() { return reinterpret_cast<PU_BITMAPINFO>(Info.data()); }
    // Header, colours and rows in one block.
    std::vector<char> Packed() const;
};
TTestDib MakeTestDib(int BitCount);
// What the test bitmap shows at (X, Y), 0x00RRGGBB.
uint32_t TestDibPixel(int BitCount, int X, int Y);

// Compares a picture with what it must show. A pixel that differs counts only where it
// lies beside a pixel of another expected colour (an edge that a rasteriser may place one
// pixel either way); Allowed bounds those.
::testing::AssertionResult ShowsPicture(const TPixelBuffer &Picture, int Width, int Height,
                                        const std::function<uint32_t(int, int)> &Expected,
                                        int Allowed = 0);

std::vector<uint8_t> LoadMetafileBytes(const std::string &Path);
void SaveMetafileBytes(const std::string &Path, const std::vector<uint8_t> &Bytes);
