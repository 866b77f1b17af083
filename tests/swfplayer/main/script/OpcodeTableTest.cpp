// Every opcode the interpreter handles, run through the interpreter's own loop one record at a
// time, against expectations written out by hand: the values each leaves on the stack (and so the
// depth), and what it does when the stack holds fewer operands than it needs. The ids the loop
// skips have rows too, and every other id is swept to show it leaves the stack alone. Each row
// runs with the decoded records kept, decoded afresh, and with verbose tracing on, since the
// loop takes other paths in each.
#include "swfplayer/main/script/action_buffer.h"
#include "swfplayer/main/script/action_code.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/swfplayer_as_classes/builtin_classes.h"
#include "tests/swfplayer/main/script/ScriptRunner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

using namespace script_test;
using namespace swfplayer;

namespace {

// A long record: its id, the payload's length and the payload.
Bytes record(uint8_t id, const Bytes& payload) {
    Bytes bytes = {id, static_cast<uint8_t>(payload.size() & 0xFF), static_cast<uint8_t>(payload.size() >> 8)};
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return bytes;
}

Bytes text_bytes(const std::string& text) {
    Bytes bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

Bytes join(std::initializer_list<Bytes> parts) {
    Bytes bytes;
    for (const Bytes& part : parts) {
        bytes.insert(bytes.end(), part.begin(), part.end());
    }
    return bytes;
}

// A Push of the text "tail": the record the branch and block rows place after the one they test,
// to show whether it ran.
const Bytes tail = record(0x96, join({{0x00}, text_bytes("tail")}));
const uint8_t tail_size = static_cast<uint8_t>(tail.size());

// A function the rows call, construct with and look up: it gives "n=<argument count> a0=<the
// first argument>".
void describe_call(const fn_call& fn) {
    std::string text = "n=" + std::to_string(fn.nargs) + " a0=" + fn.arg(0).to_string();
    fn.result->set_string(text.c_str());
}

// A constructor whose instances the rows test and cast.
void constructor(const fn_call& fn) {
    fn.result->set_as_object(new as_object(fn.get_player()));
}

// The runner with what the rows refer to: the timeline variables v = 5 and g = 5, the objects o
// (o.x = 5, o.m = describe_call, o.make = constructor) and one (one.x = 5), global functions f
// (describe_call) and C (constructor), and global register 1 holding "r1".
struct table_runner : script_runner {
    table_runner() {
        as_object* global = m_player->get_global();
        global->set_member("f", as_value(m_player.get_ptr(), describe_call));
        global->set_member("C", as_value(m_player.get_ptr(), constructor));
        m_clip->set_member("v", as_value(5));
        m_clip->set_member("g", as_value(5));
        m_object = new as_object(m_player.get_ptr());
        m_object->set_member("x", as_value(5));
        m_object->set_member("m", as_value(m_player.get_ptr(), describe_call));
        m_object->set_member("make", as_value(m_player.get_ptr(), constructor));
        m_clip->set_member("o", as_value(m_object.get_ptr()));
        m_single = new as_object(m_player.get_ptr());
        m_single->set_member("x", as_value(5));
        m_clip->set_member("one", as_value(m_single.get_ptr()));
        m_instance = new as_object(m_player.get_ptr());
        m_instance->store_constructor(as_value(m_player.get_ptr(), constructor));
        m_clip->m_env.set_global_register(1, as_value("r1"));
    }

    // An operand written as text: #number, 'text', true, false, undefined, null, obj (o), one,
    // inst (an instance of C), ctor (C), clip (the target).
    as_value operand(const std::string& text) const {
        if (text[0] == '#') {
            return as_value(std::stod(text.substr(1)));
        }
        if (text[0] == '\'') {
            return as_value(text.substr(1, text.size() - 2).c_str());
        }
        if (text == "true" || text == "false") {
            return as_value(text == "true");
        }
        if (text == "null") {
            return as_value(static_cast<as_object*>(nullptr));
        }
        if (text == "obj") {
            return as_value(m_object.get_ptr());
        }
        if (text == "one") {
            return as_value(m_single.get_ptr());
        }
        if (text == "inst") {
            return as_value(m_instance.get_ptr());
        }
        if (text == "ctor") {
            as_value c;
            m_player->get_global()->get_member("C", &c);
            return c;
        }
        if (text == "clip") {
            return as_value(static_cast<as_object*>(m_clip.get_ptr()));
        }
        EXPECT_EQ(text, "undefined") << "unknown operand";
        return as_value();
    }

    smart_ptr<as_object> m_object;
    smart_ptr<as_object> m_single;
    smart_ptr<as_object> m_instance;
};

// A value as the rows write it: #number, 'text', true, false, undefined, null, function, or
// object: and the object's text.
std::string describe(const as_value& value) {
    switch (value.get_type()) {
    case as_value::UNDEFINED: return "undefined";
    case as_value::BOOLEAN: return value.to_bool() ? "true" : "false";
    case as_value::NUMBER: return "#" + std::string(value.to_string());
    case as_value::STRING: return "'" + std::string(value.to_string()) + "'";
    case as_value::OBJECT:
        if (value.is_null()) {
            return "null";
        }
        return value.is_function() ? "function" : "object:" + std::string(value.to_string());
    default: return "property";
    }
}

using values = std::vector<std::string>;

struct opcode_row {
    uint8_t id;
    // The record under test, and any records after it that show where the run went on.
    Bytes code;
    values operands;  // on the stack before, the bottom first
    values left;      // on the stack after, the bottom first; "#*" is any number
    // The short case: fewer operands than the opcode takes (often none).
    values short_operands;
    values short_left;
    // A text the full case logs, and whether the code runs as a DefineFunction2 body.
    const char* logged = "";
    bool function2 = false;
};

// A short record alone.
Bytes op(uint8_t id) {
    return {id};
}

// The rows: every id the interpreter handles, the ones it reports as not done, and the ones it
// skips.
std::vector<opcode_row> rows() {
    // DefineFunction and DefineFunction2 of anonymous functions whose body is the tail.
    const Bytes define_function = record(0x9B, {0, 0, 0, tail_size, 0});
    const Bytes define_function2 = record(0x8E, {0, 0, 0, 0, 0, 0, tail_size, 0});
    const Bytes with_block = join({record(0x96, join({{0x00}, text_bytes("x")})), op(0x1C)});
    const Bytes push_all_types =
        record(0x96, join({{0x00},
                           text_bytes("a"),
                           {0x01, 0x00, 0x00, 0xC0, 0x3F},                          // float 1.5
                           {0x02, 0x03, 0x04, 0x01, 0x05, 0x01},                    // null undef r1 true
                           {0x06, 0x00, 0x00, 0xF0, 0x3F, 0x00, 0x00, 0x00, 0x00},  // double 1.0
                           {0x07, 0xFB, 0xFF, 0xFF, 0xFF},                          // int32 -5
                           {0x08, 0x00, 0x09, 0x01, 0x00},                          // pool 0, pool 1
                           {0x0A}}));                                               // no such type
    const char* todo = "todo opcode";
    return {
        // Stack and arithmetic.
        {0x0A, op(0x0A), {"#2", "#3"}, {"#5"}, {"#2"}, {"#NaN"}},
        {0x0B, op(0x0B), {"#7", "#2"}, {"#5"}, {}, {"#NaN"}},
        {0x0C, op(0x0C), {"#3", "#4"}, {"#12"}, {"#4"}, {"#NaN"}},
        {0x0D, op(0x0D), {"#7", "#2"}, {"#3.5"}, {}, {"#NaN"}},
        {0x3F, op(0x3F), {"#-7", "#3"}, {"#-1"}, {"#3"}, {"#NaN"}},
        {0x47, op(0x47), {"'1'", "#2"}, {"'12'"}, {"#2"}, {"#NaN"}},
        {0x50, op(0x50), {"#1"}, {"#2"}, {}, {"#NaN"}},
        {0x51, op(0x51), {"#1"}, {"#0"}, {}, {"#NaN"}},
        {0x18, op(0x18), {"#-2.5"}, {"#-3"}, {}, {"#-2147483648"}},
        {0x4A, op(0x4A), {"'12'"}, {"#12"}, {}, {"#NaN"}},
        {0x4B, op(0x4B), {"#3"}, {"'3'"}, {}, {"'undefined'"}},
        {0x44, op(0x44), {"'x'"}, {"'string'"}, {}, {"'undefined'"}},
        // A missing operand converts to the integer -2147483648.
        {0x60, op(0x60), {"#6", "#3"}, {"#2"}, {"#3"}, {"#0"}},
        {0x61, op(0x61), {"#4", "#1"}, {"#5"}, {"#1"}, {"#-2147483647"}},
        {0x62, op(0x62), {"#6", "#3"}, {"#5"}, {"#3"}, {"#-2147483645"}},
        {0x63, op(0x63), {"#1", "#4"}, {"#16"}, {"#4"}, {"#0"}},
        {0x64, op(0x64), {"#-16", "#2"}, {"#-4"}, {"#1"}, {"#-1073741824"}},
        {0x65, op(0x65), {"#-1", "#28"}, {"#15"}, {"#1"}, {"#0"}},
        {0x17, op(0x17), {"#1", "#2"}, {"#1"}, {}, {}},
        {0x4C, op(0x4C), {"#4"}, {"#4", "#4"}, {}, {"undefined"}},
        {0x4D, op(0x4D), {"#1", "#2"}, {"#2", "#1"}, {"#1"}, {"#1", "undefined"}},
        // random(1) and random of nothing (a maximum below 1 counts as 1) can only give 0.
        {0x30, op(0x30), {"#1"}, {"#0"}, {}, {"#0"}},
        {0x96,
         push_all_types,
         {},
         {"'a'", "#1.5", "null", "undefined", "'r1'", "true", "#1", "#-5", "#0", "#0"},
         {},
         {"'a'", "#1.5", "null", "undefined", "'r1'", "true", "#1", "#-5", "#0", "#0"},
         "dict_lookup(0) is out of bounds"},
        // Comparison and logic.
        {0x0E, op(0x0E), {"#1", "#1"}, {"true"}, {}, {"true"}},
        {0x49, op(0x49), {"#1", "#1"}, {"true"}, {"#1"}, {"false"}},
        {0x66, op(0x66), {"#1", "'1'"}, {"false"}, {}, {"true"}},
        {0x0F, op(0x0F), {"#1", "#2"}, {"true"}, {"#2"}, {"false"}},
        {0x48, op(0x48), {"'10'", "#9"}, {"true"}, {"#1"}, {"false"}},
        {0x67, op(0x67), {"#3", "#2"}, {"true"}, {"#1"}, {"false"}},
        {0x10, op(0x10), {"true", "#0"}, {"false"}, {"true"}, {"false"}},
        {0x11, op(0x11), {"#0", "'x'"}, {"true"}, {}, {"false"}},
        {0x12, op(0x12), {"#0"}, {"true"}, {}, {"true"}},
        // Strings; a missing operand is the text "undefined".
        {0x13, op(0x13), {"'ab'", "'ab'"}, {"true"}, {"'ab'"}, {"false"}},
        {0x29, op(0x29), {"'a'", "'b'"}, {"true"}, {"'b'"}, {"false"}},
        {0x68, op(0x68), {"'b'", "'a'"}, {"true"}, {"'a'"}, {"true"}},
        {0x21, op(0x21), {"'ab'", "#1"}, {"'ab1'"}, {"'x'"}, {"'undefinedx'"}},
        {0x14, op(0x14), {"'h\xC3\xA9llo'"}, {"#5"}, {}, {"#9"}},
        {0x15, op(0x15), {"'hello'", "#2", "#3"}, {"'ell'"}, {"'hello'", "#2"}, {"'un'"}},
        {0x32, op(0x32), {"'\xC3\xA9'"}, {"#-61"}, {}, {"#117"}},
        {0x33, op(0x33), {"#65"}, {"'A'"}, {}, {"''"}},
        // Control flow: the tail shows whether the run went on after the record.
        {0x99, join({record(0x99, {tail_size, 0}), tail}), {"#1"}, {"#1"}, {}, {}},
        {0x9D, join({record(0x9D, {tail_size, 0}), tail}), {"#1", "true"}, {"#1"}, {}, {"'tail'"}},
        {0x3E, join({op(0x3E), tail}), {"#1", "#7"}, {"#1"}, {}, {}},
        {0x00, join({op(0x00), tail}), {"#1"}, {"#1"}, {}, {}},
        {0x94,
         join({record(0x94, {static_cast<uint8_t>(with_block.size()), 0}), with_block}),
         {"obj"},
         {"#5"},
         {},
         {"undefined"}},
        // Variables, objects, functions and classes.
        {0x1C, op(0x1C), {"'v'"}, {"#5"}, {}, {"undefined"}},
        {0x1D, op(0x1D), {"#1", "'v'", "#7"}, {"#1"}, {}, {}},
        {0x3C, op(0x3C), {"#1", "'l'", "#7"}, {"#1"}, {}, {}},
        {0x41, op(0x41), {"#1", "'l'"}, {"#1"}, {}, {}},
        {0x3A, op(0x3A), {"obj", "'x'"}, {"true"}, {"'x'"}, {"false"}},
        {0x3B, op(0x3B), {"'g'"}, {"true"}, {}, {"false"}},
        {0x87,
         join({record(0x87, {1}), op(0x4C), record(0x96, {0x04, 0x01})}),
         {"#9"},
         {"#9", "#9", "#9"},
         {},
         {"undefined", "undefined"}},
        {0x88,
         join({record(0x88, join({{2, 0}, text_bytes("a"), text_bytes("b")})), record(0x96, {0x08, 0x01})}),
         {},
         {"'b'"},
         {"#1"},
         {"#1", "'b'"}},
        {0x4E, op(0x4E), {"obj", "'x'"}, {"#5"}, {"'x'"}, {"undefined"}},
        {0x4F,
         join({op(0x4F), record(0x96, {0x00, 'o', 0}), op(0x1C), record(0x96, {0x00, 'y', 0}), op(0x4E)}),
         {"obj", "'y'", "#2"},
         {"#2"},
         {"#2"},
         {"undefined"}},
        {0x43, op(0x43), {"'a'", "#1", "#1"}, {"object:[object Object]"}, {"#5"}, {"object:[object Object]"}},
        {0x42, op(0x42), {"#3", "#2", "#2"}, {"object:2,3"}, {"#5"}, {"object:"}},
        {0x46, op(0x46), {"'one'"}, {"null", "'x'"}, {}, {"null"}},
        {0x55, op(0x55), {"one"}, {"null", "'x'"}, {}, {"null"}},
        {0x54, op(0x54), {"inst", "ctor"}, {"true"}, {"ctor"}, {"false"}},
        {0x2B, op(0x2B), {"ctor", "inst"}, {"object:[object Object]"}, {"inst"}, {"null"}},
        {0x69, op(0x69), {"#1", "obj", "ctor"}, {"#1"}, {"ctor"}, {}},
        {0x3D, op(0x3D), {"#7", "#1", "'f'"}, {"'n=1 a0=7'"}, {"'f'"}, {"'n=0 a0=undefined'"}},
        {0x52, op(0x52), {"#7", "#1", "obj", "'m'"}, {"'n=1 a0=7'"}, {"obj", "'m'"}, {"'n=0 a0=undefined'"}},
        {0x40, op(0x40), {"#7", "#1", "'f'"}, {"'n=1 a0=7'"}, {"'f'"}, {"'n=0 a0=undefined'"}},
        {0x53, op(0x53), {"#7", "#1", "obj", "'make'"}, {"object:[object Object]"}, {"obj", "'m'"}, {"null"}},
        {0x9B, join({define_function, tail}), {"#1"}, {"#1", "function"}, {}, {"function"}},
        {0x8E, join({define_function2, tail}), {"#1"}, {"#1", "function"}, {}, {"function"}},
        // Movie control, on a target that is a character but no sprite.
        {0x04, op(0x04), {"#1"}, {"#1"}, {}, {}},
        {0x05, op(0x05), {"#1"}, {"#1"}, {}, {}},
        {0x06, op(0x06), {"#1"}, {"#1"}, {}, {}},
        {0x07, op(0x07), {"#1"}, {"#1"}, {}, {}},
        {0x09, op(0x09), {"#1"}, {"#1"}, {}, {}},
        {0x28, op(0x28), {"#1"}, {"#1"}, {}, {}},
        {0x20, op(0x20), {"#1", "''"}, {"#1"}, {}, {}},
        {0x22, op(0x22), {"clip", "#0"}, {"#0"}, {"#0"}, {"undefined"}},
        {0x23, op(0x23), {"#1", "clip", "#0", "#42"}, {"#1"}, {"#42"}, {}},
        {0x24, op(0x24), {"#1", "'a'", "'b'", "#1"}, {"#1"}, {}, {}},
        {0x25, op(0x25), {"#1", "'nobody'"}, {"#1"}, {}, {}},
        {0x26, op(0x26), {"#1", "'hi'"}, {"#1"}, {}, {}},
        {0x27, op(0x27), {"#9", "#1", "#2", "#3", "#4", "true", "false", "clip"}, {"#9"}, {"false", "false"}, {}},
        {0x34, op(0x34), {"#1"}, {"#1", "#*"}, {}, {"#*"}},
        {0x81, record(0x81, {2, 0}), {"#1"}, {"#1"}, {}, {}},
        {0x83, record(0x83, join({text_bytes("FSCommand:x"), text_bytes("")})), {"#1"}, {"#1"}, {}, {}},
        {0x8B, record(0x8B, text_bytes("")), {"#1"}, {"#1"}, {}, {}},
        {0x8C, record(0x8C, text_bytes("x")), {"#1"}, {"#1"}, {}, {}},
        {0x8D, record(0x8D, {0}), {"#1", "#2"}, {"#1"}, {}, {}},
        {0x9A, record(0x9A, {0}), {"#1", "'FSCommand:x'", "''"}, {"#1"}, {"''"}, {}},
        {0x9E, record(0x9E, {}), {"#1", "#2"}, {"#1"}, {}, {}},
        {0x9F, record(0x9F, {0}), {"#1", "#2"}, {"#1"}, {}, {}},
        // Reported as not done, stack untouched.
        {0x08, op(0x08), {"#1"}, {"#1"}, {}, {}, todo},
        {0x2A, op(0x2A), {"#1"}, {"#1"}, {}, {}, todo},
        {0x2C, op(0x2C), {"#1"}, {"#1"}, {}, {}, todo},
        {0x31, op(0x31), {"#1"}, {"#1"}, {}, {}, todo},
        {0x35, op(0x35), {"#1"}, {"#1"}, {}, {}, todo},
        {0x37, op(0x37), {"#1"}, {"#1"}, {}, {}, todo},
        {0x45, op(0x45), {"#1"}, {"#1"}, {}, {}, todo},
        // Skipped, stack untouched; a long record's payload is passed over by its length.
        {0x36, op(0x36), {"#1"}, {"#1"}, {}, {}},
        {0x8A, join({record(0x8A, {1, 0, 0x4C}), tail}), {"#1"}, {"#1", "'tail'"}, {}, {"'tail'"}},
        {0x8F, join({record(0x8F, {0, 0, 0, 0, 0, 0, 0, 0x17}), tail}), {"#1"}, {"#1", "'tail'"}, {}, {"'tail'"}},
        // In a DefineFunction2 body, registers are the call's own.
        {0x87,
         join({record(0x87, {1}), record(0x96, {0x04, 0x01, 0x04, 0x00})}),
         {"#9"},
         {"#9", "#9", "undefined"},
         {},
         {"undefined", "undefined"},
         "",
         true},
        {0x96,
         record(0x96, {0x04, 0x03, 0x04, 0x07}),
         {},
         {"'l3'", "undefined"},
         {"#1"},
         {"#1", "'l3'", "undefined"},
         "",
         true},
    };
}

// The ids the interpreter handles (with the End action), reports as not done, and skips.
const std::set<int> listed_ids = {
    0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x17, 0x18, 0x21, 0x29, 0x30,
    0x32, 0x33, 0x3E, 0x3F, 0x44, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x50, 0x51, 0x60, 0x61, 0x62,
    0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x94, 0x96, 0x99, 0x9D, 0x00, 0x1C, 0x1D, 0x2B, 0x3A, 0x3B, 0x3C,
    0x3D, 0x40, 0x41, 0x42, 0x43, 0x46, 0x4E, 0x4F, 0x52, 0x53, 0x54, 0x55, 0x69, 0x87, 0x88, 0x8E, 0x9B,
    0x04, 0x05, 0x06, 0x07, 0x09, 0x20, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x34, 0x81, 0x83, 0x8B,
    0x8C, 0x8D, 0x9A, 0x9E, 0x9F, 0x08, 0x2A, 0x2C, 0x31, 0x35, 0x37, 0x45, 0x36, 0x8A, 0x8F,
};

// The ways the loop may run a record.
enum class run_mode { kept, fresh, verbose };

const char* mode_name(run_mode mode) {
    return mode == run_mode::kept ? "kept" : mode == run_mode::fresh ? "fresh" : "verbose";
}

struct run_result {
    values left;
    bool logged;
};

// Runs code on a stack holding operands, the way a call runs its body, and reads the stack back.
// A DefineFunction2 body gets four registers, register 3 holding "l3".
run_result run_code(const Bytes& code, const values& operands, bool function2, run_mode mode, const char* logged) {
    table_runner runner;
    as_environment& env = runner.m_clip->m_env;
    for (const std::string& text : operands) {
        env.push(runner.operand(text));
    }
    if (function2) {
        env.push_register_frame(4);
        env.set_register(3, as_value("l3"));
    }
    action_code::set_keeping(mode != run_mode::fresh);
    set_verbose_action(mode == run_mode::verbose);
    action_buffer buffer;
    buffer.read(code.data(), static_cast<int>(code.size()));
    as_value result;
    buffer.execute(&env, 0, static_cast<int>(code.size()), &result, array<with_stack_entry>(), function2);
    set_verbose_action(false);
    action_code::set_keeping(true);
    run_result out{{}, logged[0] != 0 && runner.logged(logged)};
    for (int i = 0; i < env.get_stack_size(); i++) {
        out.left.push_back(describe(env.bottom(i)));
    }
    if (function2) {
        env.pop_register_frame();
    }
    return out;
}

// The values left against the row's; "#*" takes any number, "ctor" and "inst" the operands'
// descriptions.
void expect_left(const values& expected, const values& got, const std::string& what) {
    ASSERT_EQ(expected.size(), got.size()) << what;
    for (size_t i = 0; i < expected.size(); i++) {
        if (expected[i] == "#*") {
            EXPECT_EQ(got[i].substr(0, 1), "#") << what << " value " << i;
        } else if (expected[i] == "ctor") {
            EXPECT_EQ(got[i], "function") << what << " value " << i;
        } else if (expected[i] == "inst") {
            EXPECT_EQ(got[i], "object:[object Object]") << what << " value " << i;
        } else {
            EXPECT_EQ(got[i], expected[i]) << what << " value " << i;
        }
    }
}

std::string join_values(const values& list) {
    std::string text;
    for (const std::string& value : list) {
        text += (text.empty() ? "" : " ") + value;
    }
    return text;
}

class InterpreterOpcodeTable : public ::testing::Test {
protected:
    // No FSCommand callback: the GetURL rows reach none.
    void SetUp() override {
        register_builtin_classes();
        m_saved_callback = get_fscommand_callback();
        register_fscommand_callback(nullptr);
    }
    void TearDown() override { register_fscommand_callback(m_saved_callback); }

    fscommand_callback m_saved_callback = nullptr;
};

TEST_F(InterpreterOpcodeTable, every_listed_id_has_a_row) {
    std::set<int> covered;
    for (const opcode_row& row : rows()) {
        covered.insert(row.id);
        EXPECT_EQ(row.code[0], row.id) << "the row's code starts with its record";
    }
    EXPECT_EQ(covered, listed_ids);
}

TEST_F(InterpreterOpcodeTable, each_opcode_leaves_the_values_its_row_gives) {
    for (run_mode mode : {run_mode::kept, run_mode::fresh, run_mode::verbose}) {
        for (const opcode_row& row : rows()) {
            char id[8];
            std::snprintf(id, sizeof(id), "0x%02X", row.id);
            std::string what = std::string(id) + " (" + mode_name(mode) + ") on " + join_values(row.operands);
            run_result full = run_code(row.code, row.operands, row.function2, mode, row.logged);
            expect_left(row.left, full.left, what + " left " + join_values(full.left));
            if (row.logged[0] != 0) {
                EXPECT_TRUE(full.logged) << what << " logs " << row.logged;
            }
            std::string short_what =
                std::string(id) + " (" + mode_name(mode) + ") short on " + join_values(row.short_operands);
            run_result cut = run_code(row.code, row.short_operands, row.function2, mode, "");
            expect_left(row.short_left, cut.left, short_what + " left " + join_values(cut.left));
        }
    }
}

TEST_F(InterpreterOpcodeTable, pop_on_an_empty_stack_logs_and_pops_nothing) {
    // The run starts on a stack whose values lie below the floor of the call: they stay.
    table_runner runner;
    as_environment& env = runner.m_clip->m_env;
    env.push(as_value(1));
    int floor = env.set_stack_floor(1);
    Bytes code = {0x17, 0x17};
    action_buffer buffer;
    buffer.read(code.data(), static_cast<int>(code.size()));
    buffer.execute(&env, 0, 2, nullptr, array<with_stack_entry>(), false);
    env.set_stack_floor(floor);
    EXPECT_EQ(env.get_stack_size(), 1);
    EXPECT_EQ(runner.logged_count("error: empty stack\n"), 2);
}

TEST_F(InterpreterOpcodeTable, a_discarded_value_leaves_the_stack) {
    // push 1; push 2; push 3; pop; trace; trace
    script_runner runner;
    EXPECT_EQ(runner.run(assemble("1 2 3 pop trace trace")), "2|1");
    // A register loop of 1.2 million steps, each discarding a value, runs in one frame.
    EXPECT_EQ(runner.run(assemble("0 store:1 pop @top r1 pop r1 inc store:1 1200000 lt if:top r1 trace")), "1200000");
    EXPECT_FALSE(runner.logged("stack overflow"));
}

TEST_F(InterpreterOpcodeTable, ids_without_a_row_leave_the_stack_alone) {
    // Short ids do nothing; long ones are passed over by their length, so the tail still runs.
    for (int id = 1; id < 256; id++) {
        if (listed_ids.count(id) != 0) {
            continue;
        }
        Bytes code = id < 0x80 ? join({{static_cast<uint8_t>(id)}, tail})
                               : join({record(static_cast<uint8_t>(id), {0x17, 0x17}), tail});
        run_result result = run_code(code, {"#1"}, false, run_mode::kept, "");
        EXPECT_EQ(join_values(result.left), "#1 'tail'") << "id " << id;
    }
}

}  // namespace
