// hash against std::unordered_map, and base_string against std::string, on the work the player
// does most: member-name lookups, id lookups and building short names. Member names are compared
// both against the standard container with the same case-insensitive hash (StdStringi) and
// against plain case-sensitive std::string keys (StdString).
//
// Judged side by side on the minimum and the median of interleaved repetitions:
//   bench_swfplayer_base --benchmark_enable_random_interleaving=true --benchmark_repetitions=10
//       --benchmark_report_aggregates_only=true
#include "swfplayer/base/base_string.h"
#include "swfplayer/base/hash.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

using swfplayer::base_string;
using swfplayer::base_stringi;
using swfplayer::hash;

namespace {

// The fastest repetition, reported beside the median: the run least disturbed by the machine.
double Min(const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
}

std::vector<int> random_ints(int count) {
    std::mt19937 random(42);
    std::vector<int> keys(count);
    for (int& key : keys) {
        key = static_cast<int>(random() & 0x7FFFFFFF);
    }
    return keys;
}

// Member-like names: "_x", "onEnterFrame7", "instance123" and so on.
std::vector<std::string> member_names(int count) {
    static const char* stems[] = {"_x", "onEnterFrame", "instance", "gotoAndPlay", "_alpha", "mc", "text"};
    std::vector<std::string> names;
    for (int i = 0; i < count; i++) {
        names.push_back(std::string(stems[i % 7]) + std::to_string(i));
    }
    return names;
}

void HashIntLookup(benchmark::State& state) {
    std::vector<int> keys = random_ints(static_cast<int>(state.range(0)));
    hash<int, int> table;
    for (int key : keys) {
        table.set(key, key);
    }
    size_t i = 0;
    for (auto _ : state) {
        int value = 0;
        benchmark::DoNotOptimize(table.get(keys[i], &value));
        benchmark::DoNotOptimize(value);
        i = (i + 1) % keys.size();
    }
}

void StdIntLookup(benchmark::State& state) {
    std::vector<int> keys = random_ints(static_cast<int>(state.range(0)));
    std::unordered_map<int, int> table;
    for (int key : keys) {
        table[key] = key;
    }
    size_t i = 0;
    for (auto _ : state) {
        auto it = table.find(keys[i]);
        benchmark::DoNotOptimize(it->second);
        i = (i + 1) % keys.size();
    }
}

void HashIntInsert(benchmark::State& state) {
    std::vector<int> keys = random_ints(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        hash<int, int> table;
        for (int key : keys) {
            table.set(key, key);
        }
        benchmark::DoNotOptimize(table.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void StdIntInsert(benchmark::State& state) {
    std::vector<int> keys = random_ints(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::unordered_map<int, int> table;
        for (int key : keys) {
            table[key] = key;
        }
        benchmark::DoNotOptimize(table.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void HashStringiLookup(benchmark::State& state) {
    std::vector<std::string> names = member_names(static_cast<int>(state.range(0)));
    std::vector<base_stringi> keys;
    for (const std::string& name : names) {
        keys.emplace_back(name.c_str());
    }
    hash<base_stringi, int> table;
    for (size_t k = 0; k < keys.size(); k++) {
        table.set(keys[k], static_cast<int>(k));
    }
    size_t i = 0;
    for (auto _ : state) {
        int value = 0;
        benchmark::DoNotOptimize(table.get(keys[i], &value));
        i = (i + 1) % keys.size();
    }
}

// The standard container with the same keys and the same case-insensitive hash: the
// like-for-like comparison of the two tables.
void StdStringiLookup(benchmark::State& state) {
    std::vector<std::string> names = member_names(static_cast<int>(state.range(0)));
    std::vector<base_stringi> keys;
    for (const std::string& name : names) {
        keys.emplace_back(name.c_str());
    }
    std::unordered_map<base_stringi, int, swfplayer::stringi_hash_functor> table;
    for (size_t k = 0; k < keys.size(); k++) {
        table[keys[k]] = static_cast<int>(k);
    }
    size_t i = 0;
    for (auto _ : state) {
        auto it = table.find(keys[i]);
        benchmark::DoNotOptimize(it->second);
        i = (i + 1) % keys.size();
    }
}

void StdStringLookup(benchmark::State& state) {
    std::vector<std::string> keys = member_names(static_cast<int>(state.range(0)));
    std::unordered_map<std::string, int> table;
    for (size_t k = 0; k < keys.size(); k++) {
        table[keys[k]] = static_cast<int>(k);
    }
    size_t i = 0;
    for (auto _ : state) {
        auto it = table.find(keys[i]);
        benchmark::DoNotOptimize(it->second);
        i = (i + 1) % keys.size();
    }
}

void HashStringiInsert(benchmark::State& state) {
    std::vector<std::string> names = member_names(static_cast<int>(state.range(0)));
    std::vector<base_stringi> keys;
    for (const std::string& name : names) {
        keys.emplace_back(name.c_str());
    }
    for (auto _ : state) {
        hash<base_stringi, int> table;
        for (const base_stringi& key : keys) {
            table.set(key, 1);
        }
        benchmark::DoNotOptimize(table.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void StdStringInsert(benchmark::State& state) {
    std::vector<std::string> keys = member_names(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::unordered_map<std::string, int> table;
        for (const std::string& key : keys) {
            table[key] = 1;
        }
        benchmark::DoNotOptimize(table.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Builds "parent.child.name7"-like paths piece by piece, crossing the inline limit.
void BaseStringBuild(benchmark::State& state) {
    for (auto _ : state) {
        base_string path("_root");
        for (int i = 0; i < 6; i++) {
            path += ".clip";
            path += static_cast<char>('0' + i);
        }
        benchmark::DoNotOptimize(path.c_str());
    }
}

void StdStringBuild(benchmark::State& state) {
    for (auto _ : state) {
        std::string path("_root");
        for (int i = 0; i < 6; i++) {
            path += ".clip";
            path += static_cast<char>('0' + i);
        }
        benchmark::DoNotOptimize(path.c_str());
    }
}

void BaseStringCompare(benchmark::State& state) {
    std::vector<std::string> names = member_names(256);
    std::vector<base_string> keys;
    for (const std::string& name : names) {
        keys.emplace_back(name.c_str());
    }
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(keys[i] == keys[(i * 7 + 1) & 255]);
        benchmark::DoNotOptimize(keys[i] < keys[(i * 13 + 5) & 255]);
        i = (i + 1) & 255;
    }
}

void StdStringCompare(benchmark::State& state) {
    std::vector<std::string> keys = member_names(256);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(keys[i] == keys[(i * 7 + 1) & 255]);
        benchmark::DoNotOptimize(keys[i] < keys[(i * 13 + 5) & 255]);
        i = (i + 1) & 255;
    }
}

}  // namespace

BENCHMARK(HashIntLookup)->Arg(64)->Arg(4096)->Arg(262144)->ComputeStatistics("min", Min);
BENCHMARK(StdIntLookup)->Arg(64)->Arg(4096)->Arg(262144)->ComputeStatistics("min", Min);
BENCHMARK(HashIntInsert)->Arg(64)->Arg(4096)->ComputeStatistics("min", Min);
BENCHMARK(StdIntInsert)->Arg(64)->Arg(4096)->ComputeStatistics("min", Min);
BENCHMARK(HashStringiLookup)->Arg(64)->Arg(4096)->ComputeStatistics("min", Min);
BENCHMARK(StdStringiLookup)->Arg(64)->Arg(4096)->ComputeStatistics("min", Min);
BENCHMARK(StdStringLookup)->Arg(64)->Arg(4096)->ComputeStatistics("min", Min);
BENCHMARK(HashStringiInsert)->Arg(64)->Arg(4096)->ComputeStatistics("min", Min);
BENCHMARK(StdStringInsert)->Arg(64)->Arg(4096)->ComputeStatistics("min", Min);
BENCHMARK(BaseStringBuild)->ComputeStatistics("min", Min);
BENCHMARK(StdStringBuild)->ComputeStatistics("min", Min);
BENCHMARK(BaseStringCompare)->ComputeStatistics("min", Min);
BENCHMARK(StdStringCompare)->ComputeStatistics("min", Min);
