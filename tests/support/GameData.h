#pragma once

#include <filesystem>

namespace testing_support {

// Copies the game's data folder, file by file, without the movies' cache files (".gsc"): tests
// that load the movies of the build's own game folder write those beside them, through temporary
// files that come and go while this copies, so a file that goes before it is copied is left out.
void CopyGameData(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace testing_support
