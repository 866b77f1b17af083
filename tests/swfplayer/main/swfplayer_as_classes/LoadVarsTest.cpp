// LoadVars: its pairs and members, the requests it writes and the answers it reads, against a
// server on 127.0.0.1 that the test drives.
#include "swfplayer/main/swfplayer_as_classes/as_loadvars.h"
#include "swfplayer/main/swfplayer_as_classes/as_loadvars_request.h"
#include "swfplayer/main/swfplayer_as_classes/open_socket_slot.h"
#include "tests/support/QuietStdout.h"
#include "tests/swfplayer/main/swfplayer_as_classes/NetTestKit.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace net_test;
using testing_support::LoopbackPeer;
using testing_support::LoopbackServer;

namespace {

// A request as the server saw it.
struct Request {
    std::string line;
    std::set<std::string> headers;
    std::string body;
};

Request Parse(const std::string& text) {
    Request request;
    size_t end = text.find("\r\n\r\n");
    EXPECT_NE(end, std::string::npos) << text;
    std::string head = text.substr(0, end + 2);
    request.body = end == std::string::npos ? "" : text.substr(end + 4);
    size_t at = head.find("\r\n");
    request.line = head.substr(0, at);
    for (at += 2; at < head.size();) {
        size_t next = head.find("\r\n", at);
        request.headers.insert(head.substr(at, next - at));
        at = next + 2;
    }
    return request;
}

// The table's pairs as "name=value" joined by ",", by name.
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
    std::set<std::string> default_headers() const {
        return {"Content-Type: application/x-www-form-urlencoded", "Cache-Control: no-cache", "User-Agent: swfplayer",
                "Host: 127.0.0.1:" + std::to_string(m_server.Port()), "Connection: close"};
    }
    // Runs a load of path on lv and returns the request the server read.
    Request load(const as_value& lv, const std::string& path) { return load(lv, path, m_server); }
    Request load(const as_value& lv, const std::string& path, LoopbackServer& server) {
        EXPECT_TRUE(method(lv, "load", {server.Url(path).c_str()}).to_bool());
        m_peer = server.Accept();
        return m_peer ? Parse(m_peer->ReadRequest()) : Request();
    }

    LoopbackServer m_server;
    std::unique_ptr<LoopbackPeer> m_peer;
};

TEST_F(LoadVarsTest, load_writes_a_get_request_with_the_pairs_as_query) {
    as_value lv = make_loadvars("lv");
    lv.to_object()->set_member("a", "1 2");
    Request request = load(lv, "/x.txt");
    EXPECT_EQ(request.line, "GET /x.txt?a=1%202 HTTP/1.1");
    EXPECT_EQ(request.headers, default_headers());
    EXPECT_EQ(request.body, "");
}

TEST_F(LoadVarsTest, send_and_load_posts_the_pairs_and_a_later_get_sends_no_content_length) {
    as_value lv = make_loadvars("lv");
    as_value target = make_loadvars("target");
    const struct {
        std::vector<std::pair<const char*, const char*>> pairs;
        const char* method;  // null: the two-argument form
        std::string line;
        std::string length;  // the Content-Length header, "" for none
        std::string body;
    } cases[] = {
        {{}, nullptr, "POST /p HTTP/1.1", "Content-Length: 0", ""},
        {{{"b", "x&y"}}, nullptr, "POST /p HTTP/1.1", "Content-Length: 7", "b=x%26y"},
        {{}, "GET", "GET /p?b=x%26y HTTP/1.1", "", ""},
        {{{"b", "\r\n"}}, "POST", "POST /p HTTP/1.1", "Content-Length: 8", "b=%0d%0a"},
    };
    for (const auto& c : cases) {
        for (const auto& [name, value] : c.pairs) {
            lv.to_object()->set_member(name, value);
        }
        std::vector<as_value> args = {m_server.Url("/p").c_str(), target};
        if (c.method) {
            args.push_back(c.method);
        }
        ASSERT_TRUE(method(lv, "sendAndLoad", args).to_bool());
        std::unique_ptr<LoopbackPeer> peer = m_server.Accept();
        ASSERT_TRUE(peer);
        Request request = Parse(peer->ReadRequest());
        std::set<std::string> headers = default_headers();
        if (!c.length.empty()) {
            headers.insert(c.length);
        }
        EXPECT_EQ(request.line, c.line);
        EXPECT_EQ(request.headers, headers) << c.line;
        EXPECT_EQ(request.body, c.body);
    }
}

