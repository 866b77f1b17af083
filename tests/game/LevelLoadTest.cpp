#include "game/BodyRegistry.h"
#include "game/ConvexPieces.h"
#include "game/FlashBody.h"
#include "game/LevelWindmill.h"
#include "tests/game/LevelTestKit.h"

#include <box2d/b2_circle_shape.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_joint.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_revolute_joint.h>

#include <cmath>
#include <numbers>

namespace {

using namespace level_testing;

class LevelLoad : public LevelFolder {
protected:
    // Loads the records as "data/levels/test.xml" into the level; true when it loaded.
    bool Load(const LevelData& data, Level& level) {
        Write("data/levels/test.xml", data);
        return level.Load("data/levels/test.xml", nullptr);
    }
    bool Load(const LevelData& data) { return Load(data, m_Level); }

    LevelData With(const std::vector<BodyData>& bodies) {
        LevelData data;
        data.m_Bodies = bodies;
        return data;
    }

    // The fixtures of the named body, oldest first (Box2D lists the newest first).
    std::vector<b2Fixture*> FixturesOf(const std::string& name) {
        std::vector<b2Fixture*> fixtures;
        b2Body* body = m_Level.GetBodyByName(name);
        for (b2Fixture* f = body ? body->GetFixtureList() : nullptr; f != nullptr; f = f->GetNext()) {
            fixtures.insert(fixtures.begin(), f);
        }
        return fixtures;
    }

    static double AreaOf(const std::vector<b2Fixture*>& fixtures) {
        double area = 0.0;
        for (const b2Fixture* fixture : fixtures) {
            b2MassData mass;
            fixture->GetShape()->ComputeMass(&mass, 1.0f);
            area += mass.mass;
        }
        return area;
    }

    Level m_Level;
};

TEST_F(LevelLoad, bodies_are_dynamic_above_density_0_and_keep_their_place_names_and_fixtures) {
    BodyData tilted = Body("tilted", {3, -4}, 0.5f, {Polygon(Box(1, 2))});
    tilted.m_Rotation = 0.5f;
    ASSERT_TRUE(Load(With({Body("rock", {1, 2}, 0.0f, {Polygon(Box(1, 1))}), tilted})));
    b2Body* rock = m_Level.GetBodyByName("rock");
    b2Body* moving = m_Level.GetBodyByName("tilted");
    ASSERT_NE(rock, nullptr);
    ASSERT_NE(moving, nullptr);
    EXPECT_EQ(rock->GetType(), b2_staticBody);
    EXPECT_EQ(moving->GetType(), b2_dynamicBody);
    EXPECT_EQ(moving->GetPosition(), b2Vec2(3, -4));
    EXPECT_FLOAT_EQ(moving->GetAngle(), 0.5f);
    EXPECT_NEAR(moving->GetMass(), 0.5f * 2 * 4, 1e-4);
    EXPECT_EQ(m_Level.GetBodyByName("nobody"), nullptr);
    // The ground body, the two bodies; no balls, elements or log lines.
    EXPECT_EQ(m_Level.GetPhysics().GetWorld()->GetBodyCount(), 3);
    EXPECT_TRUE(m_Level.GetElements().empty());
    EXPECT_EQ(Logged(), "");
}

TEST_F(LevelLoad, fixtures_take_the_bodys_filter_and_bounce_with_the_set_friction_and_green_ones_category_16) {
    Write("data/levels/test.svg",
          "<svg width=\"16\" height=\"16\"><g>"
          "<path d=\"M 0,0 8,0 8,8 z\"/>"
          "<path style=\"fill:#00ff00\" d=\"M 8,8 16,8 16,16 z\"/>"
          "<path sodipodi:type=\"arc\" sodipodi:cx=\"8\" sodipodi:cy=\"8\" sodipodi:rx=\"4\"/>"
          "</g></svg>");
    BodyData body = Body("body", {0, 0}, 2.0f, {Polygon({{5, 5}, {6, 5}, {5, 6}})});
    body.m_SVGFile = "data/levels/test.svg";
    body.m_Restitution = 0.7f;
    body.m_FilterCategory = 0x10001;  // used as a 16-bit value
    body.m_FilterMask = 0xF0F0;
    ASSERT_TRUE(Load(With({body})));
    // The explicit fixture first, then the drawing's paths in order.
    const std::vector<FixtureData>& records = m_Level.GetData().m_Bodies[0].m_Fixtures;
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].m_Vertices[0], Vec2Data(5, 5));
    EXPECT_EQ(records[3].m_Kind, FixtureData::kCircle);
    const std::vector<b2Fixture*> fixtures = FixturesOf("body");
    ASSERT_EQ(fixtures.size(), 4u);
    const uint16 categories[] = {1, 1, 16, 1};
    for (size_t i = 0; i < fixtures.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(fixtures[i]->GetFriction(), 0.2f);
        EXPECT_FLOAT_EQ(fixtures[i]->GetRestitution(), 0.7f);
        EXPECT_FLOAT_EQ(fixtures[i]->GetDensity(), 2.0f);
        EXPECT_FALSE(fixtures[i]->IsSensor());
        EXPECT_EQ(fixtures[i]->GetFilterData().categoryBits, categories[i]);
        EXPECT_EQ(fixtures[i]->GetFilterData().maskBits, 0xF0F0);
        EXPECT_EQ(fixtures[i]->GetFilterData().groupIndex, 0);
    }
    ASSERT_EQ(fixtures[3]->GetType(), b2Shape::e_circle);
    const auto* circle = static_cast<const b2CircleShape*>(fixtures[3]->GetShape());
    EXPECT_FLOAT_EQ(circle->m_radius, 0.5f);
    EXPECT_EQ(circle->m_p, b2Vec2(0, 0));
    ASSERT_EQ(fixtures[1]->GetType(), b2Shape::e_polygon);
    EXPECT_FLOAT_EQ(static_cast<const b2PolygonShape*>(fixtures[1]->GetShape())->m_radius, 0.01f);
}

