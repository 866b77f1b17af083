// The bots' path search on the arena's 21 x 16 grid with a level's worth of walls, corner to
// corner, by PathFinder's A* and, as the peer, by Dijkstra's algorithm over the same grid; and the
// wall update that precedes every search.
#include "game/PathFinder.h"
#include "game/PhysicsWorld.h"

#include <benchmark/benchmark.h>
#include <box2d/b2_body.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_world.h>

#include <cfloat>
#include <functional>
#include <queue>
#include <utility>
#include <vector>

namespace {

struct Level {
    Level() {
        physics.Create();
        // Two long ledges and a block, so the way from corner to corner winds.
        Box(-30.0f, -20.0f, 20.0f, 2.0f);
        Box(25.0f, 10.0f, 20.0f, 2.0f);
        Box(0.0f, 25.0f, 4.0f, 8.0f);
        Box(-35.0f, 15.0f, 6.0f, 6.0f);
        finder.Build(*physics.GetWorld(), 5.0f);
        finder.UpdateWalls(*physics.GetWorld());
    }

    void Box(float x, float y, float halfWidth, float halfHeight) {
        b2BodyDef def;
        def.position.Set(x, y);
        b2PolygonShape box;
        box.SetAsBox(halfWidth, halfHeight);
        physics.CreateBody(def)->CreateFixture(&box, 0.0f);
    }

    PhysicsWorld physics;
    PathFinder finder;
};

const b2Vec2 kFrom(-47.0f, -35.0f);
const b2Vec2 kTo(47.0f, 35.0f);

void BM_PathSearch_AStar(benchmark::State& state) {
    Level level;
    std::vector<b2Vec2> waypoints;
    for (auto _ : state) {
        benchmark::DoNotOptimize(level.finder.FindPath(kFrom, kTo, waypoints));
    }
}

void BM_PathSearch_Dijkstra(benchmark::State& state) {
    Level level;
    const unsigned states = static_cast<unsigned>(level.finder.GetWidth() * level.finder.GetHeight());
    const unsigned start = static_cast<unsigned>(level.finder.CellOf(kFrom));
    const unsigned goal = static_cast<unsigned>(level.finder.CellOf(kTo));
    std::vector<float> cost;
    std::vector<micropather::StateCost> adjacent;
    using Item = std::pair<float, unsigned>;
    for (auto _ : state) {
        cost.assign(states, FLT_MAX);
        std::priority_queue<Item, std::vector<Item>, std::greater<Item>> open;
        cost[start] = 0.0f;
        open.push({0.0f, start});
        while (!open.empty()) {
            const auto [c, current] = open.top();
            open.pop();
            if (current == goal) {
                break;
            }
            if (c > cost[current]) {
                continue;
            }
            adjacent.clear();
            level.finder.AdjacentCost(current, &adjacent);
            for (const auto& next : adjacent) {
                if (next.cost != FLT_MAX && c + next.cost < cost[next.state]) {
                    cost[next.state] = c + next.cost;
                    open.push({cost[next.state], next.state});
                }
            }
        }
        benchmark::DoNotOptimize(cost[goal]);
    }
}

void BM_PathSearch_UpdateWalls(benchmark::State& state) {
    Level level;
    for (auto _ : state) {
        level.finder.UpdateWalls(*level.physics.GetWorld());
    }
}

}  // namespace

BENCHMARK(BM_PathSearch_AStar);
BENCHMARK(BM_PathSearch_Dijkstra);
BENCHMARK(BM_PathSearch_UpdateWalls);
