// The table of loaded parts images (MapChipList) that the parts window owns: loading an image
// and attaching it to the current layer, closing it, lookups, the numbering of parts inside
// an image, and reloading images whose files changed on disk. Layers only refer to entries.
#pragma once

#include "SusiePluginHost.h"
#include "editor/map/MapDataUnit.h"
#include "editor/render/MapViewState.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What the table asks of its owner.
class TChipTableHost
{
public:
    virtual ~TChipTableHost() = default;
    // The layer window's current layer; -1 when there is none.
    virtual int32_t CurrentLayer() const = 0;
    // The map's fixed-parts-alignment setting (16 or 256 columns whatever the image width).
    virtual bool UseFixedAlignment() const = 0;
    // Where the open dialog starts: the folder the user works in.
    virtual std::string ProjectFolder() const = 0;
    // A picture with transparent areas (TransparentAreas.h) was read for the table.
    virtual void TransparentImageLoaded(const std::string & /*FileName*/) {}
};

// Which of CheckMapChipChanged's consequences the window has to show.
struct TChipChangeCheck {
    bool Detached = false; // the current layer lost its image: redraw everything
    bool Reloaded = false; // at least one image was read again: redraw the map and parts
};

class TChipTable : public TChipPositions
{
public:
    TChipTable(TMap &Map, TChipTableHost &Host);
    ~TChipTable() override;
    TChipTable(const TChipTable &) = delete;
    TChipTable &operator=(const TChipTable &) = delete;

    // Resets the table for a new document: the fixed alignment of the map's bit count, every
    // entry freed, the image plug-ins rescanned from PluginFolder (relative to ProgramFolder)
    // and the open dialog's filter rebuilt. Layers that still refer to a freed entry are
    // detached from it first.
    void Init(const std::string &PluginFolder, const std::string &ProgramFolder,
              const std::vector<TSusieSetting> &SusieSettings);

    // Loads FileName (asks for a file when empty) or reuses the entry of that exact name,
    // and attaches it to the current layer. True when the layer got the image: the caller
    // re-lays out and redraws the parts window, the map view and the overview.
    bool AddMapChip(const std::string &FileName);

    // Detaches the current layer's image from every layer and frees it. False when the
    // current layer has none.
    bool CloseCurrentImage();

    int32_t GetMapChipCount() const { return static_cast<int32_t>(FChips.size()); }
    TMapChip *GetMapChipAddr(int32_t Index) const;
    std::string GetMapChipName(int32_t Index) const;
    int32_t GetNamedIndex(const std::string &FileName) const;

    // Top-left pixel of part ChipNumber in the layer's image. False without a ready map or
    // before Init ((0, 0) then).
    bool GetImagePosition(int32_t ChipNumber, int32_t LayerIndex, int32_t &X,
                          int32_t &Y) const override;
    // Columns and rows of parts: fixed (16 to the power BitCount / 8) or from the image.
    void GetChipAlignment(uint8_t BitCount, bool UseFixed, int32_t LayerIndex, int32_t &Columns,
                          int32_t &Rows) const;
    // ChipAlignX, ChipAlignY := the current layer's alignment.
    void UpdateChipAlign();
    int32_t ChipAlignX() const { return FChipAlignX; }
    int32_t ChipAlignY() const { return FChipAlignY; }

    // Frees every entry.
    void FreeAllChips();
    // Detaches every entry from the map's layers, then frees it: for a table whose map is
    // about to go, so that neither holds a pointer into the other.
    void ReleaseAll();

    // Reloads images whose files changed since they were loaded; run on every activation.
    TChipChangeCheck CheckMapChipChanged();

    // The parts open dialog's filter ("Label|pattern|..."), built by Init.
    const std::string &OpenFilter() const { return FOpenFilter; }
    TSusiePluginHost &SusiePlugins() { return FSusie; }

    // Reads a parts image: the image plug-ins first, then the platform loader. Throws
    // std::runtime_error with the reason when neither can.
    void LoadPicture(const std::string &FileName, TPixelBuffer &Bitmap);

private:
    void BuildOpenFilter();
    void DetachFromLayers(const TMapChip *Chip);

    TMap &FMap;
    TChipTableHost &FHost;
    std::vector<std::unique_ptr<TMapChip>> FChips;
    TSusiePluginHost FSusie;
    std::string FOpenFilter;
    int32_t FChipAlignX = 0;
    int32_t FChipAlignY = 0;
};
