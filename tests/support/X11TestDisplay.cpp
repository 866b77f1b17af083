#include "tests/support/X11TestDisplay.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <memory>

namespace testing_support {

namespace {

// Windows come and go while the tests look at them; errors about vanished windows are expected.
int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

// The channel of a pixel under a colour mask, scaled to 0..255.
int Channel(unsigned long pixel, unsigned long mask) {
    const int shift = mask == 0 ? 0 : std::countr_zero(mask);
    return mask == 0 ? 0 : static_cast<int>(((pixel & mask) >> shift) * 255 / (mask >> shift));
}

}  // namespace

X11TestDisplay::X11TestDisplay(int screenWidth, int screenHeight) {
    // Xvfb picks a free display number and writes it to the descriptor given with -displayfd.
    int fds[2];
    if (pipe(fds) != 0) {
        return;
    }
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    const std::string screen = std::to_string(screenWidth) + "x" + std::to_string(screenHeight) + "x24";
    m_Server.emplace(
        ChildProcess::Start({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen, "-nolisten", "tcp"},
                            "", {}, "/dev/null"));
    close(fds[1]);
    std::string number;
    pollfd readable{fds[0], POLLIN, 0};
    char c = 0;
    for (auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
         std::chrono::steady_clock::now() < deadline;) {
        if (poll(&readable, 1, 100) > 0) {
            if (read(fds[0], &c, 1) != 1 || c == '\n') {
                break;
            }
            number += c;
        }
    }
    close(fds[0]);
    if (!number.empty()) {
        m_Name = ":" + number;
        XSetErrorHandler(IgnoreXErrors);
        m_Display = XOpenDisplay(m_Name.c_str());
    }
}

X11TestDisplay::~X11TestDisplay() {
    if (m_Display) {
        XCloseDisplay(m_Display);
    }
}

Window X11TestDisplay::FindWindow(const std::string& title) {
    Window root = 0, parent = 0, found = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(m_Display, DefaultRootWindow(m_Display), &root, &parent, &children, &count)) {
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

std::pair<int, int> X11TestDisplay::Position(Window window) {
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(m_Display, window, DefaultRootWindow(m_Display), 0, 0, &x, &y, &child);
    return {x, y};
}

std::optional<std::vector<Rgb>> X11TestDisplay::ReadPixels(Window window,
                                                           const std::vector<std::pair<int, int>>& points) {
    const auto [width, height] = Size(window);
    std::unique_ptr<XImage, int (*)(XImage*)> image(
        width > 0 && height > 0 ? XGetImage(m_Display, window, 0, 0, static_cast<unsigned int>(width),
                                            static_cast<unsigned int>(height), AllPlanes, ZPixmap)
                                : nullptr,
        [](XImage* i) { return XDestroyImage(i); });
    if (!image) {
        return std::nullopt;
    }
    std::vector<Rgb> colours;
    for (auto [x, y] : points) {
        if (x < 0 || y < 0 || x >= width || y >= height) {
            return std::nullopt;
        }
        const unsigned long pixel = XGetPixel(image.get(), x, y);
        colours.push_back(
            {Channel(pixel, image->red_mask), Channel(pixel, image->green_mask), Channel(pixel, image->blue_mask)});
    }
    return colours;
}

void X11TestDisplay::RequestClose(Window window) {
    XEvent event{};
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
    const std::optional<int> status =
        ChildProcess::Start(argv, "", {"DISPLAY=" + m_Name}, outputFile).WaitFor(std::chrono::seconds(20));
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

}  // namespace testing_support
