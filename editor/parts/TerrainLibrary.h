// The terrain sets of the loaded parts images: each image's tileset file, read when first
// asked for (or begun empty when the image has none, and written only once something is
// defined), what changed since it was last written, and the undo and redo lists of the
// parts window's terrain mode. Owned by the terrain mode; knows nothing of widgets.
#pragma once

#include "TerrainSetFile.h"
#include "editor/map/DefineUnit.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

struct TTerrainEntry {
    std::string ImagePath;
    // Null when the file could not be read (Error says why): its sets are then not offered
    // and the file is never written.
    std::unique_ptr<TTerrainSetFile> File;
    std::string Error;
    bool ErrorShown = false;
    bool Dirty = false;
    std::vector<std::vector<TTerrainSet>> UndoList;
    std::vector<std::vector<TTerrainSet>> RedoList;

    TTerrainTileset *Tileset() { return File ? &File->Tileset() : nullptr; }
};

class TTerrainLibrary
{
public:
    // The entry of the image, read on first use; null for no image.
    TTerrainEntry *EntryFor(const TMapChip *Chip, int32_t PartsWidth, int32_t PartsHeight);

    // A change of the entry's sets is about to be made: the sets as they are go on its undo
    // list (the redo list is emptied) and the entry is to be written.
    void WillChange(TTerrainEntry &Entry);
    bool Undo(TTerrainEntry &Entry);
    bool Redo(TTerrainEntry &Entry);

    // Writes every entry changed since it was read or written; returns, for each that could
    // not be written, its file and the reason.
    std::vector<std::pair<std::string, std::string>> SaveAll();
    bool HasChanges() const;
    // Forgets every entry (the images are going); callers save first.
    void Clear() { FEntries.clear(); }

private:
    std::map<std::string, std::unique_ptr<TTerrainEntry>> FEntries;
};
