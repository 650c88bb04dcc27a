// A map file opened without any window: the map document, what the file says besides its
// cells, each layer's parts-image reference as stored and as resolved, and the parts
// images themselves when a picture is to be made. Opening goes through the same plug-in
// search and record conversion as File > Open; messages go through the dialog seam.
#pragma once

#include "editor/edit/ProjectDocument.h"
#include "editor/map/MapDataUnit.h"
#include "editor/parts/ChipTable.h"
#include "editor/plugins/FilePluginHost.h"

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

// What the map is opened for.
enum class THeadlessUse : uint8_t {
    Converting, // cells kept, every parts-image reference kept as it is, found or not
    Drawing,    // cells kept and the parts images read (through the image plug-ins too)
    Describing, // no cells kept: each layer's name, visibility and count of non-empty cells
};

// A layer as described: cells that are not the invisible part are the cells that show
// something; without the invisible part in use every cell does.
struct THeadlessLayerSummary {
    std::string Name;
    bool Visible = true;
    int64_t NonEmptyCells = 0;
};

class THeadlessMap : public TChipTableHost
{
public:
    // Described, a map holds no cells: each layer is counted as the file's record is
    // converted and its cells freed at once, so the cells are held once, not twice.
    THeadlessMap(const std::string &ProgramFolder, THeadlessUse Use);
    ~THeadlessMap() override;

    // False (message shown) when the file could not be opened.
    bool Open(const TFilePluginHost &Plugins, const std::string &Path);

    TMap &Map() { return FMap; }
    // The project document around the map: its settings, name and path.
    const TProjectDocument &Document() const { return FDocument; }
    TProjectSettings Settings() const { return FDocument.Settings(); }
    const std::vector<THeadlessLayerImage> &LayerImages() const { return FLayerImages; }
    // The layers of a described map (its TMap then has none).
    const std::vector<THeadlessLayerSummary> &LayerSummaries() const { return FSummaries; }
    // The plug-in that read the file ("tzp.so").
    const std::string &ReaderName() const { return FReaderName; }
    // The part lookup of the loaded images (only when images are loaded).
    const TChipPositions &Parts() const { return *FTable; }

private:
    class TTarget;
    int32_t CurrentLayer() const override { return FMap.LayerCount() - 1; }
    bool UseFixedAlignment() const override { return FDocument.FixedAlignment(); }
    std::string ProjectFolder() const override { return FFolder; }

    std::string FProgramFolder;
    THeadlessUse FUse;
    bool FLoadImages;
    TMap FMap;
    TProjectDocument FDocument{[this] { return &FMap; }};
    std::string FFolder;
    std::string FReaderName;
    std::vector<THeadlessLayerImage> FLayerImages;
    std::vector<THeadlessLayerSummary> FSummaries;
    bool FUseInvisiblePart = false; // of the record being converted
    uint16_t FInvisiblePart = 0;
    std::unique_ptr<TChipTable> FTable;
    std::vector<std::unique_ptr<TMapChip>> FReferences; // pictureless parts images
};
