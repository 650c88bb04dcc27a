#include "TerrainMarks.h"

uint64_t TTerrainMarks::Key(int32_t Layer, int32_t X, int32_t Y, int32_t MapWidth)
{
    const uint64_t index =
        static_cast<uint64_t>(Y) * static_cast<uint64_t>(MapWidth) + static_cast<uint64_t>(X);
    return (static_cast<uint64_t>(Layer) << 32) | (index & 0xFFFFFFFFu);
}

void TTerrainMarks::Mark(int32_t Layer, int32_t X, int32_t Y, int32_t MapWidth, uint16_t Value)
{
    FMarks[Key(Layer, X, Y, MapWidth)] = Value;
}

void TTerrainMarks::Clear(int32_t Layer, int32_t X, int32_t Y, int32_t MapWidth)
{
    FMarks.erase(Key(Layer, X, Y, MapWidth));
}

bool TTerrainMarks::Shown(const TMap &Map, int32_t Layer, int32_t X, int32_t Y) const
{
    if (!Map.IsValidLayer(Layer) || X < 0 || Y < 0 || X >= Map.Width() || Y >= Map.Height())
        return false;
    const auto found = FMarks.find(Key(Layer, X, Y, Map.Width()));
    return found != FMarks.end() &&
           Map.GetLayer(Layer).Data[static_cast<size_t>(Y) * Map.Width() + X] == found->second;
}
