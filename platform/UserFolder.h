#pragma once

#include <string>

namespace platform {

// The user's own data folder for the game: "$XDG_DATA_HOME/Pondorix/", else
// "$HOME/.local/share/Pondorix/", created with all its parents. The path ends with '/'.
// When no base folder is known, or the folder cannot be created, the result is the empty
// text, so that files named after it land in the current directory.
std::string GetUserDataFolder();

}  // namespace platform
