#pragma once

#include <string>

namespace platform {

// The X display that the window library opens: the value of DISPLAY, empty when it is not set.
std::string DisplayName();

// Whether a connection to that display opens (it is closed again at once). The window library
// aborts the process when its own connection fails, so a program asks this before it builds
// anything of that library.
bool DisplayOpens();

}  // namespace platform
