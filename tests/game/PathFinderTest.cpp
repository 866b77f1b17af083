#include "game/BodyRegistry.h"
#include "game/PathFinder.h"
#include "game/PhysicsWorld.h"

#include <box2d/b2_body.h>
#include <box2d/b2_circle_shape.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_world.h>
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <queue>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

using Cell = std::pair<int, int>;  // column, row

// The plain arena (100 x 75 units around the origin) under a grid of 5-unit cells, 21 x 16.
struct PathFinderTest : testing::Test {
    PathFinderTest() {
        physics.Create();
        Grid();
    }

    // A static box from (left, top) to (right, bottom), in world units.
    b2Body* Box(float left, float top, float right, float bottom, uint16 category = 1) {
        b2BodyDef def;
        def.position.Set(0.5f * (left + right), 0.5f * (top + bottom));
        b2Body* body = physics.CreateBody(def);
        b2PolygonShape box;
        box.SetAsBox(0.5f * (right - left), 0.5f * (bottom - top));
        b2FixtureDef fixture;
        fixture.shape = &box;
        fixture.filter.categoryBits = category;
        body->CreateFixture(&fixture);
        return body;
    }
    // A wall in the cell, made the way the level makes one: from a small box inside it.
    void Wall(int column, int row) {
        const b2Vec2 c = Centre(column, row);
        Box(c.x - 1.0f, c.y - 1.0f, c.x + 1.0f, c.y + 1.0f);
    }
    void Grid() {
        finder.Build(*physics.GetWorld(), 5.0f);
        finder.UpdateWalls(*physics.GetWorld());
    }
    std::set<Cell> Walls() const {
        std::set<Cell> walls;
        for (int row = 0; row < finder.GetHeight(); ++row) {
            for (int column = 0; column < finder.GetWidth(); ++column) {
                if (finder.IsWall(column, row)) {
                    walls.insert({column, row});
                }
            }
        }
        return walls;
    }
    static unsigned State(int column, int row) { return static_cast<unsigned>(row * 21 + column); }
    b2Vec2 Centre(int column, int row) const { return finder.CellCenter(State(column, row)); }
    // The cost of the grid's step from one state to another; FLT_MAX when there is no such step.
    float StepCost(unsigned from, unsigned to) {
        std::vector<micropather::StateCost> adjacent;
        finder.AdjacentCost(from, &adjacent);
        for (const auto& next : adjacent) {
            if (next.state == to) {
                return next.cost;
            }
        }
        return FLT_MAX;
    }

    PhysicsWorld physics;
    PathFinder finder;
    std::vector<b2Vec2> waypoints;
};

// The cheapest cost from start to every state by Dijkstra's algorithm over the graph's own steps.
std::vector<float> Dijkstra(micropather::Graph& graph, unsigned start, unsigned states) {
    std::vector<float> cost(states, FLT_MAX);
    using Item = std::pair<float, unsigned>;
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> open;
    cost[start] = 0.0f;
    open.push({0.0f, start});
    std::vector<micropather::StateCost> adjacent;
    while (!open.empty()) {
        const auto [c, state] = open.top();
        open.pop();
        if (c > cost[state]) {
            continue;
        }
        adjacent.clear();
        graph.AdjacentCost(state, &adjacent);
        for (const auto& next : adjacent) {
            if (next.cost != FLT_MAX && c + next.cost < cost[next.state]) {
                cost[next.state] = c + next.cost;
                open.push({cost[next.state], next.state});
            }
        }
    }
    return cost;
}

}  // namespace

