#include "game/BodyRegistry.h"
#include "game/FlashBody.h"
#include "game/FlashClip.h"
#include "game/PhysicalShape.h"
#include "tests/game/LevelTestKit.h"

#include <SFML/Graphics/CircleShape.hpp>
#include <SFML/Graphics/ConvexShape.hpp>
#include <box2d/b2_circle_shape.h>
#include <box2d/b2_contact.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_world_callbacks.h>

#include <cmath>
#include <numbers>

class Globbo;

namespace {

using namespace level_testing;

// A level without bodies, to hold balls and elements.
class LevelElements : public LevelFolder {
protected:
    void SetUp() override {
        LevelFolder::SetUp();
        Write("data/levels/empty.xml", LevelData{});
        ASSERT_TRUE(m_Level.Load("data/levels/empty.xml", nullptr));
    }

    PhysicsWorld& Physics() { return m_Level.GetPhysics(); }

    b2Body* StaticBox(const b2Vec2& at, float halfWidth, float halfHeight, uint16 category) {
        b2BodyDef def;
        def.position = at;
        b2Body* body = Physics().CreateBody(def);
        b2PolygonShape box;
        box.SetAsBox(halfWidth, halfHeight);
        b2FixtureDef fixture;
        fixture.shape = &box;
        fixture.filter.categoryBits = category;
        body->CreateFixture(&fixture);
        return body;
    }

    // The label's frame (from 0) in the movie.
    static int FrameOf(FlashMovie& movie, const char* label) {
        int frame = -1;
        movie.GetRoot()->get_movie_definition()->get_labeled_frame(label, &frame);
        return frame;
    }

    Level m_Level;
};

TEST_F(LevelElements, a_ball_is_a_registered_free_circle_that_never_turns) {
    Ball* ball = m_Level.AddBall(b2Vec2(3, -2));
    ASSERT_NE(ball, nullptr);
    b2Body* body = ball->GetBody();
    EXPECT_EQ(body->GetType(), b2_dynamicBody);
    EXPECT_EQ(body->GetPosition(), b2Vec2(3, -2));
    EXPECT_FLOAT_EQ(body->GetLinearDamping(), 0.2f);
    EXPECT_FLOAT_EQ(body->GetAngularDamping(), 0.2f);
    const BodyRecord* record = FindBodyRecord(body);
    ASSERT_NE(record, nullptr);
    EXPECT_TRUE(record->alive);
    EXPECT_EQ(record->kind, kBallBody);
    EXPECT_EQ(record->owner, nullptr);
    EXPECT_EQ(record->state, kBallFree);
    EXPECT_EQ(record->neutralTimer, -1.0f);
    const b2Fixture* fixture = body->GetFixtureList();
    ASSERT_NE(fixture, nullptr);
    EXPECT_EQ(fixture->GetNext(), nullptr);
    ASSERT_EQ(fixture->GetType(), b2Shape::e_circle);
    EXPECT_FLOAT_EQ(fixture->GetShape()->m_radius, 1.0f);
    EXPECT_FLOAT_EQ(fixture->GetFriction(), 0.1f);
    EXPECT_FLOAT_EQ(fixture->GetRestitution(), 0.9f);
    EXPECT_FLOAT_EQ(fixture->GetDensity(), 0.2f);
    EXPECT_EQ(fixture->GetFilterData().categoryBits, 4);
    EXPECT_EQ(fixture->GetFilterData().maskBits, 0xFFFD);
    // The free ball's colour clip at alpha 100/255, on the frame "normal".
    FlashMovie& movie = ball->GetFrontMovie();
    EXPECT_EQ(movie.GetRoot()->get_current_frame(), FrameOf(movie, "normal"));
    const swfplayer::character* colour = movie.GetCharacter("color");
    ASSERT_NE(colour, nullptr);
    EXPECT_NEAR(colour->get_cxform().m[3][0], 100.0f / 255.0f, 1e-6);
    EXPECT_EQ(ball->GetBackMovie().GetRoot(), nullptr);
    body->SetAngularVelocity(5.0f);
    Physics().Step(0.1f);
    m_Level.Update(nullptr, 0.1f);
    EXPECT_EQ(movie.getRotation(), 0.0f);
    EXPECT_EQ(movie.getPosition(), Physics().ToPixels(body->GetPosition()));
    EXPECT_EQ(m_Level.GetBall(body), ball);
    EXPECT_EQ(m_Level.GetBall(fixture), ball);
    EXPECT_EQ(m_Level.GetBall(static_cast<const b2Body*>(nullptr)), nullptr);
}

// The glow switches on below a squared speed of 1 and off above 1.5: in between it keeps
// whatever it shows.
TEST_F(LevelElements, the_glow_follows_the_squared_speed_with_a_gap_between_on_and_off) {
    Ball* ball = m_Level.AddBall(b2Vec2(0, 0));
    const struct {
        float speedSquared;
        bool visible;
    } steps[] = {{2.0f, false}, {1.1f, false}, {0.9f, true},  {1.1f, true},
                 {1.45f, true}, {1.6f, false}, {1.2f, false}, {0.0f, true}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.speedSquared);
        ball->GetBody()->SetLinearVelocity(b2Vec2(std::sqrt(step.speedSquared), 0.0f));
        m_Level.Update(nullptr, 0.0f);
        EXPECT_EQ(ball->IsGlowVisible(), step.visible);
    }
}

