// The time the network calls of a frame of script may wait: what each call is granted, what it
// is charged, and the one log line of a frame whose allowance is spent. The waits are timed by a
// clock the test steps, so each is charged exactly the time it says it took, however long the
// machine keeps the test from running.
#include "swfplayer/base/base_timer.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/script/instruction_budget.h"
#include "swfplayer/main/swfplayer_as_classes/net_wait_allowance.h"

#include <gtest/gtest.h>

#include <string>

using namespace swfplayer;

namespace {

class NetWaitAllowanceTest : public ::testing::Test {
protected:
    NetWaitAllowanceTest() {
        s_spent_lines = 0;
        m_previous = register_log_callback([](bool, const char* message) {
            s_spent_lines += std::string(message).find("net_wait_allowance::wait:") != std::string::npos;
        });
        net_wait_allowance::set_clock([] { return s_now_ns; });
        net_wait_allowance::begin_frame();
    }
    ~NetWaitAllowanceTest() override {
        register_log_callback(m_previous);
        net_wait_allowance::set_clock(base_timer::get_profile_ticks);
        net_wait_allowance::begin_frame();
    }

    // A call that wants wanted_ms and waits waited_ms of them on the test's clock; what it was
    // granted.
    static int Wait(int wanted_ms, int waited_ms) {
        net_wait_allowance::wait wait(wanted_ms);
        s_now_ns += static_cast<uint64_t>(waited_ms) * 1000000;
        return wait.get_ms();
    }

    static inline int s_spent_lines = 0;
    static inline uint64_t s_now_ns = 0;
    log_callback m_previous = nullptr;
};

TEST_F(NetWaitAllowanceTest, the_calls_of_a_frame_share_its_allowance_and_it_says_once_that_it_is_spent) {
    const int full = net_wait_allowance::frame_allowance_ms;
    instruction_budget::run_scope frame;
    EXPECT_EQ(Wait(4 * full, 100), full);  // cut to the allowance
    const int left = net_wait_allowance::get_left_ms();
    EXPECT_EQ(left, full - 100);  // charged what it waited
    EXPECT_EQ(Wait(10, 0), 10);   // less than is left: all of it
    EXPECT_EQ(Wait(4 * full, left), left);
    EXPECT_EQ(net_wait_allowance::get_left_ms(), 0);
    EXPECT_TRUE(net_wait_allowance::is_spent());
    EXPECT_EQ(s_spent_lines, 0);
    EXPECT_EQ(Wait(1000, 0), 0);
    EXPECT_EQ(Wait(1000, 0), 0);
    EXPECT_EQ(Wait(0, 0), 0);
    EXPECT_EQ(s_spent_lines, 1);
    // A new frame has its full allowance and, once it is spent, says so again; a few
    // milliseconds left are no time to wait.
    net_wait_allowance::begin_frame();
    EXPECT_EQ(net_wait_allowance::get_left_ms(), full);
    EXPECT_FALSE(net_wait_allowance::is_spent());
    EXPECT_EQ(Wait(full, full - net_wait_allowance::least_wait_ms + 1), full);
    EXPECT_TRUE(net_wait_allowance::is_spent());
    EXPECT_EQ(Wait(1000, 0), 0);
    EXPECT_EQ(s_spent_lines, 2);
}

TEST_F(NetWaitAllowanceTest, calls_with_no_script_running_have_their_own_time_outs_and_charge_no_frame) {
    ASSERT_EQ(instruction_budget::run_scope::depth(), 0);
    EXPECT_EQ(Wait(1000, 50), 1000);
    EXPECT_EQ(Wait(-5, 0), 0);  // a negative wish is no wait
    EXPECT_EQ(net_wait_allowance::get_left_ms(), net_wait_allowance::frame_allowance_ms);
    EXPECT_EQ(s_spent_lines, 0);
}

}  // namespace
