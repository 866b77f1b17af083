// XMLSocket against a server on 127.0.0.1 that the test drives between frames.
#include "swfplayer/main/swfplayer_as_classes/as_xmlsock.h"
#include "tests/swfplayer/main/swfplayer_as_classes/NetTestKit.h"

#include <chrono>
#include <memory>
#include <string>

using namespace net_test;
using testing_support::LoopbackPeer;
using testing_support::LoopbackServer;

namespace {

class XmlSocketTest : public NetFixture {
protected:
    // A new socket labelled "s", connected to the server; the server's side in m_peer.
    as_value connected() {
        as_value socket = make_xmlsocket("s");
        EXPECT_TRUE(method(socket, "connect", {"127.0.0.1", m_server.Port()}).to_bool());
        m_peer = m_server.Accept();
        EXPECT_TRUE(m_peer);
        s_events.clear();
        return socket;
    }

    LoopbackServer m_server;
    std::unique_ptr<LoopbackPeer> m_peer;
};

TEST_F(XmlSocketTest, connect_tells_onconnect_with_the_socket_as_this) {
    as_value socket = make_xmlsocket("s");
    EXPECT_TRUE(method(socket, "connect", {"127.0.0.1", m_server.Port()}).to_bool());
    EXPECT_EQ(events(), "s.onConnect(true)");
    EXPECT_TRUE(m_player->has_frame_object(socket.to_object()));
}

TEST_F(XmlSocketTest, failed_connects_tell_onconnect_false) {
    const int refusing = testing_support::RefusingPort();
    const as_value null_object(static_cast<as_object*>(nullptr));
    const struct {
        std::vector<as_value> args;
        std::string events;
        std::string error;
    } cases[] = {
        {{"127.0.0.1"}, "", ""},  // one argument: no event
        {{"127.0.0.1", m_server.Port(), 1}, "", ""},
        {{"127.0.0.1", refusing},
         "s.onConnect(false)",
         "can't connect to '127.0.0.1', port " + std::to_string(refusing) + "\n"},
        {{"999.0.0.1", 80}, "s.onConnect(false)", "can't find '999.0.0.1'\n"},
        {{null_object, m_server.Port()}, "s.onConnect(false)", ""},
        {{as_value(), m_server.Port()}, "s.onConnect(false)", ""},
        {{"127.0.0.1", 0}, "s.onConnect(false)", ""},
        {{"127.0.0.1", 65536}, "s.onConnect(false)", ""},
        {{"127.0.0.1", "port"}, "s.onConnect(false)", ""},
    };
    for (const auto& c : cases) {
        s_events.clear();
        as_value socket = make_xmlsocket("s");
        testing::internal::CaptureStderr();
        EXPECT_FALSE(method(socket, "connect", c.args).to_bool());
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.error);
        EXPECT_EQ(events(), c.events);
        EXPECT_FALSE(m_player->has_frame_object(socket.to_object()));
    }
}

TEST_F(XmlSocketTest, send_writes_exactly_the_bytes_of_the_string) {
    as_value socket = connected();
    method(socket, "send", {"abc"});
    method(socket, "send", {});  // not exactly one argument: nothing
    method(socket, "send", {"x", "y"});
    method(socket, "close", {});
    EXPECT_EQ(m_peer->ReadToEnd(), "abc");
}

TEST_F(XmlSocketTest, lines_arrive_one_per_frame_and_an_empty_line_closes) {
    as_value socket = connected();
    m_peer->Send("hello\r\nworld\n\nafter\n");
    EXPECT_TRUE(frames_until([] { return !s_events.empty(); }));
    EXPECT_EQ(events(), "s.onData(hello)");
    frame();
    EXPECT_EQ(events(), "s.onData(hello) s.onData(world)");
    frame();
    EXPECT_EQ(events(), "s.onData(hello) s.onData(world) s.onClose()");
    EXPECT_FALSE(m_player->has_frame_object(socket.to_object()));
    EXPECT_TRUE(m_peer->SeesEnd());
    frame();
    EXPECT_EQ(s_events.size(), 3u);
}

