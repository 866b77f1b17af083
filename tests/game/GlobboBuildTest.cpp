#include "app/Logger.h"
#include "game/Level.h"
#include "game/PhysicalShape.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "tests/game/CreatureTestKit.h"

#include <box2d/b2_circle_shape.h>
#include <box2d/b2_contact.h>
#include <box2d/b2_world_callbacks.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <set>

namespace {

using namespace creature_testing;

class GlobboBuild : public CreatureFolder {};

bool Collide(const b2Body* a, const b2Body* b) {
    const b2Filter& fa = a->GetFixtureList()->GetFilterData();
    const b2Filter& fb = b->GetFixtureList()->GetFilterData();
    if (fa.groupIndex == fb.groupIndex && fa.groupIndex != 0) {
        return fa.groupIndex > 0;
    }
    return (fa.maskBits & fb.categoryBits) != 0 && (fa.categoryBits & fb.maskBits) != 0;
}

// The ring starts as the ellipse of half axes 3 and 4 around the start, counter-clockwise on the
// screen, its first body on the right and its 22nd just short of the left; the centre is the
// mean of the bodies; the mouth lies 1.6 below the start and the anchor on it.
TEST_F(GlobboBuild, the_ring_mouth_and_anchor_start_round_the_start_position) {
    const b2Vec2 start(-12.5f, 7.25f);
    const auto creature = Make("data/players/bubbles.xml", start);
    const std::vector<b2Body*>& ring = creature->GetRingBodies();
    ASSERT_EQ(ring.size(), 42u);
    EXPECT_NEAR(ring[0]->GetPosition().x, start.x + 3.0f, 1e-5f);
    EXPECT_NEAR(ring[0]->GetPosition().y, start.y, 1e-5f);
    EXPECT_NEAR(ring[21]->GetPosition().x, start.x - 3.0f, 1e-4f);
    EXPECT_GT(ring[21]->GetPosition().y, start.y);
    EXPECT_LT(ring[21]->GetPosition().y, start.y + 1e-3f);
    b2Vec2 sum(0.0f, 0.0f);
    for (size_t i = 0; i < ring.size(); ++i) {
        const b2Vec2 p = ring[i]->GetPosition() - start;
        EXPECT_NEAR(p.x * p.x / 9.0f + p.y * p.y / 16.0f, 1.0f, 1e-4f) << i;
        // Each step turns a 21st of a half turn further round (counter-clockwise with y down).
        const b2Vec2 q = ring[(i + 1) % ring.size()]->GetPosition() - start;
        EXPECT_GT(b2Cross(p, q), 0.0f) << i;
        sum += ring[i]->GetPosition();
    }
    EXPECT_NEAR(creature->m_Center.x, sum.x / 42.0f, 1e-5f);
    EXPECT_NEAR(creature->m_Center.y, sum.y / 42.0f, 1e-5f);
    EXPECT_EQ(creature->GetMouthBody()->GetPosition(), b2Vec2(start.x, start.y + 1.6f));
    EXPECT_EQ(creature->GetAnchorBody()->GetPosition(), start);
    EXPECT_EQ(creature->GetAnchorBody()->GetType(), b2_staticBody);
    const sf::Vector2f screen = ScreenMapping::Of(m_World).ToScreen(creature->m_Center);
    EXPECT_EQ(creature->m_ScreenCenter, b2Vec2(screen.x, screen.y));
}

// Every part is registered as the creature's own, of its kind. The ring's bodies never touch each
// other but touch the other creature's ring and their own mouth; the anchor touches nothing; the
// balls pass through mouths.
TEST_F(GlobboBuild, parts_are_registered_and_filtered_by_kind) {
    const auto one = Make("data/players/bubbles.xml", {-10.0f, 0.0f});
    const auto two = Make("data/players/sprout.xml", {10.0f, 0.0f});
    Ball* ball = AddBall({0.0f, 20.0f});
    struct Part {
        const b2Body* body;
        int kind;
    };
    std::vector<Part> parts = {{one->GetMouthBody(), kMouthBody}, {one->GetAnchorBody(), kAnchorBody}};
    for (const b2Body* body : one->GetRingBodies()) {
        parts.push_back({body, kRingBody});
    }
    for (const Part& part : parts) {
        const BodyRecord* record = FindBodyRecord(part.body);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->kind, part.kind);
        EXPECT_EQ(record->owner, one.get());
        EXPECT_EQ(record->state, 0);
        EXPECT_EQ(record->neutralTimer, 0.0f);
        EXPECT_EQ(reinterpret_cast<BodyRecord*>(const_cast<b2Body*>(part.body)->GetUserData().pointer), record);
    }
    const b2Body* ringOne = one->GetRingBodies()[0];
    EXPECT_FALSE(Collide(ringOne, one->GetRingBodies()[20]));
    EXPECT_TRUE(Collide(ringOne, two->GetRingBodies()[0]));
    EXPECT_TRUE(Collide(ringOne, one->GetMouthBody()));
    EXPECT_TRUE(Collide(ringOne, ball->GetBody()));
    EXPECT_FALSE(Collide(ball->GetBody(), one->GetMouthBody()));
    EXPECT_FALSE(Collide(one->GetAnchorBody(), ball->GetBody()));
    EXPECT_FALSE(Collide(one->GetAnchorBody(), ringOne));
    EXPECT_NE(one->GetGroup(), two->GetGroup());
    EXPECT_EQ(ringOne->GetFixtureList()->GetShape()->m_radius, Globbo::kRingRadius);
}

