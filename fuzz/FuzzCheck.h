#pragma once

#include <cstdlib>

namespace fuzz_support {

// Ends the run as a crash, which the fuzzer reports with its input, when an invariant fails.
inline void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace fuzz_support
