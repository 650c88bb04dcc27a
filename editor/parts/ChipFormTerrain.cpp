// The parts window's terrain mode as the window sees it: its tool button, the panel above
// the picture, the marks drawn over the parts, presses that mark corners and edges, and the
// picked terrain in the status bar.
#include "ChipForm.h"

#include "editor/map/MapDataUnit.h"

#include <QAction>

namespace
{
int32_t FloorDiv(int32_t A, int32_t B)
{
    return A >= 0 ? A / B : -((-A + B - 1) / B);
}
} // namespace

void TChipForm::AddTerrainMode(QWidget *Content)
{
    FTerrain = new TTerrainMode(Content);
    connect(FTerrain, &TTerrainMode::ActiveChanged, this, [this](bool active) {
        Button("TerrainButton")->setChecked(active);
        UpdateFullCanvas();
    });
    connect(FTerrain, &TTerrainMode::SetsChanged, this, [this] { UpdateFullCanvas(); });
    connect(FTerrain, &TTerrainMode::ChoiceChanged, this, [this] {
        const std::string text = FTerrain->ChoiceText();
        if (!text.empty())
            SetStatus(2, QString::fromStdString(text));
    });
}

void TChipForm::TerrainClick()
{
    FTerrain->SetActive(!FTerrain->IsActive());
}

void TChipForm::ShowTerrainMarks(const TChipCanvasState &State)
{
    const TMap *map = FHost.Map();
    const int32_t layer = FHost.CurrentLayer();
    const TMapChip *chip =
        map != nullptr && map->IsValidLayer(layer) ? map->GetLayerChip(layer) : nullptr;
    if (map != nullptr)
        FTerrain->ShowImage(chip, map->PartsWidth(), map->PartsHeight());
    FTerrain->DrawMarks(FBack, State);
}

void TChipForm::ViewTerrainPress(int32_t X, int32_t Y, bool Unmark)
{
    const TMap *map = FHost.Map();
    if (map == nullptr || !map->IsReady() || !FTable || FCellWidth <= 0 || FCellHeight <= 0)
        return;
    const int32_t cellX = FloorDiv(X, FCellWidth);
    const int32_t cellY = FloorDiv(Y, FCellHeight);
    const int32_t column = cellX + FScrollX;
    const int32_t row = cellY + FScrollY;
    if (!IsValidPart(column, row))
        return;
    const double u = static_cast<double>(X - cellX * FCellWidth) / FCellWidth;
    const double v = static_cast<double>(Y - cellY * FCellHeight) / FCellHeight;
    FTerrain->PartPressed(column, row, u, v, Unmark);
}
