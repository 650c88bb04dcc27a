// A map file opened without any window: the map document, what the file says besides its
// cells, each layer's parts-image reference as stored and as resolved, and the parts
// images themselves when a picture is to be made. Opening goes through the same plug-in
// search and record conversion as File > Open; messages go through the dialog seam.
#pragma once

#include "editor/map/MapDataUnit.h"
#include "editor/parts/ChipTable.h"
#include "editor/plugins/FilePluginHost.h"
#include "editor/plugins/ProjectSettings.h"

#include <memory>
#include <string>
#include <vector>

// The window handle plug-ins get on the command line: its services answer that nobody is
// there (no message is handled, no file is chosen); notices become lines on standard error.
TessellaWindow HeadlessWindow();

// The progress callback of the command line: nobody watches, every step goes on.
int32_t QuietProgress(int32_t Position, int32_t Total, const char *Message);

struct THeadlessLayerImage {
    std::string Stored;   // as the file holds it; empty when the layer has none
    std::string Resolved; // the full path it leads to
    bool Loaded = false;  // the picture was read (only when images are loaded)
};

class THeadlessMap : public TChipTableHost
{
public:
    // LoadImages: read the parts images (through the image plug-ins too) so the map can be
    // drawn. Otherwise every reference is kept as it is, found or not, so that a
    // conversion loses none.
    THeadlessMap(const std::string &ProgramFolder, bool LoadImages);
    ~THeadlessMap() override;

    // False (message shown) when the file could not be opened.
    bool Open(const TFilePluginHost &Plugins, const std::string &Path);

    TMap &Map() { return FMap; }
    const TProjectSettings &Settings() const { return FSettings; }
    const std::vector<THeadlessLayerImage> &LayerImages() const { return FLayerImages; }
    // The plug-in that read the file ("tzp.so").
    const std::string &ReaderName() const { return FReaderName; }
    // The part lookup of the loaded images (only when images are loaded).
    const TChipPositions &Parts() const { return *FTable; }

private:
    class TTarget;
    int32_t CurrentLayer() const override { return FMap.LayerCount() - 1; }
    bool UseFixedAlignment() const override { return FSettings.FixedAlignment(); }
    std::string ProjectFolder() const override { return FFolder; }

    std::string FProgramFolder;
    bool FLoadImages;
    TMap FMap;
    TProjectSettings FSettings;
    std::string FFolder;
    std::string FReaderName;
    std::vector<THeadlessLayerImage> FLayerImages;
    std::unique_ptr<TChipTable> FTable;
    std::vector<std::unique_ptr<TMapChip>> FReferences; // pictureless parts images
};
