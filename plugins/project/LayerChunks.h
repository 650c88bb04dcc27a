// The sub-chunks of one layer ("LSTR", "PSTR", "LINV", "LDAT"), shared by the "LAY_"
// lists of version 4 and the "LAY_" chunks of version 3.
#pragma once

#include "common/TessellaPlugin.h"
#include "plugins/project/RiffReader.h"

#include <cstdint>

// Reads a whole chunk as a NUL-terminated text. The buffer is returned even when the read
// fails (result non-zero), so that its owner frees it; null when out of memory.
char *ReadChunkText(TRiffReader &riff, const TRiffChunk &chunk, int32_t &result);

// Fills layer from the sub-chunks in [begin, end). A missing "LINV" gives
// visibleWhenMissing; cells must be exactly cellCount values, else the file is broken.
int32_t ReadLayerChunks(TRiffReader &riff, uint64_t begin, uint64_t end, uint64_t cellCount,
                        uint8_t visibleWhenMissing, PluginLayerRecord &layer);
