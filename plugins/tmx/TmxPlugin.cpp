// The exported entry points of tmx, the export-only TMX map plug-in.
#define TESSELLA_FILE_PLUGIN_IMPLEMENTATION
#include "common/TessellaPlugin.h"
#include "plugins/tmx/TmxWriter.h"

extern "C" {

int32_t GetApiVersion(void)
{
    return 2;
}

void GetTessellaPluginInfo(FilePluginInfo *info)
{
    if (info == nullptr)
        return;
    TessellaCopyInfoText(info->Description, "TMX Map Export Plugin 1.0 (orthogonal, CSV data)");
    TessellaCopyInfoText(info->Filter, "Tiled Map(*.tmx)|*.tmx");
    info->Flags = pfExport;
}

// The plug-in only writes: no file is ever one it reads.
int32_t IsSupported(const char *)
{
    return prNotSupported;
}

int32_t Export(TessellaWindow *window, const char *path, PluginMapRecord *record,
               ProgressProc progress)
{
    if (window == nullptr || path == nullptr || record == nullptr || progress == nullptr)
        return prBadParameter;
    return WriteTmxFile(path, *record, progress);
}

} // extern "C"
