#include "ToolWindowPlacement.h"

void ApplyToolWindowSettings(TToolWindow &window, const TToolWindowSettings &settings)
{
    const TWindowBounds &b = settings.Bounds;
    window.ApplyPlacement(QRect(b.Left, b.Top, b.Width, b.Height), settings.Alpha,
                          settings.Minimized);
}

TToolWindowState ToolWindowState(const TToolWindow &window)
{
    const QRect bounds = window.StoredBounds();
    TToolWindowState state;
    state.Bounds = {bounds.x(), bounds.y(), bounds.width(), bounds.height()};
    state.Visible = window.isVisible();
    state.Minimized = window.RolledUp();
    return state;
}
