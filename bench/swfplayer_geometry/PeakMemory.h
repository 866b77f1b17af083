#pragma once

#include <cstddef>

namespace bench_geometry {

// Peak heap use of a stretch of code, from counting every malloc and free of the process. In
// sanitizer builds, whose allocator must not be replaced, nothing is counted and Available()
// is false.
class PeakMemory {
public:
    // Starts a measurement at the current heap use.
    PeakMemory();
    // Bytes above the starting use at the highest point since construction.
    size_t PeakBytes() const;
    static bool Available();

private:
    size_t m_Start;
};

}  // namespace bench_geometry
