#include "swfplayer/main/script/fn_call.h"
#include "tests/swfplayer/main/script/ScriptTestKit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace swfplayer;
using namespace script_test;

namespace {

class AsEnvironmentLocalsTest : public ::testing::Test {
protected:
    // A "|" in the list opens a call (a barrier); other entries are local names, each holding
    // its slot's index.
    static void fill(as_environment& env, const std::vector<std::string>& slots) {
        for (const std::string& slot : slots) {
            if (slot == "|") {
                env.push_barrier();
            } else {
                env.add_local(base_string(slot.data(), static_cast<int>(slot.size())),
                              as_value(env.get_local_frame_count()));
            }
        }
    }
    // Adds an arguments local for a call with these arguments (argument 0 first).
    void add_arguments(std::initializer_list<as_value> args) {
        for (auto arg = std::rbegin(args); arg != std::rend(args); ++arg) {
            m_env.push(*arg);
        }
        as_value result, no_this;
        fn_call fn(&result, no_this, &m_env, static_cast<int>(args.size()), m_env.get_top_index());
        m_env.add_arguments_local("arguments", fn);
        m_env.drop(static_cast<int>(args.size()));
    }
    as_value local(const char* name, bool ignore_barrier = false) {
        return m_env.get_local(m_env.find_local(name, ignore_barrier));
    }

