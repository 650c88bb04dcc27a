// The main window's selection: selecting all, dropping the selection (putting a floating
// block down), putting blocks down, and making the selection the pattern the pen tools use.
#include "editor/edit/FloatingBlocks.h"
#include "editor/edit/SelectionRules.h"
#include "editor/parts/ChipForm.h"
#include "editor/render/MapViewMath.h"
#include "editor/shell/MainForm.h"
#include "editor/shell/MapDocument.h"
#include "editor/shell/input/MapViewWidget.h"
#include "editor/shell/language/Language.h"

#include <QLabel>
#include <QScrollBar>

bool TMainForm::SelectAll(bool Update)
{
    TMap *map = MapDocument();
    if (map == nullptr || !map->IsReady())
        return false;
    FView.Selection = TSelection{1, 0, 0, map->Width() - 1, map->Height() - 1, 0};
    if (Update) {
        RedrawAll();
        ToolButtonMediator();
    }
    return true;
}

void TMainForm::UnSelect(bool Update)
{
    const TSelection shown = FView.Selection;
    // Putting a floating block down and closing its group is the gesture's end.
    EndGesture();
    FView.Selection.Active = 0;
    FView.FoundMark = false;
    // All that changes on the screen lies under the selection: its frame and a block put down.
    if (Update)
        RepaintCells(shown);
    SetCursorOfToolMode(FView.ToolMode);
    FView.FoundMark = false;
    ShowSelectionStatus();
}

void TMainForm::WriteSelectData(bool Update)
{
    TMap *map = MapDocument();
    if (map == nullptr || !map->IsReady())
        return;
    const TSelection written = PutBlocksDown(*map, FFloatingBlocks, FView.Selection, GetMaxIndex());
    if (!written.Active) {
        // Wholly off the map: nothing is written and the lift's group ends here.
        if (map->InModify())
            map->EndModify();
        return;
    }
    NoteWritten(written);
    if (Update) {
        UpdateCanvas(written.X, written.Y, written.DX, written.DY);
        ToolButtonMediator();
    }
}

void TMainForm::ShowSelectionStatus()
{
    if (FStatusPanels[1] == nullptr)
        return;
    FStatusPanels[1]->setText(QString::fromStdString(FView.Selection.Active
                                                         ? SelectionStatusText(FView.Selection)
                                                         : GetLangString(10, "Selection N/A")));
}

void TMainForm::SetPatternSelect()
{
    TMap *map = MapDocument();
    if (map == nullptr || !FView.Selection.Active)
        return;
    TSelection source = FView.Selection;
    FixSelection(source, map->Width());
    // Only cells of the map can be read.
    ClipSelection(source, map->Width(), map->Height());
    if (!LiesInsideMap(source, map->Width(), map->Height()))
        return;
    TModified pattern;
    pattern.Source = source;
    pattern.SrcPitch = source.DX;
    pattern.Layer = CurrentLayerIndex();
    if (!map->ReadData(pattern))
        return;
    FPatternData = std::move(pattern);
    // The parts window highlights the pattern's part when it is a single one. Its pick
    // would leave pattern mode, so pattern mode begins after it.
    if (FChipForm != nullptr)
        FChipForm->Selectchip(FPatternData.Data.size() == 1 ? FPatternData.Data.front() : -1);
    FPatternMode = true;
    RefreshCursorBlock();
    ToolButtonMediator();
}

void TMainForm::ExitPattern()
{
    FPatternMode = false;
    FPatternData.Source.Active = 0;
    FPatternData.Target.Active = 0;
    FPatternData.Data.assign(1, 0);
    RefreshCursorBlock();
}

void TMainForm::CloseData()
{
    // The document is going: its floating blocks and its drag go with it, unwritten.
    FView.Selection = TSelection();
    FView.Floating = false;
    FView.Dragging = false;
    FView.FoundMark = false;
    FFloatingBlocks.clear();
    FView.FloatingBlocks = &FFloatingBlocks;
    FCurrentData.Data.clear();
    FGestureButton = Qt::NoButton;
    FStrokeArea = TSelection();
    FView.ScrollX = 0;
    FView.ScrollY = 0;
    if (FViewWidget != nullptr)
        FViewWidget->SetCursorFrame(QRect(), FView.AGridColor);
}

void TMainForm::SelectAllMenuItemClick()
{
    UnSelect(false);
    ToolMenuItemClick(tmSelect);
    SelectAll(true);
}

void TMainForm::DoNotSelectMenuItemClick()
{
    UnSelect(true);
    ToolButtonMediator();
}
