#include "plugins/tmx/TiledLayers.h"

#include "plugins/tmx/TiledError.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{

std::string SizeText(int64_t width, int64_t height)
{
    return std::to_string(width) + " × " + std::to_string(height);
}

void CheckMapSize(const TTiledMap &map, const TReadLimits &limits)
{
    if (map.Width <= 0 || map.Height <= 0)
        ThrowBroken(map.FileName,
                    "the map's size " + SizeText(map.Width, map.Height) + " is not a size");
    if (map.Width > std::numeric_limits<int32_t>::max() ||
        map.Height > std::numeric_limits<int32_t>::max() ||
        static_cast<uint64_t>(map.Width) * static_cast<uint64_t>(map.Height) > limits.MaxCells)
        ThrowNotSupported(map.FileName, "the map of " + SizeText(map.Width, map.Height) +
                                            " cells is larger than a map can be");
}

} // namespace

void CheckLayerSize(int64_t Width, int64_t Height, const TReadLimits &Limits,
                    const std::string &Where)
{
    if (Width <= 0 || Height <= 0)
        throw ETiledError(prBrokenFile,
                          Where + ": its size " + SizeText(Width, Height) + " is not a size");
    if (Width > std::numeric_limits<int32_t>::max() ||
        Height > std::numeric_limits<int32_t>::max() ||
        static_cast<uint64_t>(Width) * static_cast<uint64_t>(Height) > Limits.MaxCells)
        throw ETiledError(prNotSupported, Where + ": its size " + SizeText(Width, Height) +
                                              " is larger than a map can be");
}

void PlaceLayers(TTiledMap &Map, std::vector<TPendingLayer> &Pending, const TReadLimits &Limits)
{
    int64_t left = 0;
    int64_t top = 0;
    if (Map.Infinite) {
        int64_t right = std::numeric_limits<int64_t>::min();
        int64_t bottom = std::numeric_limits<int64_t>::min();
        left = top = std::numeric_limits<int64_t>::max();
        for (const TPendingLayer &layer : Pending)
            for (const TTiledChunk &chunk : layer.Chunks) {
                left = std::min(left, chunk.X);
                top = std::min(top, chunk.Y);
                right = std::max(right, chunk.X + chunk.Width);
                bottom = std::max(bottom, chunk.Y + chunk.Height);
            }
        if (right == std::numeric_limits<int64_t>::min()) {
            // No chunk anywhere: an empty map of one cell.
            left = top = 0;
            right = bottom = 1;
        }
        Map.Width = right - left;
        Map.Height = bottom - top;
    }
    CheckMapSize(Map, Limits);
    const auto width = static_cast<size_t>(Map.Width);
    const size_t cells = width * static_cast<size_t>(Map.Height);
    Map.Layers.reserve(Pending.size());
    for (TPendingLayer &pending : Pending) {
        TTiledLayer layer = std::move(pending.Layer);
        // Beyond this a layer lies outside any map; the test is written to catch NaN too.
        constexpr double kMaxOffset = 1 << 24;
        if (!(std::abs(layer.OffsetX) <= kMaxOffset) || !(std::abs(layer.OffsetY) <= kMaxOffset))
            ThrowBroken(Map.FileName, "the layer " + Quoted(layer.Name) +
                                          " is moved further than any map reaches");
        if (!Map.Infinite && (pending.Width > Map.Width || pending.Height > Map.Height))
            ThrowBroken(Map.FileName, "the layer " + Quoted(layer.Name) + " (" +
                                          SizeText(pending.Width, pending.Height) +
                                          ") is larger than the map (" +
                                          SizeText(Map.Width, Map.Height) + ")");
        if (!Map.Infinite && pending.Width == Map.Width && pending.Height == Map.Height &&
            pending.Gids.size() == cells) {
            layer.Gids = std::move(pending.Gids);
        } else {
            layer.Gids.assign(cells, 0);
            if (!pending.Gids.empty())
                for (int64_t y = 0; y < pending.Height; ++y)
                    std::copy_n(pending.Gids.begin() + y * pending.Width, pending.Width,
                                layer.Gids.begin() +
                                    static_cast<ptrdiff_t>(static_cast<size_t>(y) * width));
            for (const TTiledChunk &chunk : pending.Chunks)
                for (int64_t y = 0; y < chunk.Height; ++y)
                    std::copy_n(
                        chunk.Gids.begin() + y * chunk.Width, chunk.Width,
                        layer.Gids.begin() +
                            static_cast<ptrdiff_t>(static_cast<size_t>(chunk.Y - top + y) * width +
                                                   static_cast<size_t>(chunk.X - left)));
        }
        Map.Layers.push_back(std::move(layer));
        pending = TPendingLayer{};
    }
}

TTiledLayer LayerOfGroupState(const std::string &Name, const TGroupState &State)
{
    TTiledLayer layer;
    layer.Name = Name;
    layer.Visible = State.Visible;
    layer.Opacity = State.Opacity;
    layer.OffsetX = State.OffsetX;
    layer.OffsetY = State.OffsetY;
    layer.Tinted = State.Tinted;
    layer.Parallax = State.Parallax;
    return layer;
}
