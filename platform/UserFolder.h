#pragma once

#include <string>

namespace platform {

// The user's own data folder for the game: "$XDG_DATA_HOME/Pondorix/", else
// "$HOME/.local/share/Pondorix/"; the path ends with '/'. Empty when neither variable names a
// base folder. Nothing is created.
std::string UserDataFolderPath();

// That folder, created with all its parents. When no base folder is known, or the folder cannot
// be created or written, the result is the empty text, so that files named after it land in the
// current directory.
std::string GetUserDataFolder();

// Whether the folder exists and this process may create and replace files in it.
bool IsWritableFolder(const std::string& folder);

}  // namespace platform
