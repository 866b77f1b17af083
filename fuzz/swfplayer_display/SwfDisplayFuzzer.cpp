// Loads arbitrary bytes as a movie and plays it: frames advance and loop, the timeline jumps to
// its last frame, back to the first and to the middle, and every frame is drawn. Nothing may
// crash or hang, every list stays sorted by depth, and every mask submitted is disabled again.
#include "swfplayer/base/base_file.h"
#include "swfplayer/base/log.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/render/render_handler.h"
#include "swfplayer/main/script/movie_root.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/swfplayer_as_classes/builtin_classes.h"
#include "tests/swfplayer/main/render/RecordingRenderHandler.h"

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
    log_callback previous = register_log_callback(nullptr);
    {
        static smart_ptr<player> owner = (register_builtin_classes(), new player());
        testing_support::RecordingRenderHandler handler;
        set_render_handler(&handler);
        smart_ptr<movie_root> root = new movie_root();
        owner->set_root(root.get_ptr());
        auto* file = new base_file(memory_buffer, static_cast<int>(size), data);
        smart_ptr<movie_def_impl> movie = create_movie_definition(owner.get_ptr(), file);
        if (movie) {
            smart_ptr<sprite_instance> sprite =
                new sprite_instance(owner.get_ptr(), movie.get_ptr(), root.get_ptr(), nullptr, -1);
            root->set_root_movie(sprite.get_ptr());
            sprite->execute_frame_tags(0, false);
            int last = sprite->get_frame_count() - 1;
            for (int step = 0; step < 12; step++) {
                sprite->advance(0.1f);
                draw(sprite.get_ptr(), &handler);
            }
            for (int target : {last, 0, last / 2, last}) {
                sprite->goto_frame(target);
                check(sprite->get_current_frame() == target);
                check_sorted(sprite.get_ptr(), 0);
                draw(sprite.get_ptr(), &handler);
            }
            sprite->clear_display_objects();
            check(sprite->get_display_list().size() == 0);
            // The next input starts from an empty heap.
            owner->set_all_heap_flags();
            owner->sweep_heap();
        }
        set_render_handler(nullptr);
    }
    register_log_callback(previous);
    return 0;
}
