// Runs arbitrary bytes as the constructor body of a fixed, valid block: a movie with the block
// and SymbolClass 0 "Main" is played for two frames on a sprite, under a small instruction
// budget. The constructor may call itself (its trait "f"), trace and stop the clip; whatever it
// does, the call depth is back at 0 afterwards.
#include "fuzz/MovieStage.h"
#include "swfplayer/main/as3/as3_loaders.h"
#include "swfplayer/main/script/instruction_budget.h"
#include "tests/swfplayer/main/as3/AbcBuilder.h"
#include "tools/swfkit/Movie.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace swfplayer;
    if (size > 1 << 16) {
        return 0;
    }
    abc_testing::AbcBuilder abc = abc_testing::MainClass(swfkit::Bytes(data, data + size), {{2, 1, 1, 0, 0, 0}});
    for (const char* name : {"f", "v", "trace", "stop", "flash", "Events"}) {
        abc.QName(name);
    }
    abc.integers = {-1, 1 << 30};
    abc.doubles = {0.5};
    abc.bodies[0].localCount = 3;
    swfkit::Movie movie(9, {0, 2000, 0, 2000}, 12.0);
    movie.Tags().DoABC(0, "fuzz", abc.Build()).SymbolClass({{0, "Main"}}).ShowFrame().ShowFrame();
    swfkit::Bytes file = movie.Write(false);
    register_as3_loaders();
    instruction_budget::set_budget(100000);
    fuzz_support::play_movie(file.data(), file.size(), [](sprite_instance* sprite, auto*) {
        sprite->advance(0.0f);
        sprite->advance(1.0f);
        if (sprite->get_player()->call_depth() != 0) {
            __builtin_trap();
        }
    });
    return 0;
}
