#include "game/BodyRegistry.h"
#include "game/JointFactory.h"
#include "game/PhysicsWorld.h"
#include "game/RingSolver.h"
#include "game/b2ConstantVolumeJoint.h"
#include "tests/game/CreatureRing.h"

#include <box2d/b2_body.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_world.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr float kStep = 1.0f / 60.0f;

struct World {
    World() { physics.Create(); }
    b2World& world() { return *physics.GetWorld(); }
    PhysicsWorld physics;
};

b2Body* StaticBox(PhysicsWorld& physics, const b2Vec2& centre, const b2Vec2& halfSize) {
    b2BodyDef def;
    def.position = centre;
    b2Body* body = physics.CreateBody(def);
    b2PolygonShape box;
    box.SetAsBox(halfSize.x, halfSize.y);
    body->CreateFixture(&box, 0.0f);
    return body;
}

float AreaOf(const b2ConstantVolumeJoint& joint) {
    std::vector<b2Vec2> centres;
    for (int i = 0; i < joint.GetBodyCount(); ++i) {
        centres.push_back(joint.GetBodies()[i]->GetWorldCenter());
    }
    return RingArea(centres.data(), joint.GetBodyCount());
}

}  // namespace

TEST(ConstantVolumeJoint, inflated_ring_reaches_its_new_area_without_drifting) {
    World w;
    b2ConstantVolumeJoint* joint = creature_ring::Make(w.physics, b2Vec2(5.0f, -3.0f), -2);
    ASSERT_NE(joint, nullptr);
    const float fresh = AreaOf(*joint);
    EXPECT_FLOAT_EQ(joint->GetTargetVolume(), fresh);
    const b2Vec2 centre = creature_ring::CentreOfMass(joint->GetBodies(), joint->GetBodyCount());
    joint->Inflate(1.3f);
    EXPECT_FLOAT_EQ(joint->GetTargetVolume(), 1.3f * fresh);

    int steps = 0;
    while (std::fabs(AreaOf(*joint) - joint->GetTargetVolume()) > 0.05f * joint->GetTargetVolume() && steps < 120) {
        w.physics.Step(kStep);
        ++steps;
    }
    EXPECT_LT(steps, 120) << "area " << AreaOf(*joint) << " of " << joint->GetTargetVolume();
    // It stays there, and the blob as a whole stays put.
    for (int i = 0; i < 300; ++i) {
        w.physics.Step(kStep);
    }
    EXPECT_NEAR(AreaOf(*joint), joint->GetTargetVolume(), 0.05f * joint->GetTargetVolume());
    const b2Vec2 after = creature_ring::CentreOfMass(joint->GetBodies(), joint->GetBodyCount());
    EXPECT_LT((after - centre).Length(), 0.05f);
}

// Pushed hard against a wall, the ring flattens but keeps its area.
TEST(ConstantVolumeJoint, ring_pressed_against_a_wall_keeps_its_area) {
    World w;
    StaticBox(w.physics, b2Vec2(10.0f, 0.0f), b2Vec2(1.0f, 20.0f));
    b2ConstantVolumeJoint* joint = creature_ring::Make(w.physics, b2Vec2(4.0f, 0.0f), -2);
    ASSERT_NE(joint, nullptr);
    joint->Inflate(1.3f);
    const float target = joint->GetTargetVolume();
    float smallest = target;
    float largest = 0.0f;
    for (int i = 0; i < 600; ++i) {
        for (int b = 0; b < joint->GetBodyCount(); ++b) {
            joint->GetBodies()[b]->ApplyForceToCenter(b2Vec2(2.0f, 0.0f), true);
        }
        w.physics.Step(kStep);
        if (i >= 120) {
            smallest = std::min(smallest, AreaOf(*joint));
            largest = std::max(largest, AreaOf(*joint));
        }
    }
    // Every body is right against the wall's face (x = 9) or behind its neighbours, never through.
    float rightmost = -100.0f;
    for (int b = 0; b < joint->GetBodyCount(); ++b) {
        rightmost = std::max(rightmost, joint->GetBodies()[b]->GetPosition().x);
    }
    EXPECT_NEAR(rightmost, 8.5f, 0.1f);
    EXPECT_GT(smallest, 0.9f * target);
    EXPECT_LT(largest, 1.1f * target);
}

