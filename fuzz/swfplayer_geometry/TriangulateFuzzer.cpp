// Rings from bytes: per ring a header byte (low 6 bits: vertex count; bit 6: coordinates as raw
// 32-bit floats instead of small integers, which make duplicates, collinear runs and crossings
// common), then the coordinates. Every triangle corner must be one of the input's points, and
// there can be no more triangles than clips.
#include "swfplayer/base/array.h"
#include "swfplayer/main/geometry/triangulate.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t at = 0;
    std::vector<swfplayer::array<float>> rings;
    std::set<std::pair<float, float>> points;
    int vertices = 0;
    while (at < size && rings.size() < 64) {
        uint8_t header = data[at++];
        int count = header & 63;
        bool raw = (header & 64) != 0;
        swfplayer::array<float> ring;
        for (int i = 0; i < 2 * count && at < size; i++) {
            float value;
            if (raw && at + 4 <= size) {
                std::memcpy(&value, data + at, 4);
                at += 4;
            } else {
                value = static_cast<float>(static_cast<int8_t>(data[at++]) % 16);
            }
            ring.push_back(value);
        }
        for (int i = 0; i + 1 < ring.size(); i += 2) {
            // The triangulator takes coordinates that are not finite as 0.
            float x = std::isfinite(ring[i]) ? ring[i] : 0.0f;
            float y = std::isfinite(ring[i + 1]) ? ring[i + 1] : 0.0f;
            points.insert({x + 0.0f, y + 0.0f});
            vertices++;
        }
        rings.push_back(std::move(ring));
    }
    if (rings.empty()) {
        return 0;
    }
    swfplayer::array<float> result;
    swfplayer::triangulate::compute(&result, static_cast<int>(rings.size()), rings.data());
    // Each clip removes one vertex; each bridge adds two.
    if (result.size() % 6 != 0 || result.size() / 6 > vertices + 2 * static_cast<int>(rings.size())) {
        std::abort();
    }
    for (int i = 0; i + 1 < result.size(); i += 2) {
        if (!points.count({result[i] + 0.0f, result[i + 1] + 0.0f})) {
            std::abort();
        }
    }
    return 0;
}
