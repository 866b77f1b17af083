#include "platform/CpuTime.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// Keeps a CPU busy for at least the given CPU seconds of the calling thread.
void Spin(double seconds) {
    const double start = platform::ThreadCpuSeconds();
    volatile unsigned sink = 0;
    while (platform::ThreadCpuSeconds() - start < seconds) {
        sink = sink + 1;
    }
}

// Work done on another thread counts in the process's time and not in the calling thread's, the
// way a software renderer's worker threads count in a frame.
TEST(CpuTimeTest, another_threads_work_counts_for_the_process_only) {
    const double process = platform::ProcessCpuSeconds();
    const double thread = platform::ThreadCpuSeconds();
    std::thread worker(Spin, 0.2);
    worker.join();
    EXPECT_GE(platform::ProcessCpuSeconds() - process, 0.2);
    EXPECT_LT(platform::ThreadCpuSeconds() - thread, 0.1);
}

TEST(CpuTimeTest, the_calling_threads_work_counts_for_both) {
    const double process = platform::ProcessCpuSeconds();
    const double thread = platform::ThreadCpuSeconds();
    Spin(0.1);
    const double threadSpent = platform::ThreadCpuSeconds() - thread;
    EXPECT_GE(threadSpent, 0.1);
    EXPECT_GE(platform::ProcessCpuSeconds() - process, threadSpent);
}

}  // namespace
