// TCP connections of the script networking classes, against servers on 127.0.0.1.
#include "swfplayer/base/net_socket.h"
#include "tests/support/FullListener.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/OwnTime.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <thread>

using namespace swfplayer;
using testing_support::LoopbackServer;

namespace {

// The reads read_line gives now, as "count:line" ("!" marks a cut line), up to a 0 or -1.
std::string LinesNow(net_socket_tcp& socket, int max_bytes) {
    for (int i = 0; i < 500 && !socket.is_readable(); i++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));  // bytes in flight
    }
    std::string results;
    for (int count = 1; count > 0;) {
        base_string line;
        count = socket.read_line(&line, max_bytes, 0.0f);
        results += (results.empty() ? "" : " ") + std::to_string(count) + (count > 0 ? ":" : "") + line.c_str() +
                   (count > 0 && socket.was_line_cut() ? "!" : "");
    }
    return results;
}

TEST(NetSocketTest, read_line_hands_out_whole_lines_however_they_arrive) {
    const struct {
        std::vector<std::string> sends;  // the last one is followed by the end of the connection
        int max_bytes;
        std::vector<std::string> reads;  // after each send
    } cases[] = {
        {{"a", "b", "\r", "\n", ""}, 0, {"0", "0", "0", "4:ab 0", "-1"}},
        {{"x\r", "\ny\n", ""}, 0, {"0", "3:x 2:y 0", "-1"}},
        {{"abcdef\n", ""}, 3, {"3:abc! 3:def! 1: 0", "-1"}},
        {{"ab\n", ""}, 3, {"3:ab 0", "-1"}},
        {{std::string("a\0b\rc\n\n", 7), ""}, 0, {"6:abc 1: 0", "-1"}},
        {{"one\nla", "st"}, 0, {"4:one 0", "4:last -1"}},
    };
    LoopbackServer server;
    for (const auto& c : cases) {
        std::unique_ptr<net_socket_tcp> socket =
            net_interface_tcp().connect("127.0.0.1", server.Port(), net_interface_tcp::connect_timeout_ms);
        auto peer = server.Accept();
        ASSERT_TRUE(socket && peer);
        for (size_t i = 0; i < c.sends.size(); i++) {
            peer->Send(c.sends[i]);
            if (i + 1 == c.sends.size()) {
                peer->Close();
            }
            EXPECT_EQ(LinesNow(*socket, c.max_bytes), c.reads[i]) << c.sends[0] << " send " << i;
        }
    }
}

TEST(NetSocketTest, failed_connects_say_why_on_standard_error) {
    const int refusing = testing_support::RefusingPort();
    const struct {
        const char* host;
        int port;
        std::string message;
    } cases[] = {
        {"127.0.0.1", refusing, "can't connect to '127.0.0.1', port " + std::to_string(refusing) + "\n"},
        {"999.0.0.1", 80, "can't find '999.0.0.1'\n"},  // a digit first: numbers, never looked up
        {nullptr, 80, ""},
        {"127.0.0.1", 0, ""},
        {"127.0.0.1", 65536, ""},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(net_interface_tcp().connect(c.host, c.port, net_interface_tcp::connect_timeout_ms));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.message);
    }
}

TEST(NetSocketTest, connecting_gives_up_when_the_server_never_answers) {
    // With its queue of waiting connections full, a server drops requests unanswered.
    LoopbackServer server;
    std::vector<std::unique_ptr<net_socket_tcp>> waiting;
    while (waiting.size() < 200 && (waiting.empty() || waiting.back())) {
        testing::internal::CaptureStderr();
        auto start = std::chrono::steady_clock::now();
        waiting.push_back(
            net_interface_tcp().connect("127.0.0.1", server.Port(), net_interface_tcp::connect_timeout_ms));
        testing::internal::GetCapturedStderr();
        if (!waiting.back()) {
            EXPECT_GE(std::chrono::steady_clock::now() - start,
                      std::chrono::milliseconds(net_interface_tcp::connect_timeout_ms - 50));
        }
    }
    EXPECT_FALSE(waiting.back());
}

TEST(NetSocketTest, connecting_waits_no_longer_than_its_time_out_and_without_time_tries_nothing) {
    testing_support::FullListener full;
    ASSERT_TRUE(full.IsFull());
    const std::string port = std::to_string(full.Port());
    const struct {
        const char* host;
        int timeout_ms;
        // The wait, from least_ms (less the clock's whole milliseconds) to 100 ms more. A busy
        // machine stretches the wall-clock time, so that is held to the least and the thread's own
        // time to the most: time the deadline passed while the thread was kept from running is
        // in the one but not the other.
        int least_ms;
        std::string message;
    } cases[] = {
        {"127.0.0.1", 100, 100, "can't connect to '127.0.0.1', port " + port + "\n"},
        {"127.0.0.1", 0, 0, "can't connect to '127.0.0.1', port " + port + "\n"},
        {"127.0.0.1", -1, 0, "can't connect to '127.0.0.1', port " + port + "\n"},
        // No time to wait: not even the name is looked up.
        {"no.such.host.invalid", 0, 0, "can't connect to 'no.such.host.invalid', port " + port + "\n"},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        const auto start = std::chrono::steady_clock::now();
        const testing_support::OwnTime own;
        EXPECT_FALSE(net_interface_tcp().connect(c.host, full.Port(), c.timeout_ms));
        const std::chrono::nanoseconds ownWait = own.Elapsed();
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.message);
        EXPECT_GE(waited, std::chrono::milliseconds(c.least_ms - 2)) << c.host << " " << c.timeout_ms;
        EXPECT_LT(ownWait, std::chrono::milliseconds(c.least_ms + 100)) << c.host << " " << c.timeout_ms;
    }
}

TEST(NetSocketTest, writing_to_a_peer_that_went_away_records_the_error_without_a_signal) {
    LoopbackServer server;
    std::unique_ptr<net_socket_tcp> socket =
        net_interface_tcp().connect("127.0.0.1", server.Port(), net_interface_tcp::connect_timeout_ms);
    ASSERT_TRUE(socket);
    server.Accept()->Close();
    // Once the reset has come back, writing fails; a SIGPIPE would end the test program.
    for (int i = 0; i < 200 && socket->is_open(); i++) {
        socket->write("data", 4, 0.1f);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_TRUE(socket->get_error() == EPIPE || socket->get_error() == ECONNRESET) << socket->get_error();
}

TEST(NetSocketTest, connect_and_destroy_cycles_leave_no_descriptor_open) {
    LoopbackServer server;
    const int before = testing_support::OpenDescriptorCount();
    for (int i = 0; i < 100; i++) {
        std::unique_ptr<net_socket_tcp> socket;
        {
            net_interface_tcp interface;  // goes first: the descriptor is the socket's alone
            socket = interface.connect("127.0.0.1", server.Port(), net_interface_tcp::connect_timeout_ms);
        }
        ASSERT_TRUE(socket);
        EXPECT_EQ(fcntl(socket->get_handle(), F_GETFD) & FD_CLOEXEC, FD_CLOEXEC);
    }
    EXPECT_EQ(testing_support::OpenDescriptorCount(), before);
}

}  // namespace
