// The cells the terrain brush marked because the terrain set had no part that fits them: a
// red frame shows on each until it is painted again. A mark remembers the part it was given,
// so it shows only while the cell still holds that part (an undo hides it, a redo brings it
// back, painting the cell over clears it).
#pragma once

#include "editor/map/MapDataUnit.h"

#include <cstdint>
#include <unordered_map>

class TTerrainMarks
{
public:
    void Mark(int32_t Layer, int32_t X, int32_t Y, int32_t MapWidth, uint16_t Value);
    void Clear(int32_t Layer, int32_t X, int32_t Y, int32_t MapWidth);
    void ClearAll() { FMarks.clear(); }
    size_t Count() const { return FMarks.size(); }

    // The cell shows its mark: marked, and still holding the part it was marked with.
    bool Shown(const TMap &Map, int32_t Layer, int32_t X, int32_t Y) const;
    // Calls Visit(Layer, X, Y) for every mark shown.
    template <typename TVisit> void ForEachShown(const TMap &Map, TVisit Visit) const
    {
        for (const auto &[key, value] : FMarks) {
            const auto layer = static_cast<int32_t>(key >> 32);
            const auto index = static_cast<int64_t>(key & 0xFFFFFFFFu);
            if (!Map.IsValidLayer(layer) || index >= Map.CellCount() ||
                Map.GetLayer(layer).Data[static_cast<size_t>(index)] != value)
                continue;
            Visit(layer, static_cast<int32_t>(index % Map.Width()),
                  static_cast<int32_t>(index / Map.Width()));
        }
    }

private:
    static uint64_t Key(int32_t Layer, int32_t X, int32_t Y, int32_t MapWidth);
    std::unordered_map<uint64_t, uint16_t> FMarks;
};
