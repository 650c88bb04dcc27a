/* A file plug-in for the tests whose Import fails after allocating: it frees its layer's
 * name and cells and the comment without nulling the pointers and leaves the layer array
 * in the record, as a failing plug-in may. Files ending in ".brk" are its own. */
#include "common/TessellaPlugin.h"

#include <stdlib.h>
#include <string.h>

__attribute__((visibility("default"))) int32_t GetApiVersion(void) { return 2; }

__attribute__((visibility("default"))) void GetTessellaPluginInfo(FilePluginInfo *info)
{
    memset(info, 0, sizeof *info);
    strcpy(info->Description, "Failing importer");
    strcpy(info->Filter, "Broken (*.brk)|*.brk");
    info->Flags = pfImport;
}

__attribute__((visibility("default"))) int32_t IsSupported(const char *path)
{
    const size_t length = strlen(path);
    return length > 4 && strcmp(path + length - 4, ".brk") == 0 ? prSuccess : prNotSupported;
}

__attribute__((visibility("default"))) int32_t Import(TessellaWindow *window, const char *path,
                                                      PluginMapRecord *record,
                                                      ProgressProc progress)
{
    (void)window;
    (void)path;
    (void)progress;
    record->LayerCount = 1;
    record->Layers = calloc(1, sizeof(PluginLayerRecord));
    record->Layers[0].Name = calloc(8, 1);
    record->Layers[0].Cells = calloc(4, 2);
    record->Comment = calloc(8, 1);
    free(record->Layers[0].Name);
    free(record->Layers[0].Cells);
    free(record->Comment);
    return prBrokenFile;
}
