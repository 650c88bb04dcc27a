// Types shared by the map document, the parts palette, the writers and the clipboard.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A rectangle of cells. DX and DY are the size minus one; Index is Y × row width + X,
// the row width being the map's width for map blocks and the parts image's column
// count for blocks of the parts image.
struct TSelection {
    uint8_t Active = 0;
    int32_t X = 0;
    int32_t Y = 0;
    int32_t DX = 0;
    int32_t DY = 0;
    int32_t Index = 0;
};

// An edit request: a block of chip numbers read from Source and written at Target.
// Source's DX + 1 by DY + 1 are the dimensions of Data; SrcPitch is the words per row
// of Data minus one.
struct TModified {
    uint8_t Kind = 0;
    int32_t Layer = 0;
    TSelection Target;
    TSelection Source;
    std::vector<uint16_t> Data;
    int32_t SrcPitch = 0;
};

// The picture of a parts image, as the map sees it: only its size in pixels.
// The parts palette provides the real image (a pixel buffer of the renderer).
class TChipImage
{
public:
    virtual ~TChipImage() = default;
    virtual int32_t ImageWidth() const = 0;
    virtual int32_t ImageHeight() const = 0;
};

// One loaded parts image. Owned by the parts palette; layers only refer to it.
struct TMapChip {
    std::unique_ptr<TChipImage> Image;
    std::string FileName;  // the path exactly as it was given or chosen
    double FileDate = 0.0; // last modification when loaded, in days
};

// Progress of long operations. Position = Total = -n (n >= 3) opens a display of n steps,
// -2 changes only the message, -1 closes it; 0 <= Position < Total reports progress.
// The result asks to go on; the map's own operations ignore it.
using TProgressProc =
    std::function<bool(int32_t Position, int32_t Total, const std::string &Message)>;
