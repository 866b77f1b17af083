#include "swfplayer/main/display/sprite_instance.h"
#include "tests/game/CreatureTestKit.h"
#include "tools/swfkit/ShapeBuilder.h"

#include <box2d/b2_circle_shape.h>

#include <cmath>
#include <limits>
#include <random>
#include <set>

namespace {

using namespace creature_testing;

class GlobboBehaviour : public CreatureFolder {
protected:
    // The ring's positions.
    static std::vector<b2Vec2> Ring(const Globbo& creature) {
        std::vector<b2Vec2> ring;
        for (const b2Body* body : creature.GetRingBodies()) {
            ring.push_back(body->GetPosition());
        }
        return ring;
    }

    // The even-odd rule, exactly: a ray to the right crosses the polygon's edges.
    static bool Inside(const std::vector<b2Vec2>& polygon, const b2Vec2& p) {
        bool inside = false;
        for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
            const b2Vec2& a = polygon[i];
            const b2Vec2& b = polygon[j];
            if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) {
                inside = !inside;
            }
        }
        return inside;
    }

    static float DistanceToOutline(const std::vector<b2Vec2>& polygon, const b2Vec2& p) {
        float best = std::numeric_limits<float>::max();
        for (size_t i = 0; i < polygon.size(); ++i) {
            const b2Vec2& a = polygon[i];
            const b2Vec2& b = polygon[(i + 1) % polygon.size()];
            const b2Vec2 ab = b - a;
            const float t = std::clamp(b2Dot(p - a, ab) / ab.LengthSquared(), 0.0f, 1.0f);
            best = std::min(best, (a + t * ab - p).Length());
        }
        return best;
    }

    // The frame (from 0) of the label in the movie's root, or of the clip's own timeline.
    static int LabelFrame(swfplayer::movie_definition* definition, const char* label) {
        int frame = -1;
        definition->get_labeled_frame(label, &frame);
        return frame;
    }
};

// Away from the outline the inside test agrees with the exact even-odd rule, on the fresh ring
// and on a squashed one.
TEST_F(GlobboBehaviour, the_inside_test_agrees_with_the_even_odd_rule_away_from_the_outline) {
    const auto creature = Make("data/players/bubbles.xml", {3.0f, -2.0f});
    std::mt19937 random(7);
    std::uniform_real_distribution<float> spread(-6.0f, 6.0f);
    for (int shape = 0; shape < 2; ++shape) {
        if (shape == 1) {
            // Squashed against a wall on the right.
            Wall({6.5f, -2.0f}, 0.5f, 10.0f);
            creature->SetLinearVelocity({15.0f, 0.0f});
            for (int i = 0; i < 40; ++i) {
                Step(*creature);
            }
        }
        const std::vector<b2Vec2> ring = Ring(*creature);
        int inside = 0;
        for (int i = 0; i < 4000; ++i) {
            const b2Vec2 p(3.0f + spread(random), -2.0f + spread(random));
            if (DistanceToOutline(ring, p) < 0.6f) {
                continue;
            }
            ASSERT_EQ(creature->IsPointInside(p.x, p.y), Inside(ring, p)) << p.x << ", " << p.y;
            inside += Inside(ring, p) ? 1 : 0;
        }
        EXPECT_GT(inside, 500);
    }
}

// An edge counts when the point's x lies in its x range with the smaller end included and the
// larger left out, so a point straight above (or below) a vertex meets the two edges that share
// it once; and an edge counts only with an end at or below the point.
TEST_F(GlobboBehaviour, the_inside_test_counts_a_vertex_once_at_the_seam_of_two_edges) {
    const auto creature = Make("data/players/bubbles.xml");
    const std::vector<b2Vec2> ring = Ring(*creature);
    struct Row {
        int vertex;   // a ring body
        float above;  // how far above it (negative: below) the point lies
        bool inside;
    };
    // Bodies 5 and 15 lie on the lower half, 26 and 36 on the upper (y grows downwards).
    const Row rows[] = {{5, 0.5f, true},   {15, 1.0f, true},  {5, -0.5f, false}, {15, -1.0f, false},
                        {26, -0.5f, true}, {36, -1.0f, true}, {26, 0.5f, false}, {36, 1.0f, false},
                        {5, 0.0f, true},   {10, 7.0f, true},  {10, 9.0f, false}, {31, -7.5f, true}};
    for (const Row& row : rows) {
        const b2Vec2 p(ring[row.vertex].x, ring[row.vertex].y - row.above);
        EXPECT_EQ(creature->IsPointInside(p.x, p.y), row.inside) << row.vertex << " " << row.above;
    }
    // Left of the leftmost and at the rightmost point: outside.
    EXPECT_FALSE(creature->IsPointInside(ring[21].x - 0.01f, ring[21].y));
    EXPECT_FALSE(creature->IsPointInside(ring[0].x, ring[0].y - 0.01f));
}

