// The parts window's terrain mode: a panel above the picture that lists the terrain sets of
// the current layer's parts image, adds sets (type and name) and terrains (name and colour),
// picks the terrain to paint and to mark with, fills a whole set from the 16-part corner or
// the 47-part blob layout, and takes back and gives again its changes. While the mode is on,
// a press on a part marks the corner or edge under the pointer with the picked terrain
// (again, or with the right button: unmarks it), and the picture shows every mark as a
// coloured triangle. Changes are written to the image's tileset file on leaving the mode and
// whenever Save is asked (the project's Save). Knows nothing of the shell: its texts come
// from a reader the shell installs, its messages go through the dialog seam.
#pragma once

#include "ChipCanvas.h"
#include "TerrainLibrary.h"
#include "TerrainTexts.h"
#include "editor/map/TerrainLayouts.h"
#include "editor/map/TerrainSet.h"

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

class TTerrainMode : public QWidget
{
    Q_OBJECT
public:
    explicit TTerrainMode(QWidget *Parent);
    // What changed is written when the window goes, as when the mode is left.
    ~TTerrainMode() override;

    using TTextReader = std::function<std::string(const TerrainText::TEntry &)>;
    void SetTexts(TTextReader Reader);

    bool IsActive() const { return FActive; }
    // Leaving the mode writes what changed.
    void SetActive(bool Active);

    // The parts image the window shows (null for none) with the map's part size; the panel
    // follows it at every redraw.
    void ShowImage(const TMapChip *Chip, int32_t PartsWidth, int32_t PartsHeight);
    // The terrain sets of an image, read on first use; null when it has none to offer.
    const TTerrainTileset *TilesetOf(const TMapChip *Chip, int32_t PartsWidth, int32_t PartsHeight);

    // The terrain picked for painting and marking (of the shown image's sets).
    TTerrainChoice Choice() const { return FChoice; }
    void Choose(const TTerrainChoice &Choice);
    // "Terrain: name (set)" for the status bar; empty without a pick.
    std::string ChoiceText() const;

    // The marks of the chosen set over the picture.
    void DrawMarks(TPixelBuffer &Back, const TChipCanvasState &State) const;
    // A press on the part at (Column, Row) of the picture, at (U, V) within it.
    void PartPressed(int32_t Column, int32_t Row, double U, double V, bool Unmark);

    // The panel's commands, also reached by its buttons.
    bool AddSet(TTerrainSetType Type, const std::string &Name);
    bool AddTerrain(const std::string &Name, uint32_t Colour);
    // The next press on a part fills the chosen set from a layout with that part at the
    // block's top-left.
    void ArmLayout(TTerrainLayout Layout);
    bool ApplyLayout(TTerrainLayout Layout, int32_t Column, int32_t Row);
    bool Undo();
    bool Redo();
    // Writes every tileset changed; false after telling the user of those that failed.
    bool Save();
    // The images are going: changes are written, every tileset forgotten.
    void Reset();

signals:
    void ActiveChanged(bool Active);
    // The marks to draw changed.
    void SetsChanged();
    void ChoiceChanged();

private:
    std::string Text(const TerrainText::TEntry &Entry) const;
    TTerrainEntry *Entry() const { return FEntry; }
    TTerrainSet *ChosenSet() const;
    void Refresh();
    void SetsEdited();
    void AddSetClicked();
    void AddTerrainClicked();
    void ColourClicked();

    TTextReader FTexts;
    TTerrainLibrary FLibrary;
    TTerrainEntry *FEntry = nullptr;
    const TMapChip *FChip = nullptr;
    std::string FImagePath; // FChip's, so that another image at the same address is noticed
    int32_t FPartsWidth = 0;
    int32_t FPartsHeight = 0;
    bool FActive = false;
    bool FRefreshing = false;
    TTerrainChoice FChoice;
    std::optional<TTerrainLayout> FArmedLayout;
    uint32_t FNewColour = 0x3C8CDC;

    QComboBox *FSets = nullptr;
    QComboBox *FSetType = nullptr;
    QLineEdit *FSetName = nullptr;
    QToolButton *FAddSet = nullptr;
    QComboBox *FTerrains = nullptr;
    QLineEdit *FTerrainName = nullptr;
    QToolButton *FColour = nullptr;
    QToolButton *FAddTerrain = nullptr;
    QToolButton *FLayout16 = nullptr;
    QToolButton *FLayout47 = nullptr;
    QToolButton *FUndo = nullptr;
    QToolButton *FRedo = nullptr;
    QLabel *FHint = nullptr;
};
