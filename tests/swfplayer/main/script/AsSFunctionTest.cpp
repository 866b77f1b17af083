#include "swfplayer/main/script/as_c_function.h"
#include "swfplayer/main/script/as_s_function.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/function_call_frame.h"
#include "swfplayer/main/swfplayer_as_classes/as_array.h"
#include "tests/swfplayer/main/script/ScriptTestKit.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

using namespace swfplayer;
using namespace script_test;

namespace {

class AsSFunctionTest : public ::testing::Test {
protected:
    smart_ptr<as_s_function> make_function(bool function2 = false, uint16_t flags = 0, uint8_t registers = 0) {
        array<with_stack_entry> with_stack;
        smart_ptr<as_s_function> function = new as_s_function(&m_env, m_buffer, 0, with_stack);
        function->set_is_function2(function2);
        function->set_function2_flags(flags);
        function->set_local_register_count(registers);
        return function;
    }
    // Pushes the arguments (argument 0 on top) and returns the first-argument index.
    int push_args(std::initializer_list<as_value> args) {
        for (auto arg = std::rbegin(args); arg != std::rend(args); ++arg) {
            m_env.push(*arg);
        }
        return m_env.get_top_index();
    }
    as_value local(const char* name) { return m_env.get_local(m_env.find_local(name, false)); }
    bool has_local(const char* name) { return m_env.find_local(name, false) >= 0; }

    smart_ptr<player> m_player = new player();
    as_environment m_env{m_player.get_ptr()};
    action_buffer m_buffer;
    void SetUp() override {
        m_self->set_proto(m_proto.get_ptr());
        m_self->set_member("tag", as_value("t"));
        m_proto->set_member("tag", as_value("s"));
    }