// A ball moved in is taken once and let go once when it leaves; the parts of either creature
// (rings, mouths, anchors) are never listed, whoever's outline they lie in.
TEST_F(GlobboBehaviour, a_ball_moved_in_and_out_is_taken_and_let_go_once_and_parts_never_count) {
    const auto one = Make("data/players/bubbles.xml", {0.0f, 0.0f});
    const auto two = Make("data/players/sprout.xml", {1.0f, 0.5f});
    Listen(*one);
    Listen(*two);
    Ball* ball = AddBall({20.0f, 0.0f});
    b2Body* body = ball->GetBody();
    one->Update(0.02f);
    EXPECT_TRUE(m_Told.empty());
    body->SetTransform({0.0f, -1.0f}, 0.0f);
    one->Update(0.02f);
    one->Update(0.02f);
    EXPECT_EQ(m_Told, (std::vector<Told>{{'T', one.get(), body}}));
    EXPECT_EQ(one->GetContents(), std::vector<b2Body*>{body});
    body->SetTransform({20.0f, 0.0f}, 0.0f);
    one->Update(0.02f);
    one->Update(0.02f);
    EXPECT_EQ(m_Told, (std::vector<Told>{{'T', one.get(), body}, {'L', one.get(), body}}));
    EXPECT_TRUE(one->GetContents().empty());
    two->Update(0.02f);
    EXPECT_TRUE(two->GetContents().empty());
}

// Bodies that leave far beyond the ring's bounds (out of reach of the query) are let go from the
// list itself, each of them, though the list shrinks as they go.
TEST_F(GlobboBehaviour, every_body_that_left_is_let_go_while_the_list_shrinks) {
    const auto creature = Make("data/players/hooligan.xml");
    Listen(*creature);
    std::vector<b2Body*> balls;
    for (int i = 0; i < 3; ++i) {
        balls.push_back(AddBall({-1.0f + i, 0.0f})->GetBody());
    }
    creature->Update(0.02f);
    ASSERT_EQ(std::set<b2Body*>(creature->GetContents().begin(), creature->GetContents().end()),
              std::set<b2Body*>(balls.begin(), balls.end()));
    const std::vector<b2Body*> listed = creature->GetContents();
    m_Told.clear();
    for (int i = 0; i < 3; ++i) {
        balls[i]->SetTransform({40.0f + 5.0f * i, 30.0f}, 0.0f);
    }
    creature->Update(0.02f);
    ASSERT_EQ(m_Told.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(m_Told[i], (Told{'L', creature.get(), listed[i]}));
    }
    EXPECT_TRUE(creature->GetContents().empty());
}

// Balls held inside count for their owners.
TEST_F(GlobboBehaviour, balls_inside_count_by_owner) {
    const auto one = Make("data/players/bubbles.xml");
    const auto two = Make("data/players/sprout.xml", {20.0f, 0.0f});
    const b2Vec2 places[] = {{-1.0f, 0.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}, {30.0f, 0.0f}};
    Globbo* owners[] = {one.get(), two.get(), two.get(), two.get()};
    for (int i = 0; i < 4; ++i) {
        FindBodyRecord(AddBall(places[i])->GetBody())->owner = owners[i];
    }
    one->Update(0.02f);
    EXPECT_EQ(one->CountBallsInside(one.get()), 1);
    EXPECT_EQ(one->CountBallsInside(two.get()), 2);
    EXPECT_EQ(one->CountBallsInside(nullptr), 0);
}

