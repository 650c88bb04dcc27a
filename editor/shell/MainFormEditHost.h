// The main window as the edit controller's window: its views, tool windows, tool input and
// commands' enabled states, for what the controller asks of them; and, for the terrain tools,
// the parts window's terrain sets and chosen terrain (MainFormTerrainHost.cpp).
#pragma once

#include "editor/edit/EditWindow.h"
#include "editor/edit/TerrainWindow.h"

class TMainForm;

class TMainFormEditHost : public TEditWindow, public TTerrainWindow
{
public:
    explicit TMainFormEditHost(TMainForm &Form) : FForm(Form) {}

    void UpdateCanvas(int32_t X, int32_t Y, int32_t DX, int32_t DY) override;
    void RedrawAll() override;
    void RefreshOverview() override;
    void RefreshOverviewCells(const TSelection &Cells) override;
    void RefreshCommands() override;
    void ShowSelectionStatus() override;
    int32_t CurrentLayer() const override;
    bool LayerShown(int32_t Layer) const override;
    bool PickedParts(TModified &Request) const override;
    TSelection PickedPartsArea() const override;
    void MarkPickedPart(int32_t Part) override;
    int32_t ImageColumns(uint8_t BitCount, int32_t Layer) const override;
    void PartsLayoutChanged() override;
    void ViewLayoutChanged() override;
    void ChooseTool(uint8_t Tool) override;
    void RestoreToolCursor() override;
    void ClearCursorFrame() override;
    void ScrollView(int32_t X, int32_t Y) override;
    void GestureEnded() override;

    const TTerrainTileset *TerrainsOfLayer(int32_t Layer) override;
    TTerrainChoice ChosenTerrain() const override;
    void ChooseTerrain(const TTerrainChoice &Choice) override;
    bool FillsTerrain() const override;

private:
    TMainForm &FForm;
};
