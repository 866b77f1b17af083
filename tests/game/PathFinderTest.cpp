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

struct Arena {
    Arena() { physics.Create(); }

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

    b2Vec2 Centre(int column, int row) const {
        return finder.CellCenter(static_cast<unsigned>(row * finder.GetWidth() + column));
    }

    PhysicsWorld physics;
    PathFinder finder;
};

// Every cell along the border of the rectangle of cells from (c0, r0) to (c1, r1).
std::set<Cell> Border(int c0, int r0, int c1, int r1) {
    std::set<Cell> cells;
    for (int c = c0; c <= c1; ++c) {
        cells.insert({c, r0});
        cells.insert({c, r1});
    }
    for (int r = r0; r <= r1; ++r) {
        cells.insert({c0, r});
        cells.insert({c1, r});
    }
    return cells;
}

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

// The cost of the grid's step from one state to another; FLT_MAX when there is no such step.
float StepCost(micropather::Graph& graph, unsigned from, unsigned to) {
    std::vector<micropather::StateCost> adjacent;
    graph.AdjacentCost(from, &adjacent);
    for (const auto& next : adjacent) {
        if (next.state == to) {
            return next.cost;
        }
    }
    return FLT_MAX;
}

}  // namespace

TEST(PathFinder, lays_a_21_by_16_grid_over_the_plain_arena) {
    Arena arena;
    arena.Grid();
    EXPECT_EQ(arena.finder.GetWidth(), 21);
    EXPECT_EQ(arena.finder.GetHeight(), 16);
    EXPECT_TRUE(arena.Walls().empty());
    const b2Vec2 first = arena.Centre(0, 0);
    EXPECT_FLOAT_EQ(first.x, -47.5f);
    EXPECT_FLOAT_EQ(first.y, -35.0f);
    // The maximum corner is inside, in the last cell; beyond it is outside.
    EXPECT_EQ(arena.finder.CellOf(b2Vec2(50.0f, 37.5f)), 20 + 15 * 21);
    EXPECT_EQ(arena.finder.CellOf(b2Vec2(50.01f, 0.0f)), -1);
    EXPECT_EQ(arena.finder.CellOf(b2Vec2(NAN, 0.0f)), -1);
}

TEST(PathFinder, grid_grows_over_geometry_beyond_the_arena) {
    Arena arena;
    arena.Box(40.0f, -10.0f, 80.0f, 10.0f);
    arena.Grid();
    EXPECT_NEAR(arena.finder.GetMax().x, 80.0f, 0.011f);  // the polygon's skin counts
    EXPECT_EQ(arena.finder.GetWidth(), 27);
    // Absurdly far geometry is cut to the grid's limit rather than allocated.
    arena.Box(1e30f, 0.0f, 2e30f, 1.0f);
    arena.Grid();
    EXPECT_EQ(arena.finder.GetWidth(), PathFinder::kMaxCellsPerSide);
    std::vector<b2Vec2> waypoints;
    EXPECT_FALSE(arena.finder.FindPath(b2Vec2(0.0f, 0.0f), b2Vec2(1.5e30f, 0.5f), waypoints));
}

TEST(PathFinder, rasterises_a_box_along_its_edges_and_shows_the_walls_in_pixels) {
    Arena arena;
    // Corners (-10, -10) and (10, 10): columns 8 to 12, rows 5 to 9, edges split every 5 units.
    arena.Box(-10.0f, -10.0f, 10.0f, 10.0f);
    arena.Grid();
    EXPECT_EQ(arena.Walls(), Border(8, 5, 12, 9));
    const sf::VertexArray lines = arena.finder.GridLines(arena.physics);
    ASSERT_EQ(lines.getVertexCount(), 2u * (21 + 16));
    // Column 1's line runs down the whole arena at x = 5 units from its left edge: 40 pixels.
    EXPECT_EQ(lines[2].position, sf::Vector2f(40.0f, 0.0f));
    EXPECT_EQ(lines[3].position, sf::Vector2f(40.0f, 600.0f));
    EXPECT_EQ(lines[2].color, sf::Color(0, 0, 200));
    const sf::VertexArray cells = arena.finder.WallCells(arena.physics);
    ASSERT_EQ(cells.getVertexCount(), 4u * Border(8, 5, 12, 9).size());
    // The first wall cell is (8, 5): 320 to 360 pixels across, 200 to 240 down.
    EXPECT_EQ(cells[0].position, sf::Vector2f(320.0f, 200.0f));
    EXPECT_EQ(cells[2].position, sf::Vector2f(360.0f, 240.0f));
    EXPECT_EQ(cells[0].color, sf::Color(100, 0, 0));
}

TEST(PathFinder, only_level_polygons_make_walls) {
    Arena arena;
    arena.Box(-10.0f, -10.0f, 10.0f, 10.0f, 16);
    b2BodyDef def;
    def.position.Set(20.0f, 20.0f);
    b2Body* round = arena.physics.CreateBody(def);
    b2CircleShape circle;
    circle.m_radius = 4.0f;
    round->CreateFixture(&circle, 0.0f);
    b2Body* ball = CreateRegisteredBody(arena.physics, def, BodyRecord{true, kBallBody, nullptr, 0, -1.0f, nullptr});
    b2PolygonShape box;
    box.SetAsBox(3.0f, 3.0f);
    ball->CreateFixture(&box, 0.0f);
    arena.Grid();
    EXPECT_TRUE(arena.Walls().empty());
}

