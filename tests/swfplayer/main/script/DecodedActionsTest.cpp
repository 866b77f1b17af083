// The decoded records a buffer keeps between runs behave exactly as records decoded afresh from
// their bytes on every run: random terminating programs give the same traces, variables and log
// lines both ways, on a first run and on the runs that reuse what the first one kept.
#include "swfplayer/base/log.h"
#include "swfplayer/main/script/action_code.h"
#include "tests/swfplayer/main/script/ScriptRunner.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>
#include <vector>

using namespace script_test;

namespace {

// Writes random programs in assemble()'s text. Every loop counts a register up to a small bound
// and no function calls itself or a later one, so every program ends.
class program_writer {
public:
    explicit program_writer(unsigned seed) : m_random(seed) {}

    std::string program() {
        std::string code;
        if (chance(2)) {
            code += pool() + " ";
        }
        code += "'o' 0 decl_obj set_var ";
        code += block(0, false);
        if (chance(8)) {
            // Branches out of the buffer, backwards or forwards.
            code += pick({"#99:00,80 ", "true #9D:FF,7F ", "#99:F0,FF "});
        }
        return code;
    }

private:
    bool chance(int one_in) { return std::uniform_int_distribution<int>(1, one_in)(m_random) == 1; }
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    std::string pick(std::initializer_list<const char*> choices) {
        return *(choices.begin() + below(static_cast<int>(choices.size())));
    }

    std::string pool() {
        std::string text = "pool:";
        int count = below(4);
        for (int i = 0; i < count; i++) {
            text += (i ? "," : "") + std::string(pick({"v0", "x", "o", "hello", "f0", "length"}));
        }
        return count == 0 ? "pool:" : text;
    }

    std::string leaf() {
        switch (below(11)) {
        case 0: return "i:" + std::to_string(below(200) - 100);
        case 1: return pick({"2.5", "-1", "0", "nan", "inf", "f:0.5", "1e9"});
        case 2: return pick({"'abc'", "''", "'10'", "'9'", "'x'", "'a long text past fourteen bytes'"});
        case 3: return pick({"p0", "p1", "p3", "P2", "P300"});
        case 4: return pick({"undef", "null", "true", "false"});
        case 5: return "r" + std::to_string(below(6));
        case 6: return "'v" + std::to_string(below(4)) + "' get_var";
        case 7: return "'o' get_var '" + std::string(pick({"x", "y", "v0"})) + "' get_member";
        case 8: return m_functions > 0 ? call() : "i:3";
        default: return std::to_string(below(10));
        }
    }

    std::string call() {
        int args = below(3);
        std::string code;
        for (int i = 0; i < args; i++) {
            code += leaf() + " ";
        }
        return code + std::to_string(args) + " 'f" + std::to_string(below(m_functions)) + "' call_func";
    }

    std::string expression(int depth) {
        if (depth > 2 || chance(3)) {
            return leaf();
        }
        if (chance(3)) {
            return expression(depth + 1) + " " +
                   pick({"not", "inc", "dec", "floor", "number", "string", "type_of", "str_len", "ord", "chr",
                         "dup pop"});
        }
        return expression(depth + 1) + " " + expression(depth + 1) + " " +
               pick({"add", "sub", "mul",  "div",  "mod",  "lt",  "equ", "add_t",  "str_cat", "bit_and",
                     "shl", "lsr", "lt_t", "gt_t", "eq_t", "and", "or",  "str_eq", "str_lt",  "swap pop"});
    }

    std::string label() { return "L" + std::to_string(m_labels++); }

    std::string statement(int depth, bool in_function) {
        switch (below(depth < 2 ? 13 : 8)) {
        case 0: return expression(0) + " trace";
        case 1: return "'v" + std::to_string(below(4)) + "' " + expression(0) + " set_var";
        case 2: return "'o' get_var '" + std::string(pick({"x", "y"})) + "' " + expression(0) + " set_member";
        case 3: return expression(0) + " store:" + std::to_string(below(2)) + " pop";
        case 4: return pool();
        case 5:
            // A branch into the middle of the next record, whose last payload byte is dup (0x4C).
            return expression(0) + " " + pick({"#9D:04,00 #96:05,4C", "#9D:03,00 #87:4C", "#99:03,00 #87:4C"});
        case 6: return in_function ? expression(0) + " return" : expression(0) + " pop";
        case 7: return "#8F:" + std::to_string(below(9) + 1) + ",02,03";  // a try record: its payload is skipped
        case 8: {
            std::string end = label();
            return expression(0) + " not if:" + end + " " + block(depth + 1, in_function) + " @" + end;
        }
        case 9: {
            // Counted by a register of its own; function2 bodies count in local registers.
            std::string r = std::to_string(depth + 2);
            std::string top = label();
            std::string end = label();
            return "0 store:" + r + " pop @" + top + " r" + r + " " + std::to_string(below(4) + 1) +
                   " lt not if:" + end + " " + block(depth + 1, in_function) + " r" + r + " 1 add store:" + r +
                   " pop jump:" + top + " @" + end;
        }
        case 10: return "'o' get_var with { " + block(depth + 1, in_function) + " }";
        case 11: return in_function ? expression(0) + " trace" : function(depth);
        default: return m_functions > 0 ? call() + " trace" : "'none' trace";
        }
    }

