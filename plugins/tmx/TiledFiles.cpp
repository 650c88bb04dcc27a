#include "plugins/tmx/TiledFiles.h"

#include "common/platform/InputFile.h"
#include "plugins/tmx/TiledError.h"
#include "plugins/tmx/TmjReader.h"
#include "plugins/tmx/TmxReader.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

std::vector<char> ReadWholeFile(const std::string &Path, const std::string &Referrer,
                                const std::string &What)
{
    TInputFile file;
    errno = 0;
    if (!file.Open(Path.c_str())) {
        const std::string reason = errno != 0 ? std::strerror(errno) : "not a file";
        if (Referrer.empty())
            throw ETiledError(prFileError, What + " cannot be opened (" + reason + ")");
        throw ETiledError(prFileError,
                          Referrer + ": " + What + " cannot be opened (" + reason + ")");
    }
    std::vector<char> data(static_cast<size_t>(file.Size()));
    if (!file.ReadExact(data.data(), data.size()))
        throw ETiledError(prFileError,
                          (Referrer.empty() ? What : Referrer + ": " + What) + " cannot be read");
    return data;
}

std::string ResolveReference(const std::string &Folder, const std::string &Reference)
{
    const fs::path reference(Reference);
    if (reference.is_absolute())
        return reference.lexically_normal().string();
    return (fs::path(Folder) / reference).lexically_normal().string();
}

std::string FolderOfPath(const std::string &Path)
{
    return fs::path(Path).parent_path().string();
}

std::string DisplayName(const std::string &MapFolder, const std::string &Path)
{
    const fs::path relative = fs::path(Path).lexically_relative(MapFolder);
    if (relative.empty() || *relative.begin() == "..")
        return Path;
    return relative.generic_string();
}

char FirstSignificantCharacter(const char *Data, size_t Size)
{
    size_t at = 0;
    if (Size >= 3 && std::memcmp(Data, "\xEF\xBB\xBF", 3) == 0)
        at = 3;
    for (; at < Size; ++at)
        if (Data[at] != ' ' && Data[at] != '\t' && Data[at] != '\r' && Data[at] != '\n')
            return Data[at];
    return 0;
}

std::shared_ptr<const TTiledTileset> TTilesetFiles::Load(const std::string &Path,
                                                         const std::string &Referrer)
{
    auto known = FLoaded.find(Path);
    if (known != FLoaded.end())
        return known->second;
    const std::string name = DisplayName(FMapFolder, Path);
    std::vector<char> data = ReadWholeFile(Path, Referrer, "the tileset " + name);
    const char first = FirstSignificantCharacter(data.data(), data.size());
    std::shared_ptr<TTiledTileset> tileset;
    if (first == '<')
        tileset = ReadTsxTileset(data, Path, *this);
    else if (first == '{')
        tileset = ReadTsjTileset(data, Path, *this);
    else
        ThrowBroken(name, "the tileset file is neither XML nor JSON");
    tileset->External = true;
    FLoaded.emplace(Path, tileset);
    return tileset;
}

TTiledMap ReadTiledMap(const std::string &Path, const TReadLimits &Limits)
{
    const std::string fileName = fs::path(Path).filename().string();
    std::vector<char> data = ReadWholeFile(Path, "", fileName);
    TTilesetFiles tilesets(FolderOfPath(Path), Limits);
    const char first = FirstSignificantCharacter(data.data(), data.size());
    if (first == '<')
        return ReadTmxMap(data, Path, tilesets);
    if (first == '{')
        return ReadTmjMap(data, Path, tilesets);
    ThrowBroken(fileName, first == 0 ? "the file is empty" : "the file is neither XML nor JSON");
}