// Every cycle makes a ring and unmakes it (joint first, then the bodies): the world ends as it began.
TEST(ConstantVolumeJoint, create_destroy_cycles_leave_the_world_as_it_was) {
    World w;
    b2ConstantVolumeJoint* other = creature_ring::Make(w.physics, b2Vec2(-20.0f, 0.0f), -3);
    ASSERT_NE(other, nullptr);
    const int32 joints = w.world().GetJointCount();
    const int32 bodies = w.world().GetBodyCount();
    for (int cycle = 0; cycle < 1000; ++cycle) {
        b2ConstantVolumeJoint* joint = creature_ring::Make(w.physics, b2Vec2(10.0f, 0.0f), -2);
        ASSERT_NE(joint, nullptr);
        ASSERT_EQ(w.world().GetJointCount(), joints + creature_ring::kBodyCount + 1);
        if (cycle % 100 == 0) {
            w.physics.Step(kStep);
        }
        std::vector<b2Body*> ring(joint->GetBodies(), joint->GetBodies() + joint->GetBodyCount());
        JointFactory::Destroy(w.physics, joint);
        for (b2Body* body : ring) {
            w.physics.DestroyBody(body);
        }
        ASSERT_EQ(w.world().GetJointCount(), joints);
        ASSERT_EQ(w.world().GetBodyCount(), bodies);
    }
    int listed = 0;
    for (b2Joint* joint = w.world().GetJointList(); joint != nullptr; joint = joint->GetNext()) {
        ++listed;
    }
    EXPECT_EQ(listed, joints);
    w.physics.Step(kStep);
    EXPECT_NEAR(AreaOf(*other), other->GetTargetVolume(), 0.05f * other->GetTargetVolume());
}

// Destroying a ring body through the world holder takes the ring's joint first; destroying one
// straight through Box2D (not one of the joint's first two bodies) breaks the ring for good.
TEST(ConstantVolumeJoint, losing_a_ring_body_never_corrupts_the_world) {
    for (bool throughHolder : {true, false}) {
        World w;
        b2ConstantVolumeJoint* joint = creature_ring::Make(w.physics, b2Vec2(0.0f, 0.0f), -2);
        ASSERT_NE(joint, nullptr);
        joint->Inflate(1.3f);
        b2Body* victim = joint->GetBodies()[10];
        if (throughHolder) {
            w.physics.DestroyBody(victim);
            EXPECT_EQ(w.world().GetJointCount(), creature_ring::kBodyCount - 2);
        } else {
            w.world().DestroyBody(victim);
            EXPECT_EQ(w.world().GetJointCount(), creature_ring::kBodyCount - 1);
        }
        for (int i = 0; i < 60; ++i) {
            w.physics.Step(kStep);
        }
        for (const b2Body* body = w.world().GetBodyList(); body != nullptr; body = body->GetNext()) {
            EXPECT_TRUE(body->GetPosition().IsValid());
        }
    }
}

TEST(ConstantVolumeJoint, factory_refuses_rings_that_would_break_the_world) {
    World w;
    World elsewhere;
    const std::vector<b2Body*> ring = creature_ring::MakeBodies(w.physics, b2Vec2(0.0f, 0.0f), -2);
    const std::vector<b2Body*> foreign = creature_ring::MakeBodies(elsewhere.physics, b2Vec2(0.0f, 0.0f), -2);
    b2Body* ground = w.physics.GetGround();
    const struct {
        const char* name;
        std::vector<b2Body*> bodies;
    } cases[] = {
        {"no bodies", {}},
        {"two bodies", {ring[0], ring[1]}},
        {"a body twice", {ring[0], ring[1], ring[2], ring[1]}},
        {"a null body", {ring[0], nullptr, ring[2]}},
        {"a static body", {ring[0], ring[1], ground}},
        {"a body of another world", {ring[0], ring[1], foreign[0]}},
        {"more than 256 bodies", std::vector<b2Body*>(300, ring[0])},
    };
    for (const auto& c : cases) {
        b2ConstantVolumeJointDef def;
        def.bodies = c.bodies;
        EXPECT_EQ(JointFactory::Create(w.physics, def), nullptr) << c.name;
        EXPECT_EQ(w.world().GetJointCount(), 0) << c.name;
    }
    // Unusable spring values are made harmless rather than refused.
    b2ConstantVolumeJointDef def = creature_ring::JointDef(ring);
    def.frequencyHz = std::numeric_limits<float>::quiet_NaN();
    def.correctionTime = -1.0f;
    b2ConstantVolumeJoint* joint = JointFactory::Create(w.physics, def);
    ASSERT_NE(joint, nullptr);
    joint->Inflate(std::numeric_limits<float>::infinity());
    joint->Inflate(-2.0f);
    for (int i = 0; i < 30; ++i) {
        w.physics.Step(kStep);
    }
    EXPECT_TRUE(std::isfinite(joint->GetTargetVolume()));
    EXPECT_TRUE(joint->GetBodies()[0]->GetPosition().IsValid());
}
