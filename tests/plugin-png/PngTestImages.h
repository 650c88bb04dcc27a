// PNG files the tests and the fuzzer's seed corpus write themselves, in every colour type and
// bit depth, with or without interlacing and transparency.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TPngPaletteEntry {
    uint8_t Red, Green, Blue;
};

struct TPngImage {
    int32_t Width = 0;
    int32_t Height = 0;
    int ColorType = 0; // PNG_COLOR_TYPE_*
    int BitDepth = 8;
    bool Interlaced = false;
    // Channel samples row by row, pixel by pixel (1 to 4 per pixel as the colour type has),
    // each below 2^BitDepth; palette indices for palette images.
    std::vector<uint16_t> Samples;
    std::vector<TPngPaletteEntry> Palette;
    std::vector<uint8_t> PaletteAlpha;             // tRNS of a palette image
    std::optional<std::vector<uint16_t>> KeyColor; // tRNS of a grey (1) or RGB (3) image

    int Channels() const;
};

// The encoded file.
std::vector<uint8_t> EncodePng(const TPngImage &Image);
bool WritePngFile(const std::string &Path, const TPngImage &Image);

// A picture of the given type whose samples vary across it, so that every row and column
// can be told apart.
TPngImage MakeTestPng(int ColorType, int BitDepth, bool Interlaced, int32_t Width = 13,
                      int32_t Height = 7);

// What the plug-in must hand back for pixel (X, Y): blue, green, red, with RGB(255, 0, 255)
// for pixels whose alpha is below 128.
void ExpectedBgr(const TPngImage &Image, int32_t X, int32_t Y, uint8_t Bgr[3]);

// Every kind of test picture, named, for seed corpora and loops over all kinds.
std::vector<std::pair<std::string, TPngImage>> AllTestPngs();
