// The sprite's drawing canvas. A canvas is a shape, so these operations of sprite_instance are
// built with the shapes layer.
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/shapes/canvas.h"

namespace swfplayer {

canvas* sprite_instance::get_canvas() {
    if (m_canvas_child == nullptr) {
        player* owner = get_player();
        if (owner == nullptr) {
            return nullptr;
        }
        smart_ptr<canvas> def = new canvas(owner);
        m_canvas_child = def->create_character_instance(this, -1);
        if (m_canvas_child == nullptr) {
            return nullptr;
        }
    }
    if (!m_canvas_child->is_active()) {
        // New, or replaced by a clip a script placed at its depth: the drawing goes (back) on
        // top of the children present now.
        m_display_list.add_display_object(m_canvas_child.get_ptr(), m_display_list.get_highest_depth(), true,
                                          get_cxform(), get_matrix(), 0.0f, 0);
    }
    character_def* def = m_canvas_child->get_character_def();
    return def && def->is(AS_CANVAS) ? static_cast<canvas*>(def) : nullptr;
}

void sprite_instance::clear_canvas() {
    if (m_canvas_child == nullptr) {
        return;
    }
    smart_ptr<character> child = m_canvas_child;
    m_canvas_child = nullptr;
    m_display_list.remove_display_object(child.get_ptr());
}

void sprite_instance::copy_canvas_to(sprite_instance* clone) {
    if (m_canvas_child == nullptr) {
        return;
    }
    canvas* mine = get_canvas();
    canvas* theirs = clone->get_canvas();
    if (mine && theirs) {
        *theirs = *mine;
    }
}

}  // namespace swfplayer
