// The settings side of the tool windows: their stored bounds, opacity and roll-up state put
// on a window at start, and read back from it at exit.
#pragma once

#include "editor/parts/ToolWindow.h"
#include "editor/shell/settings/Settings.h"

// Bounds, opacity and roll-up state; visibility goes through the Window menu's command.
void ApplyToolWindowSettings(TToolWindow &window, const TToolWindowSettings &settings);
// What the main window writes at exit: a rolled-up window gives its unrolled height.
TToolWindowState ToolWindowState(const TToolWindow &window);
