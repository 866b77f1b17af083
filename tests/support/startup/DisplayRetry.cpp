// Start-up code of every test program, fuzz target and benchmark: XOpenDisplay tried again for a
// while when the X server drops the connection.
// An X server started without -noreset resets itself whenever its last client leaves, and drops
// the connections that arrive meanwhile. Under one server the suite runs many programs, one ending
// as the next connects, and SFML closes its display with its last window or context and opens it
// again with the next one, so a connection can arrive in a reset; SFML then ends the program
// ("Failed to open X11 display"), or the program dies of SIGPIPE when Xlib writes to the dropped
// connection. Defined in the program, this XOpenDisplay takes the place of Xlib's for every library
// the program uses, and calls Xlib's own until it connects or kRetryFor has passed, with SIGPIPE
// held back meanwhile.

#include <X11/Xlib.h>
#include <dlfcn.h>
#include <pthread.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

// A reset takes milliseconds, a few hundred on a machine under load.
constexpr auto kRetryFor = std::chrono::seconds(5);
constexpr auto kPause = std::chrono::milliseconds(10);

using OpenDisplayFunction = Display* (*)(const char*);

// Blocks SIGPIPE in the calling thread, which a write to a dropped connection raises, for the
// object's lifetime; a SIGPIPE raised meanwhile is taken away unseen. Nothing changes where the
// thread had SIGPIPE blocked already.
class HeldSigpipe {
public:
    HeldSigpipe() {
        sigemptyset(&m_Pipe);
        sigaddset(&m_Pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &m_Pipe, &m_Before);
    }
    ~HeldSigpipe() {
        if (sigismember(&m_Before, SIGPIPE)) {
            return;
        }
        const timespec now{0, 0};
        while (sigtimedwait(&m_Pipe, nullptr, &now) == SIGPIPE) {
        }
        pthread_sigmask(SIG_SETMASK, &m_Before, nullptr);
    }
    HeldSigpipe(const HeldSigpipe&) = delete;
    HeldSigpipe& operator=(const HeldSigpipe&) = delete;

private:
    sigset_t m_Pipe;
    sigset_t m_Before;
};

}  // namespace

extern "C" Display* XOpenDisplay(const char* name) {
    static const auto xlibOpenDisplay = reinterpret_cast<OpenDisplayFunction>(dlsym(RTLD_NEXT, "XOpenDisplay"));
    if (!xlibOpenDisplay) {
        return nullptr;
    }
    const HeldSigpipe held;
    const auto deadline = std::chrono::steady_clock::now() + kRetryFor;
    Display* display = xlibOpenDisplay(name);
    while (!display && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(kPause);
        display = xlibOpenDisplay(name);
    }
    if (!display) {
        std::fprintf(stderr, "XOpenDisplay: no connection to the X server %s within %lld s\n",
                     name ? name : XDisplayName(nullptr), static_cast<long long>(kRetryFor.count()));
    }
    return display;
}