    std::string function(int depth) {
        std::string name = "f" + std::to_string(m_functions);
        // The body sees only the functions defined before it, so no call recurses.
        std::string body = block(depth + 1, true) + " " + expression(0) + " return";
        m_functions++;
        if (chance(2)) {
            return "fn:" + name + "(a,b) { " + body + " }";
        }
        return "fn2:" + name + ":6:" + pick({"0", "0x2", "0x5"}) + "(1:a,0:b) { " + body + " }";
    }

    std::string block(int depth, bool in_function) {
        std::string code;
        int count = below(5) + 1;
        for (int i = 0; i < count; i++) {
            code += statement(depth, in_function) + " ";
        }
        return code;
    }

    std::mt19937 m_random;
    int m_labels = 0;
    int m_functions = 0;
};

// What one run leaves behind: its traces, the timeline variables and the log, with pointers
// (which differ from one player to the next) blanked.
struct run_outcome {
    std::string traces;
    std::string variables;
    std::vector<std::string> log;
};

std::vector<run_outcome> run_twice(const Bytes& bytes, bool keeping, bool verbose) {
    static const std::regex pointer("0x[0-9a-fA-F]+|\\(nil\\)");
    swfplayer::action_code::set_keeping(keeping);
    swfplayer::set_verbose_action(verbose);
    budget_scope budget(200000);
    script_runner runner;
    // One buffer run twice, as a frame's actions are: the second run reuses what the first kept.
    swfplayer::action_buffer buffer;
    buffer.read(bytes.data(), static_cast<int>(bytes.size()));
    std::vector<run_outcome> outcomes;
    for (int pass = 0; pass < 2; pass++) {
        size_t logged = runner.log_lines().size();
        run_outcome outcome;
        outcome.traces = runner.run_buffer(buffer);
        for (const char* name : {"v0", "v1", "v2", "v3", "f0"}) {
            swfplayer::as_value value = runner.variable(name);
            outcome.variables += std::string(value.typeof()) + ":" + value.to_string() + "|";
        }
        for (size_t i = logged; i < runner.log_lines().size(); i++) {
            outcome.log.push_back(std::regex_replace(runner.log_lines()[i], pointer, "0x?"));
        }
        outcomes.push_back(outcome);
    }
    swfplayer::set_verbose_action(false);
    swfplayer::action_code::set_keeping(true);
    return outcomes;
}

TEST(DecodedActionsTest, kept_records_run_as_records_decoded_afresh_in_random_programs) {
    int traced = 0;
    for (unsigned seed = 1; seed <= 200; seed++) {
        std::string text = program_writer(seed).program();
        Bytes bytes = assemble(text).bytes();
        bool verbose = seed % 10 == 0;
        std::vector<run_outcome> kept = run_twice(bytes, true, verbose);
        std::vector<run_outcome> afresh = run_twice(bytes, false, verbose);
        for (int pass = 0; pass < 2; pass++) {
            EXPECT_EQ(kept[pass].traces, afresh[pass].traces) << seed << ": " << text;
            EXPECT_EQ(kept[pass].variables, afresh[pass].variables) << seed << ": " << text;
            EXPECT_EQ(kept[pass].log, afresh[pass].log) << seed << ": " << text;
        }
        traced += kept[0].log.size() > 0;
    }
    // The programs reach the error paths, not only the quiet ones.
    EXPECT_GT(traced, 50);
}

}  // namespace

// Push records that start at every third byte of one another's payload, each holding hundreds of
// values: decoding each at its own pc, as branches into the middle of records would, asks for
// far more than the bytes, and the form kept stays within its bound while every record still
// decodes as it does afresh.
TEST(DecodedActionsTest, overlapping_records_keep_the_decoded_form_within_a_bound_of_the_bytes) {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 10000; i++) {
        bytes.insert(bytes.end(), {0x96, 0x05, 0x05});  // a Push of 1285 bytes: unknown types and booleans
    }
    int size = static_cast<int>(bytes.size());
    swfplayer::action_code kept(bytes.data(), size);
    swfplayer::action_code::set_keeping(false);
    swfplayer::action_code afresh(bytes.data(), size);
    swfplayer::action_code::set_keeping(true);
    size_t asked = 0;
    for (int pass = 0; pass < 2; pass++) {
        for (int pc = 0; pc + 3 <= size; pc += 3) {
            swfplayer::decoded_action a = kept.at(pc);
            std::vector<double> a_values;
            for (int i = 0; i < a.m_push_count; i++) {
                a_values.push_back(kept.operand(a.m_first_push + i).m_number);
            }
            swfplayer::action_code::set_keeping(false);
            swfplayer::decoded_action b = afresh.at(pc);
            swfplayer::action_code::set_keeping(true);
            std::vector<double> b_values;
            for (int i = 0; i < b.m_push_count; i++) {
                b_values.push_back(afresh.operand(b.m_first_push + i).m_number);
            }
            ASSERT_EQ(std::make_pair(a.m_next_pc, a.m_id), std::make_pair(b.m_next_pc, b.m_id)) << pc;
            ASSERT_EQ(a_values, b_values) << pc;
            asked += sizeof(a) + a.m_push_count * sizeof(swfplayer::push_operand);
        }
    }
    // The index, and the kept records with room for the vectors' growth.
    size_t bound = 4 * bytes.size() + 2 * (swfplayer::action_code::kept_bytes_per_code_byte * bytes.size() +
                                           swfplayer::action_code::kept_bytes_allowance);
    EXPECT_GT(asked, 10 * bound);
    EXPECT_LE(kept.held_bytes(), bound);
    // The records up to the bound were kept.
    EXPECT_GE(kept.held_bytes(), swfplayer::action_code::kept_bytes_per_code_byte * bytes.size());
}
