#include "game/JointFactory.h"
#include "game/PhysicsWorld.h"
#include "game/b2RevoluteSpringJointDef.h"

#include <box2d/b2_body.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_world.h>
#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float kStep = 1.0f / 60.0f;

// A 2 x 0.5 plank of density 1 pinned to the ground at its centre by a revolute spring, turned by
// `deflection` from the angle the spring pulls it back to and spinning at `spin`.
struct Pendulum {
    Pendulum(float deflection, float stiffness, float maxTorque, float spin = 0.0f) {
        physics.Create();
        b2BodyDef def;
        def.type = b2_dynamicBody;
        def.position.Set(3.0f, 2.0f);
        plank = physics.CreateBody(def);
        b2PolygonShape box;
        box.SetAsBox(1.0f, 0.25f);
        plank->CreateFixture(&box, 1.0f);
        b2RevoluteSpringJointDef spring;
        spring.Initialize(physics.GetGround(), plank, plank->GetPosition());
        spring.stiffness = stiffness;
        spring.maxMotorTorque = maxTorque;
        joint = JointFactory::Create(physics, spring);
        plank->SetTransform(plank->GetPosition(), deflection);
        plank->SetAngularVelocity(spin);
    }
    PhysicsWorld physics;
    b2Body* plank = nullptr;
    b2RevoluteJoint* joint = nullptr;
};

}  // namespace

TEST(RevoluteSpring, drives_back_at_stiffness_times_deflection_within_its_torque) {
    const struct {
        const char* name;
        float deflection;
        float stiffness;
        float maxTorque;
        float expectedSpin;
    } cases[] = {
        {"0.5 rad at stiffness 4", 0.5f, 4.0f, 1000.0f, -2.0f},
        {"the other way", -0.5f, 4.0f, 1000.0f, 2.0f},
        {"at rest where it belongs", 0.0f, 4.0f, 1000.0f, 0.0f},
        // The torque cap allows a change of angular velocity of torque * dt / inertia per step.
        {"capped torque", 0.5f, 4.0f, 0.5f, -0.5f * kStep / (1.0f * (4.0f + 0.25f) / 12.0f)},
        {"stiffness that is not a number counts as 0", 0.5f, NAN, 1000.0f, 0.0f},
        {"torque that is not a number counts as 0", 0.5f, 4.0f, NAN, 0.0f},
    };
    for (const auto& c : cases) {
        Pendulum pendulum(c.deflection, c.stiffness, c.maxTorque);
        ASSERT_NE(pendulum.joint, nullptr) << c.name;
        pendulum.physics.Step(kStep);
        EXPECT_NEAR(pendulum.plank->GetAngularVelocity(), c.expectedSpin, 0.02f) << c.name;
    }
}

TEST(RevoluteSpring, without_stiffness_it_brakes) {
    Pendulum pendulum(0.0f, 0.0f, 0.5f, 5.0f);
    ASSERT_NE(pendulum.joint, nullptr);
    float spin = pendulum.plank->GetAngularVelocity();
    for (int i = 0; i < 10; ++i) {
        pendulum.physics.Step(kStep);
        EXPECT_LT(pendulum.plank->GetAngularVelocity(), spin);
        spin = pendulum.plank->GetAngularVelocity();
    }
    for (int i = 0; i < 600; ++i) {
        pendulum.physics.Step(kStep);
    }
    EXPECT_NEAR(pendulum.plank->GetAngularVelocity(), 0.0f, 1e-4f);
}

// A spring that goes, with its joint or with its body, is no longer driven.
TEST(RevoluteSpring, is_forgotten_when_its_joint_or_body_goes) {
    for (bool destroyJoint : {true, false}) {
        Pendulum pendulum(0.5f, 4.0f, 1000.0f);
        ASSERT_NE(pendulum.joint, nullptr);
        if (destroyJoint) {
            JointFactory::Destroy(pendulum.physics, pendulum.joint);
            pendulum.physics.Step(kStep);
            EXPECT_FLOAT_EQ(pendulum.plank->GetAngularVelocity(), 0.0f);
        } else {
            pendulum.physics.DestroyBody(pendulum.plank);
            pendulum.physics.Step(kStep);
        }
        EXPECT_EQ(pendulum.physics.GetWorld()->GetJointCount(), 0);
    }
}

TEST(JointFactory, passes_other_joint_types_to_box2d_and_refuses_unusable_ones) {
    PhysicsWorld physics;
    physics.Create();
    PhysicsWorld elsewhere;
    elsewhere.Create();
    b2BodyDef def;
    def.type = b2_dynamicBody;
    b2Body* body = physics.CreateBody(def);
    b2Body* foreign = elsewhere.CreateBody(def);
    b2RevoluteJointDef revolute;
    revolute.Initialize(physics.GetGround(), body, b2Vec2(0.0f, 0.0f));
    b2Joint* joint = JointFactory::Create(physics, revolute);
    ASSERT_NE(joint, nullptr);
    EXPECT_EQ(joint->GetType(), e_revoluteJoint);
    JointFactory::Destroy(physics, joint);
    EXPECT_EQ(physics.GetWorld()->GetJointCount(), 0);

    b2RevoluteSpringJointDef spring;
    spring.Initialize(physics.GetGround(), body, b2Vec2(0.0f, 0.0f));
    const struct {
        const char* name;
        b2Body* a;
        b2Body* b;
        const b2JointDef* def;
    } cases[] = {
        {"one body twice", body, body, &revolute},
        {"no body", nullptr, body, &revolute},
        {"a body of another world", body, foreign, &revolute},
        {"a spring passed as a plain joint", physics.GetGround(), body, &spring},
    };
    for (const auto& c : cases) {
        b2RevoluteJointDef broken;
        static_cast<b2JointDef&>(broken) = *c.def;
        broken.bodyA = c.a;
        broken.bodyB = c.b;
        EXPECT_EQ(JointFactory::Create(physics, static_cast<const b2JointDef&>(broken)), nullptr) << c.name;
    }
    EXPECT_EQ(physics.GetWorld()->GetJointCount(), 0);
}
