// The user's home folder: where file dialogs start before the user has opened or saved
// anything.
#pragma once

#include <string>

// $HOME, else the home folder the user database names; empty when neither is known.
std::string HomeFolderPath();
