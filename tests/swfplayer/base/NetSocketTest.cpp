// TCP connections of the script networking classes, against servers on 127.0.0.1 that the
// tests start themselves.
#include "swfplayer/base/net_socket.h"
#include "tests/support/LoopbackServer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using swfplayer::base_string;
using swfplayer::net_interface_tcp;
using swfplayer::net_socket_tcp;
using testing_support::LoopbackPeer;
using testing_support::LoopbackServer;

namespace {

struct Connection {
    std::unique_ptr<net_socket_tcp> socket;
    std::unique_ptr<LoopbackPeer> peer;
};

Connection Connect(LoopbackServer& server) {
    Connection connection;
    connection.socket = net_interface_tcp().connect("127.0.0.1", server.Port());
    connection.peer = server.Accept();
    EXPECT_TRUE(connection.socket && connection.peer);
    return connection;
}

// Every line read_line hands out until it answers 0 or -1, as "count:line" ("!" marks a cut
// line), then that last answer.
std::vector<std::string> LinesNow(net_socket_tcp& socket, int max_bytes) {
    std::vector<std::string> results;
    for (;;) {
        base_string line;
        int count = socket.read_line(&line, max_bytes, 0.0f);
        if (count <= 0) {
            EXPECT_EQ(line.size(), 0) << "nothing is appended without a whole line";
            results.push_back(std::to_string(count));
            return results;
        }
        results.push_back(std::to_string(count) + ":" + line.c_str() + (socket.was_line_cut() ? "!" : ""));
    }
}

// Waits until the socket can make progress (bytes sent by the peer reach it at once on
// 127.0.0.1, but not within the same instruction).
void AwaitReadable(net_socket_tcp& socket) {
    for (int i = 0; i < 500 && !socket.is_readable(); i++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

std::string ConnectError(const char* host, int port, bool* connected) {
    testing::internal::CaptureStderr();
    std::unique_ptr<net_socket_tcp> socket = net_interface_tcp().connect(host, port);
    *connected = socket != nullptr;
    return testing::internal::GetCapturedStderr();
}

TEST(NetSocketTest, read_line_assembles_lines_across_sends_and_hands_them_out_whole) {
    const struct {
        const char* name;
        std::vector<std::string> sends;
        int max_bytes;
        // What the reads after each send give, then the reads after the peer closed.
        std::vector<std::vector<std::string>> after_send;
        std::vector<std::string> after_end;
    } cases[] = {
        {"one byte per send", {"a", "b", "\r", "\n"}, 0, {{"0"}, {"0"}, {"0"}, {"4:ab", "0"}}, {"-1"}},
        {"CR and LF in two sends", {"x\r", "\ny\n"}, 0, {{"0"}, {"3:x", "2:y", "0"}}, {"-1"}},
        {"two lines in one send", {"hello\r\nworld\n"}, 0, {{"7:hello", "6:world", "0"}}, {"-1"}},
        {"a long line cut at max_bytes", {"abcdef\n"}, 3, {{"3:abc!", "3:def!", "1:", "0"}}, {"-1"}},
        {"a line end at max_bytes", {"ab\n"}, 3, {{"3:ab", "0"}}, {"-1"}},
        {"0 bytes and CR counted, not stored", {std::string("a\0b\rc\n", 6)}, 0, {{"6:abc", "0"}}, {"-1"}},
        {"an empty line", {"\n", "\r\n"}, 0, {{"1:", "0"}, {"2:", "0"}}, {"-1"}},
        {"the last line without its end", {"one\nla", "st"}, 0, {{"4:one", "0"}, {"0"}}, {"4:last", "-1"}},
    };
    LoopbackServer server;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Connection connection = Connect(server);
        ASSERT_TRUE(connection.socket);
        for (size_t i = 0; i < c.sends.size(); i++) {
            ASSERT_TRUE(connection.peer->Send(c.sends[i]));
            AwaitReadable(*connection.socket);
            EXPECT_EQ(LinesNow(*connection.socket, c.max_bytes), c.after_send[i]) << "after send " << i;
        }
        connection.peer->Close();
        AwaitReadable(*connection.socket);
        EXPECT_EQ(LinesNow(*connection.socket, c.max_bytes), c.after_end);
        EXPECT_TRUE(connection.socket->has_ended());
    }
}

TEST(NetSocketTest, a_line_longer_than_the_buffer_is_handed_out_cut_at_the_buffer_size) {
    LoopbackServer server;
    Connection connection = Connect(server);
    ASSERT_TRUE(connection.socket);
    std::thread sender([&] { connection.peer->Send(std::string(net_socket_tcp::max_buffered_bytes + 10, 'x')); });
    base_string line;
    int count = connection.socket->read_line(&line, 0, 5.0f);
    sender.join();
    EXPECT_EQ(count, net_socket_tcp::max_buffered_bytes);
    EXPECT_EQ(line.size(), net_socket_tcp::max_buffered_bytes);
    EXPECT_TRUE(connection.socket->was_line_cut());
}

TEST(NetSocketTest, read_line_waits_up_to_its_time_out_for_a_whole_line) {
    LoopbackServer server;
    Connection connection = Connect(server);
    ASSERT_TRUE(connection.socket);
    ASSERT_TRUE(connection.peer->Send("par"));
    auto start = std::chrono::steady_clock::now();
    base_string line;
    EXPECT_EQ(connection.socket->read_line(&line, 0, 0.2f), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(190));
    EXPECT_EQ(line.size(), 0);
    std::thread sender([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        connection.peer->Send("t\n");
    });
    EXPECT_EQ(connection.socket->read_line(&line, 0, 5.0f), 5);
    sender.join();
    EXPECT_STREQ(line.c_str(), "part");
}

TEST(NetSocketTest, read_takes_buffered_bytes_first_and_stops_at_the_end) {
    LoopbackServer server;
    Connection connection = Connect(server);
    ASSERT_TRUE(connection.socket);
    ASSERT_TRUE(connection.peer->Send("line\nrest"));
    AwaitReadable(*connection.socket);
    base_string line;
    ASSERT_EQ(connection.socket->read_line(&line, 0, 1.0f), 5);
    connection.peer->Close();
    char buffer[16] = {};
    EXPECT_EQ(connection.socket->read(buffer, sizeof(buffer), 1.0f), 4);
    EXPECT_EQ(std::string(buffer, 4), "rest");
    EXPECT_TRUE(connection.socket->has_ended());
    EXPECT_TRUE(connection.socket->is_readable());
    EXPECT_EQ(connection.socket->read(buffer, sizeof(buffer), 0.0f), 0);
}

TEST(NetSocketTest, write_sends_every_byte_and_is_readable_tells_when_data_waits) {
    LoopbackServer server;
    Connection connection = Connect(server);
    ASSERT_TRUE(connection.socket);
    EXPECT_FALSE(connection.socket->is_readable());
    std::string data(300000, 'q');
    std::thread reader([&] { EXPECT_EQ(connection.peer->ReadUntil(std::string(1, 'q') + "end").size(), 300003u); });
    EXPECT_EQ(connection.socket->write(data.data(), static_cast<int>(data.size()), 5.0f), 300000);
    EXPECT_EQ(connection.socket->write("end", 3, 1.0f), 3);
    reader.join();
    connection.peer->Send("x");
    AwaitReadable(*connection.socket);
    EXPECT_TRUE(connection.socket->is_readable());
    EXPECT_TRUE(connection.socket->is_open());
    EXPECT_EQ(connection.socket->get_error(), 0);
}

TEST(NetSocketTest, writing_to_a_peer_that_went_away_records_the_error_without_a_signal) {
    LoopbackServer server;
    Connection connection = Connect(server);
    ASSERT_TRUE(connection.socket);
    connection.peer->Close();
    std::string data(4096, 'z');
    // The first writes may still be taken; once the reset has come back, writing fails (a
    // SIGPIPE would have ended the test program here).
    for (int i = 0; i < 200 && connection.socket->is_open(); i++) {
        connection.socket->write(data.data(), static_cast<int>(data.size()), 0.1f);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_FALSE(connection.socket->is_open());
    EXPECT_TRUE(connection.socket->get_error() == EPIPE || connection.socket->get_error() == ECONNRESET)
        << connection.socket->get_error();
}

TEST(NetSocketTest, failed_connects_say_why_on_standard_error) {
    const int refusing = testing_support::RefusingPort();
    const struct {
        const char* host;
        int port;
        std::string message;
    } cases[] = {
        {"127.0.0.1", refusing, "can't connect to '127.0.0.1', port " + std::to_string(refusing) + "\n"},
        {"999.0.0.1", 80, "can't find '999.0.0.1'\n"},  // a digit first: read as numbers, never looked up
        {"127.1", 80, "can't find '127.1'\n"},
        {nullptr, 80, ""},
        {"127.0.0.1", 0, ""},
        {"127.0.0.1", 65536, ""},
        {"127.0.0.1", -1, ""},
    };
    for (const auto& c : cases) {
        bool connected = true;
        EXPECT_EQ(ConnectError(c.host, c.port, &connected), c.message) << (c.host ? c.host : "null") << c.port;
        EXPECT_FALSE(connected);
    }
}

TEST(NetSocketTest, connecting_gives_up_after_its_time_out_when_the_server_never_answers) {
    // A server whose queue of waiting connections is full drops further connection requests
    // unanswered.
    int port = 0;
    int listening = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    ASSERT_EQ(bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(getsockname(listening, reinterpret_cast<sockaddr*>(&address), &length), 0);
    port = ntohs(address.sin_port);
    ASSERT_EQ(listen(listening, 0), 0);
    std::unique_ptr<net_socket_tcp> filler = net_interface_tcp().connect("127.0.0.1", port);
    ASSERT_TRUE(filler);
    auto start = std::chrono::steady_clock::now();
    bool connected = true;
    std::string message = ConnectError("127.0.0.1", port, &connected);
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(connected);
    EXPECT_EQ(message, "can't connect to '127.0.0.1', port " + std::to_string(port) + "\n");
    EXPECT_GE(waited, std::chrono::milliseconds(net_interface_tcp::connect_timeout_ms - 50));
    EXPECT_LT(waited, std::chrono::milliseconds(net_interface_tcp::connect_timeout_ms + 1000));
    close(listening);
}

TEST(NetSocketTest, connect_and_destroy_cycles_leave_no_descriptor_open) {
    LoopbackServer server;
    const int before = testing_support::OpenDescriptorCount();
    for (int i = 0; i < 100; i++) {
        std::unique_ptr<net_socket_tcp> socket;
        {
            // The interface goes first; the descriptor is the socket's alone.
            net_interface_tcp interface;
            socket = interface.connect("127.0.0.1", server.Port());
        }
        ASSERT_TRUE(socket);
        EXPECT_EQ(fcntl(socket->get_handle(), F_GETFD) & FD_CLOEXEC, FD_CLOEXEC);
    }
    EXPECT_EQ(testing_support::OpenDescriptorCount(), before);
}

}  // namespace