TEST_F(LoadVarsTest, headers_that_could_break_a_request_are_refused) {
    as_value lv = make_loadvars("lv");
    const struct {
        const char* name;
        const char* value;
        bool taken;
    } cases[] = {
        {"X-Custom", "v 1", true},
        {"content-type", "text/plain", true},  // replaces the default Content-Type
        {"X-A", "1\r\nEvil: 2", false},
        {"X-B", "1\n", false},
        {"Bad Name", "v", false},
        {"X:Y", "v", false},
        {"", "v", false},
        {"X\tTab", "v", false},
        {"Host", "evil", false},
        {"content-length", "99", false},
        {"CONNECTION", "keep-alive", false},
    };
    for (const auto& c : cases) {
        method(lv, "addRequestHeader", {c.name, c.value});
        EXPECT_EQ(loadvars(lv)->get_headers().find(c.name) != loadvars(lv)->get_headers().end(), c.taken) << c.name;
    }
    // Arguments that are no pair of strings do nothing.
    method(lv, "addRequestHeader", {call_global("Array", {"X-Array", "v"})});
    method(lv, "addRequestHeader", {"X-Number", 5});
    Request request = load(lv, "/h");
    std::set<std::string> expected = default_headers();
    expected.erase("Content-Type: application/x-www-form-urlencoded");
    expected.insert("content-type: text/plain");
    expected.insert("X-Custom: v 1");
    EXPECT_EQ(request.headers, expected);
}

