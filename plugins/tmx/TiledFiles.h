// What both Tiled readers share: reading a file whole, resolving the references one file
// makes to another, naming files in messages, loading each external tileset once whatever
// its form (TSX or JSON), and choosing the reader of a map by its first character.
#pragma once

#include "plugins/tmx/TiledMap.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Bounds that keep a small file from asking for memory no map needs.
struct TReadLimits {
    uint64_t MaxCells = uint64_t{1} << 28; // cells of one layer
};

// The whole file, or ETiledError (file error) naming Referrer ("desert.tmx: the tileset
// desert.tsx cannot be opened") or, without one, the file itself.
std::vector<char> ReadWholeFile(const std::string &Path, const std::string &Referrer,
                                const std::string &What);

// A reference as Tiled writes it (relative to Folder, or absolute) as a full path.
std::string ResolveReference(const std::string &Folder, const std::string &Reference);

// The folder of a full path.
std::string FolderOfPath(const std::string &Path);

// How messages name a file: relative to the map's folder when it lies below it.
std::string DisplayName(const std::string &MapFolder, const std::string &Path);

// External tilesets by full path, each read once per map.
class TTilesetFiles
{
public:
    TTilesetFiles(std::string MapFolder, TReadLimits Limits)
        : FMapFolder(std::move(MapFolder)), FLimits(Limits)
    {
    }
    // Referrer names the file that refers to it (for messages).
    std::shared_ptr<const TTiledTileset> Load(const std::string &Path, const std::string &Referrer);
    const std::string &MapFolder() const { return FMapFolder; }
    const TReadLimits &Limits() const { return FLimits; }

private:
    std::string FMapFolder;
    TReadLimits FLimits;
    std::map<std::string, std::shared_ptr<const TTiledTileset>> FLoaded;
};

// The first character that is not white space (nor a byte-order mark), or 0.
char FirstSignificantCharacter(const char *Data, size_t Size);

// Reads a TMX or JSON map; throws ETiledError.
TTiledMap ReadTiledMap(const std::string &Path, const TReadLimits &Limits = {});
