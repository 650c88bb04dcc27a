// Text that comes from files or plug-ins in the system's code page. The editor works in
// UTF-8; text that is not valid UTF-8 was written by a Japanese Windows build and is taken
// as code page 932.
#pragma once

#include <string>
#include <string_view>

bool IsValidUtf8(std::string_view bytes);

// Code page 932 (Shift_JIS with the Windows extensions) to UTF-8. Byte sequences that are
// not code page 932 become U+FFFD; nothing is dropped silently.
std::string DecodeCodePage932(std::string_view bytes);

// UTF-8 text stays as it is; anything else is decoded as code page 932.
std::string SystemTextToUtf8(std::string_view bytes);
