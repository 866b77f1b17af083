#include "tests/support/OwnTime.h"

#include <fstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>

namespace testing_support {

namespace {

// The wall clock and the thread's run delay (see RunDelay) at one moment: read again while the
// thread waited for a processor between reading the one and the other, which would count that
// wait on one side only.
std::pair<std::chrono::steady_clock::time_point, std::chrono::nanoseconds> Now(pid_t pid) {
    for (;;) {
        const std::chrono::nanoseconds before = RunDelay(pid);
        const std::chrono::steady_clock::time_point now = std::chrono::steady_clock::now();
        if (RunDelay(pid) == before) {
            return {now, before};
        }
    }
}

}  // namespace

// The second of the three figures of the thread's schedstat file (time on a processor, time
// waiting for one, time slices), in nanoseconds.
std::chrono::nanoseconds RunDelay(pid_t pid) {
    const std::string path = pid == 0 ? "/proc/thread-self/schedstat" : "/proc/" + std::to_string(pid) + "/schedstat";
    std::ifstream file(path);
    long long running = 0;
    long long waiting = 0;
    if (!(file >> running >> waiting)) {
        throw std::runtime_error("RunDelay: " + path + " does not tell the run delay");
    }
    return std::chrono::nanoseconds(waiting);
}

OwnTime::OwnTime(pid_t pid) : m_Pid(pid) {
    std::tie(m_Start, m_StartDelay) = Now(m_Pid);
}

std::chrono::nanoseconds OwnTime::Elapsed() const {
    const auto [now, delay] = Now(m_Pid);
    return now - m_Start - (delay - m_StartDelay);
}

}  // namespace testing_support
