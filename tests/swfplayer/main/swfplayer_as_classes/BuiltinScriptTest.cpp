#include "tests/swfplayer/main/script/ScriptRunner.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace script_test;

namespace {

// Pushes the arguments (argument 0 on top) and their count.
action_assembler& push_args(action_assembler& code, const std::vector<push_item>& args) {
    std::vector<push_item> items(args.rbegin(), args.rend());
    items.push_back(num(static_cast<double>(args.size())));
    return code.push(items);
}

// Traces object.method(args), the object read from a variable.
action_assembler trace_method(const std::string& object, const std::string& method,
                              const std::vector<push_item>& args) {
    action_assembler code;
    push_args(code, args).push({str(object)}).op(GET_VAR).push({str(method)}).op(CALL_METHOD).op(TRACE);
    return code;
}

// Traces function(args).
action_assembler trace_call(const std::string& function, const std::vector<push_item>& args) {
    action_assembler code;
    push_args(code, args).push({str(function)}).op(CALL_FUNC).op(TRACE);
    return code;
}

TEST(BuiltinScriptTest, scripts_reach_the_built_ins_by_their_global_names) {
    action_assembler literal;  // a = ["a", "b"]; trace(a); trace(a.push("c")); trace(a.pop()); trace(a.length)
    literal.push({str("a"), str("b"), str("a"), num(2)}).op(DECL_ARRAY).op(SET_VAR);
    literal.push({str("a")}).op(GET_VAR).op(TRACE);
    literal.push({str("c"), num(1), str("a")}).op(GET_VAR).push({str("push")}).op(CALL_METHOD).op(TRACE);
    literal.push({num(0), str("a")}).op(GET_VAR).push({str("pop")}).op(CALL_METHOD).op(TRACE);
    literal.push({str("a")}).op(GET_VAR).push({str("length")}).op(GET_MEMBER).op(TRACE);
    const struct {
        action_assembler code;
        const char* traced;
    } cases[] = {{trace_method("Math", "max", {num(1), num(NAN)}), "NaN"},
                 {trace_method("math", "MAX", {num(NAN), num(1)}), "1"},
                 {trace_method("Math", "round", {num(-2.5)}), "-2"},
                 {trace_method("Math", "atan2", {num(0), num(-1)}), "3.1415926535898"},
                 {trace_method("Key", "isDown", {num(300)}), "false"},
                 {trace_method("Key", "getAscii", {}), "undefined"},
                 {trace_call("getVersion", {}), "WIN"},
                 {action_assembler().push({str("$version")}).op(GET_VAR).op(TRACE), "swfPlayer"},
                 {trace_call("Array", {num(3)}), "undefined,undefined,undefined"},
                 {literal, "a,b|3|c|2"},
                 {trace_method("Selection", "setFocus", {str("nowhere")}), "false"}};
    for (const auto& c : cases) {
        script_runner runner;
        EXPECT_EQ(runner.run(c.code), c.traced);
    }
}

}  // namespace
