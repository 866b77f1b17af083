// The collision-effect choice for contacts, as a physics step asks for it: a table of a few kinds
// and entries, many registered bodies, and impulses that mostly stay below every threshold (a
// resting or rolling contact) or mostly exceed one (a hit).
#include "app/GameRandom.h"
#include "app/SoundManager.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

SoundManagerData Table() {
    SoundManagerData data;
    for (const char* name : {"default", "ball", "wood", "metal", "rubber"}) {
        data.m_BodyTypes.emplace_back();
        data.m_BodyTypes.back().m_Name = name;
    }
    const char* pairs[][2] = {{"ball", "ball"},  {"ball", "default"}, {"ball", "wood"},
                              {"ball", "metal"}, {"ball", "rubber"},  {"wood", "metal"}};
    for (const auto& pair : pairs) {
        SoundManagerData::CollisionType type;
        type.m_BodyType1 = pair[0];
        type.m_BodyType2 = pair[1];
        type.m_FileNamePattern = "data/sounds/knock%d.wav";
        type.m_IndexMin = 1;
        type.m_IndexMax = 3;
        type.m_ImpulseMin = 3.0f;
        type.m_ImpulseMax = 40.0f;
        data.m_CollisionTypes.push_back(type);
    }
    return data;
}

void BM_ChooseCollision(benchmark::State& state) {
    GameRandom random(1);
    SoundManager manager(random);
    manager.SetData(Table());
    const size_t bodyCount = static_cast<size_t>(state.range(0));
    // Bodies are keys only: addresses inside this buffer stand for them.
    std::vector<char> bodies(bodyCount);
    const char* kinds[] = {"ball", "wood", "metal", "rubber"};
    for (size_t i = 0; i < bodyCount; ++i) {
        // Every fifth body keeps the default kind.
        if (i % 5 != 4) {
            manager.SetBodyType(reinterpret_cast<const b2Body*>(&bodies[i]), kinds[i % 4]);
        }
    }
    const float impulse = static_cast<float>(state.range(1));
    size_t a = 0;
    size_t chosen = 0;
    for (auto _ : state) {
        const size_t b = (a * 7 + 3) % bodyCount;
        chosen += manager
                      .ChooseCollision(reinterpret_cast<const b2Body*>(&bodies[a]),
                                       reinterpret_cast<const b2Body*>(&bodies[b]), impulse)
                      .has_value();
        a = (a + 1) % bodyCount;
    }
    benchmark::DoNotOptimize(chosen);
    state.SetItemsProcessed(state.iterations());
}

// Bodies: a match's balls and creatures, then a crowded level. Impulse 1: resting contacts; 20: hits.
BENCHMARK(BM_ChooseCollision)->Args({64, 1})->Args({64, 20})->Args({4096, 1})->Args({4096, 20});

}  // namespace
