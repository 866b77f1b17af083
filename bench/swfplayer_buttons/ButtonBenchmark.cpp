// Buttons on the stage against plain characters of the same boxes, each pair in the same run (run
// with --benchmark_enable_random_interleaving and compare min and median):
// - the root's per-frame question "what is under the mouse" at 64 points over 200 buttons (each
//   with up, over, down and hit records), against the same over 200 boxes;
// - drawing the 200 buttons against drawing the 200 boxes.
// The difference is what buttons cost per frame; the target is a few microseconds.
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

constexpr int kCount = 200;
constexpr uint16_t kBox = 1, kButton = 2;
constexpr int kSpacing = 400;  // twips between neighbours on a 20-wide grid

// A box of 300 twips that draws one line strip and is hit inside its bounds.
class box_def : public character_def {
public:
    explicit box_def(player* owner) : character_def(owner) {}
    void display(character*) override { render::draw_line_strip(nullptr, 2); }
    bool point_test_local(float x, float y) const override { return rect(0, 300, 0, 300).point_test(x, y); }
    void get_bound(rect* r) const override { *r = rect(0, 300, 0, 300); }
};

// kCount placements of kButton (or of kBox when plain) on a grid.
std::vector<uint8_t> stage_movie(bool plain) {
    swfkit::Movie movie(8, {0, 8000, 0, 6000}, 30.0);
    swfkit::ButtonRecord state;
    state.characterId = kBox;
    std::vector<swfkit::ButtonRecord> records(4, state);
    records[0].up = records[1].over = records[2].down = records[3].hitTest = true;
    movie.Tags().DefineButton2(kButton, false, records, {{0x0008, {0x07, 0x00}}});
    for (int i = 0; i < kCount; i++) {
        swfkit::Placement p;
        p.depth = static_cast<uint16_t>(i + 1);
        p.characterId = plain ? kBox : kButton;
        p.matrix = swfkit::Matrix{1.0, 1.0, 0.0, 0.0, i % 20 * kSpacing, i / 20 * kSpacing};
        movie.Tags().PlaceObject2(p);
    }
    movie.Tags().ShowFrame();
    return movie.Write(false);
}

struct Stage {
    explicit Stage(bool plain) : previous_log(register_log_callback(nullptr)) {
        register_builtin_classes();
        owner = new player();
        root = new movie_root();
        owner->set_root(root.get_ptr());
        set_render_handler(&handler);
        const std::vector<uint8_t> bytes = stage_movie(plain);
        def = create_movie_definition(owner.get_ptr(),
                                      new base_file(memory_buffer, static_cast<int>(bytes.size()), bytes.data()));
        def->add_character(kBox, new box_def(owner.get_ptr()));
        sprite = new sprite_instance(owner.get_ptr(), def.get_ptr(), root.get_ptr(), nullptr, -1);
        root->set_root_movie(sprite.get_ptr());
        sprite->execute_frame_tags(0, false);
        sprite->advance(1.0f / 30.0f);
    }
    ~Stage() {
        set_render_handler(nullptr);
        register_log_callback(previous_log);
    }

    log_callback previous_log;
    smart_ptr<player> owner;
    smart_ptr<movie_root> root;
    testing_support::RecordingRenderHandler handler;
    smart_ptr<movie_def_impl> def;
    smart_ptr<sprite_instance> sprite;
};

void hit_test(benchmark::State& state, bool plain) {
    Stage stage(plain);
    for (auto _ : state) {
        for (int i = 0; i < 64; i++) {
            benchmark::DoNotOptimize(stage.sprite->get_topmost_mouse_entity(i * 127.0f, i * 61.0f));
        }
    }
}

void draw(benchmark::State& state, bool plain) {
    Stage stage(plain);
    for (auto _ : state) {
        stage.sprite->display();
        stage.handler.calls.clear();
    }
}

void BM_HitTestButtons(benchmark::State& state) {
    hit_test(state, false);
}
void BM_HitTestBoxes(benchmark::State& state) {
    hit_test(state, true);
}
void BM_DrawButtons(benchmark::State& state) {
    draw(state, false);
}
void BM_DrawBoxes(benchmark::State& state) {
    draw(state, true);
}
BENCHMARK(BM_HitTestButtons)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HitTestBoxes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawButtons)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawBoxes)->Unit(benchmark::kMicrosecond);

}  // namespace
