// The peak of memory that RunBounded reports: what the work holds at once, in the ordinary build
// and in the sanitizer build alike, however much memory passes through it.
#include "tests/support/BoundedRun.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace {

using namespace std::chrono_literals;
using testing_support::BoundedRun;
using testing_support::RunBounded;

constexpr size_t kMegabyte = 1024 * 1024;

// A block of a megabyte, every page of it written; the compiler may not leave it out.
std::vector<char> Block() {
    std::vector<char> block(kMegabyte, 1);
    asm volatile("" : : "r"(block.data()) : "memory");
    return block;
}

// The sanitizer's allocator keeps freed blocks resident (256 MB of them by default), which once
// counted as the work's own memory.
TEST(BoundedRun, blocks_freed_as_they_come_count_no_more_than_one) {
    const BoundedRun run = RunBounded(
        [] {
            for (int i = 0; i < 600; ++i) {
                Block();
            }
        },
        60s, 256 * kMegabyte);
    ASSERT_TRUE(run.finished) << run.Describe();
    EXPECT_LT(run.peakGrowth, 16 * kMegabyte) << run.Describe();
}

TEST(BoundedRun, the_peak_is_the_most_the_work_held_at_once) {
    const BoundedRun run = RunBounded(
        [] {
            std::vector<std::vector<char>> held;
            for (int i = 0; i < 64; ++i) {
                held.push_back(Block());
            }
            held.clear();
            for (int i = 0; i < 16; ++i) {
                held.push_back(Block());
            }
        },
        60s, 256 * kMegabyte);
    ASSERT_TRUE(run.finished) << run.Describe();
    EXPECT_GE(run.peakGrowth, 64 * kMegabyte) << run.Describe();
    EXPECT_LT(run.peakGrowth, 80 * kMegabyte) << run.Describe();
}

// Memory the process held before the run and the work frees makes no room for a peak of less
// than nothing: what the work allocates after still counts from where the run began.
TEST(BoundedRun, blocks_held_before_the_run_and_freed_in_it_count_nothing) {
    auto before = std::make_unique<std::vector<std::vector<char>>>();
    for (int i = 0; i < 64; ++i) {
        before->push_back(Block());
    }
    const BoundedRun run = RunBounded(
        [&] {
            before.reset();
            std::vector<std::vector<char>> held;
            for (int i = 0; i < 8; ++i) {
                held.push_back(Block());
            }
        },
        60s, 256 * kMegabyte);
    ASSERT_TRUE(run.finished) << run.Describe();
    EXPECT_LT(run.peakGrowth, 16 * kMegabyte) << run.Describe();
}

TEST(BoundedRun, work_that_throws_or_outlasts_its_time_is_told_apart) {
    const BoundedRun thrown = RunBounded([] { throw std::runtime_error("given up"); }, 60s, 256 * kMegabyte);
    EXPECT_FALSE(thrown.finished);
    EXPECT_FALSE(thrown.timedOut);
    EXPECT_NE(thrown.Describe().find("died"), std::string::npos) << thrown.Describe();

    const BoundedRun endless = RunBounded(
        [] {
            volatile bool forever = true;
            while (forever) {
            }
        },
        100ms, 256 * kMegabyte);
    EXPECT_FALSE(endless.finished);
    EXPECT_TRUE(endless.timedOut);
    EXPECT_NE(endless.Describe().find("killed at the time limit"), std::string::npos) << endless.Describe();
}

}  // namespace
