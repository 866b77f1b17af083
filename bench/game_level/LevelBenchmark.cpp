// Loading each shipped level, with its movies' cache files warm, beside loading only what the
// level shows (its movies, one copy each as the level makes them, and its background picture):
// the difference is the level's own work (the level file, the outline drawing, the world, the path
// grid), at most a quarter on top. And one frame of each level (Update, DrawBack, DrawBalls,
// DrawFront, finished with glFinish) in an 800 x 600 window on Mesa's software OpenGL: at most
// 4 ms for the busiest, judged beside BM_FrameHandler, the render benchmark's reference frame,
// which runs in the same process. A frame's CPU time counts every thread, Mesa's rasterising
// threads among them (see FrameCpuClock.h).
// Run: xvfb-run -a bench_game_level --benchmark_enable_random_interleaving=true
//      --benchmark_repetitions=10
#include "bench/FrameCpuClock.h"
#include "bench/GameBenchmarkKit.h"
#include "game/LevelWindmill.h"

#include <GL/gl.h>
#include <SFML/Graphics.hpp>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* const kLevels[] = {"data/levels/1_nanomill.xml", "data/levels/2_nanomill.xml",
                               "data/levels/3_flipperreef.xml", "data/levels/4_portalgrotto.xml",
                               "data/levels/5_biglagoon.xml"};

std::unique_ptr<Level> NewLevel(const std::string& file) {
    return file == Level::kWindmillLevel ? std::make_unique<LevelWindmill>() : std::make_unique<Level>();
}

// What the level loads to show itself: the movie of every body (twice for a body movie with a
// back layer, as the level keeps a copy for each layer), every static clip, the two movies of
// every ball, and the background picture with its texture.
struct Pictures {
    std::vector<std::string> movies;
    std::string background;
};

Pictures PicturesOf(const Level& level) {
    Pictures pictures;
    const LevelData& data = level.GetData();
    for (const BodyData& body : data.m_Bodies) {
        if (!body.m_FlashFile.empty()) {
            pictures.movies.push_back(body.m_FlashFile);
            FlashMovie probe(body.m_FlashFile.c_str());
            if (probe.GotoLabel("foreground", false)) {
                pictures.movies.push_back(body.m_FlashFile);
            }
        }
    }
    for (const StaticElementData& clip : data.m_Statics) {
        pictures.movies.push_back(clip.m_FlashFile);
    }
    for (size_t i = 0; i < data.m_Balls.size(); ++i) {
        pictures.movies.push_back("data/ball.swf");
        pictures.movies.push_back("data/ball_glow.swf");
    }
    pictures.background = data.m_Background;
    return pictures;
}

void BM_LoadLevel(benchmark::State& state) {
    game_benchmark::MountGameFolder();
    game_benchmark::Window("level benchmark");
    const std::string file = kLevels[state.range(0)];
    NewLevel(file)->Load(file, nullptr);  // warms the cache files
    for (auto _ : state) {
        std::unique_ptr<Level> level = NewLevel(file);
        benchmark::DoNotOptimize(level->Load(file, nullptr));
    }
    state.SetLabel(file);
}
BENCHMARK(BM_LoadLevel)
    ->DenseRange(0, 4)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->ComputeStatistics("min", game_benchmark::Min);

void BM_LoadPicturesAlone(benchmark::State& state) {
    game_benchmark::MountGameFolder();
    game_benchmark::Window("level benchmark");
    const std::string file = kLevels[state.range(0)];
    std::unique_ptr<Level> level = NewLevel(file);
    level->Load(file, nullptr);
    const Pictures pictures = PicturesOf(*level);
    level.reset();
    for (auto _ : state) {
        std::vector<FlashMovie> movies(pictures.movies.size());
        for (size_t i = 0; i < movies.size(); ++i) {
            movies[i].Load(pictures.movies[i].c_str());
        }
        if (!pictures.background.empty()) {
            sf::Image image;
            sf::Texture texture;
            image.loadFromFile(std::string(PONDORIX_GAME_DIR) + "/" + pictures.background);
            benchmark::DoNotOptimize(texture.loadFromImage(image));
        }
        benchmark::DoNotOptimize(movies.data());
    }
    state.SetLabel(file);
}
BENCHMARK(BM_LoadPicturesAlone)
    ->DenseRange(0, 4)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->ComputeStatistics("min", game_benchmark::Min);

void BM_LevelFrame(benchmark::State& state) {
    game_benchmark::MountGameFolder();
    sf::RenderWindow& window = game_benchmark::Window("level benchmark");
    const std::string file = kLevels[state.range(0)];
    std::unique_ptr<Level> level = NewLevel(file);
    level->Load(file, nullptr);
    const float zoom = level->GetData().m_ViewZoom;
    sf::Transform view;
    view.translate((800.0f - 800.0f * zoom) / 2.0f, (600.0f - 600.0f * zoom) / 2.0f).scale(zoom, zoom);
    const sf::RenderStates states(view);
    bench_support::FrameCpuClock cpu;
    for (auto _ : state) {
        cpu.Start();
        window.clear(sf::Color::Black);
        level->Update(nullptr, 0.02f);
        level->DrawBack(window, states);
        level->DrawBalls(window, states);
        level->DrawFront(window, states);
        glFinish();
        cpu.Stop();
    }
    cpu.Report(state);
    state.SetLabel(file);
}
BENCHMARK(BM_LevelFrame)
    ->DenseRange(0, 4)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->ComputeStatistics("min", game_benchmark::Min);

}  // namespace
