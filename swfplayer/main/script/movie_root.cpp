#include "swfplayer/main/script/movie_root.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/script/event_id.h"
#include "swfplayer/main/script/key_input.h"

#include <cassert>

namespace swfplayer {

void movie_root::get_mouse_state(int* x, int* y, int* buttons) const {
    assert(x);
    assert(y);
    assert(buttons);
    *x = m_mouse_x;
    *y = m_mouse_y;
    *buttons = m_mouse_buttons;
}

void movie_root::notify_mouse_state(int x, int y, int buttons) {
    m_mouse_x = x;
    m_mouse_y = y;
    m_mouse_buttons = buttons;
}

void movie_root::set_drag_character(as_object* ch) {
    assert(ch);
    m_drag_state.m_character = ch;
    m_drag_state.m_lock_center = true;
    m_drag_state.m_bound = false;
}

void movie_root::set_current_focus(as_object* object) {
    if (m_current_focus == object) {
        return;
    }
    // A focus change made by the old holder's onKillFocus sends it no second kill-focus; the
    // change asked for here comes last.
    smart_ptr<as_object> old_focus = m_current_focus;
    if (old_focus && !m_killing_focus) {
        m_killing_focus = true;
        old_focus->on_event(event_id(event_id::KILLFOCUS));
        m_killing_focus = false;
    }
    m_current_focus = object;
}

void movie_root::notify_key_event(player* owner, int key_code, bool down) {
    if (key_input* keys = find_key_input(owner)) {
        if (down) {
            keys->set_key_down(key_code);
        } else {
            keys->set_key_up(key_code);
        }
    } else {
        log_error("swfplayer::notify_key_event(): no Key built-in\n");
    }
    if (down) {
        m_keypress_listener.notify(event_id(event_id::KEY_PRESS, static_cast<uint8_t>(key_code)));
    }
}

void movie_root::forget_movie_state() {
    m_keypress_listener.clear();
    m_current_focus = nullptr;
    m_drag_state = drag_state();
}

}  // namespace swfplayer
