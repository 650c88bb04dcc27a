// Helpers for map tests: small maps with known cells and requests built in one line.
#pragma once

#include "editor/map/MapDataUnit.h"

#include <cstdint>
#include <memory>
#include <vector>

inline std::unique_ptr<TMap> MakeMap(int32_t width, int32_t height, int32_t layers = 1,
                                     uint8_t bitCount = 8)
{
    auto map = std::make_unique<TMap>();
    map->Initialize(width, height, 32, 32, bitCount);
    for (int32_t i = 0; i < layers; ++i)
        map->AddLayer("Layer" + std::to_string(i), nullptr, 0);
    return map;
}

// Fills every cell with its own index (mod 256), so moved cells are easy to spot.
inline void FillWithIndices(TMap &map, int32_t layer)
{
    std::vector<uint16_t> &cells = map.GetLayer(layer).Data;
    for (size_t i = 0; i < cells.size(); ++i)
        cells[i] = static_cast<uint16_t>(i % 256);
}

inline uint16_t Cell(const TMap &map, int32_t layer, int32_t x, int32_t y)
{
    return map.GetLayer(layer).Data[static_cast<size_t>(y) * map.Width() + x];
}

// A pen request: a block of Columns × Rows values written with its top-left at (X, Y).
inline TModified Block(int32_t layer, int32_t x, int32_t y, int32_t columns, int32_t rows,
                       std::vector<uint16_t> values)
{
    TModified request;
    request.Layer = layer;
    request.Target.Active = 1;
    request.Target.X = x;
    request.Target.Y = y;
    request.Target.DX = columns - 1;
    request.Target.DY = rows - 1;
    request.Source.Active = 1;
    request.Source.DX = columns - 1;
    request.Source.DY = rows - 1;
    request.SrcPitch = columns - 1;
    request.Data = std::move(values);
    return request;
}

inline TModified Single(int32_t layer, int32_t x, int32_t y, uint16_t value)
{
    return Block(layer, x, y, 1, 1, {value});
}
