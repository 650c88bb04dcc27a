// The program's language catalogue and its message boxes. InitLanguage runs once at start,
// before any window exists, and opens the settings file too; FreeLanguage runs once at the
// end, after the main window has written the settings.
#pragma once

#include "LangEntry.h"
#include "LanguageCatalogue.h"

#include <cstdint>
#include <string>

// Opens "Tessella.ini" for the program's folder and loads the language for the system
// locale (LC_ALL, LC_MESSAGES, LANG). False when the settings or the chosen language file
// exist but cannot be read.
bool InitLanguage(const std::string &programFolder);
// The same with a given locale number.
bool InitLanguage(const std::string &programFolder, int32_t localeId);
// Frees the lists, the language file and the settings file. Does not save the settings.
void FreeLanguage();

TLanguageCatalogue &LanguageCatalogue();

std::string GetLangString(int32_t index, const std::string &defaultText);
std::string GetLangString(const TLangText &text);
std::string GetLangMessage(int32_t index, const std::string &defaultText);
std::string GetLangMessage(const TLangText &text);
// Reads of the named sections.
std::string ReadLangString(const std::string &section, const std::string &key,
                           const std::string &defaultText);
std::string GetLangText(const TLangEntry &entry);

// "Tessella : " + the kind's word (Strings[4], [5] or [6]); empty for other kinds.
std::string MessageBoxCaption(int32_t kind);
// The editor's message box of kind mkError, mkInformation or mkCaution, one OK button,
// through the installed dialog seam. Other kinds show nothing.
void ShowMessageBox(int32_t kind, const std::string &text);
