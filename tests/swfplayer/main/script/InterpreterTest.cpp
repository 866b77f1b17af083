#include "swfplayer/main/script/action_interpreter.h"
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
    const std::vector<double> operands = {0, 1, -7, 3, 2.5, -0.5, 1e10, -1e10, NAN, inf, -inf, 4294967301.0, 31};
    for (uint8_t op :
         {ADD, SUB, MUL, DIV, MOD, BIT_AND, BIT_OR, BIT_XOR, SHL, ASR, LSR, LT, LT_T, GT_T, EQU, ADD_T, AND}) {
        script_runner runner;
        action_assembler code;
        int n = 0;
        for (double a : operands) {
            for (double b : operands) {
                code.push({str("r" + std::to_string(n++)), num(a), num(b)}).op(op).op(SET_VAR);
            }
        }
        runner.run(code);
        n = 0;
        for (double a : operands) {
            for (double b : operands) {
                as_value expected = model(op, a, b);
                as_value got = runner.variable(("r" + std::to_string(n++)).c_str());
                bool both_nan = expected.is_number() && got.is_number() && std::isnan(expected.to_number()) &&
                                std::isnan(got.to_number());
                EXPECT_TRUE(both_nan || got == expected) << "op 0x" << std::hex << int(op) << std::dec << " on " << a
                                                         << ", " << b << ": got " << got.to_string();
            }
        }
    }
}

struct script_case {
    const char* name;
    action_assembler code;
    const char* expected_trace;
};

action_assembler unary(uint8_t op, const push_item& value) {
    return action_assembler().push({value}).op(op).op(TRACE);
}

action_assembler binary(uint8_t op, const push_item& a, const push_item& b) {
    return action_assembler().push({a, b}).op(op).op(TRACE);
}

TEST(InterpreterTest, value_and_string_opcodes) {
    const std::vector<script_case> cases = {
        {"add_t joins when a string is involved", binary(ADD_T, str("1"), num(2)), "12"},
        {"add_t adds booleans and undefined as numbers", binary(ADD_T, boolean(true), num(2)), "3"},
        {"lt_t: a deeper number compares numerically", binary(LT_T, num(10), str("9")), "false"},
        {"lt_t: a deeper string compares bytes", binary(LT_T, str("10"), num(9)), "true"},
        {"gt_t on strings", binary(GT_T, str("b"), str("abc")), "true"},
        {"gt_t on equal strings", binary(GT_T, str("ab"), str("ab")), "false"},
        {"str_eq", binary(STR_EQ, str("ab"), str("ab")), "true"},
        {"gt_str", binary(GT_STR, str("ab"), str("b")), "false"},
        {"str_cat", binary(STR_CAT, str("ab"), num(1.5)), "ab1.5"},
        {"str_len counts characters", unary(STR_LEN, str("h\xC3\xA9llo")), "5"},
        {"ord is the signed first byte", unary(ORD, str("\xC3\xA9")), "-61"},
        {"chr of 0 is empty", action_assembler().push({num(0)}).op(CHR).op(STR_LEN).op(TRACE), "0"},
        {"substr clamps its start", action_assembler().push({str("hello"), num(0), num(2)}).op(SUBSTR).op(TRACE), "he"},
        {"substr cuts its count", action_assembler().push({str("hello"), num(4), num(99)}).op(SUBSTR).op(TRACE), "lo"},
        {"substr of NaN positions", action_assembler().push({str("hello"), num(NAN), num(NAN)}).op(SUBSTR).op(TRACE),
         ""},
        {"floor", unary(FLOOR, num(-2.5)), "-3"},
        {"not", unary(NOT, num(0)), "true"},
        {"add converts text to numbers", binary(ADD, str("1"), num(2)), "3"},
        {"or", binary(OR, num(0), str("x")), "true"},
        {"inc and dec", action_assembler().push({str("4")}).op(INC).op(INC).op(DEC).op(TRACE), "5"},
        {"number of text", unary(NUMBER, str("2.5")), "2.5"},
        {"string of a boolean", action_assembler().push({boolean(false)}).op(STRING).op(TYPE_OF).op(TRACE), "string"},
        {"type_of null", unary(TYPE_OF, null_value()), "null"},
        {"typed pushes",
         action_assembler().push({f32(0.5f), i32(-3), boolean(true), undef()}).op(TRACE).op(TRACE).op(TRACE).op(TRACE),
         "undefined|true|-3|0.5"},
        {"a double stores its high word first",
         action_assembler().record(0x96, {6, 0, 0, 0xF0, 0x3F, 0, 0, 0, 0}).op(TRACE), "1"},
        {"dup and swap", action_assembler().push({num(1), num(2)}).op(SWAP).op(DUP).op(TRACE).op(TRACE).op(TRACE),
         "1|1|2"},
        {"random below 1 gives 0", unary(RANDOM, num(-5)), "0"},
        {"constant pool entries and a missing index",
         action_assembler().pool({"zero", "one"}).push({pool8(1), pool16(0), pool8(7)}).op(TRACE).op(TRACE).op(TRACE),
         "0|zero|one"},
        {"a second pool is ignored", action_assembler().pool({"first"}).pool({"second"}).push({pool8(0)}).op(TRACE),
         "first"},
        {"global registers",
         action_assembler().push({str("kept")}).store_register(3).op(POP).push({reg(3), reg(9)}).op(TRACE).op(TRACE),
         "undefined|kept"},
        {"pop on an empty stack goes on", action_assembler().op(POP).op(POP).trace(str("after")), "after"},
        {"todo and unknown opcodes are skipped",
         action_assembler().op(0x08).op(0x45).op(0x36).op(0x7F).record(0xC0, {1, 2}).record(0x8F, {9}).trace(str("ok")),
         "ok"},
    };
    for (const script_case& c : cases) {
        script_runner runner;
        EXPECT_EQ(runner.run(c.code), c.expected_trace) << c.name;
    }
}

