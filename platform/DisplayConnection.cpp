#include "platform/DisplayConnection.h"

#include <X11/Xlib.h>

#include <cstdlib>

namespace platform {

std::string DisplayName() {
    const char* name = std::getenv("DISPLAY");
    return name != nullptr ? name : "";
}

DisplayConnection::DisplayConnection() : m_Display(XOpenDisplay(nullptr)) {}

DisplayConnection::~DisplayConnection() {
    if (m_Display != nullptr) {
        XCloseDisplay(m_Display);
    }
}

}  // namespace platform