// A mouth pushed out of the outline comes back 3 units towards the centre at once.
TEST_F(GlobboBehaviour, a_mouth_outside_is_brought_back_towards_the_centre) {
    const auto creature = Make("data/players/plum.xml");
    b2Body* mouth = creature->GetMouthBody();
    const b2Vec2 centre = creature->m_Center;
    mouth->SetTransform({12.0f, 0.0f}, 0.7f);
    creature->Update(0.02f);
    EXPECT_NEAR(mouth->GetPosition().x, 9.0f, 1e-4f);
    EXPECT_NEAR(mouth->GetPosition().y, (12.0f - 9.0f) / 12.0f * centre.y, 1e-3f);
    EXPECT_FLOAT_EQ(mouth->GetAngle(), 0.7f);
    mouth->SetTransform({0.5f, 0.5f}, 0.7f);
    creature->Update(0.02f);
    EXPECT_EQ(mouth->GetPosition(), b2Vec2(0.5f, 0.5f));
    // The anchor follows the centre.
    EXPECT_EQ(creature->GetAnchorBody()->GetPosition(), creature->m_Center);
}

// Steering pushes the mouth with 200 N times the strength along the direction, from its centre of
// mass; what is not a number pushes nothing, longer directions count as unit ones and strengths
// are kept to 0..1. The facing turns halfway each time and is never NaN.
TEST_F(GlobboBehaviour, steering_pushes_the_mouth_and_turns_the_facing) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Row {
        b2Vec2 direction;
        float strength;
        b2Vec2 force;  // expected
    };
    const Row rows[] = {{{1.0f, 0.0f}, 1.0f, {200.0f, 0.0f}},   {{0.0f, -1.0f}, 0.5f, {0.0f, -100.0f}},
                        {{3.0f, 4.0f}, 1.0f, {120.0f, 160.0f}}, {{0.6f, 0.8f}, 2.0f, {120.0f, 160.0f}},
                        {{1.0f, 0.0f}, -1.0f, {0.0f, 0.0f}},    {{nan, 0.0f}, 1.0f, {0.0f, 0.0f}},
                        {{1.0f, 0.0f}, inf, {0.0f, 0.0f}},      {{1e30f, 1e30f}, 1.0f, {141.42136f, 141.42136f}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.direction.x) + ", " + std::to_string(row.strength));
        const auto creature = Make("data/players/sprout.xml", {30.0f, 0.0f});
        b2Body* mouth = creature->GetMouthBody();
        creature->MoveMouth(row.direction, row.strength);
        m_World.Step(0.02f);
        const b2Vec2 expected = (0.02f / mouth->GetMass()) * row.force;
        EXPECT_NEAR(mouth->GetLinearVelocity().x, expected.x, 1e-3f);
        EXPECT_NEAR(mouth->GetLinearVelocity().y, expected.y, 1e-3f);
        EXPECT_FLOAT_EQ(mouth->GetAngularVelocity(), 0.0f);
        EXPECT_TRUE(creature->GetFacing().IsValid());
    }
    const auto creature = Make("data/players/sprout.xml");
    creature->MoveMouth({1.0f, 0.0f}, 1.0f);
    EXPECT_EQ(creature->GetFacing(), b2Vec2(1.0f, 0.0f));
    EXPECT_EQ(creature->GetLastSteering().force, 200.0f);
    creature->MoveMouth({0.0f, -1.0f}, 0.25f);
    EXPECT_NEAR(creature->GetFacing().x, std::sqrt(0.5f), 1e-6f);
    EXPECT_NEAR(creature->GetFacing().y, -std::sqrt(0.5f), 1e-6f);
    EXPECT_EQ(creature->GetLastSteering().force, 50.0f);
    EXPECT_EQ(creature->GetLastSteering().direction, b2Vec2(0.0f, -1.0f));
    creature->Update(0.02f);
    EXPECT_EQ(creature->GetFacing(), b2Vec2(0.0f, 0.0f));
    creature->MoveMouth({1.0f, 0.0f}, 1.0f);
    creature->MoveMouth({-1.0f, 0.0f}, 1.0f);
    EXPECT_EQ(creature->GetFacing(), b2Vec2(0.0f, 0.0f));
}

