// Telling UTF-8 text from text in the old double-byte code page (932), and that code
// page's lead bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/Utf8Validity.h"

// In code page 932 these bytes start a double-byte character; the byte after belongs to it.
constexpr bool IsDoubleByteLead(uint8_t c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
