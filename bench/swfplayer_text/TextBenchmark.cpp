// The text field's hot paths, against each other in the same run (run with
// --benchmark_enable_random_interleaving and compare min and median): laying out a 300-pixel
// field of a 240-character paragraph in the game's font (what every text change costs), against
// drawing that field once more without a renderer (what every frame costs; glyph meshes cached).
#include "swfplayer/base/base_file.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/shapes/shape_loaders.h"
#include "swfplayer/main/text/edit_text_character.h"
#include "swfplayer/main/text/text_loaders.h"
#include "tools/swfkit/FontBuilder.h"
#include "tools/swfkit/Movie.h"
#include "tools/swfkit/TextWriter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace swfplayer;

const char* const kParagraph =
    "Player one takes the ball, player two wants it back. Five seconds left on the clock, the "
    "crowd holds its breath: who scores the last point wins the championship cup and the "
    "golden medal, and who loses plays again tomorrow at nine in the morning.";

void quiet(bool, const char*) {}

// A player, a movie holding the game font and a 300 by 200 pixel field, and an instance of it.
struct Fixture {
    Fixture() {
        register_log_callback(quiet);
        register_shape_loaders();
        register_text_loaders();
        owner = new player();
        swfkit::EmbeddedFont font;
        if (!swfkit::LoadTrueTypeFont(BENCH_FONT, kParagraph, &font)) {
            std::abort();
        }
        swfkit::EditText field;
        field.id = 2;
        field.bounds = {0, 6000, 0, 4000};
        field.fontId = 1;
        field.height = 300;
        field.layout = swfkit::EditText::Layout{2, 40, 40, 0, 0};
        swfkit::Movie movie(8, {0, 8000, 0, 6000}, 30.0);
        movie.Tags().Tag(tag_define_font2, swfkit::DefineFont2Body(1, font, false, false, true));
        movie.Tags().Tag(tag_define_edit_text, swfkit::DefineEditTextBody(field));
        movie.Tags().ShowFrame();
        bytes = movie.Write(false);
        def = create_movie_definition(owner.get_ptr(),
                                      new base_file(memory_buffer, static_cast<int>(bytes.size()), bytes.data()));
        if (!def) {
            std::abort();
        }
        instance = static_cast<edit_text_character*>(def->get_character_def(2)->create_character_instance(nullptr, 2));
        texts[0] = kParagraph;
        texts[1] = std::string(kParagraph) + ".";
        instance->set_text(texts[0].c_str());
        instance->display();  // builds the glyph meshes once
    }

    smart_ptr<player> owner;
    std::vector<uint8_t> bytes;
    smart_ptr<movie_def_impl> def;
    smart_ptr<edit_text_character> instance;
    std::string texts[2];
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void BM_field_layout(benchmark::State& state) {
    Fixture& f = Shared();
    int which = 0;
    for (auto _ : state) {
        which ^= 1;
        f.instance->set_text(f.texts[which].c_str());
        benchmark::DoNotOptimize(f.instance->get_records().size());
    }
}
BENCHMARK(BM_field_layout)->Repetitions(10)->ComputeStatistics("min", [](const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
});

void BM_field_display(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        f.instance->display();
    }
}
BENCHMARK(BM_field_display)->Repetitions(10)->ComputeStatistics("min", [](const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
});

}  // namespace

BENCHMARK_MAIN();
