// What the file plug-in fuzz targets share: a private working folder, the input written
// to a file there (the importers take paths), a host window and a progress callback.
#pragma once

#include "common/TessellaPlugin.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <string>
#include <unistd.h>

namespace fuzz
{

// The folder every run works in; also the current directory. It lives in memory where
// it can: a disk file system may flush the replaced files of every run to the disk. Its
// name is kept in plain storage, which outlives the exit handler that removes it.
inline char FolderName[64];

// The folder holds only plain files of the runs.
inline void RemoveFolder()
{
    if (DIR *dir = opendir(FolderName)) {
        char path[320];
        while (const dirent *entry = readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            std::snprintf(path, sizeof path, "%s/%s", FolderName, entry->d_name);
            unlink(path);
        }
        closedir(dir);
    }
    if (chdir("/") == 0)
        rmdir(FolderName);
}

inline std::string Folder()
{
    if (FolderName[0] == '\0') {
        std::snprintf(FolderName, sizeof FolderName, "%s/tessella-fuzz-XXXXXX",
                      access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
        if (mkdtemp(FolderName) == nullptr || chdir(FolderName) != 0)
            std::abort();
        std::atexit(RemoveFolder);
    }
    return FolderName;
}

inline std::string ReadFile(const std::string &path)
{
    std::string text;
    FILE *file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        std::abort();
    char buffer[65536];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) != 0;)
        text.append(buffer, got);
    std::fclose(file);
    return text;
}

inline std::string WriteInput(const char *name, const uint8_t *data, size_t size)
{
    const std::string path = Folder() + "/" + name;
    FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        std::abort();
    if (size != 0 && std::fwrite(data, 1, size, file) != size)
        std::abort();
    std::fclose(file);
    return path;
}

inline int32_t GoOn(int32_t, int32_t, const char *)
{
    return 1;
}

// Any question for a file is answered with this one.
inline std::string &Answer()
{
    static std::string answer;
    return answer;
}

inline int32_t AnswerQuestion(TessellaWindow *, const char *, const char *, const char *,
                              char *result, uint32_t size)
{
    if (Answer().empty())
        return 0;
    std::snprintf(result, size, "%s", Answer().c_str());
    return 1;
}

inline TessellaWindow Window()
{
    TessellaWindow window{};
    window.StructSize = sizeof window;
    window.AskOpenFileName = AnswerQuestion;
    return window;
}

// Reads every byte the record claims to hold, so a buffer too small for its claim shows
// up under the address sanitizer.
inline uint64_t TouchRecord(const PluginMapRecord &record)
{
    uint64_t sum = 0;
    const uint64_t cells = uint64_t{record.Width} * record.Height;
    for (int i = 0; i < record.LayerCount; ++i) {
        const PluginLayerRecord &layer = record.Layers[i];
        if (layer.Name != nullptr)
            sum += std::strlen(layer.Name);
        if (layer.PartsImage != nullptr)
            sum += std::strlen(layer.PartsImage);
        if (layer.Cells == nullptr)
            std::abort(); // success promises cells for every layer
        for (uint64_t k = 0; k < cells; ++k)
            sum += layer.Cells[k];
    }
    if (record.Comment != nullptr)
        sum += std::strlen(record.Comment);
    for (uint32_t k = 0; k < record.HiddenSize; ++k)
        sum += record.HiddenData[k];
    return sum;
}

inline void FreeRecord(PluginMapRecord &record)
{
    if (record.Layers != nullptr) {
        for (int i = 0; i < record.LayerCount; ++i) {
            TessellaFree(record.Layers[i].Name);
            TessellaFree(record.Layers[i].PartsImage);
            TessellaFree(record.Layers[i].Cells);
        }
        TessellaFree(record.Layers);
    }
    TessellaFree(record.Comment);
    TessellaFree(record.HiddenData);
    record = PluginMapRecord{};
}

// A failed import must leave the host nothing to free.
inline void CheckFailure(const PluginMapRecord &record)
{
    if (record.Layers != nullptr || record.Comment != nullptr || record.HiddenData != nullptr)
        std::abort();
}

inline bool SameText(const char *a, const char *b)
{
    if (a == nullptr || b == nullptr)
        return (a == nullptr || *a == '\0') && (b == nullptr || *b == '\0');
    return std::strcmp(a, b) == 0;
}

inline bool SameLayers(const PluginMapRecord &a, const PluginMapRecord &b, bool withTexts = true)
{
    if (a.Width != b.Width || a.Height != b.Height || a.LayerCount != b.LayerCount)
        return false;
    const size_t bytes = size_t{a.Width} * a.Height * 2;
    for (int i = 0; i < a.LayerCount; ++i) {
        const PluginLayerRecord &x = a.Layers[i];
        const PluginLayerRecord &y = b.Layers[i];
        if (withTexts && (!SameText(x.Name, y.Name) || !SameText(x.PartsImage, y.PartsImage)))
            return false;
        if (x.Visible != y.Visible || std::memcmp(x.Cells, y.Cells, bytes) != 0)
            return false;
    }
    return true;
}

} // namespace fuzz
