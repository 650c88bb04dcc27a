// What the entry points of the project-file plug-in do, callable without loading the
// library (the fuzz targets and unit tests use these).
#pragma once

#include "common/TessellaPlugin.h"

extern const char ProjectPluginDescription[];
extern const char ProjectPluginFilter[];

void FillProjectPluginInfo(FilePluginInfo *info);
int32_t IsProjectFileSupported(const char *path);
int32_t ImportProjectFile(TessellaWindow *window, const char *path, PluginMapRecord *record,
                          ProgressProc progress);
int32_t ExportProjectFile(TessellaWindow *window, const char *path, PluginMapRecord *record,
                          ProgressProc progress);
