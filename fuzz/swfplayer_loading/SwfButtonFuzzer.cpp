// Loads arbitrary bytes as a movie, shows its first frame and works every character on the stage
// as a mouse would work a button: every mouse event in turn, key presses, hit tests across the
// stage, bounds, drawing and frame steps. Button actions run in between and may remove buttons
// or jump the timeline; nothing may crash or hang.
#include "fuzz/MovieStage.h"
#include "swfplayer/main/common/rect.h"
#include "swfplayer/main/script/event_id.h"

#include <cstdint>
#include <vector>

namespace {

using namespace swfplayer;

// Events in the order a pointer crossing a button sends them, then key presses of a special
// key, a letter and a code no condition names.
const event_id events[] = {
    event_id(event_id::ROLL_OVER),     event_id(event_id::PRESS),           event_id(event_id::DRAG_OUT),
    event_id(event_id::DRAG_OVER),     event_id(event_id::RELEASE),         event_id(event_id::PRESS),
    event_id(event_id::DRAG_OUT),      event_id(event_id::RELEASE_OUTSIDE), event_id(event_id::ROLL_OUT),
    event_id(event_id::KEY_PRESS, 37), event_id(event_id::KEY_PRESS, 65),   event_id(event_id::KEY_PRESS, 0),
};

void work(sprite_instance* sprite) {
    std::vector<smart_ptr<character>> stage;
    for (int i = 0; i < sprite->get_display_list().size(); i++) {
        stage.push_back(sprite->get_display_list().get_character(i));
    }
    for (const smart_ptr<character>& ch : stage) {
        for (const event_id& e : events) {
            ch->on_event(e);
            rect bound;
            ch->get_bound(&bound);
            for (float x = -1000.0f; x < 12000.0f; x += 1500.0f) {
                sprite->get_topmost_mouse_entity(x, x * 0.7f);
            }
            sprite->display();
        }
        ch->advance(0.1f);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16) {
        return 0;
    }
    fuzz_support::play_movie(data, size, [](sprite_instance* sprite, testing_support::RecordingRenderHandler*) {
        sprite->advance(0.1f);
        work(sprite);
    });
    return 0;
}
