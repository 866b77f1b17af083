#include "swfplayer/main/as3/as_3_function.h"
#include "swfplayer/main/script/as_c_function.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/instruction_budget.h"
#include "tests/swfplayer/main/as3/As3Fixture.h"
#include "tests/swfplayer/main/script/ScriptTestKit.h"

namespace abc_testing {

using namespace swfplayer;
using script_test::member;

namespace {

// Opcodes and the names the bodies below use.
enum : uint8_t {
    PUSHBYTE = 0x24,
    PUSHSTRING = 0x2C,
    PUSHINT = 0x2D,
    PUSHDOUBLE = 0x2F,
    PUSHSCOPE = 0x30,
    RETURNVOID = 0x47,
    CONSTRUCTSUPER = 0x49,
    CALLPROPVOID = 0x4F,
    FINDPROPSTRICT = 0x5D,
    FINDPROPERTY = 0x5E,
    GETLEX = 0x60,
    GETPROPERTY = 0x66,
    INITPROPERTY = 0x68,
    GETLOCAL_0 = 0xD0,
};
// The multinames after MainClass's "Main" (1); string 9 is "text".
constexpr uint8_t V = 2, SRC = 3, TRACE = 4, MARKER = 5, NOWHERE = 6, F = 7;

class Avm2InterpreterTest : public As3Fixture {
protected:
    // Reads MainClass(code) with the names above and integer -70000, double 0.25 and string
    // "text"; locals gives the body's local count.
    void Load(const Bytes& code, uint32_t locals = 1, const std::vector<Trait>& traits = {}) {
        AbcBuilder abc = MainClass(code, traits);
        for (const char* name : {"v", "src", "trace", "marker", "nowhere", "f"}) {
            abc.QName(name);
        }
        abc.integers = {-70000};
        abc.doubles = {0.25};
        abc.String("text");
        abc.bodies[0].localCount = locals;
        m_abc = Read(abc.Build());
        ASSERT_TRUE(m_abc) << LinesWith("abc_def");
    }
    // Calls the constructor with m_this as "this"; the log holds what it did.
    as_value Run(as_value result_before = as_value()) {
        ClearLog();
        m_player->get_global()->set_member("marker", as_value("global marker"));
        as_environment env(m_player.get_ptr());
        as_value result = result_before;
        fn_call fn(&result, as_value(m_this.get_ptr()), &env, 0, -1);
        m_abc->find_method(0)->call(fn);
        return result;
    }
    std::string Member(const char* name) { return member(m_this, name).to_string(); }
    // The number at the end of the last "EX: ended" line.
    std::string EndedLine() const { return LinesWith("EX: ended."); }

