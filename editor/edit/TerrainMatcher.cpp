#include "TerrainMatcher.h"

#include <algorithm>
#include <deque>
#include <tuple>

namespace
{

uint64_t Packed(const TWangId &Id)
{
    uint64_t packed = 0;
    for (size_t slot = 0; slot < 8; ++slot)
        packed |= static_cast<uint64_t>(Id[slot]) << (8 * slot);
    return packed;
}

} // namespace

size_t TTerrainMatcher::TKeyHash::operator()(const TKey &Key) const
{
    uint64_t h = Key.Wanted * 0x9E3779B97F4A7C15ull ^ (static_cast<uint64_t>(Key.Hard) << 1);
    h ^= h >> 29;
    return static_cast<size_t>(h);
}

TTerrainMatcher::TTerrainMatcher(const TTerrainTileset &Tileset, const TTerrainSet &Set,
                                 int32_t Columns, int32_t PartsWidth, int32_t PartsHeight,
                                 int32_t Limit)
    : FType(Set.Type), FColours(static_cast<int32_t>(Set.Colours.size())),
      FPartOfChip(static_cast<size_t>(std::max(Limit, 0)), -1)
{
    // Only tiles of the map's part size lying on its parts grid are parts.
    const bool sameSize = Tileset.TileWidth == PartsWidth && Tileset.TileHeight == PartsHeight;
    for (const auto &[tile, id] : Set.Tiles) {
        int32_t x = 0;
        int32_t y = 0;
        if (!sameSize || PartsWidth <= 0 || PartsHeight <= 0 || Columns <= 0 ||
            !Tileset.TilePosition(tile, x, y) || x % PartsWidth != 0 || y % PartsHeight != 0)
            continue;
        const int32_t column = x / PartsWidth;
        if (column >= Columns)
            continue;
        const int64_t chip = static_cast<int64_t>(y / PartsHeight) * Columns + column;
        if (chip >= Limit || FPartOfChip[static_cast<size_t>(chip)] >= 0)
            continue;
        TTerrainPart part;
        part.Chip = static_cast<uint16_t>(chip);
        part.Id = UsedSlots(FType, id);
        part.Weight = Tileset.ProbabilityOf(tile);
        for (int32_t slot = 0; slot < 8; ++slot) {
            const uint8_t colour = part.Id[static_cast<size_t>(slot)];
            if (colour != 0 && colour <= FColours)
                part.Weight *= Set.Colours[colour - 1u].Probability;
        }
        FPartOfChip[static_cast<size_t>(chip)] = static_cast<int32_t>(FParts.size());
        FChipOfTile[tile] = static_cast<int32_t>(chip);
        FParts.push_back(part);
    }

    // Terrains held by one part are one step apart; longer chains by breadth-first search.
    const int32_t n = FColours + 1;
    std::vector<std::vector<uint8_t>> neighbours(static_cast<size_t>(n));
    std::vector<uint8_t> joined(static_cast<size_t>(n) * n, 0);
    for (const TTerrainPart &part : FParts)
        for (uint8_t a : part.Id)
            for (uint8_t b : part.Id)
                if (a != 0 && b != 0 && a != b && a < n && b < n &&
                    !joined[static_cast<size_t>(a) * n + b]) {
                    joined[static_cast<size_t>(a) * n + b] = 1;
                    neighbours[a].push_back(b);
                }
    FDistance.assign(static_cast<size_t>(n) * n, Far);
    for (int32_t from = 0; from < n; ++from) {
        int32_t *row = &FDistance[static_cast<size_t>(from) * n];
        row[from] = 0;
        std::deque<int32_t> queue{from};
        while (!queue.empty()) {
            const int32_t at = queue.front();
            queue.pop_front();
            for (uint8_t next : neighbours[static_cast<size_t>(at)])
                if (row[next] == Far) {
                    row[next] = row[at] + 1;
                    queue.push_back(next);
                }
        }
    }
}

const TTerrainPart *TTerrainMatcher::PartOf(uint16_t Chip) const
{
    if (Chip >= FPartOfChip.size())
        return nullptr;
    const int32_t index = FPartOfChip[Chip];
    return index < 0 ? nullptr : &FParts[static_cast<size_t>(index)];
}

