#include "swfplayer/main/script/as_object.h"
#include "tests/swfplayer/main/script/ScriptRunner.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace script_test;
using swfplayer::as_value;

namespace {

// 32-bit conversion of the bitwise operators: truncation, NaN and out-of-range give INT_MIN.
int32_t to_int32(double x) {
    return std::isnan(x) || x >= 2147483648.0 || x <= -2147483649.0 ? INT_MIN : static_cast<int32_t>(x);
}

uint32_t low_bits(double x) {
    if (!std::isfinite(x)) {
        return 0;
    }
    double low = std::fmod(std::trunc(x), 4294967296.0);
    return static_cast<uint32_t>(low < 0 ? low + 4294967296.0 : low);
}

// What each numeric, bitwise and comparison opcode gives for two numbers.
as_value model(uint8_t op, double a, double b) {
    int32_t x = to_int32(a);
    int shift = to_int32(b) & 31;
    switch (op) {
    case ADD:
    case ADD_T: return as_value(a + b);
    case SUB: return as_value(a - b);
    case MUL: return as_value(a * b);
    case DIV: return as_value(a / b);
    case MOD: return b == 0 ? as_value() : as_value(std::fmod(a, b));
    case BIT_AND: return as_value(x & to_int32(b));
    case BIT_OR: return as_value(x | to_int32(b));
    case BIT_XOR: return as_value(x ^ to_int32(b));
    case SHL: return as_value(static_cast<int32_t>(static_cast<uint32_t>(x) << shift));
    case ASR: return as_value(x >> shift);
    case LSR: return as_value(static_cast<int32_t>(low_bits(a) >> shift));
    case LT:
    case LT_T: return as_value(a < b);
    case GT_T: return as_value(a > b);
    case EQU: return as_value(a == b);
    default: return as_value(a != 0 && b != 0);  // AND: NaN counts as true
    }
}

TEST(InterpreterTest, numeric_operators_match_a_model_over_awkward_operands) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> operands = {0, 1, -7, 3, 2.5, -0.5, 1e10, -1e10, NAN, inf, -inf, 4294967301.0, 31, 33};
    for (uint8_t op :
         {ADD, SUB, MUL, DIV, MOD, BIT_AND, BIT_OR, BIT_XOR, SHL, ASR, LSR, LT, LT_T, GT_T, EQU, ADD_T, AND}) {
        script_runner runner;
        action_assembler code;
        for (size_t n = 0; n < operands.size() * operands.size(); n++) {
            double a = operands[n / operands.size()], b = operands[n % operands.size()];
            code.push({str("r" + std::to_string(n)), num(a), num(b)}).op(op).op(SET_VAR);
        }
        runner.run(code);
        for (size_t n = 0; n < operands.size() * operands.size(); n++) {
            double a = operands[n / operands.size()], b = operands[n % operands.size()];
            as_value expected = model(op, a, b);
            as_value got = runner.variable(("r" + std::to_string(n)).c_str());
            bool both_nan = expected.is_number() && got.is_number() && std::isnan(expected.to_number()) &&
                            std::isnan(got.to_number());
            EXPECT_TRUE(both_nan || got == expected) << "op 0x" << std::hex << int(op) << std::dec << " on " << a
                                                     << ", " << b << ": got " << got.to_string();
        }
    }
}

TEST(InterpreterTest, value_string_and_control_flow_opcodes) {
    expect_traces({
        {"'1' 2 add_t trace true 2 add_t trace", "12|3"},       // a string joins; booleans add as numbers
        {"10 '9' lt_t trace '10' 9 lt_t trace", "false|true"},  // the deeper operand decides: number or bytes
        {"'b' 'abc' gt_t trace 'ab' 'ab' gt_t trace 'ab' 'ab' str_eq trace 'ab' 'b' gt_str trace",
         "true|false|true|false"},
        {"'ab' 1.5 str_cat trace 'h\xC3\xA9llo' str_len trace '\xC3\xA9' ord trace", "ab1.5|5|-61"},
        {"0 chr str_len trace 'hello' 0 2 substr trace 'hello' 4 99 substr trace", "0|he|lo"},
        {"'hello' nan nan substr trace", ""},
        {"-2.5 floor trace 0 not trace '1' 2 add trace 0 'x' or trace '4' inc inc dec trace", "-3|true|3|true|5"},
        {"'2.5' number trace false string type_of trace null type_of trace", "2.5|string|null"},
        {"f:0.5 i:-3 true undef trace trace trace trace", "undefined|true|-3|0.5"},
        {"#96:06,00,00,F0,3F,00,00,00,00 trace", "1"},  // a double stores its high word first
        {"1 2 swap dup trace trace trace -5 random trace", "1|1|2|0"},
        {"pool:zero,one p1 P0 p7 trace trace trace", "0|zero|one"},  // a missing index pushes nothing
        {"pool:first pool:second p0 trace", "first"},
        {"'kept' store:3 pop r3 r9 trace trace", "undefined|kept"},
        {"pop pop 'after' trace", "after"},
        {"#08 #45 #36 #7F #C0:01,02 #8F:09 'ok' trace", "ok"},  // to-do and unknown opcodes are skipped
        // for (i = 1; i <= 10; i++) sum += i; with a forward exit and a backward jump
        {"'sum' 0 set_var 'i' 1 set_var @top 'i' get_var 10 gt_t if:done 'sum' 'sum' get_var 'i' get_var add set_var "
         "'i' 'i' get_var inc set_var jump:top @done 'sum' get_var trace",
         "55"},
        {"true #9D:00,10 'skipped' trace", "", {"branch to offset"}},  // a branch past the range ends the run
        {"'once' trace #99:00,80 'never' trace", "once"},              // so does a jump before it
        {"1 return 'no' trace", ""},
        {"'a' trace #00 'b' trace", "a"},
    });
}

TEST(InterpreterTest, values_frame_actions_leave_stay_for_later_actions_to_pop) {
    script_runner runner;
    swfplayer::as_environment& env = runner.m_clip->m_env;
    EXPECT_EQ(runner.run(assemble("'kept' 5 'left'")), "");
    ASSERT_EQ(env.get_stack_size(), 3);
    EXPECT_EQ(runner.run(assemble("trace trace")), "left|5");
    // A call still cannot pop below its own values; the caller's stay for the caller.
    EXPECT_EQ(runner.run(assemble("fn:f() { pop pop 'in' return } 0 'f' call_func trace trace")), "in|kept");
    EXPECT_EQ(std::pair(env.get_stack_size(), env.get_stack_floor()), std::pair(0, 0));
}

}  // namespace
