// ActionScript 3 movies whose blocks once made a frame or a load run away, played in a child
// process within time and memory bounds: a regression fails fast instead of hanging the suite
// or eating the machine.
#include "swfplayer/main/as3/abc_def.h"
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/player/root.h"
#include "tests/support/BoundedRun.h"
#include "tests/swfplayer/main/as3/As3Fixture.h"

#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace abc_testing {

using namespace swfplayer;
using namespace std::chrono_literals;
using testing_support::BoundedRun;
using testing_support::RunBounded;

namespace {

constexpr size_t kMegabyte = 1024 * 1024;

// A failed check inside the child ends the child's work, and with it the bounded run.
void Require(bool condition, const std::string& what) {
    if (!condition) {
        throw std::runtime_error(what);
    }
}

// A compressed movie whose main class constructor pushes "this" onto the scope stack
// scopeEntries times and then looks up a name no entry has lookups times with the opcode
// (getlex or findpropstrict).
Bytes ScopeScanMovie(uint8_t opcode, int scopeEntries, int lookups) {
    Bytes code;
    for (int i = 0; i < scopeEntries; i++) {
        code.insert(code.end(), {0xD0, 0x30});  // getlocal_0; pushscope
    }
    AbcBuilder abc = MainClass({});
    const uint32_t absent = abc.QName("absent");
    for (int i = 0; i < lookups; i++) {
        code.insert(code.end(), {opcode, static_cast<uint8_t>(absent)});
    }
    code.push_back(0x47);  // returnvoid
    abc.bodies[0].code = code;
    swfkit::Movie movie(9, {0, 2000, 0, 2000}, 12.0);
    movie.Tags().DoABC(0, "scan", abc.Build()).SymbolClass({{0, "Main"}}).ShowFrame();
    return movie.Write(true);
}

// A compressed movie whose main class constructor pushes a 1 MB string of its pool 70,000 times,
// more than its operand stack holds.
Bytes PoolStringMovie() {
    AbcBuilder abc = MainClass({});
    const Bytes text = U30(abc.String(std::string(1 << 20, 's')));
    Bytes& code = abc.bodies[0].code;
    for (int i = 0; i < 70000; i++) {
        code.push_back(0x2C);  // pushstring
        code.insert(code.end(), text.begin(), text.end());
    }
    code.push_back(0x47);  // returnvoid
    swfkit::Movie movie(9, {0, 2000, 0, 2000}, 12.0);
    movie.Tags().DoABC(0, "strings", abc.Build()).SymbolClass({{0, "Main"}}).ShowFrame();
    return movie.Write(true);
}

// The tables whose records the tests below pile up (named as the reader names them in its log)
// and the bytes of the smallest record of each.
struct RecordTable {
    const char* name;
    uint32_t recordBytes;
};
const RecordTable kRecordTables[] = {{"method", 4},    {"trait", 4},  {"script", 2},       {"instance", 8},
                                     {"exception", 5}, {"string", 1}, {"namespace set", 1}};

// A block of count records of the table, each the smallest it can hold, beside the one string
// "t", the one namespace, the one QName "t" and the one method the records may name. It is
// written straight: a builder's own tables would leave the test process megabytes of freed heap
// that a bounded child could fill unmeasured.
Bytes SmallestRecords(const std::string& table, uint32_t count) {
    swfkit::BitWriter block;
    // The count (written as size) and count copies of the record when the table is the one
    // piled up, else the bytes of its usual contents.
    auto write = [&](const char* name, uint32_t size, const Bytes& record, const Bytes& usual) {
        if (table != name) {
            block.WriteBytes(usual);
            return;
        }
        block.WriteVu32(size);
        for (uint32_t i = 0; i < count; i++) {
            block.WriteBytes(record);
        }
    };
    block.WriteU16(16);
    block.WriteU16(46);
    block.WriteBytes({0, 0, 0});  // no integers, unsigned integers or doubles
    write("string", count + 1, {0}, {2, 1, 't'});
    block.WriteBytes({2, 0x16, 1});  // the package namespace "t"
    write("namespace set", count + 1, {0}, {0});
    block.WriteBytes({2, 0x07, 1, 1});  // the QName "t"
    write("method", count, {0, 0, 0, 0}, {1, 0, 0, 0, 0});
    block.WriteVu32(0);  // no metadata
    write("instance", count, {0, 0, 0, 0, 0, 0}, {0});
    if (table == "instance") {
        for (uint32_t i = 0; i < count; i++) {
            block.WriteBytes({0, 0});  // the class records
        }
    }
    if (table == "trait") {
        block.WriteBytes({1, 0});  // one script, whose traits follow
    }
    write("trait", count, {1, 1, 0, 0}, {});  // method traits naming "t" and method 0
    write("script", count, {0, 0}, table == "trait" ? Bytes{} : Bytes{0});
    if (table == "exception") {
        block.WriteBytes({1, 0, 0, 0, 0, 0, 1, 0x47});  // one body: returnvoid
    }
    write("exception", count, {0, 0, 0, 0, 0}, {});
    block.WriteVu32(0);  // the body's traits, or the bodies
    return block.GetBytes();
}

// A compressed movie whose block holds count method records of four bytes.
Bytes MethodRecordsMovie(uint32_t count) {
    swfkit::Movie movie(9, {0, 2000, 0, 2000}, 12.0);
    movie.Tags().DoABC(0, "methods", SmallestRecords("method", count)).ShowFrame();
    return movie.Write(true);
}

class As3HostileMovieTest : public As3Fixture {
protected:
    // Loads the movie with its block, plays its first frame and requires the log line that says
    // how the frame's scripts ended.
    void PlayFirstFrame(const Bytes& movie, const std::string& ending, const char* why) {
        smart_ptr<movie_def_impl> def = LoadMovie(movie);
        Require(def != nullptr && def->get_abc() != nullptr, "the movie and its block load");
        smart_ptr<root> instance = create_instance(def.get_ptr());
        instance->advance(0.0f);
        Require(Logged(ending), why);
    }
};

TEST_F(As3HostileMovieTest, name_lookups_through_a_deep_scope_stack_end_their_frame) {
    // 30,000 scope entries and 20,000 lookups of a name none has: each lookup asked every entry
    // for the cost of one instruction, and the frame took 37 s.
    for (uint8_t opcode : {0x60, 0x5D}) {
        const Bytes movie = ScopeScanMovie(opcode, 30000, 20000);
        BoundedRun run =
            RunBounded([&] { PlayFirstFrame(movie, "script stopped after", "the lookups spend the frame's budget"); },
                       15s, 512 * kMegabyte);
        EXPECT_TRUE(run.finished) << static_cast<int>(opcode) << ": " << run.Describe();
    }
}

TEST_F(As3HostileMovieTest, a_pool_string_pushed_until_the_stack_is_full_is_shared) {
    // pushstring of a 1 MB pool string until the frame's budget ran out once peaked at 1.5 GB: each
    // push copied the string.
    const Bytes movie = PoolStringMovie();
    BoundedRun run = RunBounded(
        [&] { PlayFirstFrame(movie, "the operand stack is full", "the constructor pushes until the stack is full"); },
        30s, 768 * kMegabyte);
    EXPECT_LT(movie.size(), 2000u);
    EXPECT_TRUE(run.finished) << run.Describe();
    EXPECT_LT(run.peakGrowth, 64 * kMegabyte) << run.Describe();
}

TEST_F(As3HostileMovieTest, a_block_of_two_million_method_records_is_refused_before_it_swells) {
    // A 7.9 KB movie of 2,000,000 four-byte method records once loaded into 3.3 GB: every record
    // became a function object with a prototype object of its own.
    const Bytes movie = MethodRecordsMovie(2000000);
    BoundedRun run = RunBounded(
        [&] {
            smart_ptr<movie_def_impl> def = LoadMovie(movie);
            Require(def != nullptr, "the movie loads");
            Require(def->get_abc() == nullptr, "without its block");
            Require(Logged("abc_def::read: method count 2000000 would take"), "the refusal is logged");
        },
        20s, 512 * kMegabyte);
    EXPECT_LT(movie.size(), 10000u);
    EXPECT_TRUE(run.finished) << run.Describe();
    EXPECT_LT(run.peakGrowth, 64 * kMegabyte) << run.Describe();
}

TEST_F(As3HostileMovieTest, no_kind_of_record_makes_a_block_cost_more_than_a_small_multiple_of_its_bytes) {
    // Records of a few bytes become objects of up to hundreds: a block of methods once took 415
    // times its bytes, one of scripts 36 times, of traits, classes, strings or namespace sets
    // about 25 times. A block may build at most 16 times its bytes (and a megabyte besides); one
    // whose tables would take more is refused.
    for (const RecordTable& table : kRecordTables) {
        const Bytes block = SmallestRecords(table.name, (1 << 20) / table.recordBytes);
        BoundedRun run = RunBounded(
            [&] {
                if (Read(block) == nullptr) {
                    Require(Logged(std::string("abc_def::read: ") + table.name + " count "),
                            "the refusal names the table");
                    Require(Logged("this block of " + std::to_string(block.size()) + " bytes may still build"),
                            "and the block's size");
                }
            },
            20s, 1024 * kMegabyte);
        EXPECT_TRUE(run.finished) << table.name << ": " << run.Describe();
        // The allowance, the block's own bytes copied once and its strings' text.
        EXPECT_LT(run.peakGrowth, 20 * block.size() + 2 * kMegabyte) << table.name << ": " << run.Describe();
    }
}

}  // namespace

}  // namespace abc_testing
