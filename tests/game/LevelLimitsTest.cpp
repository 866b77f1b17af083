// Levels that hold more than a level may: the first records are built, the rest left out with one
// log line per limit; and the files that once stalled or swelled the game load and step, in a
// child process, within time and memory bounds.
#include "game/ConvexPieces.h"
#include "game/LevelLimits.h"
#include "tests/game/LevelTestKit.h"
#include "tests/support/BoundedRun.h"

#include <box2d/b2_fixture.h>

#include <chrono>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>

namespace {

using namespace level_testing;
using namespace std::chrono_literals;
using testing_support::RunBounded;

constexpr size_t kMegabyte = 1024 * 1024;
const std::string kFile = "data/levels/test.xml";
const std::string kDrawing = "data/levels/test.svg";

// A regular polygon of n points about (x, y).
std::vector<b2Vec2> Regular(int n, float radius, float x = 0.0f, float y = 0.0f) {
    std::vector<b2Vec2> points;
    for (int i = 0; i < n; ++i) {
        const float a = 2.0f * std::numbers::pi_v<float> * static_cast<float>(i) / static_cast<float>(n);
        points.emplace_back(x + radius * std::cos(a), y + radius * std::sin(a));
    }
    return points;
}

// The path element of the points, in drawing pixels.
std::string Path(const std::vector<b2Vec2>& points) {
    std::string d = "M";
    for (const b2Vec2& p : points) {
        d += " " + std::to_string(p.x) + "," + std::to_string(p.y);
    }
    return "<path d=\"" + d + " z\"/>";
}

std::string Drawing(const std::string& content) {
    return "<svg width=\"800\" height=\"600\"><g>" + content + "</g></svg>";
}

BodyData DrawnBody(const std::string& name, const std::vector<FixtureData>& fixtures = {}) {
    BodyData body = Body(name, {0, 0}, 0.0f, fixtures);
    body.m_SVGFile = kDrawing;
    return body;
}

std::vector<FixtureData> Triangles(size_t count) {
    return std::vector<FixtureData>(count, Polygon({{0, 0}, {1, 0}, {0, 1}}));
}

size_t ShapeCount(const Level& level) {
    size_t count = 0;
    for (b2Body* body : Bodies(*level.GetPhysics().GetWorld())) {
        for (const b2Fixture* f = body->GetFixtureList(); f != nullptr; f = f->GetNext()) {
            ++count;
        }
    }
    return count;
}

void Require(bool condition, const char* what) {
    if (!condition) {
        throw std::runtime_error(what);
    }
}

class LevelLimitsTest : public LevelFolder {
protected:
    bool Load(const std::vector<BodyData>& bodies) {
        LevelData data;
        data.m_Bodies = bodies;
        Write(kFile, data);
        return m_Level.Load(kFile, nullptr);
    }
    const std::vector<FixtureData>& FixturesRead(size_t body) const {
        return m_Level.GetData().m_Bodies[body].m_Fixtures;
    }
    static std::string Limit(const std::string& what) {
        return "LevelLimits::Apply: " + kFile + " holds more than " + what + "; the rest are left out";
    }

