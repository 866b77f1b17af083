#pragma once

#include <chrono>

namespace testing_support {

// A stopwatch of what the calling thread does itself: the wall-clock time since it started, less
// the time the thread stood ready to run while the machine's processors were busy with other
// work (the run delay the kernel keeps for each thread). What is left is the time the thread ran
// and the time it waited of its own accord, in a sleep, a poll or a blocking call; so a check of
// how long code waits holds on a busy machine, whose wall clock stretches by however long the
// machine keeps the thread from running. Made and read on the same thread; throws
// std::runtime_error when the kernel does not tell the run delay.
class OwnTime {
public:
    OwnTime();

    std::chrono::nanoseconds Elapsed() const;

private:
    std::chrono::steady_clock::time_point m_Start;
    std::chrono::nanoseconds m_StartDelay{0};
};

}  // namespace testing_support
