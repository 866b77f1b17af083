#pragma once

// The creature's ring as the creature builds it: 42 circle bodies counter-clockwise around an
// ellipse with half-axes 3 and 4, joined by a constant-volume joint with 15 Hz edge springs.
// Shared by the joint's tests and the physics benchmark.

#include "game/JointFactory.h"
#include "game/PhysicsWorld.h"
#include "game/b2ConstantVolumeJoint.h"

#include <box2d/b2_body.h>
#include <box2d/b2_circle_shape.h>
#include <box2d/b2_fixture.h>

#include <cmath>
#include <vector>

namespace creature_ring {

constexpr int kBodyCount = 42;

// Ring position k lies at angle 2k * 3.1415 / 42 (3.1415, not pi, as the creature has it).
inline b2Vec2 RingPoint(const b2Vec2& centre, int k) {
    const float angle = 2.0f * static_cast<float>(k) * 3.1415f / kBodyCount;
    return centre + b2Vec2(3.0f * std::cos(angle), 4.0f * std::sin(angle));
}

inline std::vector<b2Vec2> RingPoints(const b2Vec2& centre) {
    std::vector<b2Vec2> points;
    for (int k = 0; k < kBodyCount; ++k) {
        points.push_back(RingPoint(centre, k));
    }
    return points;
}

// The ring's bodies: dynamic circles of radius 0.5, density 0.1, fixed rotation, damping 0.5, in
// the collision group (negative: they never touch each other).
inline std::vector<b2Body*> MakeBodies(PhysicsWorld& world, const b2Vec2& centre, int16 group) {
    std::vector<b2Body*> bodies;
    for (int k = 0; k < kBodyCount; ++k) {
        b2BodyDef def;
        def.type = b2_dynamicBody;
        def.fixedRotation = true;
        def.linearDamping = 0.5f;
        def.position = RingPoint(centre, k);
        b2Body* body = world.CreateBody(def);
        b2CircleShape circle;
        circle.m_radius = 0.5f;
        b2FixtureDef fixture;
        fixture.shape = &circle;
        fixture.density = 0.1f;
        fixture.friction = 0.2f;
        fixture.restitution = 0.001f;
        fixture.filter.groupIndex = group;
        body->CreateFixture(&fixture);
        bodies.push_back(body);
    }
    return bodies;
}

inline b2ConstantVolumeJointDef JointDef(const std::vector<b2Body*>& bodies) {
    b2ConstantVolumeJointDef def;
    def.bodies = bodies;
    def.frequencyHz = 15.0f;
    def.dampingRatio = 1.0f;
    return def;
}

inline b2ConstantVolumeJoint* Make(PhysicsWorld& world, const b2Vec2& centre, int16 group) {
    return JointFactory::Create(world, JointDef(MakeBodies(world, centre, group)));
}

inline b2Vec2 CentreOfMass(b2Body* const* bodies, int count) {
    b2Vec2 sum(0.0f, 0.0f);
    for (int i = 0; i < count; ++i) {
        sum += bodies[i]->GetWorldCenter();
    }
    return (1.0f / static_cast<float>(count)) * sum;
}

}  // namespace creature_ring
