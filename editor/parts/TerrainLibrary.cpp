#include "TerrainLibrary.h"

#include <filesystem>

namespace
{
constexpr size_t kUndoSteps = 200;
}

TTerrainEntry *TTerrainLibrary::EntryFor(const TMapChip *Chip, int32_t PartsWidth,
                                         int32_t PartsHeight)
{
    if (Chip == nullptr || Chip->FileName.empty())
        return nullptr;
    std::error_code error;
    std::string key = std::filesystem::weakly_canonical(Chip->FileName, error).string();
    if (error || key.empty())
        key = Chip->FileName;
    auto found = FEntries.find(key);
    if (found != FEntries.end())
        return found->second.get();
    auto entry = std::make_unique<TTerrainEntry>();
    entry->ImagePath = Chip->FileName;
    bool exists = false;
    const std::string path = TerrainSetFileFor(Chip->FileName, exists);
    if (exists) {
        entry->File = TTerrainSetFile::Read(path, entry->Error);
        if (!entry->File)
            entry->Error = std::filesystem::path(path).filename().string() + ": " + entry->Error;
    } else {
        const int32_t width = Chip->Image ? Chip->Image->ImageWidth() : 0;
        const int32_t height = Chip->Image ? Chip->Image->ImageHeight() : 0;
        entry->File =
            TTerrainSetFile::Create(path, std::filesystem::path(Chip->FileName).filename().string(),
                                    width, height, PartsWidth, PartsHeight);
    }
    return FEntries.emplace(key, std::move(entry)).first->second.get();
}

void TTerrainLibrary::WillChange(TTerrainEntry &Entry)
{
    if (!Entry.File)
        return;
    Entry.UndoList.push_back(Entry.File->Tileset().Sets);
    if (Entry.UndoList.size() > kUndoSteps)
        Entry.UndoList.erase(Entry.UndoList.begin());
    Entry.RedoList.clear();
    Entry.Dirty = true;
}

bool TTerrainLibrary::Undo(TTerrainEntry &Entry)
{
    if (!Entry.File || Entry.UndoList.empty())
        return false;
    Entry.RedoList.push_back(std::move(Entry.File->Tileset().Sets));
    Entry.File->Tileset().Sets = std::move(Entry.UndoList.back());
    Entry.UndoList.pop_back();
    Entry.Dirty = true;
    return true;
}

bool TTerrainLibrary::Redo(TTerrainEntry &Entry)
{
    if (!Entry.File || Entry.RedoList.empty())
        return false;
    Entry.UndoList.push_back(std::move(Entry.File->Tileset().Sets));
    Entry.File->Tileset().Sets = std::move(Entry.RedoList.back());
    Entry.RedoList.pop_back();
    Entry.Dirty = true;
    return true;
}

std::vector<std::pair<std::string, std::string>> TTerrainLibrary::SaveAll()
{
    std::vector<std::pair<std::string, std::string>> failures;
    for (auto &[key, entry] : FEntries) {
        if (!entry->Dirty || !entry->File)
            continue;
        std::string error;
        if (entry->File->Write(error))
            entry->Dirty = false;
        else
            failures.emplace_back(entry->File->Path(), error);
    }
    return failures;
}

bool TTerrainLibrary::HasChanges() const
{
    for (const auto &[key, entry] : FEntries)
        if (entry->Dirty && entry->File)
            return true;
    return false;
}
