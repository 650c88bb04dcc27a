// The project settings in the plug-in record: what a host pre-sets before Import and fills
// before Export, and what an imported record says besides sizes, layers and cells.
#pragma once

#include "common/TessellaPlugin.h"
#include "editor/edit/ProjectSettings.h"

// The record's view switches, transparent colour, invisible part, grid colours and zoom
// from the settings (what a host pre-sets before Import and fills before Export).
void WriteEditorFields(const TProjectSettings &Settings, PluginMapRecord &Record);

// Everything the record says besides sizes, layers and cells; the comment is converted
// from the system code page.
TProjectSettings ReadProjectSettings(const PluginMapRecord &Record);
