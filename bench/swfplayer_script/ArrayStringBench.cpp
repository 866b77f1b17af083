// Array push and String split, each beside a standard container doing the same work in the same
// run (run with --benchmark_enable_random_interleaving=true --benchmark_repetitions=N and compare
// min and median; the target is within 3x of the peer):
// - 10,000 pushes of a number onto a new array (members named by their index) against 10,000
//   insertions into a std::unordered_map keyed by the index's text;
// - splitting a 64 KB text at "," (8,192 pieces) and into its 65,536 characters, against the same
//   pieces stored in a std::unordered_map keyed by the index's text.
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/swfplayer_as_classes/as_array.h"
#include "swfplayer/main/swfplayer_as_classes/as_string.h"
#include "swfplayer/main/swfplayer_as_classes/builtin_classes.h"

#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>

using namespace swfplayer;

namespace {

constexpr int kPushes = 10000;
constexpr int kTextBytes = 65536;

struct stage {
    smart_ptr<player> owner = (register_builtin_classes(), new player());
    as_environment env{owner.get_ptr()};
};

void BM_array_push(benchmark::State& state) {
    stage s;
    for (auto _ : state) {
        smart_ptr<as_array> array = new as_array(s.owner.get_ptr());
        for (int i = 0; i < kPushes; i++) {
            array->push(as_value(i));
        }
        benchmark::DoNotOptimize(array->size());
    }
}
BENCHMARK(BM_array_push)->Unit(benchmark::kMicrosecond);

void BM_array_push_peer_std_unordered_map(benchmark::State& state) {
    for (auto _ : state) {
        std::unordered_map<std::string, double> members;
        for (int i = 0; i < kPushes; i++) {
            members.emplace(std::to_string(members.size()), i);
        }
        benchmark::DoNotOptimize(members.size());
    }
}
BENCHMARK(BM_array_push_peer_std_unordered_map)->Unit(benchmark::kMicrosecond);

// "a,b,a,b,..." of kTextBytes bytes: one-byte pieces between commas.
std::string CommaText() {
    std::string text;
    while (static_cast<int>(text.size()) < kTextBytes) {
        text += text.size() % 4 == 0 ? "a," : "b,";
    }
    return text;
}

void Split(benchmark::State& state, const char* separator) {
    stage s;
    const as_value text(CommaText().c_str());
    s.env.push(as_value(separator));
    for (auto _ : state) {
        as_value result;
        as_string_split(fn_call(&result, text, &s.env, 1, s.env.get_top_index()));
        benchmark::DoNotOptimize(static_cast<as_array*>(result.to_object())->size());
    }
}

void SplitPeer(benchmark::State& state, char separator) {
    const std::string text = CommaText();
    for (auto _ : state) {
        std::unordered_map<std::string, std::string> pieces;
        size_t cut = 0;
        for (size_t i = 0; i <= text.size(); i++) {
            if (separator == 0 && i < text.size()) {
                pieces.emplace(std::to_string(pieces.size()), text.substr(i, 1));
            } else if (separator != 0 && (i == text.size() || text[i] == separator)) {
                pieces.emplace(std::to_string(pieces.size()), text.substr(cut, i - cut));
                cut = i + 1;
            }
        }
        benchmark::DoNotOptimize(pieces.size());
    }
}

void BM_string_split_at_comma(benchmark::State& state) {
    Split(state, ",");
}
BENCHMARK(BM_string_split_at_comma)->Unit(benchmark::kMicrosecond);

void BM_string_split_at_comma_peer_std_unordered_map(benchmark::State& state) {
    SplitPeer(state, ',');
}
BENCHMARK(BM_string_split_at_comma_peer_std_unordered_map)->Unit(benchmark::kMicrosecond);

void BM_string_split_into_characters(benchmark::State& state) {
    Split(state, "");
}
BENCHMARK(BM_string_split_into_characters)->Unit(benchmark::kMicrosecond);

void BM_string_split_into_characters_peer_std_unordered_map(benchmark::State& state) {
    SplitPeer(state, 0);
}
BENCHMARK(BM_string_split_into_characters_peer_std_unordered_map)->Unit(benchmark::kMicrosecond);

}  // namespace
