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

struct ConstantVolumeJoint : testing::Test {
    ConstantVolumeJoint() { physics.Create(); }
    void Run(int steps) {
        for (int i = 0; i < steps; ++i) {
            physics.Step(1.0f / 60.0f);
        }
    }
    b2World& world() { return *physics.GetWorld(); }
    PhysicsWorld physics;
};

float AreaOf(const b2ConstantVolumeJoint& joint) {
    std::vector<b2Vec2> centres;
    for (int i = 0; i < joint.GetBodyCount(); ++i) {
        centres.push_back(joint.GetBodies()[i]->GetWorldCenter());
    }
    return RingArea(centres.data(), joint.GetBodyCount());
}

// The area is within 5% of the joint's target.
bool AtTarget(const b2ConstantVolumeJoint& joint) {
    return std::fabs(AreaOf(joint) - joint.GetTargetVolume()) <= 0.05f * joint.GetTargetVolume();
}

}  // namespace

// Inflated, the ring reaches its new area and stays there without drifting; then pushed hard
// against a wall, it flattens but keeps its area.
TEST_F(ConstantVolumeJoint, inflated_ring_reaches_its_new_area_and_keeps_it_against_a_wall) {
    b2BodyDef def;
    def.position.Set(16.0f, 0.0f);
    b2PolygonShape wall;
    wall.SetAsBox(1.0f, 20.0f);
    physics.CreateBody(def)->CreateFixture(&wall, 0.0f);
    b2ConstantVolumeJoint* joint = creature_ring::Make(physics, b2Vec2(5.0f, -3.0f), -2);
    ASSERT_NE(joint, nullptr);
    const float fresh = AreaOf(*joint);
    EXPECT_FLOAT_EQ(joint->GetTargetVolume(), fresh);
    const b2Vec2 centre = creature_ring::CentreOfMass(joint->GetBodies(), joint->GetBodyCount());
    joint->Inflate(1.3f);
    const float target = joint->GetTargetVolume();
    EXPECT_FLOAT_EQ(target, 1.3f * fresh);
    int steps = 0;
    for (; !AtTarget(*joint) && steps < 120; ++steps) {
        Run(1);
    }
    EXPECT_LT(steps, 120) << "area " << AreaOf(*joint) << " of " << target;
    Run(300);
    EXPECT_TRUE(AtTarget(*joint));
    const b2Vec2 after = creature_ring::CentreOfMass(joint->GetBodies(), joint->GetBodyCount());
    EXPECT_LT((after - centre).Length(), 0.05f);

    float smallest = target, largest = 0.0f, rightmost = -100.0f;
    for (int i = 0; i < 600; ++i) {
        for (int b = 0; b < joint->GetBodyCount(); ++b) {
            joint->GetBodies()[b]->ApplyForceToCenter(b2Vec2(2.0f, 0.0f), true);
        }
        Run(1);
        if (i >= 120) {
            smallest = std::min(smallest, AreaOf(*joint));
            largest = std::max(largest, AreaOf(*joint));
        }
    }
    // Every body is right against the wall's face (x = 15) or behind its neighbours, never through.
    for (int b = 0; b < joint->GetBodyCount(); ++b) {
        rightmost = std::max(rightmost, joint->GetBodies()[b]->GetPosition().x);
    }
    EXPECT_NEAR(rightmost, 14.5f, 0.1f);
    EXPECT_GT(smallest, 0.9f * target);
    EXPECT_LT(largest, 1.1f * target);
}