int32_t TTerrainMatcher::ChipOfTile(int32_t TileId) const
{
    const auto found = FChipOfTile.find(TileId);
    return found == FChipOfTile.end() ? -1 : found->second;
}

int32_t TTerrainMatcher::Distance(uint8_t A, uint8_t B) const
{
    if (A > FColours || B > FColours)
        return Far;
    return FDistance[static_cast<size_t>(A) * (FColours + 1) + B];
}

int32_t TTerrainMatcher::Reach(uint8_t From) const
{
    int32_t reach = 0;
    for (int32_t to = 1; to <= FColours; ++to) {
        const int32_t d = Distance(From, static_cast<uint8_t>(to));
        if (d != Far)
            reach = std::max(reach, d);
    }
    return reach;
}

uint8_t TTerrainMatcher::StepToward(uint8_t From, uint8_t Old, int32_t Steps) const
{
    uint8_t best = Old;
    int32_t bestDistance = Far;
    for (int32_t c = 1; c <= FColours; ++c) {
        const auto colour = static_cast<uint8_t>(c);
        if (Distance(From, colour) > Steps)
            continue;
        const int32_t d = Distance(colour, Old);
        if (d < bestDistance) {
            bestDistance = d;
            best = colour;
        }
    }
    return best;
}

const TTerrainMatcher::TCandidates &TTerrainMatcher::Candidates(const TWangId &Wanted,
                                                                uint8_t HardMask) const
{
    const TKey key{Packed(Wanted), HardMask};
    const auto found = FCache.find(key);
    if (found != FCache.end())
        return found->second;
    TCandidates best;
    best.HardMisses = 9;
    best.SoftMisses = 9;
    best.Farness = Far;
    for (size_t i = 0; i < FParts.size(); ++i) {
        const TWangId &id = FParts[i].Id;
        int32_t hard = 0;
        int32_t soft = 0;
        int32_t farness = 0;
        for (size_t slot = 0; slot < 8; ++slot) {
            if (Wanted[slot] == 0 || id[slot] == 0 || id[slot] == Wanted[slot])
                continue;
            if ((HardMask & (1u << slot)) != 0)
                ++hard;
            else
                ++soft;
            farness += std::min(Distance(Wanted[slot], id[slot]), 64);
        }
        const auto score = std::make_tuple(hard, soft, farness);
        const auto bestScore = std::make_tuple(best.HardMisses, best.SoftMisses, best.Farness);
        if (score > bestScore)
            continue;
        if (score < bestScore) {
            best.Parts.clear();
            best.HardMisses = hard;
            best.SoftMisses = soft;
            best.Farness = farness;
        }
        best.Parts.push_back(static_cast<int32_t>(i));
    }
    double total = 0.0;
    for (int32_t part : best.Parts) {
        total += FParts[static_cast<size_t>(part)].Weight;
        best.Cumulative.push_back(total);
    }
    return FCache.emplace(key, std::move(best)).first->second;
}

TTerrainMatcher::TChoice TTerrainMatcher::Choose(const TWangId &Wanted, uint8_t HardMask,
                                                 double Random) const
{
    TChoice choice;
    const TCandidates &candidates = Candidates(Wanted, HardMask);
    if (candidates.Parts.empty())
        return choice;
    choice.HardMisses = candidates.HardMisses;
    choice.SoftMisses = candidates.SoftMisses;
    const double total = candidates.Cumulative.back();
    size_t pick = 0;
    if (total > 0.0) {
        const double target = Random * total;
        pick = static_cast<size_t>(
            std::upper_bound(candidates.Cumulative.begin(), candidates.Cumulative.end(), target) -
            candidates.Cumulative.begin());
        // A part of weight 0 adds nothing to the running sum: it is never drawn while
        // another can be.
        pick = std::min(pick, candidates.Parts.size() - 1);
    } else {
        pick = std::min(static_cast<size_t>(Random * static_cast<double>(candidates.Parts.size())),
                        candidates.Parts.size() - 1);
    }
    choice.Part = candidates.Parts[pick];
    return choice;
}
