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
        EXPECT_NE(joint, nullptr);
        plank->SetTransform(plank->GetPosition(), deflection);
        plank->SetAngularVelocity(spin);
    }
    float SpinAfterStep() {
        physics.Step(kStep);
        return plank->GetAngularVelocity();
    }
    PhysicsWorld physics;
    b2Body* plank = nullptr;
    b2RevoluteJoint* joint = nullptr;
};

}  // namespace

TEST(RevoluteSpring, drives_back_at_stiffness_times_deflection_within_its_torque) {
    const struct {
        float deflection, stiffness, maxTorque, expectedSpin;
    } cases[] = {
        {0.5f, 4.0f, 1000.0f, -2.0f},
        {-0.5f, 4.0f, 1000.0f, 2.0f},
        {0.0f, 4.0f, 1000.0f, 0.0f},
        // The torque cap allows a change of angular velocity of torque * dt / inertia per step.
        {0.5f, 4.0f, 0.5f, -0.5f * kStep / (1.0f * (4.0f + 0.25f) / 12.0f)},
        {0.5f, NAN, 1000.0f, 0.0f},  // values that are not numbers count as 0
        {0.5f, 4.0f, NAN, 0.0f},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(Pendulum(c.deflection, c.stiffness, c.maxTorque).SpinAfterStep(), c.expectedSpin, 0.02f)
            << c.deflection << " " << c.stiffness << " " << c.maxTorque;
    }
}

TEST(RevoluteSpring, without_stiffness_it_brakes_to_a_stop) {
    Pendulum pendulum(0.0f, 0.0f, 0.5f, 5.0f);
    for (int i = 0; i < 10; ++i) {
        const float spin = pendulum.plank->GetAngularVelocity();
        EXPECT_LT(pendulum.SpinAfterStep(), spin);
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
        if (destroyJoint) {
            JointFactory::Destroy(pendulum.physics, pendulum.joint);
            EXPECT_FLOAT_EQ(pendulum.SpinAfterStep(), 0.0f);
        } else {
            pendulum.physics.DestroyBody(pendulum.plank);
            pendulum.physics.Step(kStep);
        }
        EXPECT_EQ(pendulum.physics.GetWorld()->GetJointCount(), 0);
    }
}

TEST(JointFactory, passes_other_joint_types_to_box2d_and_refuses_unusable_ones) {
    Pendulum pendulum(0.0f, 1.0f, 1.0f);
    PhysicsWorld& physics = pendulum.physics;
    JointFactory::Destroy(physics, pendulum.joint);
    PhysicsWorld elsewhere;
    elsewhere.Create();
    b2Body* body = pendulum.plank;
    b2Body* foreign = elsewhere.CreateBody(b2BodyDef());
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
        b2Body* a;
        b2Body* b;
        const b2JointDef* def;
    } cases[] = {
        {body, body, &revolute},               // one body twice
        {nullptr, body, &revolute},            // no body
        {body, foreign, &revolute},            // a body of another world
        {physics.GetGround(), body, &spring},  // a spring passed as a plain joint
    };
    for (const auto& c : cases) {
        b2RevoluteJointDef broken;
        static_cast<b2JointDef&>(broken) = *c.def;
        broken.bodyA = c.a;
        broken.bodyB = c.b;
        EXPECT_EQ(JointFactory::Create(physics, static_cast<const b2JointDef&>(broken)), nullptr) << &c - cases;
    }
    EXPECT_EQ(physics.GetWorld()->GetJointCount(), 0);
}
