// A dialog runner for tests: each modal dialog the editor runs is handed to the next step
// of a script, which fills its fields and presses its buttons and returns the result.
// A dialog arriving with no step left is cancelled. Install it for the life of a test with
// TScopedDialogRunner.
#pragma once

#include "editor/shell/DialogRunner.h"

#include <QDialog>
#include <deque>
#include <functional>
#include <string>
#include <vector>

class TScriptedDialogRunner : public TDialogRunner
{
public:
    using TStep = std::function<int(QDialog &)>;

    std::deque<TStep> Steps;
    // The object names and window titles of the dialogs run, in order.
    std::vector<std::string> Shown;

    int Run(QDialog &dialog) override
    {
        Shown.push_back(dialog.objectName().toStdString() + "|" +
                        dialog.windowTitle().toStdString());
        if (Steps.empty())
            return QDialog::Rejected;
        TStep step = std::move(Steps.front());
        Steps.pop_front();
        return step(dialog);
    }
};

class TScopedDialogRunner
{
public:
    TScopedDialogRunner() : previous(InstallDialogRunner(&runner)) {}
    ~TScopedDialogRunner() { InstallDialogRunner(previous); }
    TScopedDialogRunner(const TScopedDialogRunner &) = delete;
    TScopedDialogRunner &operator=(const TScopedDialogRunner &) = delete;
    TScriptedDialogRunner *operator->() { return &runner; }
    TScriptedDialogRunner &operator*() { return runner; }

private:
    TScriptedDialogRunner runner;
    TDialogRunner *previous;
};