// The mouth rests open on frame 0; when its timer runs out it closes (and waits the closed
// delay), then opens again from "closed" (and waits the open delay), each wait drawn from
// [delay, 1.5 x delay].
TEST_F(GlobboBehaviour, the_mouth_closes_and_opens_on_its_timer) {
    const auto creature = Make("data/players/hooligan.xml");
    FlashMovie& mouth = creature->GetMouthMovie();
    const MouthData& delays = creature->m_Data.m_Mouth;
    const int closed = LabelFrame(mouth.GetRoot()->get_movie_definition(), "closed");
    ASSERT_GT(closed, 0);
    auto frame = [&mouth] {
        return mouth.GetRoot()->get_current_frame();
    };
    std::vector<int> changedFrom;
    int before = frame();
    float previous = creature->GetMouthTimer();
    for (int step = 0; step < 2000 && changedFrom.size() < 4; ++step) {
        creature->Update(0.01f);
        const float timer = creature->GetMouthTimer();
        if (timer > previous) {
            changedFrom.push_back(before);
            const bool wasOpen = before == 0;
            EXPECT_TRUE(wasOpen || before == closed) << before;
            const float delay = wasOpen ? delays.m_ClosedDelay : delays.m_OpenDelay;
            EXPECT_GE(timer, delay);
            EXPECT_LE(timer, 1.5f * delay);
            EXPECT_EQ(frame(), LabelFrame(mouth.GetRoot()->get_movie_definition(), wasOpen ? "close" : "open"));
        }
        before = frame();
        previous = timer;
    }
    EXPECT_EQ(changedFrom, (std::vector<int>{0, closed, 0, closed}));
}

// Every 5 to 8 seconds both eyes blink.
TEST_F(GlobboBehaviour, both_eyes_blink_every_five_to_eight_seconds) {
    const auto creature = Make("data/players/blossom.xml");
    FlashMovie& eyes = creature->GetEyesMovie();
    auto eye = [&eyes](const char* name) {
        return static_cast<swfplayer::sprite_instance*>(swfplayer::cast_to_sprite_instance(eyes.GetCharacter(name)));
    };
    const int blink = LabelFrame(eye("eye_l")->get_movie_definition(), "blink");
    ASSERT_GT(blink, 0);
    float previous = creature->GetBlinkTimer();
    int blinks = 0;
    for (int step = 0; step < 2000; ++step) {
        creature->Update(0.01f);
        const float timer = creature->GetBlinkTimer();
        if (timer > previous) {
            ++blinks;
            EXPECT_GE(timer, 5.0f);
            EXPECT_LE(timer, 8.0f);
            EXPECT_EQ(eye("eye_l")->get_current_frame(), blink);
            EXPECT_EQ(eye("eye_r")->get_current_frame(), blink);
        }
        previous = timer;
    }
    EXPECT_GE(blinks, 2);
    EXPECT_LE(blinks, 4);
}

// The pupils follow where the creature faces, 7 pixels at most from their places, and the eyes
// drift no more than 3 pixels from theirs.
TEST_F(GlobboBehaviour, pupils_look_where_the_creature_faces_and_eyes_drift_a_little) {
    const auto creature = Make("data/players/bubbles.xml");
    FlashMovie& eyes = creature->GetEyesMovie();
    const EyeRecord& left = creature->GetEye(0);
    ASSERT_EQ(left.GetName(), "eye_l");
    EXPECT_EQ(creature->GetEye(1).GetName(), "eye_r");
    const swfplayer::matrix placed = eyes.GetCharacter("eye_l")->get_matrix();
    EXPECT_EQ(left.GetBase(), sf::Vector2f(placed.m[0][2] / 20.0f, placed.m[1][2] / 20.0f));
    for (int step = 0; step < 600; ++step) {
        creature->MoveMouth({1.0f, 0.0f}, 1.0f);
        creature->Update(0.02f);
        const sf::Vector2f wander = left.GetWander();
        ASSERT_LE(std::abs(wander.x), 3.0f);
        ASSERT_LE(std::abs(wander.y), 3.0f);
    }
    EXPECT_NEAR(left.GetLook().x, 1.0f, 1e-3f);
    const swfplayer::matrix pupil = eyes.GetChildCharacter("eye_l", "pupil")->get_matrix();
    EXPECT_NEAR(pupil.m[0][2] / 20.0f, left.GetPupilBase().x + 7.0f * left.GetLook().x, 0.05f);
    const swfplayer::matrix eye = eyes.GetCharacter("eye_l")->get_matrix();
    EXPECT_NEAR(eye.m[0][2] / 20.0f, left.GetBase().x + left.GetWander().x, 0.05f);
}