// The group counter goes down by one per creature and never leaves the negative range: after the
// last group it starts again at -2, so that creature and the next get -2 and -3.
TEST_F(GlobboBuild, forty_thousand_creatures_keep_negative_groups_and_start_again_at_minus_two) {
    // Bare creatures, without even the skin's movie, so that forty thousand build quickly.
    WriteDefinition("data/players/bare.xml", GlobboData());
    std::filesystem::remove(GameDir() / Globbo::kSkinMovie);
    int previous = Globbo::NextGroup();
    bool wrapped = false;
    for (int i = 0; i < 40000; ++i) {
        const int expected = Globbo::NextGroup();
        Globbo creature(m_World, "data/players/bare.xml", 0.0f, 0.0f);
        ASSERT_EQ(creature.GetGroup(), expected);
        ASSERT_LE(creature.GetGroup(), -2);
        ASSERT_GE(creature.GetGroup(), std::numeric_limits<int16_t>::min());
        ASSERT_EQ(creature.GetRingBodies()[0]->GetFixtureList()->GetFilterData().groupIndex, creature.GetGroup());
        if (creature.GetGroup() == -2 && i > 0) {
            wrapped = true;
            EXPECT_EQ(previous, -32768);
            Globbo next(m_World, "data/players/bare.xml", 0.0f, 0.0f);
            EXPECT_EQ(next.GetGroup(), -3);
            break;
        }
        previous = creature.GetGroup();
        // Box2D forgets the proxies of destroyed bodies in its next step.
        m_World.Step(0.0f);
    }
    EXPECT_TRUE(wrapped);
}

// Building and destroying leaves the world, its joints and the registry as they were.
TEST_F(GlobboBuild, a_thousand_builds_and_destructions_return_everything_they_took) {
    const b2World& world = *m_World.GetWorld();
    const int bodies = world.GetBodyCount();
    const int joints = world.GetJointCount();
    const size_t records = RegisteredBodies(&world).size();
    for (int i = 0; i < 1000; ++i) {
        Globbo creature(m_World, "data/players/hooligan.xml", 0.0f, 0.0f);
        ASSERT_EQ(world.GetBodyCount(), bodies + 44);
        ASSERT_EQ(world.GetJointCount(), joints + 43);
        m_World.Step(0.0f);
    }
    EXPECT_EQ(world.GetBodyCount(), bodies);
    EXPECT_EQ(world.GetJointCount(), joints);
    EXPECT_EQ(RegisteredBodies(&world).size(), records);
}

// Destroying the physics announces every body once, after it left the registry; a level
// listening drops none of its own bodies or balls.
TEST_F(GlobboBuild, destroying_the_physics_announces_each_body_once_and_the_level_keeps_its_own) {
    LevelData data;
    data.m_Bodies.push_back(
        level_testing::Body("rock", {20.0f, 0.0f}, 0.0f, {level_testing::Polygon(level_testing::Box(1.0f, 1.0f))}));
    data.m_Balls.push_back(Vec2Data(-20.0f, 0.0f));
    Write("data/levels/one.xml", data);
    Level level;
    ASSERT_TRUE(level.Load("data/levels/one.xml", nullptr));
    Globbo creature(level.GetPhysics(), "data/players/sunny.xml", 0.0f, 0.0f);
    std::set<const b2Body*> parts(creature.GetRingBodies().begin(), creature.GetRingBodies().end());
    parts.insert(creature.GetMouthBody());
    parts.insert(creature.GetAnchorBody());

    struct Listener : sigslot::has_slots<> {
        void Heard(const b2Body* body) {
            heard.push_back(body);
            registered.push_back(FindBodyRecord(body) != nullptr);
        }
        std::vector<const b2Body*> heard;
        std::vector<bool> registered;
    } listener;
    BodyRemovedSignal().connect(&listener, &Listener::Heard);
    creature.DestroyPhysics();
    listener.disconnect_all();

    EXPECT_EQ(std::set<const b2Body*>(listener.heard.begin(), listener.heard.end()), parts);
    EXPECT_EQ(listener.heard.size(), 44u);
    EXPECT_EQ(std::count(listener.registered.begin(), listener.registered.end(), true), 0);
    EXPECT_EQ(creature.GetJoint(), nullptr);
    EXPECT_TRUE(creature.GetRingBodies().empty());
    EXPECT_EQ(creature.GetMouthShape(), nullptr);
    EXPECT_EQ(level.GetBalls().size(), 1u);
    EXPECT_NE(level.GetBodyByName("rock"), nullptr);
    // A second time there is nothing left to destroy or announce.
    BodyRemovedSignal().connect(&listener, &Listener::Heard);
    creature.DestroyPhysics();
    listener.disconnect_all();
    EXPECT_EQ(listener.heard.size(), 44u);
}

