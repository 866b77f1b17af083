#pragma once

// The stage of the fuzz targets that play movies: arbitrary bytes loaded as a movie into one
// long-lived player, a root sprite with its first frame's tags run, a recording render handler
// and a sound handler installed, and afterwards an empty stage and a swept heap, so every input
// starts from nothing. Everything one input plays is one frame of script with a small budget, and
// the stage holds far fewer characters than a player may, so that scripts that never end and
// clips that multiply cost an input little time.

#include "swfplayer/base/base_file.h"
#include "swfplayer/base/log.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/render/render_handler.h"
#include "swfplayer/main/script/instruction_budget.h"
#include "swfplayer/main/script/movie_root.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/sound/sound_handler.h"
#include "swfplayer/main/swfplayer_as_classes/builtin_classes.h"
#include "tests/swfplayer/main/render/RecordingRenderHandler.h"
#include "tests/swfplayer/main/sound/RecordingSoundHandler.h"

#include <cstddef>
#include <cstdint>

namespace fuzz_support {

// Characters one input may make: the player's own limit, less the room the stage takes away.
constexpr int kStageCharacters = 500;

// Calls play(sprite, handler) when the bytes load as a movie; the player's log is swallowed.
template <class Play>
void play_movie(const uint8_t* data, size_t size, Play play) {
    using namespace swfplayer;
    log_callback previous = register_log_callback(nullptr);
    {
        static smart_ptr<player> owner =
            (register_builtin_classes(), instruction_budget::set_budget(20000), new player());
        testing_support::RecordingRenderHandler handler;
        set_render_handler(&handler);
        sound_test::RecordingSoundHandler sounds;
        set_sound_handler(&sounds);
        instruction_budget::run_scope frame;
        // The player counts the characters alive against its limit: counting more makes it stop sooner.
        const int taken_room = sprite_instance::max_characters - kStageCharacters;
        owner->nesting().m_characters += taken_room;
        smart_ptr<movie_root> root = new movie_root();
        owner->set_root(root.get_ptr());
        auto* file = new base_file(memory_buffer, static_cast<int>(size), data);
        smart_ptr<movie_def_impl> movie = create_movie_definition(owner.get_ptr(), file);
        if (movie) {
            smart_ptr<sprite_instance> sprite =
                new sprite_instance(owner.get_ptr(), movie.get_ptr(), root.get_ptr(), nullptr, -1);
            root->set_root_movie(sprite.get_ptr());
            sprite->execute_frame_tags(0, false);
            play(sprite.get_ptr(), &handler);
            sprite->clear_display_objects();
            owner->set_all_heap_flags();
            owner->sweep_heap();
        }
        owner->nesting().m_characters -= taken_room;
        set_render_handler(nullptr);
        set_sound_handler(nullptr);
    }
    register_log_callback(previous);
}

}  // namespace fuzz_support