// An eyeball drawn turned in the movie stands upright once the creature is built; its scale stays.
TEST_F(GlobboBehaviour, the_eyeball_is_turned_upright) {
    swfkit::Movie movie(8, {0, 1280, 0, 960}, 30.0);
    swfkit::TagList& tags = movie.Tags();
    swfkit::ShapeBuilder dot;
    dot.SetFillStyle1(dot.AddFillStyle(swfkit::FillStyle::Solid({255, 255, 255, 255})));
    dot.MoveTo(0, 0);
    dot.LineTo(100, 0);
    dot.LineTo(100, 100);
    dot.LineTo(0, 0);
    tags.DefineShape(1, dot);
    swfkit::TagList eye(8);
    swfkit::Placement eyeball;
    eyeball.characterId = 1;
    eyeball.name = "eyeball";
    swfkit::Matrix turned;
    turned.scaleX = 2.0 * std::cos(0.5);
    turned.scaleY = 2.0 * std::cos(0.5);
    turned.rotate0 = 2.0 * std::sin(0.5);
    turned.rotate1 = -2.0 * std::sin(0.5);
    eyeball.matrix = turned;
    eye.PlaceObject2(eyeball).ShowFrame();
    tags.DefineSprite(2, eye);
    for (const char* name : {"eye_l", "eye_r"}) {
        swfkit::Placement place;
        place.depth = name[4] == 'l' ? 1 : 2;
        place.characterId = 2;
        place.name = name;
        tags.PlaceObject2(place);
    }
    tags.ShowFrame();
    Write("data/turned_eyes.swf", movie.Write(false));
    GlobboData data;
    data.m_Eyes.m_Image = "data/turned_eyes.swf";
    WriteDefinition("data/players/turned.xml", data);
    const auto creature = Make("data/players/turned.xml");
    for (const char* name : {"eye_l", "eye_r"}) {
        const swfplayer::matrix m = creature->GetEyesMovie().GetChildCharacter(name, "eyeball")->get_matrix();
        EXPECT_NEAR(m.get_rotation(), 0.0f, 1e-4f);
        EXPECT_NEAR(m.get_x_scale(), 2.0f, 1e-3f);
        EXPECT_NEAR(m.get_y_scale(), 2.0f, 1e-3f);
    }
}

// ---- Spitting and taking in ----

