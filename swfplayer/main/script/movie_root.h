#pragma once

#include "swfplayer/base/smart_ptr.h"

namespace swfplayer {

class as_object;

// The drag record of a movie: the character that follows the mouse, whether it follows it at
// all (lock), and the rectangle (twips) that bounds its position when bounded is set.
struct drag_state {
    weak_ptr<as_object> m_character;
    bool m_lock_center = false;
    bool m_bound = false;
    float m_bound_x0 = 0.0f;
    float m_bound_y0 = 0.0f;
    float m_bound_x1 = 1.0f;
    float m_bound_y1 = 1.0f;
};

}  // namespace swfplayer
