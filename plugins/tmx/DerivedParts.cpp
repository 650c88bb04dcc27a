#include "plugins/tmx/DerivedParts.h"

#include "plugins/tmx/TiledError.h"
#include "plugins/tmx/TiledMap.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr int64_t kMaxParts = 65535; // the last number stands for the empty cell
constexpr int64_t kMaxPixels = int64_t{1} << 28;

int32_t CeilDiv(int64_t a, int64_t b)
{
    return static_cast<int32_t>((a + b - 1) / b);
}

} // namespace

TDerivedParts::TDerivedParts(TTilesetSource &Source, int32_t GridWidth, int32_t GridHeight)
    : FSource(Source), FGridWidth(GridWidth), FGridHeight(GridHeight)
{
}

TTilePlacement TDerivedParts::Placement(uint32_t Id, uint32_t Flags, int64_t OffsetX,
                                        int64_t OffsetY) const
{
    int32_t x = 0, y = 0, width = 0, height = 0;
    FSource.TileRectangle(Id, x, y, width, height);
    const TTiledTileset &tileset = FSource.Tileset();
    return PlaceTile(width, height, (Flags & kFlipDiagonal) != 0, OffsetX, OffsetY, FGridWidth,
                     FGridHeight, tileset.RenderAtGridSize, tileset.KeepAspect);
}

void TDerivedParts::Build(int64_t BaseOffsetX, int64_t BaseOffsetY,
                          const std::vector<TTileVariant> &Used)
{
    const auto add = [this](uint32_t id, uint32_t flags, const TTilePlacement &placement) {
        const TKey key{id, flags, placement.PhaseX, placement.PhaseY};
        if (FSlotOf.count(key) != 0)
            return;
        FSlotOf.emplace(key, FSlots.size());
        TSlot slot;
        slot.Placement = placement;
        slot.Id = id;
        slot.Flags = flags;
        FSlots.push_back(slot);
    };
    if (!FSource.IsCollection())
        for (uint32_t id = 0; id < FSource.TileCount(); ++id)
            add(id, 0, Placement(id, 0, BaseOffsetX, BaseOffsetY));
    FBaseSlots = FSlots.size();
    for (const TTileVariant &variant : Used)
        add(variant.Id, variant.Flags,
            Placement(variant.Id, variant.Flags, variant.OffsetX, variant.OffsetY));

    // The base keeps the tileset's columns; variants follow in rows of slots as wide as the
    // widest of them.
    int32_t baseWidth = 0;
    int64_t baseRows = 0;
    if (FBaseSlots != 0) {
        const TTilePlacement &first = FSlots[0].Placement;
        baseWidth = FSource.Columns() * first.Columns;
        baseRows = int64_t{CeilDiv(FSource.TileCount(), FSource.Columns())} * first.Rows;
        for (size_t i = 0; i < FBaseSlots; ++i) {
            FSlots[i].X =
                static_cast<int32_t>(i % static_cast<size_t>(FSource.Columns())) * first.Columns;
            FSlots[i].Y =
                static_cast<int32_t>(i / static_cast<size_t>(FSource.Columns())) * first.Rows;
        }
    }
    int32_t slotWidth = 1;
    int32_t slotHeight = 1;
    for (size_t i = FBaseSlots; i < FSlots.size(); ++i) {
        slotWidth = std::max(slotWidth, FSlots[i].Placement.Columns);
        slotHeight = std::max(slotHeight, FSlots[i].Placement.Rows);
    }
    const size_t extras = FSlots.size() - FBaseSlots;
    int64_t perRow = 1;
    if (baseWidth >= slotWidth)
        perRow = baseWidth / slotWidth;
    else if (FBaseSlots == 0)
        perRow = std::max<int64_t>(1, static_cast<int64_t>(std::ceil(std::sqrt(extras))));
    FColumns = std::max<int32_t>(baseWidth, static_cast<int32_t>(perRow) * slotWidth);
    const int64_t extraRows =
        extras == 0 ? 0 : (static_cast<int64_t>(extras) + perRow - 1) / perRow * slotHeight;
    for (size_t i = FBaseSlots; i < FSlots.size(); ++i) {
        const int64_t k = static_cast<int64_t>(i - FBaseSlots);
        FSlots[i].X = static_cast<int32_t>(k % perRow) * slotWidth;
        FSlots[i].Y = static_cast<int32_t>(baseRows + k / perRow * slotHeight);
    }
    const int64_t rows = baseRows + extraRows;
    if (int64_t{FColumns} * rows > kMaxParts ||
        int64_t{FColumns} * FGridWidth * rows * FGridHeight > kMaxPixels)
        ThrowNotSupported(FSource.Tileset().FileName,
                          FSource.Describe() + " becomes " + std::to_string(FColumns * rows) +
                              " parts of the map's grid, more than a layer can number (" +
                              std::to_string(kMaxParts) + ")");
    FRows = static_cast<int32_t>(rows);
    FImage.Resize(FColumns * FGridWidth, FRows * FGridHeight);
    for (size_t i = 0; i < FImage.Pixels.size(); i += 4) {
        FImage.Pixels[i] = 255; // transparent, as the parts reader shows it
        FImage.Pixels[i + 2] = 255;
    }
    FMasks.assign(static_cast<size_t>(FColumns) * static_cast<size_t>(FRows), {});
    FShows.assign(FMasks.size(), false);
    for (const TSlot &slot : FSlots)
        Draw(slot);
    for (size_t i = 3; i < FImage.Pixels.size() && !FTransparent; i += 4)
        FTransparent = FImage.Pixels[i] < 128;
}

