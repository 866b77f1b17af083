// One update of a match (SpitGame::Update) on the windmill arena with two creatures steered round
// in circles and ten balls, beside its peer: a stock Box2D world holding copies of the same bodies
// (the creatures' rings held by their edge springs alone, without the volume joint), stepped
// alone with the same pushes on the mouths. Target: at most twice the peer.
// And one whole frame of that match, update and draw (ending with glFinish), in an 800 x 600
// window on Mesa's software OpenGL: at most 8 ms, judged beside BM_FrameHandler, the render
// benchmark's reference frame, which runs in the same process. A frame's CPU time counts every
// thread, Mesa's rasterising threads among them (see FrameCpuClock.h).
// Run: xvfb-run -a bench_game_match --benchmark_enable_random_interleaving=true
//      --benchmark_repetitions=10
#include "app/Application.h"
#include "app/Controller.h"
#include "bench/FrameCpuClock.h"
#include "bench/GameBenchmarkKit.h"
#include "game/BodyRegistry.h"
#include "game/Globbo.h"
#include "game/LevelWindmill.h"
#include "game/SpitGame.h"

#include <GL/gl.h>
#include <SFML/Graphics.hpp>
#include <benchmark/benchmark.h>
#include <box2d/b2_body.h>
#include <box2d/b2_distance_joint.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_revolute_joint.h>
#include <box2d/b2_world.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <map>
#include <memory>
#include <vector>

namespace {

constexpr float kStep = 0.02f;
constexpr size_t kBalls = 10;
// Steps run before timing, so that the creatures are moving and the balls spread.
constexpr int kWarmUpSteps = 150;

// The push of a mouth at a step: round in a circle, each creature its own way.
b2Vec2 Push(int step, int creature) {
    const float angle = 0.05f * static_cast<float>(step) * (creature == 0 ? 1.0f : -1.0f);
    return b2Vec2(std::cos(angle), std::sin(angle));
}

// Steers a creature round in circles, as a player holding the stick over would.
class CircleController : public Controller {
public:
    explicit CircleController(int creature) : m_Creature(creature) {}
    bool OnEvent(const InputEvent&) override { return false; }
    void Update(float) override {
        if (Steerable* creature = GetCreature()) {
            creature->MoveMouth(Push(m_Step++, m_Creature), 1.0f);
        }
    }

private:
    int m_Creature;
    int m_Step = 0;
};

// A match on the windmill arena, with balls added to make ten, playing.
struct Match {
    Match() : controller1(0), controller2(1) {
        game_benchmark::MountGameFolder();
        game = std::make_unique<SpitGame>(Level::kWindmillLevel, &level, true, "data/players/bubbles.xml",
                                          "data/players/sprout.xml");
        for (size_t i = level.GetBalls().size(); i < kBalls; ++i) {
            level.AddBall(b2Vec2(-20.0f + 8.0f * static_cast<float>(i % 6), -20.0f + 6.0f * static_cast<float>(i / 6)));
        }
        game->m_State = SpitGame::kPlaying;
        game->m_AutoEnd = false;
        game->m_Controller1 = &controller1;
        game->m_Controller2 = &controller2;
        controller1.Attach(game->GetGlobbo1(), nullptr);
        controller2.Attach(game->GetGlobbo2(), nullptr);
        for (int i = 0; i < kWarmUpSteps; ++i) {
            Update();
        }
    }
    ~Match() {
        controller1.Attach(nullptr, nullptr);
        controller2.Attach(nullptr, nullptr);
        game.reset();
    }
    void Update() { game->Update(Application::GetInstance(), kStep); }

