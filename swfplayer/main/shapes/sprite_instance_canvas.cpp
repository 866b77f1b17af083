// The sprite's drawing canvas. A canvas is a shape, so these operations of sprite_instance are
// built with the shapes layer.
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/shapes/canvas.h"

namespace swfplayer {

// The canvas child is made and placed once, above the children present then; from then on it
// keeps its depth like any child, so a child placed later above it draws over the drawing, and a
// clip that a script places at its depth displaces it for good. The sprite never removes it by
// itself; only a script's clear (drop_canvas) does.
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
        m_display_list.add_display_object(m_canvas_child.get_ptr(), m_display_list.get_highest_depth(), true,
                                          get_cxform(), get_matrix(), 0.0f, 0);
    }
    character_def* def = m_canvas_child->get_character_def();
    return def && def->is(AS_CANVAS) ? static_cast<canvas*>(def) : nullptr;
}

void sprite_instance::drop_canvas() {
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
