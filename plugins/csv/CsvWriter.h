// Writing a map record as a CSV map file.
#pragma once

#include "common/TessellaPlugin.h"

#include <string>

// Result code: 0, 3 (record unusable), 5 (file cannot be written), 7 (cancelled). The
// previous file at path survives every failure.
int32_t WriteCsvFile(const char *path, const PluginMapRecord &record, ProgressProc progress);

// A name or reference as it goes between the quotes of a layer line: quotes and
// backslashes get a backslash, so the reader gives back the same bytes; in double-byte
// text a lead byte's trail byte is left alone (and a lead byte without one is dropped).
// Line ends, which no string can hold, become spaces.
std::string EscapeCsvText(const char *text, bool doubleByteText);
