// The conversion between the map document and the plug-in record, without any window: an
// imported record becomes the map's layers, cells and parts-image references; the map
// becomes a record for Export whose cell pointers point into the map's own storage. The
// main window's file commands and the command line both convert through here.
#pragma once

#include "common/TessellaPlugin.h"
#include "editor/edit/ProjectDocument.h"
#include "editor/map/MapDataUnit.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// A failure of a transfer, with the detail text the user is shown in parentheses.
class ETransferFailure : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Where an import puts what the map document itself does not hold: the list of layers and
// the parts images. The main window refills its layer and parts windows; the command line
// keeps a table of its own.
class TImportTarget
{
public:
    virtual ~TImportTarget() = default;
    // The map was emptied and re-initialised with the record's header: forget the old
    // layers and parts images.
    virtual void ResetLayers(const PluginMapRecord &Header) = 0;
    // Appends a layer to the map taking over its Width × Height cells (it then becomes the
    // current one). False, after telling the user, when it cannot be made.
    virtual bool AddLayer(const std::string &Name, std::vector<uint16_t> &&Cells) = 0;
    virtual void SetLayerVisible(int32_t Index, bool Visible) = 0;
    // The parts image of the layer just added: the reference as the file stores it and the
    // full path it resolves to.
    virtual void AttachPartsImage(int32_t Index, const std::string &Stored,
                                  const std::string &Resolved) = 0;
};

// Where a stored reference leads: with PathMode 0 only its file name counts, looked for in
// the map file's folder; otherwise it is a path relative to that folder ("\" and "/" both
// separate folders).
std::string ResolvePartsReference(const std::string &Stored, uint8_t PathMode,
                                  const std::string &FileFolder);

// Turns a successfully imported record into the document: first takes every layer's cells
// out of the record (freeing each buffer as it is taken), then clears and re-initialises
// the document's map with the record's header, adds every layer through Target and hands
// the document what the record says besides layers and cells. Progress gets the
// "creating...", "processing..." and "finishing..." texts. Throws ETransferFailure with the
// detail text; a failure while the cells are taken (a layer without cells, no memory)
// leaves the document and Target untouched. The record still holds what was not taken.
void LoadRecordIntoMap(PluginMapRecord &Record, TProjectDocument &Document, TImportTarget &Target,
                       const std::string &FileFolder, const std::string &PluginName,
                       ProgressProc Progress);

// A record of the map for Export, with the texts its pointers lead to. Cells point into
// the map's own layers, so the map must outlive it and stay unchanged while it is used.
// Neither copied nor moved: the record points into its own members.
class TExportRecord
{
public:
    TExportRecord() = default;
    TExportRecord(const TExportRecord &) = delete;
    TExportRecord &operator=(const TExportRecord &) = delete;

    // Fills the record for writing TargetPath: the first LayerCount layers of the
    // document's map with its settings, each parts image referred to relative to the
    // target's folder (PathMode 1; a path on no common root stays absolute) or by its file
    // name alone (PathMode 0), with "\" between folders. Throws
    // ETransferFailure("fatal error!") when the map has fewer layers.
    void Build(const TProjectDocument &Document, uint8_t LayerCount, const std::string &TargetPath);

    PluginMapRecord Record{};

private:
    std::vector<PluginLayerRecord> FLayers;
    std::vector<std::string> FNames;
    std::vector<std::string> FReferences;
    std::string FComment;
    std::vector<uint8_t> FHidden;
};
