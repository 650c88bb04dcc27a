// The texts of the parts window's terrain mode, with their English defaults: the language
// files' section "Terrain". The shell lists them with the other sections and hands the
// window a reader of the catalogue; without one the English texts are shown.
#pragma once

namespace TerrainText
{
inline constexpr const char *Section = "Terrain";

struct TEntry {
    const char *Key;
    const char *Default;
};

inline constexpr TEntry SetLabel{"set", "Set:"};
inline constexpr TEntry NoSet{"noset", "(no terrain set)"};
inline constexpr TEntry Corner{"corner", "Corner"};
inline constexpr TEntry Edge{"edge", "Edge"};
inline constexpr TEntry Mixed{"mixed", "Mixed"};
inline constexpr TEntry NewSetName{"newset", "New set name"};
inline constexpr TEntry AddSet{"addset", "Add set"};
inline constexpr TEntry TerrainLabel{"terrain", "Terrain:"};
inline constexpr TEntry NoTerrain{"noterrain", "(no terrain)"};
inline constexpr TEntry NewTerrainName{"newterrain", "New terrain name"};
inline constexpr TEntry TerrainColour{"colour", "Colour..."};
inline constexpr TEntry AddTerrain{"addterrain", "Add terrain"};
inline constexpr TEntry Layout16{"layout16", "From layout: 16 corners"};
inline constexpr TEntry Layout47{"layout47", "From layout: 47 blob"};
inline constexpr TEntry Undo{"undo", "Undo"};
inline constexpr TEntry Redo{"redo", "Redo"};
inline constexpr TEntry PickTopLeft{"picktopleft", "Click the block's top-left part"};
inline constexpr TEntry Chosen{"chosen", "Terrain"};
inline constexpr TEntry NeedTwoTerrains{
    "needtwo", "The layout needs two terrains: the one chosen and another of the set."};
inline constexpr TEntry NeedCornerSet{"needcorner", "The 16-part layout needs a corner set."};
inline constexpr TEntry NeedMixedSet{"needmixed", "The 47-part layout needs a mixed set."};
inline constexpr TEntry NoImage{"noimage", "The current layer has no parts image."};
inline constexpr TEntry OtherTileSize{
    "othersize", "The tileset's tiles (%s) are not the map's parts: its terrains cannot be used."};
inline constexpr TEntry CannotRead{"cannotread", "The terrain sets of %s cannot be read: %s"};
inline constexpr TEntry CannotWrite{"cannotwrite", "The terrain sets cannot be written to %s: %s"};
inline constexpr TEntry BrushStatus{"brush", "Terrain brush"};
inline constexpr TEntry Square{"square", "square"};
inline constexpr TEntry Round{"round", "round"};

inline constexpr TEntry All[] = {
    SetLabel,        NoSet,         Corner,       Edge,           Mixed,         NewSetName,
    AddSet,          TerrainLabel,  NoTerrain,    NewTerrainName, TerrainColour, AddTerrain,
    Layout16,        Layout47,      Undo,         Redo,           PickTopLeft,   Chosen,
    NeedTwoTerrains, NeedCornerSet, NeedMixedSet, NoImage,        OtherTileSize, CannotRead,
    CannotWrite,     BrushStatus,   Square,       Round,
};
} // namespace TerrainText
