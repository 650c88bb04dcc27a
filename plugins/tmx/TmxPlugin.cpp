// The exported entry points of tmx, the Tiled map plug-in: it opens TMX and TMJ maps and
// writes TMX maps.
#define TESSELLA_FILE_PLUGIN_IMPLEMENTATION
#include "common/TessellaPlugin.h"
#include "plugins/tmx/TiledImport.h"
#include "plugins/tmx/TmxWriter.h"

#include <cctype>
#include <cstring>

namespace
{

// The writer writes the XML form only.
bool NamesTmxFile(const char *path)
{
    const size_t length = std::strlen(path);
    if (length < 4)
        return false;
    const char *extension = path + length - 4;
    return extension[0] == '.' && std::tolower(static_cast<unsigned char>(extension[1])) == 't' &&
           std::tolower(static_cast<unsigned char>(extension[2])) == 'm' &&
           std::tolower(static_cast<unsigned char>(extension[3])) == 'x';
}

} // namespace

extern "C" {

int32_t GetApiVersion(void)
{
    return 2;
}

void GetTessellaPluginInfo(FilePluginInfo *info)
{
    if (info == nullptr)
        return;
    TessellaCopyInfoText(info->Description,
                         "TMX Map Plugin 1.1 (orthogonal; opens TMX/TMJ, writes TMX)");
    TessellaCopyInfoText(info->Filter, "Tiled Map(*.tmx;*.tmj)|*.tmx;*.tmj");
    info->Flags = pfImport | pfExport;
}

int32_t IsSupported(const char *path)
{
    return IsTiledFileSupported(path);
}

int32_t Import(TessellaWindow *window, const char *path, PluginMapRecord *record,
               ProgressProc progress)
{
    return ImportTiledFile(window, path, record, progress);
}

int32_t Export(TessellaWindow *window, const char *path, PluginMapRecord *record,
               ProgressProc progress)
{
    if (window == nullptr || path == nullptr || record == nullptr || progress == nullptr)
        return prBadParameter;
    if (!NamesTmxFile(path))
        return prNotSupported;
    return WriteTmxFile(path, *record, progress);
}

} // extern "C"
