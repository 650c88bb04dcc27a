// The settings file "Tessella.ini": one per program, opened at start with the language
// catalogue and kept in memory for the whole run. Reads happen when a window is created;
// writes change the memory copy, and SaveSettingsFile puts it on disk (at exit, and when
// a dialog stores its choice).
#pragma once

#include "IniFile.h"

#include <string>

// Chooses the file's location for the program's folder and reads it. A missing file is a
// first start and no error; false when the file exists but cannot be read.
bool OpenSettingsFile(const std::string &programFolder);
void CloseSettingsFile();

// The settings of this run; empty (all defaults) until OpenSettingsFile.
TIniFile &SettingsFile();

bool SaveSettingsFile();
