#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/swfplayer_as_classes/as_listener.h"
#include "tests/swfplayer/main/swfplayer_as_classes/BuiltinTestKit.h"

using namespace builtin_test;

namespace {

// Each delivery as "<listener name>.<message>(<arguments>)".
std::vector<std::string> s_deliveries;
// The broadcaster that listeners broadcast on again, and how many more times they do.
as_value s_broadcaster;
int s_rebroadcasts = 0;

void handler(const fn_call& fn, const char* message) {
    std::string text = std::string(script_test::member(fn.this_ptr, "name").to_string()) + "." + message + "(";
    for (int i = 0; i < fn.nargs; i++) {
        text += (i ? "," : "") + std::string(fn.arg(i).to_string());
    }
    s_deliveries.push_back(text + ")");
}

// Broadcasts "onEcho" from inside its own delivery while rebroadcasts remain.
void on_message(const fn_call& fn) {
    handler(fn, "onMessage");
    if (s_rebroadcasts > 0) {
        s_rebroadcasts--;
        as_value broadcast;
        s_broadcaster.get_member("broadcastMessage", &broadcast);
        fn.env->push(as_value(s_rebroadcasts));
        fn.env->push(as_value("onEcho"));
        call_method(broadcast, fn.env, s_broadcaster, 2, fn.env->get_top_index());
        fn.env->drop(2);
    }
}
void on_echo(const fn_call& fn) {
    handler(fn, "onEcho");
}
// Broadcasts "onMessage" again from every delivery, forever.
void on_message_forever(const fn_call& fn) {
    s_rebroadcasts = 1;
    on_message(fn);
    as_value broadcast;
    s_broadcaster.get_member("broadcastMessage", &broadcast);
    fn.env->push(as_value("onMessage"));
    call_method(broadcast, fn.env, s_broadcaster, 1, fn.env->get_top_index());
    fn.env->drop(1);
}

class BroadcasterTest : public BuiltinFixture {
protected:
    BroadcasterTest() {
        s_deliveries.clear();
        s_rebroadcasts = 0;
        s_broadcaster = as_value(new as_object(m_player.get_ptr()));
        method(global("AsBroadcaster"), "initialize", {s_broadcaster});
    }
    ~BroadcasterTest() override { s_broadcaster.set_undefined(); }
    smart_ptr<as_object> listener_named(const char* name, as_c_function_ptr message_handler = on_message) {
        smart_ptr<as_object> object = new as_object(m_player.get_ptr());
        object->set_member("name", name);
        object->set_member("onMessage", as_value(message_handler));
        object->set_member("onEcho", as_value(on_echo));
        return object;
    }
};

TEST_F(BroadcasterTest, initialize_adds_the_list_and_the_three_methods_as_ordinary_members) {
    as_object* object = s_broadcaster.to_object();
    for (const char* name : {"_listeners", "addListener", "removeListener", "broadcastMessage"}) {
        as_value value;
        EXPECT_TRUE(object->get_own_member(name, &value)) << name;
        EXPECT_EQ(value.get_flags(), 0u) << name;
    }
    EXPECT_TRUE(get(s_broadcaster, "_listeners").to_object()->is(AS_LISTENER));
}

TEST_F(BroadcasterTest, listeners_hear_messages_in_order_and_nested_broadcasts_wait_their_turn) {
    smart_ptr<as_object> a = listener_named("a");
    smart_ptr<as_object> b = listener_named("b");
    method(s_broadcaster, "addListener", {as_value(a.get_ptr())});
    method(s_broadcaster, "addListener", {as_value(b.get_ptr())});
    method(s_broadcaster, "addListener", {as_value(a.get_ptr())});
    method(s_broadcaster, "addListener", {"not an object"});
    as_value listeners = get(s_broadcaster, "_listeners");
    EXPECT_EQ(get(listeners, "length").to_number(), 2.0);
    EXPECT_EQ(get(listeners, "1").to_object(), b.get_ptr());
    EXPECT_TRUE(get(listeners, "2").is_null());

    s_rebroadcasts = 2;
    method(s_broadcaster, "broadcastMessage", {"onMessage", "x", 7});
    EXPECT_EQ(s_deliveries, (std::vector<std::string>{"a.onMessage(x,7)", "b.onMessage(x,7)", "a.onEcho(1)",
                                                      "b.onEcho(1)", "a.onEcho(0)", "b.onEcho(0)"}));

    s_deliveries.clear();
    method(s_broadcaster, "removeListener", {as_value(a.get_ptr())});
    method(s_broadcaster, "broadcastMessage", {"onEcho"});
    method(s_broadcaster, "broadcastMessage", {});  // no message name: nothing happens
    EXPECT_EQ(s_deliveries, std::vector<std::string>{"b.onEcho()"});
}

TEST_F(BroadcasterTest, a_listener_that_always_broadcasts_again_is_cut_off) {
    smart_ptr<as_object> a = listener_named("a", on_message_forever);
    method(s_broadcaster, "addListener", {as_value(a.get_ptr())});
    method(s_broadcaster, "broadcastMessage", {"onMessage"});
    // The first delivery, then queued ones (an echo and a message each time) up to the limit.
    EXPECT_EQ(s_deliveries.size(), 1u + as_listener::max_queued_broadcasts);
    EXPECT_EQ(s_deliveries.back(), "a.onMessage()");
    EXPECT_NE(s_log.find("dropped"), std::string::npos);
    // The broadcaster works normally afterwards.
    s_deliveries.clear();
    method(s_broadcaster, "removeListener", {as_value(a.get_ptr())});
    smart_ptr<as_object> b = listener_named("b");
    method(s_broadcaster, "addListener", {as_value(b.get_ptr())});
    method(s_broadcaster, "broadcastMessage", {"onEcho", 1});
    EXPECT_EQ(s_deliveries, std::vector<std::string>{"b.onEcho(1)"});
}

TEST_F(BroadcasterTest, a_full_listener_list_refuses_more_with_a_log_line) {
    std::vector<smart_ptr<as_object>> listeners;
    for (int i = 0; i <= listener::max_slots; i++) {
        listeners.push_back(listener_named("many"));
        method(s_broadcaster, "addListener", {as_value(listeners.back().get_ptr())});
    }
    EXPECT_EQ(get(get(s_broadcaster, "_listeners"), "length").to_number(), listener::max_slots);
    EXPECT_NE(s_log.find("addition refused"), std::string::npos);
}

TEST_F(BroadcasterTest, methods_without_a_listener_object_do_nothing) {
    smart_ptr<as_object> a = listener_named("a");
    method(s_broadcaster, "addListener", {as_value(a.get_ptr())});
    s_broadcaster.to_object()->set_member("_listeners", "gone");
    method(s_broadcaster, "broadcastMessage", {"onMessage"});
    method(s_broadcaster, "addListener", {as_value(a.get_ptr())});
    EXPECT_TRUE(s_deliveries.empty());
}

}  // namespace