TEST_F(LoadVarsTest, urls_are_split_into_host_port_and_path_or_refused) {
    const struct {
        const char* url;
        const char* split;  // "authority host port path", null when refused
    } cases[] = {
        {"http://h/x.txt", "h h 80 /x.txt"},
        {"h:8080/x", "h:8080 h 8080 /x"},  // without "http://" the host starts at the first character
        {"http://h:65535/a/b?c=d", "h:65535 h 65535 /a/b?c=d"},
        {"http://h", nullptr},
        {"http:///x", nullptr},
        {"http://h:0/x", nullptr},
        {"http://h:65536/x", nullptr},
        {"http://h:/x", nullptr},
        {"http://h:8x/x", nullptr},
        {"http://h/a b", nullptr},
        {"http://h/a\x7f", nullptr},
        {"http://h/a\r\nHost: evil", nullptr},
        {"http://h\t/x", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        base_string authority, host, path;
        int port = 0;
        testing::internal::CaptureStderr();
        bool valid = as_loadvars::parse_url(c.url, &authority, &host, &port, &path);
        std::string error = testing::internal::GetCapturedStderr();
        if (c.split) {
            EXPECT_TRUE(valid) << c.url;
            EXPECT_EQ(
                std::string(authority.c_str()) + " " + host.c_str() + " " + std::to_string(port) + " " + path.c_str(),
                c.split);
            EXPECT_EQ(error, "");
        } else {
            EXPECT_FALSE(valid) << c.url;
            EXPECT_EQ(error, std::string("invalid url '") + c.url + "'\n");
        }
    }
}

TEST_F(LoadVarsTest, failed_starts_answer_false_and_tell_onload_false) {
    as_value lv = make_loadvars("lv");
    as_value other = make_loadvars("other");
    as_value plain = plain_object();
    s_labels[plain.to_object()] = "plain";
    plain.to_object()->set_member("onLoad", as_value(record_event<kOnLoad>));
    const std::string refused = "http://127.0.0.1:" + std::to_string(testing_support::RefusingPort()) + "/x";
    const struct {
        const char* member;
        std::vector<as_value> args;
        std::string events;
    } cases[] = {
        {"load", {}, ""},
        {"load", {as_value(static_cast<as_object*>(nullptr))}, ""},
        {"load", {"http://127.0.0.1"}, "lv.onLoad(false)"},
        {"load", {refused.c_str()}, "lv.onLoad(false)"},
        {"sendAndLoad", {refused.c_str()}, ""},
        {"sendAndLoad", {refused.c_str(), other}, "other.onLoad(false)"},
        {"sendAndLoad", {refused.c_str(), plain}, "plain.onLoad(false)"},  // told whatever its class
        {"sendAndLoad", {m_server.Url("/x").c_str(), other, "PUT"}, ""},
        {"sendAndLoad", {m_server.Url("/x").c_str(), other, "post"}, ""},
    };
    for (const auto& c : cases) {
        s_events.clear();
        testing::internal::CaptureStderr();
        EXPECT_FALSE(method(lv, c.member, c.args).to_bool());
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(events(), c.events) << c.member << " " << c.args.size();
    }
    EXPECT_EQ(loadvars(lv)->get_request_count(), 0);
    EXPECT_FALSE(m_player->has_frame_object(lv.to_object()));
}

TEST_F(LoadVarsTest, a_request_the_server_does_not_take_within_its_time_out_fails) {
    // The server reads nothing and buffers little, so the request soon finds no room.
    LoopbackServer server(4096);
    as_value lv = make_loadvars("lv");
    lv.to_object()->set_member("big", std::string(8 * 1024 * 1024, 'b').c_str());
    auto start = std::chrono::steady_clock::now();
    {
        testing_support::QuietStdout quiet;  // the request is echoed there
        EXPECT_FALSE(method(lv, "sendAndLoad", {server.Url("/big").c_str(), lv}).to_bool());
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(events(), "lv.onLoad(false)");
    EXPECT_EQ(m_player->nesting().m_open_sockets, 0);
    frame();
    EXPECT_FALSE(m_player->has_frame_object(lv.to_object()));
}

TEST_F(LoadVarsTest, answers_end_in_their_events_and_pairs_whatever_way_they_arrive) {
    const std::string ok = "HTTP/1.1 200 OK\r\nServer: test\r\nX-Two: 2\r\n\r\n";
    const std::string body = "a=1&b=x%41";
    auto bytes = [](const std::string& text) {
        std::vector<std::string> pieces;
        for (char c : text) {
            pieces.push_back(std::string(1, c));
        }
        return pieces;
    };
    const std::string success = "lv.onHTTPStatus(200) lv.onLoad(true) lv.onData(" + body + ")";
    const std::string failure = "lv.onHTTPStatus(200) lv.onLoad(false) lv.onData()";
    enum Ending { kStayOpen, kClose, kReset };
    const struct {
        const char* name;
        std::vector<std::string> pieces;  // sent one per frame
        Ending ending;                    // what the server does after the last piece
        std::string events;
        std::string received;
    } cases[] = {
        {"whole, then the end", {ok + body}, kClose, success, "a=1,b=xA"},
        {"byte by byte over frames", bytes(ok + body + "\n"), kClose, success, "a=1,b=xA"},
        {"CR and LF in different frames",
         {"HTTP/1.1 200 OK\r", "\n\r", "\na=1\r", "\nb=2\r", "\n"},
         kClose,
         "lv.onHTTPStatus(200) lv.onLoad(true) lv.onData(a=1b=2)",
         "a=1,b=2"},
        {"kept open after a Content-Length body",
         {"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n", body},
         kStayOpen,
         success,
         "a=1,b=xA"},
        {"chunked",
         {"HTTP/1.1 201 Created\r\nTransfer-Encoding: chunked\r\n\r\n3\r\na=1\r\n", "1\r\n\n\r\n0\r\n\r\n"},
         kStayOpen,
         "lv.onHTTPStatus(201) lv.onLoad(true) lv.onData(a=1)",
         "a=1"},
        {"oversized", {"HTTP/1.1 200 OK\r\nContent-Length: 99999999\r\n\r\n"}, kStayOpen, failure, ""},
        {"malformed status line",
         {"HTTP/1.1\r\n\r\na=1"},
         kClose,
         "lv.onHTTPStatus(0) lv.onLoad(false) lv.onData()",
         ""},
        {"cut off in the headers", {"HTTP/1.1 200 OK\r\nServer: t"}, kClose, failure, ""},
        {"cut off in the body", {"HTTP/1.1 200 OK\r\nContent-Length: 20\r\n\r\na=1"}, kClose, failure, ""},
        {"broken off in a body that runs to the end", {"HTTP/1.1 200 OK\r\n\r\na=1\n"}, kReset, failure, ""},
        {"silent", {}, kStayOpen, "lv.onHTTPStatus(0) lv.onLoad(false) lv.onData()", ""},
    };
    as_loadvars_request::set_idle_timeout_ms(300);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        s_events.clear();
        as_value lv = make_loadvars("lv");
        LoopbackServer server;  // a server accepts a few connections only
        load(lv, "/answer", server);
        ASSERT_TRUE(m_peer);
        for (const std::string& piece : c.pieces) {
            ASSERT_TRUE(m_peer->Send(piece));
            frame();
        }
        if (c.ending == kClose) {
            m_peer->Close();
        } else if (c.ending == kReset) {
            m_peer->Reset();
        }
        EXPECT_TRUE(frames_until([&] { return !s_events.empty(); }));
        EXPECT_EQ(events(), c.events);
        EXPECT_EQ(Pairs(loadvars(lv)->get_received()), c.received);
        frame();
        EXPECT_FALSE(m_player->has_frame_object(lv.to_object()));
        if (c.ending == kStayOpen) {
            EXPECT_TRUE(m_peer->SeesEnd()) << "the connection is closed when the exchange ends";
        }
    }
}

TEST_F(LoadVarsTest, a_target_freed_before_the_answer_is_not_told_and_the_exchange_still_ends) {
    as_value lv = make_loadvars("lv");
    as_value target = make_loadvars("target");
    ASSERT_TRUE(method(lv, "sendAndLoad", {m_server.Url("/p").c_str(), target}).to_bool());
    target.set_undefined();  // the only reference
    std::unique_ptr<LoopbackPeer> peer = m_server.Accept();
    ASSERT_TRUE(peer);
    peer->ReadRequest();
    peer->Send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\na=1");
    EXPECT_TRUE(frames_until([&] { return !m_player->has_frame_object(lv.to_object()); }));
    EXPECT_EQ(events(), "");
    EXPECT_EQ(Pairs(loadvars(lv)->get_received()), "");
}

TEST_F(LoadVarsTest, onload_may_start_the_next_load) {
    as_value lv = make_loadvars("lv");
    int loads_left = 2;
    s_after_event = [&](const fn_call& fn, const std::string& name) {
        if (name == kOnLoad && loads_left-- > 0) {
            call(*fn.env, member(fn.this_ptr, "load"), as_value(fn.this_ptr), {m_server.Url("/again").c_str()});
        }
    };
    load(lv, "/first");
    for (int i = 0; i < 3; i++) {
        ASSERT_TRUE(m_peer);
        m_peer->Send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nn=" + std::to_string(i));
        size_t before = s_events.size();
        EXPECT_TRUE(frames_until([&] { return s_events.size() == before + 3; }));
        if (i < 2) {
            m_peer = m_server.Accept();
            ASSERT_TRUE(m_peer);
            EXPECT_EQ(Parse(m_peer->ReadRequest()).line, "GET /again? HTTP/1.1");
        }
    }
    EXPECT_EQ(events(),
              "lv.onHTTPStatus(200) lv.onLoad(true) lv.onData(n=0) lv.onHTTPStatus(200) lv.onLoad(true) "
              "lv.onData(n=1) lv.onHTTPStatus(200) lv.onLoad(true) lv.onData(n=2)");
    EXPECT_EQ(Pairs(loadvars(lv)->get_received()), "n=2");
    frame();
    EXPECT_FALSE(m_player->has_frame_object(lv.to_object()));
}

TEST_F(LoadVarsTest, every_pending_request_is_read_and_the_object_stays_on_the_tick_until_the_last) {
    as_value lv = make_loadvars("lv");
    as_value first = make_loadvars("first");
    as_value second = make_loadvars("second");
    ASSERT_TRUE(method(lv, "sendAndLoad", {m_server.Url("/1").c_str(), first}).to_bool());
    ASSERT_TRUE(method(lv, "sendAndLoad", {m_server.Url("/2").c_str(), second}).to_bool());
    std::unique_ptr<LoopbackPeer> one = m_server.Accept();
    std::unique_ptr<LoopbackPeer> two = m_server.Accept();
    ASSERT_TRUE(one && two);
    two->Send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nb=2");
    EXPECT_TRUE(frames_until([&] { return s_events.size() == 3; }));
    EXPECT_TRUE(m_player->has_frame_object(lv.to_object()));
    one->Send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\na=1");
    EXPECT_TRUE(frames_until([&] { return s_events.size() == 6; }));
    EXPECT_EQ(events(),
              "second.onHTTPStatus(200) second.onLoad(true) second.onData(b=2) first.onHTTPStatus(200) "
              "first.onLoad(true) first.onData(a=1)");
    EXPECT_EQ(Pairs(loadvars(second)->get_received()), "b=2");
    frame();
    EXPECT_FALSE(m_player->has_frame_object(lv.to_object()));
}

TEST_F(LoadVarsTest, a_player_holds_at_most_its_limit_of_connections) {
    as_value lv = make_loadvars("lv");
    for (int i = 0; i < open_socket_slot::max_open_sockets; i++) {
        ASSERT_TRUE(method(lv, "load", {m_server.Url("/n").c_str()}).to_bool()) << i;
    }
    testing::internal::CaptureStderr();
    EXPECT_FALSE(method(lv, "load", {m_server.Url("/n").c_str()}).to_bool());
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(events(), "lv.onLoad(false)");
    as_value socket = make_xmlsocket("socket");
    EXPECT_FALSE(method(socket, "connect", {"127.0.0.1", m_server.Port()}).to_bool());
    EXPECT_NE(s_log.find("connection refused"), std::string::npos);
    EXPECT_EQ(m_player->nesting().m_open_sockets, open_socket_slot::max_open_sockets);
}

TEST_F(LoadVarsTest, connect_and_destroy_cycles_leave_no_descriptor_open) {
    const int before = testing_support::OpenDescriptorCount();
    for (int i = 0; i < 100; i++) {
        smart_ptr<player> owner = new player();
        as_environment env(owner.get_ptr());
        as_value lv = call(env, member(owner->get_global(), "LoadVars"), as_value(), {});
        ASSERT_TRUE(call(env, member(lv.to_object(), "load"), lv, {m_server.Url("/c").c_str()}).to_bool());
        EXPECT_EQ(owner->nesting().m_open_sockets, 1);
    }
    EXPECT_EQ(testing_support::OpenDescriptorCount(), before);
}

TEST_F(LoadVarsTest, pairs_and_members_follow_their_rules) {
    as_value lv = make_loadvars("lv");
    as_object* o = lv.to_object();
    o->set_member("score", 5);
    o->set_member("ONLOAD", "member");
    o->set_member("onHttpStatus", "member too");
    method(lv, "decode", {"a=1&&b&c=3"});
    method(lv, "decode", {"score=received&x=%41+b"});
    EXPECT_EQ(Pairs(loadvars(lv)->get_values()), "score=5");
    EXPECT_EQ(Pairs(loadvars(lv)->get_received()), "a=1,score=received,x=A b");
    EXPECT_EQ(
        texts({member(o, "score"), member(o, "x"), member(o, "a"), member(o, "onload"), member(o, "onHTTPStatus")}),
        "5|A b|1|member|member too");
    EXPECT_TRUE(member(o, "score").is_string());
    EXPECT_TRUE(member(o, "a").is_string());
    EXPECT_TRUE(member(o, "missing").is_undefined());
    // toString encodes the received pairs as a request would, in the table's order.
    as_loadvars::string_table again;
    as_loadvars::parse(method(lv, "toString", {}).to_string(), &again);
    EXPECT_EQ(Pairs(again), "a=1,score=received,x=A b");
    EXPECT_EQ(std::string(method(lv, "toString", {}).to_string()).find(' '), std::string::npos);
    for (const char* name : {"getBytesLoaded", "getBytesTotal", "send"}) {
        EXPECT_TRUE(method(lv, name, {"http://127.0.0.1/x"}).is_undefined()) << name;
    }
}

TEST_F(LoadVarsTest, methods_called_on_another_object_do_nothing) {
    as_value lv = make_loadvars("lv");
    as_value plain = plain_object();
    for (const char* name : {"load", "sendAndLoad", "addRequestHeader", "decode", "toString"}) {
        as_value function = member(lv.to_object(), name);
        EXPECT_TRUE(call(m_env, function, plain, {m_server.Url("/x").c_str(), "b=2"}).is_undefined()) << name;
    }
    EXPECT_EQ(m_player->get_frame_object_count(), 0);
}

}  // namespace
