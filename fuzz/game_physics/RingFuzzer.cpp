// A ring from bytes: every two bytes are one point, signed bytes in quarter units, so that
// duplicates, collinear runs, crossings and rings longer than the tracer's arrays are common.
// The traced contour must name real vertices within the limits, and the tracer and the
// constant-volume passes must keep finite positions finite.
#include "game/OutlineTracer.h"
#include "game/RingSolver.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

bool Finite(const b2Vec2& v) {
    return std::isfinite(v.x) && std::isfinite(v.y);
}

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<b2Vec2> ring;
    for (size_t at = 0; at + 1 < size; at += 2) {
        ring.emplace_back(0.25f * static_cast<int8_t>(data[at]), 0.25f * static_cast<int8_t>(data[at + 1]));
    }
    // One tracer for the whole run, so an overflow report is written once, as in the game.
    static OutlineTracer tracer;
    tracer.Trace(ring.data(), static_cast<int>(ring.size()));
    Check(tracer.GetVertexCount() <= OutlineTracer::kCapacity && tracer.GetContourCount() <= OutlineTracer::kCapacity);
    for (int k = 0; k < tracer.GetContourCount(); ++k) {
        Check(tracer.GetContour()[k] >= 0 && tracer.GetContour()[k] < tracer.GetVertexCount());
    }
    for (int v = 0; v < tracer.GetVertexCount(); ++v) {
        Check(Finite(tracer.GetVertices()[v]));
    }
    Check(std::isfinite(tracer.GetSignedArea()) && std::isfinite(tracer.GetPerimeter()));

    const int n = static_cast<int>(std::min<size_t>(ring.size(), OutlineTracer::kCapacity));
    std::vector<b2Vec2> normals(n);
    std::vector<b2Vec2> velocities(ring.rbegin(), ring.rbegin() + n);
    std::vector<float> invMass(n, 10.0f);
    std::unique_ptr<bool[]> touching(new bool[n]);
    for (int i = 0; i < n; ++i) {
        touching[i] = (data[i % size] & 1) != 0;
    }
    RingNormals(ring.data(), n, normals.data());
    SolveRingVelocity(ring.data(), velocities.data(), invMass.data(), normals.data(), n);
    const float error =
        RingVolumeError(1.3f * RingArea(ring.data(), n), RingArea(ring.data(), n), RingPerimeter(ring.data(), n), 1.0f);
    SolveRingVolume(ring.data(), normals.data(), invMass.data(), touching.get(), n, error);
    SolveRingSpikes(ring.data(), invMass.data(), n);
    for (int i = 0; i < n; ++i) {
        Check(Finite(ring[i]) && Finite(velocities[i]) && Finite(normals[i]));
    }
    return 0;
}
