// geometry_peak_memory: the peak heap use of one call of our triangulator and of GLU's on each
// outline of the triangulation benchmarks, in kB. A program of its own, because it counts every
// allocation of the process, which would slow down any timing beside it.
#include "bench/swfplayer_geometry/BenchShapes.h"
#include "bench/swfplayer_geometry/GluTriangulator.h"
#include "bench/swfplayer_geometry/PeakMemory.h"
#include "swfplayer/main/geometry/triangulate.h"

#include <cstdio>

int main() {
    using namespace bench_geometry;
    if (!PeakMemory::Available()) {
        std::printf("peak memory is not counted in this build\n");
        return 1;
    }
    std::printf("%-12s %8s %12s %12s\n", "outline", "vertices", "ours_kB", "glu_kB");
    for (const ShapeCase& shape : TriangulateCases()) {
        for (int n : shape.sizes) {
            const Rings rings = shape.make(n);
            std::vector<swfplayer::array<float>> paths = ToPaths(rings);
            swfplayer::array<float> result;
            size_t ours = 0;
            {
                PeakMemory memory;
                swfplayer::triangulate::compute(&result, static_cast<int>(paths.size()), paths.data());
                ours = memory.PeakBytes();
            }
            std::printf("%-12s %8d %12.1f", shape.name, VertexCount(rings), static_cast<double>(ours) / 1024.0);
            if (n <= shape.glu_limit) {
                GluTriangulator tess(rings);
                PeakMemory memory;
                tess.Run();
                std::printf(" %12.1f", static_cast<double>(memory.PeakBytes()) / 1024.0);
            }
            std::printf("\n");
        }
    }
    return 0;
}
