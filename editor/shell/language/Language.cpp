#include "Language.h"

#include "LangTexts.h"
#include "LocaleId.h"
#include "editor/map/DialogSeam.h"
#include "editor/shell/settings/SettingsFile.h"

namespace
{
TLanguageCatalogue catalogue;
}

bool InitLanguage(const std::string &programFolder)
{
    return InitLanguage(programFolder, SystemLocaleId());
}

bool InitLanguage(const std::string &programFolder, int32_t localeId)
{
    if (!OpenSettingsFile(programFolder))
        return false;
    return catalogue.Init(programFolder, SettingsFile(), localeId);
}

void FreeLanguage()
{
    catalogue.Free();
    CloseSettingsFile();
}

TLanguageCatalogue &LanguageCatalogue()
{
    return catalogue;
}

std::string GetLangString(int32_t index, const std::string &defaultText)
{
    return catalogue.GetLangString(index, defaultText);
}

std::string GetLangString(const TLangText &text)
{
    return catalogue.GetLangString(text.Index, text.Default);
}

std::string GetLangMessage(int32_t index, const std::string &defaultText)
{
    return catalogue.GetLangMessage(index, defaultText);
}

std::string GetLangMessage(const TLangText &text)
{
    return catalogue.GetLangMessage(text.Index, text.Default);
}

std::string ReadLangString(const std::string &section, const std::string &key,
                           const std::string &defaultText)
{
    return catalogue.ReadString(section, key, defaultText);
}

std::string GetLangText(const TLangEntry &entry)
{
    return catalogue.GetLangText(entry);
}

std::string MessageBoxCaption(int32_t kind)
{
    switch (kind) {
    case mkError:
        return "Tessella : " + GetLangString(LangString::Error);
    case mkInformation:
        return "Tessella : " + GetLangString(LangString::Information);
    case mkCaution:
        return "Tessella : " + GetLangString(LangString::Caution);
    default:
        return {};
    }
}

void ShowMessageBox(int32_t kind, const std::string &text)
{
    if (kind < mkError || kind > mkCaution)
        return;
    Dialogs().ShowMessageBox(kind, text);
}
