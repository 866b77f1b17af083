// Connections to X servers through the start-up code's XOpenDisplay, which tries again while the
// server drops them.
#include "tests/support/XvfbServer.h"

#include <gtest/gtest.h>

#include <chrono>

// After gtest's headers, which Xlib's macros (None, Bool) would break.
#include <X11/Xlib.h>

// An Xvfb of its own without -noreset resets itself each time the one connection closes, and the
// next connection, made at once as SFML makes it, arrives during the reset.
TEST(DisplayRetry, a_server_that_resets_whenever_its_last_client_leaves_is_always_reached) {
    const testing_support::XvfbServer server(64, 64);
    ASSERT_TRUE(server.Started());
    int failed = 0;
    for (int i = 0; i < 50; ++i) {
        if (Display* display = XOpenDisplay(server.Name().c_str())) {
            XCloseDisplay(display);
        } else {
            ++failed;
        }
    }
    EXPECT_EQ(failed, 0);
}

// Where no server runs the connection still fails, after the retries' five seconds. No server
// picks a display number this high by itself.
TEST(DisplayRetry, without_a_server_the_connection_fails_after_five_seconds) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(XOpenDisplay(":64999"), nullptr);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::seconds(5));
    EXPECT_LT(took, std::chrono::seconds(20));
}