// A definition without decorations builds no decoration movies; one with them builds each.
TEST_F(GlobboBuild, decorations_are_built_only_when_the_definition_names_them) {
    const auto plain = Make("data/players/none.xml");
    EXPECT_EQ(plain->GetEyesAttachment(), nullptr);
    EXPECT_EQ(plain->GetSkinAttachment(), nullptr);
    EXPECT_EQ(plain->GetSkinTopAttachment(), nullptr);
    const auto plum = Make("data/players/plum.xml");
    ASSERT_NE(plum->GetEyesAttachment(), nullptr);
    EXPECT_NE(plum->GetEyesAttachment()->GetRoot(), nullptr);
    EXPECT_EQ(plum->GetSkinAttachment(), nullptr);
    ASSERT_NE(plum->GetSkinTopAttachment(), nullptr);
    EXPECT_EQ(plum->GetSkinTopAttachment()->getOrigin(),
              sf::Vector2f(plum->GetSkinTopAttachment()->GetWidth() / 2.0f,
                           plum->GetSkinTopAttachment()->GetHeight() / 2.0f));
    const auto sunny = Make("data/players/sunny.xml");
    EXPECT_NE(sunny->GetSkinAttachment(), nullptr);
}

// The definition's names, colour and mouth; the eyes tinted with the body colour unless the file
// says not to.
TEST_F(GlobboBuild, the_definition_gives_the_name_colour_and_tints) {
    GlobboData data = CreatureData(ShippedCreatures()[0]);
    data.m_CharacterName = "Tinted";
    data.m_BodyColor = ColorData(200, 100, 50, 120);
    data.m_Eyes.m_UseColorTransform = true;
    data.m_Mouth.m_UseColorTransform = false;
    WriteDefinition("data/players/tinted.xml", data);
    const auto creature = Make("data/players/tinted.xml");
    EXPECT_EQ(creature->m_Name, "Tinted");
    EXPECT_EQ(creature->m_File, "data/players/tinted.xml");
    EXPECT_EQ(creature->m_BodyColor, sf::Color(200, 100, 50, 120));
    EXPECT_TRUE(creature->m_Visible);
    const swfplayer::cxform eyes = creature->GetEyesMovie().GetRoot()->get_root_sprite()->get_cxform();
    EXPECT_FLOAT_EQ(eyes.m[0][0], 200.0f / 255.0f);
    EXPECT_FLOAT_EQ(eyes.m[1][0], 100.0f / 255.0f);
    EXPECT_FLOAT_EQ(eyes.m[2][0], 50.0f / 255.0f);
    EXPECT_FLOAT_EQ(eyes.m[3][0], 1.0f);
    const swfplayer::cxform mouth = creature->GetMouthMovie().GetRoot()->get_root_sprite()->get_cxform();
    EXPECT_FLOAT_EQ(mouth.m[0][0], 1.0f);
    EXPECT_GE(creature->GetMouthTimer(), 0.0f);
    EXPECT_LE(creature->GetMouthTimer(), 1.0f);
    EXPECT_GE(creature->GetBlinkTimer(), 0.0f);
    EXPECT_LE(creature->GetBlinkTimer(), 1.0f);
    EXPECT_EQ(creature->GetLastSteering().force, Globbo::kFirstSteeringForce);
    EXPECT_EQ(creature->GetLastSteering().mouth, creature->GetMouthBody());
}

// An unreadable file is logged and gives the default creature: black, nameless, without movies,
// built whole.
TEST_F(GlobboBuild, an_unreadable_file_builds_the_default_creature) {
    Write("data/players/broken.xml", std::string("<resource><globbo characterName="));
    for (const char* file : {"data/players/missing.xml", "data/players/broken.xml"}) {
        SCOPED_TRACE(file);
        const auto creature = Make(file);
        EXPECT_NE(Logged().find(std::string("Globbo::Load: cannot read the creature ") + file), std::string::npos);
        EXPECT_EQ(creature->m_Name, "");
        EXPECT_EQ(creature->m_BodyColor, sf::Color(0, 0, 0, 255));
        EXPECT_TRUE(creature->m_Data.m_Selectable);
        EXPECT_NE(creature->GetJoint(), nullptr);
        EXPECT_EQ(creature->GetEyesMovie().GetRoot(), nullptr);
    }
}

