// XMLSocket against a loopback server that the test drives between frames.
#include "swfplayer/main/script/instruction_budget.h"
#include "swfplayer/main/swfplayer_as_classes/as_xmlsock.h"
#include "swfplayer/main/swfplayer_as_classes/net_wait_allowance.h"
#include "tests/support/FullListener.h"
#include "tests/support/OwnTime.h"
#include "tests/swfplayer/main/swfplayer_as_classes/NetTestKit.h"

#include <string>
#include <vector>

using namespace net_test;

namespace {

class XmlSocketTest : public NetFixture {
protected:
    // A socket labelled "s", connected to server; the server's side in m_peer.
    as_value connected(LoopbackServer& server) {
        as_value socket = make_xmlsocket("s");
        EXPECT_TRUE(method(socket, "connect", {"127.0.0.1", server.Port()}).to_bool());
        m_peer = server.Accept();
        EXPECT_TRUE(m_peer);
        EXPECT_EQ(s_events, "s.onConnect(true)");  // the socket itself is "this"
        s_events.clear();
        return socket;
    }

    LoopbackServer m_server;
    std::unique_ptr<testing_support::LoopbackPeer> m_peer;
};

TEST_F(XmlSocketTest, failed_connects_tell_onconnect_false) {
    const int refusing = testing_support::RefusingPort();
    const struct {
        std::vector<as_value> args;
        std::string events;
    } cases[] = {
        {{"127.0.0.1"}, ""},  // one argument: no event
        {{"127.0.0.1", refusing}, "s.onConnect(false)"},
        {{"999.0.0.1", 80}, "s.onConnect(false)"},
        {{as_value(static_cast<as_object*>(nullptr)), m_server.Port()}, "s.onConnect(false)"},
        {{"127.0.0.1", 65536}, "s.onConnect(false)"},
    };
    for (const auto& c : cases) {
        s_events.clear();
        as_value socket = make_xmlsocket("s");
        testing::internal::CaptureStderr();
        EXPECT_FALSE(method(socket, "connect", c.args).to_bool());
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(s_events, c.events);
        EXPECT_FALSE(m_player->has_frame_object(socket.to_object()));
    }
}

TEST_F(XmlSocketTest, send_writes_exactly_the_bytes_of_the_string) {
    as_value socket = connected(m_server);
    method(socket, "send", {"abc"});
    method(socket, "send", {"x", "y"});  // not exactly one argument: nothing
    method(socket, "close", {});
    EXPECT_EQ(m_peer->ReadUntil(""), "abc");
}

TEST_F(XmlSocketTest, lines_arrive_one_per_frame_and_an_empty_line_closes) {
    as_value socket = connected(m_server);
    m_peer->Send("hello\r\nworld\n\nafter\n");
    EXPECT_TRUE(frames_until([] { return !s_events.empty(); }));
    frame();
    EXPECT_EQ(s_events, "s.onData(hello) s.onData(world)");
    frame();
    frame();
    EXPECT_EQ(s_events, "s.onData(hello) s.onData(world) s.onClose()");
    EXPECT_FALSE(m_player->has_frame_object(socket.to_object()));
    EXPECT_TRUE(m_peer->SeesEnd());
}

TEST_F(XmlSocketTest, a_peer_sending_a_byte_per_frame_never_holds_up_a_frame) {
    as_value socket = connected(m_server);
    for (char c : std::string("slow line\n")) {
        EXPECT_EQ(s_events, "");
        m_peer->Send(std::string(1, c));
        const testing_support::OwnTime own;
        frame();
        EXPECT_LT(own.Elapsed(), std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(frames_until([] { return !s_events.empty(); }));
    EXPECT_EQ(s_events, "s.onData(slow line)");
}

// The pieces an overlong line comes in, in order: for each onData, the length of its line
// when it is all one byte repeated ("102400 x"), else the line itself.
std::vector<std::string> Pieces(const std::string& events) {
    std::vector<std::string> pieces;
    const std::string start = "s.onData(";
    for (size_t at = events.find(start); at != std::string::npos; at = events.find(start, at + 1)) {
        size_t begin = at + start.size();
        std::string line = events.substr(begin, events.find(')', begin) - begin);
        bool repeated = line.size() > 1 && line.find_first_not_of(line[0]) == std::string::npos;
        pieces.push_back(repeated ? std::to_string(line.size()) + " " + line[0] : line);
    }
    return pieces;
}

TEST_F(XmlSocketTest, an_overlong_line_comes_in_pieces_and_keeps_the_connection) {
    const int piece = as_xmlsock::max_line_bytes;
    const struct {
        std::string sent;
        std::vector<std::string> pieces;
    } cases[] = {
        {std::string(250000, 'x') + "\nafter\n", {"102400 x", "102400 x", "45200 x", "after"}},
        // Cut exactly at a piece's end: the line's end gives no empty line.
        {std::string(2 * piece, 'y') + "\r\nafter\n", {"102400 y", "102400 y", "after"}},
        {std::string(piece - 1, 'z') + "\nafter\n", {"102399 z", "after"}},
    };
    for (const auto& c : cases) {
        s_events.clear();
        as_value socket = connected(m_server);
        m_peer->Send(c.sent);
        EXPECT_TRUE(frames_until([&] { return Pieces(s_events).size() == c.pieces.size(); }));
        // One line a frame: the pieces come on frames of their own.
        frame();
        EXPECT_EQ(Pieces(s_events), c.pieces);
        EXPECT_EQ(s_events.find("onClose"), std::string::npos);
        EXPECT_TRUE(m_player->has_frame_object(socket.to_object()));
        method(socket, "send", {"still here"});
        method(socket, "close", {});
        EXPECT_EQ(m_peer->ReadUntil(""), "still here");
    }
}

TEST_F(XmlSocketTest, the_end_and_a_send_without_room_close) {
    enum Step { kPeerCloses, kFlood };
    const struct {
        std::string sent;
        Step step;
        std::string events;
    } cases[] = {
        {"last\npart", kPeerCloses, "s.onData(last) s.onData(part) s.onClose()"},
        {"", kFlood, "s.onClose()"},  // not taken within a second: the connection is dropped
    };
    for (const auto& c : cases) {
        s_events.clear();
        LoopbackServer server(4096);  // buffers little, so a flood soon finds no room
        as_value socket = connected(server);
        m_peer->Send(c.sent);
        if (c.step == kPeerCloses) {
            m_peer->Close();
        } else if (c.step == kFlood) {
            method(socket, "send", {std::string(8 << 20, 'f').c_str()});
        }
        EXPECT_TRUE(frames_until([&] { return !m_player->has_frame_object(socket.to_object()); }));
        EXPECT_EQ(s_events, c.events);
    }
}

TEST_F(XmlSocketTest, once_a_frame_has_waited_its_allowance_connects_fail_at_once_and_sends_take_what_goes) {
    as_value socket = connected(m_server);
    testing_support::FullListener full;
    instruction_budget::run_scope frame;
    net_wait_allowance::begin_frame();
    as_value stalled = make_xmlsocket("stalled"), late = make_xmlsocket("late");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(method(stalled, "connect", {"127.0.0.1", full.Port()}).to_bool());  // waits the allowance out
    EXPECT_TRUE(net_wait_allowance::is_spent());
    const testing_support::OwnTime own;
    EXPECT_FALSE(method(late, "connect", {"127.0.0.1", m_server.Port()}).to_bool());
    EXPECT_LT(own.Elapsed(), std::chrono::milliseconds(100));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "can't connect to '127.0.0.1', port " + std::to_string(full.Port()) +
                  "\ncan't connect to '127.0.0.1', port " + std::to_string(m_server.Port()) + "\n");
    EXPECT_EQ(s_events, "stalled.onConnect(false) late.onConnect(false)");
    EXPECT_FALSE(m_player->has_frame_object(late.to_object()));
    // A send the system takes at once is whole: the connection stays.
    method(socket, "send", {"abc"});
    EXPECT_TRUE(static_cast<as_xmlsock*>(socket.to_object())->is_connected());
    EXPECT_EQ(m_peer->ReadUntil("abc"), "abc");
    net_wait_allowance::begin_frame();
    EXPECT_TRUE(method(late, "connect", {"127.0.0.1", m_server.Port()}).to_bool());
    const size_t said = s_log.find("net_wait_allowance::wait:");
    EXPECT_NE(said, std::string::npos);
    EXPECT_EQ(s_log.find("net_wait_allowance::wait:", said + 1), std::string::npos);  // once
}

TEST_F(XmlSocketTest, connect_again_close_and_destruction_free_the_connection) {
    as_value socket = connected(m_server);
    auto first = std::move(m_peer);
    EXPECT_TRUE(method(socket, "connect", {"127.0.0.1", m_server.Port()}).to_bool());
    EXPECT_TRUE(first->SeesEnd());
    auto second = m_server.Accept();
    method(socket, "close", {});
    EXPECT_TRUE(second->SeesEnd());
    EXPECT_EQ(s_events, "s.onConnect(true)");  // close tells nothing
    EXPECT_FALSE(m_player->has_frame_object(socket.to_object()));
    const int before = testing_support::OpenDescriptorCount();
    for (int i = 0; i < 100; i++) {
        as_value other = make_xmlsocket("other");
        ASSERT_TRUE(method(other, "connect", {"127.0.0.1", m_server.Port()}).to_bool());
        m_player->remove_frame_object(other.to_object());  // the last reference goes with the value
    }
    EXPECT_EQ(testing_support::OpenDescriptorCount(), before);
    EXPECT_EQ(m_player->nesting().m_open_sockets, 0);
}

}  // namespace
