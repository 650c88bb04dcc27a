// Whole-map and whole-layer transforms: resize, cyclic scroll, renumbering, replace, scan.
#include "MapDataUnit.h"

#include "LayerParkingFile.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace
{

void Report(const TProgressProc &progress, int32_t position, int32_t total, const char *message)
{
    if (progress)
        progress(position, total, message);
}

int32_t Wrap(int64_t value, int32_t size)
{
    int64_t wrapped = value % size;
    if (wrapped < 0)
        wrapped += size;
    return static_cast<int32_t>(wrapped);
}

} // namespace

// Every layer's old cells are parked in one temporary file before any layer changes, so
// only one new layer is held beside the map at a time, and a failure half-way can put
// every layer back as it was.
void TMap::ResizeMap(int32_t NewWidth, int32_t NewHeight, const TProgressProc &Progress,
                     uint16_t FillValue, uint8_t /*VerticalAnchor*/, uint8_t /*HorizontalAnchor*/)
{
    // The editor always keeps the top-left corner: old cells keep their coordinates.
    if (NewWidth == FWidth && NewHeight == FHeight)
        return;
    if (NewWidth <= 0 || NewHeight <= 0)
        throw EMapAbort("TMap.ResizeMap : failed");

    const int64_t oldWidth = FWidth;
    const int64_t oldHeight = FHeight;
    const int64_t oldCells = oldWidth * oldHeight;
    const int64_t copiedColumns = std::min<int64_t>(NewWidth, oldWidth);
    const int64_t copiedRows = std::min<int64_t>(NewHeight, oldHeight);
    const int64_t steps64 = static_cast<int64_t>(LayerCount()) * NewHeight;
    const int32_t steps = static_cast<int32_t>(std::min<int64_t>(steps64, INT32_MAX));

    TLayerParkingFile parking;
    size_t rebuilt = 0;
    try {
        parking.Open("LAY");
        Report(Progress, -steps, -steps, "initializing...");
        for (const TMapLayer &layer : FLayers) {
            parking.Write(layer.Data.data(), static_cast<size_t>(oldCells));
            Report(Progress, -2, -2, "store data...");
        }
        parking.Flush();

        int64_t rowsDone = 0;
        std::vector<uint16_t> row(static_cast<size_t>(copiedColumns));
        for (size_t l = 0; l < FLayers.size(); ++l) {
            std::vector<uint16_t> &cells = FLayers[l].Data;
            // The new cells exist before the old ones go, so a size that cannot be had
            // leaves this layer untouched; the old cells are parked, so freeing them keeps
            // the peak at the map plus one new layer.
            std::vector<uint16_t> fresh(
                static_cast<size_t>(static_cast<int64_t>(NewWidth) * NewHeight), FillValue);
            cells.swap(fresh);
            ++rebuilt;
            std::vector<uint16_t>().swap(fresh);
            const uint64_t layerStart = static_cast<uint64_t>(l) * static_cast<uint64_t>(oldCells);
            for (int64_t i = 0; i < NewHeight; ++i, ++rowsDone) {
                Report(Progress, static_cast<int32_t>(std::min<int64_t>(rowsDone, INT32_MAX)),
                       steps, "processing...");
                if (i >= copiedRows || copiedColumns == 0)
                    continue;
                parking.Read(layerStart + static_cast<uint64_t>(i * oldWidth), row.data(),
                             row.size());
                std::memcpy(cells.data() + i * NewWidth, row.data(), row.size() * sizeof(uint16_t));
            }
        }
    } catch (...) {
        // Put every layer that was already rebuilt back as it was.
        try {
            for (size_t l = 0; l < rebuilt; ++l) {
                std::vector<uint16_t> &cells = FLayers[l].Data;
                std::vector<uint16_t>().swap(cells);
                cells.resize(static_cast<size_t>(oldCells));
                parking.Read(static_cast<uint64_t>(l) * static_cast<uint64_t>(oldCells),
                             cells.data(), cells.size());
            }
        } catch (...) {
            // Nothing more can be done; the original failure is what the caller sees.
        }
        Report(Progress, -1, -1, "finishing...");
        parking.Remove();
        throw;
    }
    Report(Progress, -1, -1, "finishing...");
    parking.Remove();
    FWidth = NewWidth;
    FHeight = NewHeight;
    FModified = true;
}