TEST_F(LevelLoad, outlines_box2d_cannot_take_whole_are_split_or_left_out_with_a_log_line) {
    auto regular = [](int n, float r) {
        std::vector<b2Vec2> points;
        for (int i = 0; i < n; ++i) {
            const float a = 2.0f * std::numbers::pi_v<float> * i / n;
            points.emplace_back(r * std::cos(a), r * std::sin(a));
        }
        return points;
    };
    std::vector<b2Vec2> star;
    for (int i = 0; i < 12; ++i) {
        const float a = std::numbers::pi_v<float> * i / 6;
        star.emplace_back((i % 2 ? 2.0f : 5.0f) * std::cos(a), (i % 2 ? 2.0f : 5.0f) * std::sin(a));
    }
    const struct {
        const char* what;
        std::vector<b2Vec2> points;
        size_t fixtures;  // 0: more than one
        bool logged;
    } cases[] = {
        {"a clockwise triangle", {{0, 0}, {0, 3}, {4, 0}}, 1, false},
        {"a convex 12-gon", regular(12, 5.0f), 0, false},
        {"a concave 12-point star", star, 0, false},
        {"two points", {{0, 0}, {1, 1}}, 0, false},
        {"a bow tie", {{0, 0}, {4, 4}, {4, 0}, {0, 4}}, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testing_support::FileTail log(LogFile());
        ASSERT_TRUE(Load(With({Body("outline", {0, 0}, 1.0f, {Polygon(c.points)})})));
        const std::vector<b2Fixture*> fixtures = FixturesOf("outline");
        const bool usable = !c.logged && c.points.size() >= 3;
        if (c.fixtures != 0) {
            EXPECT_EQ(fixtures.size(), c.fixtures);
        } else if (usable) {
            EXPECT_GT(fixtures.size(), 1u);
        } else {
            EXPECT_TRUE(fixtures.empty());
        }
        if (usable) {
            EXPECT_NEAR(AreaOf(fixtures), std::fabs(ConvexPieces::SignedArea(c.points)), 1e-4);
        }
        EXPECT_EQ(log.Count("Level::Load: data/levels/test.xml: a polygon of " + std::to_string(c.points.size()) +
                            " points of body \"outline\""),
                  c.logged ? 1 : 0)
            << log.Text();
    }
}

TEST_F(LevelLoad, joints_pin_bodies_to_the_ground_by_their_type) {
    auto pinned = [](const std::string& name, const std::string& type) {
        BodyData body = Body(name, {10, 0}, 1.0f, {Polygon(Box(2, 0.5f))});
        JointData joint;
        joint.m_Type = type;
        joint.m_Pos1 = Vec2Data(-1, 0);
        joint.m_Param1 = 4.0f;
        joint.m_Param2 = 100.0f;
        body.m_Joints.push_back(joint);
        return body;
    };
    BodyData turned = pinned("revolute", "revolute");
    turned.m_Rotation = std::numbers::pi_v<float> / 2.0f;
    ASSERT_TRUE(Load(With({turned, pinned("spring", "revolutespring"), pinned("weld", "weld"), pinned("none", "")})));
    const b2World& world = *m_Level.GetPhysics().GetWorld();
    ASSERT_EQ(world.GetJointCount(), 2);
    for (const char* name : {"revolute", "spring"}) {
        SCOPED_TRACE(name);
        b2Body* body = m_Level.GetBodyByName(name);
        ASSERT_NE(body->GetJointList(), nullptr);
        b2Joint* joint = body->GetJointList()->joint;
        EXPECT_EQ(joint->GetType(), e_revoluteJoint);
        EXPECT_EQ(joint->GetBodyA(), m_Level.GetPhysics().GetGround());
        // The anchor is the body point (-1, 0), turned with the body.
        const b2Vec2 anchor = body->GetWorldPoint(b2Vec2(-1, 0));
        EXPECT_NEAR(joint->GetAnchorB().x, anchor.x, 1e-5);
        EXPECT_NEAR(joint->GetAnchorB().y, anchor.y, 1e-5);
    }
    const auto* spring = static_cast<const b2RevoluteJoint*>(m_Level.GetBodyByName("spring")->GetJointList()->joint);
    EXPECT_TRUE(spring->IsMotorEnabled());
    EXPECT_FLOAT_EQ(spring->GetMaxMotorTorque(), 100.0f);
    const auto* plain = static_cast<const b2RevoluteJoint*>(m_Level.GetBodyByName("revolute")->GetJointList()->joint);
    EXPECT_FALSE(plain->IsMotorEnabled());
    EXPECT_EQ(m_Level.GetBodyByName("weld")->GetJointList(), nullptr);
    EXPECT_EQ(m_Level.GetBodyByName("none")->GetJointList(), nullptr);
}

// Pushed at a blade's end, the windmill of the windmill level turns on the spot; a plain level
// lets the same body drift away.
TEST_F(LevelLoad, the_windmill_turns_about_a_fixed_point) {
    BodyData mill = Body("windmill", {3, 4}, 1.0f, {Polygon(Box(6, 0.5f)), Polygon(Box(0.5f, 6))});
    for (bool windmillLevel : {true, false}) {
        SCOPED_TRACE(windmillLevel);
        LevelWindmill windmill;
        Level plain;
        Level& level = windmillLevel ? windmill : plain;
        ASSERT_TRUE(Load(With({mill}), level));
        b2Body* body = level.GetBodyByName("windmill");
        for (int step = 0; step < 60; ++step) {
            body->ApplyForce(b2Vec2(0, 200), body->GetWorldPoint(b2Vec2(6, 0)), true);
            level.GetPhysics().Step(1.0f / 60.0f);
        }
        EXPECT_GT(std::fabs(body->GetAngle()), 0.5f);
        EXPECT_EQ(b2Distance(body->GetPosition(), b2Vec2(3, 4)) < 0.01f, windmillLevel);
    }
    // The windmill level lays the path grid's walls with the world complete.
    LevelWindmill windmill;
    ASSERT_TRUE(Load(With({mill}), windmill));
    const PathFinder& grid = windmill.GetPathFinder();
    const int cell = grid.CellOf(b2Vec2(9, 4));
    EXPECT_TRUE(grid.IsWall(cell % grid.GetWidth(), cell / grid.GetWidth()));
}

TEST_F(LevelLoad, a_later_body_takes_over_a_name_and_a_removed_body_drops_its_name) {
    ASSERT_TRUE(Load(With({Body("twin", {-5, 0}, 0.0f), Body("twin", {5, 0}, 0.0f), Body("other", {0, 0}, 0.0f)})));
    b2Body* twin = m_Level.GetBodyByName("twin");
    ASSERT_NE(twin, nullptr);
    EXPECT_EQ(twin->GetPosition(), b2Vec2(5, 0));
    m_Level.OnBodyRemoved(twin);
    EXPECT_EQ(m_Level.GetBodyByName("twin"), nullptr);
    EXPECT_NE(m_Level.GetBodyByName("other"), nullptr);
}

TEST_F(LevelLoad, unreadable_levels_fail_with_a_log_line_naming_them) {
    const struct {
        const char* what;
        const char* text;  // null: no file at all
    } cases[] = {
        {"no file", nullptr},
        {"an empty file", ""},
        {"broken XML", "<resource><level name=\"data\">"},
        {"no data object", "<resource><level name=\"other\"/></resource>"},
        {"no root element", "just text"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(GameDir() / "data/levels/bad.xml");
        if (c.text != nullptr) {
            Write("data/levels/bad.xml", std::string(c.text));
        }
        testing_support::FileTail log(LogFile());
        ASSERT_TRUE(Load(LevelData{}));  // a level built before must be gone afterwards
        m_Level.AddBall(b2Vec2(0, 0));
        EXPECT_FALSE(m_Level.Load("data/levels/bad.xml", nullptr));
        EXPECT_EQ(log.Count("Level::Load: cannot read the level data/levels/bad.xml"), 1) << log.Text();
        EXPECT_TRUE(m_Level.GetBalls().empty());
        EXPECT_TRUE(m_Level.GetData().m_Bodies.empty());
        EXPECT_EQ(m_Level.GetData().m_ViewZoom, 1.0f);
    }
}

TEST_F(LevelLoad, missing_fields_keep_their_defaults) {
    Write("data/levels/sparse.xml",
          std::string("<resource><level name=\"data\"><array name=\"m_Bodies\"><body/></array>"
                      "<array name=\"m_Balls\"><vec2 x=\"3\"/></array></level></resource>"));
    ASSERT_TRUE(m_Level.Load("data/levels/sparse.xml", nullptr));
    const LevelData& data = m_Level.GetData();
    EXPECT_EQ(data.m_ViewZoom, 1.0f);
    ASSERT_EQ(data.m_Bodies.size(), 1u);
    const BodyData& body = data.m_Bodies[0];
    EXPECT_EQ(body.m_Density, 1.0f);
    EXPECT_EQ(body.m_Restitution, 0.4f);
    EXPECT_EQ(body.m_FilterCategory, 1u);
    EXPECT_EQ(body.m_FilterMask, 65535u);
    EXPECT_FALSE(body.m_CenterVisual);
    EXPECT_FALSE(body.m_ShowShapes);
    ASSERT_EQ(m_Level.GetBalls().size(), 1u);
    EXPECT_EQ(m_Level.GetBalls()[0]->GetBody()->GetPosition(), b2Vec2(3, 0));
    EXPECT_EQ(Logged(), "");
}

// Numbers that are not finite count as 0, positions stay within 1000 units, a density below 0 is
// 0 and a zoom that is not above 0 is 1: the world builds without one of Box2D's assertions.
TEST_F(LevelLoad, numbers_from_the_file_are_made_safe_before_the_world_sees_them) {
    Write("data/levels/wild.xml",
          std::string("<resource><level name=\"data\" m_ViewZoom=\"-2\"><array name=\"m_Bodies\">"
                      "<body m_Name=\"a\" m_Rotation=\"nan\" m_Density=\"-3\" m_Restitution=\"inf\">"
                      "<vec2 name=\"m_Position\" x=\"1e30\" y=\"nan\"/><array name=\"m_Fixtures\"><fixture>"
                      "<array name=\"m_Vertices\"><vec2 x=\"0\" y=\"0\"/><vec2 x=\"inf\" y=\"0\"/>"
                      "<vec2 x=\"2\" y=\"2\"/><vec2 x=\"0\" y=\"2\"/></array></fixture></array>"
                      "<array name=\"m_Joints\"><joint m_Type=\"revolutespring\" m_Param1=\"nan\" "
                      "m_Param2=\"-inf\"><vec2 name=\"m_Pos1\" x=\"-1e38\" y=\"1\"/></joint></array></body>"
                      "<body m_Name=\"b\" m_Density=\"1e30\"><array name=\"m_Fixtures\"><fixture>"
                      "<array name=\"m_Vertices\"><vec2 x=\"0\" y=\"0\"/><vec2 x=\"1\" y=\"0\"/>"
                      "<vec2 x=\"0\" y=\"1\"/></array></fixture></array></body></array>"
                      "<array name=\"m_Balls\"><vec2 x=\"-inf\" y=\"5000\"/></array>"
                      "<array name=\"m_Statics\"><staticelement><vec2 name=\"m_Position\" x=\"nan\" y=\"1e9\"/>"
                      "</staticelement></array><array name=\"m_Actives\"><activeelement m_Type=\"teleporter\">"
                      "<vec2 name=\"m_Position2\" x=\"-1e5\" y=\"5\"/></activeelement></array>"
                      "<vec2 name=\"m_Player1StartPos\" x=\"nan\" y=\"-1e9\"/></level></resource>"));
    ASSERT_TRUE(m_Level.Load("data/levels/wild.xml", nullptr));
    const LevelData& data = m_Level.GetData();
    EXPECT_EQ(data.m_ViewZoom, 1.0f);
    EXPECT_EQ(data.m_Player1StartPos, Vec2Data(0, -1000));
    EXPECT_EQ(data.m_Statics.at(0).m_Position, Vec2Data(0, 8000));  // screen pixels: the same reach
    EXPECT_EQ(data.m_Actives.at(0).m_Position2, Vec2Data(-1000, 5));
    b2Body* a = m_Level.GetBodyByName("a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetType(), b2_staticBody);
    EXPECT_EQ(a->GetPosition(), b2Vec2(1000, 0));
    EXPECT_EQ(a->GetAngle(), 0.0f);
    EXPECT_EQ(data.m_Bodies[0].m_Restitution, 0.0f);
    EXPECT_EQ(data.m_Bodies[0].m_Joints[0].m_Pos1, Vec2Data(-1000, 1));
    EXPECT_EQ(data.m_Bodies[0].m_Joints[0].m_Param1, 0.0f);
    EXPECT_EQ(data.m_Bodies[0].m_Fixtures[0].m_Vertices[1], Vec2Data(0, 0));
    EXPECT_LE(data.m_Bodies[1].m_Density, 1.0e6f);
    EXPECT_TRUE(std::isfinite(m_Level.GetBodyByName("b")->GetMass()));
    ASSERT_EQ(m_Level.GetBalls().size(), 1u);
    EXPECT_EQ(m_Level.GetBalls()[0]->GetBody()->GetPosition(), b2Vec2(0, 1000));
    for (int step = 0; step < 10; ++step) {
        m_Level.GetPhysics().Step(0.02f);
        m_Level.Update(nullptr, 0.02f);
    }
}

// A dynamic body whose fixture is tiny beside its distance from the body's origin would have its
// inertia rounded away (a Box2D assertion): it is built not to turn.
TEST_F(LevelLoad, a_body_too_small_for_its_distance_to_turn_is_built_not_to_turn) {
    ASSERT_TRUE(Load(With({Body("speck", {0, 0}, 1.0f, {Polygon({{999, 999}, {999.02f, 999}, {999, 999.02f}})}),
                           Body("plank", {0, 0}, 1.0f, {Polygon({{10, 0}, {14, 0}, {14, 1}, {10, 1}})})})));
    EXPECT_TRUE(m_Level.GetBodyByName("speck")->IsFixedRotation());
    EXPECT_FALSE(m_Level.GetBodyByName("plank")->IsFixedRotation());
    EXPECT_EQ(m_Log->Count("body \"speck\" is too small for its distance from its origin to turn"), 1);
}

TEST_F(LevelLoad, body_movies_are_centred_as_the_body_says) {
    Write("data/body.swf", FramesMovie({"foreground", "background"}, true, 40));
    BodyData centred = Body("centred", {0, 0}, 0.0f, {Polygon(Box(1, 1))});
    centred.m_FlashFile = "data/body.swf";
    centred.m_CenterVisual = true;
    centred.m_VisualOffset = Vec2Data(3, 4);
    BodyData offset = centred;
    offset.m_Name = "offset";
    offset.m_CenterVisual = false;
    offset.m_VisualRotation = 0.25f;
    ASSERT_TRUE(Load(With({centred, offset})));
    ASSERT_EQ(m_Level.GetElements().size(), 2u);
    auto* first = dynamic_cast<FlashBody*>(m_Level.GetElements()[0].get());
    auto* second = dynamic_cast<FlashBody*>(m_Level.GetElements()[1].get());
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->GetFrontMovie().getOrigin(), sf::Vector2f(20, 20));
    EXPECT_EQ(first->GetBackMovie().getOrigin(), sf::Vector2f(20, 20));
    EXPECT_EQ(second->GetFrontMovie().getOrigin(), sf::Vector2f(3, 4));
    EXPECT_EQ(second->GetBackMovie().getOrigin(), sf::Vector2f(3, 4));
    m_Level.Update(nullptr, 0.0f);
    EXPECT_NEAR(second->GetFrontMovie().getRotation(), 0.25f * 180.0f / std::numbers::pi_v<float>, 1e-3);
}

// Loading again starts from nothing: the earlier balls, bodies, names and elements are gone.
TEST_F(LevelLoad, a_second_load_starts_empty) {
    LevelData first = With({Body("old", {0, 0}, 0.0f, {Polygon(Box(1, 1))})});
    first.m_Balls = {Vec2Data(1, 1), Vec2Data(2, 2), Vec2Data(3, 3)};
    first.m_Bodies[0].m_ShowShapes = true;
    ASSERT_TRUE(Load(first));
    LevelData second = With({Body("new", {0, 0}, 0.0f)});
    second.m_Balls = {Vec2Data(-1, -1)};
    ASSERT_TRUE(Load(second));
    EXPECT_EQ(m_Level.GetBodyByName("old"), nullptr);
    EXPECT_NE(m_Level.GetBodyByName("new"), nullptr);
    EXPECT_EQ(m_Level.GetBalls().size(), 1u);
    EXPECT_TRUE(m_Level.GetElements().empty());
    EXPECT_EQ(m_Level.GetPhysics().GetWorld()->GetBodyCount(), 3);  // ground, "new", the ball
    EXPECT_EQ(RegisteredBodies(m_Level.GetPhysics().GetWorld()).size(), 1u);
    // The body-removed signal reaches the level once, not once per load.
    EXPECT_EQ(BodyRemovedSignal().connection_count(), 1u);
}

// Whatever the level made known about its bodies goes with it: the registry's ball records and
// the sound manager's body kinds (kept by address, which a later body may reuse).
TEST_F(LevelLoad, a_destroyed_level_leaves_no_record_or_sound_kind) {
    LevelData data = With({Body("wall", {0, 20}, 0.0f, {Polygon(Box(10, 1))})});
    data.m_Bodies[0].m_SoundType = "ball";
    data.m_Balls = {Vec2Data(-5, 0), Vec2Data(5, 0)};
    std::vector<const b2Body*> balls;
    const b2Body* wall = nullptr;
    {
        Level level;
        ASSERT_TRUE(Load(data, level));
        for (const auto& ball : level.GetBalls()) {
            balls.push_back(ball->GetBody());
            EXPECT_NE(FindBodyRecord(ball->GetBody()), nullptr);
        }
        wall = level.GetBodyByName("wall");
        EXPECT_TRUE(SoundManager::GetInstance().ChooseCollision(balls[0], balls[1], 10.0f).has_value());
        EXPECT_TRUE(SoundManager::GetInstance().ChooseCollision(balls[0], wall, 10.0f).has_value());
    }
    for (const b2Body* ball : balls) {
        EXPECT_EQ(FindBodyRecord(ball), nullptr);
    }
    EXPECT_FALSE(SoundManager::GetInstance().ChooseCollision(balls[0], balls[1], 10.0f).has_value());
    EXPECT_FALSE(SoundManager::GetInstance().ChooseCollision(balls[0], wall, 10.0f).has_value());
    EXPECT_EQ(BodyRemovedSignal().connection_count(), 0u);
}

}  // namespace
