// The terrain brush at the pointer: a press paints the chosen terrain (with Shift, fills the
// terrain's region), the right button picks the terrain under the pointer, "[" and "]" make
// the brush smaller and larger, and the status bar and the cursor outline show it.
#include "ToolInput.h"

#include "editor/edit/EditController.h"
#include "editor/parts/TerrainTexts.h"
#include "editor/shell/language/Language.h"

#include <algorithm>

namespace
{

constexpr int32_t kLargestBrush = 32;

std::string Text(const TerrainText::TEntry &Entry)
{
    return ReadLangString(TerrainText::Section, Entry.Key, Entry.Default);
}

} // namespace

void TToolInput::SetTerrainBrush(int32_t Size, bool Round)
{
    FView.TerrainBrushSize = static_cast<uint8_t>(std::clamp(Size, 1, kLargestBrush));
    FView.TerrainBrushRound = Round;
    if (FView.ToolMode != tmTerrain)
        return;
    ShowTerrainBrushStatus();
    const TMap *map = FEdit.Map();
    if (map != nullptr && map->IsReady())
        ShowCursorGrid({std::clamp(FLastCell.X + FView.ScrollX, 0, map->Width() - 1),
                        std::clamp(FLastCell.Y + FView.ScrollY, 0, map->Height() - 1)});
}

void TToolInput::ShowTerrainBrushStatus()
{
    FWindow.SetStatusText(
        1,
        QString::fromStdString(
            Text(TerrainText::BrushStatus) + "(" + std::to_string(FView.TerrainBrushSize) + ", " +
            Text(FView.TerrainBrushRound ? TerrainText::Round : TerrainText::Square) + ")"));
}

bool TToolInput::PressTerrain(Qt::KeyboardModifiers Modifiers, TViewPoint Cell)
{
    if (!FEdit.DoEditCurrentLayer())
        return false;
    if (Modifiers & Qt::ShiftModifier) {
        // A fill is a click of its own: no drag follows it.
        FEdit.TerrainFill(Cell.X, Cell.Y);
        return false;
    }
    const bool begun = FEdit.BeginTerrainStroke(Cell.X, Cell.Y);
    ShowTerrainBrushStatus(); // the selection the stroke dropped said otherwise
    return begun;
}

void TToolInput::PickTerrainAt(int32_t X, int32_t Y, TViewPoint Cell)
{
    // Where in the cell the pointer is picks the corner or edge.
    const int32_t cw = FView.ViewCellWidth;
    const int32_t ch = FView.ViewCellHeight;
    const double u = static_cast<double>(((X % cw) + cw) % cw) / cw;
    const double v = static_cast<double>(((Y % ch) + ch) % ch) / ch;
    FEdit.PickTerrain(Cell.X, Cell.Y, u, v);
}
