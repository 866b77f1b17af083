#pragma once

#include <string>

namespace testing_support {

// A game killed in the middle of a save of the target: a child process that has written part
// of the new version through the game's own replacement file, killed before its commit. What it
// leaves is whatever a real kill leaves. False when the child could not write its part.
bool KillDuringSave(const std::string& target);

}  // namespace testing_support
