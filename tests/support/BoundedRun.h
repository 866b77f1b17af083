#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>

namespace testing_support {

// How a piece of work run by RunBounded ended.
struct BoundedRun {
    bool finished = false;  // the work returned within the time limit
    bool timedOut = false;  // killed at the time limit
    double seconds = 0.0;   // of the child's own time (see RunBounded), until it ended or was killed
    // The most memory the work held at once beyond what the child held when it started, in bytes
    // (0 when the work did not finish): of resident memory, or of the heap in sanitizer builds
    // (see RunBounded).
    size_t peakGrowth = 0;
    // A line for a failed expectation: how the run ended.
    std::string Describe() const;
};

// How many times as long RunBounded grants in a sanitizer build (1 in others).
extern const int kSanitizerSlowdown;

// Runs work in a child process (forked from this one) and lets it take at most timeout of its
// own time: the wall-clock time since the fork less the time the child stood ready to run while
// the machine's processors were busy with other work (see OwnTime). A busy machine thus stretches
// the wall-clock time the work takes, not the time it is granted. The child may take at most
// memoryLimit bytes of address space beyond what the process holds at the fork (an allocation
// past that fails in the child). Sanitizer builds reserve address space by the terabyte, and
// their allocator keeps hundreds of megabytes of freed blocks resident (its quarantine, which
// catches later uses of them), so there no limit is set and the peak is that of the bytes the
// work holds on the heap; as they run script about twenty times slower, they grant
// kSanitizerSlowdown times as long. Hostile work that hangs or eats the machine thus fails the
// test within its time, and leaves the test process as it was.
BoundedRun RunBounded(const std::function<void()>& work, std::chrono::milliseconds timeout, size_t memoryLimit);

// A check inside bounded work: when the condition is false, the work ends there (an exception
// naming what was required), and so the run does not finish.
inline void Require(bool condition, const std::string& what) {
    if (!condition) {
        throw std::runtime_error(what);
    }
}

}  // namespace testing_support
