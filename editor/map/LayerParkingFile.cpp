#include "LayerParkingFile.h"

#include "MapDataUnit.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

namespace
{

// Creates the file only when the name is new, so another program's file is never reused.
bool CreateExclusively(const std::string &path, bool &exists)
{
    std::FILE *file = std::fopen(path.c_str(), "wbx");
    exists = file == nullptr && errno == EEXIST;
    if (file == nullptr)
        return false;
    std::fclose(file);
    return true;
}

} // namespace

TLayerParkingFile::~TLayerParkingFile()
{
    Remove();
}

void TLayerParkingFile::Open(const std::string &Prefix)
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    FFolder = folder.string();
    if (error) {
        const char *named = std::getenv("TMPDIR");
        throw ETemporaryFolderFailure(named != nullptr ? named : "/tmp");
    }
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "%s%08X.tmp", Prefix.c_str(),
                      static_cast<unsigned>(random()));
        const std::string path = (folder / name).string();
        bool exists = false;
        if (CreateExclusively(path, exists)) {
            FPath = path;
            FFile.open(path, std::ios::in | std::ios::out | std::ios::binary | std::ios::trunc);
            if (!FFile)
                throw ETemporaryFolderFailure(FFolder);
            return;
        }
        if (!exists)
            break;
    }
    throw ETemporaryFolderFailure(FFolder);
}

void TLayerParkingFile::Write(const uint16_t *Cells, size_t Count)
{
    FFile.write(reinterpret_cast<const char *>(Cells),
                static_cast<std::streamsize>(Count * sizeof(uint16_t)));
    if (!FFile)
        throw ETemporaryFolderFailure(FFolder);
}

void TLayerParkingFile::Flush()
{
    FFile.flush();
    if (!FFile)
        throw ETemporaryFolderFailure(FFolder);
}

void TLayerParkingFile::Read(uint64_t FirstCell, uint16_t *Cells, size_t Count)
{
    FFile.seekg(static_cast<std::streamoff>(FirstCell * sizeof(uint16_t)));
    FFile.read(reinterpret_cast<char *>(Cells),
               static_cast<std::streamsize>(Count * sizeof(uint16_t)));
    if (!FFile)
        throw ETemporaryFolderFailure(FFolder);
}

void TLayerParkingFile::Remove()
{
    if (FFile.is_open())
        FFile.close();
    if (!FPath.empty()) {
        std::error_code ignored;
        std::filesystem::remove(FPath, ignored);
        FPath.clear();
    }
}