// Delays that are negative or not finite take the defaults; 0 (also what a text without a number
// reads as) and every other finite delay are kept as written. "selectable" is true unless a file
// says otherwise.
TEST_F(GlobboBuild, negative_or_non_finite_delays_take_the_defaults_zero_is_kept_and_files_opt_out_of_selection) {
    struct Row {
        const char* open;
        const char* closed;
        float openDelay;
        float closedDelay;
    };
    const Row rows[] = {{"3", "0.25", 3.0f, 0.25f},    {"nan", "inf", 2.0f, 0.5f}, {"-1", "0", 2.0f, 0.0f},
                        {"1e30", "-inf", 1e30f, 0.5f}, {"x", "", 0.0f, 0.0f},      {"0.001", "7", 0.001f, 7.0f},
                        {"0", "-0.001", 0.0f, 0.5f},   {"-0", "0.0", 0.0f, 0.0f}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.open + std::string(" ") + row.closed);
        Write("data/players/delays.xml", std::string("<resource><globbo selectable=\"false\"><mouth name=\"mouth\" "
                                                     "openDelay=\"") +
                                             row.open + "\" closedDelay=\"" + row.closed + "\"/></globbo></resource>");
        const auto creature = Make("data/players/delays.xml");
        EXPECT_EQ(creature->m_Data.m_Mouth.m_OpenDelay, row.openDelay);
        EXPECT_EQ(creature->m_Data.m_Mouth.m_ClosedDelay, row.closedDelay);
        EXPECT_FALSE(creature->m_Data.m_Selectable);
    }
}

// A world that refuses bodies (none made yet, or one in the middle of a step) leaves no part of
// a creature behind: no body, no joint, no record; the creature then does nothing and draws no
// outline, and a start position that is not finite is kept in the arena.
TEST_F(GlobboBuild, a_creature_the_world_refuses_is_built_without_physics_and_stays_harmless) {
    PhysicsWorld unmade;
    Globbo nowhere(unmade, "data/players/bubbles.xml", 0.0f, 0.0f);
    EXPECT_EQ(nowhere.GetJoint(), nullptr);
    EXPECT_TRUE(nowhere.GetRingBodies().empty());
    EXPECT_EQ(nowhere.GetMouthBody(), nullptr);

    struct Builder : b2ContactListener {
        void BeginContact(b2Contact*) override {
            if (!creature) {
                creature = std::make_unique<Globbo>(*world, "data/players/bubbles.xml", 5.0f, 5.0f);
            }
        }
        PhysicsWorld* world = nullptr;
        std::unique_ptr<Globbo> creature;
    } builder;
    builder.world = &m_World;
    const b2World& world = *m_World.GetWorld();
    AddBall({0.0f, 0.0f});
    AddBall({0.5f, 0.0f});
    const int bodies = world.GetBodyCount();
    const size_t records = RegisteredBodies(&world).size();
    m_World.GetWorld()->SetContactListener(&builder);
    m_World.Step(0.02f);
    m_World.GetWorld()->SetContactListener(nullptr);
    ASSERT_NE(builder.creature, nullptr);
    Globbo& refused = *builder.creature;
    EXPECT_EQ(world.GetBodyCount(), bodies);
    EXPECT_EQ(RegisteredBodies(&world).size(), records);
    EXPECT_EQ(refused.GetJoint(), nullptr);
    EXPECT_EQ(refused.m_Center, b2Vec2(5.0f, 5.0f));
    EXPECT_NE(Logged().find("Globbo::Build: the world refused the creature data/players/bubbles.xml"),
              std::string::npos);
    Listen(refused);
    const b2Vec2 ballAt = m_Balls[0]->GetBody()->GetPosition();
    refused.MoveMouth({1.0f, 0.0f}, 1.0f);
    refused.Shoot();
    refused.TakeIn(FindBodyRecord(m_Balls[0]->GetBody()));
    refused.SetLinearVelocity({1.0f, 1.0f});
    refused.Update(0.02f);
    EXPECT_FALSE(refused.IsPointInside(5.0f, 5.0f));
    EXPECT_TRUE(m_Told.empty());
    EXPECT_EQ(m_Balls[0]->GetBody()->GetPosition(), ballAt);

    const float nan = std::numeric_limits<float>::quiet_NaN();
    Globbo far(m_World, "data/players/bubbles.xml", nan, 1e30f);
    EXPECT_NE(far.GetJoint(), nullptr);
    EXPECT_TRUE(far.m_Center.IsValid());
    EXPECT_LT(far.m_Center.Length(), 1100.0f);
}

}  // namespace
