#include "swfplayer/main/script/call_method_parsed.h"
#include "tests/swfplayer/main/script/ScriptRunner.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <string>
#include <vector>

using namespace script_test;
using swfplayer::as_value;

namespace {

std::string parsed(script_runner& runner, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text =
        swfplayer::call_method_parsed(&runner.m_clip->m_env, runner.m_clip.get_ptr(), "join", format, args);
    va_end(args);
    return text;
}

// join(a, b, c) returns a + "|" + b + "|" + c.
void define_join(script_runner& runner) {
    action_assembler body;
    body.push({str("a")}).op(GET_VAR).push({str("|")}).op(ADD_T).push({str("b")}).op(GET_VAR).op(ADD_T);
    body.push({str("|")}).op(ADD_T).push({str("c")}).op(GET_VAR).op(ADD_T).op(RETURN);
    runner.run(action_assembler().function("join", {"a", "b", "c"}, body));
}

TEST(CallMethodParsedTest, host_calls_pass_their_arguments_in_order) {
    script_runner runner;
    define_join(runner);
    EXPECT_EQ(parsed(runner, "%d, %s\t%f", 7, "x", 2.5), "7|x|2.5");
    EXPECT_EQ(parsed(runner, "%ls%d", L"w\u00e9", 1), "w\xC3\xA9|1|undefined");
    EXPECT_EQ(parsed(runner, "%s x %q %lq %d", "a", 4), "a|4|undefined");
    EXPECT_TRUE(runner.logged("call_method_parsed('join','%s x %q %lq %d') -- invalid char 'x'"));
    EXPECT_TRUE(runner.logged("-- invalid fmt '%q'"));
    EXPECT_TRUE(runner.logged("-- invalid fmt '%lq'"));
    EXPECT_EQ(parsed(runner, "%"), "undefined|undefined|undefined");

    const as_value args[] = {as_value(1), as_value("two"), as_value(true)};
    EXPECT_STREQ(swfplayer::call_method(&runner.m_clip->m_env, runner.m_clip.get_ptr(), "join", args, 3).c_str(),
                 "1|two|true");
    EXPECT_STREQ(swfplayer::call_method(&runner.m_clip->m_env, nullptr, "missing", args, 3).c_str(), "undefined");
    EXPECT_EQ(runner.m_clip->m_env.get_stack_size(), 0);
}

}  // namespace