TEST_F(LevelElements, a_resting_free_ball_glows_from_a_frame_set_by_its_distance_and_an_owned_one_from_frame_0) {
    const struct {
        float distance;
        int offset;
    } offsets[] = {{0.0f, 0}, {2.9f, 0}, {3.0f, 1}, {29.9f, 9}, {30.0f, 0}, {45.0f, 5}, {72.0f, 4}};
    for (const auto& c : offsets) {
        EXPECT_EQ(Ball::GlowFrameOffset(c.distance), c.offset) << c.distance;
    }
    Ball* free = m_Level.AddBall(b2Vec2(12.0f, 16.0f));  // 20 units from the origin: 6 frames on
    Ball* owned = m_Level.AddBall(b2Vec2(-12.0f, 16.0f));
    FindBodyRecord(owned->GetBody())->owner = reinterpret_cast<Globbo*>(owned);
    m_Level.Update(nullptr, 0.0f);
    ASSERT_TRUE(free->IsGlowVisible());
    ASSERT_TRUE(owned->IsGlowVisible());
    FlashMovie& glow = free->GetGlowMovie();
    EXPECT_EQ(glow.GetRoot()->get_current_frame(), FrameOf(glow, "showup") + 6);
    EXPECT_EQ(glow.GetRoot()->get_play_state(), swfplayer::character::PLAY);
    EXPECT_EQ(glow.getPosition(), free->GetFrontMovie().getPosition());
    EXPECT_EQ(owned->GetGlowMovie().GetRoot()->get_current_frame(), 0);
    // Moving off, the glow plays its end.
    free->GetBody()->SetLinearVelocity(b2Vec2(2, 0));
    m_Level.Update(nullptr, 0.0f);
    EXPECT_FALSE(free->IsGlowVisible());
    EXPECT_EQ(glow.GetRoot()->get_current_frame(), FrameOf(glow, "hide"));
}

// Balls bounce off walls and each other but pass through creature mouths (category 2).
TEST_F(LevelElements, balls_hit_walls_and_balls_but_not_mouths) {
    struct Contacts : b2ContactListener {
        void BeginContact(b2Contact* contact) override {
            pairs.push_back({contact->GetFixtureA()->GetBody(), contact->GetFixtureB()->GetBody()});
        }
        bool Touched(const b2Body* a, const b2Body* b) const {
            for (const auto& [x, y] : pairs) {
                if ((x == a && y == b) || (x == b && y == a)) {
                    return true;
                }
            }
            return false;
        }
        std::vector<std::pair<const b2Body*, const b2Body*>> pairs;
    } contacts;
    Physics().GetWorld()->SetContactListener(&contacts);
    b2Body* wall = StaticBox(b2Vec2(10, 0), 1, 5, 1);
    b2Body* mouth = StaticBox(b2Vec2(-10, 0), 1, 5, 2);
    Ball* toWall = m_Level.AddBall(b2Vec2(6, 0));
    Ball* toMouth = m_Level.AddBall(b2Vec2(-6, 0));
    Ball* first = m_Level.AddBall(b2Vec2(0, -10));
    Ball* second = m_Level.AddBall(b2Vec2(0, -4));
    toWall->GetBody()->SetLinearVelocity(b2Vec2(10, 0));
    toMouth->GetBody()->SetLinearVelocity(b2Vec2(-10, 0));
    first->GetBody()->SetLinearVelocity(b2Vec2(0, 10));
    for (int step = 0; step < 60; ++step) {
        Physics().Step(1.0f / 60.0f);
    }
    EXPECT_TRUE(contacts.Touched(toWall->GetBody(), wall));
    EXPECT_LT(toWall->GetBody()->GetLinearVelocity().x, 0.0f);  // bounced back
    EXPECT_FALSE(contacts.Touched(toMouth->GetBody(), mouth));
    EXPECT_LT(toMouth->GetBody()->GetPosition().x, -11.0f);  // straight through
    EXPECT_TRUE(contacts.Touched(first->GetBody(), second->GetBody()));
    Physics().GetWorld()->SetContactListener(nullptr);
}

