#pragma once
// Internal to the creature tests: a game folder holding the skin's movie, the balls' movies and
// the shipped creatures, a physics world to build creatures in, and helpers to put balls and
// walls into it and to record what creatures tell their match.

#include "game/Ball.h"
#include "game/BodyRegistry.h"
#include "game/Globbo.h"
#include "game/b2ConstantVolumeJoint.h"
#include "tests/game/LevelTestKit.h"
#include "tools/creatures/CreatureDesign.h"
#include "tools/creatures/CreatureWriter.h"

#include <box2d/b2_body.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_world.h>

#include <memory>
#include <string>
#include <vector>

namespace creature_testing {

// What one of a creature's callbacks was told: 'T' take, 'L' let go, 'M' may take.
struct Told {
    char what;
    Globbo* creature;
    b2Body* body;
    bool operator==(const Told&) const = default;
};

class CreatureFolder : public level_testing::LevelFolder {
protected:
    void SetUp() override {
        LevelFolder::SetUp();
        ASSERT_TRUE(WriteCreaturesAndBalls(GameDir()));
        m_World.Create();
    }

    // A definition file holding the record.
    void WriteDefinition(const std::string& name, GlobboData data) {
        ASSERT_TRUE(WriteRecords(GameDir() / name, {{"globbo", &data}}));
    }

    // A creature of the shipped definition (a file name under data/players) at the point.
    std::unique_ptr<Globbo> Make(const std::string& file, const b2Vec2& at = b2Vec2(0.0f, 0.0f)) {
        return std::make_unique<Globbo>(m_World, file, at.x, at.y);
    }

    // Everything goes: balls, walls, creatures' bodies (make the creatures again).
    void NewWorld() {
        m_Balls.clear();
        m_World.Create();
    }

    Ball* AddBall(const b2Vec2& at) {
        m_Balls.push_back(Ball::Create(m_World, at));
        return m_Balls.back().get();
    }

    // A static box that no registry knows (a piece of the level).
    b2Body* Wall(const b2Vec2& at, float halfWidth, float halfHeight) {
        b2BodyDef def;
        def.position = at;
        b2Body* body = m_World.CreateBody(def);
        b2PolygonShape box;
        box.SetAsBox(halfWidth, halfHeight);
        body->CreateFixture(&box, 0.0f);
        return body;
    }

    // Installs callbacks that keep what they are told; may-take refuses balls owned by another
    // creature, as the match's rule does.
    void Listen(Globbo& creature) {
        creature.SetTakeBallCallback(this, [](void* self, Globbo* c, b2Body* b) {
            static_cast<CreatureFolder*>(self)->m_Told.push_back({'T', c, b});
        });
        creature.SetLetGoBallCallback(this, [](void* self, Globbo* c, b2Body* b) {
            static_cast<CreatureFolder*>(self)->m_Told.push_back({'L', c, b});
        });
        creature.SetMayTakeBallCallback(this, [](void*, Globbo* c, b2Body* b) {
            const BodyRecord* record = FindBodyRecord(b);
            return record == nullptr || record->kind != kBallBody || record->owner == nullptr || record->owner == c;
        });
    }

    // One match step without contacts: the world, then the creature.
    void Step(Globbo& creature, float dt = 0.02f) {
        m_World.Step(dt);
        creature.Update(dt);
    }

    static int BodyCount(const b2World& world) { return world.GetBodyCount(); }

    PhysicsWorld m_World;
    std::vector<std::unique_ptr<Ball>> m_Balls;
    std::vector<Told> m_Told;
};

}  // namespace creature_testing