    smart_ptr<player> m_player = new player();
    as_environment m_env{m_player.get_ptr()};
};

TEST_F(AsEnvironmentLocalsTest, lookups_find_the_newest_slot_of_exactly_that_name) {
    struct lookup_case {
        std::vector<std::string> slots;
        std::string name;
        bool ignore_barrier;
        int found;
    };
    const std::string nul_name("a\0b", 3);
    const lookup_case cases[] = {
        {{"x", "x"}, "x", false, 1},
        {{"x", "|", "y"}, "x", false, -1},
        {{"x", "|", "y"}, "x", true, 0},
        {{"x", "|", "x", "|"}, "x", true, 2},
        // Same first byte and length as a live local, yet another name.
        {{"ab", "|"}, "ac", true, -1},
        {{"ab", "ac"}, "ab", false, 0},
        // Names of other first bytes whose lookup keys meet ("a" and "!").
        {{"a", "|"}, "!", true, -1},
        {{"!", "a"}, "!", false, 0},
        {{"abc"}, "ABC", true, -1},
        {{"fib", "|", "this", "arguments", "super"}, "fib", true, 0},
        {{"this", "|", "this"}, "fib", true, -1},
        {{"x"}, "", true, -1},
        // A name is its text up to the first NUL, stored and looked up alike.
        {{"a"}, nul_name, true, 0},
        {{nul_name}, "a", true, 0},
        {{std::string("\0x", 2), "y"}, "y", false, 1},
        {{"a_name_longer_than_inline", "|"}, "a_name_longer_than_inline", true, 0},
    };
    for (const lookup_case& c : cases) {
        SCOPED_TRACE(c.name);
        as_environment env(m_player.get_ptr());
        fill(env, c.slots);
        EXPECT_EQ(env.find_local(base_string(c.name.data(), static_cast<int>(c.name.size())), c.ignore_barrier),
                  c.found);
    }
}

TEST_F(AsEnvironmentLocalsTest, a_name_added_after_its_slots_were_cut_away_is_found_again) {
    fill(m_env, {"x", "|", "y", "|", "y", "z"});
    EXPECT_EQ(m_env.find_local("y", true), 4);
    m_env.truncate_local_frames(1);
    EXPECT_EQ(texts({as_value(m_env.find_local("y", true)), as_value(m_env.find_local("z", true)), local("x")}),
              "-1|-1|0");
    fill(m_env, {"|", "y"});
    EXPECT_EQ(m_env.find_local("y", false), 2);
    // A local that reads as a barrier (its name starts with a NUL) is cut away like any other.
    m_env.add_local(base_string("\0q", 2), as_value(1.0));
    m_env.truncate_local_frames(0);
    EXPECT_EQ(m_env.get_local_frame_count(), 0);
    fill(m_env, {"q"});
    EXPECT_EQ(m_env.find_local("q", false), 0);
}

TEST_F(AsEnvironmentLocalsTest, an_arguments_local_holds_the_values_of_the_call_when_first_read) {
    smart_ptr<as_object> object = new as_object(m_player.get_ptr());
    m_env.push(as_value("a"));
    as_value result, no_this;
    fn_call fn(&result, no_this, &m_env, 1, m_env.get_top_index());
    m_env.add_arguments_local("arguments", fn);
    // The caller's slot changes after the call began: the array keeps what the call got.
    m_env.set_top(0, as_value("changed"));
    m_env.drop(1);
    m_env.push_barrier();
    add_arguments({as_value(object.get_ptr()), as_value(2.0), as_value()});
    m_env.push_barrier();
    add_arguments({});
    EXPECT_EQ(m_env.get_local_frame_count(), 5);
    as_value inner = local("arguments");
    EXPECT_TRUE(inner.to_object() && inner.to_object()->is(AS_ARRAY));
    EXPECT_EQ(texts({inner, member(inner.to_object(), "length")}), "|0");
    // Read through the barriers from an inner call; the same array on every read.
    m_env.truncate_local_frames(4);
    as_value middle = local("arguments", true);
    EXPECT_EQ(middle.to_object(), local("arguments", true).to_object());
    EXPECT_EQ(texts({member(middle.to_object(), "length"), member(middle.to_object(), "1")}), "3|2");
    EXPECT_EQ(member(middle.to_object(), "0").to_object(), object.get_ptr());
    m_env.truncate_local_frames(2);
    EXPECT_STREQ(local("arguments", true).to_string(), "a");
    middle.set_undefined();
    m_env.truncate_local_frames(0);
    EXPECT_EQ(object->get_ref_count(), 1);
}

TEST_F(AsEnvironmentLocalsTest, a_store_replaces_an_arguments_local_that_was_never_read) {
    smart_ptr<as_object> object = new as_object(m_player.get_ptr());
    add_arguments({as_value(object.get_ptr())});
    m_env.push_barrier();
    add_arguments({as_value("inner")});
    // set_local works on the current call, a variable store on the newest local of any call.
    m_env.set_local("arguments", as_value(5.0));
    m_env.truncate_local_frames(1);
    m_env.set_variable_raw("arguments", as_value("stored"), array<with_stack_entry>());
    EXPECT_EQ(texts({local("arguments"), m_env.get_variable("arguments", array<with_stack_entry>())}), "stored|stored");
    // The values it stood for are let go with it.
    EXPECT_EQ(object->get_ref_count(), 1);
    m_env.push_barrier();
    add_arguments({as_value("x")});
    m_env.declare_local("arguments");
    EXPECT_STREQ(local("arguments").to_string(), "x");
}

TEST_F(AsEnvironmentLocalsTest, marking_and_clearing_references_reach_into_arguments_not_yet_read) {
    // Start a new marking pass, so that objects made below are unmarked.
    m_player->sweep_heap();
    as_object* kept = new as_object(m_player.get_ptr());
    m_player->clear_heap_flag(kept);
    add_arguments({as_value(kept)});
    m_env.push_barrier();
    smart_ptr<as_object> doomed = new as_object(m_player.get_ptr());
    add_arguments({as_value(doomed.get_ptr()), as_value("stays")});
    m_player->set_all_heap_flags();
    m_env.mark_alive(m_player.get_ptr());
    EXPECT_FALSE(m_player->get_heap_flag(kept));
    m_env.push_barrier();
    add_arguments({as_value(doomed.get_ptr())});
    as_object_set visited;
    m_env.clear_refs(&visited, doomed.get_ptr());
    EXPECT_EQ(doomed->get_ref_count(), 1);
    as_object* newest = local("arguments").to_object();
    ASSERT_NE(newest, nullptr);
    EXPECT_EQ(texts({member(newest, "length"), member(newest, "0")}), "1|undefined");
    m_env.truncate_local_frames(4);
    as_object* middle = local("arguments", true).to_object();
    ASSERT_NE(middle, nullptr);
    EXPECT_EQ(texts({member(middle, "0"), member(middle, "1")}), "undefined|stays");
    m_env.truncate_local_frames(0);
    m_player->set_all_heap_flags();
    m_player->sweep_heap();
}

}  // namespace
