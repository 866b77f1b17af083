#include "swfplayer/main/as3/abc_disasm.h"
#include "tests/swfplayer/main/as3/As3Fixture.h"

namespace abc_testing {

using namespace swfplayer;

namespace {

using AbcDisasmTest = As3Fixture;

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
    }
    return text;
}

TEST_F(AbcDisasmTest, the_verbose_listing_logs_a_block_and_prints_its_mnemonics) {
    AbcBuilder abc = MainClass({
        0x04, 1,                                      // getsuper: a multiname
        0x31, 1,                                      // pushnamespace
        0x24, 0xFF,                                   // pushbyte: a signed byte
        0x25, 0xAC, 0x02,                             // pushshort: a u30
        0x2D, 1,    0x2E, 1,    0x2F, 1,    0x2C, 2,  // the pooled int, uint, double and string
        0x41, 2,    0x58, 0,    0x40, 0,    0x5A, 0,  // call, newclass, newfunction, newcatch
        0x62, 1,    0x6C, 3,                          // getlocal, getslot
        0x10, 0xFB, 0xFF, 0xFF,                       // jump -5
        0x2C, 99,                                     // a string index out of range
        0x60, 2,                                      // getlex of a run-time multiname
        0xFF,                                         // no such opcode
        0x1B, 0x10, 0,    0,    2,    0x01, 0,    0,  // lookupswitch cut after its first case
    });
    abc.integers = {-7};
    abc.uintegers = {7};
    abc.doubles = {1.5};
    abc.nsSets = {{1}};
    abc.multinames.push_back({0x1B, 0, 0, 1, {}});
    abc.methods[0].name = 2;
    set_verbose_parse(true);
    testing::internal::CaptureStdout();
    bool read = Read(abc.Build()) != nullptr;
    const std::string printed = testing::internal::GetCapturedStdout();
    set_verbose_parse(false);
    ASSERT_TRUE(read) << LinesWith("abc_def");
    // The mnemonics go to standard output, their operands and everything else to the log.
    EXPECT_EQ(printed,
              ":\tgetsuper\n:\tpushnamespace\n:\tpushbyte\n:\tpushshort\n:\tpushint\n:\tpushuint\n"
              ":\tpushdouble\n:\tpushstring\n:\tcall\n:\tnewclass\n:\tnewfunction\n:\tnewcatch\n"
              ":\tgetlocal\n:\tgetslot\n:\tjump\n:\tpushstring\n:\tgetlex\n:\tlookupswitch\n:\treturnvoid\n");
    EXPECT_EQ(Joined(Log()),
              "cpool_info: integer[1]=-7\n"
              "cpool_info: uinteger[1]=7\n"
              "cpool_info: double[1]=1.500000\n"
              "cpool_info: string[1]=''\n"
              "cpool_info: string[2]='Main'\n"
              "cpool_info: namespace[1]='', kind=0x16\n"
              "cpool_info: multiname[1]='Main', ns=''\n"
              "cpool_info: multiname[2]=MultinameL, ns_set='todo'\n"
              "method_info count: 2\n"
              "method_info: name='Main', type='', params=0\n"
              "method_info: name='', type='', params=0\n"
              "metadata_info count: 0\n"
              "instance_info count: 1\n"
              "instance_info[0]:\n"
              "  name='Main', supername='', ns=''\n"
              "class_info count: 1\n"
              "class_info[0]\n"
              "script_info count: 1\n"
              "script_info[0]\n"
              "    traits: name='Main'\n"
              "body_info[0]\n"
              "method\t0\n"
              "\t\tmultiname: Main\n"
              "\t\tnamespace: \n"
              "\t\tvalue: -1\n"
              "\t\tvalue: 300\n"
              "\t\tvalue: -7\n"
              "\t\tvalue: 7i\n"
              "\t\tvalue: 1.500000\n"
              "\t\tstring: Main\n"
              "\t\tcount: 2\n"
              "\t\tclass: 0\n"
              "\t\tfunction: Main\n"
              "\t\texception: 0\n"
              "\t\tregister: 1\n"
              "\t\tslot index: 3\n"
              "\t\toffset: -5\n"
              "\t\tstring: ?\n"
              "\t\tmultiname: runtime 2\n"
              ":\tunknown opcode 0xFF\n"
              "\t\tdefault offset: 16\n\t\toffset 0: 1\n"
              "body_info[1]\n"
              "method\t1\n");
}

TEST_F(AbcDisasmTest, the_table_knows_141_opcodes_and_is_built_again_after_clearing) {
    EXPECT_EQ(get_disasm_avm2_opcode_count(), 141);
    clear_disasm();
    smart_ptr<abc_def> abc = Read(MainClass({0x47}).Build());
    ASSERT_TRUE(abc);
    ClearLog();
    testing::internal::CaptureStdout();
    log_disasm_avm2({}, abc.get_ptr());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(Log().empty());
    testing::internal::CaptureStdout();
    log_disasm_avm2({0xD0, 0x1B, 0xFE, 0xFF, 0xFF, 0x80}, abc.get_ptr());
    // The case count runs past the code: the listing ends there.
    EXPECT_EQ(testing::internal::GetCapturedStdout(), ":\tgetlocal_0\n:\tlookupswitch\n");
    EXPECT_EQ(Joined(Log()), "\t\tdefault offset: -2\n");
    EXPECT_EQ(get_disasm_avm2_opcode_count(), 141);
}

}  // namespace

}  // namespace abc_testing
