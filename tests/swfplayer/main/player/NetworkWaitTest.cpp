// Movies whose frame scripts call the network in a loop, each played in a child process within a
// time limit: however many connections, loads and sends one frame makes, to a server that never
// answers or a peer that never reads, the frame waits on the network for a quarter of a second in
// all, and the next frame gets its own quarter.
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/player/frame_scope.h"
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/player/precompute.h"
#include "swfplayer/main/player/root.h"
#include "swfplayer/main/script/instruction_budget.h"
#include "swfplayer/main/swfplayer_as_classes/net_wait_allowance.h"
#include "tests/support/BoundedRun.h"
#include "tests/support/FullListener.h"
#include "tests/support/LoopbackServer.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tests/swfplayer/main/player/HostileMovies.h"
#include "tools/swfkit/ActionAssembler.h"
#include "tools/swfkit/Movie.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>

namespace swf_testing {
namespace {

using namespace swfplayer;
using namespace std::chrono_literals;
using hostile_movies::Loop;
using testing_support::BoundedRun;
using testing_support::RunBounded;

constexpr size_t kMegabyte = 1024 * 1024;
constexpr int kCalls = 20;
// What a frame may wait on the network in all, and room for the sleeps of the frame's own work
// (a page fault, a write to standard error).
constexpr double kAllowanceSeconds = 0.25;
constexpr double kMarginSeconds = 0.1;

// '<name>' counted up by one on the root.
std::string CountUp(const std::string& name) {
    return "'_root' get_var '" + name + "' '_root' get_var '" + name + "' get_member 1 add set_member ";
}

// Sets member of the object in variable o to a handler that counts its calls whose first
// argument is false in the root's variable name.
std::string CountFalse(const std::string& member, const std::string& name) {
    static int s_handlers = 0;
    const std::string skip = "true" + std::to_string(++s_handlers);
    return "'o' get_var '" + member + "' fn:(ok) { 'ok' get_var if:" + skip + " " + CountUp(name) + "@" + skip +
           " } set_member ";
}

// Runs the call on the stack (its result on top) and counts a false result in "refused".
std::string CountRefused(const std::string& call) {
    static int s_calls = 0;
    const std::string done = "done" + std::to_string(++s_calls);
    return call + "if:" + done + " " + CountUp("refused") + "@" + done + " ";
}

// o = a new object of the class. Assigning an object to a variable that holds one copies its
// members into the old one; o is cleared first so that every call has an object of its own.
std::string NewObject(const std::string& class_name) {
    return "'o' 0 set_var 'o' 0 '" + class_name + "' new set_var ";
}

std::string Push(int port) {
    return std::to_string(port) + " ";
}

// The script's counters start at 0; s is a string of 8 MB when big.
std::string Prologue(bool big) {
    std::string text = "'refused' 0 set_var 'failed' 0 set_var 'closed' 0 set_var 'all' 0 decl_array set_var ";
    if (big) {
        text += "'s' 'x' set_var " + Loop("k", 23, "'s' 's' get_var 's' get_var add_t set_var");
    }
    return text;
}

// A movie of three frames: the first runs setup, the second the script under test, the third
// connects an XMLSocket to 127.0.0.1 at next_port and keeps the result in "later".
swfkit::Bytes ThreeFrames(const std::string& setup, const std::string& script, int next_port) {
    swfkit::Movie movie(8, {0, 16000, 0, 12000}, 12.0);
    const std::string later =
        "'later' " + Push(next_port) + "'127.0.0.1' 2 0 'XMLSocket' new 'connect' call_method set_var";
    for (const std::string& frame : {setup, script, later}) {
        movie.Tags().DoAction(swfkit::assemble(frame).bytes()).ShowFrame();
    }
    return movie.Write(false);
}

// kCalls XMLSockets connecting to 127.0.0.1 at port, each told "failed" on onConnect(false).
std::string XmlSocketConnects(int port) {
    return Loop("i", kCalls,
                NewObject("XMLSocket") + CountFalse("onConnect", "failed") +
                    CountRefused(Push(port) + "'127.0.0.1' 2 'o' get_var 'connect' call_method "));
}

// kCalls LoadVars loading url, each told "failed" on onLoad(false).
std::string LoadVarsLoads(const std::string& url) {
    return Loop("i", kCalls,
                NewObject("LoadVars") + CountFalse("onLoad", "failed") +
                    CountRefused("'" + url + "' 1 'o' get_var 'load' call_method "));
}

// kCalls XMLSockets connected to 127.0.0.1 at port, each counting its onClose in "closed"; all
// holds them.
std::string XmlSocketsConnected(int port) {
    return Prologue(true) +
           Loop("i", kCalls,
                NewObject("XMLSocket") + "'o' get_var 'onClose' fn:() { " + CountUp("closed") + "} set_member " +
                    CountRefused(Push(port) + "'127.0.0.1' 2 'o' get_var 'connect' call_method ") +
                    "'o' get_var 1 'all' get_var 'push' call_method pop");
}

// Each socket of all sends the 8 MB of s.
std::string XmlSocketSends() {
    return Loop("i", kCalls, "'s' get_var 1 'all' get_var 'i' get_var get_member 'send' call_method pop");
}

// kCalls LoadVars posting the 8 MB of s to url, each told "failed" on onLoad(false).
std::string LoadVarsPosts(const std::string& url) {
    return Loop("i", kCalls,
                NewObject("LoadVars") + "'o' get_var 'big' 's' get_var set_member " + CountFalse("onLoad", "failed") +
                    CountRefused("'POST' 'o' get_var '" + url + "' 3 'o' get_var 'sendAndLoad' call_method ") +
                    "'o' get_var 1 'all' get_var 'push' call_method pop");
}

// The calling thread's time on a processor or waiting for one, in seconds; -1 when the system
// does not tell. What a frame's wall time has beyond it, the frame slept: waiting on the network
// shows there, however loaded the machine is.
double BusySeconds() {
    std::ifstream stat("/proc/thread-self/schedstat");
    double running_ns = 0.0, queued_ns = 0.0;
    stat >> running_ns >> queued_ns;
    return stat ? (running_ns + queued_ns) / 1e9 : -1.0;
}

void Require(bool condition, const std::string& what) {
    if (!condition) {
        throw std::runtime_error(what);
    }
}

class NetworkWaitTest : public SwfLoadingFixture {
protected:
    // Plays the movie's three frames in a bounded child; the second must sleep no longer than
    // the allowance (and a margin), and the root's counters must then read refused, failed and
    // closed (onClose comes a frame later), and "later" true: the third frame connects again.
    BoundedRun Play(const swfkit::Bytes& movie, int refused, int failed, int closed) {
        return RunBounded(
            [&] {
                // LoadVars echoes each request on standard output: 160 MB here.
                Require(std::freopen("/dev/null", "w", stdout) != nullptr, "standard output goes nowhere");
                smart_ptr<movie_def_impl> def = LoadMovie(movie);
                Require(def != nullptr, "the movie loads");
                smart_ptr<root> r = create_instance(def.get_ptr());
                Require(r != nullptr, "the movie plays");
                r->advance(r->get_frame_time());
                const double busy = BusySeconds();
                Require(busy >= 0.0, "the thread's processor time is known");
                const auto start = std::chrono::steady_clock::now();
                r->advance(r->get_frame_time());
                const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
                const double slept = wall - (BusySeconds() - busy);
                Require(slept < kAllowanceSeconds + kMarginSeconds,
                        "the frame took " + std::to_string(wall) + " s, asleep for " + std::to_string(slept));
                Require(Count(r, "refused") == refused, "refused " + std::to_string(Count(r, "refused")));
                Require(Count(r, "failed") == failed, "failed " + std::to_string(Count(r, "failed")));
                r->advance(r->get_frame_time());
                Require(Count(r, "closed") == closed, "closed " + std::to_string(Count(r, "closed")));
                as_value later;
                Require(r->get_root_sprite()->get_member("later", &later) && later.to_bool(),
                        "the next frame connects");
            },
            60s, 768 * kMegabyte);
    }