// Shoot with the mouth below the centre: the chosen ball goes 3.3 units past the mouth, straight
// out, with an impulse of 40 along the way, unless a piece of the level lies in between; only
// balls inside that the creature may take are chosen, the first in registration order.
TEST_F(GlobboBehaviour, shooting_spits_the_first_ball_it_may_take) {
    struct Row {
        const char* what;
        bool wall;          // a wall between the mouth and the spit position
        bool foreignFirst;  // a ball of the other creature, registered first, lies inside too
        bool inside;        // the own ball lies inside
    };
    const Row rows[] = {{"open way", false, false, true},
                        {"wall in the way", true, false, true},
                        {"the other's ball first", false, true, true},
                        {"only the other's ball", false, true, false},
                        {"nothing inside", false, false, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        NewWorld();
        const auto creature = Make("data/players/sunny.xml");
        const auto other = Make("data/players/plum.xml", {30.0f, 0.0f});
        Listen(*creature);
        b2Body* mouth = creature->GetMouthBody();
        const b2Vec2 direction(0.0f, 1.0f);
        mouth->SetTransform(creature->m_Center + 2.0f * direction, 0.0f);
        if (row.wall) {
            Wall({0.0f, 4.8f}, 3.0f, 0.2f);
        }
        b2Body* foreign = nullptr;
        if (row.foreignFirst) {
            foreign = AddBall({1.0f, -1.0f})->GetBody();
            FindBodyRecord(foreign)->owner = other.get();
        }
        const b2Vec2 start = row.inside ? b2Vec2(-1.0f, -1.0f) : b2Vec2(20.0f, 0.0f);
        b2Body* own = AddBall(start)->GetBody();
        const b2Vec2 foreignStart = foreign ? foreign->GetPosition() : b2Vec2_zero;
        creature->Shoot();
        const b2Vec2 spitTo = creature->m_Center + (2.0f + 3.3f) * direction;
        if (row.inside) {
            const b2Vec2 expected = row.wall ? start : spitTo;
            EXPECT_NEAR(own->GetPosition().x, expected.x, 1e-4f);
            EXPECT_NEAR(own->GetPosition().y, expected.y, 1e-4f);
            EXPECT_NEAR(own->GetLinearVelocity().y, 40.0f / own->GetMass(), 1e-3f);
            EXPECT_NEAR(own->GetLinearVelocity().x, 0.0f, 1e-5f);
            EXPECT_TRUE(own->IsAwake());
            EXPECT_EQ(FindBodyRecord(own)->state, kBallSpat);
        } else {
            EXPECT_EQ(own->GetPosition(), start);
            EXPECT_EQ(own->GetLinearVelocity(), b2Vec2_zero);
            EXPECT_EQ(FindBodyRecord(own)->state, kBallFree);
        }
        if (foreign != nullptr) {
            EXPECT_EQ(foreign->GetPosition(), foreignStart);
            EXPECT_EQ(foreign->GetLinearVelocity(), b2Vec2_zero);
        }
    }
}

// Whether or not there is a ball to spit, the mouth plays "spit", waits [openDelay, 1.5 x
// openDelay], the eyes blink fast and the next blink waits [5, 8] seconds.
TEST_F(GlobboBehaviour, shooting_animates_the_mouth_and_eyes_and_restarts_their_timers) {
    for (bool withBall : {false, true}) {
        NewWorld();
        const auto creature = Make("data/players/bubbles.xml");
        if (withBall) {
            AddBall({0.0f, -1.0f});
        }
        creature->Shoot();
        FlashMovie& mouth = creature->GetMouthMovie();
        EXPECT_EQ(mouth.GetRoot()->get_current_frame(), LabelFrame(mouth.GetRoot()->get_movie_definition(), "spit"));
        const float open = creature->m_Data.m_Mouth.m_OpenDelay;
        EXPECT_GE(creature->GetMouthTimer(), open);
        EXPECT_LE(creature->GetMouthTimer(), 1.5f * open);
        EXPECT_GE(creature->GetBlinkTimer(), 5.0f);
        EXPECT_LE(creature->GetBlinkTimer(), 8.0f);
        auto* eye = swfplayer::cast_to_sprite_instance(creature->GetEyesMovie().GetCharacter("eye_r"));
        EXPECT_EQ(eye->get_current_frame(), LabelFrame(eye->get_movie_definition(), "blinkfast"));
    }
}

// With the mouth on the centre there is no direction to spit in: the ball stays, gets no push,
// and nothing becomes NaN.
TEST_F(GlobboBehaviour, a_mouth_on_the_centre_spits_nowhere) {
    const auto creature = Make("data/players/bubbles.xml");
    creature->GetMouthBody()->SetTransform(creature->m_Center, 0.0f);
    b2Body* ball = AddBall({-1.0f, -1.0f})->GetBody();
    creature->Shoot();
    EXPECT_EQ(ball->GetPosition(), b2Vec2(-1.0f, -1.0f));
    EXPECT_EQ(ball->GetLinearVelocity(), b2Vec2_zero);
    for (int i = 0; i < 10; ++i) {
        Step(*creature);
    }
    EXPECT_TRUE(ball->GetPosition().IsValid());
    EXPECT_TRUE(creature->m_Center.IsValid());
}

// A ball that touched the skin is pulled 3 units in along the line to the centre and moves in at
// 20 units a second at least (one faster keeps its velocity); its state becomes free. A ball
// inside, a null record and a creature without physics change nothing.
TEST_F(GlobboBehaviour, taking_in_pulls_a_ball_through_the_skin) {
    struct Row {
        const char* what;
        b2Vec2 at;
        b2Vec2 velocity;
        b2Vec2 expectedVelocity;
        b2Vec2 expectedAt;
    };
    // The centre is the origin; a ball at (6, 0) lies to the right, outside.
    const Row rows[] = {
        {"at rest", {6.0f, 0.0f}, {0.0f, 0.0f}, {-20.0f, 0.0f}, {3.0f, 0.0f}},
        {"sliding along", {6.0f, 0.0f}, {0.0f, 5.0f}, {-20.0f, 5.0f}, {3.0f, 0.0f}},
        {"already coming in fast", {6.0f, 0.0f}, {-25.0f, 1.0f}, {-25.0f, 1.0f}, {3.0f, 0.0f}},
        {"coming in at 20", {6.0f, 0.0f}, {-20.0f, 0.0f}, {-20.0f, 0.0f}, {3.0f, 0.0f}},
        {"leaving", {6.0f, 0.0f}, {4.0f, 0.0f}, {-16.0f, 0.0f}, {3.0f, 0.0f}},
        {"inside", {1.0f, 1.0f}, {3.0f, 0.0f}, {3.0f, 0.0f}, {1.0f, 1.0f}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        NewWorld();
        const auto creature = Make("data/players/bubbles.xml");
        creature->m_Center.SetZero();
        b2Body* ball = AddBall(row.at)->GetBody();
        ball->SetLinearVelocity(row.velocity);
        BodyRecord* record = FindBodyRecord(ball);
        record->state = kBallQueued;
        creature->TakeIn(record);
        EXPECT_NEAR(ball->GetLinearVelocity().x, row.expectedVelocity.x, 1e-4f);
        EXPECT_NEAR(ball->GetLinearVelocity().y, row.expectedVelocity.y, 1e-4f);
        EXPECT_NEAR(ball->GetPosition().x, row.expectedAt.x, 1e-4f);
        EXPECT_NEAR(ball->GetPosition().y, row.expectedAt.y, 1e-4f);
        EXPECT_EQ(record->state, row.at == row.expectedAt ? kBallQueued : kBallFree);
        creature->TakeIn(nullptr);
        creature->DestroyPhysics();
        const b2Vec2 kept = ball->GetPosition();
        creature->TakeIn(record);
        EXPECT_EQ(ball->GetPosition(), kept);
    }
}

// Between the touch that queued a ball and the pull, the other creature may have taken it in where
// the two overlap: a burden (a point for its owner) or a ball held keeps its state and its place,
// or the point would stay counted for a ball that no longer shows as a burden.
TEST_F(GlobboBehaviour, taking_in_leaves_a_ball_taken_since_it_was_queued) {
    for (const int state : {kBallBurden, kBallHeld}) {
        SCOPED_TRACE(state);
        NewWorld();
        const auto creature = Make("data/players/bubbles.xml");
        creature->m_Center.SetZero();
        b2Body* ball = AddBall({6.0f, 0.0f})->GetBody();
        BodyRecord* record = FindBodyRecord(ball);
        record->state = state;
        creature->TakeIn(record);
        EXPECT_EQ(record->state, state);
        EXPECT_EQ(ball->GetPosition(), b2Vec2(6.0f, 0.0f));
        EXPECT_EQ(ball->GetLinearVelocity(), b2Vec2_zero);
        creature->DestroyPhysics();
    }
}

// Throwing the creature sets the velocity of its ring and mouth; what is not a number counts as
// 0 and speeds are kept below 1,000.
TEST_F(GlobboBehaviour, throwing_sets_the_ring_and_mouth_velocity_within_bounds) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Row {
        b2Vec2 velocity;
        b2Vec2 expected;
    };
    const Row rows[] = {{{3.0f, -4.0f}, {3.0f, -4.0f}},
                        {{nan, 2.0f}, {0.0f, 2.0f}},
                        {{3e30f, 4e30f}, {600.0f, 800.0f}},
                        {{0.0f, 0.0f}, {0.0f, 0.0f}}};
    const auto creature = Make("data/players/bubbles.xml");
    for (const Row& row : rows) {
        creature->SetLinearVelocity(row.velocity);
        std::vector<b2Body*> bodies = creature->GetRingBodies();
        bodies.push_back(creature->GetMouthBody());
        for (const b2Body* body : bodies) {
            EXPECT_NEAR(body->GetLinearVelocity().x, row.expected.x, 1e-3f);
            EXPECT_NEAR(body->GetLinearVelocity().y, row.expected.y, 1e-3f);
        }
        EXPECT_EQ(creature->GetAnchorBody()->GetLinearVelocity(), b2Vec2_zero);
    }
}

}  // namespace
