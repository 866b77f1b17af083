#pragma once

#include "tests/support/GameProcess.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// What a started program must show once its window is there (the game's title, the view's match).
using ShownCheck = std::function<testing::AssertionResult(GameProcess&)>;

// Starts a program of the game `starts` times, `atOnce` of them at a time, each on an X server of
// its own started for it (XvfbServer: one that resets itself whenever its last client leaves) and
// in a copy of the game folder of its own with the preferences given, the program the server's
// only client until its window is ready (GameProcess::StartAsOnlyClient). Expects of each: its
// window comes, it shows what the check wants, and it ends with exit code 0 when its window is
// closed.
void ExpectStartsAsOnlyClient(const std::vector<std::string>& command, const std::string& gameFolder,
                              const std::string& preferences, int starts, int atOnce, const ShownCheck& shown);

}  // namespace testing_support
