// The program's start and end, in their fixed order: settings and language, the map
// document, the main window, the tool windows, the first map; at the end the map and the
// catalogue are freed.
#pragma once

#include <memory>
#include <string>

class TMainForm;

// The fatal error box: Messages[28] + "(" + detail + ")".
void ShowFatalError(const std::string &detail);

// Runs the start-up up to the message loop. Null after a fatal error (already shown).
std::unique_ptr<TMainForm> StartEditor(const std::string &programFolder);
// Frees the map document and the language catalogue after the main window is gone.
void FinishEditor();
