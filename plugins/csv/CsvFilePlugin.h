// What the entry points of the CSV plug-in do, callable without loading the library
// (the fuzz targets and unit tests use these).
#pragma once

#include "common/TessellaPlugin.h"

extern const char CsvPluginDescription[];
extern const char CsvPluginFilter[];

void FillCsvPluginInfo(FilePluginInfo *info);
int32_t IsCsvFileSupported(const char *path);
int32_t ImportCsvFile(TessellaWindow *window, const char *path, PluginMapRecord *record,
                      ProgressProc progress);
int32_t ExportCsvFile(TessellaWindow *window, const char *path, PluginMapRecord *record,
                      ProgressProc progress);
