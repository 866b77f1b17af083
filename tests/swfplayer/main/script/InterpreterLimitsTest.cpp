#include "swfplayer/base/log.h"
#include "swfplayer/main/script/action_interpreter.h"
#include "swfplayer/main/script/call_method.h"
#include "tests/swfplayer/main/script/ScriptRunner.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

using namespace script_test;
using swfplayer::action_interpreter;

namespace {

// Lowers the instruction budget for one test, so that endless scripts end quickly.
class budget_scope {
public:
    explicit budget_scope(int64_t budget) : m_saved(action_interpreter::get_instruction_budget()) {
        action_interpreter::set_instruction_budget(budget);
    }
    ~budget_scope() { action_interpreter::set_instruction_budget(m_saved); }

private:
    int64_t m_saved;
};

TEST(InterpreterLimitsTest, the_default_budget_is_seconds_of_work) {
    EXPECT_GE(action_interpreter::get_instruction_budget(), 100000000);
}

struct runaway_case {
    const char* name;
    action_assembler code;
    const char* logged;
};

std::vector<runaway_case> runaway_cases() {
    std::vector<runaway_case> cases;
    cases.push_back({"while (true)", action_assembler().label("top").jump("top"), "script stopped after 100000"});

    action_assembler recursion;
    recursion.function("f", {}, action_assembler().push({num(0), str("f")}).op(CALL_FUNC).op(RETURN));
    recursion.push({num(0), str("f")}).op(CALL_FUNC);
    cases.push_back({"self-recursion", recursion, "script calls nested more than"});

    // o.addProperty("p", function () { return this.p; }, null); o.p
    action_assembler getter;
    getter.push({str("o"), num(0), str("Object")}).op(NEW).op(SET_VAR);
    getter.push({null_value()});
    getter.function("", {},
                    action_assembler().push({str("this")}).op(GET_VAR).push({str("p")}).op(GET_MEMBER).op(RETURN));
    getter.push({str("p"), num(3), str("o")}).op(GET_VAR).push({str("addProperty")}).op(CALL_METHOD).op(POP);
    getter.push({str("o")}).op(GET_VAR).push({str("p")}).op(GET_MEMBER).op(TRACE);
    cases.push_back({"a getter that reads itself", getter, "script calls nested more than"});

    cases.push_back({"a loop that piles up values", action_assembler().label("top").push({num(1)}).jump("top"),
                     "script stopped: operand stack overflow"});

    action_assembler doubling;
    doubling.set_var("s", {str("0123456789")});
    doubling.label("top").push({str("s"), str("s")}).op(GET_VAR).push({str("s")}).op(GET_VAR).op(ADD_T);
    doubling.op(SET_VAR).jump("top");
    cases.push_back({"a string that doubles forever", doubling, "script stopped: string too long"});

    // A 60 KB text copied to the stack again and again: its bytes spend the budget.
    action_assembler copying = action_assembler().set_var("s", {str(std::string(60000, 'x'))});
    copying.label("top").push({str("s")}).op(GET_VAR).op(POP).jump("top");
    cases.push_back({"a loop that copies a long text", copying, "script stopped after"});
    return cases;
}

TEST(InterpreterLimitsTest, runaway_scripts_end_within_their_limits) {
    for (runaway_case& c : runaway_cases()) {
        budget_scope budget(c.name == std::string("while (true)") ? 100000 : 50000000);
        script_runner runner;
        runner.run(c.code);
        EXPECT_TRUE(runner.logged(c.logged)) << c.name;
        EXPECT_EQ(runner.m_clip->m_env.get_stack_size(), 0) << c.name;
        EXPECT_EQ(runner.m_player->call_depth(), 0) << c.name;
        // The next run starts with a fresh budget.
        EXPECT_EQ(runner.run(action_assembler().trace(str("again"))), "again") << c.name;
    }
}

TEST(InterpreterLimitsTest, with_blocks_nest_eight_deep) {
    // Nine objects, each with v = its depth; the ninth With pops its object and opens nothing.
    action_assembler inner = action_assembler().push({str("v")}).op(GET_VAR).op(TRACE);
    for (int depth = 9; depth >= 1; depth--) {
        action_assembler outer;
        outer.push({str("v"), num(depth), num(1)}).op(DECL_OBJ).with(inner);
        inner = outer;
    }
    script_runner runner;
    EXPECT_EQ(runner.run(inner), "8");
}

// Records of valid shape with hostile contents: counts, offsets, lengths, register numbers and
// pool indices drawn at random, branches anywhere, function bodies of any length.
Bytes hostile_script(std::mt19937& random) {
    auto any = [&random](int n) {
        return static_cast<int>(random() % static_cast<unsigned>(n));
    };
    static const uint8_t long_ids[] = {0x81, 0x83, 0x87, 0x88, 0x8A, 0x8B, 0x8C, 0x8D, 0x8E,
                                       0x94, 0x96, 0x99, 0x9A, 0x9B, 0x9D, 0x9E, 0x9F, 0xC0};
    Bytes code;
    int records = 1 + any(40);
    for (int i = 0; i < records; i++) {
        if (any(3) == 0) {
            code.push_back(static_cast<uint8_t>(1 + any(0x7F)));
            continue;
        }
        uint8_t id = long_ids[any(sizeof(long_ids))];
        Bytes payload(static_cast<size_t>(any(12)));
        for (uint8_t& byte : payload) {
            byte = static_cast<uint8_t>(any(4) == 0 ? 0 : any(256));
        }
        if (id == 0x96 && any(2) == 0) {
            // A push of numbers and strings, so that later opcodes find operands.
            payload = {7, static_cast<uint8_t>(any(256)), 0, 0, static_cast<uint8_t>(any(2) ? 0 : 0x80), 0, 'a', 0};
        }
        code.push_back(id);
        code.push_back(static_cast<uint8_t>(payload.size()));
        code.push_back(0);
        code.insert(code.end(), payload.begin(), payload.end());
    }
    code.push_back(0);
    return code;
}

TEST(InterpreterLimitsTest, hostile_byte_code_runs_without_harm) {
    budget_scope budget(20000);
    std::mt19937 random(20261207);
    for (int round = 0; round < 3000; round++) {
        script_runner runner;
        // The first rounds also trace every record they read and run.
        swfplayer::set_verbose_action(round < 100);
        Bytes code = hostile_script(random);
        runner.run_bytes(code);
        // A second pass runs the same buffer's functions and pool again.
        runner.run_bytes(code);
        ASSERT_EQ(runner.m_clip->m_env.get_stack_size(), 0) << "round " << round;
        ASSERT_EQ(runner.m_player->call_depth(), 0) << "round " << round;
        if (round == 0) {
            EXPECT_TRUE(runner.logged("EX:\t"));
        }
    }
    swfplayer::set_verbose_action(false);
}

}  // namespace
