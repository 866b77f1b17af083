// LoadVars: the requests it writes and the answers it reads, against a loopback server.
#include "swfplayer/main/script/instruction_budget.h"
#include "swfplayer/main/swfplayer_as_classes/as_loadvars.h"
#include "swfplayer/main/swfplayer_as_classes/net_wait_allowance.h"
#include "tests/support/FullListener.h"
#include "tests/support/OwnTime.h"
#include "tests/swfplayer/main/swfplayer_as_classes/NetTestKit.h"

#include <algorithm>
#include <set>

using namespace net_test;

namespace {

// The request line, the header lines (as a set) and the body, joined by "|".
std::string Parsed(const std::string& request, std::set<std::string>* headers) {
    size_t head_end = request.find("\r\n\r\n"), line_end = request.find("\r\n");
    for (size_t at = line_end + 2; at < head_end + 2; at = request.find("\r\n", at) + 2) {
        headers->insert(request.substr(at, request.find("\r\n", at) - at));
    }
    return request.substr(0, line_end) + "|" + request.substr(head_end + 4);
}

// The pairs as "name=value" joined by ",", by name.
std::string Pairs(const as_loadvars::string_table& table) {
    std::vector<std::string> pairs;
    for (const auto& pair : table) {
        pairs.push_back(std::string(pair.first.c_str()) + "=" + pair.second.c_str());
    }
    std::sort(pairs.begin(), pairs.end());
    std::string joined;
    for (const std::string& pair : pairs) {
        joined += (joined.empty() ? "" : ",") + pair;
    }
    return joined;
}

class LoadVarsTest : public NetFixture {
protected:
    ~LoadVarsTest() override { as_loadvars_request::set_idle_timeout_ms(as_loadvars_request::default_idle_timeout_ms); }

    static as_loadvars* loadvars(const as_value& value) { return static_cast<as_loadvars*>(value.to_object()); }
    // The request the server reads after member(args) on lv, parsed.
    std::string request(const as_value& lv, const char* member, const std::vector<as_value>& args,
                        std::set<std::string>* headers) {
        EXPECT_TRUE(method(lv, member, args).to_bool());
        m_peer = m_server.Accept();
        return m_peer ? Parsed(m_peer->ReadRequest(), headers) : "";
    }
    std::set<std::string> default_headers() const {
        return {"Content-Type: application/x-www-form-urlencoded", "Cache-Control: no-cache", "User-Agent: swfplayer",
                "Host: 127.0.0.1:" + std::to_string(m_server.Port()), "Connection: close"};
    }