void TDerivedParts::Draw(const TSlot &Slot)
{
    int32_t x = 0, y = 0, width = 0, height = 0;
    FSource.TileRectangle(Slot.Id, x, y, width, height);
    const TRgbaImage drawn = DrawTile(FSource.SourcePixels(Slot.Id), x, y, width, height,
                                      Slot.Flags, Slot.Placement.Width, Slot.Placement.Height);
    const size_t words = (static_cast<size_t>(FGridWidth) * FGridHeight + 63) / 64;
    for (int32_t row = 0; row < Slot.Placement.Rows; ++row)
        for (int32_t column = 0; column < Slot.Placement.Columns; ++column) {
            const int32_t left = (Slot.X + column) * FGridWidth;
            const int32_t top = (Slot.Y + row) * FGridHeight;
            CopyPart(drawn, Slot.Placement, column, row, FGridWidth, FGridHeight, FImage, left,
                     top);
            std::vector<uint64_t> mask(words, 0);
            bool shows = false;
            for (int32_t py = 0; py < FGridHeight; ++py)
                for (int32_t px = 0; px < FGridWidth; ++px)
                    if (FImage.At(left + px, top + py)[3] >= 128) {
                        const size_t bit = static_cast<size_t>(py) * FGridWidth + px;
                        mask[bit / 64] |= uint64_t{1} << (bit % 64);
                        shows = true;
                    }
            const size_t part = static_cast<size_t>(Slot.Y + row) * FColumns + Slot.X + column;
            FMasks[part] = std::move(mask);
            FShows[part] = shows;
        }
}

std::vector<TTilePart> TDerivedParts::PartsOf(const TTileVariant &Variant) const
{
    const TTilePlacement placement =
        Placement(Variant.Id, Variant.Flags, Variant.OffsetX, Variant.OffsetY);
    const TSlot &slot =
        FSlots[FSlotOf.at(TKey{Variant.Id, Variant.Flags, placement.PhaseX, placement.PhaseY})];
    // A tile of one part keeps its cell even when it shows nothing; a larger one leaves out
    // the parts it does not reach into.
    const bool single = placement.Columns == 1 && placement.Rows == 1;
    std::vector<TTilePart> parts;
    for (int32_t row = 0; row < placement.Rows; ++row)
        for (int32_t column = 0; column < placement.Columns; ++column) {
            const size_t part = static_cast<size_t>(slot.Y + row) * FColumns + slot.X + column;
            if (!FShows[part] && !single)
                continue;
            parts.push_back(
                {placement.DeltaX + column, placement.DeltaY + row, static_cast<uint16_t>(part)});
        }
    return parts;
}

int32_t TDerivedParts::SinglePart(uint32_t Id) const
{
    if (Id >= FBaseSlots)
        return -1;
    const TSlot &slot = FSlots[Id];
    if (slot.Placement.Columns != 1 || slot.Placement.Rows != 1)
        return -1;
    return slot.Y * FColumns + slot.X;
}

void TDerivedParts::AddMasks(TPartMasks &Masks, int32_t ImageIndex) const
{
    for (size_t part = 0; part < FMasks.size(); ++part)
        if (!FMasks[part].empty())
            Masks.SetMask(ImageIndex, static_cast<uint16_t>(part), FMasks[part]);
}
