#pragma once

#include <string>

struct _XDisplay;

namespace platform {

// The X display that the window library opens: the value of DISPLAY, empty when it is not set.
std::string DisplayName();

// A connection of the program's own to that display, open from construction to destruction. The
// window library aborts the process when its own connection fails, so a program opens this before
// it builds anything of that library and holds it for the whole run: an X server that resets
// itself whenever its last client leaves (Xvfb's and Xorg's default) would otherwise reset when a
// connection opened only to look closes again, and drop the window library's connection that
// arrives meanwhile.
class DisplayConnection {
public:
    DisplayConnection();
    ~DisplayConnection();
    DisplayConnection(const DisplayConnection&) = delete;
    DisplayConnection& operator=(const DisplayConnection&) = delete;

    // Whether the connection opened.
    bool IsOpen() const { return m_Display != nullptr; }

private:
    _XDisplay* m_Display;
};

}  // namespace platform