    Level m_Level;
};

TEST_F(LevelLimitsTest, bodies_and_balls_past_their_limits_are_left_out_and_logged_once) {
    for (size_t extra : {0u, 1u, 40u}) {
        SCOPED_TRACE(extra);
        LevelData data;
        for (size_t i = 0; i < LevelLimits::kMaxBodies + extra; ++i) {
            data.m_Bodies.push_back(Body("b" + std::to_string(i), {0, 0}, 0.0f, Triangles(1)));
        }
        for (size_t i = 0; i < LevelLimits::kMaxBalls + extra; ++i) {
            data.m_Balls.emplace_back(static_cast<float>(i % 30) * 3.0f - 45.0f, static_cast<float>(i / 30) * 3.0f);
        }
        Write(kFile, data);
        testing_support::FileTail log(LogFile());
        ASSERT_TRUE(m_Level.Load(kFile, nullptr));
        const std::string last = "b" + std::to_string(LevelLimits::kMaxBodies - 1);
        EXPECT_NE(m_Level.GetBodyByName(last), nullptr);
        EXPECT_EQ(m_Level.GetBodyByName("b" + std::to_string(LevelLimits::kMaxBodies)), nullptr);
        ASSERT_EQ(m_Level.GetBalls().size(), LevelLimits::kMaxBalls);
        EXPECT_EQ(m_Level.GetBalls().back()->GetBody()->GetPosition(),
                  static_cast<b2Vec2>(data.m_Balls[LevelLimits::kMaxBalls - 1]));
        EXPECT_EQ(log.Count(Limit(std::to_string(LevelLimits::kMaxBodies) + " bodies")), extra > 0 ? 1 : 0);
        EXPECT_EQ(log.Count(Limit(std::to_string(LevelLimits::kMaxBalls) + " balls")), extra > 0 ? 1 : 0);
        EXPECT_EQ(log.Count("LevelLimits::Apply"), extra > 0 ? 2 : 0) << log.Text();
    }
}

// A body's own fixtures count before its drawing's, body by body; from the first fixture that
// passes a limit on nothing is kept, not even one that would fit, and no drawing is read.
TEST_F(LevelLimitsTest, fixtures_count_in_file_order_and_stop_at_the_first_past_a_limit) {
    const std::string triangle = Path({{0, 0}, {8, 0}, {0, 8}});
    Write(kDrawing, Drawing(triangle + triangle + triangle + triangle));
    BodyData late = Body("late", {0, 0}, 0.0f, Triangles(1));
    late.m_SVGFile = "data/levels/missing.svg";  // read, it would log
    {
        SCOPED_TRACE("records");
        testing_support::FileTail log(LogFile());
        ASSERT_TRUE(Load({Body("first", {0, 0}, 0.0f, Triangles(LevelLimits::kMaxFixtures - 5)),
                          DrawnBody("second", Triangles(2)), late}));
        EXPECT_EQ(FixturesRead(0).size(), LevelLimits::kMaxFixtures - 5);
        EXPECT_EQ(FixturesRead(1).size(), 5u);  // its own two and three of its drawing's four
        EXPECT_EQ(FixturesRead(2).size(), 0u);
        EXPECT_EQ(log.Count(Limit(std::to_string(LevelLimits::kMaxFixtures) + " fixtures")), 1);
        EXPECT_EQ(log.Count("LevelLimits::Apply"), 1) << log.Text();
    }
    {
        SCOPED_TRACE("points");
        const size_t big = LevelLimits::kMaxOutlinePoints / 4;
        const FixtureData polygon = Polygon(Regular(static_cast<int>(big), 20.0f));
        FixtureData rest = Polygon(Regular(static_cast<int>(LevelLimits::kMaxOutlinePoints - 3 * big), 20.0f));
        testing_support::FileTail log(LogFile());
        // Exactly at the limit: everything stays.
        ASSERT_TRUE(Load({Body("a", {0, 0}, 0.0f, {polygon, polygon}), Body("b", {0, 0}, 0.0f, {polygon, rest})}));
        EXPECT_EQ(FixturesRead(1).size(), 2u);
        EXPECT_EQ(log.Count("LevelLimits::Apply"), 0) << log.Text();
        rest.m_Vertices.emplace_back(0.0f, 0.0f);
        ASSERT_TRUE(Load({Body("a", {0, 0}, 0.0f, {polygon, polygon}),
                          Body("b", {0, 0}, 0.0f, {polygon, rest, Triangles(1)[0]}), late}));
        EXPECT_EQ(FixturesRead(0).size(), 2u);
        EXPECT_EQ(FixturesRead(1).size(), 1u);
        EXPECT_EQ(FixturesRead(2).size(), 0u);
        EXPECT_EQ(log.Count("LevelLimits::Apply: " + kFile + " holds more than " +
                            std::to_string(LevelLimits::kMaxOutlinePoints) +
                            " outline points; the fixtures past them are left out"),
                  1);
        EXPECT_EQ(log.Count("LevelLimits::Apply"), 1) << log.Text();
    }
}

// Outlines the physics cannot take whole become several shapes each; the level builds no more
// shapes than fixtures it may hold, nor more on its moving bodies than kMaxMovingShapes.
TEST_F(LevelLimitsTest, shapes_past_their_limits_are_left_out_and_logged_once) {
    std::vector<b2Vec2> star = Regular(128, 20.0f);
    for (size_t i = 1; i < star.size(); i += 2) {
        star[i] *= 0.5f;
    }
    const size_t pieces = ConvexPieces::Split(star).pieces.size();
    const FixtureData spiky = Polygon(star);
    ASSERT_GT(pieces, LevelLimits::kMaxMovingShapes);
    ASSERT_LT(pieces + LevelLimits::kMaxMovingShapes, LevelLimits::kMaxFixtures);
    ASSERT_GT(pieces * 5, LevelLimits::kMaxFixtures);
    testing_support::FileTail log(LogFile());
    // The moving bodies lie apart from the fixed ones, so that none starts inside them.
    ASSERT_TRUE(
        Load({Body("a", {-30, 0}, 0.0f, {spiky}), Body("m", {30, 0}, 1.0f, {spiky}), Body("n", {30, 0}, 1.0f, {spiky}),
              Body("b", {-30, 0}, 0.0f, std::vector<FixtureData>(4, spiky)), Body("c", {-30, 0}, 0.0f, {spiky})}));
    const auto count = [this](const char* name) {
        size_t shapes = 0;
        for (const b2Fixture* f = m_Level.GetBodyByName(name)->GetFixtureList(); f != nullptr; f = f->GetNext()) {
            ++shapes;
        }
        return shapes;
    };
    EXPECT_EQ(count("a"), pieces);
    EXPECT_EQ(count("m"), LevelLimits::kMaxMovingShapes);
    EXPECT_EQ(count("n"), 0u);
    EXPECT_EQ(count("b"), LevelLimits::kMaxFixtures - pieces - LevelLimits::kMaxMovingShapes);
    EXPECT_EQ(count("c"), 0u);
    for (const auto& [which, limit] :
         {std::pair{"", LevelLimits::kMaxFixtures}, std::pair{"moving bodies' ", LevelLimits::kMaxMovingShapes}}) {
        EXPECT_EQ(log.Count("Level::Load: " + kFile + ": its " + which + "fixtures make more than " +
                            std::to_string(limit) + " shapes; the rest are left out"),
                  1)
            << log.Text();
    }
}

// Balls and moving bodies that start inside fixed outlines count the fixed shapes they overlap;
// in file order, moving bodies first, those past kMaxStartingOverlaps in all stop moving or, for
// balls, are left out. Overlaps with moving bodies do not count.
TEST_F(LevelLimitsTest, what_starts_inside_fixed_outlines_past_a_limit_stops_or_is_left_out) {
    const FixtureData square = Polygon(Box(2, 2));
    const size_t wall = LevelLimits::kMaxStartingOverlaps - 3;  // squares stacked on one spot
    LevelData data;
    data.m_Bodies = {Body("wall", {0, 0}, 0.0f, std::vector<FixtureData>(wall, square)),
                     Body("inside", {1, 0}, 1.0f, {square}),
                     Body("stuck", {0, 1}, 1.0f, {square}),
                     Body("post", {20, 10}, 0.0f, {square}),
                     Body("leaning", {23, 10}, 1.0f, {square}),
                     Body("free", {20, -10}, 1.0f, {square})};
    // Inside the wall; on the post's corner; free; on the moving body "free".
    data.m_Balls = {Vec2Data(0, 0), Vec2Data(22.5f, 12.5f), Vec2Data(-20, 0), Vec2Data(20, -10)};
    Write(kFile, data);
    testing_support::FileTail log(LogFile());
    ASSERT_TRUE(m_Level.Load(kFile, nullptr));
    for (const auto& [name, type] : {std::pair{"inside", b2_dynamicBody}, std::pair{"stuck", b2_staticBody},
                                     std::pair{"leaning", b2_dynamicBody}, std::pair{"free", b2_dynamicBody}}) {
        EXPECT_EQ(m_Level.GetBodyByName(name)->GetType(), type) << name;
    }
    std::vector<b2Vec2> balls;
    for (const auto& ball : m_Level.GetBalls()) {
        balls.push_back(ball->GetBody()->GetPosition());
    }
    EXPECT_EQ(balls, (std::vector<b2Vec2>{{22.5f, 12.5f}, {-20, 0}, {20, -10}}));
    EXPECT_EQ(log.Count("Level::Load: " + kFile +
                        ": its moving bodies and balls start inside fixed outlines in more "
                        "than " +
                        std::to_string(LevelLimits::kMaxStartingOverlaps) + " places"),
              1)
        << log.Text();
}

// The files a review once made: 5,000 balls piled on one point ran for minutes into 7 GB, 5,000
// spread balls cost about 216 KB each, 100 overlapping 256-point outlines around one ball took
// minutes to step, a drawing that every body names was read once per body, and a moving body
// started inside the outlines of a fixed one held up every step for seconds.
TEST_F(LevelLimitsTest, files_that_once_stalled_or_swelled_the_game_load_and_step_within_bounds) {
    std::string junk;
    for (int i = 0; i < 400000; ++i) {
        junk += "<rect x=\"1\"/>";
    }
    std::string overlapping;
    std::vector<b2Vec2> spread;
    for (int i = 0; i < 100; ++i) {
        overlapping += Path(Regular(256, 100.0f + static_cast<float>(i), 400.0f, 300.0f));
    }
    for (int i = 0; i < 5000; ++i) {
        spread.emplace_back(static_cast<float>(i % 90) - 45.0f, static_cast<float>(i / 90) * 1.2f - 35.0f);
    }
    std::vector<BodyData> naming;
    for (size_t i = 0; i < LevelLimits::kMaxBodies; ++i) {
        naming.push_back(DrawnBody("b" + std::to_string(i)));
    }
    BodyData moving = DrawnBody("b1");
    moving.m_Density = 1.0f;
    const std::string rings = Path(Regular(256, 100.0f, 400.0f, 300.0f)) + Path(Regular(256, 150.0f, 400.0f, 300.0f));
    const struct {
        const char* what;
        std::vector<b2Vec2> balls;
        std::string drawing;
        std::vector<BodyData> bodies;
        std::chrono::milliseconds time;
        size_t memory;
    } cases[] = {
        {"piled balls", std::vector<b2Vec2>(5000, b2Vec2(0, 0)), "", {}, 20s, 256 * kMegabyte},
        {"spread balls", spread, "", {}, 20s, 256 * kMegabyte},
        {"overlapping outlines", {b2Vec2(0, 0)}, Drawing(overlapping), {DrawnBody("b0")}, 20s, 256 * kMegabyte},
        {"a drawing every body names", {}, Drawing(junk + Path({{0, 0}, {8, 0}, {0, 8}})), naming, 3s, 512 * kMegabyte},
        {"a moving body inside a fixed one", {}, Drawing(rings), {DrawnBody("b0"), moving}, 5s, 256 * kMegabyte},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LevelData data;
        data.m_Balls.assign(c.balls.begin(), c.balls.end());
        data.m_Bodies = c.bodies;
        Write(kDrawing, c.drawing);
        Write(kFile, data);
        const testing_support::BoundedRun run = RunBounded(
            [&] {
                Level level;
                Require(level.Load(kFile, nullptr), "the level loads");
                for (int step = 0; step < 50; ++step) {
                    level.GetPhysics().Step(0.02f);
                    level.Update(nullptr, 0.02f);
                }
                Require(level.GetBalls().size() <= LevelLimits::kMaxBalls, "the balls are bounded");
                Require(ShapeCount(level) <= LevelLimits::kMaxFixtures + LevelLimits::kMaxBalls, "shapes bounded");
                Require(c.bodies.size() < 2 || level.GetBodyByName("b1")->GetFixtureList() != nullptr,
                        "the second body has its drawing's outline");
            },
            c.time, c.memory);
        EXPECT_TRUE(run.finished) << run.Describe();
        EXPECT_LT(run.peakGrowth, c.memory / 2) << run.Describe();
    }
}

}  // namespace
