#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

// Root opens every file whatever its permissions, so a test of a file the player may not read
// runs its work as an ordinary user, "nobody", when the test runs as root (as CI does). None of
// the calls below changes anything for a test run by an ordinary user, who is refused already.

// Gives the folder and everything in it to nobody when this process is root, so that the work
// done as that user can still read and write there.
void GiveToOrdinaryUser(const std::filesystem::path& folder);

// Gives the folder to nobody and makes this process (a bounded child) that user, when it is root;
// a failed step ends the work (Require).
void BecomeOrdinaryUser(const std::filesystem::path& folder);

// The command (a path and its arguments) as it runs as nobody when this process is root (through
// setpriv, which starts the program itself, so the process is the program's), else as it is.
std::vector<std::string> AsOrdinaryUser(const std::vector<std::string>& command);

}  // namespace testing_support
