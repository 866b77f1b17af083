// The player's two costs a screen feels:
// - Loading a shape-heavy movie (200 curved stars over 10 frames) and showing each shape once,
//   which tessellates it (BM_LoadWithoutCache), against loading it and reading its cache file
//   instead (BM_LoadWithCache). Target: the cache at least 5 times faster.
// - One frame of a menu-sized movie (800 x 600, 200 shapes on stage): the root's advance and
//   display with the meshes built, as the game plays it every frame (BM_MenuFrame), beside the
//   advance alone (BM_MenuAdvanceOnly) to show the split. Target: at most 2 ms of CPU.
// Run with --benchmark_enable_random_interleaving=true --benchmark_repetitions=10 and compare
// the minimum and the median of the repetitions.
#include "swfplayer/base/base_file.h"
#include "swfplayer/base/log.h"
#include "swfplayer/base/membuf.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/shapes/shape_character_def.h"
#include "swfplayer/main/shapes/shape_loaders.h"
#include "swfplayer/main/swfplayer_as_classes/builtin_classes.h"
#include "tests/swfplayer/main/player/PlayerMovies.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

double Min(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

const std::vector<uint8_t>& HeavyMovie() {
    static const std::vector<uint8_t> bytes = player_movies::ShapeHeavyMovie(200, 10);
    return bytes;
}

swfplayer::smart_ptr<swfplayer::movie_def_impl> Read(swfplayer::player* owner, const std::vector<uint8_t>& bytes) {
    swfplayer::register_shape_loaders();
    auto* file = new swfplayer::base_file(swfplayer::memory_buffer, static_cast<int>(bytes.size()), bytes.data());
    return swfplayer::create_movie_definition(owner, file);
}

// Shows every shape (the movie defines nothing else) once at the movie's own scale, as its
// first display does.
void ShowShapes(swfplayer::movie_def_impl* def) {
    for (const auto& entry : def->get_characters()) {
        auto* shape = static_cast<swfplayer::shape_character_def*>(entry.second.get_ptr());
        shape->display(swfplayer::matrix(), swfplayer::cxform(), 1.0f, shape->m_fill_styles, shape->m_line_styles);
    }
}

const swfplayer::membuf& HeavyCache() {
    static const swfplayer::membuf bytes = [] {
        swfplayer::smart_ptr<swfplayer::player> owner = new swfplayer::player();
        auto def = Read(owner.get_ptr(), HeavyMovie());
        ShowShapes(def.get_ptr());
        swfplayer::base_file out(swfplayer::memory_buffer);
        def->output_cached_data(&out, swfplayer::cache_options());
        out.set_position(0);
        swfplayer::membuf cache;
        out.copy_to(&cache);
        return cache;
    }();
    return bytes;
}

void BM_LoadWithoutCache(benchmark::State& state) {
    swfplayer::register_builtin_classes();
    swfplayer::smart_ptr<swfplayer::player> owner = new swfplayer::player();
    for (auto _ : state) {
        auto def = Read(owner.get_ptr(), HeavyMovie());
        ShowShapes(def.get_ptr());
        benchmark::DoNotOptimize(def.get_ptr());
        state.PauseTiming();
        def = nullptr;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadWithoutCache)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Min);

void BM_LoadWithCache(benchmark::State& state) {
    swfplayer::register_builtin_classes();
    swfplayer::smart_ptr<swfplayer::player> owner = new swfplayer::player();
    const swfplayer::membuf& cache = HeavyCache();
    for (auto _ : state) {
        auto def = Read(owner.get_ptr(), HeavyMovie());
        swfplayer::base_file in(swfplayer::memory_buffer, cache.size(), cache.data());
        def->input_cached_data(&in);
        ShowShapes(def.get_ptr());
        benchmark::DoNotOptimize(def.get_ptr());
        state.PauseTiming();
        def = nullptr;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadWithCache)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Min);

// A playing menu: every shape placed on the first frame, meshes built by a first display.
struct Menu {
    Menu() {
        swfplayer::register_builtin_classes();
        owner = new swfplayer::player();
        def = Read(owner.get_ptr(), player_movies::ShapeHeavyMovie(200, 1));
        root = swfplayer::create_instance(def.get_ptr());
        root->advance(0.0f);
        root->display();
    }
    swfplayer::smart_ptr<swfplayer::player> owner;
    swfplayer::smart_ptr<swfplayer::movie_def_impl> def;
    swfplayer::smart_ptr<swfplayer::root> root;
};

void BM_MenuFrame(benchmark::State& state) {
    Menu menu;
    for (auto _ : state) {
        menu.root->advance(1.0f / 30.0f);
        menu.root->display();
    }
}
BENCHMARK(BM_MenuFrame)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", Min);

void BM_MenuAdvanceOnly(benchmark::State& state) {
    Menu menu;
    for (auto _ : state) {
        menu.root->advance(1.0f / 30.0f);
    }
}
BENCHMARK(BM_MenuAdvanceOnly)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", Min);

}  // namespace
