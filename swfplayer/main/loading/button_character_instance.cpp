#include "swfplayer/main/loading/button_character_instance.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/point.h"
#include "swfplayer/main/common/rect.h"
#include "swfplayer/main/display/movie_definition.h"
#include "swfplayer/main/script/event_id.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/sound/sound_handler.h"

#include <cassert>
#include <cfloat>

namespace swfplayer {

namespace {

int ancestor_count(const character* ch, int limit) {
    int count = 0;
    for (character* p = ch->get_parent(); p && count <= limit; p = p->get_parent()) {
        count++;
    }
    return count;
}

// Whether def is the definition of ch or of one of its ancestors: an instance of it under ch
// would build ch's branch again, without end.
bool builds_itself(character* ch, const character_def* def) {
    for (character* p = ch; p; p = p->get_parent()) {
        if (p->get_character_def() == def) {
            return true;
        }
    }
    return false;
}

// Children built for records while the outermost button under construction is built, those of
// the buttons nested in it included; a file whose buttons hold many buttons holding many more
// would otherwise build exponentially many.
int s_construction_depth = 0;
int s_children_built = 0;

// Counts the buttons under construction, so the outermost one starts the children count anew.
struct construction_scope {
    construction_scope() {
        if (s_construction_depth++ == 0) {
            s_children_built = 0;
        }
    }
    ~construction_scope() { s_construction_depth--; }
    construction_scope(const construction_scope&) = delete;
    construction_scope& operator=(const construction_scope&) = delete;
};

// The mouse state an event leaves the button in; -1 for events that keep it.
int state_after(uint8_t event) {
    switch (event) {
    case event_id::PRESS:
    case event_id::DRAG_OVER: return button_character_instance::DOWN;
    case event_id::RELEASE:
    case event_id::ROLL_OVER:
    case event_id::DRAG_OUT: return button_character_instance::OVER;
    case event_id::RELEASE_OUTSIDE:
    case event_id::ROLL_OUT: return button_character_instance::UP;
    default: return -1;
    }
}

// The condition bit a mouse event raises; 0 for the others.
int condition_of(uint8_t event) {
    switch (event) {
    case event_id::ROLL_OVER: return button_action::condition_roll_over;
    case event_id::ROLL_OUT: return button_action::condition_roll_out;
    case event_id::PRESS: return button_action::condition_press;
    case event_id::RELEASE: return button_action::condition_release;
    case event_id::DRAG_OUT: return button_action::condition_drag_out;
    case event_id::DRAG_OVER: return button_action::condition_drag_over;
    case event_id::RELEASE_OUTSIDE: return button_action::condition_release_outside;
    default: return 0;
    }
}

// The sound entry of a mouse event; -1 for events without a sound.
int sound_of(uint8_t event) {
    switch (event) {
    case event_id::PRESS: return button_sound_block::press;
    case event_id::RELEASE: return button_sound_block::release;
    case event_id::ROLL_OVER: return button_sound_block::roll_over;
    case event_id::ROLL_OUT: return button_sound_block::roll_out;
    default: return -1;
    }
}

}  // namespace

button_character_instance::button_character_instance(player* owner, button_character_definition* def, character* parent,
                                                     int id)
    : character(owner, parent, id), m_def(def) {
    assert(m_def != nullptr);
    m_record_character.resize(m_def->m_button_records.size());
    if (ancestor_count(this, max_nesting) >= max_nesting) {
        log_error("button_character_instance: buttons nested deeper than %d; children not built\n", max_nesting);
        return;
    }
    movie_definition* movie_def = get_movie_definition();
    if (!movie_def) {
        log_error("button_character_instance: button %d has no movie definition; children not built\n", id);
        return;
    }
    construction_scope scope;
    for (size_t i = 0; i < m_record_character.size(); i++) {
        button_record& record = m_def->m_button_records[i];
        if (record.m_character_def.get_ptr() == nullptr) {
            record.m_character_def = movie_def->get_character_def(record.m_character_id);
        }
        character_def* child_def = record.m_character_def.get_ptr();
        if (!child_def) {
            log_error("button_character_instance: button %d names character %d, which is not defined\n", id,
                      record.m_character_id);
            continue;
        }
        if (builds_itself(this, child_def)) {
            log_error("button_character_instance: button %d contains itself through character %d; record skipped\n", id,
                      record.m_character_id);
            continue;
        }
        if (s_children_built >= max_children_built) {
            log_error("button_character_instance: more than %d children for one button; the rest are not built\n",
                      max_children_built);
            return;
        }
        s_children_built++;
        smart_ptr<character> child = child_def->create_character_instance(this, id);
        child->set_matrix(record.m_matrix);
        child->set_cxform(record.m_color_transform);
        m_record_character[i] = child;
    }
}

button_character_instance::~button_character_instance() = default;

character* button_character_instance::shown_child(size_t i) const {
    return m_def->m_button_records[i].shows_in(m_mouse_state) ? m_record_character[i].get_ptr() : nullptr;
}

bool button_character_instance::on_event(const event_id& id) {
    // The event's actions may remove this button from its parent: both stay alive until the end.
    smart_ptr<character> parent = get_parent();
    if (!parent) {
        return false;
    }
    smart_ptr<button_character_instance> hold(this);
    const bool key_press = id.m_id == event_id::KEY_PRESS;
    const int state = state_after(id.m_id);
    if (state < 0 && !key_press) {
        return false;
    }
    if (!key_press) {
        m_mouse_state = state;
    }
    bool ran = false;
    if (key_press) {
        for (const button_action& action : m_def->m_button_actions) {
            if (action.get_key_code() != 0 && action.get_key_code() == id.m_key_code) {
                run(parent.get_ptr(), action);
                ran = true;
            }
        }
    }
    play_sound(id);
    const int condition = condition_of(id.m_id);
    for (const button_action& action : m_def->m_button_actions) {
        if ((action.m_conditions & condition) != 0) {
            run(parent.get_ptr(), action);
            ran = true;
        }
    }
    return ran;
}

void button_character_instance::run(character* parent, const button_action& action) {
    array<action_buffer*> buffers;
    for (const std::unique_ptr<action_buffer>& buffer : action.m_buffers) {
        buffers.push_back(buffer.get());
    }
    parent->do_actions(buffers);
}

void button_character_instance::play_sound(const event_id& id) {
    const int entry = sound_of(id.m_id);
    sound_handler* handler = get_sound_handler();
    if (entry < 0 || !handler || !m_def->m_sound) {
        return;
    }
    const button_sound& sound = m_def->m_sound->m_button_sounds[entry];
    if (sound.m_sound_id == 0 || !sound.m_sample) {
        return;
    }
    if (sound.m_info.m_stop) {
        handler->stop_sound(sound.m_sample->m_sound_handler_id);
    } else {
        handler->play_sound(sound.m_sample->m_sound_handler_id, sound.m_info.m_loop_count);
    }
}

void button_character_instance::advance(float delta_time) {
    smart_ptr<button_character_instance> hold(this);
    do_mouse_drag();
    for (size_t i = 0; i < m_record_character.size(); i++) {
        smart_ptr<character> child = m_record_character[i];
        if (shown_child(i)) {
            child->advance(delta_time);
        }
    }
}

// Hit-test records answer through their children, so that a sprite or a text used as the hit
// area hits where it draws (their definitions have no point test of their own).
character* button_character_instance::get_topmost_mouse_entity(float x, float y) {
    if (!get_visible()) {
        return nullptr;
    }
    point local;
    get_matrix().transform_by_inverse(&local, point(x, y));
    for (size_t i = 0; i < m_record_character.size(); i++) {
        character* child = m_record_character[i].get_ptr();
        if (child && m_def->m_button_records[i].m_hit_test && child->get_topmost_mouse_entity(local.x, local.y)) {
            return this;
        }
    }
    return nullptr;
}

void button_character_instance::execute_frame_tags(int frame, bool state_only) {
    if (frame != 0) {
        log_error("button_character_instance::execute_frame_tags: a button has no frame %d\n", frame);
        return;
    }
    for (const smart_ptr<character>& child : m_record_character) {
        if (child) {
            child->execute_frame_tags(frame, state_only);
        }
    }
}

void button_character_instance::display() {
    if (!get_visible()) {
        return;
    }
    smart_ptr<button_character_instance> hold(this);
    for (size_t i = 0; i < m_record_character.size(); i++) {
        if (character* child = shown_child(i)) {
            child->display();
        }
    }
    do_display_callback();
}

void button_character_instance::get_bound(rect* r) {
    if (m_record_character.empty()) {
        return;
    }
    *r = rect(FLT_MAX, -FLT_MAX, FLT_MAX, -FLT_MAX);
    for (size_t i = 0; i < m_record_character.size(); i++) {
        if (character* child = shown_child(i)) {
            rect child_bound;
            child->get_bound(&child_bound);
            // A nested button that shows nothing answers the empty box, which a transform would
            // turn into a box of everything.
            if (child_bound.x_min > child_bound.x_max || child_bound.y_min > child_bound.y_max) {
                continue;
            }
            get_matrix().transform(&child_bound);
            r->expand_to_rect(child_bound);
        }
    }
}

void button_character_instance::this_alive(player* marker) {
    character::this_alive(marker);
    for (const smart_ptr<character>& child : m_record_character) {
        marker->mark_alive(child.get_ptr());
    }
}

}  // namespace swfplayer
