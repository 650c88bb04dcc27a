// The private clipboard block: one edit request and the bit count of the map it came
// from, 58 + 2n bytes, little-endian. Pure encoding; the system clipboard is elsewhere.
#pragma once

#include "DefineUnit.h"

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr size_t kClipboardHeaderSize = 58;

// A part in a 16-column layout moves to the same row and column of a 256-column layout.
uint16_t To16Bit(uint16_t Value);
// Row v shr 8 of a 256-column layout becomes row × 16; columns above 15 spill over.
uint16_t To8Bit(uint16_t Value);

std::vector<uint8_t> EncodeClipboardBlock(const TModified &Request, uint8_t BitCount);

// Fills Request from a block and converts its values to BitCount. A block shorter than
// its header is ignored (false, Request untouched); a block claiming more values than
// it holds yields only the values it holds.
bool DecodeClipboardBlock(const uint8_t *Block, size_t Size, TModified &Request, uint8_t BitCount);