TEST(PathFinder, answers_with_one_waypoint_per_turn_then_the_goal_or_refuses) {
    Arena arena;
    arena.Grid();
    std::vector<b2Vec2> waypoints;
    // Same cell: the goal alone.
    ASSERT_TRUE(arena.finder.FindPath(b2Vec2(1.0f, 1.0f), b2Vec2(2.0f, 2.0f), waypoints));
    EXPECT_EQ(waypoints, std::vector<b2Vec2>{b2Vec2(2.0f, 2.0f)});
    // Straight along a row: the first cell after the start, then the goal.
    const b2Vec2 goal = arena.Centre(15, 3) + b2Vec2(1.0f, 0.5f);
    ASSERT_TRUE(arena.finder.FindPath(arena.Centre(2, 3), goal, waypoints));
    EXPECT_EQ(waypoints, (std::vector<b2Vec2>{arena.Centre(3, 3), goal}));
    // Outside the grid either way.
    EXPECT_FALSE(arena.finder.FindPath(b2Vec2(-60.0f, 0.0f), b2Vec2(0.0f, 0.0f), waypoints));
    EXPECT_TRUE(waypoints.empty());
    EXPECT_FALSE(arena.finder.FindPath(b2Vec2(0.0f, 0.0f), b2Vec2(0.0f, 40.0f), waypoints));
    // Into a closed box (around the cells 15..17, 2..4) there is no way.
    arena.Box(22.0f, -28.0f, 38.0f, -13.0f);
    arena.finder.UpdateWalls(*arena.physics.GetWorld());
    EXPECT_FALSE(arena.finder.FindPath(arena.Centre(2, 2), arena.Centre(16, 3), waypoints));
    EXPECT_TRUE(waypoints.empty());
}

TEST(PathFinder, diagonal_steps_squeeze_past_one_wall_but_not_between_two) {
    Arena arena;
    arena.Grid();
    // Walls are made the way the level makes them: from a small box inside the cell.
    auto wall = [&](int column, int row) {
        const b2Vec2 c = arena.Centre(column, row);
        arena.Box(c.x - 1.0f, c.y - 1.0f, c.x + 1.0f, c.y + 1.0f);
    };
    wall(6, 5);
    arena.finder.UpdateWalls(*arena.physics.GetWorld());
    auto stepCost = [&](int column, int row, int toColumn, int toRow) {
        return StepCost(arena.finder, static_cast<unsigned>(row * 21 + column),
                        static_cast<unsigned>(toRow * 21 + toColumn));
    };
    EXPECT_FLOAT_EQ(stepCost(5, 5, 6, 6), 5.0f * std::sqrt(2.0f));
    wall(5, 6);
    arena.finder.UpdateWalls(*arena.physics.GetWorld());
    EXPECT_EQ(stepCost(5, 5, 6, 6), FLT_MAX);
    EXPECT_EQ(stepCost(5, 5, 6, 5), FLT_MAX);
    EXPECT_FLOAT_EQ(stepCost(5, 5, 4, 5), 5.0f);
    EXPECT_EQ(stepCost(0, 0, 0, 1), 5.0f);
    EXPECT_EQ(stepCost(0, 0, -1, 0), FLT_MAX) << "off the grid's edge";
}

// On random walls, A* finds a path exactly when Dijkstra does, and one of the same cost; the path
// is a chain of allowed steps from start to goal.
TEST(PathFinder, finds_paths_as_cheap_as_dijkstra_on_random_grids) {
    std::mt19937 random(11);
    for (int trial = 0; trial < 20; ++trial) {
        Arena arena;
        arena.Grid();
        std::uniform_int_distribution<int> column(0, 20);
        std::uniform_int_distribution<int> row(0, 15);
        for (int w = 0; w < 40 + trial * 4; ++w) {
            const b2Vec2 c = arena.Centre(column(random), row(random));
            arena.Box(c.x - 1.0f, c.y - 1.0f, c.x + 1.0f, c.y + 1.0f);
        }
        arena.finder.UpdateWalls(*arena.physics.GetWorld());
        micropather::MicroPather pather(&arena.finder);
        for (int query = 0; query < 20; ++query) {
            const unsigned start = static_cast<unsigned>(row(random) * 21 + column(random));
            const unsigned goal = static_cast<unsigned>(row(random) * 21 + column(random));
            const std::vector<float> best = Dijkstra(arena.finder, start, 21 * 16);
            std::vector<unsigned> path;
            float cost = -1.0f;
            const int result = pather.Solve(start, goal, &path, &cost);
            if (start == goal) {
                EXPECT_EQ(result, micropather::MicroPather::kStartEndSame);
                continue;
            }
            if (best[goal] == FLT_MAX) {
                EXPECT_EQ(result, micropather::MicroPather::kNoSolution);
                EXPECT_TRUE(path.empty());
                continue;
            }
            ASSERT_EQ(result, micropather::MicroPather::kSolved) << "trial " << trial << " query " << query;
            EXPECT_NEAR(cost, best[goal], 1e-3f * best[goal]);
            ASSERT_GE(path.size(), 2u);
            EXPECT_EQ(path.front(), start);
            EXPECT_EQ(path.back(), goal);
            float walked = 0.0f;
            for (size_t i = 0; i + 1 < path.size(); ++i) {
                const float step = StepCost(arena.finder, path[i], path[i + 1]);
                ASSERT_NE(step, FLT_MAX) << "a step the grid does not allow";
                walked += step;
            }
            EXPECT_NEAR(walked, cost, 1e-3f * cost);
        }
    }
}
