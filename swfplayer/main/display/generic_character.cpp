#include "swfplayer/main/display/generic_character.h"

#include "swfplayer/main/common/point.h"

#include <cassert>

namespace swfplayer {

generic_character::generic_character(player* owner, character_def* def, character* parent, int id)
    : character(owner, parent, id), m_def(def) {
    assert(def);
}

void generic_character::display() {
    if (!get_visible() || !is_displayable()) {
        return;
    }
    m_def->display(this);
    do_display_callback();
}

character* generic_character::get_topmost_mouse_entity(float x, float y) {
    if (!get_visible()) {
        return nullptr;
    }
    point local;
    get_matrix().transform_by_inverse(&local, point(x, y));
    return m_def->point_test_local(local.x, local.y) ? this : nullptr;
}

}  // namespace swfplayer
