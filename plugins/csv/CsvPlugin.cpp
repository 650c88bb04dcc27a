// The exported entry points of gridcsv.
#define TESSELLA_FILE_PLUGIN_IMPLEMENTATION
#include "common/TessellaPlugin.h"
#include "plugins/csv/CsvFilePlugin.h"

extern "C" {

int32_t GetApiVersion(void)
{
    return 2;
}

void GetTessellaPluginInfo(FilePluginInfo *info)
{
    FillCsvPluginInfo(info);
}

int32_t IsSupported(const char *path)
{
    return IsCsvFileSupported(path);
}

int32_t Import(TessellaWindow *window, const char *path, PluginMapRecord *record,
               ProgressProc progress)
{
    return ImportCsvFile(window, path, record, progress);
}

int32_t Export(TessellaWindow *window, const char *path, PluginMapRecord *record,
               ProgressProc progress)
{
    return ExportCsvFile(window, path, record, progress);
}

} // extern "C"
