// Writing a recovery snapshot as a project file through the project plug-in, and checking
// that a copy left by an earlier run can be read back, with nobody to ask and nothing
// shown: both run on the recovery writer's thread or before any window exists.
#pragma once

#include "RecoverySnapshot.h"

#include <atomic>
#include <cstdint>
#include <string>

// Writes Snapshot to CopyPath through the plug-in library at PluginLibrary (its Export
// replaces the file atomically). The parts-image references are the snapshot's absolute
// paths. Cancel, when set while the layers are written, stops the write and leaves the
// old copy. The plug-in's result: 0 success, 7 cancelled, 2 when the library or its
// Export could not be had, other codes as the plug-in says.
int32_t WriteRecoveryCopy(const TRecoverySnapshot &Snapshot, const std::string &PluginLibrary,
                          const std::string &CopyPath, const std::atomic<bool> *Cancel);

// Reads the copy through the plug-in and frees what it read: 0 when the copy is whole and
// describes a map (sizes, layers and cells all there), else the failure's code.
int32_t CheckRecoveryCopy(const std::string &PluginLibrary, const std::string &CopyPath);
