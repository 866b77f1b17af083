#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/swfplayer_as_classes/as_listener.h"
#include "tests/swfplayer/main/swfplayer_as_classes/BuiltinTestKit.h"

using namespace builtin_test;

namespace {

// Each delivery as "<listener name>.<message>(<arguments>)".
std::vector<std::string> s_deliveries;
// The broadcaster listeners broadcast on again; how many echoes they still send; whether every
// onMessage broadcasts onMessage again, forever.
as_value s_broadcaster;
int s_rebroadcasts = 0;
bool s_forever = false;

void deliver(const fn_call& fn, const char* message) {
    std::string text = std::string(member(fn.this_ptr, "name").to_string()) + "." + message + "(";
    for (int i = 0; i < fn.nargs; i++) {
        text += (i ? "," : "") + std::string(fn.arg(i).to_string());
    }
    s_deliveries.push_back(text + ")");
}
void broadcast(const fn_call& fn, const std::vector<as_value>& args) {
    call(*fn.env, member(s_broadcaster.to_object(), "broadcastMessage"), s_broadcaster, args);
}
void on_message(const fn_call& fn) {
    deliver(fn, "onMessage");
    s_rebroadcasts += s_forever;
    if (s_rebroadcasts > 0) {
        s_rebroadcasts--;
        broadcast(fn, {"onEcho", s_rebroadcasts});
    }
    if (s_forever) {
        broadcast(fn, {"onMessage"});
    }
}
void on_echo(const fn_call& fn) {
    deliver(fn, "onEcho");
}

class BroadcasterTest : public BuiltinFixture {
protected:
    BroadcasterTest() {
        s_deliveries.clear();
        s_rebroadcasts = 0;
        s_forever = false;
        s_broadcaster = as_value(new as_object(m_player.get_ptr()));
        method(global("AsBroadcaster"), "initialize", {s_broadcaster});
    }
    ~BroadcasterTest() override { s_broadcaster.set_undefined(); }
    // A new listener named name, added to the broadcaster; held by m_listeners.
    as_value add_listener(const char* name) {
        m_listeners.push_back(new as_object(m_player.get_ptr()));
        m_listeners.back()->set_member("name", name);
        m_listeners.back()->set_member("onMessage", as_value(m_player.get_ptr(), on_message));
        m_listeners.back()->set_member("onEcho", as_value(m_player.get_ptr(), on_echo));
        as_value listener(m_listeners.back().get_ptr());
        method(s_broadcaster, "addListener", {listener});
        return listener;
    }
    std::vector<smart_ptr<as_object>> m_listeners;
};

TEST_F(BroadcasterTest, initialize_adds_the_list_and_the_three_methods_as_ordinary_members) {
    for (const char* name : {"_listeners", "addListener", "removeListener", "broadcastMessage"}) {
        EXPECT_EQ(flags(s_broadcaster.to_object(), name), 0) << name;
    }
    EXPECT_TRUE(get(s_broadcaster, "_listeners").to_object()->is(AS_LISTENER));
}

TEST_F(BroadcasterTest, listeners_hear_messages_in_order_and_nested_broadcasts_wait_their_turn) {
    as_value a = add_listener("a");
    as_value b = add_listener("b");
    method(s_broadcaster, "addListener", {a});
    method(s_broadcaster, "addListener", {"not an object"});
    as_value listeners = get(s_broadcaster, "_listeners");
    EXPECT_EQ(get(listeners, "length").to_number(), 2.0);
    EXPECT_TRUE(get(listeners, "1") == b);
    EXPECT_TRUE(get(listeners, "2").is_null());

    s_rebroadcasts = 2;
    method(s_broadcaster, "broadcastMessage", {"onMessage", "x", 7});
    EXPECT_EQ(s_deliveries, (std::vector<std::string>{"a.onMessage(x,7)", "b.onMessage(x,7)", "a.onEcho(1)",
                                                      "b.onEcho(1)", "a.onEcho(0)", "b.onEcho(0)"}));
    s_deliveries.clear();
    method(s_broadcaster, "removeListener", {a});
    method(s_broadcaster, "broadcastMessage", {"onEcho"});
    method(s_broadcaster, "broadcastMessage", {});  // no message name: nothing happens
    EXPECT_EQ(s_deliveries, std::vector<std::string>{"b.onEcho()"});
}

TEST_F(BroadcasterTest, a_listener_that_always_broadcasts_again_is_cut_off) {
    as_value a = add_listener("a");
    s_forever = true;
    method(s_broadcaster, "broadcastMessage", {"onMessage"});
    // The first delivery, then queued ones (an echo and a message each time) up to the limit.
    EXPECT_EQ(s_deliveries.size(), 1u + as_listener::max_queued_broadcasts);
    EXPECT_EQ(s_deliveries.back(), "a.onMessage()");
    EXPECT_NE(s_log.find("dropped"), std::string::npos);
    // The broadcaster works normally afterwards.
    s_deliveries.clear();
    s_forever = false;
    method(s_broadcaster, "removeListener", {a});
    add_listener("b");
    method(s_broadcaster, "broadcastMessage", {"onEcho", 1});
    EXPECT_EQ(s_deliveries, std::vector<std::string>{"b.onEcho(1)"});
}

TEST_F(BroadcasterTest, a_full_list_refuses_more_with_a_log_line_and_a_lost_list_does_nothing) {
    for (int i = 0; i <= listener::max_slots; i++) {
        add_listener("many");
    }
    EXPECT_EQ(get(get(s_broadcaster, "_listeners"), "length").to_number(), listener::max_slots);
    EXPECT_NE(s_log.find("addition refused"), std::string::npos);
    s_broadcaster.to_object()->set_member("_listeners", "gone");
    method(s_broadcaster, "broadcastMessage", {"onMessage"});
    add_listener("a");
    EXPECT_TRUE(s_deliveries.empty());
}

}  // namespace
