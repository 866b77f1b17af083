// One physics step of a match: two creature rings (42 bodies each) and ten balls in the walled
// arena, the creatures pushed towards each other so that they keep touching the balls, the walls
// and each other. The rings are held either by the constant-volume joint or, as the peer, only by
// the same stock distance joints along their edges.
#include "game/JointFactory.h"
#include "game/PhysicsWorld.h"
#include "game/b2ConstantVolumeJoint.h"
#include "tests/game/CreatureRing.h"

#include <benchmark/benchmark.h>
#include <box2d/b2_body.h>
#include <box2d/b2_circle_shape.h>
#include <box2d/b2_distance_joint.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_world.h>

#include <vector>

namespace {

constexpr float kStep = 1.0f / 60.0f;

void Wall(PhysicsWorld& physics, float x, float y, float halfWidth, float halfHeight) {
    b2BodyDef def;
    def.position.Set(x, y);
    b2PolygonShape box;
    box.SetAsBox(halfWidth, halfHeight);
    physics.CreateBody(def)->CreateFixture(&box, 0.0f);
}

void Ball(PhysicsWorld& physics, float x, float y) {
    b2BodyDef def;
    def.type = b2_dynamicBody;
    def.position.Set(x, y);
    def.linearDamping = 0.2f;
    b2CircleShape circle;
    circle.m_radius = 1.0f;
    physics.CreateBody(def)->CreateFixture(&circle, 1.0f);
}

// The creature's ring held by its edge springs alone.
void StockRing(PhysicsWorld& physics, const std::vector<b2Body*>& bodies) {
    for (size_t i = 0; i < bodies.size(); ++i) {
        b2Body* a = bodies[i];
        b2Body* b = bodies[(i + 1) % bodies.size()];
        b2DistanceJointDef edge;
        edge.Initialize(a, b, a->GetWorldCenter(), b->GetWorldCenter());
        b2LinearStiffness(edge.stiffness, edge.damping, 15.0f, 1.0f, a, b);
        edge.minLength = 0.0f;
        edge.maxLength = FLT_MAX;
        physics.GetWorld()->CreateJoint(&edge);
    }
}

struct Match {
    explicit Match(bool volumeJoints) {
        physics.Create();
        Wall(physics, 0.0f, -38.5f, 51.0f, 1.0f);
        Wall(physics, 0.0f, 38.5f, 51.0f, 1.0f);
        Wall(physics, -51.0f, 0.0f, 1.0f, 38.5f);
        Wall(physics, 51.0f, 0.0f, 1.0f, 38.5f);
        for (int i = 0; i < 10; ++i) {
            Ball(physics, -9.0f + 2.0f * static_cast<float>(i), (i % 2 == 0) ? -1.5f : 1.5f);
        }
        rings[0] = creature_ring::MakeBodies(physics, b2Vec2(-16.0f, 0.0f), -2);
        rings[1] = creature_ring::MakeBodies(physics, b2Vec2(16.0f, 0.0f), -3);
        for (const auto& ring : rings) {
            if (volumeJoints) {
                JointFactory::Create(physics, creature_ring::JointDef(ring))->Inflate(1.3f);
            } else {
                StockRing(physics, ring);
            }
        }
        // Let the rings settle before timing.
        for (int i = 0; i < 60; ++i) {
            Step();
        }
    }

    void Step() {
        for (int side = 0; side < 2; ++side) {
            const b2Vec2 push(side == 0 ? 0.3f : -0.3f, 0.0f);
            for (b2Body* body : rings[side]) {
                body->ApplyForceToCenter(push, true);
            }
        }
        physics.Step(kStep);
    }

    PhysicsWorld physics;
    std::vector<b2Body*> rings[2];
};

void BM_WorldStep_ConstantVolumeRings(benchmark::State& state) {
    Match match(true);
    for (auto _ : state) {
        match.Step();
    }
}

void BM_WorldStep_StockDistanceRings(benchmark::State& state) {
    Match match(false);
    for (auto _ : state) {
        match.Step();
    }
}

}  // namespace

BENCHMARK(BM_WorldStep_ConstantVolumeRings);
BENCHMARK(BM_WorldStep_StockDistanceRings);
