#include "platform/DisplayCheck.h"

#include <X11/Xlib.h>

#include <cstdlib>

namespace platform {

std::string DisplayName() {
    const char* name = std::getenv("DISPLAY");
    return name != nullptr ? name : "";
}

bool DisplayOpens() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    XCloseDisplay(display);
    return true;
}

}  // namespace platform
