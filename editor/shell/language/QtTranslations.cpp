#include "QtTranslations.h"

#include "Language.h"
#include "LocaleId.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace
{

constexpr int32_t UsEnglish = 1033;

// The locale number of the language file in use; 0 for the built-in English texts.
int32_t LanguageInUse()
{
    const TLanguageCatalogue &catalogue = LanguageCatalogue();
    for (const TLanguageFileInfo &file : catalogue.LanguageFiles())
        if (file.Path == catalogue.LanguageFilePath())
            return file.LocaleId;
    return 0;
}

} // namespace

void InstallQtTranslations(QObject *Owner)
{
    const int32_t id = LanguageInUse();
    const std::string name = LocaleNameFromId(id);
    if (id == 0 || id == UsEnglish || name.empty())
        return;
    auto *translator = new QTranslator(Owner);
    if (!translator->load(QLocale(QString::fromStdString(name)), "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return;
    }
    QCoreApplication::installTranslator(translator);
}
