// Terrain painting without a window: an edit controller on a map of its own, a fake window
// that records what it is asked to show, and tilesets of known wang ids made up here.
#pragma once

#include "editor/edit/EditController.h"
#include "editor/map/TerrainLayouts.h"
#include "tests/map/MapTestSupport.h"
#include "tests/support/ScriptedDialogSeam.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// What the controller asks of the main window and of the parts window, kept in fields.
class TFakeTerrainWindow : public TEditWindow, public TTerrainWindow
{
public:
    int32_t Layer = 0;
    bool Shown = true;
    int32_t Columns = 16;
    TTerrainTileset *Tileset = nullptr;
    TTerrainChoice Choice;
    bool FillTerrain = false;
    std::vector<TSelection> Updated;
    int32_t Refreshes = 0;

    void UpdateCanvas(int32_t X, int32_t Y, int32_t DX, int32_t DY) override
    {
        Updated.push_back({1, X, Y, DX, DY, 0});
    }
    void RedrawAll() override {}
    void RefreshOverview() override {}
    void RefreshOverviewCells(const TSelection &) override {}
    void RefreshCommands() override { ++Refreshes; }
    void ShowSelectionStatus() override {}
    int32_t CurrentLayer() const override { return Layer; }
    bool LayerShown(int32_t) const override { return Shown; }
    bool PickedParts(TModified &) const override { return false; }
    TSelection PickedPartsArea() const override { return {}; }
    void MarkPickedPart(int32_t) override {}
    int32_t ImageColumns(uint8_t, int32_t) const override { return Columns; }
    void PartsLayoutChanged() override {}
    void ViewLayoutChanged() override {}
    void ChooseTool(uint8_t) override {}
    void RestoreToolCursor() override {}
    void ClearCursorFrame() override {}
    void ScrollView(int32_t, int32_t) override {}
    void GestureEnded() override {}

    const TTerrainTileset *TerrainsOfLayer(int32_t) override { return Tileset; }
    TTerrainChoice ChosenTerrain() const override { return Choice; }
    void ChooseTerrain(const TTerrainChoice &Picked) override { Choice = Picked; }
    bool FillsTerrain() const override { return FillTerrain; }
};

// A tileset of 16 × 16 tiles in Columns columns, without sets yet.
inline TTerrainTileset MakeTileset(int32_t Columns, int32_t Rows)
{
    TTerrainTileset tileset;
    tileset.TileWidth = 16;
    tileset.TileHeight = 16;
    tileset.Columns = Columns;
    tileset.TileCount = Columns * Rows;
    return tileset;
}

inline TTerrainSet MakeSet(TTerrainSetType Type, std::vector<std::string> Names)
{
    TTerrainSet set;
    set.Name = "Set";
    set.Type = Type;
    for (const std::string &name : Names)
        set.Colours.push_back({name, 0x336699, -1, 1.0});
    return set;
}

// The layout's ids on tiles First, First + 1, ... .
inline void AddLayout(TTerrainSet &Set, TTerrainLayout Layout, int32_t First, uint8_t Outer,
                      uint8_t Inner)
{
    const TTerrainLayoutBlock block = TerrainLayoutBlock(Layout, Outer, Inner);
    for (size_t i = 0; i < block.Ids.size(); ++i)
        Set.Tiles[First + static_cast<int32_t>(i)] = block.Ids[i];
}

// A corner wang id from the four corners in reading order.
inline TWangId Corners(uint8_t TopLeft, uint8_t TopRight, uint8_t BottomLeft, uint8_t BottomRight)
{
    TWangId id{};
    id[wsTopLeft] = TopLeft;
    id[wsTopRight] = TopRight;
    id[wsBottomLeft] = BottomLeft;
    id[wsBottomRight] = BottomRight;
    return id;
}

// A 16-bit-free 8-bit map with fixed alignment (16 part columns), parts 16 × 16, one layer,
// edited through a controller whose window is the fake.
class TTerrainFixture : public ::testing::Test
{
protected:
    void MakeMapOf(int32_t Width, int32_t Height, uint16_t Fill)
    {
        Map = MakeMap(Width, Height, 1);
        Map->SetPartsSize(16, 16);
        std::fill(Map->GetLayer(0).Data.begin(), Map->GetLayer(0).Data.end(), Fill);
        Project = std::make_unique<TProjectDocument>([this] { return Map.get(); });
        Project->Reset("Untitled", true);
        Edit = std::make_unique<TEditController>(*Project, View, Window);
        Edit->SetTerrainWindow(&Window);
        Edit->SetTerrainSeed(1234);
        View.ToolMode = tmTerrain;
    }

    void Use(int32_t Set, uint8_t Terrain)
    {
        Window.Tileset = &Tileset;
        Window.Choice = {Set, Terrain};
    }

    // One stroke along the cells given, with the brush as set in the view.
    void Stroke(const std::vector<TTerrainCell> &Cells)
    {
        ASSERT_FALSE(Cells.empty());
        ASSERT_TRUE(Edit->BeginTerrainStroke(Cells.front().X, Cells.front().Y));
        for (size_t i = 1; i < Cells.size(); ++i)
            Edit->TerrainStrokeTo(Cells[i].X, Cells[i].Y);
        Edit->EndGesture();
    }
    void Click(int32_t X, int32_t Y) { Stroke({{X, Y}}); }

    uint16_t At(int32_t X, int32_t Y) const { return Cell(*Map, 0, X, Y); }
    std::vector<uint16_t> Cells() const { return Map->GetLayer(0).Data; }

    // The chip number of a tile of the tileset under the fixed alignment of 16 columns.
    uint16_t Chip(int32_t Tile) const
    {
        return static_cast<uint16_t>((Tile / Tileset.Columns) * 16 + Tile % Tileset.Columns);
    }

    TScopedDialogSeam Seam;
    std::unique_ptr<TMap> Map;
    std::unique_ptr<TProjectDocument> Project;
    TMapViewState View;
    TFakeTerrainWindow Window;
    std::unique_ptr<TEditController> Edit;
    TTerrainTileset Tileset;
};
