// Writing a map record as a project file of the current layout (version 4).
#pragma once

#include "common/TessellaPlugin.h"

// Result code: 0, 3 (record unusable), 5 (file cannot be written, or the map is too big
// for the container), 7 (cancelled). The previous file at path survives every failure.
int32_t WriteProjectFile(const char *path, const PluginMapRecord &record, ProgressProc progress);
