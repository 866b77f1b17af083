// Our triangulator against Mesa's GLU tessellator (triangles only, even-odd rule) on the same
// outlines, from 10 to 100,000 vertices; each run reports its vertex and triangle counts. Judged
// side by side on the minimum and the median of interleaved repetitions:
//   bench_swfplayer_geometry --benchmark_enable_random_interleaving=true --benchmark_repetitions=10
//       --benchmark_report_aggregates_only=true
// Peak heap use is measured by geometry_peak_memory, a program of its own: counting every
// allocation would slow the timed loops down, GLU's (which allocates far more) the most.
#include "bench/swfplayer_geometry/BenchShapes.h"
#include "bench/swfplayer_geometry/GluTriangulator.h"
#include "swfplayer/main/geometry/triangulate.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

namespace bench_geometry {

namespace {

void Report(benchmark::State& state, const Rings& rings, size_t triangle_floats) {
    state.counters["vertices"] = VertexCount(rings);
    state.counters["triangles"] = static_cast<double>(triangle_floats / 6);
}

// The fastest repetition, reported beside the median.
double Min(const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
}

void Ours(benchmark::State& state, const Rings& rings) {
    std::vector<swfplayer::array<float>> paths = ToPaths(rings);
    swfplayer::array<float> result;
    for (auto _ : state) {
        swfplayer::triangulate::compute(&result, static_cast<int>(paths.size()), paths.data());
        benchmark::DoNotOptimize(result.size());
    }
    Report(state, rings, static_cast<size_t>(result.size()));
}

void Glu(benchmark::State& state, const Rings& rings) {
    GluTriangulator tess(rings);
    size_t triangle_floats = 0;
    for (auto _ : state) {
        triangle_floats = tess.Run().size();
        benchmark::DoNotOptimize(triangle_floats);
    }
    Report(state, rings, triangle_floats);
}

// Registers, for every shape and size, our run and GLU's run next to each other.
const bool g_Registered = [] {
    for (const ShapeCase& shape : TriangulateCases()) {
        for (int n : shape.sizes) {
            Rings rings = shape.make(n);
            std::string suffix = std::string(shape.name) + "/" + std::to_string(n);
            benchmark::RegisterBenchmark(("triangulate/ours/" + suffix).c_str(),
                                         [rings](benchmark::State& state) { Ours(state, rings); })
                ->Unit(benchmark::kMicrosecond)
                ->ComputeStatistics("min", Min);
            if (n <= shape.glu_limit) {
                benchmark::RegisterBenchmark(("triangulate/glu/" + suffix).c_str(),
                                             [rings](benchmark::State& state) { Glu(state, rings); })
                    ->Unit(benchmark::kMicrosecond)
                    ->ComputeStatistics("min", Min);
            }
        }
    }
    return true;
}();

}  // namespace

}  // namespace bench_geometry
