// Choosing a tool: what each tool's menu entry, tool button, shortcut and key does, and the
// cursor each tool shows over the map view.
#include "ToolInput.h"

#include "ToolCursors.h"
#include "editor/edit/EditController.h"

void TToolInput::ToolMenuItemClick(uint8_t tool)
{
    // A tool change first ends a drag that is still running.
    FEdit.EndDrag();
    switch (tool) {
    case tmPen:
    case tmTiledPen:
    case tmEraser:
    case tmFill:
        FEdit.UnSelect(true);
        FWindow.ShowTool(tool);
        SetCursorOfToolMode(tool);
        if (tool == tmFill)
            FWindow.RepaintView();
        FWindow.RefreshCommands();
        break;
    case tmPattern:
        FWindow.ShowTool(tool);
        SetCursorOfToolMode(tool);
        FEdit.ClearSelectionForTool();
        FWindow.RefreshCommands();
        break;
    case tmSelect:
    case tmHand:
        FWindow.ShowTool(tool);
        SetCursorOfToolMode(tool);
        FWindow.RefreshCommands();
        break;
    case tmTerrain:
        FEdit.UnSelect(true);
        FWindow.ShowTool(tool);
        SetCursorOfToolMode(tool);
        ShowTerrainBrushStatus();
        FWindow.RefreshCommands();
        break;
    default:
        break;
    }
}

void TToolInput::SetCursorOfToolMode(uint8_t tool)
{
    switch (tool) {
    case tmPen:
        FWindow.SetViewCursor(ToolCursor(1));
        break;
    case tmTiledPen:
        FWindow.SetViewCursor(ToolCursor(2));
        break;
    case tmEraser:
        FWindow.SetViewCursor(ToolCursor(7));
        break;
    case tmFill:
        FWindow.SetViewCursor(ToolCursor(6));
        break;
    case tmPattern:
        FWindow.SetViewCursor(ToolCursor(5));
        break;
    case tmSelect:
        FWindow.SetViewCursor(Qt::CrossCursor);
        break;
    case tmHand:
        FWindow.SetViewCursor(ToolCursor(3));
        break;
    case tmTerrain:
        FWindow.SetViewCursor(Qt::CrossCursor);
        break;
    default:
        break;
    }
}
