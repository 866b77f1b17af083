#pragma once

class PhysicsWorld;
class b2ConstantVolumeJoint;
class b2Joint;
class b2RevoluteJoint;
struct b2ConstantVolumeJointDef;
struct b2JointDef;
struct b2RevoluteSpringJointDef;

// Makes and destroys joints in a PhysicsWorld: the game's two joint types (constant-volume, type
// 10, and revolute-spring, type 11) and every one of Box2D's own. A definition that would trip
// one of Box2D's assertions is logged and refused (null): missing or repeated bodies, bodies of
// another world, a world in the middle of a step, or values that are not finite.
class JointFactory {
public:
    // A ring of 3 to 256 distinct dynamic bodies.
    static b2ConstantVolumeJoint* Create(PhysicsWorld& world, const b2ConstantVolumeJointDef& def);
    // Stiffness and torque that are not finite count as 0; a negative torque limit as 0.
    static b2RevoluteJoint* Create(PhysicsWorld& world, const b2RevoluteSpringJointDef& def);
    // Any of Box2D's own joint types.
    static b2Joint* Create(PhysicsWorld& world, const b2JointDef& def);

    // Destroys a joint made by Create (nothing for null or while the world is stepping).
    static void Destroy(PhysicsWorld& world, b2Joint* joint);
};
