// The exported entry points of tzp.
#define TESSELLA_FILE_PLUGIN_IMPLEMENTATION
#include "common/TessellaPlugin.h"
#include "plugins/project/ProjectFilePlugin.h"

extern "C" {

int32_t GetApiVersion(void)
{
    return 2;
}

void GetTessellaPluginInfo(FilePluginInfo *info)
{
    FillProjectPluginInfo(info);
}

int32_t IsSupported(const char *path)
{
    return IsProjectFileSupported(path);
}

int32_t Import(TessellaWindow *window, const char *path, PluginMapRecord *record,
               ProgressProc progress)
{
    return ImportProjectFile(window, path, record, progress);
}

int32_t Export(TessellaWindow *window, const char *path, PluginMapRecord *record,
               ProgressProc progress)
{
    return ExportProjectFile(window, path, record, progress);
}

} // extern "C"
