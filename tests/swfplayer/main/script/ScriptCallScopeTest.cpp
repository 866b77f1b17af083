// What a script function's body sees by name: its own locals and those of the calls under it,
// its name for recursion, and "this", "arguments" and "super" as the function's flags give them.
#include "tests/swfplayer/main/script/ScriptRunner.h"

#include <gtest/gtest.h>

#include <string>

using namespace script_test;

namespace {

// fib(n) with n in register 1, in a DefineFunction2 with the given flags.
std::string fib2(const std::string& flags) {
    return "fn2:fib:2:" + flags +
           "(1:n) { r1 2 lt_t not if:rec r1 return @rec r1 1 sub 1 'fib' call_func r1 2 sub 1 'fib' call_func add "
           "return } 10 1 'fib' call_func trace";
}

TEST(ScriptCallScopeTest, recursion_and_the_locals_of_the_calls_under_way) {
    expect_traces({
        {fib2("0"), "55"},
        {fib2("0x2A"), "55"},
        {"fn:fib(n) { 'n' get_var 2 lt_t not if:rec 'n' get_var return @rec 'n' get_var 1 sub 1 'fib' call_func "
         "'n' get_var 2 sub 1 'fib' call_func add return } 10 1 'fib' call_func trace",
         "55"},
        // Each level reads its own arguments once the deeper calls have returned.
        {"fn2:f:2:0(1:n) { r1 0 equ if:end r1 1 sub 1 'f' call_func pop 'arguments' get_var 0 get_member trace @end } "
         "3 1 'f' call_func pop",
         "1|2|3"},
        // A called function reads its caller's local; once the caller is done the name is gone.
        {"fn:inner() { 'x' get_var trace } fn:outer() { 'x' 'outer' set_local 0 'inner' call_func pop } "
         "0 'outer' call_func pop 0 'inner' call_func pop",
         "outer|undefined"},
        {"fn:inner() { 'x' 'own' set_local 'x' get_var trace } fn:outer() { 'x' 'outer' set_local 0 'inner' "
         "call_func pop 'x' get_var trace } 0 'outer' call_func pop",
         "own|outer"},
        // A store from a called function goes to the caller's local of that name.
        {"fn:inner() { 'x' 'set by inner' set_var } fn:outer() { 'x' 'outer' set_local 0 'inner' call_func pop "
         "'x' get_var trace } 0 'outer' call_func pop 'x' get_var trace",
         "set by inner|undefined"},
        // Declared arguments that were not passed are no locals.
        {"fn:f(a,b) { 'b' get_var trace } 'b' 'set' set_var 'a' 1 'f' call_func pop", "set"},
    });
}

TEST(ScriptCallScopeTest, the_arguments_array_as_the_flags_give_it) {
    expect_traces({
        {"fn2:f:1:0() { 'arguments' get_var 'length' get_member trace 'arguments' get_var 0 get_member trace "
         "'arguments' get_var 2 get_member trace 'arguments' get_var trace } 'c' 'b' 'a' 3 'f' call_func pop",
         "3|a|c|a,b,c"},
        {"fn2:f:2:0(1:a) { r1 trace 'arguments' get_var 1 get_member trace } 'second' 'first' 2 'f' call_func pop",
         "first|second"},
        {"fn2:f:1:0() { 'arguments' get_var 'callee' get_member trace 'arguments' get_var 'caller' get_member "
         "trace } 0 'f' call_func pop",
         "undefined|undefined"},
        // A plain DefineFunction has none of its own.
        {"fn:f() { 'arguments' get_var trace } 'x' 1 'f' call_func pop", "undefined"},
        // One array for every read, and for the register it is preloaded to.
        {"fn2:f:1:0() { 'arguments' get_var 'arguments' get_var eq_strict trace } 0 'f' call_func pop", "true"},
        {"fn2:f:2:4() { r1 'arguments' get_var eq_strict trace r1 trace } 'p' 1 'f' call_func pop", "true|p"},
        {"fn2:f:2:12() { r1 trace 'arguments' get_var trace } 'p' 1 'f' call_func pop", "p|undefined"},
        // A called function without an arguments local of its own reads its caller's.
        {"fn:g() { 'arguments' get_var trace } fn2:f:1:0() { 0 'g' call_func pop } 'x' 'y' 2 'f' call_func pop", "y,x"},
        {"fn2:g:1:8() { 'arguments' get_var trace } fn2:f:1:0() { 0 'g' call_func pop } 'x' 'y' 2 'f' call_func pop",
         "y,x"},
        {"fn2:g:1:0() { 'arguments' get_var 'length' get_member trace } fn2:f:1:0() { 0 'g' call_func pop } 'x' 1 "
         "'f' call_func pop",
         "0"},
        // Stores, declarations and deletions work on the local like on any other.
        {"fn2:f:1:0() { 'arguments' 5 set_var 'arguments' get_var trace } 0 'f' call_func pop 'arguments' get_var "
         "trace",
         "5|undefined"},
        {"fn2:f:1:0() { 'arguments' 6 set_local 'arguments' get_var trace } 0 'f' call_func pop", "6"},
        {"fn2:f:1:0() { 'arguments' decl_local 'arguments' get_var trace } 'k' 1 'f' call_func pop", "k"},
        {"fn:g() { 'arguments' 'from g' set_var } fn2:f:1:0() { 0 'g' call_func pop 'arguments' get_var trace } "
         "'x' 1 'f' call_func pop",
         "from g"},
        {"fn2:f:1:0() { 'arguments' delete_all trace 'arguments' get_var trace } 'x' 1 'f' call_func pop",
         "true|undefined"},
        // Self-recursion stops at the depth limit whether or not the levels read their arguments.
        {"fn2:f:1:0() { 0 'f' call_func return } 0 'f' call_func pop 'after' trace",
         "after",
         {"script calls nested more than 256 deep"}},
        {"fn2:f:1:0() { 'arguments' get_var pop 'x' 1 'f' call_func return } 0 'f' call_func pop 'after' trace",
         "after",
         {"script calls nested more than 256 deep"}},
    });
}

TEST(ScriptCallScopeTest, this_and_super_of_a_call_and_of_the_calls_under_it) {
    // o.tag is "o", its prototype's tag "p", and the clip's own tag "clip"; o.m calls g.
    const std::string setup =
        "fn:P() { } 'P' get_var 'prototype' get_member 'tag' 'p' set_member 'o' 0 'P' new set_var 'o' get_var "
        "'tag' 'o' set_member 'tag' 'clip' set_var fn:m() { 0 'g' call_func pop } 'o' get_var 'm' 'm' get_var "
        "set_member ";
    const std::string call_m = " 0 'o' get_var 'm' call_method pop";
    expect_traces({
        {setup + "fn2:g:1:0() { 'this' get_var 'tag' get_member trace }" + call_m, "clip"},
        // Without a "this" of its own, g reads the "this" of m, the call under it.
        {setup + "fn2:g:1:2() { 'this' get_var 'tag' get_member trace }" + call_m, "o"},
        {setup + "fn:g() { 'this' get_var 'tag' get_member trace }" + call_m, "clip"},
        {setup + "fn2:g:1:2() { 'this' get_var 'tag' get_member trace } 0 'g' call_func pop", "clip"},
        // A plain call has a null super; with super suppressed, m's super (o's prototype) is read.
        {setup + "fn2:g:1:0() { 'super' get_var trace }" + call_m, "null"},
        {setup + "fn2:g:1:32() { 'super' get_var 'tag' get_member trace }" + call_m, "p"},
        {setup + "fn2:m2:1:0() { 'super' get_var 'tag' get_member trace } 'o' get_var 'm2' 'm2' get_var set_member 0 "
                 "'o' get_var 'm2' call_method pop",
         "p"},
    });
}

}  // namespace