TEST(InterpreterTest, control_flow) {
    // sum = 0; for (i = 1; i <= 10; i++) sum += i; with a forward exit and a backward jump.
    action_assembler loop;
    loop.set_var("sum", {num(0)}).set_var("i", {num(1)});
    loop.label("top").push({str("i")}).op(GET_VAR).push({num(10)}).op(GT_T).branch_if_true("done");
    loop.push({str("sum"), str("sum")}).op(GET_VAR).push({str("i")}).op(GET_VAR).op(ADD).op(SET_VAR);
    loop.push({str("i"), str("i")}).op(GET_VAR).op(INC).op(SET_VAR).jump("top");
    loop.label("done").push({str("sum")}).op(GET_VAR).op(TRACE);

    action_assembler overshoot;
    overshoot.push({boolean(true)}).record(0x9D, {0x00, 0x10}).trace(str("skipped"));
    action_assembler before_start;
    before_start.trace(str("once")).record(0x99, {0x00, 0x80}).trace(str("never"));

    const std::vector<script_case> cases = {
        {"counted loop", loop, "55"},
        {"a branch past the range ends the run", overshoot, ""},
        {"a jump before the range ends the run", before_start, "once"},
        {"return outside a function ends the run", action_assembler().push({num(1)}).op(RETURN).trace(str("no")), ""},
        {"end action stops at once", action_assembler().trace(str("a")).op(0x00).trace(str("b")), "a"},
    };
    for (const script_case& c : cases) {
        script_runner runner;
        EXPECT_EQ(runner.run(c.code), c.expected_trace) << c.name;
        if (std::string(c.name) == "a branch past the range ends the run") {
            EXPECT_TRUE(runner.logged("branch to offset")) << c.name;
        }
    }
}

TEST(InterpreterTest, frame_actions_leave_the_stack_as_they_found_it) {
    script_runner runner;
    swfplayer::as_environment& env = runner.m_clip->m_env;
    env.push(as_value("caller0"));
    env.push(as_value("caller1"));
    // Pops and counts reaching below the start, then values left behind.
    action_assembler code;
    code.function("f", {"a"}, action_assembler().push({str("a")}).op(GET_VAR).op(RETURN));
    code.push({num(5), str("f")}).op(CALL_FUNC).op(TRACE).op(POP).op(POP).op(ADD).op(SET_VAR);
    code.push({num(5)}).op(DECL_ARRAY).op(STR_LEN).op(TRACE).push({num(1), num(2), num(3)});
    EXPECT_EQ(runner.run(code), "undefined|0");
    ASSERT_EQ(env.get_stack_size(), 2);
    EXPECT_STREQ(env.top(0).to_string(), "caller1");
    EXPECT_STREQ(env.top(1).to_string(), "caller0");
}

}  // namespace
