#include "swfplayer/base/log.h"
#include "tests/swfplayer/main/script/ScriptRunner.h"
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
        m_clip = new test_clip(m_player.get_ptr());
        m_env.set_target(m_clip.get_ptr());
    }
    void TearDown() override { m_env.set_target(nullptr); }
    as_value local(const char* name) { return m_env.get_local(m_env.find_local(name, false)); }

    smart_ptr<player> m_player = new player();
    as_environment m_env{m_player.get_ptr()};
    smart_ptr<test_clip> m_clip;
    array<with_stack_entry> m_no_with;
};

TEST_F(AsEnvironmentTest, split_path_forms_and_a_detached_store_makes_a_local) {
    const char* const splits[][3] = {{"a/b:c", "a/b", "c"},    {"a.b.c", "a.b", "c"}, {"/a/b:c", "/a/b", "c"},
                                     {"/a/b/:x", "/a/b", "x"}, {"/:x", "/", "x"},     {"a:b.c", "a", "b.c"},
                                     {"plain", "", ""}};
    for (const auto& c : splits) {
        base_string path, variable;
        EXPECT_EQ(as_environment::split_path(c[0], &path, &variable), c[1][0] != 0) << c[0];
        EXPECT_EQ(std::string(path.c_str()) + ":" + variable.c_str(), std::string(c[1]) + ":" + c[2]);
    }
    as_environment detached(m_player.get_ptr());
    detached.set_variable("v", as_value(4.0), m_no_with);
    ASSERT_GE(detached.find_local("v", false), 0);
    EXPECT_EQ(detached.get_variable("v", m_no_with).to_number(), 4.0);
}

TEST_F(AsEnvironmentTest, lookup_order_target_before_standard_names_before_global) {
    smart_ptr<as_object> root = new as_object(m_player.get_ptr());
    m_player->set_root_movie(root.get_ptr());
    as_object* global = m_player->get_global();
    global->set_member("_root", as_value("global root"));
    global->set_member("g", as_value("global"));
    EXPECT_EQ(m_env.get_variable("_root", m_no_with).to_object(), root.get_ptr());
    EXPECT_EQ(m_env.get_variable("_LEVEL0", m_no_with).to_object(), root.get_ptr());
    EXPECT_EQ(m_env.get_variable("_global", m_no_with).to_object(), global);
    EXPECT_EQ(m_env.get_variable("this", m_no_with).to_object(), m_clip.get_ptr());
    m_clip->set_member("_root", as_value("target root"));
    // A With object comes before the locals.
    array<with_stack_entry> with;
    with.push_back(with_stack_entry(root.get_ptr(), 100));
    root->set_member("w", as_value("with"));
    m_env.add_local("w", as_value("local"));
    EXPECT_EQ(texts({m_env.get_variable("_root", m_no_with), m_env.get_variable("g", m_no_with),
                     m_env.get_variable("nothing", m_no_with), m_env.get_variable("w", with),
                     m_env.get_variable("w", m_no_with)}),
              "target root|global|undefined|with|local");
    m_player->set_root_movie(nullptr);
}

// A name interned by the player reads and stores exactly what its text does: members without
// regard to case, locals exactly, paths through the clips they name, the standard names, With
// objects and _global.
TEST_F(AsEnvironmentTest, interned_names_read_and_store_what_their_texts_do) {
    smart_ptr<as_object> root = new as_object(m_player.get_ptr());
    smart_ptr<test_clip> child = new test_clip(m_player.get_ptr());
    smart_ptr<as_object> with_object = new as_object(m_player.get_ptr());
    m_player->set_root_movie(root.get_ptr());
    root->set_member("child", as_value(child.get_ptr()));
    m_clip->set_member("child", as_value(child.get_ptr()));
    m_clip->set_member("Speed", as_value(3.0));
    child->set_member("depth", as_value("deep"));
    with_object->set_member("w", as_value("with"));
    m_player->get_global()->set_member("Math2", as_value("global"));
    m_env.add_local("loc", as_value("local"));
    array<with_stack_entry> with;
    with.push_back(with_stack_entry(with_object.get_ptr(), 100));
    const char* const names[] = {
        "speed",   "SPEED", "loc",     "LOC",   "child.depth", "child:depth", "/child:depth",  "child/:depth", "_root",
        "_LEVEL0", "this",  "_Global", "math2", "w",           "nothing",     "child.nothing", "nosuch.x",     ".."};
    for (const char* text : names) {
        interned_name name = m_player->intern(text);
        for (const array<with_stack_entry>* stack : {&m_no_with, &with}) {
            EXPECT_EQ(m_env.get_variable(base_string(text), *stack), m_env.get_variable(name, *stack)) << text;
        }
    }
    // Stores, each made once through the text and once through the interned name into a twin.
    const char* const stores[] = {"speed", "loc", "LOC", "child.depth", "/child:slash", "fresh", "w"};
    for (const char* text : stores) {
        m_env.set_variable(base_string(text), as_value(std::string(text).append("1").c_str()), with);
        as_value by_text = m_env.get_variable(base_string(text), with);
        m_env.set_variable(m_player->intern(text), as_value(std::string(text).append("2").c_str()), with);
        as_value by_name = m_env.get_variable(base_string(text), with);
        EXPECT_EQ(std::string(text) + "1", by_text.to_string());
        EXPECT_EQ(std::string(text) + "2", by_name.to_string());
    }
    EXPECT_EQ(texts({member(m_clip, "SPEED"), local("loc"), member(child, "depth"), member(child, "slash"),
                     member(with_object, "w"), member(m_clip, "LOC")}),
              "speed2|loc2|child.depth2|/child:slash2|w2|LOC2");
    m_player->set_root_movie(nullptr);
}