    smart_ptr<abc_def> m_abc;
    smart_ptr<as_object> m_this = new as_object(m_player.get_ptr());
};

TEST_F(Avm2InterpreterTest, the_edge_cases_of_a_call) {
    set_verbose_action(true);
    Load({RETURNVOID});
    EXPECT_TRUE(Run(as_value(3)).is_undefined());
    EXPECT_EQ(EndedLine(), "EX: ended. stack_size=0\n");
    EXPECT_EQ(CountLogged("\nEX: call method #0\n"), 1);

    Load({PUSHBYTE, 5, RETURNVOID});
    Run();
    EXPECT_EQ(EndedLine(), "EX: ended. stack_size=1\n");

    // An opcode it does not run ends the method and keeps the result.
    Load({0x26, GETLOCAL_0, PUSHBYTE, 1, INITPROPERTY, V});
    EXPECT_EQ(Run(as_value(3)).to_number(), 3);
    EXPECT_EQ(CountLogged("TODO opcode 0x26\n"), 1);
    EXPECT_EQ(CountLogged("EX: getlocal_0"), 0);
    EXPECT_TRUE(member(m_this, "v").is_undefined());

    // A name found nowhere gives null, not the global object: the store goes nowhere.
    Load({FINDPROPSTRICT, NOWHERE, PUSHBYTE, 1, INITPROPERTY, NOWHERE});
    Run();
    EXPECT_TRUE(member(m_player->get_global(), "nowhere").is_undefined());
    EXPECT_EQ(EndedLine(), "EX: ended. stack_size=0\n");

    // callpropvoid with 2 arguments on [receiver, a, b] calls receiver.f(a, b).
    Load({GETLOCAL_0, PUSHBYTE, 1, PUSHBYTE, 2, CALLPROPVOID, F, 2});
    m_this->set_member("f", as_value(m_player.get_ptr(), [](const fn_call& fn) {
                           fn.this_ptr->set_member("v", as_value(fn.arg(0).to_number() * 10 + fn.arg(1).to_number()));
                       }));
    Run();
    EXPECT_EQ(Member("v"), "12");
    EXPECT_EQ(EndedLine(), "EX: ended. stack_size=0\n");
    set_verbose_action(false);
}

TEST_F(Avm2InterpreterTest, each_opcode_does_its_work) {
    m_this->set_member("src", as_value("from this"));
    struct Case {
        Bytes code;
        const char* v;      // this.v afterwards ("undefined" when unset)
        const char* trace;  // the traced text, or ""
    };
    const Case cases[] = {
        {{GETLOCAL_0, PUSHBYTE, 0xFE, INITPROPERTY, V}, "-2", ""},
        {{GETLOCAL_0, PUSHSTRING, 9, INITPROPERTY, V}, "text", ""},
        {{GETLOCAL_0, PUSHINT, 1, INITPROPERTY, V}, "-70000", ""},
        {{GETLOCAL_0, PUSHDOUBLE, 1, INITPROPERTY, V}, "0.25", ""},
        {{GETLOCAL_0, GETLEX, MARKER, INITPROPERTY, V}, "global marker", ""},
        {{GETLOCAL_0, GETLOCAL_0, GETPROPERTY, SRC, INITPROPERTY, V}, "from this", ""},
        {{GETLOCAL_0, PUSHBYTE, 1, GETPROPERTY, SRC, INITPROPERTY, V}, "undefined", ""},
        // The scope entry pushed last answers first.
        {{GETLOCAL_0, PUSHSCOPE, FINDPROPSTRICT, SRC, PUSHBYTE, 9, INITPROPERTY, V}, "9", ""},
        {{GETLOCAL_0, PUSHSCOPE, FINDPROPERTY, SRC, PUSHBYTE, 8, INITPROPERTY, V}, "8", ""},
        {{FINDPROPSTRICT, TRACE, PUSHSTRING, 9, CALLPROPVOID, TRACE, 1}, "undefined", "text\n"},
        {{GETLOCAL_0, PUSHBYTE, 1, PUSHBYTE, 2, CONSTRUCTSUPER, 2, GETLOCAL_0, PUSHBYTE, 3, INITPROPERTY, V}, "3", ""},
        {{GETLOCAL_0, PUSHBYTE, 1, RETURNVOID, INITPROPERTY, V}, "undefined", ""},
        {{GETLOCAL_0, 0xD1, INITPROPERTY, V, 0xD2, 0xD3}, "undefined", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.v);
        m_this->erase_member("v");
        Load(c.code, 3);
        Run();
        EXPECT_EQ(Member("v"), c.v);
        EXPECT_EQ(LinesWith(c.trace), c.trace);
        EXPECT_EQ(CountLogged("as_3_function"), 0) << LinesWith("as_3_function");
    }
}

TEST_F(Avm2InterpreterTest, hostile_bodies_end_with_a_log_line) {
    Bytes overflow;
    for (int i = 0; i < as_3_function::max_stack_size + 1; i++) {
        overflow.insert(overflow.end(), {PUSHBYTE, 1});
    }
    const std::pair<Bytes, const char*> cases[] = {
        {{INITPROPERTY, V, PUSHSCOPE, CALLPROPVOID, F, 5, CONSTRUCTSUPER, 9, GETPROPERTY, V}, ""},
        {{PUSHSTRING, 0x80}, "method #0: an operand runs past the end of the code at 1"},
        {{PUSHBYTE}, "an operand runs past the end of the code"},
        {{PUSHSTRING, 99}, "a string index is out of range"},
        {{PUSHINT, 2}, "an integer index is out of range"},
        {{PUSHDOUBLE, 2}, "a double index is out of range"},
        {{GETLEX, 40}, "a multiname index is out of range"},
        {overflow, "the operand stack is full"},
    };
    for (const auto& [code, line] : cases) {
        Load(code);
        Run();
        EXPECT_EQ(LinesWith("as_3_function::execute"), line[0] ? LinesWith(line) : "") << line;
        EXPECT_EQ(CountLogged("as_3_function::execute"), line[0] ? 1 : 0) << line;
    }
    // getlocal_3 without that local reads undefined.
    Load({GETLOCAL_0, 0xD3, INITPROPERTY, V}, 0);
    Run();
    EXPECT_TRUE(m_this->has_own_member("v"));
    EXPECT_TRUE(member(m_this, "v").is_undefined());
}

TEST_F(Avm2InterpreterTest, a_body_calling_itself_twice_ends_within_the_budget) {
    int64_t saved = instruction_budget::get_budget();
    instruction_budget::set_budget(2000000);
    Load({GETLOCAL_0, CALLPROPVOID, F, 0, GETLOCAL_0, CALLPROPVOID, F, 0, RETURNVOID});
    m_this->set_member("f", as_value(m_abc->find_method(0)));
    Run();
    instruction_budget::set_budget(saved);
    EXPECT_EQ(CountLogged("script stopped after 2000000 instructions"), 1);
    EXPECT_EQ(m_player->call_depth(), 0);
}

TEST_F(Avm2InterpreterTest, a_name_lookup_costs_the_scope_entries_it_asks) {
    // 50 more scope entries, then 20 lookups: of a name only the outermost entry (the global
    // object) has, they ask 52 entries each and spend a budget of 1,000; of one the last entry
    // ("this") has, they ask one each and do not.
    int64_t saved = instruction_budget::get_budget();
    instruction_budget::set_budget(1000);
    m_this->set_member("src", as_value("from this"));
    for (uint8_t opcode : {GETLEX, FINDPROPSTRICT, FINDPROPERTY}) {
        for (uint8_t name : {MARKER, SRC}) {
            Bytes code;
            for (int i = 0; i < 50; i++) {
                code.insert(code.end(), {GETLOCAL_0, PUSHSCOPE});
            }
            for (int i = 0; i < 20; i++) {
                code.insert(code.end(), {opcode, name});
            }
            Load(code);
            Run();
            EXPECT_EQ(CountLogged("script stopped after 1000 instructions"), name == MARKER ? 1 : 0)
                << static_cast<int>(opcode) << " " << static_cast<int>(name);
        }
    }
    instruction_budget::set_budget(saved);
}

TEST_F(Avm2InterpreterTest, a_call_without_this_flash_or_block_does_nothing) {
    Load({GETLOCAL_0, PUSHBYTE, 1, INITPROPERTY, V});
    as_value flash;
    m_player->get_global()->get_member("flash", &flash);
    m_player->get_global()->set_member("flash", as_value());
    Run();
    m_player->get_global()->set_member("flash", flash);
    as_value result;
    fn_call no_env(&result, as_value(), nullptr, 0, -1);
    m_abc->find_method(0)->call(no_env);
    as_environment env(m_player.get_ptr());
    fn_call no_this(&result, as_value(), &env, 0, -1);
    m_abc->find_method(0)->call(no_this);
    EXPECT_EQ(CountLogged("as_3_function::call: method #0"), 3);
    EXPECT_TRUE(member(m_this, "v").is_undefined());
    // The block owns its methods; they hold it weakly.
    smart_ptr<as_3_function> method = m_abc->find_method(0);
    m_abc = nullptr;
    EXPECT_EQ(method->get_abc(), nullptr);
    ClearLog();
    as_value kept(7);
    fn_call orphan(&kept, as_value(m_this.get_ptr()), &env, 0, -1);
    method->call(orphan);
    EXPECT_TRUE(kept.is_undefined());
    EXPECT_EQ(CountLogged("as_3_function::call: method #0 has lost its block"), 1);
}

}  // namespace

}  // namespace abc_testing
