#include "swfplayer/main/display/character.h"

#include "swfplayer/base/log.h"

namespace swfplayer {

character::character(player* owner, character* parent, int id) : as_object(owner), m_id(id), m_parent(parent) {}

character::~character() = default;

execute_tag* character::find_previous_place_tag(int, int, int) {
    return nullptr;
}

void character::remove_display_object(int, int) {}

character* character::add_display_object(uint16_t, const base_string&, const array<swf_event*>&, int, bool,
                                         const cxform&, const matrix&, float, uint16_t) {
    return nullptr;
}

void character::move_display_object(int, bool, const cxform&, bool, const matrix&, float, uint16_t) {}

void character::replace_display_object(uint16_t, const base_string&, int, bool, const cxform&, bool, const matrix&,
                                       float, uint16_t) {}

void character::add_action_buffer(action_buffer*) {
    // Frame actions reach only sprites; anything else that is handed some drops them.
    log_error("character::add_action_buffer: actions ignored by a character that is not a sprite\n");
}

void character::set_background_color(const rgba&) {}

}  // namespace swfplayer
