#include "tests/support/X11TestDisplay.h"

#include "tests/support/ChildProcess.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <sys/wait.h>

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

X11TestDisplay::X11TestDisplay(int screenWidth, int screenHeight, Connection connection)
    : m_Server(screenWidth, screenHeight) {
    if (connection == Connection::AtOnce) {
        Connect();
    }
}

bool X11TestDisplay::Connect() {
    if (m_Display == nullptr && m_Server.Started()) {
        XSetErrorHandler(IgnoreXErrors);
        m_Display = XOpenDisplay(m_Server.Name().c_str());
    }
    return m_Display != nullptr;
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

std::pair<int, int> X11TestDisplay::Pointer(Window window) {
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int x = 0;
    int y = 0;
    unsigned int buttons = 0;
    XQueryPointer(m_Display, window, &root, &child, &rootX, &rootY, &x, &y, &buttons);
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

bool X11TestDisplay::SendKeys(Window window, const std::vector<std::string>& keys) {
    for (const std::string& key : keys) {
        const bool alt = key.starts_with("alt+");
        const std::string name = alt ? key.substr(4) : key;
        const KeySym symbol = XStringToKeysym(name.c_str());
        const KeyCode code = symbol == NoSymbol ? 0 : XKeysymToKeycode(m_Display, symbol);
        if (code == 0) {
            return false;
        }
        m_SentKeyTime += kSentKeyGap;
        XEvent event{};
        event.xkey.display = m_Display;
        event.xkey.window = window;
        event.xkey.root = DefaultRootWindow(m_Display);
        event.xkey.time = m_SentKeyTime;
        event.xkey.keycode = code;
        event.xkey.state = alt ? Mod1Mask : 0;
        event.xkey.same_screen = True;
        for (int type : {KeyPress, KeyRelease}) {
            event.xkey.type = type;
            XSendEvent(m_Display, window, True, type == KeyPress ? KeyPressMask : KeyReleaseMask, &event);
        }
    }
    XSync(m_Display, False);
    return true;
}

bool X11TestDisplay::XDoTool(const std::vector<std::string>& arguments, const std::string& outputFile) const {
    std::vector<std::string> argv = {"/usr/bin/xdotool"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const std::optional<int> status =
        ChildProcess::Start(argv, "", {"DISPLAY=" + Name()}, outputFile).WaitFor(std::chrono::seconds(20));
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

}  // namespace testing_support
