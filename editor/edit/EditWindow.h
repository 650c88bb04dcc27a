// What the edit controller asks of the window it edits in, so that the editing code never
// includes the shell: showing cells again, the other views and the enabled states, the
// layer window's current layer and visibility, the parts window's pick, and the tool and
// cursor changes a command makes. The main window implements it; tests use a small fake.
#pragma once

#include "editor/map/DefineUnit.h"

#include <cstdint>

class TEditWindow
{
public:
    virtual ~TEditWindow() = default;

    // Recomposes the map cells (X, Y)–(X + DX, Y + DY) and shows just them.
    virtual void UpdateCanvas(int32_t X, int32_t Y, int32_t DX, int32_t DY) = 0;
    virtual void RedrawAll() = 0;
    // The overview: all of it, or the cells a command changed.
    virtual void RefreshOverview() = 0;
    virtual void RefreshOverviewCells(const TSelection &Cells) = 0;
    // The enabled states of the commands and the title.
    virtual void RefreshCommands() = 0;
    // The status bar's selection text.
    virtual void ShowSelectionStatus() = 0;

    // The layer window's current layer (-1 when it shows none) and whether it shows a layer.
    virtual int32_t CurrentLayer() const = 0;
    virtual bool LayerShown(int32_t Layer) const = 0;

    // The parts window: fills Request with the picked parts (false when none are picked),
    // the picked rectangle of parts, and marking one part as picked (-1: none).
    virtual bool PickedParts(TModified &Request) const = 0;
    virtual TSelection PickedPartsArea() const = 0;
    virtual void MarkPickedPart(int32_t Part) = 0;
    // The part columns of a layer's image when the numbering follows the image's width.
    virtual int32_t ImageColumns(uint8_t BitCount, int32_t Layer) const = 0;
    // The parts numbering or part size changed: the parts window lays itself out again.
    virtual void PartsLayoutChanged() = 0;
    // The cell size on the screen or the map's size changed: the view lays itself out again.
    virtual void ViewLayoutChanged() = 0;

    // A command chose a tool (paste and Select All choose the select tool).
    virtual void ChooseTool(uint8_t Tool) = 0;
    // The selection went: the current tool's own cursor again.
    virtual void RestoreToolCursor() = 0;
    // The document went: no cursor frame is left on the view.
    virtual void ClearCursorFrame() = 0;
    // Centres the view on a map cell as far as the scroll bars allow; the caller redraws.
    virtual void ScrollView(int32_t X, int32_t Y) = 0;
    // A gesture ended, however it ended: a tool taken for the gesture gives way again.
    virtual void GestureEnded() = 0;
};