// Removing a ball's body (as the creatures do) removes exactly that ball; the others stay where
// they are in memory, also while balls are added.
TEST_F(LevelElements, removing_a_balls_body_removes_exactly_that_ball) {
    std::vector<Ball*> balls;
    for (int i = 0; i < 4; ++i) {
        balls.push_back(m_Level.AddBall(b2Vec2(static_cast<float>(i * 4), 0)));
    }
    b2Body* gone = balls[1]->GetBody();
    Physics().DestroyBody(gone);
    BodyRemovedSignal().emit(gone);
    ASSERT_EQ(m_Level.GetBalls().size(), 3u);
    EXPECT_EQ(m_Level.GetBalls()[0].get(), balls[0]);
    EXPECT_EQ(m_Level.GetBalls()[1].get(), balls[2]);
    EXPECT_EQ(m_Level.GetBalls()[2].get(), balls[3]);
    EXPECT_EQ(FindBodyRecord(gone), nullptr);
    for (int i = 0; i < 20; ++i) {
        m_Level.AddBall(b2Vec2(-20, static_cast<float>(i)));
    }
    EXPECT_EQ(m_Level.GetBalls()[1].get(), balls[2]);
    EXPECT_EQ(balls[3]->GetBody()->GetPosition(), b2Vec2(12, 0));
    // A body that is no ball changes nothing.
    BodyRemovedSignal().emit(Physics().GetGround());
    EXPECT_EQ(m_Level.GetBalls().size(), 23u);
}

TEST_F(LevelElements, a_clip_is_done_in_the_frame_its_movie_stops) {
    // Three frames, the last of which stops.
    swfkit::Movie movie(8, {0, 200, 0, 200}, 30.0);
    for (int frame = 0; frame < 3; ++frame) {
        if (frame == 2) {
            movie.Tags().DoAction(swfkit::action_assembler().op(swfkit::STOP).bytes());
        }
        movie.Tags().ShowFrame();
    }
    Write("data/once.swf", movie.Write(false));
    Write("data/loop.swf", FramesMovie({"", ""}, false));
    auto once = std::make_unique<FlashClip>("data/once.swf");
    FlashClip* watched = once.get();
    m_Level.AddEffect(std::move(once));
    m_Level.AddEffect(std::make_unique<FlashClip>("data/loop.swf"));
    m_Level.AddEffect(nullptr);
    ASSERT_EQ(m_Level.GetEffectCount(), 2u);
    int updates = 0;
    while (m_Level.GetEffectCount() == 2u && updates < 10) {
        const int before = watched->GetMovie().GetRoot()->get_current_frame();
        m_Level.Update(nullptr, 0.04f);
        ++updates;
        EXPECT_TRUE(m_Level.GetEffectCount() == 2u || before == 1) << "removed on frame " << before;
    }
    EXPECT_LE(updates, 4);
    EXPECT_EQ(m_Level.GetEffectCount(), 1u);
    // A clip without a movie is done at once.
    FlashClip missing("data/none.swf");
    EXPECT_FALSE(missing.Update(nullptr, Physics(), 0.1f));
}

// Effects added while the effects run wait for the next update.
TEST_F(LevelElements, an_effect_added_by_a_running_effect_runs_from_the_next_update) {
    struct Spawner : LevelElement {
        Spawner(Level& level, int& runs) : m_Level(level), m_Runs(runs) {}
        void DrawFront(sf::RenderTarget&, const sf::RenderStates&, const PhysicsWorld&) override {}
        void DrawBack(sf::RenderTarget&, const sf::RenderStates&, const PhysicsWorld&) override {}
        void DrawOverlay(sf::RenderTarget&, const sf::RenderStates&, const PhysicsWorld&) override {}
        bool Update(Application*, const PhysicsWorld&, float) override {
            ++m_Runs;
            if (!m_Spawned) {
                m_Level.AddEffect(std::make_unique<Spawner>(m_Level, m_Runs));
                m_Spawned = true;
                return true;
            }
            return false;
        }
        Level& m_Level;
        int& m_Runs;
        bool m_Spawned = false;
    };
    int runs = 0;
    m_Level.AddEffect(std::make_unique<Spawner>(m_Level, runs));
    m_Level.Update(nullptr, 0.1f);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(m_Level.GetEffectCount(), 2u);
    m_Level.Update(nullptr, 0.1f);
    EXPECT_EQ(runs, 3);  // the first finishes; the second spawns a third
    EXPECT_EQ(m_Level.GetEffectCount(), 2u);
}

