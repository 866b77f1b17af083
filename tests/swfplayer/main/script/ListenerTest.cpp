#include "swfplayer/main/script/event_id.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/listener.h"
#include "swfplayer/main/script/static_names.h"
#include "tests/swfplayer/main/script/ScriptTestKit.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using namespace swfplayer;
using namespace script_test;

namespace {

// An object that counts its advances and can change the list it is in while being advanced.
class ticking_object : public as_object {
public:
    ticking_object(player* owner, listener* list) : as_object(owner), m_list(list) {}
    void advance(float /*dt*/) override {
        m_ticks++;
        if (m_remove_self) {
            m_list->remove(this);
        }
        if (m_add) {
            m_list->add(m_add);
        }
        if (m_kill) {
            *m_kill = nullptr;
        }
    }
    int m_ticks = 0;
    bool m_remove_self = false;
    as_object* m_add = nullptr;
    smart_ptr<ticking_object>* m_kill = nullptr;
    listener* m_list;
};

class ListenerTest : public ::testing::Test {
protected:
    smart_ptr<ticking_object> make() { return new ticking_object(m_player.get_ptr(), &m_list); }
    smart_ptr<player> m_player = new player();
    listener m_list;
};

TEST_F(ListenerTest, an_object_is_listed_once_and_dead_ones_leave_slots_that_the_next_addition_reuses) {
    smart_ptr<ticking_object> a = make(), b = make(), c = make(), d = make();
    m_list.add(a.get_ptr());
    m_list.add(a.get_ptr());
    m_list.add(nullptr);
    EXPECT_EQ(std::tuple(m_list.size(), m_list[0], m_list["0"], m_list[1], m_list[-1]),
              std::tuple(1, a.get_ptr(), a.get_ptr(), nullptr, nullptr));
    m_list.add(b.get_ptr());
    m_list.add(c.get_ptr());
    a = nullptr;
    c = nullptr;
    EXPECT_EQ(std::pair(m_list.size(), m_list.slot_count()), std::pair(1, 3));
    m_list.add(d.get_ptr());  // takes the last empty slot
    EXPECT_EQ(std::tuple(m_list.slot_count(), m_list[0], m_list[1]), std::tuple(3, b.get_ptr(), d.get_ptr()));
    m_list.remove(b.get_ptr());
    m_list.remove(b.get_ptr());
    EXPECT_EQ(m_list.size(), 1);
    m_list.clear();
    EXPECT_EQ(m_list.slot_count(), 0);
}

TEST_F(ListenerTest, a_walk_is_not_disturbed_by_additions_removals_or_deaths) {
    smart_ptr<ticking_object> remover = make(), late = make(), victim = make(), killer = make();
    remover->m_remove_self = true;
    remover->m_add = late.get_ptr();
    killer->m_kill = &victim;
    for (ticking_object* object : {remover.get_ptr(), killer.get_ptr(), victim.get_ptr()}) {
        m_list.add(object);
    }
    weak_ptr<as_object> watch_victim = victim.get_ptr();
    m_list.advance(0.1f);
    EXPECT_EQ(std::tuple(remover->m_ticks, late->m_ticks, watch_victim.get_ptr()), std::tuple(1, 0, nullptr));
    m_list.advance(0.1f);
    EXPECT_EQ(std::pair(remover->m_ticks, late->m_ticks), std::pair(1, 1));
}

TEST_F(ListenerTest, a_full_list_refuses_more_but_still_reuses_a_dead_slot) {
    std::vector<smart_ptr<ticking_object>> objects;
    for (int i = 0; i <= listener::max_slots; i++) {
        objects.push_back(make());
        EXPECT_EQ(m_list.add(objects.back().get_ptr()), i < listener::max_slots) << i;
    }
    objects[10] = nullptr;
    EXPECT_TRUE(m_list.add(objects.back().get_ptr()));
}

int s_handler_calls = 0;
as_value s_handler_this;
as_value s_handler_arg;

void handler(const fn_call& fn) {
    s_handler_calls++;
    s_handler_this = *fn.this_value;
    s_handler_arg = fn.arg(0);
}

TEST_F(ListenerTest, notify_by_event_and_by_name) {
    smart_ptr<as_object> a = new as_object(m_player.get_ptr());
    smart_ptr<as_object> b = new as_object(m_player.get_ptr());
    a->set_member("onKeyDown", as_value(m_player.get_ptr(), handler));
    a->set_member("onMessage", as_value(m_player.get_ptr(), handler));
    m_list.add(a.get_ptr());
    m_list.add(b.get_ptr());
    s_handler_calls = 0;
    m_list.notify(event_id(event_id::KEY_DOWN));
    EXPECT_EQ(s_handler_calls, 1);
    as_environment env(m_player.get_ptr());
    env.push(as_value("hello"));
    as_value result, no_this;
    fn_call fn(&result, no_this, &env, 1, env.get_top_index());
    m_list.notify("onMessage", fn);  // no root movie yet: nothing happens
    EXPECT_EQ(s_handler_calls, 1);
    smart_ptr<as_object> root = new as_object(m_player.get_ptr());
    m_player->set_root_movie(root.get_ptr());
    m_list.notify("onMessage", fn);
    EXPECT_EQ(std::tuple(s_handler_calls, s_handler_this.to_object(), std::string(s_handler_arg.to_string())),
              std::tuple(2, a.get_ptr(), "hello"));
    env.drop(1);
    m_list.enumerate(&env);
    EXPECT_EQ(std::pair(env.get_stack_size(), env.top(0).to_number()), std::pair(2, 1.0));
}

TEST(EventIdTest, handler_names_equality_and_static_name_tables_ending_with_the_empty_name) {
    const std::pair<int, const char*> handlers[] = {
        {10, "onLoad"}, {26, "onLoadStart"}, {1, "onPress"}, {0, ""}, {27, ""}};
    for (const auto& [id, name] : handlers) {
        EXPECT_STREQ(event_id(id).handler_name().c_str(), name) << id;
    }
    EXPECT_TRUE(event_id(8, 13) == event_id(8, 13));
    EXPECT_FALSE(event_id(8, 13) == event_id(8, 14));
    EXPECT_EQ(std::string(static_names::property_name(0).c_str()) + static_names::property_name(21).c_str() +
                  static_names::property_name(22).c_str() + "|" + static_names::button_event_name(6).c_str() +
                  static_names::button_event_name(8).c_str(),
              "_x_ymouse|onRollout");
}

}  // namespace
