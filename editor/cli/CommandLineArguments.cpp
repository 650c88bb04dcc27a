#include "CommandLineArguments.h"

#include <cmath>
#include <cstdlib>

namespace
{

// The map view shows cells from 1/16 of a part (6.25 %) up to three times a part.
constexpr double kMinZoomPercent = 6.25;
constexpr double kMaxZoomPercent = 300.0;

bool ParseZoom(const std::string &text, TCommandLineRequest &request)
{
    std::string number = text;
    if (!number.empty() && number.back() == '%')
        number.pop_back();
    if (number.empty())
        return false;
    char *end = nullptr;
    const double percent = std::strtod(number.c_str(), &end);
    if (end == nullptr || *end != '\0' || !std::isfinite(percent) || percent < kMinZoomPercent ||
        percent > kMaxZoomPercent)
        return false;
    request.ZoomPercent = percent;
    request.Zoom = static_cast<uint16_t>(std::lround(percent * 256.0 / 100.0));
    return true;
}

TCommandLineRequest UsageError(const std::string &text)
{
    TCommandLineRequest request;
    request.Error = text;
    return request;
}

} // namespace

bool IsCommandLineMode(int argc, const char *const *argv)
{
    return argc > 1 && argv[1][0] == '-' && argv[1][1] == '-';
}

TCommandLineRequest ParseCommandLine(const std::vector<std::string> &Arguments)
{
    if (Arguments.empty())
        return UsageError("no command given");
    TCommandLineRequest request;
    const std::string &command = Arguments[0];
    size_t files = 0;
    if (command == "--help" || command == "-h") {
        request.Command = TCommand::Help;
    } else if (command == "--version") {
        request.Command = TCommand::Version;
    } else if (command == "--info") {
        request.Command = TCommand::Info;
        files = 1;
    } else if (command == "--convert") {
        request.Command = TCommand::Convert;
        files = 2;
    } else if (command == "--render") {
        request.Command = TCommand::Render;
        files = 2;
    } else if (command == "--recover") {
        request.Command = TCommand::Recover;
    } else {
        return UsageError("unknown command " + command);
    }

    bool onlyFiles = false; // after "--" every argument is a file
    for (size_t i = 1; i < Arguments.size(); ++i) {
        const std::string &argument = Arguments[i];
        if (onlyFiles || argument.empty() || argument[0] != '-' || argument == "-") {
            request.Files.push_back(argument);
        } else if (argument == "--") {
            onlyFiles = true;
        } else if (argument == "--json" && request.Command == TCommand::Info) {
            request.Json = true;
        } else if (argument == "--all-layers" && request.Command == TCommand::Render) {
            request.AllLayers = true;
        } else if ((argument == "--zoom" || argument.rfind("--zoom=", 0) == 0) &&
                   request.Command == TCommand::Render) {
            std::string value;
            if (argument == "--zoom") {
                if (i + 1 == Arguments.size())
                    return UsageError("--zoom needs a percentage");
                value = Arguments[++i];
            } else {
                value = argument.substr(7);
            }
            if (!ParseZoom(value, request))
                return UsageError("the zoom must be a percentage from 6.25 to 300, not " + value);
        } else {
            return UsageError("unknown option " + argument + " for " + command);
        }
    }
    if (request.Command == TCommand::Recover) {
        if (request.Files.empty())
            return request;
        if (request.Files.size() != 2)
            return UsageError("--recover takes no file, or a copy's number and a target file");
        char *end = nullptr;
        const long number = std::strtol(request.Files[0].c_str(), &end, 10);
        if (end == request.Files[0].c_str() || *end != '\0' || number < 1 || number > 1000000)
            return UsageError("the copy's number must be 1 or more, as --recover lists it, not " +
                              request.Files[0]);
        request.RecoverNumber = static_cast<int32_t>(number);
        request.Files.erase(request.Files.begin());
        return request;
    }
    if (request.Files.size() != files)
        return UsageError(command + (files == 0   ? " takes no file"
                                     : files == 1 ? " needs one file"
                                                  : " needs a source and a target file"));
    return request;
}

std::string UsageText()
{
    return "Usage:\n"
           "  Tessella [FILE]                        open the editor (with FILE)\n"
           "  Tessella --help                        show this help\n"
           "  Tessella --version                     show the version\n"
           "  Tessella --info FILE [--json]          describe a map file\n"
           "  Tessella --convert SOURCE TARGET       convert a map file\n"
           "  Tessella --render SOURCE IMAGE [--zoom PERCENT] [--all-layers]\n"
           "                                         draw a map into a picture\n"
           "  Tessella --recover                     list the recovery copies of unsaved work\n"
           "  Tessella --recover N TARGET            write recovery copy N to TARGET\n"
           "\n"
           "The command-line forms need no display and open no window.\n"
           "  --info     size, parts, bit count, alignment, transparency, invisible part,\n"
           "             comment, and each layer's name, visibility, parts image and number\n"
           "             of non-empty cells; --json prints one JSON object instead.\n"
           "  --convert  reads SOURCE with the plug-in that accepts it (as File > Open) and\n"
           "             writes TARGET with the plug-in its extension names (.tzp, .csv,\n"
           "             .tmx, ...).\n"
           "  --render   draws the map as the map view shows it, without grid, numbers,\n"
           "             marker, fog or selection: the file's transparent colour and\n"
           "             invisible part apply, hidden layers are left out unless\n"
           "             --all-layers. IMAGE ends in .png or .bmp (24-bit). --zoom is a\n"
           "             percentage from 6.25 to 300 (default 100).\n"
           "  --recover  without arguments lists the copies editors that ended without\n"
           "             saving left in $XDG_STATE_HOME/Tessella/recovery (number, name,\n"
           "             original path, time, size); with N and TARGET writes copy N as\n"
           "             --convert would, with the original's way of storing parts-image\n"
           "             references. The copy stays.\n"
           "Relative paths start from the current folder. Nothing is written on failure.\n"
           "Exit status: 0 done, 1 failed (the reason on standard error), 2 usage error.\n";
}