TEST_F(LevelElements, a_body_movie_without_a_foreground_label_shows_nothing_behind) {
    Write("data/labelled.swf", FramesMovie({"foreground", "background"}, true, 30));
    Write("data/plain.swf", FramesMovie({"", ""}, false, 30));
    b2Body* body = StaticBox(b2Vec2(5, 5), 1, 1, 1);
    FlashBody labelled(body, "data/labelled.swf");
    FlashBody plain(body, "data/plain.swf");
    EXPECT_EQ(labelled.GetFrontMovie().GetRoot()->get_current_frame(), 0);
    ASSERT_NE(labelled.GetBackMovie().GetRoot(), nullptr);
    EXPECT_EQ(labelled.GetBackMovie().GetRoot()->get_current_frame(), 1);
    EXPECT_EQ(labelled.GetBackMovie().getOrigin(), sf::Vector2f(15, 15));
    EXPECT_NE(plain.GetFrontMovie().GetRoot(), nullptr);
    EXPECT_EQ(plain.GetBackMovie().GetRoot(), nullptr);
}

// A body's movies sit on its pixel position and turn with it (clockwise on screen for a positive
// angle, as Box2D's angle turns x towards y, which points down), plus the visual rotation.
TEST_F(LevelElements, a_body_movie_follows_its_body_and_turns_with_it_unless_told_not_to) {
    Write("data/labelled.swf", FramesMovie({"foreground", "background"}));
    b2BodyDef def;
    def.type = b2_dynamicBody;
    def.position.Set(-10, 5);
    def.angle = 0.5f;
    b2Body* body = Physics().CreateBody(def);
    FlashBody visual(body, "data/labelled.swf");
    visual.SetVisualRotation(0.25f);
    const float degrees = 180.0f / std::numbers::pi_v<float>;
    visual.Update(nullptr, Physics(), 0.0f);
    for (FlashMovie* movie : {&visual.GetFrontMovie(), &visual.GetBackMovie()}) {
        EXPECT_EQ(movie->getPosition(), sf::Vector2f(320, 340));
        EXPECT_NEAR(movie->getRotation(), 0.75f * degrees, 1e-3);
    }
    visual.SetRotateWithBody(false);
    visual.Update(nullptr, Physics(), 0.0f);
    EXPECT_NEAR(visual.GetFrontMovie().getRotation(), 0.25f * degrees, 1e-3);
}

TEST_F(LevelElements, an_outline_follows_its_bodys_fixtures_in_pixels) {
    b2BodyDef def;
    def.position.Set(10, -5);
    def.angle = std::numbers::pi_v<float> / 2.0f;
    b2Body* body = Physics().CreateBody(def);
    b2PolygonShape box;
    box.SetAsBox(2, 1);
    body->CreateFixture(&box, 0.0f);
    b2CircleShape circle;
    circle.m_p.Set(3, 0);
    circle.m_radius = 1.5f;
    body->CreateFixture(&circle, 0.0f);
    PhysicalShape outline(body, 1.0f);
    ASSERT_EQ(outline.GetShapes().size(), 2u);
    // Box2D lists the newest fixture first: the circle.
    const auto& disc = static_cast<const sf::CircleShape&>(*outline.GetShapes()[0]);
    EXPECT_EQ(disc.getRadius(), 1.5f);
    EXPECT_TRUE(outline.Update(nullptr, Physics(), 0.0f));
    EXPECT_EQ(disc.getRadius(), 12.0f);
    EXPECT_NEAR(disc.getPosition().x, 480.0f, 1e-3);  // (10, -2) in units
    EXPECT_NEAR(disc.getPosition().y, 284.0f, 1e-3);
    EXPECT_EQ(disc.getFillColor(), sf::Color::White);
    EXPECT_EQ(disc.getOutlineColor(), sf::Color::Black);
    EXPECT_EQ(disc.getOutlineThickness(), 1.0f);
    const auto& polygon = static_cast<const sf::ConvexShape&>(*outline.GetShapes()[1]);
    ASSERT_EQ(polygon.getPointCount(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        const sf::Vector2f expected = Physics().ToPixels(body->GetWorldPoint(box.m_vertices[i]));
        EXPECT_NEAR(polygon.getPoint(i).x, expected.x, 1e-3);
        EXPECT_NEAR(polygon.getPoint(i).y, expected.y, 1e-3);
    }
}

}  // namespace
