#include "swfplayer/base/log.h"
#include "tests/swfplayer/main/script/ScriptTestKit.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace swfplayer;
using namespace script_test;

namespace {

class AsEnvironmentTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_env.set_target(m_clip.get_ptr());
        m_with.push_back(with_stack_entry(m_with_object.get_ptr(), 100));
    }
    void TearDown() override { m_env.set_target(nullptr); }

    as_object* global() { return m_player->get_global(); }
    const char* read(const char* name, bool with = false) {
        m_last = m_env.get_variable(name, with ? m_with : m_no_with);
        return m_last.to_string();
    }
    as_value local(const char* name) { return m_env.get_local(m_env.find_local(name, false)); }

    smart_ptr<player> m_player = new player();
    as_environment m_env{m_player.get_ptr()};
    smart_ptr<test_clip> m_clip = new test_clip(m_player.get_ptr());
    smart_ptr<as_object> m_with_object = new as_object(m_player.get_ptr());
    array<with_stack_entry> m_with;
    array<with_stack_entry> m_no_with;
    as_value m_last;
};

TEST_F(AsEnvironmentTest, lookup_order_with_stack_locals_target_standard_names_global) {
    smart_ptr<as_object> root = new as_object(m_player.get_ptr());
    m_player->set_root_movie(root.get_ptr());
    m_with_object->set_member("v", as_value("with"));
    m_env.add_local("v", as_value("local"));
    EXPECT_STREQ(read("v", true), "with");
    EXPECT_STREQ(read("v"), "local");
    // A barrier hides the caller's locals from find_local, not from reads.
    m_clip->set_member("v", as_value("target"));
    m_env.push_barrier();
    EXPECT_STREQ(read("v"), "local");
    EXPECT_EQ(m_env.find_local("v", false), -1);
    m_env.truncate_local_frames(0);
    EXPECT_STREQ(read("v"), "target");
    global()->set_member("_root", as_value("global root"));
    global()->set_member("g", as_value("global"));
    EXPECT_EQ(m_env.get_variable("_root", m_no_with).to_object(), root.get_ptr());
    EXPECT_EQ(m_env.get_variable("_LEVEL0", m_no_with).to_object(), root.get_ptr());
    EXPECT_EQ(m_env.get_variable("_global", m_no_with).to_object(), global());
    EXPECT_EQ(m_env.get_variable("this", m_no_with).to_object(), m_clip.get_ptr());
    m_clip->set_member("_root", as_value("target root"));
    EXPECT_STREQ(read("_root"), "target root");
    EXPECT_STREQ(read("g"), "global");
    EXPECT_TRUE(m_env.get_variable("nothing", m_no_with).is_undefined());
    m_player->set_root_movie(nullptr);
}

TEST_F(AsEnvironmentTest, store_order_with_stack_then_locals_then_target_then_new_local) {
    m_with_object->set_member("w", as_value(0.0));
    m_env.set_variable("w", as_value(1.0), m_with);
    EXPECT_EQ(member(m_with_object, "w").to_number(), 1.0);
    EXPECT_FALSE(m_clip->has_own_member("w"));
    // A with object without the name is passed over.
    m_env.add_local("l", as_value(0.0));
    m_env.set_variable("l", as_value(2.0), m_with);
    EXPECT_EQ(local("l").to_number(), 2.0);
    EXPECT_FALSE(m_with_object->has_own_member("l") || m_clip->has_own_member("l"));
    m_env.set_variable("t", as_value(3.0), m_with);
    EXPECT_EQ(member(m_clip, "t").to_number(), 3.0);
    as_environment detached(m_player.get_ptr());
    detached.set_variable("v", as_value(4.0), m_no_with);
    ASSERT_GE(detached.find_local("v", false), 0);
    EXPECT_EQ(detached.get_variable("v", m_no_with).to_number(), 4.0);
}

TEST_F(AsEnvironmentTest, paths_split_read_and_write_the_clip_they_name) {
    const char* const splits[][3] = {{"a/b:c", "a/b", "c"},    {"a.b.c", "a.b", "c"}, {"/a/b:c", "/a/b", "c"},
                                     {"/a/b/:x", "/a/b", "x"}, {"/:x", "/", "x"},     {"a:b.c", "a", "b.c"},
                                     {"plain", "", ""}};
    for (const auto& c : splits) {
        base_string path, variable;
        EXPECT_EQ(as_environment::split_path(c[0], &path, &variable), c[1][0] != 0) << c[0];
        EXPECT_STREQ(path.c_str(), c[1]);
        EXPECT_STREQ(variable.c_str(), c[2]);
    }
    smart_ptr<test_clip> a = new test_clip(m_player.get_ptr());
    smart_ptr<test_clip> b = new test_clip(m_player.get_ptr());
    smart_ptr<test_clip> root = new test_clip(m_player.get_ptr());
    m_player->set_root_movie(root.get_ptr());
    m_clip->set_member("a", as_value(a.get_ptr()));
    root->set_member("a", as_value(a.get_ptr()));
    a->set_member("b", as_value(b.get_ptr()));
    b->set_member("c", as_value("found"));
    for (const char* path : {"a/b:c", "a.b.c", "/a/b:c"}) {
        EXPECT_STREQ(read(path), "found") << path;
    }
    m_env.set_variable("a.b.d", as_value(5.0), m_no_with);
    EXPECT_EQ(member(b, "d").to_number(), 5.0);
    // A missing clip: no effect, and reading gives undefined.
    m_env.set_variable("nosuchclip.x", as_value(1.0), m_no_with);
    EXPECT_FALSE(m_clip->has_own_member("x"));
    EXPECT_TRUE(m_env.get_variable("nosuchclip.x", m_no_with).is_undefined());
    // Only clips take path stores.
    smart_ptr<as_object> plain = new as_object(m_player.get_ptr());
    m_clip->set_member("plain", as_value(plain.get_ptr()));
    m_env.set_variable("plain.x", as_value(1.0), m_no_with);
    EXPECT_FALSE(plain->has_own_member("x"));
    // set_target follows paths to clips only and returns to the start on "".
    m_env.set_target(as_value("a"), m_clip.get_ptr());
    EXPECT_EQ(m_env.get_target(), a.get_ptr());
    m_env.set_target(as_value(""), m_clip.get_ptr());
    EXPECT_EQ(m_env.get_target(), m_clip.get_ptr());
    m_env.set_target(as_value("plain"), m_clip.get_ptr());
    EXPECT_EQ(m_env.get_target(), m_clip.get_ptr());
    m_env.set_target(as_value(b.get_ptr()), m_clip.get_ptr());
    EXPECT_EQ(m_env.get_target(), b.get_ptr());
    m_env.set_target(as_value(3.0), m_clip.get_ptr());
    EXPECT_EQ(m_env.get_target(), b.get_ptr());
    m_player->set_root_movie(nullptr);
}

