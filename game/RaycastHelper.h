#pragma once

#include <box2d/b2_math.h>
#include <box2d/b2_world_callbacks.h>

class b2World;

// Line of sight for the bots: a ray that only the level blocks. Bodies in the body registry
// (creatures, their parts, balls) are passed through; the first fixture of any other body
// (walls, rocks, mills, the green fills of outlines alike) blocks it.
class RaycastHelper : public b2RayCastCallback {
public:
    // Casts from `from` to `to` and answers whether nothing blocked it. A ray without length (the
    // two points the same) or without a direction (not finite) is never cast, which the physics
    // engine does not allow, and counts as clear; so does any ray without a world.
    bool IsClear(const b2World* world, const b2Vec2& from, const b2Vec2& to);

    // Registered bodies: -1, ignored and the cast goes on; anything else: not clear, and 0, the
    // cast stops.
    float ReportFixture(b2Fixture* fixture, const b2Vec2& point, const b2Vec2& normal, float fraction) override;

    // Set to true before each cast; false once something blocked the last one.
    bool m_Clear = true;
};
