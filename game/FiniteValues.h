#pragma once

#include <box2d/b2_math.h>

#include <algorithm>
#include <cmath>

// Numbers read from level files are made safe once, on reading, before the physics engine or
// any drawing sees them: a value that is not finite counts as 0, and positions stay within
// kMaxCoordinate units of the origin, far beyond any arena but well inside what Box2D's float
// arithmetic handles.
namespace finite_values {

// The largest distance from the origin, in world units, of any position in a level.
constexpr float kMaxCoordinate = 1000.0f;

inline float OrZero(float value) {
    return std::isfinite(value) ? value : 0.0f;
}

// Finite, then clamped to [-limit, limit].
inline float Clamped(float value, float limit) {
    return std::clamp(OrZero(value), -limit, limit);
}

inline float Coordinate(float value) {
    return Clamped(value, kMaxCoordinate);
}

inline b2Vec2 Position(const b2Vec2& v) {
    return b2Vec2(Coordinate(v.x), Coordinate(v.y));
}

}  // namespace finite_values
