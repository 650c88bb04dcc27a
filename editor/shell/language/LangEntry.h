// A text the language catalogue can replace, with the English text used without one.
#pragma once

#include <cstdint>

// An entry of the numbered lists "Strings" and "Messages".
struct TLangText {
    int32_t Index;
    const char *Default;
};

// A key of a named section (menus, hints, dialogs).
struct TLangEntry {
    const char *Section;
    const char *Key;
    const char *Default;
};
