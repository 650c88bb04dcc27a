// Telling UTF-8 text from text in the old double-byte code page (932), and that code
// page's lead bytes.
#pragma once

#include <cstddef>
#include <cstdint>

// True when the bytes are valid UTF-8. With cutAllowed, a sequence cut off by the end of
// the bytes counts as valid (the bytes are only the start of a file).
bool IsValidUtf8(const uint8_t *data, size_t size, bool cutAllowed = false);

// In code page 932 these bytes start a double-byte character; the byte after belongs to it.
constexpr bool IsDoubleByteLead(uint8_t c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
