#pragma once

#include <sys/types.h>

#include <chrono>

namespace testing_support {

// The time a thread has stood ready to run while the machine's processors were busy with other
// work, since it started: the run delay the kernel keeps for each thread. Of the calling thread
// when pid is 0, else of the first thread of process pid (a child's only one, after a fork).
// Throws std::runtime_error when the kernel does not tell.
std::chrono::nanoseconds RunDelay(pid_t pid = 0);

// A stopwatch of what a thread does itself: the wall-clock time since it started, less the
// thread's run delay in that time. What is left is the time the thread ran and the time it waited
// of its own accord, in a sleep, a poll or a blocking call; so a check of how long code waits or
// works holds on a busy machine, whose wall clock stretches by however long the machine keeps the
// thread from running. Of the calling thread when pid is 0 (then made and read on that thread),
// else of the first thread of process pid, which must not be reaped while the stopwatch is read.
class OwnTime {
public:
    explicit OwnTime(pid_t pid = 0);

    std::chrono::nanoseconds Elapsed() const;

private:
    pid_t m_Pid;
    std::chrono::steady_clock::time_point m_Start;
    std::chrono::nanoseconds m_StartDelay{0};
};

}  // namespace testing_support