TEST_F(PathFinderTest, lays_a_21_by_16_grid_over_the_plain_arena_and_grows_over_geometry_beyond_it) {
    EXPECT_EQ(finder.GetWidth(), 21);
    EXPECT_EQ(finder.GetHeight(), 16);
    EXPECT_TRUE(Walls().empty());
    EXPECT_EQ(Centre(0, 0), b2Vec2(-47.5f, -35.0f));
    // The maximum corner is inside, in the last cell; beyond it is outside.
    EXPECT_EQ(finder.CellOf(b2Vec2(50.0f, 37.5f)), 20 + 15 * 21);
    EXPECT_EQ(finder.CellOf(b2Vec2(50.01f, 0.0f)), -1);
    EXPECT_EQ(finder.CellOf(b2Vec2(NAN, 0.0f)), -1);
    // The grid grows over geometry beyond the arena.
    Box(40.0f, -10.0f, 80.0f, 10.0f);
    Grid();
    EXPECT_NEAR(finder.GetMax().x, 80.0f, 0.011f);  // the polygon's skin counts
    EXPECT_EQ(finder.GetWidth(), 27);
    // Absurdly far geometry is cut to the grid's limit rather than allocated.
    Box(1e30f, 0.0f, 2e30f, 1.0f);
    Grid();
    EXPECT_EQ(finder.GetWidth(), PathFinder::kMaxCellsPerSide);
    EXPECT_FALSE(finder.FindPath(b2Vec2(0.0f, 0.0f), b2Vec2(1.5e30f, 0.5f), waypoints));
}

TEST_F(PathFinderTest, rasterises_level_boxes_along_their_edges_and_shows_the_walls_in_pixels) {
    // Corners (-10, -10) and (10, 10): columns 8 to 12, rows 5 to 9, edges split every 5 units.
    Box(-10.0f, -10.0f, 10.0f, 10.0f);
    // Only level polygons make walls: not other categories, circles or the bodies of the registry.
    Box(20.0f, -30.0f, 40.0f, -20.0f, 16);
    b2BodyDef def;
    def.position.Set(20.0f, 20.0f);
    b2CircleShape circle;
    circle.m_radius = 4.0f;
    physics.CreateBody(def)->CreateFixture(&circle, 0.0f);
    b2PolygonShape box;
    box.SetAsBox(3.0f, 3.0f);
    CreateRegisteredBody(physics, def, BodyRecord{true, kBallBody, nullptr, 0, -1.0f, nullptr})
        ->CreateFixture(&box, 0.0f);
    Grid();
    std::set<Cell> border;
    for (int i = 0; i <= 4; ++i) {
        border.insert({{8 + i, 5}, {8 + i, 9}, {8, 5 + i}, {12, 5 + i}});
    }
    EXPECT_EQ(Walls(), border);
    const sf::VertexArray lines = finder.GridLines(physics);
    ASSERT_EQ(lines.getVertexCount(), 2u * (21 + 16));
    // Column 1's line runs down the whole arena at x = 5 units from its left edge: 40 pixels.
    EXPECT_EQ(lines[2].position, sf::Vector2f(40.0f, 0.0f));
    EXPECT_EQ(lines[3].position, sf::Vector2f(40.0f, 600.0f));
    EXPECT_EQ(lines[2].color, sf::Color(0, 0, 200));
    const sf::VertexArray cells = finder.WallCells(physics);
    ASSERT_EQ(cells.getVertexCount(), 4u * border.size());
    // The first wall cell is (8, 5): 320 to 360 pixels across, 200 to 240 down.
    EXPECT_EQ(cells[0].position, sf::Vector2f(320.0f, 200.0f));
    EXPECT_EQ(cells[2].position, sf::Vector2f(360.0f, 240.0f));
    EXPECT_EQ(cells[0].color, sf::Color(100, 0, 0));
}

