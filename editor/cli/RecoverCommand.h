// "--recover": the recovery copies editors left behind, listed and written out with no
// window, for a user who would rather not start the editor to get the work back.
#pragma once

#include "editor/plugins/FilePluginHost.h"

#include <cstdint>
#include <ostream>
#include <string>

// One line per copy in Folder, numbered from 1, oldest first: number, document name,
// original path, the time it was written, its size, and whether its editor still runs.
// The exit status (0 also when there is none).
int PrintRecoveryCopies(std::ostream &Out, const std::string &Folder);

// Writes copy Number of the list to Target through the plug-in its extension chooses, as
// --convert does, with the original document's way of storing parts-image references.
// The copy stays where it is. The exit status.
int RecoverCopy(const TFilePluginHost &Plugins, const std::string &ProgramFolder,
                const std::string &Folder, int32_t Number, const std::string &Target);
