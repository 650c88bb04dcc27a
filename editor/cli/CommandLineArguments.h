// What the command line asks for: --help, --version, --info, --convert, --render or
// --recover with
// their files and options, or a usage error. Pure parsing; paths are taken as given.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class TCommand { Help, Version, Info, Convert, Render, Recover };

struct TCommandLineRequest {
    TCommand Command = TCommand::Help;
    std::vector<std::string> Files; // Info: the file; Convert, Render: source and target;
                                    // Recover: the target, or none to list the copies
    int32_t RecoverNumber = 0;      // Recover: the copy to write, from 1 as listed
    bool Json = false;
    bool AllLayers = false;
    double ZoomPercent = 100.0;
    uint16_t Zoom = 256; // in 256ths, as the map view holds it
    std::string Error;   // set for a usage error
};

// Whether these arguments are for the command line rather than the editor's window: the
// first one begins with "--" (the window takes Qt's options with one dash).
bool IsCommandLineMode(int argc, const char *const *argv);

TCommandLineRequest ParseCommandLine(const std::vector<std::string> &Arguments);

// The help text, also shown with every usage error.
std::string UsageText();