    smart_ptr<as_object> m_proto = new as_object(m_player.get_ptr());
    smart_ptr<as_object> m_self = new as_object(m_player.get_ptr());
    as_value m_result;
};

TEST_F(AsSFunctionTest, a_plain_function_gets_named_arguments_this_and_super_but_no_arguments_object) {
    smart_ptr<as_s_function> function = make_function();
    // Its definition gives a prototype and a hidden call member.
    EXPECT_NE(member(function, "prototype").to_object(), nullptr);
    EXPECT_TRUE(member(function, "call").is_function());
    EXPECT_EQ(member(function, "call").get_flags(), AS_DONT_ENUM);
    function->add_arg(0, "a");
    function->add_arg(0, "b");
    as_value this_value(m_self.get_ptr());
    fn_call fn(&m_result, this_value, &m_env, 3, push_args({as_value(1.0), as_value(2.0), as_value(3.0)}));
    {
        function_call_frame frame(*function, fn);
        EXPECT_EQ(texts({local("a"), local("b"), member(local("this").to_object(), "tag"),
                         member(local("super").to_object(), "tag")}),
                  "1|2|t|s");
        EXPECT_FALSE(has_local("arguments"));
        EXPECT_EQ(m_env.get_register_frame_size(), 0);
    }
    EXPECT_EQ(m_env.get_local_frame_count(), 0);
}

TEST_F(AsSFunctionTest, function2_preload_layouts) {
    // Flags; what registers 1, 2, 3 ... hold (t this, a arguments, s super, r root, p parent, g global);
    // which of this, arguments and super are locals.
    const std::tuple<uint16_t, std::string, std::string> cases[] = {
        {0x0000, "", "tas"},
        {0x0001 | 0x0004 | 0x0010, "tas", "tas"},
        {0x0001 | 0x0002 | 0x0004 | 0x0008 | 0x0010 | 0x0020, "tas", ""},
        {0x0002 | 0x0008 | 0x0020, "", ""},
        {0x0040 | 0x0100, "rg", "tas"},
        {0x0004 | 0x0040 | 0x0080 | 0x0100, "arpg", "tas"},
        {0x01FF, "tasrpg", ""},
        {0x0010 | 0x0008, "s", "ts"},
    };
    smart_ptr<test_clip> root = new test_clip(m_player.get_ptr());
    smart_ptr<test_clip> parent = new test_clip(m_player.get_ptr());
    smart_ptr<test_clip> clip = new test_clip(m_player.get_ptr());
    m_player->set_root_movie(root.get_ptr());
    clip->set_member("_parent", as_value(parent.get_ptr()));
    root->set_member("tag", as_value("r"));
    parent->set_member("tag", as_value("p"));
    m_player->get_global()->set_member("tag", as_value("g"));
    for (const auto& [flags, registers, locals] : cases) {
        SCOPED_TRACE(std::to_string(flags));
        // Defined outside any clip, called with the clip as target.
        smart_ptr<as_s_function> function = make_function(true, flags, 8);
        function->add_arg(3 + 4, "inRegister");
        function->add_arg(0, "named");
        m_env.set_target(clip.get_ptr());
        as_value this_value(m_self.get_ptr());
        fn_call fn(&m_result, this_value, &m_env, 3, push_args({as_value("r"), as_value("n"), as_value("extra")}));
        {
            function_call_frame frame(*function, fn);
            EXPECT_EQ(m_env.get_register_frame_size(), 9);
            EXPECT_EQ(texts({m_env.get_register(7), local("named")}), "r|n");
            std::string held, declared;
            for (int i = 1; i <= static_cast<int>(registers.size()); i++) {
                as_value reg = m_env.get_register(i);
                ASSERT_NE(reg.to_object(), nullptr);
                bool arguments = reg.to_object()->is(AS_ARRAY) && std::string(reg.to_string()) == "r,n,extra";
                held += arguments ? "a" : member(reg.to_object(), "tag").to_string();
            }
            for (const char* name : {"this", "arguments", "super"}) {
                declared += has_local(name) ? std::string(1, name[0]) : "";
            }
            EXPECT_EQ(held, registers);
            EXPECT_EQ(declared, locals);
            if (has_local("arguments")) {
                // The extra argument is reachable only through "arguments".
                EXPECT_STREQ(local("arguments").to_string(), "r,n,extra");
            }
        }
        m_env.drop(3);
        m_env.set_target(nullptr);
        EXPECT_EQ(m_env.get_register_frame_size() + m_env.get_local_frame_count() + m_env.get_stack_size(), 0);
    }
    m_player->set_root_movie(nullptr);
}

TEST_F(AsSFunctionTest, the_frame_restores_stack_locals_and_registers_whatever_the_body_did) {
    smart_ptr<as_s_function> function = make_function(true, 0, 2);
    m_env.push(as_value("caller value"));
    m_env.add_local("outer", as_value(1.0));
    as_value this_value;
    fn_call fn(&m_result, this_value, &m_env, 0, m_env.get_top_index());
    {
        function_call_frame frame(*function, fn);
        // A body that underflows cannot reach the caller's values, and what it leaves behind is cut away.
        EXPECT_TRUE(m_env.pop().is_undefined());
        m_env.drop(10);
        EXPECT_EQ(m_env.get_stack_size(), 1);
        m_env.push(as_value(1.0));
        m_env.push(as_value(2.0));
        m_env.add_local("inner", as_value(3.0));
        m_env.push_barrier();
    }
    EXPECT_EQ(m_env.get_stack_size(), 1);
    EXPECT_STREQ(m_env.top(0).to_string(), "caller value");
    EXPECT_EQ(m_env.get_local_frame_count(), 1);
    EXPECT_EQ(m_env.get_register_frame_size(), 0);
    EXPECT_EQ(m_env.get_stack_floor(), 0);
}

TEST_F(AsSFunctionTest, a_call_runs_in_the_environment_of_a_clip_this_or_defining_clip) {
    smart_ptr<test_clip> defining = new test_clip(m_player.get_ptr());
    smart_ptr<test_clip> other = new test_clip(m_player.get_ptr());
    smart_ptr<as_s_function> free_function = make_function();
    as_value this_value(other.get_ptr()), no_this;
    fn_call fn(&m_result, this_value, &m_env, 0, -1);
    fn_call plain(&m_result, no_this, &m_env, 0, -1);
    auto expect_frame = [&](as_s_function* function, const fn_call& call, as_environment* env, as_object* self) {
        function_call_frame frame(*function, call);
        EXPECT_TRUE(env == nullptr || frame.get_environment() == env);
        EXPECT_EQ(frame.get_this(), self);
    };
    expect_frame(free_function.get_ptr(), fn, &other->m_env, other.get_ptr());
    m_env.set_target(defining.get_ptr());
    smart_ptr<as_s_function> method = make_function();
    // Without "this" the environment's target acts as "this".
    expect_frame(free_function.get_ptr(), plain, nullptr, defining.get_ptr());
    m_env.set_target(nullptr);
    expect_frame(method.get_ptr(), fn, &defining->m_env, other.get_ptr());
    // A defining clip taken off the stage no longer lends its environment.
    defining->m_active = false;
    expect_frame(method.get_ptr(), fn, &other->m_env, other.get_ptr());
    // Once the defining clip is gone the caller's environment is used.
    defining = nullptr;
    function_call_frame frame(*method, plain);
    EXPECT_EQ(frame.get_environment(), &m_env);
}

// The tag of "this", the argument count and the first argument of the last call.
std::string s_seen;

void record_call(const fn_call& fn) {
    s_seen = texts({fn.this_ptr ? member(fn.this_ptr, "tag") : as_value(), as_value(fn.nargs), fn.arg(0)});
    fn.result->set_string("done");
}

TEST_F(AsSFunctionTest, the_call_method_passes_this_and_only_the_first_argument) {
    smart_ptr<as_s_function> function = make_function();
    as_value call_member = member(function, "call");
    // The call method of a script function invoked on a native stand-in records what it gets.
    smart_ptr<as_c_function> recorder = new as_c_function(m_player.get_ptr(), record_call);
    as_value result = call(m_env, call_member, as_value(recorder.get_ptr()),
                           {as_value(m_self.get_ptr()), as_value(1.0), as_value(2.0)});
    EXPECT_STREQ(result.to_string(), "done");
    EXPECT_EQ(s_seen, "t|1|1");
    s_seen.clear();
    EXPECT_TRUE(call(m_env, call_member, as_value(recorder.get_ptr()), {}).is_undefined());
    EXPECT_EQ(s_seen, "");
    EXPECT_EQ(m_env.get_stack_size(), 0);
    // call_method cuts argument counts to the stack.
    m_env.push(as_value("only"));
    call_method(as_value(recorder.get_ptr()), &m_env, as_value(), 50, m_env.get_top_index());
    EXPECT_EQ(s_seen, "undefined|1|only");
    call_method(as_value(recorder.get_ptr()), &m_env, as_value(), 3, 40);
    EXPECT_EQ(s_seen, "undefined|0|undefined");
    EXPECT_TRUE(call_method(as_value(1.0), &m_env, as_value(), 0, 0).is_undefined());
    EXPECT_TRUE(call_method(as_value(recorder.get_ptr()), nullptr, as_value(), 0, 0).is_undefined());
    smart_ptr<as_c_function> empty = new as_c_function(m_player.get_ptr(), nullptr);
    EXPECT_TRUE(call_method(as_value(empty.get_ptr()), &m_env, as_value(), 0, 0).is_undefined());
}

}  // namespace