TEST_F(XmlSocketTest, a_peer_sending_a_byte_per_frame_never_holds_up_a_frame) {
    as_value socket = connected();
    const std::string line = "slow line";
    for (char c : line + "\n") {
        EXPECT_EQ(events(), "");
        m_peer->Send(std::string(1, c));
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        auto start = std::chrono::steady_clock::now();
        m_player->advance_frame_objects(1.0f / 30.0f);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(frames_until([] { return !s_events.empty(); }));
    EXPECT_EQ(events(), "s.onData(slow line)");
}

TEST_F(XmlSocketTest, the_end_of_the_connection_and_an_overlong_line_close) {
    const struct {
        const char* name;
        std::string sent;
        bool close;
        std::string events;
    } cases[] = {
        {"the end", "last\n", true, "s.onData(last) s.onClose()"},
        {"the end after a part line", "part", true, "s.onData(part) s.onClose()"},
        {"a line of the limit", std::string(as_xmlsock::max_line_bytes, 'x') + "\n", false, "s.onClose()"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackServer server;
        as_value socket = make_xmlsocket("s");
        ASSERT_TRUE(method(socket, "connect", {"127.0.0.1", server.Port()}).to_bool());
        std::unique_ptr<LoopbackPeer> peer = server.Accept();
        ASSERT_TRUE(peer);
        s_events.clear();
        peer->Send(c.sent);
        if (c.close) {
            peer->Close();
        }
        EXPECT_TRUE(frames_until([&] { return !m_player->has_frame_object(socket.to_object()); }));
        EXPECT_EQ(events(), c.events);
    }
}

TEST_F(XmlSocketTest, a_second_connect_and_close_free_the_connection_the_peer_sees_end) {
    as_value socket = connected();
    std::unique_ptr<LoopbackPeer> first = std::move(m_peer);
    const int before = testing_support::OpenDescriptorCount();
    EXPECT_TRUE(method(socket, "connect", {"127.0.0.1", m_server.Port()}).to_bool());
    std::unique_ptr<LoopbackPeer> second = m_server.Accept();
    ASSERT_TRUE(second);
    EXPECT_TRUE(first->SeesEnd());
    EXPECT_EQ(testing_support::OpenDescriptorCount(), before + 1);  // the server's side of the second
    method(socket, "close", {});
    EXPECT_TRUE(second->SeesEnd());
    EXPECT_FALSE(m_player->has_frame_object(socket.to_object()));
    EXPECT_EQ(events(), "s.onConnect(true)");  // close itself tells nothing
    EXPECT_EQ(m_player->nesting().m_open_sockets, 0);
}

TEST_F(XmlSocketTest, a_send_not_taken_within_its_time_out_drops_the_connection) {
    // The server reads nothing and buffers little, so the data soon finds no room.
    LoopbackServer server(4096);
    as_value socket = make_xmlsocket("s");
    ASSERT_TRUE(method(socket, "connect", {"127.0.0.1", server.Port()}).to_bool());
    s_events.clear();
    const std::string flood(8 * 1024 * 1024, 'f');
    auto start = std::chrono::steady_clock::now();
    method(socket, "send", {flood.c_str()});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_FALSE(static_cast<as_xmlsock*>(socket.to_object())->is_connected());
    frame();
    EXPECT_EQ(events(), "s.onClose()");
    EXPECT_FALSE(m_player->has_frame_object(socket.to_object()));
}

TEST_F(XmlSocketTest, connect_and_destroy_cycles_leave_no_descriptor_open) {
    const int before = testing_support::OpenDescriptorCount();
    for (int i = 0; i < 100; i++) {
        as_value socket = make_xmlsocket("s");
        ASSERT_TRUE(method(socket, "connect", {"127.0.0.1", m_server.Port()}).to_bool());
        m_player->remove_frame_object(socket.to_object());  // the last reference goes with the value
    }
    EXPECT_EQ(testing_support::OpenDescriptorCount(), before);
    EXPECT_EQ(m_player->nesting().m_open_sockets, 0);
}

TEST_F(XmlSocketTest, methods_called_on_another_object_do_nothing) {
    as_value socket = make_xmlsocket("s");
    as_value plain = plain_object();
    for (const char* name : {"connect", "send", "close"}) {
        as_value function = member(socket.to_object(), name);
        EXPECT_TRUE(call(m_env, function, plain, {"127.0.0.1", m_server.Port()}).is_undefined()) << name;
    }
    EXPECT_EQ(m_player->get_frame_object_count(), 0);
}

}  // namespace
