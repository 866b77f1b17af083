#include "tests/support/OwnTime.h"

#include <fstream>
#include <stdexcept>
#include <tuple>
#include <utility>

namespace testing_support {

namespace {

// The calling thread's run delay so far: the second of the three figures of its schedstat file
// (time on a processor, time waiting for one, time slices), in nanoseconds.
std::chrono::nanoseconds RunDelay() {
    std::ifstream file("/proc/thread-self/schedstat");
    long long running = 0;
    long long waiting = 0;
    if (!(file >> running >> waiting)) {
        throw std::runtime_error("OwnTime: /proc/thread-self/schedstat does not tell the run delay");
    }
    return std::chrono::nanoseconds(waiting);
}

// The wall clock and the run delay at one moment: read again while the thread waited for a
// processor between reading the one and the other, which would count that wait on one side only.
std::pair<std::chrono::steady_clock::time_point, std::chrono::nanoseconds> Now() {
    for (;;) {
        const std::chrono::nanoseconds before = RunDelay();
        const std::chrono::steady_clock::time_point now = std::chrono::steady_clock::now();
        if (RunDelay() == before) {
            return {now, before};
        }
    }
}

}  // namespace

OwnTime::OwnTime() {
    std::tie(m_Start, m_StartDelay) = Now();
}

std::chrono::nanoseconds OwnTime::Elapsed() const {
    const auto [now, delay] = Now();
    return now - m_Start - (delay - m_StartDelay);
}

}  // namespace testing_support
