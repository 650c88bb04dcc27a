// The pointer-free field groups of PluginMapRecord as the project file stores them:
// each group is a fixed run of little-endian bytes of the record.
#pragma once

#include "common/TessellaPlugin.h"

#include <cstddef>
#include <cstdint>

enum class TRecordGroup {
    MapHeader,   // "UMFh": bytes 0..19
    EditorFlags, // "EEnv": the six view switches
    ColorKey,    // "ColK": TransEnabled, TransColor, reserved
    Grid,        // "Grid": GridColor, AGridColor
    Zoom,        // "Zoom"
    Invisible,   // "InvC": UseInvisiblePart, InvisiblePart, reserved
};

constexpr size_t MaxRecordGroupSize = PLUGIN_MAP_HEADER_SIZE;

size_t RecordGroupSize(TRecordGroup group);
void EncodeRecordGroup(const PluginMapRecord &record, TRecordGroup group, uint8_t *bytes);
void DecodeRecordGroup(PluginMapRecord &record, TRecordGroup group, const uint8_t *bytes);

// Lays count bytes of data over the start of the group; bytes beyond the group are
// ignored, so an over-long chunk never spills into the fields after it.
void OverlayRecordGroup(PluginMapRecord &record, TRecordGroup group, const uint8_t *data,
                        size_t count);
