#pragma once

#include <string>

namespace testing_support {

// The path of Mesa's software OpenGL driver, or empty when it is not found.
std::string GlDriverPath();

// Mesa unloads its OpenGL driver when a program's display connection closes, before the leak
// check runs at exit, so the blocks that the driver's globals still reach would be reported as
// leaks of an unknown module. Loading the driver once more, for good, keeps it in memory: its
// blocks stay reachable, and the leak check still covers everything else.
void KeepGlDriverLoaded();

}  // namespace testing_support
