// Choosing a tool: what each tool's menu entry, tool button, shortcut and key does, and the
// cursor each tool shows over the map view.
#include "MapViewWidget.h"
#include "ToolCursors.h"
#include "editor/shell/MainForm.h"

#include <QAction>
#include <QActionGroup>

void TMainForm::ToolMenuItemClick(uint8_t tool)
{
    // A tool change first ends a drag that is still running.
    EndDrag();
    switch (tool) {
    case tmPen:
    case tmTiledPen:
    case tmEraser:
    case tmFill:
        UnSelect(true);
        SelectTool(tool);
        SetCursorOfToolMode(tool);
        if (tool == tmFill && FViewWidget != nullptr)
            FViewWidget->update();
        ToolButtonMediator();
        break;
    case tmPattern:
        SelectTool(tool);
        SetCursorOfToolMode(tool);
        ClearSelectionForTool();
        ToolButtonMediator();
        break;
    case tmSelect:
    case tmHand:
        SelectTool(tool);
        SetCursorOfToolMode(tool);
        ToolButtonMediator();
        break;
    default:
        break;
    }
}

void TMainForm::SetCursorOfToolMode(uint8_t tool)
{
    if (FViewWidget == nullptr)
        return;
    switch (tool) {
    case tmPen:
        FViewWidget->setCursor(ToolCursor(1));
        break;
    case tmTiledPen:
        FViewWidget->setCursor(ToolCursor(2));
        break;
    case tmEraser:
        FViewWidget->setCursor(ToolCursor(7));
        break;
    case tmFill:
        FViewWidget->setCursor(ToolCursor(6));
        break;
    case tmPattern:
        FViewWidget->setCursor(ToolCursor(5));
        break;
    case tmSelect:
        FViewWidget->setCursor(Qt::CrossCursor);
        break;
    case tmHand:
        FViewWidget->setCursor(ToolCursor(3));
        break;
    default:
        break;
    }
}
