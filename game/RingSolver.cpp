#include "game/RingSolver.h"

namespace {

b2Vec2 Unit(b2Vec2 v) {
    v.Normalize();
    return v;
}

}  // namespace

float RingArea(const b2Vec2* c, int n) {
    float sum = 0.0f;
    for (int i = 0; i < n; ++i) {
        sum += b2Cross(c[i], c[(i + 1) % n]);
    }
    return 0.5f * b2Abs(sum);
}

float RingPerimeter(const b2Vec2* c, int n) {
    float sum = 0.0f;
    for (int i = 0; i < n; ++i) {
        sum += (c[(i + 1) % n] - c[i]).Length();
    }
    return sum;
}

void RingNormals(const b2Vec2* c, int n, b2Vec2* normals) {
    for (int i = 0; i < n; ++i) {
        const b2Vec2 e1 = Unit(c[i] - c[(i + n - 1) % n]);
        const b2Vec2 e2 = Unit(c[(i + 1) % n] - c[i]);
        normals[i] = Unit(b2Vec2(e1.y + e2.y, -(e1.x + e2.x)));
    }
}

float SolveRingVelocity(const b2Vec2* c, b2Vec2* v, const float* invMass, const b2Vec2* normals, int n) {
    float s1 = 0.0f;
    float s2 = 0.0f;
    for (int i = 0; i < n; ++i) {
        const b2Vec2 d = c[(i + 1) % n] - c[i];
        s1 += d.LengthSquared() * invMass[i];
        s2 += v[i].x * d.y - v[i].y * d.x;
    }
    if (s1 <= 0.0f) {
        return 0.0f;
    }
    const float lambda = -2.0f * s2 / s1;
    for (int i = 0; i < n; ++i) {
        v[i] += (invMass[i] * 0.5f * lambda) * normals[i];
    }
    return lambda;
}

bool SolveRingVolume(b2Vec2* c, const b2Vec2* normals, const float* invMass, const bool* touching, int n, float error) {
    bool done = true;
    for (int i = 0; i < n; ++i) {
        b2Vec2 delta = error * normals[i];
        const float length = delta.Length();
        if (length > kMaxVolumeStep) {
            delta *= kMaxVolumeStep / length;
        }
        if (length > kVolumeSlop) {
            done = false;
        }
        if (invMass[i] > 0.0f) {
            c[i] += touching[i] ? delta : kFreeBodyShare * delta;
        }
    }
    return done;
}

bool SolveRingSpikes(b2Vec2* c, const float* invMass, int n) {
    bool done = true;
    for (int i = 0; i < n; ++i) {
        const b2Vec2 a = Unit(c[(i + n - 1) % n] - c[i]);
        const b2Vec2 b = Unit(c[(i + 1) % n] - c[i]);
        if (b2Dot(a, b) > 0.0f) {
            done = false;
            if (invMass[i] > 0.0f) {
                c[i] += kSpikeStep * Unit(0.5f * (a + b));
            }
        }
    }
    return done;
}

float RingVolumeError(float targetArea, float area, float perimeter, float share) {
    if (!(perimeter > 0.0f)) {
        return 0.0f;
    }
    return (targetArea - area) * 0.5f / perimeter * share;
}
