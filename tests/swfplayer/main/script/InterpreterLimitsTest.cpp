#include "swfplayer/base/log.h"
#include "swfplayer/main/script/call_method.h"
#include "swfplayer/main/script/fn_call.h"
#include "tests/swfplayer/main/script/ScriptRunner.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace script_test;

namespace {

// What the calls under way leave in the clip's environment: the stack floor, the call depth and
// the register frame. A run leaves none of it behind, however it ends.
std::vector<int> call_state(const script_runner& runner) {
    const swfplayer::as_environment& env = runner.m_clip->m_env;
    return {env.get_stack_floor(), runner.m_player->call_depth(), env.get_register_frame_size()};
}
const std::vector<int> no_call_state = {0, 0, 0};

TEST(InterpreterLimitsTest, runaway_scripts_end_within_their_limits) {
    EXPECT_GE(swfplayer::instruction_budget::get_budget(), 100000000);  // seconds of work
    const std::string nested = "script calls nested more than";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"@top jump:top", "script stopped after 100000 instructions"},
        {"fn:f() { 0 'f' call_func return } 0 'f' call_func", nested},
        // o.addProperty("p", function () { return this.p; }, null); o.p
        {"'o' 0 'Object' new set_var null fn:() { 'this' get_var 'p' get_member return } "
         "'p' 3 'o' get_var 'addProperty' call_method pop 'o' get_var 'p' get_member trace",
         nested},
        {"@top 1 jump:top", "script stopped: operand stack overflow"},
        {"'s' '0123456789' set_var @top 's' 's' get_var 's' get_var add_t set_var jump:top",
         "script stopped: string too long"},
        // A 60 KB text copied to the stack again and again: its bytes spend the budget.
        {"'s' '" + std::string(60000, 'x') + "' set_var @top 's' get_var pop jump:top", "script stopped after"},
        // o.a = o.b = o; p.a = p.b = p; o.a = p: storing p over the object o.a copies p's members
        // into it, and each of those stores copies p into o again, two ways at every level.
        {"'o' 0 'Object' new set_var 'p' 0 'Object' new set_var "
         "'o' get_var 'a' 'o' get_var set_member 'o' get_var 'b' 'o' get_var set_member "
         "'p' get_var 'a' 'p' get_var set_member 'p' get_var 'b' 'p' get_var set_member "
         "'o' get_var 'a' 'p' get_var set_member",
         "script stopped after 100000 instructions"},
    };
    for (const auto& [code, logged] : cases) {
        const bool small_budget = logged.find("100000") != std::string::npos;
        budget_scope budget(small_budget ? 100000 : 50000000);
        script_runner runner;
        runner.run(assemble(code));
        EXPECT_TRUE(runner.logged(logged)) << code.substr(0, 80);
        EXPECT_EQ(call_state(runner), no_call_state) << code.substr(0, 80);
        if (logged.find("stack overflow") != std::string::npos) {
            // The piled-up values go with the run, so the next run can push again.
            EXPECT_EQ(runner.m_clip->m_env.get_stack_size(), 0);
        }
        // The next run starts with a fresh budget.
        EXPECT_EQ(runner.run(assemble("'again' trace")), "again");
    }
}

TEST(InterpreterLimitsTest, the_scripts_of_one_frame_share_one_budget_and_say_so_once) {
    budget_scope budget(100000);
    script_runner runner;
    runner.run(assemble("'n' 0 set_var"));
    const action_assembler endless = assemble("'n' 'n' get_var inc set_var @top jump:top");
    {
        swfplayer::instruction_budget::run_scope frame;
        // The first run spends the frame's budget; the later ones end before their first
        // instruction, inside frames opened within this one too.
        runner.run(endless);
        runner.run(endless);
        {
            swfplayer::instruction_budget::run_scope inner;
            runner.run(endless);
        }
        EXPECT_TRUE(swfplayer::instruction_budget::is_spent());
        swfplayer::instruction_budget::stop_all("no second line");
    }
    EXPECT_EQ(runner.variable("n").to_number(), 1);
    EXPECT_EQ(runner.logged_count("script stopped"), 1);
    EXPECT_EQ(swfplayer::instruction_budget::run_scope::depth(), 0);
    // A run outside any frame is a frame of its own, with a full budget.
    runner.run(endless);
    EXPECT_EQ(runner.variable("n").to_number(), 2);
    EXPECT_EQ(runner.logged_count("script stopped"), 2);
}

