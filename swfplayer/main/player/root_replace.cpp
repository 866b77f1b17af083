// A movie loaded into the root movie: the new root it makes and the retirement of the old one.
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/player/root.h"
#include "swfplayer/main/script/player.h"

namespace swfplayer {

bool root::request_replacement(movie_definition* def) {
    if (def == nullptr || !def->is(AS_MOVIE_DEF) || m_replacement) {
        return false;
    }
    m_requested = static_cast<movie_def_impl*>(def);
    return true;
}

void root::replace_if_requested() {
    smart_ptr<movie_def_impl> def = std::move(m_requested);
    smart_ptr<player> owner = m_player.get_ptr();
    if (def == nullptr || owner == nullptr) {
        return;
    }
    // The old movie's timers and listeners go first, so the new movie's first frame, which
    // runs as its root is made, starts without them.
    const bool button_held = m_mouse_down_last;
    retire();
    smart_ptr<root> next = create_instance(def.get_ptr(), owner.get_ptr());
    if (next == nullptr) {
        return;
    }
    // Where the host shows the movie and what its mouse does belong to the stage, not to the
    // movie on it.
    next->set_display_viewport(m_viewport_x0, m_viewport_y0, m_viewport_width, m_viewport_height);
    next->set_background_alpha(get_background_alpha());
    int x = 0;
    int y = 0;
    int buttons = 0;
    get_mouse_state(&x, &y, &buttons);
    next->notify_mouse_state(x, y, buttons);
    // A button still held from the old movie is not a press in the new one.
    next->m_mouse_down_last = button_held;
    m_replacement = next;
}

void root::retire() {
    if (player* owner = m_player.get_ptr()) {
        owner->clear_frame_objects();
    }
    forget_movie_state();
    m_active_entity = nullptr;
    m_topmost_entity = nullptr;
    m_mouse_down_last = false;
    m_mouse_inside = false;
}

}  // namespace swfplayer
