#include "swfplayer/main/script/action_buffer.h"
#include "swfplayer/main/script/call_method_parsed.h"
#include "swfplayer/main/script/extension_modules.h"
#include "tests/swfplayer/main/script/ScriptRunner.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

using namespace script_test;
using swfplayer::as_value;

namespace {

TEST(InterpreterObjectsTest, functions_and_classes) {
    expect_traces({
        {"fn:add(a,b) { 'a' get_var 'b' get_var add return } 3 2 2 'add' call_func trace", "5"},
        // Registers: 1 this, 2 _root, 3 _global (preload order), 4 the parameter x.
        {"'tag' 'T' set_var fn2:f:4:0x141(4:x) { r1 r2 equ trace r3 'trace' get_member type_of trace "
         "r1 'tag' get_member r4 add_t return } 'x' 1 'f' call_func trace",
         "true|function|Tx"},
        // A nested function reads the locals of its running caller.
        {"fn:outer() { 'v' 'inner' set_local 'inner' fn:() { 'v' get_var return } set_var 0 'inner' call_func return } "
         "0 'outer' call_func trace 'v' get_var trace",
         "inner|undefined"},
        // A constructor, a method on the prototype, instanceof and casts.
        {"fn:Point(x) { 'this' get_var 'x' 'x' get_var set_member } 'Point' get_var 'prototype' get_member 'getX' "
         "fn:() { 'this' get_var 'x' get_member return } set_member 'p' 7 1 'Point' new set_var "
         "0 'p' get_var 'getX' call_method trace 'p' get_var 'Point' get_var is_inst_of trace "
         "'Point' get_var 'p' get_var cast_object 'x' get_member trace 'Array' get_var 'p' get_var cast_object trace",
         "7|true|7|null"},
        // Sub extends Base; Sub's constructor calls super(n); hello comes from Base's prototype.
        {"fn:Base(n) { 'this' get_var 'n' 'n' get_var set_member } "
         "fn:Sub(n) { 'n' get_var 1 'super' get_var undef call_method } 'Sub' get_var 'Base' get_var extends "
         "'Base' get_var 'prototype' get_member 'hello' "
         "fn:() { 'prefix' get_var 'this' get_var 'n' get_member add_t return } set_member 'prefix' 'base' set_var "
         "'s' 4 1 'Sub' new set_var 0 's' get_var 'hello' call_method trace 's' get_var 'Base' get_var is_inst_of "
         "trace "
         "'s' get_var 'Sub' get_var is_inst_of trace 's' get_var '__constructor__' get_member 'Sub' get_var equ trace",
         "base4|true|true|true"},
    });
}

TEST(InterpreterObjectsTest, objects_members_and_scopes) {
    const std::string o = "'o' 0 'Object' new set_var ";
    expect_traces({
        {"'o' 'a' 1 'b' 2 2 decl_obj set_var 'o' get_var 'b' get_member trace 3 2 1 3 decl_array trace "
         "99 decl_obj type_of trace",  // a count beyond the stack
         "2|1,2,3|object"},
        // for (k in o) trace(k), over members set by script (literal members are hidden).
        {o + "'o' get_var 'a' 1 set_member 'o' get_var 'b' 2 set_member 'o' enumerate "
             "@next store:0 null equ if:done r0 trace jump:next @done",
         "*a|b"},
        {o + "'o' get_var 'v' 'in o' set_member 'o' get_var with { 'v' get_var trace } 'v' get_var trace",
         "in o|undefined"},
        {o + "'o' get_var 'a' 1 set_member 'o' get_var 'a' delete trace 'o' get_var 'a' get_member trace "
             "'o' get_var 'zz' delete trace 'g' 5 set_var 'g' delete_all trace 'g' get_var trace "
             "'never' delete_all trace",
         "true|undefined|false|true|undefined|false"},
        {o + "'o' get_var '__resolve' fn:(name) { 'r:' get_var pop 'r:' 'name' get_var add_t return } set_member "
             "'o' get_var 'zz' get_member trace 'h\xC3\xA9llo' 'length' get_member trace",
         "r:zz|6"},  // the length of a string counts bytes
        {o + "'below' 1 2 2 'o' get_var 'nope' call_method trace trace 1 1 'nothing' call_func trace "
             "0 'NoSuchClass' new trace",
         "undefined|below|undefined|undefined",
         {"error: can't find method nope", "error in call_function: 'nothing' is not a function",
          "can't create object with unknown class 'NoSuchClass'"}},
    });
}

TEST(InterpreterObjectsTest, a_frame_run_again_keeps_its_named_function) {
    script_runner runner;
    Bytes bytes = assemble("fn:f() { 'x' get_var return }").bytes();
    swfplayer::action_buffer buffer;
    buffer.read(bytes.data(), static_cast<int>(bytes.size()));
    buffer.execute(&runner.m_clip->m_env);
    as_value first = runner.variable("f");
    ASSERT_TRUE(first.is_function());
    buffer.execute(&runner.m_clip->m_env);
    EXPECT_EQ(runner.variable("f").to_object(), first.to_object());
    // A copy of the buffer shares its bytes, so the definition is the same one.
    swfplayer::action_buffer copy(buffer);
    copy.execute(&runner.m_clip->m_env);
    EXPECT_EQ(runner.variable("f").to_object(), first.to_object());
}

// The verbose trace of GetVariable names an object value together with its address.
TEST(InterpreterObjectsTest, the_get_variable_trace_gives_an_object_its_address) {
    script_runner runner;
    swfplayer::set_verbose_action(true);
    runner.run(assemble("'o' 0 'Object' new set_var 'n' 5 set_var 'o' get_var pop 'n' get_var pop"));
    swfplayer::set_verbose_action(false);
    char object_line[128];
    std::snprintf(object_line, sizeof(object_line), "-------------- get var: o=[object Object] at %p\n",
                  static_cast<void*>(runner.variable("o").to_object()));
    EXPECT_TRUE(runner.logged(object_line)) << object_line;
    EXPECT_TRUE(runner.logged("-------------- get var: n=5\n"));
}

std::string call_join(script_runner& runner, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = swfplayer::call_method_parsed(&runner.m_clip->m_env, nullptr, "join", format, args);
    va_end(args);
    return text;
}

TEST(InterpreterObjectsTest, hosts_call_functions_by_name) {
    script_runner runner;
    runner.run(
        assemble("fn:join(a,b,c) { 'a' get_var '|' add_t 'b' get_var add_t '|' add_t 'c' get_var add_t return }"));
    EXPECT_EQ(call_join(runner, "%d, %s\t%f", 7, "x", 2.5), "7|x|2.5");
    EXPECT_EQ(call_join(runner, "%ls%d", L"w\u00e9", 1), "w\xC3\xA9|1|undefined");
    // Unknown formats take no argument; a lone % at the end reads nothing.
    EXPECT_EQ(call_join(runner, "%s x %q %lq %d", "a", 4), "a|4|undefined");
    EXPECT_EQ(call_join(runner, "%"), "undefined|undefined|undefined");
    const as_value args[] = {as_value(1), as_value("two"), as_value(true)};
    swfplayer::as_environment* env = &runner.m_clip->m_env;
    EXPECT_STREQ(swfplayer::call_method(env, nullptr, "join", args, 3).c_str(), "1|two|true");
    EXPECT_STREQ(swfplayer::call_method(env, nullptr, "missing", args, 3).c_str(), "undefined");
    EXPECT_EQ(env->get_stack_size(), 0);
}

TEST(InterpreterObjectsTest, extension_modules_load_only_plain_names) {
    for (const char* name : {"", "../evil", "a/b", "a\\b", "a.b", "x y"}) {
        EXPECT_FALSE(swfplayer::is_valid_module_name(name)) << name;
    }
    EXPECT_TRUE(swfplayer::is_valid_module_name("Widget") && swfplayer::is_valid_module_name("my_class2"));
    EXPECT_FALSE(swfplayer::is_valid_module_name(std::string(65, 'a').c_str()));
    script_runner runner;
    swfplayer::array<as_value> args;
    // No such module in the module folder; a name with a path never reaches the loader.
    EXPECT_EQ(swfplayer::create_extension_object(runner.m_player.get_ptr(), "NoSuchWidget", args), nullptr);
    EXPECT_EQ(swfplayer::create_extension_object(runner.m_player.get_ptr(), "../Widget", args), nullptr);
}

}  // namespace