    LevelWindmill level;
    CircleController controller1;
    CircleController controller2;
    std::unique_ptr<SpitGame> game;
};

// A stock world with a copy of every body of the match's world (type, place, motion, damping,
// fixtures and filters), its revolute joints, and each creature's ring held by distance joints
// along its edges (15 Hz, critically damped, as the creature's edges are).
struct StockWorld {
    explicit StockWorld(const Match& match) : world(b2Vec2(0.0f, 0.0f)) {
        world.SetAllowSleeping(false);
        b2World* source = match.level.GetPhysics().GetWorld();
        std::map<const b2Body*, b2Body*> copies;
        for (b2Body* body = source->GetBodyList(); body != nullptr; body = body->GetNext()) {
            b2BodyDef def;
            def.type = body->GetType();
            def.position = body->GetPosition();
            def.angle = body->GetAngle();
            def.linearVelocity = body->GetLinearVelocity();
            def.angularVelocity = body->GetAngularVelocity();
            def.linearDamping = body->GetLinearDamping();
            def.angularDamping = body->GetAngularDamping();
            def.fixedRotation = body->IsFixedRotation();
            b2Body* copy = world.CreateBody(&def);
            for (b2Fixture* fixture = body->GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
                b2FixtureDef fixtureDef;
                fixtureDef.shape = fixture->GetShape();
                fixtureDef.density = fixture->GetDensity();
                fixtureDef.friction = fixture->GetFriction();
                fixtureDef.restitution = fixture->GetRestitution();
                fixtureDef.filter = fixture->GetFilterData();
                copy->CreateFixture(&fixtureDef);
            }
            copies[body] = copy;
        }
        for (b2Joint* joint = source->GetJointList(); joint != nullptr; joint = joint->GetNext()) {
            if (joint->GetType() == e_revoluteJoint) {
                b2RevoluteJointDef def;
                def.Initialize(copies[joint->GetBodyA()], copies[joint->GetBodyB()], joint->GetAnchorA());
                world.CreateJoint(&def);
            }
        }
        for (const Globbo* creature : {match.game->GetGlobbo1(), match.game->GetGlobbo2()}) {
            const std::vector<b2Body*>& ring = creature->GetRingBodies();
            for (size_t i = 0; i < ring.size(); ++i) {
                b2Body* a = copies[ring[i]];
                b2Body* b = copies[ring[(i + 1) % ring.size()]];
                b2DistanceJointDef edge;
                edge.Initialize(a, b, a->GetWorldCenter(), b->GetWorldCenter());
                b2LinearStiffness(edge.stiffness, edge.damping, 15.0f, 1.0f, a, b);
                edge.minLength = 0.0f;
                edge.maxLength = FLT_MAX;
                world.CreateJoint(&edge);
            }
            mouths.push_back(copies[creature->GetMouthBody()]);
        }
    }
    void Step() {
        for (size_t i = 0; i < mouths.size(); ++i) {
            mouths[i]->ApplyForceToCenter(Globbo::kMoveForce * Push(step, static_cast<int>(i)), true);
        }
        ++step;
        world.Step(kStep, 8, 3);
    }

    b2World world;
    std::vector<b2Body*> mouths;
    int step = 0;
};

void BM_MatchUpdate(benchmark::State& state) {
    Match match;
    for (auto _ : state) {
        match.Update();
    }
}
BENCHMARK(BM_MatchUpdate)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", game_benchmark::Min);

void BM_StockWorldStep(benchmark::State& state) {
    Match match;
    StockWorld stock(match);
    for (auto _ : state) {
        stock.Step();
    }
}
BENCHMARK(BM_StockWorldStep)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", game_benchmark::Min);

void BM_MatchFrame(benchmark::State& state) {
    sf::RenderWindow& window = game_benchmark::Window("match benchmark");
    Match match;
    const sf::RenderStates states;
    bench_support::FrameCpuClock cpu;
    for (auto _ : state) {
        cpu.Start();
        window.clear(sf::Color::Black);
        match.Update();
        match.game->Draw(window, states);
        glFinish();
        cpu.Stop();
    }
    cpu.Report(state);
}
BENCHMARK(BM_MatchFrame)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->ComputeStatistics("min", game_benchmark::Min);

}  // namespace
