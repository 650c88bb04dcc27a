// One terrain set as a layer's parts numbering sees it: which part (chip number) each of the
// set's tiles is, the wang id and weight of every part that takes part, how many steps of
// transitions lie between two terrains, and which parts fit wanted corners and edges. The
// answers for a wanted id are kept, so a large fill asks the set once per kind of cell.
#pragma once

#include "editor/map/TerrainSet.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

struct TTerrainPart {
    uint16_t Chip = 0;
    TWangId Id{};
    // The tile's probability times that of each terrain on it.
    double Weight = 1.0;
};

class TTerrainMatcher
{
public:
    // Columns: part columns of the layer's numbering; PartsWidth, PartsHeight: the map's part
    // size (tiles of another size, or off the parts grid, take no part); Limit: the map's
    // value limit.
    TTerrainMatcher(const TTerrainTileset &Tileset, const TTerrainSet &Set, int32_t Columns,
                    int32_t PartsWidth, int32_t PartsHeight, int32_t Limit);

    TTerrainSetType Type() const { return FType; }
    int32_t ColourCount() const { return FColours; }
    const std::vector<TTerrainPart> &Parts() const { return FParts; }
    // The set's part with this chip number; null when the chip takes no part.
    const TTerrainPart *PartOf(uint16_t Chip) const;
    // The chip number a tile id of the set became; -1 when it takes no part.
    int32_t ChipOfTile(int32_t TileId) const;

    // Steps of transitions between two terrains: 0 for the same, 1 when a part holds both,
    // and so on; Far when no chain of parts joins them.
    static constexpr int32_t Far = 1 << 20;
    int32_t Distance(uint8_t A, uint8_t B) const;
    // The farthest terrain that can still be reached from From.
    int32_t Reach(uint8_t From) const;
    // A terrain at most Steps from From that lies closest to Old: what a place that held Old
    // becomes Steps away from a place painted From.
    uint8_t StepToward(uint8_t From, uint8_t Old, int32_t Steps) const;

    // The best part for a cell that wants Wanted (0: any) in its used places, where the
    // places in HardMask (bit n for place n) are settled and the others may still give way:
    // fewest settled places missed first, then fewest unsettled ones, then the missed
    // terrains nearest (in transitions) to the wanted ones; among equals one by weight,
    // Random being in [0, 1).
    struct TChoice {
        int32_t Part = -1; // index into Parts(), -1 when the set has none
        int32_t HardMisses = 0;
        int32_t SoftMisses = 0;
    };
    TChoice Choose(const TWangId &Wanted, uint8_t HardMask, double Random) const;

private:
    struct TKey {
        uint64_t Wanted;
        uint8_t Hard;
        bool operator==(const TKey &) const = default;
    };
    struct TKeyHash {
        size_t operator()(const TKey &Key) const;
    };
    struct TCandidates {
        std::vector<int32_t> Parts;
        std::vector<double> Cumulative; // running weights; all zero: any part alike
        int32_t HardMisses = 0;
        int32_t SoftMisses = 0;
        int32_t Farness = 0;
    };
    const TCandidates &Candidates(const TWangId &Wanted, uint8_t HardMask) const;

    TTerrainSetType FType;
    int32_t FColours = 0;
    std::vector<TTerrainPart> FParts;
    std::vector<int32_t> FPartOfChip; // by chip number, -1 for none
    std::unordered_map<int32_t, int32_t> FChipOfTile;
    std::vector<int32_t> FDistance; // (FColours + 1)², terrain 0 included
    mutable std::unordered_map<TKey, TCandidates, TKeyHash> FCache;
};
