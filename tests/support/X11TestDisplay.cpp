#include "tests/support/X11TestDisplay.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <thread>

namespace testing_support {

namespace {

// Windows come and go while the tests look at them; errors about vanished windows are expected.
int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

// The lowest set bit's position and the width of a colour mask.
int MaskShift(unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

int Channel(unsigned long pixel, unsigned long mask) {
    unsigned long value = (pixel & mask) >> MaskShift(mask);
    unsigned long max = mask >> MaskShift(mask);
    return max == 0 ? 0 : static_cast<int>(value * 255 / max);
}

}  // namespace

X11TestDisplay::X11TestDisplay(int screenWidth, int screenHeight) {
    // Xvfb picks a free display number and writes it to the descriptor given with -displayfd.
    int fds[2];
    if (pipe(fds) != 0) {
        return;
    }
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    std::string screen = std::to_string(screenWidth) + "x" + std::to_string(screenHeight) + "x24";
    m_Server.emplace(
        ChildProcess::Start({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen, "-nolisten", "tcp"},
                            "", {}, "/dev/null"));
    close(fds[1]);

    std::string number;
    pollfd readable{fds[0], POLLIN, 0};
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (std::chrono::steady_clock::now() < deadline) {
        if (poll(&readable, 1, 100) > 0) {
            char c = 0;
            if (read(fds[0], &c, 1) != 1 || c == '\n') {
                break;
            }
            number += c;
        }
    }
    close(fds[0]);
    if (number.empty()) {
        return;
    }
    m_Name = ":" + number;
    XSetErrorHandler(IgnoreXErrors);
    m_Display = XOpenDisplay(m_Name.c_str());
}

X11TestDisplay::~X11TestDisplay() {
    if (m_Display) {
        XCloseDisplay(m_Display);
    }
}

Window X11TestDisplay::FindWindow(const std::string& title) {
    Window root = DefaultRootWindow(m_Display);
    Window rootReturn = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (!XQueryTree(m_Display, root, &rootReturn, &parent, &children, &count)) {
        return 0;
    }
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        char* name = nullptr;
        XWindowAttributes attributes;
        if (XFetchName(m_Display, children[i], &name) && name) {
            if (title == name && XGetWindowAttributes(m_Display, children[i], &attributes) &&
                attributes.map_state == IsViewable) {
                found = children[i];
            }
            XFree(name);
        }
    }
    if (children) {
        XFree(children);
    }
    return found;
}

void X11TestDisplay::MoveResize(Window window, unsigned int width, unsigned int height) {
    XMoveResizeWindow(m_Display, window, 0, 0, width, height);
    XSync(m_Display, False);
}

std::pair<int, int> X11TestDisplay::Size(Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(m_Display, window, &attributes)) {
        return {0, 0};
    }
    return {attributes.width, attributes.height};
}

std::optional<std::vector<Rgb>> X11TestDisplay::ReadPixels(Window window,
                                                           const std::vector<std::pair<int, int>>& points) {
    auto [width, height] = Size(window);
    if (width <= 0 || height <= 0) {
        return std::nullopt;
    }
    XImage* image = XGetImage(m_Display, window, 0, 0, static_cast<unsigned int>(width),
                              static_cast<unsigned int>(height), AllPlanes, ZPixmap);
    if (!image) {
        return std::nullopt;
    }
    std::vector<Rgb> colours;
    for (auto [x, y] : points) {
        if (x < 0 || y < 0 || x >= width || y >= height) {
            XDestroyImage(image);
            return std::nullopt;
        }
        unsigned long pixel = XGetPixel(image, x, y);
        colours.push_back(
            {Channel(pixel, image->red_mask), Channel(pixel, image->green_mask), Channel(pixel, image->blue_mask)});
    }
    XDestroyImage(image);
    return colours;
}

void X11TestDisplay::RequestClose(Window window) {
    XEvent event;
    std::memset(&event, 0, sizeof(event));
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(m_Display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(m_Display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(m_Display, window, False, NoEventMask, &event);
    XSync(m_Display, False);
}

bool X11TestDisplay::XDoTool(const std::vector<std::string>& arguments, const std::string& outputFile) const {
    std::vector<std::string> argv = {"/usr/bin/xdotool"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    ChildProcess tool = ChildProcess::Start(argv, "", {"DISPLAY=" + m_Name}, outputFile);
    std::optional<int> status = tool.WaitFor(std::chrono::seconds(20));
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

}  // namespace testing_support
