#include "swfplayer/main/player/precompute.h"

#include "swfplayer/base/base_timer.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/player/frame_scope.h"
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/render/render_handler.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/sound/sound_handler.h"

#include <cassert>
#include <cmath>

namespace swfplayer {

namespace {

// Takes the render handler, the sound handler and the FSCommand callback away for its
// lifetime, and gives them back however the run ends.
class quiet_host {
public:
    quiet_host() : m_render(get_render_handler()), m_sound(get_sound_handler()), m_fscommand(get_fscommand_callback()) {
        set_render_handler(nullptr);
        set_sound_handler(nullptr);
        register_fscommand_callback(nullptr);
    }
    ~quiet_host() {
        set_render_handler(m_render);
        set_sound_handler(m_sound);
        register_fscommand_callback(m_fscommand);
    }
    quiet_host(const quiet_host&) = delete;
    quiet_host& operator=(const quiet_host&) = delete;

private:
    render_handler* m_render;
    sound_handler* m_sound;
    fscommand_callback m_fscommand;
};

constexpr float step_seconds = 0.01f;
constexpr int max_kicks = 10;

}  // namespace

void precompute_cached_data(movie_def_impl* def) {
    assert(def);
    quiet_host quiet;
    // All the steps are one frame for the movie's scripts, so interval timers and frame
    // scripts share one budget and one allowance of network waits however many steps run (the
    // outer frame's, when a script loads the movie).
    const frame_scope frame;
    const uint64_t start = base_timer::get_ticks();
    // The throw-away instance plays in a player of its own, so that nothing its scripts do
    // (globals, interval timers, the player's root) is left behind for the movie's real run.
    smart_ptr<player> sandbox = new player();
    smart_ptr<root> m = create_instance(def, sandbox.get_ptr());
    if (m == nullptr) {
        log_error("error: precompute_cached_data can't create instance of movie\n");
        return;
    }
    int last_frame = m->get_current_frame();
    int kick_count = 0;
    m->advance(step_seconds);
    m->display();
    if (!std::isfinite(m->get_frame_time())) {
        // A frame rate of 0: the clock never ticks, so no other frame is ever shown.
        return;
    }
    const int final_frame = def->get_frame_count() - 1;
    for (int steps = 0; m->get_current_frame() != final_frame; steps++) {
        if (m->get_replacement()) {
            // The movie loaded another in its place: its own remaining frames are never shown.
            break;
        }
        if (steps >= max_precompute_steps) {
            log_error("error: precompute_cached_data: frame %d not reached after %d steps; stopping\n", final_frame,
                      max_precompute_steps);
            break;
        }
        if (base_timer::get_ticks() - start >= max_precompute_milliseconds) {
            log_error("error: precompute_cached_data: frame %d not reached after %d ms; stopping\n", final_frame,
                      max_precompute_milliseconds);
            break;
        }
        if (m->get_play_state() == character::STOP) {
            m->goto_frame(last_frame + 1);
            m->set_play_state(character::PLAY);
            kick_count++;
            if (kick_count > max_kicks) {
                break;
            }
        } else if (m->get_current_frame() < last_frame) {
            log_error("loop back; jumping to frame %d\n", last_frame);
            m->goto_frame(last_frame + 1);
        } else {
            kick_count = 0;
        }
        last_frame = m->get_current_frame();
        m->advance(step_seconds);
        m->display();
    }
}

}  // namespace swfplayer
