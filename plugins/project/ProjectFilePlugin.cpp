#include "plugins/project/ProjectFilePlugin.h"

#include "plugins/project/ProjectReaders.h"
#include "plugins/project/ProjectVersion.h"
#include "plugins/project/ProjectWriter.h"

#include <new>

const char ProjectPluginDescription[] =
    "Tessella Project File Format Plugin 2005 (RIFF project files, versions 1 to 4)";
const char ProjectPluginFilter[] = "Tessella Project File (*.tzp)|*.tzp";

void FillProjectPluginInfo(FilePluginInfo *info)
{
    if (info == nullptr)
        return;
    TessellaCopyInfoText(info->Description, ProjectPluginDescription);
    TessellaCopyInfoText(info->Filter, ProjectPluginFilter);
    info->Flags = pfProject;
}

// Nothing may be thrown across the library boundary; the readers free what they own
// while the exception unwinds.
int32_t IsProjectFileSupported(const char *path)
{
    if (path == nullptr)
        return prBadParameter;
    try {
        return RecogniseProjectVersion(path) == 0 ? prNotSupported : prSuccess;
    } catch (const std::bad_alloc &) {
        return prNoMemory;
    } catch (...) {
        return prInternalError;
    }
}

int32_t ImportProjectFile(TessellaWindow *window, const char *path, PluginMapRecord *record,
                          ProgressProc progress)
{
    if (window == nullptr || path == nullptr || record == nullptr || progress == nullptr)
        return prBadParameter;
    try {
        switch (RecogniseProjectVersion(path)) {
        case 1:
            return ReadOldProject(1, window, path, *record, progress);
        case 2:
            return ReadOldProject(2, window, path, *record, progress);
        case 3:
            return ReadProjectVersion3(path, *record, progress);
        case 4:
            return ReadProjectVersion4(path, *record, progress);
        default:
            return prNotSupported;
        }
    } catch (const std::bad_alloc &) {
        return prNoMemory;
    } catch (...) {
        return prInternalError;
    }
}

int32_t ExportProjectFile(TessellaWindow *window, const char *path, PluginMapRecord *record,
                          ProgressProc progress)
{
    if (window == nullptr || path == nullptr || record == nullptr || progress == nullptr)
        return prBadParameter;
    try {
        return WriteProjectFile(path, *record, progress);
    } catch (const std::bad_alloc &) {
        return prNoMemory;
    } catch (...) {
        return prInternalError;
    }
}
