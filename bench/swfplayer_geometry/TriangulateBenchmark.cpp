// Our triangulator against Mesa's GLU tessellator (triangles only, even-odd rule) on the same
// outlines, from 10 to 100,000 vertices. Each run reports its vertex and triangle counts and
// the peak heap use of one call.
#include "bench/swfplayer_geometry/BenchShapes.h"
#include "bench/swfplayer_geometry/GluTriangulator.h"
#include "bench/swfplayer_geometry/PeakMemory.h"
#include "swfplayer/base/array.h"
#include "swfplayer/main/geometry/triangulate.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <string>
#include <vector>

namespace bench_geometry {

namespace {

std::vector<swfplayer::array<float>> ToPaths(const Rings& rings) {
    std::vector<swfplayer::array<float>> paths(rings.size());
    for (size_t i = 0; i < rings.size(); i++) {
        paths[i].resize(static_cast<int>(rings[i].size()));
        std::copy(rings[i].begin(), rings[i].end(), paths[i].begin());
    }
    return paths;
}

void Report(benchmark::State& state, const Rings& rings, size_t triangle_floats, size_t peak_bytes) {
    state.counters["vertices"] = VertexCount(rings);
    state.counters["triangles"] = static_cast<double>(triangle_floats / 6);
    if (PeakMemory::Available()) {
        state.counters["peak_kB"] = static_cast<double>(peak_bytes) / 1024.0;
    }
}

void Ours(benchmark::State& state, const Rings& rings) {
    std::vector<swfplayer::array<float>> paths = ToPaths(rings);
    swfplayer::array<float> result;
    size_t peak;
    {
        PeakMemory memory;
        swfplayer::triangulate::compute(&result, static_cast<int>(paths.size()), paths.data());
        peak = memory.PeakBytes();
    }
    for (auto _ : state) {
        swfplayer::triangulate::compute(&result, static_cast<int>(paths.size()), paths.data());
        benchmark::DoNotOptimize(result.size());
    }
    Report(state, rings, static_cast<size_t>(result.size()), peak);
}

void Glu(benchmark::State& state, const Rings& rings) {
    GluTriangulator tess(rings);
    size_t triangle_floats;
    size_t peak;
    {
        PeakMemory memory;
        triangle_floats = tess.Run().size();
        peak = memory.PeakBytes();
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(tess.Run().size());
    }
    Report(state, rings, triangle_floats, peak);
}

struct Shape {
    const char* name;
    Rings (*make)(int);
    std::vector<int> sizes;
    int glu_limit;  // GLU runs up to this size only: beyond, its time grows quadratically
};

// Registers, for every shape and size, our run and GLU's run next to each other.
const bool g_Registered = [] {
    const std::vector<int> sizes = {10, 100, 1000, 10000, 100000};
    // GLU takes about a minute on the star and far longer on the comb at 100,000 vertices.
    const Shape shapes[] = {
        {"convex", Convex, sizes, 100000}, {"star", Star, sizes, 10000},
        {"spiral", Spiral, sizes, 100000}, {"comb", Comb, sizes, 10000},
        {"glyph", Glyph, sizes, 100000},   {"holes1024", ManyHoles, {4000, 10000, 100000}, 100000},
    };
    for (const Shape& shape : shapes) {
        for (int n : shape.sizes) {
            Rings rings = shape.make(n);
            std::string suffix = std::string(shape.name) + "/" + std::to_string(n);
            benchmark::RegisterBenchmark(("triangulate/ours/" + suffix).c_str(), [rings](benchmark::State& state) {
                Ours(state, rings);
            })->Unit(benchmark::kMicrosecond);
            if (n <= shape.glu_limit) {
                benchmark::RegisterBenchmark(("triangulate/glu/" + suffix).c_str(), [rings](benchmark::State& state) {
                    Glu(state, rings);
                })->Unit(benchmark::kMicrosecond);
            }
        }
    }
    return true;
}();

}  // namespace

}  // namespace bench_geometry
