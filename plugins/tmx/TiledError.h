// The one way a Tiled file fails to open: a result code of the plug-in interface and a text
// for the user that names the file and what is wrong with it.
#pragma once

#include "common/TessellaPlugin.h"

#include <stdexcept>
#include <string>

class ETiledError : public std::runtime_error
{
public:
    ETiledError(int32_t code, const std::string &text) : std::runtime_error(text), Code(code) {}
    int32_t Code;
};

// "desert.tmx: the layer is larger than the map" as a broken file (4).
[[noreturn]] inline void ThrowBroken(const std::string &file, const std::string &what)
{
    throw ETiledError(prBrokenFile, file + ": " + what);
}

// A file that cannot be read or written (5).
[[noreturn]] inline void ThrowFileError(const std::string &file, const std::string &what)
{
    throw ETiledError(prFileError, file + ": " + what);
}

// Something this plug-in cannot take over (1).
[[noreturn]] inline void ThrowNotSupported(const std::string &file, const std::string &what)
{
    throw ETiledError(prNotSupported, file + ": " + what);
}

// Text in double quotes, for names in messages.
inline std::string Quoted(const std::string &text)
{
    return "\"" + text + "\"";
}
