// Tessella: a desktop editor for two-dimensional tile maps.
#include "MainForm.h"
#include "QtDialogSeam.h"
#include "Startup.h"
#include "editor/cli/CommandLine.h"

#include <QApplication>

int main(int argc, char **argv)
{
    // The command line decides before any window-system object exists: it needs no display.
    if (IsCommandLineMode(argc, argv))
        return RunCommandLine(argc, argv);

    QApplication application(argc, argv);
    // Resolved after Qt took its own options out of argv, before start-up makes the
    // program's folder current.
    const std::string openFile = CommandLineFile(argc, argv);
    QApplication::setApplicationName("Tessella");
    TQtDialogSeam dialogs;
    InstallDialogSeam(&dialogs);

    int exitCode = 1;
    {
        std::unique_ptr<TMainForm> mainForm =
            StartEditor(QCoreApplication::applicationDirPath().toStdString(), openFile);
        if (mainForm) {
            mainForm->show();
            exitCode = QApplication::exec();
        }
    }
    FinishEditor();
    InstallDialogSeam(nullptr);
    return exitCode;
}
