// TMap: lifecycle, queries, the layer list, layer properties and the block read.
#include "MapDataUnit.h"

#include "DialogSeam.h"
#include "common/platform/LargeBuffer.h"

#include <algorithm>
#include <chrono>
#include <new>

TMap::TMap()
{
    FModifyRecords.resize(1);
    // Revisions go on from the clock, so a map made later at the same address never gives
    // its cells a number a copy of an earlier map's cells was taken at: the clock runs far
    // faster than any map changes.
    FLastRevision = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch() /
                                          std::chrono::nanoseconds(1));
}

std::vector<uint16_t> &TMap::ChangingCells(int32_t Layer)
{
    TMapLayer &layer = FLayers[static_cast<size_t>(Layer)];
    layer.Revision = NewRevision();
    return layer.Data;
}

TMap::~TMap()
{
    FReady = false;
}

bool TMap::Initialize(int32_t Width, int32_t Height, int32_t PartsWidth, int32_t PartsHeight,
                      uint8_t BitCount)
{
    FWidth = Width;
    FHeight = Height;
    FPartsWidth = PartsWidth;
    FPartsHeight = PartsHeight;
    FBitCount = BitCount;
    FlushModify();
    FReady = false;
    FModified = true;
    return true;
}

void TMap::ClearLayers()
{
    FLayers.clear();
    FLayers.shrink_to_fit();
    FReady = false;
}

void TMap::GetSize(int32_t &Width, int32_t &Height) const
{
    Width = FWidth;
    Height = FHeight;
}

void TMap::GetPartsSize(int32_t &PartsWidth, int32_t &PartsHeight) const
{
    PartsWidth = FPartsWidth;
    PartsHeight = FPartsHeight;
}

void TMap::SetPartsSize(uint16_t PartsWidth, uint16_t PartsHeight)
{
    FPartsWidth = PartsWidth;
    FPartsHeight = PartsHeight;
}

bool TMap::IsValidLayer(int32_t Index) const
{
    return Index >= 0 && Index <= LayerCount() - 1 && Index <= 255;
}

namespace
{

// Builds a layer; running out of memory becomes the map's abort with Failure.
template <typename FillCells>
void AppendLayer(std::vector<TMapLayer> &layers, const char *failure, FillCells fillCells,
                 const std::string &name, TMapChip *chip, bool visible, uint64_t revision)
{
    try {
        TMapLayer layer;
        fillCells(layer.Data);
        layer.Revision = revision;
        layer.Chip = chip;
        layer.Name = name;
        layer.Visible = visible;
        layers.push_back(std::move(layer));
    } catch (const std::bad_alloc &) {
        throw EMapAbort(failure);
    } catch (const std::length_error &) {
        throw EMapAbort(failure);
    }
}

} // namespace

bool TMap::AddLayer(const std::string &Name, TMapChip *Chip, int32_t FillValue)
{
    const size_t cells = static_cast<size_t>(std::max<int64_t>(CellCount(), 0));
    AppendLayer(
        FLayers, "failed : create layer.",
        [&](std::vector<uint16_t> &data) {
            data.reserve(cells);
            AdviseHugePages(data.data(), cells * sizeof(uint16_t));
            data.assign(cells, static_cast<uint16_t>(FillValue & 0xFFFF));
        },
        Name, Chip, true, NewRevision());
    FReady = true;
    FModified = true;
    return true;
}

bool TMap::AddLayer(const std::string &Name, TMapChip *Chip, const uint16_t *Cells)
{
    if (Cells == nullptr)
        return AddLayer(Name, Chip, 0);
    const int64_t cells = std::max<int64_t>(CellCount(), 0);
    AppendLayer(
        FLayers, "failed : create layer.",
        [&](std::vector<uint16_t> &data) {
            data.reserve(static_cast<size_t>(cells));
            AdviseHugePages(data.data(), static_cast<size_t>(cells) * sizeof(uint16_t));
            data.assign(Cells, Cells + cells);
        },
        Name, Chip, true, NewRevision());
    FReady = true;
    FModified = true;
    return true;
}

bool TMap::AddLayer(const std::string &Name, TMapChip *Chip, std::vector<uint16_t> &&Cells)
{
    if (static_cast<int64_t>(Cells.size()) != std::max<int64_t>(CellCount(), 0))
        throw EMapAbort("failed : create layer.");
    AppendLayer(
        FLayers, "failed : create layer.",
        [&](std::vector<uint16_t> &data) { data = std::move(Cells); }, Name, Chip, true,
        NewRevision());
    FReady = true;
    FModified = true;
    return true;
}