    LoopbackServer m_server;
    std::unique_ptr<testing_support::LoopbackPeer> m_peer;
};

TEST_F(LoadVarsTest, requests_carry_the_pairs_and_the_headers_of_their_own) {
    as_value first = make_loadvars("first"), second = make_loadvars("second"), third = make_loadvars("third");
    second.to_object()->set_member("a", "1 2");
    third.to_object()->set_member("b", "x&y\r\n");
    const std::string url = m_server.Url("/p"), bare = "127.0.0.1:" + std::to_string(m_server.Port()) + "/p";
    const struct {
        as_value lv;
        const char* member;
        std::vector<as_value> args;
        std::string parsed;
        const char* length;  // the Content-Length line, null for none
    } cases[] = {
        {first, "sendAndLoad", {url.c_str(), first}, "POST /p HTTP/1.1|", "Content-Length: 0"},
        {first, "sendAndLoad", {url.c_str(), first, "GET"}, "GET /p? HTTP/1.1|", nullptr},  // no length left over
        {second, "load", {bare.c_str()}, "GET /p?a=1%202 HTTP/1.1|", nullptr},              // "http://" may be left out
        // A method counts only as the third of exactly three arguments.
        {third, "sendAndLoad", {url.c_str(), first, "GET", 4}, "POST /p HTTP/1.1|b=x%26y%0d%0a", "Content-Length: 13"},
    };
    for (const auto& c : cases) {
        std::set<std::string> headers, expected = default_headers();
        EXPECT_EQ(request(c.lv, c.member, c.args, &headers), c.parsed);
        if (c.length) {
            expected.insert(c.length);
        }
        EXPECT_EQ(headers, expected) << c.parsed;
    }
}

TEST_F(LoadVarsTest, headers_that_could_break_a_request_are_refused) {
    as_value lv = make_loadvars("lv");
    const std::pair<const char*, const char*> taken[] = {{"X-Custom", "v 1"}, {"content-type", "text/plain"}};
    const std::pair<const char*, const char*> refused[] = {
        {"X-A", "1\r\nEvil: 2"}, {"X-B", "1\n"},          {"Bad Name", "v"},           {"X:Y", "v"}, {"", "v"},
        {"Host", "h"},           {"content-length", "9"}, {"CONNECTION", "keep-alive"}};
    for (const auto& [name, value] : refused) {
        method(lv, "addRequestHeader", {name, value});
    }
    method(lv, "addRequestHeader", {call_global("Array", {"X-Array", "v"})});  // one argument: nothing
    for (const auto& [name, value] : taken) {
        method(lv, "addRequestHeader", {name, value});
    }
    std::set<std::string> headers, expected = default_headers();
    request(lv, "load", {m_server.Url("/p").c_str()}, &headers);
    expected.erase("Content-Type: application/x-www-form-urlencoded");
    expected.insert({"X-Custom: v 1", "content-type: text/plain"});
    EXPECT_EQ(headers, expected);
}

TEST_F(LoadVarsTest, failed_starts_answer_false_and_tell_onload_false) {
    as_value lv = make_loadvars("lv"), other = make_loadvars("other"), plain = make("Object", "plain", {kOnLoad});
    const int port = testing_support::RefusingPort();
    const std::string refused = "http://127.0.0.1:" + std::to_string(port) + "/x", url = m_server.Url("/x");
    const std::string not_connected = "can't connect to '127.0.0.1', port " + std::to_string(port) + "\n";
    const struct {
        const char* member;
        std::vector<as_value> args;
        std::string events;
        std::string error;
    } cases[] = {
        {"load", {}, "", ""},
        {"load", {as_value(static_cast<as_object*>(nullptr))}, "", ""},
        {"load", {refused.c_str()}, "lv.onLoad(false)", not_connected},
        {"sendAndLoad", {refused.c_str()}, "", ""},
        {"sendAndLoad", {refused.c_str(), plain}, "plain.onLoad(false)", not_connected},  // whatever its class
        {"sendAndLoad", {url.c_str(), other, "PUT"}, "", ""},
        {"load", {"http://127.0.0.1"}, "lv.onLoad(false)", "invalid url 'http://127.0.0.1'\n"},
        {"load", {"http:///x"}, "lv.onLoad(false)", "invalid url 'http:///x'\n"},
        {"load", {"http://127.0.0.1:65536/x"}, "lv.onLoad(false)", "invalid url 'http://127.0.0.1:65536/x'\n"},
        {"load", {"http://h/a b"}, "lv.onLoad(false)", "invalid url 'http://h/a b'\n"},
        {"load", {"http://h/\r\nHost: e"}, "lv.onLoad(false)", "invalid url 'http://h/\r\nHost: e'\n"},
    };
    for (const auto& c : cases) {
        s_events.clear();
        testing::internal::CaptureStderr();
        EXPECT_FALSE(method(lv, c.member, c.args).to_bool());
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.error);
        EXPECT_EQ(s_events, c.events) << c.member << " " << c.args.size();
    }
    EXPECT_TRUE(call(m_env, member(lv.to_object(), "load"), plain, {url.c_str()}).is_undefined());  // not a LoadVars
    frame();
    EXPECT_EQ(m_player->get_frame_object_count(), 0);
}

