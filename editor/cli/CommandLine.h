// The command-line mode of the program: --help, --version, --info, --convert and --render,
// run without any display. Decided in main before any window-system object exists; only a
// QCoreApplication is made. Messages go through the dialog seam to standard error.
#pragma once

#include "CommandLineArguments.h"

// Runs the command the arguments name; the result is the exit status: 0 done, 1 failed
// (message on standard error), 2 usage error (usage text on standard error).
int RunCommandLine(int argc, char **argv);
