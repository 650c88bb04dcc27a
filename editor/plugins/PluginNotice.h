// The host's side of a plug-in's notice (TessellaWindow::ShowNotice): the plug-in's text,
// in the system code page, shown in one information box through the dialog seam. Needs no
// window: the main window and the command line (whose seam prints it on standard error)
// both hand this function to their plug-ins.
#pragma once

#include "common/TessellaPlugin.h"

void ShowPluginNotice(TessellaWindow *Window, const char *Text);
