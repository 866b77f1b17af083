#include "game/JointFactory.h"

#include "app/Log.h"
#include "game/PhysicsWorld.h"
#include "game/b2ConstantVolumeJoint.h"
#include "game/b2RevoluteSpringJointDef.h"

#include <box2d/b2_body.h>
#include <box2d/b2_world.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_set>

namespace {

float FiniteOrZero(float value) {
    return std::isfinite(value) ? value : 0.0f;
}

bool Unlocked(const PhysicsWorld& world, const char* caller) {
    if (world.GetWorld() == nullptr || world.GetWorld()->IsLocked()) {
        log_error("JointFactory::%s: no world, or the world is stepping", caller);
        return false;
    }
    return true;
}

bool InWorld(const PhysicsWorld& world, const b2Body* body) {
    return body != nullptr && body->GetWorld() == world.GetWorld();
}

bool UsableRing(const PhysicsWorld& world, const b2ConstantVolumeJointDef& def) {
    const int count = static_cast<int>(def.bodies.size());
    if (count < 3 || count > b2ConstantVolumeJoint::kCapacity) {
        log_error("JointFactory::Create: a constant-volume joint needs 3 to %d bodies, not %d",
                  b2ConstantVolumeJoint::kCapacity, count);
        return false;
    }
    std::unordered_set<const b2Body*> seen;
    for (const b2Body* body : def.bodies) {
        if (!InWorld(world, body) || body->GetType() != b2_dynamicBody || !seen.insert(body).second) {
            log_error(
                "JointFactory::Create: constant-volume joint bodies must be distinct dynamic bodies of the world");
            return false;
        }
    }
    return true;
}

}  // namespace

b2ConstantVolumeJoint* JointFactory::Create(PhysicsWorld& world, const b2ConstantVolumeJointDef& def) {
    if (!Unlocked(world, "Create") || !UsableRing(world, def)) {
        return nullptr;
    }
    b2ConstantVolumeJointDef ring = def;
    ring.frequencyHz = std::max(FiniteOrZero(def.frequencyHz), 0.0f);
    ring.dampingRatio = std::max(FiniteOrZero(def.dampingRatio), 0.0f);
    ring.correctionTime = FiniteOrZero(def.correctionTime);
    return world.AdoptVolumeJoint(std::make_unique<b2ConstantVolumeJoint>(ring));
}

b2RevoluteJoint* JointFactory::Create(PhysicsWorld& world, const b2RevoluteSpringJointDef& def) {
    b2RevoluteJointDef revolute = def;
    revolute.type = e_revoluteJoint;
    revolute.enableMotor = true;
    revolute.motorSpeed = 0.0f;
    revolute.maxMotorTorque = std::max(FiniteOrZero(def.maxMotorTorque), 0.0f);
    auto* joint = static_cast<b2RevoluteJoint*>(Create(world, static_cast<const b2JointDef&>(revolute)));
    if (joint != nullptr) {
        world.AddSpring(joint, FiniteOrZero(def.stiffness));
    }
    return joint;
}

b2Joint* JointFactory::Create(PhysicsWorld& world, const b2JointDef& def) {
    if (!Unlocked(world, "Create")) {
        return nullptr;
    }
    if (def.type == e_unknownJoint || !InWorld(world, def.bodyA) || !InWorld(world, def.bodyB) ||
        def.bodyA == def.bodyB) {
        log_error("JointFactory::Create: joint of type %d needs two distinct bodies of the world", def.type);
        return nullptr;
    }
    return world.GetWorld()->CreateJoint(&def);
}

void JointFactory::Destroy(PhysicsWorld& world, b2Joint* joint) {
    if (joint == nullptr || !Unlocked(world, "Destroy")) {
        return;
    }
    if (world.DestroyVolumeJoint(joint)) {
        return;
    }
    world.ForgetSpring(joint);
    world.GetWorld()->DestroyJoint(joint);
}
