// Qt's own texts (the file and colour dialogs, the standard buttons) in the language the
// editor's language file is written in, from the translations Qt installs.
#pragma once

class QObject;

// Installs Qt's translation for the language in use, owned by Owner (it is removed with
// it). Nothing for English or a language Qt has no translation for.
void InstallQtTranslations(QObject *Owner);
