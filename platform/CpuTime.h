#pragma once

namespace platform {

// Seconds of CPU time spent so far by every thread of the process together, and by the calling
// thread alone. Only differences between two readings mean anything.
double ProcessCpuSeconds();
double ThreadCpuSeconds();

}  // namespace platform
