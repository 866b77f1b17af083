// Finding a child by name among 10,000, as every member lookup on a clip does first, beside a
// std::unordered_map from the same names (run with --benchmark_enable_random_interleaving=true
// --benchmark_repetitions=N and compare min and median; the target is within 3x of the peer):
// a name that is there (in another case) and one that is not.
#include "swfplayer/main/common/rect.h"
#include "swfplayer/main/display/character_def.h"
#include "swfplayer/main/display/display_list.h"
#include "swfplayer/main/display/generic_character.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/swfplayer_as_classes/builtin_classes.h"

#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace {

using namespace swfplayer;

constexpr int kChildren = 10000;

class dot_def : public character_def {
public:
    explicit dot_def(player* owner) : character_def(owner) {}
    void get_bound(rect* r) const override { *r = rect(0.0f, 20.0f, 0.0f, 20.0f); }
};

std::string ChildName(int i) {
    return "child" + std::to_string(i);
}

struct stage {
    stage() {
        smart_ptr<dot_def> def = new dot_def(owner.get_ptr());
        for (int i = 0; i < kChildren; i++) {
            smart_ptr<character> ch = new generic_character(owner.get_ptr(), def.get_ptr(), nullptr, i);
            ch->set_name(ChildName(i).c_str());
            list.add_display_object(ch.get_ptr(), i, false, cxform(), matrix(), 0.0f, 0);
        }
    }
    ~stage() { list.clear(); }
    smart_ptr<player> owner = (register_builtin_classes(), new player());
    display_list list;
};

void BM_child_by_name(benchmark::State& state) {
    stage s;
    const base_stringi present("CHILD7777");
    const base_stringi absent("absent");
    for (auto _ : state) {
        benchmark::DoNotOptimize(s.list.get_character_by_name_i(present));
        benchmark::DoNotOptimize(s.list.get_character_by_name_i(absent));
    }
}
BENCHMARK(BM_child_by_name);

// The peer folds the name as the lookup must (the children's names compare without case).
void BM_child_by_name_peer_std_unordered_map(benchmark::State& state) {
    std::unordered_map<std::string, int> children;
    for (int i = 0; i < kChildren; i++) {
        children.emplace(ChildName(i), i);
    }
    const std::string present("CHILD7777");
    const std::string absent("absent");
    auto find = [&children](const std::string& name) {
        std::string folded = name;
        for (char& c : folded) {
            c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        }
        return children.find(folded) != children.end();
    };
    for (auto _ : state) {
        benchmark::DoNotOptimize(find(present));
        benchmark::DoNotOptimize(find(absent));
    }
}
BENCHMARK(BM_child_by_name_peer_std_unordered_map);

}  // namespace
