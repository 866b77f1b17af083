#include "swfplayer/main/player/root.h"
#include "swfplayer/main/render/render_handler.h"
#include "swfplayer/main/script/event_id.h"

namespace swfplayer {

namespace {

void send(character* ch, uint8_t id) {
    if (ch) {
        ch->on_event(event_id(id));
    }
}

}  // namespace

// The button protocol: the active entity takes the events; while the button is held it stays
// active and hears drag out / drag over as the mouse leaves and re-enters it, and release or
// release outside when the button comes up. With the button up, the entity under the mouse
// becomes the active one (roll out, roll over), and a press gives it the focus and the press.
void root::update_mouse_buttons() {
    // Handlers may remove the entities from the stage; these keep them alive meanwhile.
    smart_ptr<character> active = m_active_entity;
    smart_ptr<character> topmost = m_topmost_entity;
    render::set_cursor(active && active->can_handle_mouse_event());
    if (m_mouse_down_last) {
        if (m_mouse_inside && topmost != active) {
            send(active.get_ptr(), event_id::DRAG_OUT);
            m_mouse_inside = false;
        } else if (!m_mouse_inside && topmost == active) {
            send(active.get_ptr(), event_id::DRAG_OVER);
            m_mouse_inside = true;
        }
        if (!m_mouse_down_now) {
            m_mouse_down_last = false;
            send(active.get_ptr(), m_mouse_inside ? event_id::RELEASE : event_id::RELEASE_OUTSIDE);
        }
    }
    if (!m_mouse_down_last) {
        if (topmost != active) {
            send(active.get_ptr(), event_id::ROLL_OUT);
            active = topmost;
            send(active.get_ptr(), event_id::ROLL_OVER);
            m_mouse_inside = true;
        }
        if (m_mouse_down_now) {
            if (get_current_focus() != active) {
                // The old focus hears the kill-focus event as the focus leaves it (a holder that
                // its handlers focus again keeps it). An entity that takes the set-focus event
                // becomes the focus when nobody holds it, unless the event's handlers moved the
                // focus themselves (a field names itself, and its onSetFocus may move on, to an
                // object that may leave the stage). An entity that a handler took off the stage
                // hears no set-focus.
                set_current_focus(nullptr);
                const unsigned changes = get_focus_changes();
                if (active && !active->has_left_stage() && active->on_event(event_id(event_id::SETFOCUS)) &&
                    !get_current_focus() && get_focus_changes() == changes) {
                    set_current_focus(active.get_ptr());
                }
            }
            send(active.get_ptr(), event_id::PRESS);
            m_mouse_inside = true;
            m_mouse_down_last = true;
        }
    }
    m_active_entity = active;
    m_topmost_entity = topmost;
}

}  // namespace swfplayer
