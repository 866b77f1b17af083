#include "swfplayer/base/log.h"
#include "swfplayer/main/script/action_buffer.h"
#include "swfplayer/main/script/action_disasm.h"
#include "tools/swfkit/ActionAssembler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace swfkit;

namespace {

std::string listing(const Bytes& record) {
    Bytes bytes = record;
    bytes.push_back(0);
    swfplayer::action_buffer buffer;
    buffer.read(bytes.data(), static_cast<int>(bytes.size()));
    return swfplayer::disasm_record(buffer, 0);
}

struct golden_case {
    Bytes record;
    const char* text;
};

std::string s_verbose_read;

TEST(ActionDisasmTest, one_record_of_every_argument_format_and_the_verbose_read_listing) {
    const std::vector<golden_case> cases = {
        {{0x06}, "play           \n"},
        {{0x7F}, "<unknown>[0x7F]\n"},
        {assemble("#81:05,01").code(), "goto_frame      261\n"},
        {assemble("#87:C8").code(), "store_register  200\n"},
        {assemble("#99:FB,FF").code(), "goto            -5\n"},
        {assemble("#83:'FSC:Go',00").code(), "get_url         \"FSC:Go\\0\\0\"\n"},
        {assemble("#8A:01,02").code(), "wait_for_frame  0x01 0x02\n"},
        {assemble("#C0:01,02").code(), "<unknown>[0xC0] 0x01 0x02\n"},
        {assemble("#96:07,05,00,00,00").code(), "push_data      \n\t\t(int) 5\n"},
        {assemble("'hi' f:0.5 null undef r2 true 1 p3 P300 #96:0B").code(),
         "push_data      \n\t\t\"hi\"\n\t\t(float) "
         "0.500000\n\t\tNULL\n\t\tundef\n\t\treg[2]\n\t\tbool(1)\n\t\t(double) "
         "1.000000\n\t\tdict_lookup[3]\n\t\tdict_lookup_lg[300]\n"},
        {assemble("pool:a,bc").code(), "decl_dict       [2]\n\t\t\"a\"\n\t\t\"bc\"\n"},
        {assemble("#88:02,00,'a',62").code(),
         "decl_dict       [2]\n\t\t\"a\"\n\t\t\"b<disasm error -- length exceeded>\n\"\n"},
        {assemble("fn2:f:3:0x105(1:x,0:y) { play }").code(),
         "function2      \n\t\tname = 'f', arg_count = 2, reg_count = 3\n\t\t        pg = 1\n\t\t        pp = 0\n"
         "\t\t        pr = 0\n\t\tss = 0, ps = 0\n\t\tsa = 0, pa = 1\n\t\tst = 0, pt = 1\n"
         "\t\targ[0] - reg[1] - 'x'\n\t\targ[1] - reg[0] - 'y'\n\t\tfunction length = 1\n"},
        {assemble("fn:g(a) { play }").code(), "func            0x67 0x00 0x01 0x00 0x61 0x00 0x01 0x00\n"},
    };
    for (const golden_case& c : cases) {
        EXPECT_EQ(listing(c.record), c.text);
    }
    // Read verbosely, a buffer lists each record after its pc.
    swfplayer::log_callback previous =
        swfplayer::register_log_callback([](bool, const char* line) { s_verbose_read += line; });
    swfplayer::set_verbose_action(true);
    listing(assemble("play #81:02,00").code());
    swfplayer::set_verbose_action(false);
    swfplayer::register_log_callback(previous);
    EXPECT_EQ(s_verbose_read, "   0\tplay           \n   1\tgoto_frame      2\n   6\t<end>          \n");
}

}  // namespace
