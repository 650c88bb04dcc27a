// libFuzzer target for the tileset file behind terrain sets: any bytes are either refused
// with a reason or read; what is read comes out as a document that reads back to the same
// sets, also after a set, a terrain and a tile were added.
#include "editor/parts/TerrainSetFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{
void Check(bool condition)
{
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    std::string error;
    std::unique_ptr<TTerrainSetFile> file = TTerrainSetFile::Parse(text, "fuzz.tsx", error);
    if (!file) {
        Check(!error.empty());
        return 0;
    }
    TTerrainTileset &tileset = file->Tileset();
    if (!tileset.Sets.empty() && !tileset.Sets[0].Colours.empty() && tileset.TileCount > 0)
        tileset.Sets[0].Tiles[tileset.TileCount - 1] =
            UsedSlots(tileset.Sets[0].Type, {1, 1, 1, 1, 1, 1, 1, 1});
    TTerrainSet added;
    added.Name = "added";
    added.Colours.push_back({"a", 0x123456, -1, 0.5});
    added.Tiles[0] = {0, 1, 0, 1, 0, 1, 0, 1};
    tileset.Sets.push_back(added);
    const std::string written = file->Text();
    std::unique_ptr<TTerrainSetFile> again = TTerrainSetFile::Parse(written, "fuzz.tsx", error);
    Check(again != nullptr);
    Check(again->Tileset().Sets.size() == tileset.Sets.size());
    for (size_t i = 0; i < tileset.Sets.size(); ++i) {
        Check(again->Tileset().Sets[i].Tiles == tileset.Sets[i].Tiles);
        Check(again->Tileset().Sets[i].Colours == tileset.Sets[i].Colours);
        Check(again->Tileset().Sets[i].Name == tileset.Sets[i].Name);
    }
    // Written once more, the document does not change.
    Check(again->Text() == written);
    return 0;
}
