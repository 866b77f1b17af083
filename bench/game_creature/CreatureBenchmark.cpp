// A match's two creatures (Sunny, with a decoration at every point of its skin, and Plum, with
// one on top and one over its eyes) in a walled arena with ten balls, pushed towards each other
// so that they keep meeting the balls and each other.
//
// Update: both creatures' Update (movies, eyes, mouth, contents check) beside the world step they
// follow; the creatures' share should stay within 25% of the step.
// Draw: one creature drawn in a real window (Mesa's software OpenGL under Xvfb): the outline into
// the skin's canvas and its tessellation, the decorations, the mouth and the eyes, within 1 ms;
// beside SFML drawing the same 42-point outline as an sf::ConvexShape. Each frame ends with
// glFinish, so the time includes the rasterising, and its CPU time counts every thread, Mesa's
// rasterising threads among them (see FrameCpuClock.h).
// Run: xvfb-run -a -s "-screen 0 1024x768x24" bench_game_creature
//      --benchmark_enable_random_interleaving=true --benchmark_repetitions=10
#include "bench/FrameCpuClock.h"
#include "game/Ball.h"
#include "game/Globbo.h"
#include "game/PhysicsWorld.h"
#include "game/b2ConstantVolumeJoint.h"
#include "platform/HeapSettings.h"
#include "tools/creatures/CreatureWriter.h"

#include <GL/gl.h>
#include <SFML/Graphics.hpp>
#include <benchmark/benchmark.h>
#include <box2d/b2_body.h>
#include <box2d/b2_polygon_shape.h>
#include <physfs.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

constexpr float kStep = 0.02f;

double Min(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

// A game folder of the benchmark's own with the creatures', the skin's and the balls' movies,
// mounted as the virtual file system's root.
void MountContent() {
    static const bool mounted = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "pondorix-bench-XXXXXX").string();
        const std::filesystem::path folder = mkdtemp(pattern.data());
        WriteCreaturesAndBalls(folder);
        PHYSFS_init(nullptr);
        PHYSFS_mount(folder.c_str(), nullptr, 0);
        return true;
    }();
    (void)mounted;
}

void Wall(PhysicsWorld& physics, float x, float y, float halfWidth, float halfHeight) {
    b2BodyDef def;
    def.position.Set(x, y);
    b2PolygonShape box;
    box.SetAsBox(halfWidth, halfHeight);
    physics.CreateBody(def)->CreateFixture(&box, 0.0f);
}

struct Match {
    Match() {
        MountContent();
        physics.Create();
        Wall(physics, 0.0f, -38.5f, 51.0f, 1.0f);
        Wall(physics, 0.0f, 38.5f, 51.0f, 1.0f);
        Wall(physics, -51.0f, 0.0f, 1.0f, 38.5f);
        Wall(physics, 51.0f, 0.0f, 1.0f, 38.5f);
        for (int i = 0; i < 10; ++i) {
            balls.push_back(Ball::Create(physics, b2Vec2(-9.0f + 2.0f * i, (i % 2 == 0) ? -1.5f : 1.5f)));
        }
        creatures[0] = std::make_unique<Globbo>(physics, "data/players/sunny.xml", -14.0f, 0.0f);
        creatures[1] = std::make_unique<Globbo>(physics, "data/players/plum.xml", 14.0f, 0.0f);
        for (const auto& creature : creatures) {
            creature->GetJoint()->Inflate(1.3f);
        }
        for (int i = 0; i < 60; ++i) {
            Steer();
            physics.Step(kStep);
            UpdateCreatures();
        }
    }

    void Steer() {
        creatures[0]->MoveMouth(b2Vec2(1.0f, 0.0f), 1.0f);
        creatures[1]->MoveMouth(b2Vec2(-1.0f, 0.0f), 1.0f);
    }
    void UpdateCreatures() {
        for (const auto& creature : creatures) {
            creature->Update(kStep);
        }
    }

    PhysicsWorld physics;
    std::vector<std::unique_ptr<Ball>> balls;
    std::unique_ptr<Globbo> creatures[2];
};

Match& TheMatch() {
    static Match match;
    return match;
}

void BM_Update_TwoCreatures(benchmark::State& state) {
    Match& match = TheMatch();
    for (auto _ : state) {
        state.PauseTiming();
        match.Steer();
        match.physics.Step(kStep);
        state.ResumeTiming();
        match.UpdateCreatures();
    }
}

void BM_Update_WorldStep(benchmark::State& state) {
    Match& match = TheMatch();
    for (auto _ : state) {
        state.PauseTiming();
        match.Steer();
        state.ResumeTiming();
        match.physics.Step(kStep);
        state.PauseTiming();
        match.UpdateCreatures();
        state.ResumeTiming();
    }
}

// The window with the game's context settings and heap setting.
sf::RenderWindow& Window() {
    static const bool kept = platform::KeepFreedHeapMemory();
    (void)kept;
    static sf::RenderWindow window(sf::VideoMode(800, 600), "creature benchmark", sf::Style::None,
                                   sf::ContextSettings(24, 8, 4));
    window.setActive(true);
    return window;
}

void BM_Draw_Creature(benchmark::State& state) {
    Match& match = TheMatch();
    Globbo& creature = *match.creatures[state.range(0)];
    sf::RenderWindow& window = Window();
    const ScreenMapping mapping = ScreenMapping::Of(match.physics);
    bench_support::FrameCpuClock cpu;
    for (auto _ : state) {
        cpu.Start();
        creature.DrawOutline(window, sf::RenderStates::Default, mapping);
        creature.DrawParts(window, sf::RenderStates::Default, mapping);
        glFinish();
        cpu.Stop();
    }
    cpu.Report(state);
}

// The creature's outline as its skin is drawn: the traced points pushed out by the ring's radius.
std::vector<sf::Vector2f> OutlinePoints(const Globbo& creature, const ScreenMapping& mapping) {
    const OutlineTracer& outline = creature.GetJoint()->GetOutline();
    std::vector<sf::Vector2f> points;
    for (int k = 0; k < outline.GetContourCount(); ++k) {
        const b2Vec2 vertex = outline.GetVertices()[outline.GetContour()[k]];
        b2Vec2 outwards = vertex - creature.m_Center;
        outwards.Normalize();
        points.push_back(mapping.ToScreen(vertex + Globbo::kRingRadius * outwards));
    }
    return points;
}

void BM_Draw_SfmlConvexShape(benchmark::State& state) {
    Match& match = TheMatch();
    const Globbo& creature = *match.creatures[state.range(0)];
    sf::RenderWindow& window = Window();
    const std::vector<sf::Vector2f> points = OutlinePoints(creature, ScreenMapping::Of(match.physics));
    sf::ConvexShape shape(points.size());
    shape.setFillColor(creature.m_BodyColor);
    shape.setOutlineColor(sf::Color::Black);
    shape.setOutlineThickness(3.0f);
    bench_support::FrameCpuClock cpu;
    for (auto _ : state) {
        cpu.Start();
        for (size_t i = 0; i < points.size(); ++i) {
            shape.setPoint(i, points[i]);
        }
        window.draw(shape);
        glFinish();
        cpu.Stop();
    }
    cpu.Report(state);
}

}  // namespace

BENCHMARK(BM_Update_TwoCreatures)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", Min);
BENCHMARK(BM_Update_WorldStep)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", Min);
BENCHMARK(BM_Draw_Creature)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->ComputeStatistics("min", Min);
BENCHMARK(BM_Draw_SfmlConvexShape)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->ComputeStatistics("min", Min);
