// Text the plug-in hands to the editor is UTF-8 (the editor reads anything else as the old
// double-byte code page): sequences that are not UTF-8 are replaced, never passed on.
#pragma once

#include <cstddef>
#include <string>

// U+FFFD, which stands for bytes that are not UTF-8.
inline const std::string kUtf8Replacement = "\xEF\xBF\xBD";

// Length of the UTF-8 sequence at text[at], or 0 when it is not one.
size_t Utf8SequenceLength(const std::string &text, size_t at);

// The text with every byte that starts no UTF-8 sequence replaced by U+FFFD.
std::string ValidUtf8(const std::string &text);
