// The user's own folders the editor keeps data in beyond its settings, and the identity of
// the running process.
#pragma once

#include <cstdint>
#include <string>

// $XDG_STATE_HOME, or ~/.local/state when it is unset or not an absolute path; empty when
// not even the home folder is known.
std::string UserStateFolder();

// Makes path and any missing folders above it with mode 0700, since what they hold is the
// user's alone; folders that exist keep their mode (the user may have closed one on
// purpose). False when path is not a folder afterwards.
bool MakePrivateFolder(const std::string &path);

// The running process's number.
int64_t CurrentProcessId();
