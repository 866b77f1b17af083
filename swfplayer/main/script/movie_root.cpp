#include "swfplayer/main/script/movie_root.h"

#include "swfplayer/main/script/as_object.h"

#include <cassert>

namespace swfplayer {

void movie_root::get_mouse_state(int* x, int* y, int* buttons) const {
    assert(x && y && buttons);
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

}  // namespace swfplayer
