#include "Startup.h"

#include "MainForm.h"
#include "MapDocument.h"
#include "editor/map/DialogSeam.h"
#include "editor/parts/ChipForm.h"
#include "editor/shell/language/Language.h"
#include "editor/shell/language/QtTranslations.h"
#include "progress/ProgressDisplay.h"
#include "recovery/RecoveryController.h"
#include "settings/Settings.h"
#include "settings/SettingsFile.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <filesystem>

void ShowFatalError(const std::string &detail)
{
    ShowMessageBox(mkError, GetLangMessage(28, "A fatal error occurred!") + "(" + detail + ")");
}

std::string CommandLineFile(int argc, char **argv)
{
    if (argc < 2 || argv[1] == nullptr || argv[1][0] == '\0')
        return std::string();
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(argv[1], error);
    return error ? std::string(argv[1]) : path.lexically_normal().string();
}

std::unique_ptr<TMainForm> StartEditor(const std::string &programFolder,
                                       const std::string &openFile)
{
    if (!InitLanguage(programFolder)) {
        ShowFatalError("code:-1");
        return nullptr;
    }
    ReplaceMapDocument(std::make_unique<TMap>());
    auto form = std::make_unique<TMainForm>(programFolder);
    if (!form->Initialized()) {
        ShowFatalError("code:-2");
        return nullptr;
    }
    InstallQtTranslations(form.get());
    form->CreateToolWindows();
    form->SetCommandLineFile(openFile);
    // Parts images changed on disk are read again whenever the editor becomes active.
    TMainForm *window = form.get();
    QObject::connect(qApp, &QGuiApplication::applicationStateChanged, window,
                     [window](Qt::ApplicationState state) {
                         // Not while an operation runs: it may be loading those images.
                         if (state == Qt::ApplicationActive && !window->Progress().Running() &&
                             window->ChipForm() != nullptr)
                             window->ChipForm()->CheckMapChipChanged();
                     });
    QCoreApplication::postEvent(
        window, new QEvent(static_cast<QEvent::Type>(QEvent::User + WMInitializedEvent)));
    // The window's child: a clean exit, which destroys the window, removes the copy.
    auto *recovery = new TRecoveryController(*window, DefaultRecoveryFolder(),
                                             ReadRecoveryInterval(SettingsFile()));
    // Queued behind the first map, so a recovered copy replaces it.
    QMetaObject::invokeMethod(
        recovery, [recovery] { recovery->OfferRecoveredCopies(); }, Qt::QueuedConnection);
    return form;
}

void FinishEditor()
{
    ReplaceMapDocument(nullptr);
    FreeLanguage();
}
