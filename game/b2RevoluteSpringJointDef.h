#pragma once

#include <box2d/b2_revolute_joint.h>

// Definition of a revolute-spring joint (game joint type 11): a revolute joint whose motor acts as
// a torsional spring, pulling the joint back to its reference angle at `stiffness` radians per
// second per radian of deflection, with at most `maxMotorTorque`. Filled like a revolute joint
// (Initialize). JointFactory makes it a stock b2RevoluteJoint whose motor speed PhysicsWorld sets
// to -angle * stiffness before every step.
//
// Its Box2D type is e_unknownJoint, so that JointFactory's overload for Box2D's own joints refuses
// it rather than making a joint without the spring (b2World::CreateJoint would abort on it).
struct b2RevoluteSpringJointDef : b2RevoluteJointDef {
    static constexpr int kType = 11;

    b2RevoluteSpringJointDef() {
        type = e_unknownJoint;
        enableMotor = true;
    }

    float stiffness = 0.0f;
};
