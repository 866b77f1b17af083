#pragma once
// Internal to the scene tests: where every body of a physics world is, to compare two moments or
// two runs of a scene exactly.

#include <box2d/b2_body.h>
#include <box2d/b2_world.h>

#include <algorithm>
#include <vector>

namespace gui_testing {

// The positions of the world's bodies in the world's order.
inline std::vector<b2Vec2> BodyPositions(const b2World& world) {
    std::vector<b2Vec2> positions;
    for (const b2Body* body = world.GetBodyList(); body != nullptr; body = body->GetNext()) {
        positions.push_back(body->GetPosition());
    }
    return positions;
}

// The farthest that a body of one list lies from its place in the other; a huge distance when the
// lists differ in length.
inline float FarthestMove(const std::vector<b2Vec2>& a, const std::vector<b2Vec2>& b) {
    float farthest = a.size() == b.size() ? 0.0f : 1e9f;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        farthest = std::max(farthest, (a[i] - b[i]).Length());
    }
    return farthest;
}

}  // namespace gui_testing
