#include "bench/swfplayer_geometry/GluTriangulator.h"

#include <algorithm>

namespace bench_geometry {

std::vector<swfplayer::array<float>> ToPaths(const Rings& rings) {
    std::vector<swfplayer::array<float>> paths(rings.size());
    for (size_t i = 0; i < rings.size(); i++) {
        paths[i].resize(static_cast<int>(rings[i].size()));
        std::copy(rings[i].begin(), rings[i].end(), paths[i].begin());
    }
    return paths;
}

}  // namespace bench_geometry
