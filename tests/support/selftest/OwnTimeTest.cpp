// The stopwatch of a thread's own time: what the thread waits of its own accord counts in full,
// the time it stands ready while another thread holds its processor does not.
#include "tests/support/OwnTime.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <sched.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>

namespace {

using namespace std::chrono_literals;

// The calling thread's processor time.
std::chrono::nanoseconds ThreadProcessorTime() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

TEST(OwnTime, a_sleep_counts_in_full) {
    const testing_support::OwnTime own;
    std::this_thread::sleep_for(50ms);
    EXPECT_GE(own.Elapsed(), 50ms);
}

TEST(OwnTime, the_time_another_thread_holds_the_processor_does_not_count) {
    // This thread and one that spins share one processor, so each waits while the other runs.
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu(), &one);
    cpu_set_t all;
    ASSERT_EQ(pthread_getaffinity_np(pthread_self(), sizeof(all), &all), 0);
    ASSERT_EQ(pthread_setaffinity_np(pthread_self(), sizeof(one), &one), 0);
    std::atomic<bool> stop{false};
    std::thread spinner([&] {
        pthread_setaffinity_np(pthread_self(), sizeof(one), &one);
        while (!stop) {
        }
    });
    const auto start = std::chrono::steady_clock::now();
    const std::chrono::nanoseconds delay = testing_support::RunDelay();
    const testing_support::OwnTime own;
    for (const std::chrono::nanoseconds worked = ThreadProcessorTime(); ThreadProcessorTime() - worked < 200ms;) {
    }
    const std::chrono::nanoseconds ownTime = own.Elapsed();
    const std::chrono::nanoseconds waited = testing_support::RunDelay() - delay;
    const std::chrono::nanoseconds wall = std::chrono::steady_clock::now() - start;
    stop = true;
    spinner.join();
    pthread_setaffinity_np(pthread_self(), sizeof(all), &all);
    EXPECT_GE(ownTime, 200ms);  // the work
    EXPECT_GT(waited, 50ms);    // the spinner's turns
    EXPECT_GE(wall - ownTime, waited / 2) << "own " << ownTime.count() << " ns, wall " << wall.count() << " ns";
}

}  // namespace
