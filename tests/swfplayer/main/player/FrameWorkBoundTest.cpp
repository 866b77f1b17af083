// Endless loops of script work that costs far more than a plain instruction (looking names up,
// calling natives, making objects, walking tables, logging), each played for one frame in a
// bounded child with the full instruction budget: the frame must end within seconds, as an
// endless jump does. Each loop once held its frame for tens of seconds or far longer.
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/player/root.h"
#include "swfplayer/main/script/instruction_budget.h"
#include "tests/support/BoundedRun.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tests/swfplayer/main/player/HostileMovies.h"

#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

namespace swf_testing {

using namespace swfplayer;
using namespace std::chrono_literals;
using hostile_movies::Loop;
using testing_support::BoundedRun;
using testing_support::RunBounded;

namespace {

constexpr size_t kMegabyte = 1024 * 1024;

// A frame of the full budget takes about a second on the machines the suite runs on; a loop
// whose work is charged as it costs ends well within this.
constexpr std::chrono::milliseconds kFrameLimit = 10s;

// One endless loop: what it does, the setup before it and its body (in the assembler's text).
struct StallCase {
    const char* what;
    std::string setup;
    std::string body;
};

// name = text doubled times times: 2^times copies of it.
std::string Doubled(const std::string& name, const std::string& text, int times) {
    return "'" + name + "' '" + text + "' set_var " +
           Loop("k", times, "'" + name + "' '" + name + "' get_var '" + name + "' get_var add_t set_var");
}

std::string Repeated(const std::string& text, int count) {
    std::string repeated;
    for (int i = 0; i < count; i++) {
        repeated += text;
    }
    return repeated;
}

// An object "o" of count members named by their index.
std::string ManyMembers(int count) {
    return "'o' 0 decl_obj set_var " + Loop("i", count, "'o' get_var 'i' get_var 1 set_member");
}

class FrameWorkBoundTest : public SwfLoadingFixture {
protected:
    // Plays the first frame of each case's movie in a bounded child: the loop must be cut by
    // the budget within the frame limit.
    void ExpectEachEndsItsFrame(const std::vector<StallCase>& cases) {
        for (const StallCase& c : cases) {
            const swfkit::Bytes movie = hostile_movies::ScriptMovie(c.setup + " @forever " + c.body + " jump:forever");
            BoundedRun run = RunBounded(
                [&] {
                    // The sanitizer build runs this work many times slower than the ordinary one:
                    // there the frame gets a share of the budget, so that its run checks the same
                    // code within its longer limit.
                    instruction_budget::set_budget(instruction_budget::get_budget() /
                                                   testing_support::kSanitizerSlowdown);
                    smart_ptr<movie_def_impl> def = LoadMovie(movie);
                    smart_ptr<root> r = def ? create_instance(def.get_ptr()) : nullptr;
                    if (r == nullptr) {
                        throw std::runtime_error("the movie plays");
                    }
                    r->advance(r->get_frame_time());
                    if (!Logged("script stopped after")) {
                        throw std::runtime_error("the budget ends the loop");
                    }
                },
                kFrameLimit, 1024 * kMegabyte);
            EXPECT_TRUE(run.finished) << c.what << ": " << run.Describe();
        }
    }
};

TEST_F(FrameWorkBoundTest, member_lookups_end_their_frame) {
    ExpectEachEndsItsFrame({
        // 20 s: a clip asked for a member it has not.
        {"absent member of a clip", "", "'_root' get_var 'absent' get_member pop"},
        // 300 classes, each extending the one before: every prototype of the chain is asked (the
        // lookup stops after 256 of them).
        {"absent member through a long prototype chain",
         "'c' fn:() { } set_var " +
             Loop("i", 300, "'d' fn:() { } set_var 'd' get_var 'c' get_var extends 'c' 'd' get_var set_var"),
         "'c' get_var 'prototype' get_member 'absent' get_member pop"},
        // A variable named by a text of 1 MB, hashed and searched for a path on every read.
        {"variable with a long name", Doubled("s", "x", 20), "'s' get_var get_var pop"},
    });
}

TEST_F(FrameWorkBoundTest, native_calls_end_their_frame) {
    ExpectEachEndsItsFrame({
        // 19 s: a global function whose result is discarded.
        {"global function", "", "'12' 1 'parseInt' call_func pop"},
        // 13 s: a string method.
        {"string method", "", "'abc' 1 'x' 'charAt' call_method pop"},
        // 22 s: a call of a name that is no function, which logs an error each time.
        {"logged error", "", "0 'absent' call_func pop"},
    });
}

TEST_F(FrameWorkBoundTest, objects_and_functions_made_end_their_frame) {
    ExpectEachEndsItsFrame({
        // 44 s: a function object and its prototype made each time.
        {"function definition", "", "fn:() { } pop"},
        // The array constructor fills 65,536 elements (and logs the cut).
        {"array constructor", "", "1000000 1 'Array' new pop"},
        // A record of 2,000 pushes made into an array literal.
        {"array literal", "", Repeated("1 ", 2000) + "2000 decl_array pop"},
    });
}

TEST_F(FrameWorkBoundTest, natives_that_walk_their_data_end_their_frame) {
    ExpectEachEndsItsFrame({
        // 1,500 s: a megabyte split into its characters, an element each.
        {"split into characters", Doubled("s", "x", 20), "'' 1 's' get_var 'split' call_method pop"},
        // The text of an array of 100,000 numbers: every element sorted by name and printed.
        {"array printed",
         "'a' 0 decl_array set_var " + Loop("i", 100000, "'i' get_var 1 'a' get_var 'push' call_method pop"),
         "0 'a' get_var 'toString' call_method pop"},
        // Flags of 100,000 members changed at once.
        {"member flags", ManyMembers(100000), "1 null 'o' get_var 3 'ASSetPropFlags' call_func pop"},
        // The 100,000 names of an object enumerated inside a function, which drops them on return.
        {"names enumerated", ManyMembers(100000) + "fn:f() { 'o' get_var enum_object }", "0 'f' call_func pop"},
    });
}

}  // namespace

}  // namespace swf_testing