void throw_out_of_memory(const swfplayer::fn_call&) {
    throw std::bad_alloc();
}

TEST(InterpreterLimitsTest, a_native_function_out_of_memory_stops_the_script_and_nothing_else) {
    script_runner runner;
    runner.m_player->get_global()->builtin_member("boom",
                                                  swfplayer::as_value(runner.m_player.get_ptr(), throw_out_of_memory));
    EXPECT_EQ(runner.run(assemble("'before' trace 1 2 'boom' call_func pop 'after' trace")), "before");
    EXPECT_TRUE(runner.logged("script stopped: std::bad_alloc"));
    EXPECT_EQ(call_state(runner), no_call_state);
    EXPECT_EQ(runner.run(assemble("'again' trace")), "again");
}

TEST(InterpreterLimitsTest, with_blocks_nest_eight_deep) {
    // Nine objects, each with v = its depth; the ninth With pops its object and opens nothing.
    std::string code = "'v' get_var trace";
    for (int depth = 9; depth >= 1; depth--) {
        code = "'v' " + std::to_string(depth) + " 1 decl_obj with { " + code + " }";
    }
    script_runner runner;
    EXPECT_EQ(runner.run(assemble(code)), "8");
}

TEST(InterpreterLimitsTest, each_with_block_asked_for_a_variable_is_charged) {
    // A loop that counts in "n" and reads a variable nobody has, once in no with-block and once
    // in eight, each until a small budget ends it: the eight objects asked on every read and
    // store leave room for fewer rounds (they once cost nothing, so both loops ran as long).
    const std::string loop = "@top 'n' 'n' get_var inc set_var 'absent' get_var pop jump:top";
    std::string nested = loop;
    for (int depth = 0; depth < 8; depth++) {
        nested = "0 decl_obj with { " + nested + " }";
    }
    budget_scope budget(100000);
    double rounds[2] = {};
    for (int i = 0; i < 2; i++) {
        script_runner runner;
        runner.run(assemble("'n' 0 set_var " + (i == 0 ? loop : nested)));
        EXPECT_TRUE(runner.logged("script stopped after 100000 instructions"));
        rounds[i] = runner.variable("n").to_number();
    }
    EXPECT_GT(rounds[1], 0);
    EXPECT_LT(rounds[1] * 2, rounds[0]);
}

TEST(InterpreterLimitsTest, each_function_object_an_object_is_made_with_is_charged) {
    // The same loop makes a plain object, an array (four function objects of its own) or a Date
    // (ten) each round, until a small budget ends it: the function objects leave room for fewer
    // rounds (they once cost nothing, so the three loops ran about as long).
    budget_scope budget(200000);
    double rounds[3] = {};
    const char* classes[3] = {"Object", "Array", "Date"};
    for (int i = 0; i < 3; i++) {
        script_runner runner;
        runner.run(assemble("'n' 0 set_var @top 'n' 'n' get_var inc set_var 0 '" + std::string(classes[i]) +
                            "' new pop jump:top"));
        EXPECT_TRUE(runner.logged("script stopped after 200000 instructions"));
        rounds[i] = runner.variable("n").to_number();
    }
    EXPECT_GT(rounds[2], 0);
    EXPECT_LT(rounds[1] * 2, rounds[0]);
    EXPECT_LT(rounds[2] * 4, rounds[0]);
    EXPECT_LT(rounds[2], rounds[1]);
}

// Records of valid shape with hostile contents: counts, offsets, lengths, register numbers and
// pool indices drawn at random, branches anywhere, function bodies of any length.
Bytes hostile_script(std::mt19937& random) {
    auto any = [&random](int n) {
        return static_cast<int>(random() % static_cast<unsigned>(n));
    };
    static const uint8_t long_ids[] = {0x81, 0x83, 0x87, 0x88, 0x8A, 0x8B, 0x8C, 0x8D, 0x8E,
                                       0x94, 0x96, 0x99, 0x9A, 0x9B, 0x9D, 0x9E, 0x9F, 0xC0};
    action_assembler code;
    for (int i = any(40); i >= 0; i--) {
        if (any(3) == 0) {
            code.op(static_cast<uint8_t>(1 + any(0x7F)));
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
        code.record(id, payload);
    }
    return code.bytes();
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
        ASSERT_EQ(call_state(runner), no_call_state) << "round " << round;
        if (round == 0) {
            EXPECT_TRUE(runner.logged("EX:\t"));
        }
    }
    swfplayer::set_verbose_action(false);
}

}  // namespace
