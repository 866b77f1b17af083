#include "tests/swfplayer/main/script/ScriptRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace script_test;

namespace {

// Traces object.method(args) (the object read from a variable), or function(args) when object
// is empty; argument 0 is pushed last, then the count.
action_assembler traced_call(const std::string& object, const std::string& method, std::vector<push_item> args) {
    std::reverse(args.begin(), args.end());
    args.push_back(num(static_cast<double>(args.size())));
    action_assembler code;
    if (object.empty()) {
        return code.push(args).push({str(method)}).op(CALL_FUNC).op(TRACE);
    }
    return code.push(args).push({str(object)}).op(GET_VAR).push({str(method)}).op(CALL_METHOD).op(TRACE);
}

TEST(BuiltinScriptTest, scripts_reach_the_built_ins_by_their_global_names) {
    action_assembler literal;  // a = ["a", "b"]; trace(a); trace(a.push("c")); trace(a.pop()); trace(a.length)
    literal.push({str("a"), str("b"), str("a"), num(2)}).op(DECL_ARRAY).op(SET_VAR);
    literal.push({str("a")}).op(GET_VAR).op(TRACE);
    literal.push({str("c"), num(1), str("a")}).op(GET_VAR).push({str("push")}).op(CALL_METHOD).op(TRACE);
    literal.push({num(0), str("a")}).op(GET_VAR).push({str("pop")}).op(CALL_METHOD).op(TRACE);
    literal.push({str("a")}).op(GET_VAR).push({str("length")}).op(GET_MEMBER).op(TRACE);
    const std::pair<action_assembler, const char*> cases[] = {
        {traced_call("Math", "max", {num(1), num(NAN)}), "NaN"},
        {traced_call("math", "MAX", {num(NAN), num(1)}), "1"},
        {traced_call("Key", "isDown", {num(300)}), "false"},
        {traced_call("", "getVersion", {}), "WIN"},
        {action_assembler().push({str("$version")}).op(GET_VAR).op(TRACE), "swfPlayer"},
        {traced_call("", "Array", {num(3)}), "undefined,undefined,undefined"},
        {literal, "a,b|3|c|2"},
        {traced_call("Selection", "setFocus", {str("nowhere")}), "false"}};
    for (const auto& [code, traced] : cases) {
        EXPECT_EQ(script_runner().run(code), traced);
    }
}

}  // namespace
