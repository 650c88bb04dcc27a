/* A command plug-in for the tests: its Command leaves a file named after its flags in the
 * current folder, which the editor sets to the program's folder. */
#include "common/TessellaPlugin.h"

#include <stdio.h>
#include <string.h>

__attribute__((visibility("default"))) int32_t GetApiVersion(void) { return 2; }

__attribute__((visibility("default"))) void GetTessellaPluginInfo(FilePluginInfo *info)
{
    memset(info, 0, sizeof *info);
    snprintf(info->Description, sizeof info->Description, "Test command %d", TEST_PLUGIN_FLAGS);
    snprintf(info->Filter, sizeof info->Filter, "Test (*.tst)|*.tst");
    info->Flags = TEST_PLUGIN_FLAGS;
}

__attribute__((visibility("default"))) int32_t IsSupported(const char *path)
{
    (void)path;
    return prNotSupported;
}

__attribute__((visibility("default"))) int32_t Command(TessellaWindow *window, const char *arg,
                                                       PluginMapRecord *buffer, ProgressProc progress)
{
    (void)arg;
    (void)progress;
    if (window == NULL || buffer == NULL)
        return prBadParameter;
    char name[64];
    snprintf(name, sizeof name, "command-ran-%d", TEST_PLUGIN_FLAGS);
    FILE *file = fopen(name, "w");
    if (file != NULL)
        fclose(file);
    return prSuccess;
}
