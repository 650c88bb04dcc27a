// Reading a CSV map file into a map record, and the header test behind IsSupported.
#pragma once

#include "common/TessellaPlugin.h"

#include <cstdint>
#include <vector>

class TCsvTokenizer;

// Collects the integer tokens of the first line. Returns true when a line end was
// reached, false when the text ended first.
bool ReadHeaderIntegers(TCsvTokenizer &tokenizer, std::vector<int64_t> &integers);

// Result code: 0, 4 (malformed content), 5 (file cannot be read), 6, 7 (cancelled).
int32_t ReadCsvFile(const char *path, PluginMapRecord &record, ProgressProc progress);

// The same over text already in memory.
int32_t ReadCsvText(const char *text, size_t size, PluginMapRecord &record, ProgressProc progress);