TEST_F(AsEnvironmentTest, the_stack_floor_hides_the_callers_values) {
    m_env.push(as_value(1.0));
    m_env.push(as_value(2.0));
    int old_floor = m_env.set_stack_floor(m_env.get_stack_size());
    EXPECT_TRUE(m_env.pop().is_undefined());
    EXPECT_TRUE(m_env.top(0).is_undefined());
    m_env.drop(5);
    EXPECT_EQ(m_env.get_stack_size(), 2);
    m_env.push(as_value(3.0));
    EXPECT_EQ(m_env.top(0).to_number(), 3.0);
    EXPECT_TRUE(m_env.top(1).is_undefined());
    m_env.set_top(1, as_value(9.0));
    EXPECT_EQ(m_env.bottom(1).to_number(), 2.0);
    EXPECT_TRUE(m_env.bottom(7).is_undefined() && m_env.bottom(-1).is_undefined());
    m_env.set_stack_floor(old_floor);
    EXPECT_EQ(m_env.top(1).to_number(), 2.0);
}

TEST_F(AsEnvironmentTest, registers_are_bounded_by_the_current_frame) {
    m_env.set_register(0, as_value(1.0));
    EXPECT_TRUE(m_env.get_register(0).is_undefined());
    m_env.push_register_frame(3);
    m_env.set_register(2, as_value(2.0));
    m_env.set_register(3, as_value(3.0));
    EXPECT_EQ(m_env.get_register(2).to_number(), 2.0);
    EXPECT_TRUE(m_env.get_register(3).is_undefined());
    m_env.push_register_frame(1);
    EXPECT_TRUE(m_env.get_register(2).is_undefined());
    m_env.pop_register_frame();
    EXPECT_EQ(m_env.get_register(2).to_number(), 2.0);
    m_env.pop_register_frame();
    m_env.pop_register_frame();
    EXPECT_EQ(m_env.get_register_frame_size(), 0);
    m_env.set_global_register(3, as_value(4.0));
    m_env.set_global_register(4, as_value(5.0));
    EXPECT_EQ(m_env.get_global_register(3).to_number(), 4.0);
    EXPECT_TRUE(m_env.get_global_register(4).is_undefined());
}

std::vector<std::string> s_lines;

// Register traces name an object by its whole address, as %p prints it, not by its low 32 bits.
TEST_F(AsEnvironmentTest, register_traces_print_the_whole_object_address) {
    char address[32];
    std::snprintf(address, sizeof(address), " at %p\n", static_cast<void*>(m_with_object.get_ptr()));
    log_callback previous = register_log_callback([](bool, const char* message) { s_lines.push_back(message); });
    const bool verbose = get_verbose_action();
    set_verbose_action(true);
    m_env.push_register_frame(1);
    m_env.set_register(0, as_value(m_with_object.get_ptr()));
    m_env.get_register(0);
    set_verbose_action(verbose);
    register_log_callback(previous);
    ASSERT_EQ(s_lines.size(), 2u);
    for (const std::string& line : s_lines) {
        EXPECT_NE(line.find(address), std::string::npos) << line << " lacks" << address;
    }
}

TEST_F(AsEnvironmentTest, locals_of_the_current_call_only_for_declare_and_set) {
    m_env.add_local("x", as_value(1.0));
    m_env.push_barrier();
    m_env.set_local("x", as_value(2.0));
    m_env.declare_local("y");
    m_env.declare_local("y");
    m_env.add_local("", as_value(3.0));
    EXPECT_EQ(m_env.get_local_frame_count(), 4);
    EXPECT_EQ(local("x").to_number(), 2.0);
    m_env.truncate_local_frames(1);
    EXPECT_EQ(local("x").to_number(), 1.0);
    EXPECT_EQ(m_env.find_local("X", true), -1);  // locals are compared exactly
}

TEST_F(AsEnvironmentTest, clear_refs_drops_every_hold_on_the_target) {
    smart_ptr<as_object> doomed = new as_object(m_player.get_ptr());
    m_env.push(as_value(doomed.get_ptr()));
    m_env.add_local("d", as_value(doomed.get_ptr()));
    m_env.set_global_register(0, as_value(doomed.get_ptr()));
    m_env.push_register_frame(1);
    m_env.set_register(0, as_value(doomed.get_ptr()));
    as_object_set visited;
    m_env.clear_refs(&visited, doomed.get_ptr());
    EXPECT_EQ(doomed->get_ref_count(), 1);
    m_env.clear_refs(&visited, m_clip.get_ptr());
    EXPECT_EQ(m_env.get_target(), nullptr);
}

}  // namespace