bool TMap::ScrollMap(int32_t DX, int32_t DY, int32_t LayerIndex, const TProgressProc &Progress)
{
    if (LayerIndex != -1 && (LayerIndex < 0 || LayerIndex >= LayerCount()))
        return false;
    if (FWidth <= 0 || FHeight <= 0)
        return false;
    const int32_t first = LayerIndex == -1 ? 0 : LayerIndex;
    const int32_t count = LayerIndex == -1 ? LayerCount() % 256 : 1;
    // Offsets beyond the map wrap as often as they go round.
    const int32_t shiftX = Wrap(DX, FWidth);
    const int32_t shiftY = Wrap(DY, FHeight);

    Report(Progress, -count, -count, "initializing...");
    const int32_t groupSlot = FModifyCursor;
    try {
        BeginModify();
        for (int32_t n = 0; n < count; ++n) {
            const int32_t layerIndex = first + n;
            Report(Progress, n, count, "processing...");
            PrepareLayerRecord(layerIndex);
            TModifyRecord &record = CursorRecord();
            std::vector<uint16_t> &cells = FLayers[static_cast<size_t>(layerIndex)].Data;
            if (static_cast<int64_t>(cells.size()) != CellCount())
                throw EMapAbort("TMap.ScrollMap : failed");
            // All memory is had before the first cell moves, so a failure never leaves a
            // layer half scrolled.
            record.After.reserve(cells.size());
            // Before holds the old cells and serves as the scratch copy.
            const size_t width = static_cast<size_t>(FWidth);
            const size_t head = width - static_cast<size_t>(shiftX);
            for (int64_t y = 0; y < FHeight; ++y) {
                const int64_t sy = (y + shiftY) % FHeight;
                const uint16_t *source = record.Before.data() + sy * FWidth;
                uint16_t *target = cells.data() + y * FWidth;
                // target[x] = source[(x + shiftX) mod width]
                std::memcpy(target, source + shiftX, head * sizeof(uint16_t));
                std::memcpy(target + head, source, static_cast<size_t>(shiftX) * sizeof(uint16_t));
            }
            record.After.assign(cells.begin(), cells.end());
            record.Count = static_cast<int32_t>(std::min<int64_t>(CellCount(), INT32_MAX));
            NextRecord();
        }
    } catch (...) {
        // Layers already scrolled go back, and the group vanishes from the log.
        AbandonGroup(groupSlot);
        Report(Progress, -1, -1, "finishing...");
        throw EMapAbort("TMap.ScrollMap : failed");
    }
    Report(Progress, -1, -1, "finishing...");
    EndModify();
    FModified = true;
    return true;
}

void TMap::RemapChipNumbers(int32_t OldColumns, int32_t NewColumns, uint8_t BitCount,
                            uint16_t DefaultValue, int32_t LayerIndex)
{
    FBitCount = BitCount;
    if (LayerIndex < 0 || LayerIndex >= LayerCount() || OldColumns <= 0)
        return;
    const int64_t limit = BitCount >= 16 ? 65536 : 256;
    TMapLayer &layer = FLayers[static_cast<size_t>(LayerIndex)];
    int64_t partsAcross = -1;
    int64_t partsDown = -1;
    if (layer.Chip != nullptr && layer.Chip->Image != nullptr && FPartsWidth > 0 &&
        FPartsHeight > 0) {
        const int64_t imageWidth = layer.Chip->Image->ImageWidth();
        const int64_t imageHeight = layer.Chip->Image->ImageHeight();
        partsAcross = (imageWidth + FPartsWidth - 1) / FPartsWidth;
        partsDown = (imageHeight + FPartsHeight - 1) / FPartsHeight;
    }
    for (uint16_t &cell : layer.Data) {
        const int64_t column = cell % OldColumns;
        const int64_t row = cell / OldColumns;
        int64_t value = column + static_cast<int64_t>(NewColumns) * row;
        if (partsAcross >= 0 && (column >= partsAcross || row >= partsDown))
            value = DefaultValue;
        cell = (value >= 0 && value < limit) ? static_cast<uint16_t>(value) : DefaultValue;
    }
}

int64_t TMap::CountRemapOverflows(int32_t OldColumns, int32_t NewColumns, uint8_t BitCount,
                                  int32_t LayerIndex) const
{
    if (LayerIndex < 0 || LayerIndex >= LayerCount() || OldColumns <= 0)
        return 0;
    const int64_t limit = BitCount >= 16 ? 65536 : 256;
    int64_t overflows = 0;
    for (const uint16_t cell : FLayers[static_cast<size_t>(LayerIndex)].Data) {
        const int64_t value =
            cell % OldColumns + static_cast<int64_t>(NewColumns) * (cell / OldColumns);
        overflows += value >= limit;
    }
    return overflows;
}

bool TMap::ReplaceChip(uint16_t FindValue, uint16_t ReplaceValue, int32_t LayerIndex)
{
    if (LayerIndex < 0 || LayerIndex >= LayerCount())
        return false;
    try {
        BeginModify();
        PrepareLayerRecord(LayerIndex);
        TModifyRecord &record = CursorRecord();
        std::vector<uint16_t> &cells = FLayers[static_cast<size_t>(LayerIndex)].Data;
        const size_t count = std::min(cells.size(), record.Before.size());
        for (size_t i = 0; i < count; ++i) {
            if (cells[i] == FindValue)
                cells[i] = ReplaceValue;
        }
        record.After.assign(cells.begin(), cells.end());
        record.Count = static_cast<int32_t>(std::min<size_t>(count, INT32_MAX));
        NextRecord();
        EndModify();
        FModified = true;
        return true;
    } catch (const std::bad_alloc &) {
        return false;
    }
}

int64_t TMap::FindChip(uint16_t Value, int32_t LayerIndex, int64_t StartIndex) const
{
    if (LayerIndex < 0 || LayerIndex >= LayerCount())
        return -1;
    const std::vector<uint16_t> &cells = FLayers[static_cast<size_t>(LayerIndex)].Data;
    if (StartIndex < 0)
        StartIndex = 0;
    if (StartIndex >= static_cast<int64_t>(cells.size()))
        return -1;
    const auto hit = std::find(cells.begin() + StartIndex, cells.end(), Value);
    return hit == cells.end() ? -1 : hit - cells.begin();
}
