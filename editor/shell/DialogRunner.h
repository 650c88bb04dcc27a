// How the editor's own modal dialogs (new map, layer options, resize, ...) are run. The
// program runs them with exec(); tests install a runner that fills the dialog's fields and
// presses its buttons, so no test ever blocks on a modal window.
#pragma once

class QDialog;

class TDialogRunner
{
public:
    virtual ~TDialogRunner() = default;
    // Shows the dialog modally and returns its result (QDialog::Accepted or Rejected).
    virtual int Run(QDialog &dialog) = 0;
};

// Runs a dialog through the installed runner (exec() when none is installed).
int RunModal(QDialog &dialog);
// Installs a runner and returns the previous one; null restores exec().
TDialogRunner *InstallDialogRunner(TDialogRunner *runner);
