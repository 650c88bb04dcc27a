#include "plugins/tmx/LayerPlacement.h"

void TPartMasks::SetMask(int32_t Image, uint16_t Chip, std::vector<uint64_t> Bits)
{
    if (FMasks.size() <= static_cast<size_t>(Image))
        FMasks.resize(static_cast<size_t>(Image) + 1);
    std::vector<std::vector<uint64_t>> &chips = FMasks[static_cast<size_t>(Image)];
    if (chips.size() <= Chip)
        chips.resize(size_t{Chip} + 1);
    chips[Chip] = std::move(Bits);
}

const std::vector<uint64_t> *TPartMasks::MaskOf(int32_t Image, uint16_t Chip) const
{
    if (static_cast<size_t>(Image) >= FMasks.size())
        return nullptr;
    const std::vector<std::vector<uint64_t>> &chips = FMasks[static_cast<size_t>(Image)];
    if (Chip >= chips.size() || chips[Chip].empty())
        return nullptr;
    return &chips[Chip];
}

bool TPartMasks::Opaque(int32_t Image, uint16_t Chip, size_t Pixels) const
{
    const std::vector<uint64_t> *mask = MaskOf(Image, Chip);
    if (mask == nullptr)
        return false;
    for (size_t bit = 0; bit < Pixels; ++bit)
        if (((*mask)[bit / 64] >> (bit % 64) & 1) == 0)
            return false;
    return true;
}

bool TPartMasks::Overlap(int32_t ImageA, uint16_t ChipA, int32_t ImageB, uint16_t ChipB)
{
    const std::vector<uint64_t> *a = MaskOf(ImageA, ChipA);
    const std::vector<uint64_t> *b = MaskOf(ImageB, ChipB);
    if (a == nullptr || b == nullptr)
        return true;
    const uint64_t key = static_cast<uint64_t>(ImageA & 0xFFFF) << 48 | uint64_t{ChipA} << 32 |
                         static_cast<uint64_t>(ImageB & 0xFFFF) << 16 | ChipB;
    const auto known = FKnown.find(key);
    if (known != FKnown.end())
        return known->second;
    bool overlap = false;
    for (size_t i = 0; i < a->size() && i < b->size() && !overlap; ++i)
        overlap = ((*a)[i] & (*b)[i]) != 0;
    FKnown.emplace(key, overlap);
    return overlap;
}

bool TLayerStack::Place(const std::vector<TTilePart> &Parts, int32_t Image, int64_t X, int64_t Y)
{
    // Cells are drawn one by one, so each part needs only to be above the earlier parts
    // of its own cell that it draws over.
    for (const TTilePart &part : Parts) {
        const int64_t x = X + part.DeltaX;
        const int64_t y = Y + part.DeltaY;
        if (!Inside(x, y))
            continue;
        const size_t cell =
            static_cast<size_t>(y) * static_cast<size_t>(FWidth) + static_cast<size_t>(x);
        size_t lowest = 0;
        for (size_t k = FLayers.size(); k > 0; --k) {
            const TStackLayer &layer = FLayers[k - 1];
            const uint16_t there = layer.Cells[cell];
            if (there != kNoPart && FMasks.Overlap(layer.Image, there, Image, part.Chip)) {
                lowest = k;
                break;
            }
        }
        size_t chosen = lowest;
        while (chosen < FLayers.size() &&
               (FLayers[chosen].Image != Image || FLayers[chosen].Cells[cell] != kNoPart))
            ++chosen;
        if (chosen == FLayers.size()) {
            if (FLayers.size() >= FMaxLayers)
                return false;
            TStackLayer layer;
            layer.Image = Image;
            layer.Cells.assign(static_cast<size_t>(FWidth) * static_cast<size_t>(FHeight), kNoPart);
            FLayers.push_back(std::move(layer));
        }
        FLayers[chosen].Cells[cell] = part.Chip;
    }
    return true;
}
