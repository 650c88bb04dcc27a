// The program's start and end, in their fixed order: settings and language, the map
// document, the main window, the tool windows, the first map; at the end the map and the
// catalogue are freed.
#pragma once

#include <memory>
#include <string>

class TMainForm;

// The fatal error box: Messages[28] + "(" + detail + ")".
void ShowFatalError(const std::string &detail);

// The file named on the command line (argv[1]) as a full path, a relative name taken from
// the folder the program was started in; empty without one. Call it before anything changes
// the current folder: start-up makes the program's folder current.
std::string CommandLineFile(int argc, char **argv);

// Runs the start-up up to the message loop; the first map is openFile when one is given.
// Null after a fatal error (already shown).
std::unique_ptr<TMainForm> StartEditor(const std::string &programFolder,
                                       const std::string &openFile = std::string());
// Frees the map document and the language catalogue after the main window is gone.
void FinishEditor();
