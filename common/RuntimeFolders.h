// Where the program's own folders "Plugins" and "Languages" are. Beside the program first,
// so the build tree and a folder copied as a whole work as they are; otherwise where an
// installation puts them, relative to the program's own prefix (<prefix>/bin/tessella with
// <prefix>/lib/tessella/Plugins and <prefix>/share/tessella/Languages), so a staged or
// moved installation finds its own files and never those of another installation.
// A rule on paths only: it reads no settings and no environment.
#pragma once

#include <string>

// The folder that holds the folder Name ("Plugins" or "Languages") for a program whose
// folder is ProgramFolder: ProgramFolder itself when ProgramFolder/Name is a folder, else
// the installed place when that holds Name, else ProgramFolder (the callers then report
// the missing folder as they always did).
std::string RuntimeFolderBase(const std::string &ProgramFolder, const std::string &Name);

// True when the program runs from an installation: no "Plugins" beside it, but in the
// installed place. Such a program's folder is no place for files it writes.
bool IsInstalledProgram(const std::string &ProgramFolder);