TEST_F(LoadVarsTest, answers_end_in_their_events_and_pairs_whatever_way_they_arrive) {
    const std::string ok = "HTTP/1.1 200 OK\r\nServer: test\r\nX-Two: 2\r\n\r\n", body = "a=1&b=x%41";
    std::vector<std::string> bytes;
    for (char c : ok + body + "\n") {
        bytes.push_back(std::string(1, c));
    }
    const std::string success = "onHTTPStatus(200) onLoad(true) onData(" + body + ")";
    const std::string failure = "onHTTPStatus(200) onLoad(false) onData()";
    enum Ending { kStayOpen, kClose, kReset };
    const struct {
        std::vector<std::string> pieces;  // one per frame
        Ending ending;
        std::string events;
        std::string received;
    } cases[] = {
        {{ok + body}, kClose, success, "a=1,b=xA"},
        {bytes, kClose, success, "a=1,b=xA"},
        {{"HTTP/1.1 200 OK\r", "\n\r", "\na=1\r", "\nb=2\r", "\n"},
         kClose,
         "onHTTPStatus(200) onLoad(true) onData(a=1b=2)",
         "a=1,b=2"},
        {{"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n", body}, kStayOpen, success, "a=1,b=xA"},
        {{"HTTP/1.1 201 C\r\nTransfer-Encoding: chunked\r\n\r\n3\r\na=1\r\n", "1\r\n\n\r\n0\r\n\r\n"},
         kStayOpen,
         "onHTTPStatus(201) onLoad(true) onData(a=1)",
         "a=1"},
        {{"HTTP/1.1 200 OK\r\nContent-Length: 99999999\r\n\r\n"}, kStayOpen, failure, ""},
        {{"HTTP/1.1\r\n\r\na=1"}, kClose, "onHTTPStatus(0) onLoad(false) onData()", ""},
        {{"HTTP/1.1 200 OK\r\nServer: t"}, kClose, failure, ""},
        {{"HTTP/1.1 200 OK\r\nContent-Length: 20\r\n\r\na=1"}, kClose, failure, ""},
        {{"HTTP/1.1 200 OK\r\n\r\na=1\n"}, kReset, failure, ""},
        {{}, kStayOpen, "onHTTPStatus(0) onLoad(false) onData()", ""},  // silent
    };
    as_loadvars_request::set_idle_timeout_ms(300);
    for (const auto& c : cases) {
        s_events.clear();
        LoopbackServer server;  // a server takes a few connections only
        as_value lv = make("LoadVars", "", {kOnHttpStatus, kOnLoad, kOnData});
        ASSERT_TRUE(method(lv, "load", {server.Url("/answer").c_str()}).to_bool());
        auto peer = server.Accept();
        ASSERT_TRUE(peer);
        peer->ReadRequest();  // a server closing with bytes unread would reset the connection
        for (const std::string& piece : c.pieces) {
            peer->Send(piece);
            frame();
        }
        c.ending == kClose ? peer->Close() : c.ending == kReset ? peer->Reset() : void();
        EXPECT_TRUE(frames_until([&] { return !s_events.empty(); }));
        EXPECT_EQ(s_events, c.events) << c.pieces.size();
        EXPECT_EQ(Pairs(loadvars(lv)->get_received()), c.received);
        frame();
        EXPECT_FALSE(m_player->has_frame_object(lv.to_object()));
        EXPECT_TRUE(c.ending != kStayOpen || peer->SeesEnd()) << "closed when the exchange ends";
    }
}

TEST_F(LoadVarsTest, a_target_freed_before_the_answer_is_not_told) {
    as_value lv = make_loadvars("lv"), target = make_loadvars("target");
    std::set<std::string> headers;
    request(lv, "sendAndLoad", {m_server.Url("/p").c_str(), target}, &headers);
    target.set_undefined();  // the only reference
    m_peer->Send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\na=1");
    EXPECT_TRUE(frames_until([&] { return !m_player->has_frame_object(lv.to_object()); }));
    EXPECT_EQ(s_events, "");
}

TEST_F(LoadVarsTest, onload_may_load_again_and_every_pending_request_is_read) {
    as_value lv = make_loadvars("lv"), other = make_loadvars("other");
    std::set<std::string> headers;
    request(lv, "sendAndLoad", {m_server.Url("/p").c_str(), other}, &headers);
    auto other_peer = std::move(m_peer);
    int loads_left = 1;
    s_after_event = [&](const fn_call& fn, const std::string& name) {
        if (name == kOnLoad && loads_left-- > 0) {
            call(*fn.env, member(fn.this_ptr, "load"), as_value(fn.this_ptr), {m_server.Url("/again").c_str()});
        }
    };
    request(lv, "load", {m_server.Url("/p").c_str()}, &headers);
    m_peer->Send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nn=0");
    EXPECT_TRUE(frames_until([&] { return s_events.find("onData(n=0)") != std::string::npos; }));
    m_peer = m_server.Accept();
    ASSERT_TRUE(m_peer);
    EXPECT_EQ(Parsed(m_peer->ReadRequest(), &headers), "GET /again? HTTP/1.1|");
    m_peer->Send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nn=1");
    other_peer->Send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\no=2");
    EXPECT_TRUE(frames_until([&] { return !m_player->has_frame_object(lv.to_object()); }));
    EXPECT_EQ(s_events.rfind("lv.onHTTPStatus(200) lv.onLoad(true) lv.onData(n=0) ", 0), 0u) << s_events;
    EXPECT_NE(s_events.find("other.onHTTPStatus(200) other.onLoad(true) other.onData(o=2)"), std::string::npos);
    EXPECT_NE(s_events.find("lv.onHTTPStatus(200) lv.onLoad(true) lv.onData(n=1)"), std::string::npos);
    EXPECT_EQ(Pairs(loadvars(lv)->get_received()) + " " + Pairs(loadvars(other)->get_received()), "n=1 o=2");
}

