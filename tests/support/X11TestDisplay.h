#pragma once

#include "tests/support/XvfbServer.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

struct _XDisplay;

namespace testing_support {

// An X window id (an XID), kept apart from Xlib so that its macros (None, Bool, Status) stay out of
// the tests that include this header.
using Window = unsigned long;

// An 8-bit colour read back from the screen.
struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

// A virtual X server of its own (Xvfb) with one large screen, so that test windows of any size
// fit on it whatever display the tests run under, and a connection to it.
class X11TestDisplay {
public:
    // When the connection is made: at once, or only when Connect is called, so that until then
    // the programs a test starts are the server's only clients.
    enum class Connection { AtOnce, Later };

    X11TestDisplay(int screenWidth, int screenHeight, Connection connection = Connection::AtOnce);
    ~X11TestDisplay();
    X11TestDisplay(const X11TestDisplay&) = delete;
    X11TestDisplay& operator=(const X11TestDisplay&) = delete;

    // False when the server could not be started.
    bool Started() const { return m_Server.Started(); }
    // Connects to the server unless connected already; false when the server cannot be reached.
    bool Connect();
    // False when the server could not be started or reached, or is not connected to yet.
    bool Ready() const { return m_Display != nullptr; }
    // The display name to give programs, such as ":5".
    const std::string& Name() const { return m_Server.Name(); }

    // A viewable top-level window with this title, or 0.
    Window FindWindow(const std::string& title);
    // Places the window at the screen's top-left corner with the given size.
    void MoveResize(Window window, unsigned int width, unsigned int height);
    // The window's size as the server has it.
    std::pair<int, int> Size(Window window);
    // Where the window's top-left corner lies on the screen.
    std::pair<int, int> Position(Window window);
    // Where the pointer stands, in pixels of the window, as the server has it now.
    std::pair<int, int> Pointer(Window window);
    // Reads the colours at the given points of the window; nothing when they cannot be read.
    std::optional<std::vector<Rgb>> ReadPixels(Window window, const std::vector<std::pair<int, int>>& points);
    // Asks the window to close as a window manager does (WM_DELETE_WINDOW).
    void RequestClose(Window window);
    // Sends each key (an X key name such as "space", or "alt+" and a name for the key with Alt
    // down) to the window as a press and a release of its own, whatever window has the focus,
    // and returns once the server has delivered them:
    // events the caller makes afterwards come after them. Each key is stamped kSentKeyGap after the
    // one before, so the window system never takes two presses of one key for the key held down.
    // False when a name is no key of the server's keyboard.
    bool SendKeys(Window window, const std::vector<std::string>& keys);
    static constexpr unsigned long kSentKeyGap = 20;
    // Runs xdotool on this display with the arguments, its output going to outputFile; true when
    // it ended well within 20 seconds.
    bool XDoTool(const std::vector<std::string>& arguments, const std::string& outputFile) const;

private:
    XvfbServer m_Server;
    // Held from the connection to the end, so the server never resets itself while the tests use
    // it.
    _XDisplay* m_Display = nullptr;
    // The time stamp of the last key sent, in milliseconds.
    unsigned long m_SentKeyTime = 0;
};

}  // namespace testing_support