TEST_F(AsEnvironmentTest, the_stack_floor_hides_the_callers_values) {
    m_env.push(as_value(1.0));
    m_env.push(as_value(2.0));
    int old_floor = m_env.set_stack_floor(m_env.get_stack_size());
    EXPECT_TRUE(m_env.pop().is_undefined() && m_env.top(0).is_undefined());
    m_env.drop(5);
    EXPECT_EQ(m_env.get_stack_size(), 2);
    m_env.push(as_value(3.0));
    m_env.set_top(1, as_value(9.0));
    EXPECT_EQ(texts({m_env.top(0), m_env.top(1), m_env.bottom(1), m_env.bottom(7), m_env.bottom(-1)}),
              "3|undefined|2|undefined|undefined");
    m_env.set_stack_floor(old_floor);
    EXPECT_EQ(m_env.top(1).to_number(), 2.0);
}

TEST_F(AsEnvironmentTest, registers_are_bounded_by_the_current_frame) {
    m_env.set_register(0, as_value(1.0));
    EXPECT_TRUE(m_env.get_register(0).is_undefined());
    m_env.push_register_frame(3);
    m_env.set_register(2, as_value(2.0));
    m_env.set_register(3, as_value(3.0));
    EXPECT_EQ(texts({m_env.get_register(2), m_env.get_register(3)}), "2|undefined");
    m_env.push_register_frame(1);
    EXPECT_TRUE(m_env.get_register(2).is_undefined());
    m_env.pop_register_frame();
    EXPECT_EQ(m_env.get_register(2).to_number(), 2.0);
    m_env.pop_register_frame();
    m_env.pop_register_frame();
    EXPECT_EQ(m_env.get_register_frame_size(), 0);
    m_env.set_global_register(3, as_value(4.0));
    m_env.set_global_register(4, as_value(5.0));
    EXPECT_EQ(texts({m_env.get_global_register(3), m_env.get_global_register(4)}), "4|undefined");
}

std::vector<std::string> s_lines;

// Register traces name an object by its whole address, as %p prints it, not by its low 32 bits.
TEST_F(AsEnvironmentTest, register_traces_print_the_whole_object_address) {
    smart_ptr<as_object> object = new as_object(m_player.get_ptr());
    char address[32];
    std::snprintf(address, sizeof(address), " at %p\n", static_cast<void*>(object.get_ptr()));
    log_callback previous = register_log_callback([](bool, const char* message) { s_lines.push_back(message); });
    const bool verbose = get_verbose_action();
    set_verbose_action(true);
    m_env.push_register_frame(1);
    m_env.set_register(0, as_value(object.get_ptr()));
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
    EXPECT_EQ(m_env.find_local("x", false), -1);
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

// Reads look in the With stack, the locals, the target, the standard names, then _global; stores
// go to a With object that has the name, a local, else the target.
TEST(AsEnvironmentScriptTest, lookup_and_store_order) {
    const std::string o = "'o' 0 'Object' new set_var 'o' get_var 'v' 'with' set_member 'o' get_var 'w' 0 set_member ";
    expect_traces({
        {o + "'v' 'target' set_var fn:f() { 'v' 'local' set_local 'o' get_var with { 'v' get_var trace } 'v' get_var "
             "trace } 0 'f' call_func pop 'v' get_var trace",
         "with|local|target"},
        {o + "fn:f() { 'l' 0 set_local 'o' get_var with { 'w' 1 set_var 'l' 2 set_var 't' 3 set_var } 'l' get_var "
             "trace } 0 'f' call_func pop 'o' get_var 'w' get_member trace 'w' get_var trace 'o' get_var 'l' "
             "get_member trace 'l' get_var trace 't' get_var trace",
         "2|1|undefined|undefined|undefined|3"},
    });
}

TEST(AsEnvironmentScriptTest, paths_read_and_write_the_clip_they_name) {
    script_runner runner;
    smart_ptr<test_clip> a = new test_clip(runner.m_player.get_ptr());
    smart_ptr<test_clip> b = new test_clip(runner.m_player.get_ptr());
    smart_ptr<as_object> plain = new as_object(runner.m_player.get_ptr());
    runner.m_clip->set_member("a", as_value(a.get_ptr()));
    runner.m_clip->set_member("plain", as_value(plain.get_ptr()));
    a->set_member("b", as_value(b.get_ptr()));
    b->set_member("c", as_value("found"));
    // A missing clip takes no store and reads undefined; only clips take path stores.
    EXPECT_EQ(runner.run(assemble("'a/b:c' get_var trace 'a.b.c' get_var trace '/a/b:c' get_var trace 'a.b.d' 5 "
                                  "set_var 'nosuchclip.x' 1 set_var 'x' get_var trace 'nosuchclip.x' get_var trace "
                                  "'plain.x' 1 set_var")),
              "found|found|found|undefined|undefined");
    EXPECT_EQ(member(b, "d").to_number(), 5.0);
    EXPECT_FALSE(plain->has_own_member("x"));
    // set_target follows paths to clips only and returns to the start on "".
    as_environment& env = runner.m_clip->m_env;
    as_object* start = runner.m_clip.get_ptr();
    const std::pair<as_value, as_object*> targets[] = {{as_value("a"), a.get_ptr()},
                                                       {as_value(""), start},
                                                       {as_value("plain"), start},
                                                       {as_value(b.get_ptr()), b.get_ptr()},
                                                       {as_value(3.0), b.get_ptr()}};
    for (const auto& [target, expected] : targets) {
        env.set_target(target, start);
        EXPECT_EQ(env.get_target(), expected) << target.to_string();
    }
    env.set_target(start);
}

}  // namespace