TEST_F(LoadVarsTest, connections_are_capped_and_closed_with_their_player) {
    as_value lv = make_loadvars("lv");
    for (int i = 0; i < open_socket_slot::max_open_sockets; i++) {
        ASSERT_TRUE(method(lv, "load", {m_server.Url("/n").c_str()}).to_bool()) << i;
    }
    testing::internal::CaptureStderr();
    EXPECT_FALSE(method(lv, "load", {m_server.Url("/n").c_str()}).to_bool());
    EXPECT_FALSE(method(make_xmlsocket("socket"), "connect", {"127.0.0.1", m_server.Port()}).to_bool());
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(s_events, "lv.onLoad(false) socket.onConnect(false)");
    LoopbackServer cycles;
    const int before = testing_support::OpenDescriptorCount();
    for (int i = 0; i < 100; i++) {
        smart_ptr<player> owner = new player();
        as_environment env(owner.get_ptr());
        as_value other = call(env, member(owner->get_global(), "LoadVars"), as_value(), {});
        ASSERT_TRUE(call(env, member(other.to_object(), "load"), other, {cycles.Url("/c").c_str()}).to_bool());
    }
    EXPECT_EQ(testing_support::OpenDescriptorCount(), before);
}

TEST_F(LoadVarsTest, a_request_the_server_does_not_take_within_a_second_fails) {
    LoopbackServer server(4096);  // reads nothing and buffers little
    as_loadvars_request request(nullptr);
    ASSERT_TRUE(request.connect(m_player.get_ptr(), "127.0.0.1", server.Port()));
    const testing_support::OwnTime own;
    EXPECT_FALSE(request.send(base_string(std::string(8 << 20, 'b').c_str())));
    EXPECT_LT(own.Elapsed(), std::chrono::seconds(3));
}

TEST_F(LoadVarsTest, once_a_frame_has_waited_its_allowance_loads_fail_at_once_and_requests_take_what_goes) {
    testing_support::FullListener full;
    LoopbackServer never_reads(4096);
    instruction_budget::run_scope frame;
    net_wait_allowance::begin_frame();
    as_loadvars_request pending(nullptr);
    ASSERT_TRUE(pending.connect(m_player.get_ptr(), "127.0.0.1", never_reads.Port()));
    as_value stalled = make_loadvars("stalled"), late = make_loadvars("late");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(method(stalled, "load", {full.Url("/x").c_str()}).to_bool());  // waits the allowance out
    EXPECT_TRUE(net_wait_allowance::is_spent());
    const testing_support::OwnTime own;
    EXPECT_FALSE(method(late, "sendAndLoad", {m_server.Url("/x").c_str(), late}).to_bool());
    EXPECT_TRUE(pending.send("GET / HTTP/1.1\r\n\r\n"));  // the system takes it at once
    EXPECT_FALSE(pending.send(base_string(std::string(8 << 20, 'b').c_str())));
    EXPECT_LT(own.Elapsed(), std::chrono::milliseconds(200));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "can't connect to '127.0.0.1', port " + std::to_string(full.Port()) +
                  "\ncan't connect to '127.0.0.1', port " + std::to_string(m_server.Port()) + "\n");
    EXPECT_EQ(s_events, "stalled.onLoad(false) late.onLoad(false)");
    EXPECT_EQ(m_player->get_frame_object_count(), 0);
    net_wait_allowance::begin_frame();
    std::set<std::string> headers;
    EXPECT_EQ(request(late, "load", {m_server.Url("/x").c_str()}, &headers), "GET /x? HTTP/1.1|");
}

TEST_F(LoadVarsTest, pairs_and_members_follow_their_rules) {
    as_value lv = make_loadvars("lv");
    as_object* o = lv.to_object();
    o->set_member("score", 5);
    o->set_member("ONLOAD", "member");
    method(lv, "decode", {"a=1&&b&c=3"});
    method(lv, "decode", {"score=received&x=%41+b"});
    EXPECT_EQ(Pairs(loadvars(lv)->get_values()) + " " + Pairs(loadvars(lv)->get_received()),
              "score=5 a=1,score=received,x=A b");
    EXPECT_EQ(texts({member(o, "score"), member(o, "x"), member(o, "onload"), member(o, "missing")}),
              "5|A b|member|undefined");
    EXPECT_TRUE(member(o, "score").is_string());
    as_loadvars::string_table again;
    as_loadvars::parse(method(lv, "toString", {}).to_string(), &again);
    EXPECT_EQ(Pairs(again), "a=1,score=received,x=A b");
}

}  // namespace
