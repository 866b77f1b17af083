// The timeline's hot paths, each against a peer in the same run (run with
// --benchmark_enable_random_interleaving and compare min and median):
// - a root clip with 1,000 children advanced and drawn through the recording render handler,
//   against drawing the same 1,000 definitions straight to the handler (the display list's own
//   cost is the difference; the target is well under 1 ms);
// - jumping last -> 0 -> last on a 500-frame timeline, against playing the timeline frame by
//   frame from 0 to its last frame.
#include "swfplayer/base/log.h"
#include "swfplayer/main/common/rect.h"
#include "swfplayer/main/display/character_def.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/render/render_handler.h"
#include "swfplayer/main/script/movie_root.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/swfplayer_as_classes/builtin_classes.h"
#include "tests/swfplayer/main/render/RecordingRenderHandler.h"
#include "tools/swfkit/Movie.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace swfplayer;

constexpr int kChildren = 1000;
constexpr int kFrames = 500;

// A definition that draws one line strip.
class strip_def : public character_def {
public:
    explicit strip_def(player* owner) : character_def(owner) {}
    void display(character*) override { render::draw_line_strip(nullptr, 2); }
    void get_bound(rect* r) const override { *r = rect(0.0f, 20.0f, 0.0f, 20.0f); }
};

// An empty clip, then kFrames frames over 20 depths: frame 0 places them, every frame moves five,
// every tenth frame replaces one and removes another that the next frame places again.
std::vector<uint8_t> long_timeline() {
    swfkit::Movie movie(6, {0, 8000, 0, 6000}, 30.0);
    swfkit::TagList clip(6);
    clip.ShowFrame();
    movie.Tags().DefineSprite(1, clip).DefineSprite(2, clip);
    for (int frame = 0; frame < kFrames; frame++) {
        for (uint16_t depth = 1; depth <= 20; depth++) {
            swfkit::Placement p;
            p.depth = depth;
            if (frame == 0 || (frame % 10 == 1 && depth == 7)) {
                p.characterId = 1;
            } else if (depth % 4 == frame % 4) {
                p.move = true;
                p.matrix = swfkit::Matrix{1.0, 1.0, 0.0, 0.0, frame * 3 + depth, depth * 5};
            } else {
                continue;
            }
            movie.Tags().PlaceObject2(p);
        }
        if (frame % 10 == 5) {
            swfkit::Placement replace;
            replace.depth = 3;
            replace.characterId = static_cast<uint16_t>(1 + frame / 10 % 2);
            replace.move = true;
            movie.Tags().PlaceObject2(replace).RemoveObject2(7);
        }
        movie.Tags().ShowFrame();
    }
    return movie.Write(false);
}

struct Stage {
    Stage() : previous_log(register_log_callback(nullptr)) {
        register_builtin_classes();
        owner = new player();
        root = new movie_root();
        owner->set_root(root.get_ptr());
        set_render_handler(&handler);
    }
    ~Stage() {
        set_render_handler(nullptr);
        register_log_callback(previous_log);
    }
    smart_ptr<sprite_instance> make_root_sprite(movie_definition_sub* def) {
        smart_ptr<sprite_instance> sprite = new sprite_instance(owner.get_ptr(), def, root.get_ptr(), nullptr, -1);
        root->set_root_movie(sprite.get_ptr());
        sprite->execute_frame_tags(0, false);
        return sprite;
    }

    log_callback previous_log;
    smart_ptr<player> owner;
    smart_ptr<movie_root> root;
    testing_support::RecordingRenderHandler handler;
};

smart_ptr<movie_def_impl> load(player* owner, const std::vector<uint8_t>& bytes) {
    auto* file = new base_file(memory_buffer, static_cast<int>(bytes.size()), bytes.data());
    return create_movie_definition(owner, file);
}

void BM_AdvanceAndDisplay1000(benchmark::State& state) {
    Stage stage;
    smart_ptr<movie_def_impl> def = load(stage.owner.get_ptr(), long_timeline());
    smart_ptr<sprite_instance> sprite = stage.make_root_sprite(def.get_ptr());
    sprite->set_play_state(character::STOP);
    sprite->get_display_list().clear();
    smart_ptr<character_def> strip = new strip_def(stage.owner.get_ptr());
    for (int i = 0; i < kChildren; i++) {
        smart_ptr<character> ch = strip->create_character_instance(sprite.get_ptr(), 1);
        sprite->get_display_list().add_display_object(ch.get_ptr(), i, false, cxform(), matrix(), 0.0f, 0);
    }
    for (auto _ : state) {
        sprite->advance(1.0f / 30.0f);
        sprite->display();
        stage.handler.calls.clear();
    }
}
BENCHMARK(BM_AdvanceAndDisplay1000)->Unit(benchmark::kMicrosecond);

void BM_DrawDefinitions1000(benchmark::State& state) {
    Stage stage;
    smart_ptr<character_def> strip = new strip_def(stage.owner.get_ptr());
    std::vector<smart_ptr<character>> children;
    for (int i = 0; i < kChildren; i++) {
        children.push_back(strip->create_character_instance(nullptr, 1));
    }
    for (auto _ : state) {
        for (const smart_ptr<character>& ch : children) {
            strip->display(ch.get_ptr());
        }
        stage.handler.calls.clear();
    }
}
BENCHMARK(BM_DrawDefinitions1000)->Unit(benchmark::kMicrosecond);

void BM_GotoLastFirstLast500(benchmark::State& state) {
    Stage stage;
    smart_ptr<movie_def_impl> def = load(stage.owner.get_ptr(), long_timeline());
    smart_ptr<sprite_instance> sprite = stage.make_root_sprite(def.get_ptr());
    for (auto _ : state) {
        sprite->goto_frame(kFrames - 1);
        sprite->goto_frame(0);
        sprite->goto_frame(kFrames - 1);
    }
}
BENCHMARK(BM_GotoLastFirstLast500)->Unit(benchmark::kMicrosecond);

void BM_Play500(benchmark::State& state) {
    Stage stage;
    smart_ptr<movie_def_impl> def = load(stage.owner.get_ptr(), long_timeline());
    smart_ptr<sprite_instance> sprite = stage.make_root_sprite(def.get_ptr());
    sprite->advance(1.0f / 30.0f);
    for (auto _ : state) {
        sprite->goto_frame(0);
        sprite->set_play_state(character::PLAY);
        for (int frame = 1; frame < kFrames; frame++) {
            sprite->advance(1.0f / 30.0f);
        }
    }
}
BENCHMARK(BM_Play500)->Unit(benchmark::kMicrosecond);

}  // namespace
