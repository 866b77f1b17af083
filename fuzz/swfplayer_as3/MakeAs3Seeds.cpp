// make_as3_seeds <folder>: writes the seeds of the ActionScript 3 fuzzers, built with the tests'
// ABC builder: DoABC tag bodies (valid blocks and blocks that break a rule) into
// <folder>/reader_seeds, and constructor bodies into <folder>/execute_seeds.
#include "fuzz/SeedWriter.h"
#include "tests/swfplayer/main/as3/AbcBuilder.h"
#include "tools/swfkit/BitWriter.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

using abc_testing::AbcBuilder;
using swfkit::Bytes;

// The DoABC body: flags (bit 0 asks for the verbose listing), a name, the block.
Bytes tag_body(uint32_t flags, const AbcBuilder& abc) {
    swfkit::BitWriter out;
    out.WriteU32(flags);
    out.WriteString("seed");
    out.WriteBytes(abc.Build());
    return out.GetBytes();
}

AbcBuilder rich_block() {
    AbcBuilder abc =
        abc_testing::MainClass({0xD0, 0x30, 0x5D, 2, 0x2C, 3, 0x4F, 2, 1, 0x1B, 1, 0, 0, 1, 2, 0, 0, 0, 0, 0, 0, 0x47},
                               {{1, 0, 1, 0, 1, 0x03}, {1, 1, 2, 1, 0, 0}});
    abc.QName("trace");
    abc.integers = {-5, 70000};
    abc.uintegers = {0xFFFFFFFF};
    abc.doubles = {2.5};
    abc.nsSets = {{1}};
    abc.multinames.push_back({0x09, 0, 2, 1, {}});
    abc.multinames.push_back({0x1B, 0, 0, 1, {}});
    abc.methods[0].options = {{1, 0x03}, {1, 0x06}, {0, 0x0C}};
    abc.bodies[0].exceptions = {{0, 2, 1, 1, 0}};
    return abc;
}

std::vector<std::pair<std::string, Bytes>> reader_seeds() {
    std::vector<std::pair<std::string, Bytes>> seeds;
    seeds.emplace_back("main_class", tag_body(0, abc_testing::MainClass({0xD0, 0x30, 0x47})));
    seeds.emplace_back("rich_verbose", tag_body(1, rich_block()));
    seeds.emplace_back("empty_pools_verbose", tag_body(1, [] {
                           AbcBuilder abc;
                           abc.AddMethodWithBody({0x47});
                           return abc;
                       }()));
    auto broken = [&](const char* name, void (*breakRule)(AbcBuilder&)) {
        AbcBuilder abc = rich_block();
        breakRule(abc);
        seeds.emplace_back(std::string("reject_") + name, tag_body(1, abc));
    };
    broken("version", [](AbcBuilder& a) { a.majorVersion = 47; });
    broken("multiname_kind", [](AbcBuilder& a) { a.multinames.push_back({0x0F, 0, 0, 0, {1}}); });
    broken("class_trait_in_instance", [](AbcBuilder& a) { a.instances[0].traits = {{1, 4, 1, 0, 0, 0}}; });
    AbcBuilder later_class = rich_block();
    later_class.instances.push_back({later_class.QName("Later"), 0, 0, 0, {}, 1, {}});
    later_class.classes.push_back({1, {}});
    later_class.classes[0].traits = {{1, 4, 1, 1, 0, 0}};
    seeds.emplace_back("class_trait_naming_a_later_class", tag_body(1, later_class));
    broken("second_body", [](AbcBuilder& a) { a.bodies[1].method = 0; });
    broken("exception_target", [](AbcBuilder& a) { a.bodies[0].exceptions = {{0, 1, 40, 0, 0}}; });
    broken("trailing", [](AbcBuilder& a) { a.trailing = {0, 0}; });
    Bytes huge = {0, 0, 0, 0, 0, 16, 0, 46, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 1, 2, 3};
    seeds.emplace_back("reject_huge_pool_count", huge);
    return seeds;
}

// 1,000 scope entries ("this"), then 500 lookups of "v", which none has.
Bytes deep_scope_lookups() {
    Bytes code;
    for (int i = 0; i < 1000; i++) {
        code.insert(code.end(), {0xD0, 0x30});
    }
    for (int i = 0; i < 500; i++) {
        code.insert(code.end(), {0x60, 3});
    }
    return code;
}

std::vector<std::pair<std::string, Bytes>> execute_seeds() {
    // Multinames: 1 Main, 2 f, 3 v, 4 trace, 5 stop; strings 4 to 6: "v", "trace", "stop".
    return {
        {"deep_scope_lookups", deep_scope_lookups()},
        {"set_member", {0xD0, 0x24, 0xFE, 0x68, 3, 0x47}},
        {"trace", {0x5D, 4, 0x2C, 5, 0x4F, 4, 1, 0x47}},
        {"stop", {0xD0, 0x4F, 5, 0, 0x47}},
        {"scope_lookup", {0xD0, 0x30, 0x5D, 3, 0x2D, 1, 0x68, 3, 0x60, 4, 0x66, 3, 0x2F, 1}},
        {"self_call_twice", {0xD0, 0x4F, 2, 0, 0xD0, 0x4F, 2, 0, 0x47}},
        {"underflow", {0x68, 3, 0x30, 0x4F, 2, 9, 0x49, 7, 0xD3}},
        {"cut_operand", {0x2C, 0x80}},
        {"unknown_opcode", {0x26, 0x47}},
    };
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_as3_seeds <folder>\n");
        return 2;
    }
    std::filesystem::path folder = argv[1];
    return fuzz_support::write_seeds("make_as3_seeds", folder / "reader_seeds", reader_seeds()) ||
           fuzz_support::write_seeds("make_as3_seeds", folder / "execute_seeds", execute_seeds());
}
