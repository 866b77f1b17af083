// Loading a large kit-written movie (about 13,000 tags), plain and compressed, against only
// inflating the same compressed file. Two figures of load time / inflate time are reported for
// the compressed file:
// - load_over_inflate (BM_LoadOverInflate): one inflate and one load in every iteration, side
//   by side, summed over the run. This is the judged figure: the target is at most 1.5 (parsing
//   adds at most half of the decompression time).
// - separate_load_over_inflate (BM_LoadOverInflateSeparately): a batch of inflates, then a
//   batch of loads, in each iteration, as separate timings of the two would measure them (so
//   does BM_LoadCompressed over BM_InflateOnly). Caches and clock speed favour each phase
//   differently than side by side, so this figure differs; it shows the spread and is not judged.
// Shape tags are skipped in this build, not parsed, so both figures rise once shapes are read.
// Run with --benchmark_enable_random_interleaving=true --benchmark_repetitions=10 and compare
// the minimum and the median of the repetitions.
#include "swfplayer/base/base_file.h"
#include "swfplayer/base/inflating_file.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/swfplayer_as_classes/builtin_classes.h"
#include "tools/swfkit/SampleMovies.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

namespace {

constexpr int kFrames = 2000;

// The fastest repetition, reported beside the median.
double Min(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

const std::vector<uint8_t>& PlainMovie() {
    static const std::vector<uint8_t> bytes = swfkit::LargeMovie(kFrames, false);
    return bytes;
}

const std::vector<uint8_t>& CompressedMovie() {
    static const std::vector<uint8_t> bytes = swfkit::LargeMovie(kFrames, true);
    return bytes;
}

// The player's log is silenced: the movie's shape tags may have no loader in this build.
struct QuietLog {
    QuietLog() : previous(swfplayer::register_log_callback(nullptr)) {}
    ~QuietLog() { swfplayer::register_log_callback(previous); }
    swfplayer::log_callback previous;
};

// The definition is handed back so that its destruction, which is no part of loading, can
// happen outside the measured time.
swfplayer::smart_ptr<swfplayer::movie_def_impl> Load(swfplayer::player* owner, const std::vector<uint8_t>& bytes) {
    auto* file = new swfplayer::base_file(swfplayer::memory_buffer, static_cast<int>(bytes.size()), bytes.data());
    auto movie = swfplayer::create_movie_definition(owner, file);
    benchmark::DoNotOptimize(movie.get_ptr());
    return movie;
}

void Inflate(const std::vector<uint8_t>& bytes) {
    swfplayer::base_file source(swfplayer::memory_buffer, static_cast<int>(bytes.size()) - 8, bytes.data() + 8);
    std::unique_ptr<swfplayer::base_file> in(swfplayer::make_inflating_file(&source));
    uint8_t block[4096];
    int total = 0;
    for (int got; (got = in->read_bytes(block, sizeof(block))) > 0;) {
        total += got;
    }
    benchmark::DoNotOptimize(total);
}

void BM_LoadPlain(benchmark::State& state) {
    QuietLog quiet;
    swfplayer::register_builtin_classes();
    swfplayer::smart_ptr<swfplayer::player> owner = new swfplayer::player();
    for (auto _ : state) {
        auto movie = Load(owner.get_ptr(), PlainMovie());
        state.PauseTiming();
        movie = nullptr;
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(PlainMovie().size()));
}
BENCHMARK(BM_LoadPlain)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Min);

void BM_LoadCompressed(benchmark::State& state) {
    QuietLog quiet;
    swfplayer::register_builtin_classes();
    swfplayer::smart_ptr<swfplayer::player> owner = new swfplayer::player();
    for (auto _ : state) {
        auto movie = Load(owner.get_ptr(), CompressedMovie());
        state.PauseTiming();
        movie = nullptr;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadCompressed)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Min);

void BM_InflateOnly(benchmark::State& state) {
    for (auto _ : state) {
        Inflate(CompressedMovie());
    }
}
BENCHMARK(BM_InflateOnly)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Min);

// Both measured in each iteration, so the ratio compares like with like.
void BM_LoadOverInflate(benchmark::State& state) {
    QuietLog quiet;
    swfplayer::register_builtin_classes();
    swfplayer::smart_ptr<swfplayer::player> owner = new swfplayer::player();
    using clock = std::chrono::steady_clock;
    double load_seconds = 0.0;
    double inflate_seconds = 0.0;
    for (auto _ : state) {
        auto start = clock::now();
        Inflate(CompressedMovie());
        auto middle = clock::now();
        auto movie = Load(owner.get_ptr(), CompressedMovie());
        auto end = clock::now();
        movie = nullptr;
        inflate_seconds += std::chrono::duration<double>(middle - start).count();
        load_seconds += std::chrono::duration<double>(end - middle).count();
    }
    state.counters["load_over_inflate"] = inflate_seconds > 0.0 ? load_seconds / inflate_seconds : 0.0;
}
BENCHMARK(BM_LoadOverInflate)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Min);

void BM_LoadOverInflateSeparately(benchmark::State& state) {
    constexpr int kBatch = 4;
    QuietLog quiet;
    swfplayer::smart_ptr<swfplayer::player> owner = new swfplayer::player();
    using clock = std::chrono::steady_clock;
    double load_seconds = 0.0;
    double inflate_seconds = 0.0;
    std::vector<swfplayer::smart_ptr<swfplayer::movie_def_impl>> movies;
    for (auto _ : state) {
        auto start = clock::now();
        for (int i = 0; i < kBatch; i++) {
            Inflate(CompressedMovie());
        }
        auto middle = clock::now();
        for (int i = 0; i < kBatch; i++) {
            movies.push_back(Load(owner.get_ptr(), CompressedMovie()));
        }
        auto end = clock::now();
        inflate_seconds += std::chrono::duration<double>(middle - start).count();
        load_seconds += std::chrono::duration<double>(end - middle).count();
        // The definitions are freed outside the measured batches.
        state.PauseTiming();
        movies.clear();
        state.ResumeTiming();
    }
    state.counters["separate_load_over_inflate"] = inflate_seconds > 0.0 ? load_seconds / inflate_seconds : 0.0;
}
BENCHMARK(BM_LoadOverInflateSeparately)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Min);

}  // namespace
