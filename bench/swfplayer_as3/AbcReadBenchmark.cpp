// Reading a builder-made ABC block of about 1 MB (strings, multinames and 10,000 methods with
// bodies) against inflating the same bytes from their zlib form. Both report bytes per second of
// the block; BM_ReadOverInflate times one inflate and one read in every iteration, side by side,
// and reports their ratio (target: at most 2).
// Run with --benchmark_enable_random_interleaving=true --benchmark_repetitions=10 and compare
// the minimum and the median of the repetitions.
#include "swfplayer/base/log.h"
#include "swfplayer/main/as3/abc_def.h"
#include "swfplayer/main/as3/abc_input.h"
#include "swfplayer/main/script/player.h"
#include "tests/swfplayer/main/as3/AbcBuilder.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kMethods = 10000;
constexpr int kNames = 2500;
// Identifier parts, as compiled code names its members.
constexpr int kWordCount = 12;
const char* const kWords[kWordCount] = {"get", "set", "on",  "draw", "update", "make",
                                        "is",  "has", "the", "my",   "to",     "add"};
const char* const kCapitalWords[kWordCount] = {"Ball",  "Menu", "Score", "Player", "Level",  "Click",
                                               "Frame", "Item", "Text",  "Sound",  "Button", "State"};

double Min(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

// Names, their multinames and methods whose bodies set members, trace and call, drawn from a
// fixed-seed generator so that the block compresses as compiled code does (about 1.8:1 here; a
// block of one body repeated 10,000 times inflates several times faster than any real one).
const std::vector<uint8_t>& Block() {
    static const std::vector<uint8_t> bytes = [] {
        std::mt19937 random(7);
        auto pick = [&](int n) {
            return static_cast<uint32_t>(random() % static_cast<uint32_t>(n));
        };
        abc_testing::AbcBuilder abc;
        for (int i = 0; i < kNames; i++) {
            std::string name = kWords[pick(kWordCount)];
            for (int words = 1 + static_cast<int>(pick(3)); words > 0; words--) {
                name += kCapitalWords[pick(kWordCount)];
            }
            name += std::to_string(i);
            abc.QName(name);
        }
        abc.integers = {-5, 1000};
        abc.doubles = {0.5};
        for (int i = 0; i < kMethods; i++) {
            abc_testing::Bytes code;
            for (int k = 0; k < 6; k++) {
                abc_testing::Bytes name = abc_testing::U30(1 + pick(kNames));
                abc_testing::Bytes text = abc_testing::U30(1 + pick(kNames));
                code.insert(code.end(), {0xD0, 0x24, static_cast<uint8_t>(pick(256)), 0x68});
                code.insert(code.end(), name.begin(), name.end());
                code.push_back(pick(2) ? 0x5D : 0x60);
                code.insert(code.end(), name.begin(), name.end());
                code.push_back(0x2C);
                code.insert(code.end(), text.begin(), text.end());
            }
            code.insert(code.end(), {0x4F, 1, 1, 0x47});
            abc.AddMethodWithBody(code, 1 + pick(4));
        }
        return abc.Build();
    }();
    return bytes;
}

const std::vector<uint8_t>& Packed() {
    static const std::vector<uint8_t> bytes = [] {
        const std::vector<uint8_t>& block = Block();
        uLongf size = compressBound(static_cast<uLong>(block.size()));
        std::vector<uint8_t> packed(size);
        compress(packed.data(), &size, block.data(), static_cast<uLong>(block.size()));
        packed.resize(size);
        return packed;
    }();
    return bytes;
}

swfplayer::player* Owner() {
    static swfplayer::smart_ptr<swfplayer::player> owner = new swfplayer::player();
    return owner.get_ptr();
}

// The block is handed back so that its destruction happens outside the measured time.
swfplayer::smart_ptr<swfplayer::abc_def> Read() {
    swfplayer::smart_ptr<swfplayer::abc_def> abc = new swfplayer::abc_def(Owner());
    swfplayer::abc_input in(Block().data(), static_cast<int>(Block().size()));
    if (!abc->read(&in)) {
        std::abort();
    }
    return abc;
}

void Inflate(std::vector<uint8_t>* out) {
    uLongf size = static_cast<uLongf>(out->size());
    uncompress(out->data(), &size, Packed().data(), static_cast<uLong>(Packed().size()));
    benchmark::DoNotOptimize(out->data());
}

void BM_ReadBlock(benchmark::State& state) {
    for (auto _ : state) {
        auto abc = Read();
        state.PauseTiming();
        abc = nullptr;
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Block().size()));
}
BENCHMARK(BM_ReadBlock)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Min);

void BM_InflateBlock(benchmark::State& state) {
    std::vector<uint8_t> out(Block().size());
    for (auto _ : state) {
        Inflate(&out);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Block().size()));
}
BENCHMARK(BM_InflateBlock)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Min);

void BM_ReadOverInflate(benchmark::State& state) {
    using clock = std::chrono::steady_clock;
    std::vector<uint8_t> out(Block().size());
    double read = 0;
    double inflate = 0;
    for (auto _ : state) {
        auto start = clock::now();
        Inflate(&out);
        auto middle = clock::now();
        auto abc = Read();
        auto end = clock::now();
        inflate += std::chrono::duration<double>(middle - start).count();
        read += std::chrono::duration<double>(end - middle).count();
        state.PauseTiming();
        abc = nullptr;
        state.ResumeTiming();
    }
    state.counters["read_over_inflate"] = read / inflate;
    state.counters["block_bytes"] = static_cast<double>(Block().size());
    state.counters["packed_bytes"] = static_cast<double>(Packed().size());
}
BENCHMARK(BM_ReadOverInflate)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Min);

}  // namespace
