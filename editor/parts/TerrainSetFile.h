// A Tiled tileset file (".tsx") as terrain painting uses it: the layout of its tiles in the
// image, the tiles' probabilities and its terrain sets (Tiled's wang sets). Reading keeps
// the whole document; writing changes only the terrain sets' own elements and attributes
// that differ from the model, so every other element and attribute of the file stays as it
// was and Tiled reads the same definitions. A file that cannot be understood is refused
// with the reason and never written.
#pragma once

#include "editor/map/TerrainSet.h"

#include <memory>
#include <string>

namespace pugi
{
class xml_document;
}

class TTerrainSetFile
{
public:
    ~TTerrainSetFile();
    TTerrainSetFile(const TTerrainSetFile &) = delete;
    TTerrainSetFile &operator=(const TTerrainSetFile &) = delete;

    // Reads Path; null with Error set when the file cannot be read or understood.
    static std::unique_ptr<TTerrainSetFile> Read(const std::string &Path, std::string &Error);
    // The same from the file's text; Path is where it would be written.
    static std::unique_ptr<TTerrainSetFile> Parse(const std::string &Text, const std::string &Path,
                                                  std::string &Error);
    // A tileset without terrain sets for an image of Width × Height pixels cut into parts of
    // TileWidth × TileHeight, to be written at Path; ImageSource is the image's name as the
    // file refers to it (relative to the file's folder).
    static std::unique_ptr<TTerrainSetFile> Create(const std::string &Path,
                                                   const std::string &ImageSource, int32_t Width,
                                                   int32_t Height, int32_t TileWidth,
                                                   int32_t TileHeight);

    const std::string &Path() const { return FPath; }
    // The image as the file names it, relative to the file's folder.
    const std::string &ImageSource() const { return FImageSource; }
    TTerrainTileset &Tileset() { return FTileset; }
    const TTerrainTileset &Tileset() const { return FTileset; }

    // The document with the model's terrain sets put in.
    std::string Text();
    // Writes Text() over the file without ever leaving it half written; false with Error.
    bool Write(std::string &Error);

private:
    TTerrainSetFile();
    bool Load(std::string &Error);
    void StoreSets();
    void StoreTileProbabilities();

    std::unique_ptr<pugi::xml_document> FDocument;
    std::string FPath;
    std::string FImageSource;
    TTerrainTileset FTileset;
};

// Where the terrain sets of a parts image live: the ".tsx" in the image's folder whose
// <image source> names the image, otherwise "<image name without extension>.tsx" (or
// "<image name>.tsx" when that name is taken by a tileset of another image). Exists tells
// whether the file is there.
std::string TerrainSetFileFor(const std::string &ImagePath, bool &Exists);
