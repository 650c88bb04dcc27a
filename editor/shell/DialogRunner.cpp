#include "DialogRunner.h"

#include <QDialog>

namespace
{
TDialogRunner *InstalledRunner = nullptr;
}

int RunModal(QDialog &dialog)
{
    if (InstalledRunner != nullptr)
        return InstalledRunner->Run(dialog);
    return dialog.exec();
}

TDialogRunner *InstallDialogRunner(TDialogRunner *runner)
{
    TDialogRunner *previous = InstalledRunner;
    InstalledRunner = runner;
    return previous;
}
