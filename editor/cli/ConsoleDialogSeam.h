// The dialog seam of the command line: message boxes become lines on standard error,
// questions and file dialogs are cancelled (nobody is there to answer), texts are the
// English defaults. Never touches a window.
#pragma once

#include "editor/map/DialogSeam.h"

#include <cstdio>

class TConsoleDialogSeam : public TQuietDialogSeam
{
public:
    explicit TConsoleDialogSeam(std::FILE *Output = stderr) : FOutput(Output) {}

    // "Tessella: " and the text; cautions are marked as such.
    void ShowMessageBox(int32_t Kind, const std::string &Text) override;

private:
    std::FILE *FOutput;
};
