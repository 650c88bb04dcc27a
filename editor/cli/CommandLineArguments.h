// What the command line asks for: --help, --version, --info, --convert or --render with
// their files and options, or a usage error. Pure parsing; paths are taken as given.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class TCommand { Help, Version, Info, Convert, Render };

struct TCommandLineRequest {
    TCommand Command = TCommand::Help;
    std::vector<std::string> Files; // Info: the file; Convert, Render: source and target
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
