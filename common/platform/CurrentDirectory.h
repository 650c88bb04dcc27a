// The process's current directory. The editor sets it to the project file's folder before
// an import, so plug-ins resolve stored relative references against it.
#pragma once

#include <string>

// The absolute path of the current directory, without a trailing separator (except for
// the root itself); empty when it cannot be determined.
std::string GetCurrentDirectoryPath();

// Makes path the current directory; false when that is not possible.
bool SetCurrentDirectoryPath(const std::string &path);
