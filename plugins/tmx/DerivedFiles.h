// The files an import makes beside the map: for each tileset that got parts of its own,
// "<tileset>.tessella.png" (the parts, with alpha) and "<tileset>.tessella.tsx" (a Tiled
// tileset of those parts carrying the original's terrain sets). A name already taken by a
// file this plug-in did not write is never written over: the next free "<tileset> (2)" is
// taken instead. A file that already holds exactly the same bytes is left as it is.
#pragma once

#include "plugins/tmx/TiledConversion.h"

#include <string>
#include <vector>

class TDerivedFiles
{
public:
    TDerivedFiles(std::string MapFolder, std::string MapName);
    // Deletes what this import created when it did not reach Keep().
    ~TDerivedFiles();
    TDerivedFiles(const TDerivedFiles &) = delete;
    TDerivedFiles &operator=(const TDerivedFiles &) = delete;

    // Chooses the file names; returns each parts image's name (beside the map).
    std::vector<std::string> ChooseNames(const std::vector<TDerivedTileset> &Derived);
    // Writes the files under the chosen names; throws ETiledError when one cannot be written.
    void Write(const std::vector<TDerivedTileset> &Derived);
    // The names of the files, for the notice.
    std::vector<std::string> FileNames() const;
    // The import succeeded: the files stay.
    void Keep() { FKeep = true; }

private:
    void WriteFile(const std::string &Name, const std::vector<uint8_t> &Bytes);

    std::string FMapFolder;
    std::string FMapName;
    std::vector<std::string> FStems; // "<tileset>.tessella"
    std::vector<std::string> FCreated;
    bool FKeep = false;
};

// The tileset file of a parts image: its parts at the grid's size, the original's terrain
// sets and tile probabilities translated to the parts.
std::string DerivedTilesetText(const TDerivedTileset &Derived, const std::string &ImageName);

// A tileset's name made fit for a file name: no folder separators, reserved or control
// characters, no leading or trailing dots and spaces; "tileset" when nothing is left.
std::string FileNameOfTileset(const std::string &Name);