// Every cycle makes a ring and unmakes it (joint first, then the bodies): the world ends as it began.
TEST_F(ConstantVolumeJoint, create_destroy_cycles_leave_the_world_as_it_was) {
    b2ConstantVolumeJoint* other = creature_ring::Make(physics, b2Vec2(-20.0f, 0.0f), -3);
    ASSERT_NE(other, nullptr);
    const int32 joints = world().GetJointCount();
    const int32 bodies = world().GetBodyCount();
    for (int cycle = 0; cycle < 1000; ++cycle) {
        b2ConstantVolumeJoint* joint = creature_ring::Make(physics, b2Vec2(10.0f, 0.0f), -2);
        ASSERT_NE(joint, nullptr);
        ASSERT_EQ(world().GetJointCount(), joints + creature_ring::kBodyCount + 1);
        Run(cycle % 100 == 0 ? 1 : 0);
        std::vector<b2Body*> ring(joint->GetBodies(), joint->GetBodies() + joint->GetBodyCount());
        JointFactory::Destroy(physics, joint);
        for (b2Body* body : ring) {
            physics.DestroyBody(body);
        }
        ASSERT_EQ(world().GetJointCount(), joints);
        ASSERT_EQ(world().GetBodyCount(), bodies);
    }
    int listed = 0;
    for (b2Joint* joint = world().GetJointList(); joint != nullptr; joint = joint->GetNext()) {
        ++listed;
    }
    EXPECT_EQ(listed, joints);
    Run(1);
    EXPECT_TRUE(AtTarget(*other));
}

// Destroying a ring body through the world holder takes the ring's joint first; destroying one
// straight through Box2D (not one of the joint's first two bodies) breaks the ring for good.
TEST_F(ConstantVolumeJoint, losing_a_ring_body_never_corrupts_the_world) {
    for (bool throughHolder : {true, false}) {
        physics.Create();  // a fresh world
        b2ConstantVolumeJoint* joint = creature_ring::Make(physics, b2Vec2(0.0f, 0.0f), -2);
        ASSERT_NE(joint, nullptr);
        joint->Inflate(1.3f);
        b2Body* victim = joint->GetBodies()[10];
        throughHolder ? physics.DestroyBody(victim) : world().DestroyBody(victim);
        EXPECT_EQ(world().GetJointCount(), creature_ring::kBodyCount - (throughHolder ? 2 : 1));
        Run(60);
        for (const b2Body* body = world().GetBodyList(); body != nullptr; body = body->GetNext()) {
            EXPECT_TRUE(body->GetPosition().IsValid());
        }
    }
}

TEST_F(ConstantVolumeJoint, factory_refuses_rings_that_would_break_the_world) {
    PhysicsWorld elsewhere;
    elsewhere.Create();
    const std::vector<b2Body*> ring = creature_ring::MakeBodies(physics, b2Vec2(0.0f, 0.0f), -2);
    b2Body* foreign = creature_ring::MakeBodies(elsewhere, b2Vec2(0.0f, 0.0f), -2)[0];
    const std::vector<b2Body*> cases[] = {
        {},                                       // no bodies
        {ring[0], ring[1]},                       // two bodies
        {ring[0], ring[1], ring[2], ring[1]},     // a body twice
        {ring[0], nullptr, ring[2]},              // a null body
        {ring[0], ring[1], physics.GetGround()},  // a static body
        {ring[0], ring[1], foreign},              // a body of another world
        std::vector<b2Body*>(300, ring[0]),       // more than 256 bodies
    };
    for (const auto& bodies : cases) {
        b2ConstantVolumeJointDef def;
        def.bodies = bodies;
        EXPECT_EQ(JointFactory::Create(physics, def), nullptr) << &bodies - cases;
        EXPECT_EQ(world().GetJointCount(), 0) << &bodies - cases;
    }
    // Unusable spring values are made harmless rather than refused.
    b2ConstantVolumeJointDef def = creature_ring::JointDef(ring);
    def.frequencyHz = std::numeric_limits<float>::quiet_NaN();
    def.correctionTime = -1.0f;
    b2ConstantVolumeJoint* joint = JointFactory::Create(physics, def);
    ASSERT_NE(joint, nullptr);
    joint->Inflate(std::numeric_limits<float>::infinity());
    joint->Inflate(-2.0f);
    Run(30);
    EXPECT_TRUE(std::isfinite(joint->GetTargetVolume()));
    EXPECT_TRUE(joint->GetBodies()[0]->GetPosition().IsValid());
}