TEST_F(PathFinderTest, answers_with_one_waypoint_per_turn_then_the_goal_or_refuses) {
    // Same cell: the goal alone.
    ASSERT_TRUE(finder.FindPath(b2Vec2(1.0f, 1.0f), b2Vec2(2.0f, 2.0f), waypoints));
    EXPECT_EQ(waypoints, std::vector<b2Vec2>{b2Vec2(2.0f, 2.0f)});
    // Straight along a row: the first cell after the start, then the goal.
    const b2Vec2 goal = Centre(15, 3) + b2Vec2(1.0f, 0.5f);
    ASSERT_TRUE(finder.FindPath(Centre(2, 3), goal, waypoints));
    EXPECT_EQ(waypoints, (std::vector<b2Vec2>{Centre(3, 3), goal}));
    // Outside the grid either way.
    EXPECT_FALSE(finder.FindPath(b2Vec2(-60.0f, 0.0f), b2Vec2(0.0f, 0.0f), waypoints));
    EXPECT_TRUE(waypoints.empty());
    EXPECT_FALSE(finder.FindPath(b2Vec2(0.0f, 0.0f), b2Vec2(0.0f, 40.0f), waypoints));
    // Into a closed box (around the cells 15..17, 2..4) there is no way.
    Box(22.0f, -28.0f, 38.0f, -13.0f);
    finder.UpdateWalls(*physics.GetWorld());
    EXPECT_FALSE(finder.FindPath(Centre(2, 2), Centre(16, 3), waypoints));
    EXPECT_TRUE(waypoints.empty());
}

TEST_F(PathFinderTest, diagonal_steps_squeeze_past_one_wall_but_not_between_two) {
    Wall(6, 5);
    finder.UpdateWalls(*physics.GetWorld());
    EXPECT_FLOAT_EQ(StepCost(State(5, 5), State(6, 6)), 5.0f * std::sqrt(2.0f));
    Wall(5, 6);
    finder.UpdateWalls(*physics.GetWorld());
    EXPECT_EQ(StepCost(State(5, 5), State(6, 6)), FLT_MAX);
    EXPECT_EQ(StepCost(State(5, 5), State(6, 5)), FLT_MAX);
    EXPECT_FLOAT_EQ(StepCost(State(5, 5), State(4, 5)), 5.0f);
    EXPECT_EQ(StepCost(State(0, 0), State(0, 1)), 5.0f);
    EXPECT_EQ(StepCost(State(0, 0), State(-1, 0)), FLT_MAX) << "off the grid's edge";
}

// On random walls, A* finds a path exactly when Dijkstra does, and one of the same cost; the path
// is a chain of allowed steps from start to goal.
TEST_F(PathFinderTest, finds_paths_as_cheap_as_dijkstra_on_random_grids) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> column(0, 20), row(0, 15);
    const auto randomState = [&] {
        const int r = row(random);  // the row first, so that every compiler asks the same cells
        return State(column(random), r);
    };
    for (int trial = 0; trial < 20; ++trial) {
        physics.Create();
        Grid();
        for (int w = 0; w < 40 + trial * 4; ++w) {
            Wall(column(random), row(random));
        }
        finder.UpdateWalls(*physics.GetWorld());
        micropather::MicroPather pather(&finder);
        for (int query = 0; query < 20; ++query) {
            SCOPED_TRACE(testing::Message() << "trial " << trial << " query " << query);
            const unsigned start = randomState(), goal = randomState();
            const float best = Dijkstra(finder, start, 21 * 16)[goal];
            std::vector<unsigned> path;
            float cost = -1.0f;
            const int result = pather.Solve(start, goal, &path, &cost);
            if (start == goal || best == FLT_MAX) {
                EXPECT_EQ(result, start == goal ? micropather::MicroPather::kStartEndSame
                                                : micropather::MicroPather::kNoSolution);
                EXPECT_TRUE(start == goal || path.empty());
                continue;
            }
            ASSERT_EQ(result, micropather::MicroPather::kSolved);
            EXPECT_NEAR(cost, best, 1e-3f * best);
            ASSERT_GE(path.size(), 2u);
            EXPECT_EQ(path.front(), start);
            EXPECT_EQ(path.back(), goal);
            float walked = 0.0f;
            for (size_t i = 0; i + 1 < path.size(); ++i) {
                walked += StepCost(path[i], path[i + 1]);  // FLT_MAX for a step the grid does not allow
            }
            EXPECT_NEAR(walked, cost, 1e-3f * cost);
        }
    }
}
