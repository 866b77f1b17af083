#pragma once
// The CPU time of frames drawn through Mesa's software OpenGL, which rasterises on worker threads
// of its own: glFinish only waits for them, so the calling thread's time leaves their work out.
// A frame costs what every thread of the process spends on it (the counter cpu_ms, the same as
// the CPU column of a benchmark registered with MeasureProcessCPUTime); the calling thread's part
// is shown beside it (thread_cpu_ms). Both are per iteration.

#include "platform/CpuTime.h"

#include <benchmark/benchmark.h>

namespace bench_support {

class FrameCpuClock {
public:
    // Around each timed frame.
    void Start() {
        m_ProcessStart = platform::ProcessCpuSeconds();
        m_ThreadStart = platform::ThreadCpuSeconds();
    }
    void Stop() {
        m_Process += platform::ProcessCpuSeconds() - m_ProcessStart;
        m_Thread += platform::ThreadCpuSeconds() - m_ThreadStart;
    }
    void Report(benchmark::State& state) const {
        const double frames = static_cast<double>(state.iterations());
        state.counters["cpu_ms"] = benchmark::Counter(1e3 * m_Process / frames);
        state.counters["thread_cpu_ms"] = benchmark::Counter(1e3 * m_Thread / frames);
    }

private:
    double m_ProcessStart = 0;
    double m_ThreadStart = 0;
    double m_Process = 0;
    double m_Thread = 0;
};

}  // namespace bench_support
