// Where "Tessella.ini" lives: beside the program when the program's folder takes files
// (the build tree, a portable copy), otherwise, and always for an installed program, in the
// user's configuration folder.
#pragma once

#include <string>

// True when a file can be created in the folder; decided by trying, so that read-only
// mounts and access lists count as well as permission bits.
bool IsFolderWritable(const std::string &folder);

// programFolder + "/Tessella.ini" when the program is not installed (IsInstalledProgram),
// IsFolderWritable(programFolder) and any existing file there is writable; otherwise
// $XDG_CONFIG_HOME/Tessella/Tessella.ini, with XDG_CONFIG_HOME defaulting to ~/.config when
// unset, empty or not an absolute path.
std::string SettingsFileLocation(const std::string &programFolder);
