#include "swfplayer/base/log.h"
#include "swfplayer/main/display/character_def.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/display/swf_event.h"

namespace swfplayer {

void sprite_instance::remove_display_object(const base_string& name) {
    if (character* ch = m_display_list.get_character_by_name(name)) {
        m_display_list.remove_display_object(ch->get_depth(), ch->get_id());
    }
}

character* sprite_instance::add_display_object(uint16_t character_id, const base_string& name,
                                               const array<swf_event*>& event_handlers, int depth,
                                               bool replace_if_depth_is_occupied, const cxform& color_transform,
                                               const matrix& mat, float ratio, uint16_t clip_depth) {
    character_def* def = m_def->get_character_def(character_id);
    if (def == nullptr) {
        log_error("sprite::add_display_object(): unknown cid = %d\n", character_id);
        return nullptr;
    }
    character* existing = m_display_list.get_character_at_depth(depth);
    if (existing && existing->get_id() == character_id && existing->get_name() == name) {
        move_display_object(depth, true, color_transform, true, mat, ratio, clip_depth);
        return nullptr;
    }
    return place_new_child(def, character_id, name, event_handlers, depth, replace_if_depth_is_occupied,
                           color_transform, mat, ratio, clip_depth);
}

character* sprite_instance::place_new_child(character_def* def, uint16_t character_id, const base_string& name,
                                            const array<swf_event*>& event_handlers, int depth,
                                            bool replace_if_depth_is_occupied, const cxform& color_transform,
                                            const matrix& mat, float ratio, uint16_t clip_depth) {
    if (!may_add_child("add_display_object")) {
        return nullptr;
    }
    smart_ptr<character> ch = def->create_character_instance(this, character_id);
    if (ch == nullptr) {
        return nullptr;
    }
    ch->set_name(name);
    ch->set_place_key(m_executing_place_key);
    for (const swf_event* handler : event_handlers) {
        ch->set_member(handler->m_event.handler_name(), handler->m_method);
    }
    m_display_list.add_display_object(ch.get_ptr(), depth, replace_if_depth_is_occupied, color_transform, mat, ratio,
                                      clip_depth);
    ch->on_event(event_id(event_id::CONSTRUCT));
    return ch.get_ptr();
}

void sprite_instance::move_display_object(int depth, bool use_cxform, const cxform& color_transform, bool use_matrix,
                                          const matrix& mat, float ratio, uint16_t clip_depth) {
    m_display_list.move_display_object(depth, use_cxform, color_transform, use_matrix, mat, ratio, clip_depth);
}

void sprite_instance::replace_display_object(character* ch, const base_string& name, int depth, bool use_cxform,
                                             const cxform& color_transform, bool use_matrix, const matrix& mat,
                                             float ratio, uint16_t clip_depth) {
    if (ch == nullptr) {
        return;
    }
    if (name.size() > 0) {
        ch->set_name(name);
    }
    m_display_list.replace_display_object(ch, depth, use_cxform, color_transform, use_matrix, mat, ratio, clip_depth);
}

void sprite_instance::replace_display_object(uint16_t character_id, const base_string& name, int depth, bool use_cxform,
                                             const cxform& color_transform, bool use_matrix, const matrix& mat,
                                             float ratio, uint16_t clip_depth) {
    character_def* def = m_def->get_character_def(character_id);
    if (def == nullptr) {
        log_error("sprite::replace_display_object(): unknown cid = %d\n", character_id);
        return;
    }
    if (!may_add_child("replace_display_object")) {
        return;
    }
    smart_ptr<character> ch = def->create_character_instance(this, character_id);
    if (ch == nullptr) {
        return;
    }
    ch->set_place_key(m_executing_place_key);
    replace_display_object(ch.get_ptr(), name, depth, use_cxform, color_transform, use_matrix, mat, ratio, clip_depth);
}

}  // namespace swfplayer
