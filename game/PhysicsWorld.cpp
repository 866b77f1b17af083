#include "game/PhysicsWorld.h"

#include "app/Log.h"
#include "game/BodyRegistry.h"
#include "game/b2ConstantVolumeJoint.h"

#include <box2d/b2_body.h>
#include <box2d/b2_revolute_joint.h>
#include <box2d/b2_world.h>

#include <algorithm>
#include <cmath>

namespace {

bool Finite(float value) {
    return std::isfinite(value);
}
bool Finite(const b2Vec2& v) {
    return std::isfinite(v.x) && std::isfinite(v.y);
}

}  // namespace

PhysicsWorld::PhysicsWorld() = default;

PhysicsWorld::~PhysicsWorld() {
    Destroy();
}

void PhysicsWorld::Destroy() {
    if (m_World == nullptr) {
        return;
    }
    for (auto& joint : m_VolumeJoints) {
        joint->Unlink();
    }
    m_VolumeJoints.clear();
    m_Springs.clear();
    EraseBodyRecords(m_World.get());
    m_World.reset();
    m_Ground = nullptr;
}

void PhysicsWorld::Create() {
    Destroy();
    m_World = std::make_unique<b2World>(m_Gravity);
    m_World->SetAllowSleeping(false);
    m_World->SetDestructionListener(this);
    m_HalfWidth = 50.0f;
    m_HalfHeight = 37.5f;
    m_PixelsPerUnit = 8.0f;
    b2BodyDef ground;
    m_Ground = m_World->CreateBody(&ground);
}

void PhysicsWorld::Step(float dt) {
    if (m_World == nullptr) {
        return;
    }
    if (!Finite(dt) || dt < 0.0f) {
        log_error("PhysicsWorld::Step: time step %f skipped", dt);
        return;
    }
    for (const Spring& spring : m_Springs) {
        spring.joint->SetMotorSpeed(-spring.joint->GetJointAngle() * spring.stiffness);
    }
    m_World->Step(dt, kVelocityIterations, kPositionIterations);
}

b2Body* PhysicsWorld::CreateBody(const b2BodyDef& def) {
    if (m_World == nullptr || m_World->IsLocked()) {
        log_error("PhysicsWorld::CreateBody: no world, or the world is stepping");
        return nullptr;
    }
    if (!Finite(def.position) || !Finite(def.angle) || !Finite(def.linearVelocity) || !Finite(def.angularVelocity) ||
        !(def.linearDamping >= 0.0f) || !(def.angularDamping >= 0.0f) || !Finite(def.linearDamping) ||
        !Finite(def.angularDamping) || !Finite(def.gravityScale)) {
        log_error("PhysicsWorld::CreateBody: body at (%f, %f) has unusable values", def.position.x, def.position.y);
        return nullptr;
    }
    return m_World->CreateBody(&def);
}

void PhysicsWorld::DestroyBody(b2Body* body) {
    if (m_World == nullptr || body == nullptr || body->GetWorld() != m_World.get()) {
        return;
    }
    if (m_World->IsLocked()) {
        log_error("PhysicsWorld::DestroyBody: the world is stepping");
        return;
    }
    // Box2D would destroy a joint of its own kind through its closed factory: the ring goes first.
    for (size_t i = m_VolumeJoints.size(); i-- > 0;) {
        if (m_VolumeJoints[i]->HoldsBody(body)) {
            DestroyVolumeJoint(m_VolumeJoints[i].get());
        }
    }
    m_World->DestroyBody(body);
}

b2ConstantVolumeJoint* PhysicsWorld::AdoptVolumeJoint(std::unique_ptr<b2ConstantVolumeJoint> joint) {
    joint->Link();
    m_VolumeJoints.push_back(std::move(joint));
    return m_VolumeJoints.back().get();
}

bool PhysicsWorld::DestroyVolumeJoint(const b2Joint* joint) {
    auto it = std::find_if(m_VolumeJoints.begin(), m_VolumeJoints.end(),
                           [joint](const auto& owned) { return owned.get() == joint; });
    if (it == m_VolumeJoints.end()) {
        return false;
    }
    (*it)->Unlink();
    m_VolumeJoints.erase(it);
    return true;
}

void PhysicsWorld::AddSpring(b2RevoluteJoint* joint, float stiffness) {
    m_Springs.push_back({joint, stiffness});
}

void PhysicsWorld::ForgetSpring(const b2Joint* joint) {
    std::erase_if(m_Springs, [joint](const Spring& spring) { return spring.joint == joint; });
}

// Box2D destroys a body's joints with it and says goodbye to each one first.
void PhysicsWorld::SayGoodbye(b2Joint* joint) {
    ForgetSpring(joint);
    for (auto& volume : m_VolumeJoints) {
        volume->ForgetEdgeJoint(joint);
    }
}
