#pragma once

// Counts the heap allocations made through operator new while a counter lives. The test program
// replaces operator new for this (AllocationCounter.cpp); one counter at a time.

namespace testing_support {

class AllocationCounter {
public:
    AllocationCounter();
    ~AllocationCounter();
    AllocationCounter(const AllocationCounter&) = delete;
    AllocationCounter& operator=(const AllocationCounter&) = delete;

    // Stops counting and gives the allocations made since the counter was made.
    long Stop();
};

}  // namespace testing_support