bool TMap::DuplicateLayer(int32_t Index, const std::string &Name)
{
    if (Index < 0 || Index >= LayerCount())
        throw EMapAbort("failed : dup layer");
    const TMapLayer &source = FLayers[static_cast<size_t>(Index)];
    const std::vector<uint16_t> &cells = source.Data;
    AppendLayer(
        FLayers, "failed : dup layer", [&](std::vector<uint16_t> &data) { data = cells; }, Name,
        source.Chip, source.Visible, NewRevision());
    FModified = true;
    return true;
}

void TMap::DeleteLayer(int32_t Index)
{
    if (Index < 0 || Index >= LayerCount())
        return;
    FLayers.erase(FLayers.begin() + Index);
    FModified = true;
}

void TMap::SwapLayers(int32_t A, int32_t B)
{
    if (A < 0 || A >= LayerCount() || B < 0 || B >= LayerCount())
        return;
    std::swap(FLayers[static_cast<size_t>(A)], FLayers[static_cast<size_t>(B)]);
    FModified = true;
}

bool TMap::MergeLayer(int32_t Dest, int32_t Source, uint16_t Transparent)
{
    if (!IsValidLayer(Dest) || !IsValidLayer(Source))
        return false;
    std::vector<uint16_t> &dest = ChangingCells(Dest);
    const std::vector<uint16_t> &source = FLayers[static_cast<size_t>(Source)].Data;
    const size_t count = std::min(dest.size(), source.size());
    for (size_t i = 0; i < count; ++i) {
        if (source[i] != Transparent)
            dest[i] = source[i];
    }
    DeleteLayer(Source);
    FModified = true;
    return true;
}

std::string TMap::GetLayerName(int32_t Index) const
{
    if (!IsValidLayer(Index))
        return std::string();
    return FLayers[static_cast<size_t>(Index)].Name;
}

void TMap::SetLayerName(int32_t Index, const std::string &Name)
{
    if (IsValidLayer(Index))
        FLayers[static_cast<size_t>(Index)].Name = Name;
    FModified = true;
}

TMapChip *TMap::GetLayerChip(int32_t Index) const
{
    if (Index < 0 || Index >= LayerCount())
        return nullptr;
    return FLayers[static_cast<size_t>(Index)].Chip;
}

void TMap::SetLayerChip(int32_t Index, TMapChip *Chip)
{
    if (Index >= 0 && Index < LayerCount())
        FLayers[static_cast<size_t>(Index)].Chip = Chip;
    FModified = true;
}

void TMap::ClearLayerChip(int32_t Index)
{
    if (Index < 0 || Index >= LayerCount())
        return;
    TMapLayer &layer = FLayers[static_cast<size_t>(Index)];
    if (layer.Chip != nullptr) {
        layer.Chip = nullptr;
        FModified = true;
    }
}

bool TMap::GetLayerVisible(int32_t Index) const
{
    if (Index < 0 || Index >= LayerCount())
        return false;
    return FLayers[static_cast<size_t>(Index)].Visible;
}

void TMap::SetLayerVisible(int32_t Index, bool Visible)
{
    if (Index >= 0 && Index < LayerCount())
        FLayers[static_cast<size_t>(Index)].Visible = Visible;
}

void TMap::ReportLayerNotFound(int32_t Layer) const
{
    Dialogs().ShowMessageBox(mkError, "not found layer(layer:" + std::to_string(Layer) + ")");
}

bool TMap::ReadData(TModified &Request) const
{
    if (Request.Layer > LayerCount() - 1 || Request.Layer < 0) {
        ReportLayerNotFound(Request.Layer);
        return false;
    }
    const TSelection &source = Request.Source;
    if (source.DX < 0 || source.DY < 0) {
        Request.Data.clear();
        return true;
    }
    const std::vector<uint16_t> &cells = FLayers[static_cast<size_t>(Request.Layer)].Data;
    const int64_t columns = static_cast<int64_t>(source.DX) + 1;
    const int64_t rows = static_cast<int64_t>(source.DY) + 1;
    Request.Data.assign(static_cast<size_t>(columns * rows), 0);
    // Cells outside the layer read as 0: the caller should have clipped the block,
    // but a stale or foreign block must not reach past the cells.
    for (int64_t i = 0; i < rows; ++i) {
        for (int64_t j = 0; j < columns; ++j) {
            const int64_t cell = static_cast<int64_t>(source.Index) + i * FWidth + j;
            if (cell >= 0 && cell < static_cast<int64_t>(cells.size()))
                Request.Data[static_cast<size_t>(j + i * columns)] =
                    cells[static_cast<size_t>(cell)];
        }
    }
    return true;
}
