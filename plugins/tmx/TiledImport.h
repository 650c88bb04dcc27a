// Opening Tiled maps through the plug-in interface: which files are Tiled maps, and the
// import that reads one, turns it into the record's layers, writes the parts images it
// made beside the map and tells the user, in one notice, what the map could not hold.
// A failure tells the user what is wrong in the file and leaves nothing allocated and no
// new file behind.
#pragma once

#include "common/TessellaPlugin.h"
#include "plugins/tmx/TiledFiles.h"

// 0 for a .tmx or .tmj file, or a file whose content starts like a Tiled map.
int32_t IsTiledFileSupported(const char *Path);

int32_t ImportTiledFile(TessellaWindow *Window, const char *Path, PluginMapRecord *Record,
                        ProgressProc Progress, const TReadLimits &Limits = {});