    static int Count(const smart_ptr<root>& r, const char* name) {
        as_value value;
        r->get_root_sprite()->get_member(name, &value);
        return static_cast<int>(value.to_number());
    }

    testing_support::LoopbackServer m_healthy;
};

TEST_F(NetworkWaitTest, connects_to_a_server_that_never_answers_share_the_frame_allowance) {
    // With the server's accept queue full, every connection waited its 2 s: 40 s for the frame.
    testing_support::FullListener full;
    ASSERT_TRUE(full.IsFull());
    BoundedRun sockets =
        Play(ThreeFrames(Prologue(false), XmlSocketConnects(full.Port()), m_healthy.Port()), kCalls, kCalls, 0);
    EXPECT_TRUE(sockets.finished) << "XMLSocket.connect: " << sockets.Describe();
    BoundedRun loads =
        Play(ThreeFrames(Prologue(false), LoadVarsLoads(full.Url("/x")), m_healthy.Port()), kCalls, kCalls, 0);
    EXPECT_TRUE(loads.finished) << "LoadVars.load: " << loads.Describe();
}

TEST_F(NetworkWaitTest, sends_to_a_peer_that_never_reads_share_the_frame_allowance) {
    // Every send of 8 MB waited its 1 s for room: 20 s for the frame. What cannot be written
    // drops the connection (onClose on the next frame) or fails the request (onLoad(false)).
    testing_support::LoopbackServer never_reads(4096);
    BoundedRun sockets =
        Play(ThreeFrames(XmlSocketsConnected(never_reads.Port()), XmlSocketSends(), m_healthy.Port()), 0, 0, kCalls);
    EXPECT_TRUE(sockets.finished) << "XMLSocket.send: " << sockets.Describe();
    BoundedRun posts =
        Play(ThreeFrames(Prologue(true), LoadVarsPosts(never_reads.Url("/x")), m_healthy.Port()), kCalls, kCalls, 0);
    EXPECT_TRUE(posts.finished) << "LoadVars.sendAndLoad: " << posts.Describe();
}

TEST_F(NetworkWaitTest, a_frame_starts_a_full_allowance_unless_it_runs_inside_another) {
    smart_ptr<movie_def_impl> def = LoadMovie(hostile_movies::ScriptMovie("'x' 1 set_var", 12.0, 2));
    ASSERT_TRUE(def != nullptr);
    smart_ptr<root> r = create_instance(def.get_ptr());
    ASSERT_TRUE(r != nullptr);
    {
        // A script that plays the movie, or loads another, has the allowance its own frame left.
        instruction_budget::run_scope outer;
        net_wait_allowance::begin_frame();
        net_wait_allowance::wait all(net_wait_allowance::frame_allowance_ms);
        std::this_thread::sleep_for(std::chrono::milliseconds(all.get_ms()));
    }
    EXPECT_TRUE(net_wait_allowance::is_spent());
    {
        instruction_budget::run_scope outer;
        r->advance(r->get_frame_time());
        precompute_cached_data(def.get_ptr());
    }
    EXPECT_TRUE(net_wait_allowance::is_spent());
    precompute_cached_data(def.get_ptr());
    EXPECT_EQ(net_wait_allowance::get_left_ms(), net_wait_allowance::frame_allowance_ms);
    net_wait_allowance::begin_frame();
    {
        instruction_budget::run_scope outer;
        net_wait_allowance::wait all(net_wait_allowance::frame_allowance_ms);
        std::this_thread::sleep_for(std::chrono::milliseconds(all.get_ms()));
    }
    r->advance(r->get_frame_time());
    EXPECT_EQ(net_wait_allowance::get_left_ms(), net_wait_allowance::frame_allowance_ms);
    {
        instruction_budget::run_scope outer;
        net_wait_allowance::wait all(net_wait_allowance::frame_allowance_ms);
        std::this_thread::sleep_for(std::chrono::milliseconds(all.get_ms()));
    }
    {
        // A host's frame around its movies starts a full allowance, which the movies it plays share.
        const frame_scope host;
        EXPECT_EQ(net_wait_allowance::get_left_ms(), net_wait_allowance::frame_allowance_ms);
        {
            net_wait_allowance::wait all(net_wait_allowance::frame_allowance_ms);
            std::this_thread::sleep_for(std::chrono::milliseconds(all.get_ms()));
        }
        r->advance(r->get_frame_time());
        EXPECT_TRUE(net_wait_allowance::is_spent());
    }
}

}  // namespace
}  // namespace swf_testing
