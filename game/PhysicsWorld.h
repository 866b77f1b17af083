#pragma once

#include <SFML/System/Vector2.hpp>
#include <box2d/b2_math.h>
#include <box2d/b2_world_callbacks.h>

#include <memory>
#include <vector>

class b2Body;
class b2ConstantVolumeJoint;
class b2RevoluteJoint;
class b2World;
struct b2BodyDef;

// The physics world of a match, with the game's joints: a zero-gravity Box2D world without
// sleeping, its ground body, the arena's extent and scale, the constant-volume joints it owns and
// the revolute springs it drives. Bodies are made through CreateBody and the joints through
// JointFactory, which refuse whatever would trip one of Box2D's assertions.
class PhysicsWorld : private b2DestructionListener {
public:
    // Box2D's iteration counts for one step.
    static constexpr int kVelocityIterations = 8;
    static constexpr int kPositionIterations = 3;

    PhysicsWorld();
    ~PhysicsWorld() override;
    PhysicsWorld(const PhysicsWorld&) = delete;
    PhysicsWorld& operator=(const PhysicsWorld&) = delete;

    // Replaces the world (and everything in it) by an empty one: the stored gravity, no sleeping,
    // half extents 50 by 37.5 units, 8 pixels per unit, and a static ground body.
    void Create();

    // Sets the revolute springs' motors, then advances the world by dt seconds. A dt that is not
    // finite or is negative is logged and the step is skipped.
    void Step(float dt);

    // Creates a body; null (logged) when there is no world, the world is stepping, or the
    // definition holds values Box2D refuses (non-finite numbers, negative damping).
    b2Body* CreateBody(const b2BodyDef& def);

    // Destroys the body, after destroying every constant-volume joint that holds it.
    void DestroyBody(b2Body* body);

    b2World* GetWorld() const { return m_World.get(); }
    b2Body* GetGround() const { return m_Ground; }
    float GetHalfWidth() const { return m_HalfWidth; }
    float GetHalfHeight() const { return m_HalfHeight; }
    float GetPixelsPerUnit() const { return m_PixelsPerUnit; }
    const b2Vec2& GetGravity() const { return m_Gravity; }
    // The screen pixel of a world point: (point + half extents) * pixels per unit.
    sf::Vector2f ToPixels(const b2Vec2& point) const {
        return {(point.x + m_HalfWidth) * m_PixelsPerUnit, (point.y + m_HalfHeight) * m_PixelsPerUnit};
    }

    // Bookkeeping of the game's joints, for JointFactory.
    b2ConstantVolumeJoint* AdoptVolumeJoint(std::unique_ptr<b2ConstantVolumeJoint> joint);
    // Unlinks and frees the joint; false when the world does not own it.
    bool DestroyVolumeJoint(const b2Joint* joint);
    void AddSpring(b2RevoluteJoint* joint, float stiffness);
    void ForgetSpring(const b2Joint* joint);

private:
    struct Spring {
        b2RevoluteJoint* joint;
        float stiffness;
    };

    void Destroy();
    void SayGoodbye(b2Joint* joint) override;
    void SayGoodbye(b2Fixture*) override {}

    std::unique_ptr<b2World> m_World;
    float m_HalfWidth = 0.0f;
    float m_HalfHeight = 0.0f;
    float m_PixelsPerUnit = 1.0f;
    b2Body* m_Ground = nullptr;
    b2Vec2 m_Gravity{0.0f, 0.0f};
    std::vector<std::unique_ptr<b2ConstantVolumeJoint>> m_VolumeJoints;
    std::vector<Spring> m_Springs;
};
