// The system locale as a Windows locale number, which is what language files name in
// "Locale"/"id" (1041 Japanese, 1033 U.S. English).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What Windows reports for a locale it has no number for; no language file names it.
constexpr int32_t LocaleCustomUnspecified = 4096;

// A POSIX locale name such as "ja_JP.UTF-8", "de_AT", "sr_RS@latin" or "pt". A language
// without a listed country takes that language's default country; "C" and "POSIX" are
// U.S. English; anything unknown is LocaleCustomUnspecified.
int32_t LocaleIdFromName(std::string_view name);

// The locale of the messages: the first of LC_ALL, LC_MESSAGES and LANG that is set and
// not empty; U.S. English when none is.
int32_t SystemLocaleId();

// The POSIX name of a locale number ("ja_JP" for 1041); empty for a number no table names.
std::string LocaleNameFromId(int32_t id);
