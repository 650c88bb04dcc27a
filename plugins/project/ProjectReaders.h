// The readers of the four project file layouts. Each fills the record, handing every
// buffer to the host on success; on failure everything it allocated is freed and the
// record's pointers to it are null. Results are the plug-in result codes.
#pragma once

#include "common/TessellaPlugin.h"

int32_t ReadProjectVersion4(const char *path, PluginMapRecord &record, ProgressProc progress);
int32_t ReadProjectVersion3(const char *path, PluginMapRecord &record, ProgressProc progress);
// Versions 1 ("LAY0" layers) and 2 ("LAY1" layers with linear part numbers, which needs
// the window to ask for missing parts images).
int32_t ReadOldProject(int version, TessellaWindow *window, const char *path,
                       PluginMapRecord &record, ProgressProc progress);
