// A window-message host over a real map, recording what the interface asked of it.
#pragma once

#include "editor/map/MapDataUnit.h"
#include "editor/shell/messages/WindowMessageHost.h"

#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

class TFakeChipImage : public TChipImage
{
public:
    TFakeChipImage(int32_t imageWidth, int32_t imageHeight)
        : FWidth(imageWidth), FHeight(imageHeight)
    {
    }
    int32_t ImageWidth() const override { return FWidth; }
    int32_t ImageHeight() const override { return FHeight; }

private:
    int32_t FWidth;
    int32_t FHeight;
};

struct TNewMapCall {
    int32_t Width, Height, LayerCount, PartsWidth, PartsHeight;
    uint8_t BitCount;
    bool FixedAlignment;
};

class TFakeMessageHost : public TWindowMessageHost
{
public:
    std::unique_ptr<TMap> MapObject;
    TSelection Selection;
    std::vector<TSelection> Redrawn;
    std::vector<TSelection> SelectionsSet;
    std::vector<TNewMapCall> NewMaps;
    int CellsChangedCount = 0;
    bool AlignmentNotFixed = false;
    bool NewMapSucceeds = true;

    // A map of width × height cells whose layer l holds l * 1000 + cell index.
    void MakeMap(int32_t width, int32_t height, int32_t layers, uint8_t bitCount = 16)
    {
        MapObject = std::make_unique<TMap>();
        MapObject->Initialize(width, height, 16, 24, bitCount);
        for (int32_t l = 0; l < layers; ++l) {
            std::vector<uint16_t> cells(static_cast<size_t>(width) * height);
            for (size_t i = 0; i < cells.size(); ++i)
                cells[i] = static_cast<uint16_t>(l * 1000 + i);
            MapObject->AddLayer("Layer" + std::to_string(l), nullptr, cells.data());
        }
    }
    uint16_t Cell(int32_t layer, int32_t x, int32_t y) const
    {
        return MapObject->GetLayer(layer).Data[static_cast<size_t>(y * MapObject->Width() + x)];
    }

    TMap *Map() override { return MapObject.get(); }
    TSelection GetSelection() const override { return Selection; }
    void SetSelection(const TSelection &selection) override
    {
        Selection = selection;
        SelectionsSet.push_back(selection);
    }
    void RedrawCells(const TSelection &area) override { Redrawn.push_back(area); }
    void CellsChanged() override { ++CellsChangedCount; }
    bool PartsAlignmentNotFixed() const override { return AlignmentNotFixed; }
    int32_t GetMaxIndex() const override
    {
        return MapObject != nullptr && MapObject->BitCount() == 8 ? 256 : 65536;
    }
    bool CreateNewMap(int32_t width, int32_t height, int32_t layerCount, int32_t partsWidth,
                      int32_t partsHeight, uint8_t bitCount, bool fixedAlignment) override
    {
        NewMaps.push_back(
            {width, height, layerCount, partsWidth, partsHeight, bitCount, fixedAlignment});
        if (!NewMapSucceeds)
            return false;
        MakeMap(width, height, layerCount, bitCount);
        AlignmentNotFixed = !fixedAlignment;
        return true;
    }
};

// A caller's record: bytes with little-endian 32-bit fields.
template <size_t N> struct TRecord {
    std::array<unsigned char, N> Bytes{};

    TRecord() = default;
    explicit TRecord(unsigned char fill) { Bytes.fill(fill); }
    TRecord &Set(size_t offset, int32_t value)
    {
        const uint32_t bits = static_cast<uint32_t>(value);
        for (size_t i = 0; i < 4; ++i)
            Bytes[offset + i] = static_cast<unsigned char>(bits >> (8 * i));
        return *this;
    }
    TRecord &SetByte(size_t offset, unsigned char value)
    {
        Bytes[offset] = value;
        return *this;
    }
    int32_t Get(size_t offset) const
    {
        uint32_t bits = 0;
        for (size_t i = 0; i < 4; ++i)
            bits |= uint32_t{Bytes[offset + i]} << (8 * i);
        return static_cast<int32_t>(bits);
    }
    std::string Text(size_t offset) const
    {
        return std::string(reinterpret_cast<const char *>(Bytes.data() + offset));
    }
    uintptr_t WParam() { return reinterpret_cast<uintptr_t>(Bytes.data()); }
    intptr_t LParam() { return reinterpret_cast<intptr_t>(Bytes.data()); }
};
