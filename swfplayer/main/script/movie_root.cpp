#include "swfplayer/main/script/movie_root.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/script/event_id.h"
#include "swfplayer/main/script/key_input.h"

#include <algorithm>
#include <cassert>

namespace swfplayer {

namespace {

bool has_left_stage(const as_object* object) {
    return object && object->has_left_stage();
}

}  // namespace

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
    // The holders this change has sent kill-focus to. Each hears it once: when a handler focuses
    // one of them again, that one keeps the focus and the change yields, so that handlers which
    // always refocus come to an end.
    std::vector<smart_ptr<as_object>> left;
    for (;;) {
        smart_ptr<as_object> holder = m_current_focus;
        if (holder == object || has_left_stage(object)) {
            return;
        }
        if (!holder || is_losing_focus(holder.get_ptr())) {
            // A change made while the holder hears kill-focus sends it no second one: the holder
            // lets the focus go when its kill-focus ends.
            name_holder(object);
            return;
        }
        if (std::find(left.begin(), left.end(), holder) != left.end()) {
            return;
        }
        left.push_back(holder);
        m_losing_focus.push_back(holder.get_ptr());
        holder->on_event(event_id(event_id::KILLFOCUS));
        m_losing_focus.pop_back();
        if (m_current_focus == holder) {
            // The holder lets the focus go, to nobody when a handler took object off the stage.
            name_holder(has_left_stage(object) ? nullptr : object);
            return;
        }
        // A handler gave the focus to another object while the holder heard kill-focus: this
        // change comes later, so that object loses the focus in its turn.
    }
}

void movie_root::send_last_kill_focus(as_object* object) {
    if (is_losing_focus(object)) {
        return;
    }
    m_losing_focus.push_back(object);
    object->on_event(event_id(event_id::KILLFOCUS));
    m_losing_focus.pop_back();
    if (m_current_focus == object) {
        name_holder(nullptr);
    }
}

void movie_root::name_holder(as_object* object) {
    if (m_current_focus != object) {
        m_current_focus = object;
        m_focus_changes++;
    }
}

bool movie_root::is_losing_focus(const as_object* object) const {
    return std::find(m_losing_focus.begin(), m_losing_focus.end(), object) != m_losing_focus.end();
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
