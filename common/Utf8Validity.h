// Whether bytes are UTF-8: text from files and plug-ins that is not UTF-8 was written on a
// system with the old double-byte code page (932). Shared by the editor and the plug-ins.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// True when the bytes are valid UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF). With cutAllowed, a sequence cut off by the end of the bytes counts as valid
// (the bytes are only the start of a file).
inline bool IsValidUtf8(const uint8_t *data, size_t size, bool cutAllowed = false)
{
    size_t i = 0;
    while (i < size) {
        // Runs of ASCII, eight bytes at a time.
        if (i + 8 <= size) {
            uint64_t word;
            std::memcpy(&word, data + i, sizeof word);
            if ((word & 0x8080808080808080ull) == 0) {
                i += 8;
                continue;
            }
        }
        const uint8_t c = data[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t length = 0;
        uint32_t minimum = 0;
        uint32_t code = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            minimum = 0x80;
            code = c & 0x1Fu;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            minimum = 0x800;
            code = c & 0x0Fu;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            minimum = 0x10000;
            code = c & 0x07u;
        } else {
            return false;
        }
        if (i + length > size) {
            // Only continuation bytes may follow up to the cut.
            for (size_t k = i + 1; k < size; ++k)
                if ((data[k] & 0xC0) != 0x80)
                    return false;
            return cutAllowed;
        }
        for (size_t k = 1; k < length; ++k) {
            if ((data[i + k] & 0xC0) != 0x80)
                return false;
            code = code << 6 | (data[i + k] & 0x3Fu);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}
