// A gradient-heavy movie (320 curved stars, every second one filled with a linear or radial
// gradient, over 10 frames) loaded the way the game loads every movie, through FlashMovie with
// the OpenGL handler installed: without its cache file (the shapes are tessellated and the cache
// written, BM_LoadWithoutCache) and with a fresh one (BM_LoadWithCache). Target: the cache at
// least 5 times faster. The same movie with solid fills only (BM_Solid...) shows what gradients
// add. No window is needed: gradient bitmaps and textures are made when first drawn.
// Run with --benchmark_enable_random_interleaving=true --benchmark_repetitions=10 and compare
// the minimum and the median of the repetitions.
#include "flash/FlashMovie.h"
#include "tests/support/TempDir.h"
#include "tests/swfplayer/main/player/PlayerMovies.h"

#include <benchmark/benchmark.h>
#include <physfs.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <vector>

namespace {

constexpr const char* kMovie = "gradients.swf";

double Min(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

// The movie in a folder the virtual file system mounts, as the game finds its data.
class MovieFolder {
public:
    explicit MovieFolder(bool gradients) {
        const swfkit::Bytes bytes = player_movies::ShapeHeavyMovie(320, 10, gradients);
        testing_support::WriteFile(m_Dir / kMovie, std::string(bytes.begin(), bytes.end()));
        PHYSFS_init(nullptr);
        PHYSFS_mount(m_Dir.Path().c_str(), nullptr, 0);
    }
    ~MovieFolder() { PHYSFS_deinit(); }
    void RemoveCache() const { std::filesystem::remove(m_Dir / (std::string(kMovie) + ".gsc")); }

private:
    testing_support::TempDir m_Dir;
};

// Loads the movie at every iteration; with_cache keeps the cache file written by a first load.
// Only the load is timed.
void Load(benchmark::State& state, bool gradients, bool with_cache) {
    MovieFolder folder(gradients);
    std::optional<FlashMovie> movie;
    movie.emplace(kMovie);  // writes the cache
    for (auto _ : state) {
        state.PauseTiming();
        movie.reset();
        if (!with_cache) {
            folder.RemoveCache();
        }
        state.ResumeTiming();
        movie.emplace(kMovie);
        benchmark::DoNotOptimize(movie->GetRoot());
    }
}

void BM_LoadWithoutCache(benchmark::State& state) {
    Load(state, true, false);
}
BENCHMARK(BM_LoadWithoutCache)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Min);

void BM_LoadWithCache(benchmark::State& state) {
    Load(state, true, true);
}
BENCHMARK(BM_LoadWithCache)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Min);

void BM_SolidLoadWithoutCache(benchmark::State& state) {
    Load(state, false, false);
}
BENCHMARK(BM_SolidLoadWithoutCache)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Min);

void BM_SolidLoadWithCache(benchmark::State& state) {
    Load(state, false, true);
}
BENCHMARK(BM_SolidLoadWithCache)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Min);

}  // namespace
