// Loads arbitrary bytes as a movie and plays it: frames advance and loop, the timeline jumps to
// its last frame, back to the first and to the middle, and every frame is drawn. Nothing may
// crash or hang, every list stays sorted by depth, and every mask submitted is disabled again.
#include "fuzz/MovieStage.h"

#include <cstdint>
#include <cstdlib>

namespace {

using namespace swfplayer;

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Depth order holds in the clip and in every clip below it.
void check_sorted(sprite_instance* sprite, int nesting) {
    check(nesting <= sprite_instance::max_nesting + 1);
    display_list& list = sprite->get_display_list();
    for (int i = 0; i < list.size(); i++) {
        character* ch = list.get_character(i);
        check(i == 0 || list.get_character(i - 1)->get_depth() <= ch->get_depth());
        if (sprite_instance* child = cast_to_sprite_instance(ch)) {
            check_sorted(child, nesting + 1);
        }
    }
}

void draw(sprite_instance* sprite, testing_support::RecordingRenderHandler* handler) {
    sprite->display();
    check(handler->mask_level == 0);
    handler->calls.clear();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16) {
        return 0;
    }
    fuzz_support::play_movie(data, size, [](sprite_instance* sprite, testing_support::RecordingRenderHandler* handler) {
        int last = sprite->get_frame_count() - 1;
        for (int step = 0; step < 12; step++) {
            sprite->advance(0.1f);
            draw(sprite, handler);
        }
        for (int target : {last, 0, last / 2, last}) {
            sprite->goto_frame(target);
            check(sprite->get_current_frame() == target);
            check_sorted(sprite, 0);
            draw(sprite, handler);
        }
        sprite->clear_display_objects();
        check(sprite->get_display_list().size() == 0);
    });
    return 0;
}
