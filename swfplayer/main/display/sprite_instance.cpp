#include "swfplayer/main/display/sprite_instance.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/point.h"
#include "swfplayer/main/display/execute_actions.h"
#include "swfplayer/main/display/execute_tag.h"
#include "swfplayer/main/script/call_method.h"
#include "swfplayer/main/script/event_id.h"
#include "swfplayer/main/script/instruction_budget.h"
#include "swfplayer/main/script/movie_root.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/script/standard_member.h"

#include <cassert>
#include <cfloat>

namespace swfplayer {

sprite_instance::sprite_instance(player* owner, movie_definition_sub* def, movie_root* root, character* parent, int id)
    : character(owner, parent, id), m_def(def), m_root(root), m_environment(owner) {
    assert(def);
    m_environment.set_target(this);
    // A sprite without a parent is the movie itself: on the stage for as long as it lives.
    set_active(parent == nullptr);
    int frames = def->get_frame_count();
    m_init_actions_executed.resize(frames > 0 ? frames : 0);
    for (uint8_t& flag : m_init_actions_executed) {
        flag = 0;
    }
    if (owner) {
        owner->clear_heap_flag(this);
    }
    // Clips are instances of the global MovieClip class when the built-in classes provide one.
    as_object* global = get_global();
    as_value movie_clip;
    if (global && global->get_member("MovieClip", &movie_clip) && movie_clip.to_function()) {
        store_constructor(movie_clip);
    }
}

sprite_instance::~sprite_instance() = default;

bool sprite_instance::get_member(const base_stringi& name, as_value* value) {
    player* owner = get_player();
    if (owner && owner->get_builtin(BUILTIN_MOVIECLIP, name, value)) {
        return true;
    }
    int number = -1;
    switch (get_standard_member(name)) {
    case M_CURRENTFRAME: number = m_current_frame + 1; break;
    case M_TOTALFRAMES: number = get_frame_count(); break;
    case M_FRAMESLOADED: number = get_loading_frame(); break;
    case M_ENABLED: value->set_bool(m_enabled); return true;
    default:
        if (character* child = m_display_list.get_character_by_name_i(name)) {
            value->set_as_object(child);
            return true;
        }
        return character::get_member(name, value);
    }
    if (number < 0) {
        value->set_undefined();
    } else {
        value->set_double(number);
    }
    return true;
}

bool sprite_instance::set_member(const base_stringi& name, const as_value& value) {
    if (get_standard_member(name) == M_ENABLED) {
        m_enabled = value.to_bool();
        return true;
    }
    return character::set_member(name, value);
}

bool sprite_instance::on_event(const event_id& id) {
    const base_string& name = id.handler_name();
    as_value handler;
    if (name.size() == 0 || !get_member(name, &handler)) {
        return false;
    }
    smart_ptr<sprite_instance> hold(this);
    int nargs = id.m_args ? id.m_args->size() : 0;
    for (int i = nargs - 1; i >= 0; i--) {
        m_environment.push((*id.m_args)[i]);
    }
    swfplayer::call_method(handler, &m_environment, as_value(this), nargs, m_environment.get_top_index());
    m_environment.drop(nargs);
    return true;
}

void sprite_instance::enumerate(as_environment* env) {
    as_object::enumerate(env);
    // Every child is walked, the unnamed ones too (the names pushed are charged by the caller).
    instruction_budget::charge(m_display_list.size());
    for (int i = 0; i < m_display_list.size(); i++) {
        const base_string& name = m_display_list.get_character(i)->get_name();
        if (name.size() > 0) {
            env->push(as_value(name.c_str()));
        }
    }
}

void sprite_instance::clear_refs(as_object_set* visited, as_object* target) {
    if (visited->find_index(this) != -1) {
        return;
    }
    as_object::clear_refs(visited, target);
    m_display_list.clear_refs(visited, target);
    m_environment.clear_refs(visited, target);
    for (auto& entry : m_frame_scripts) {
        if (is_cleared_ref(entry.second.get_ptr(), target)) {
            entry.second = nullptr;
        }
    }
    if (is_cleared_ref(m_pending_frame_script.get_ptr(), target)) {
        m_pending_frame_script = nullptr;
    }
}

void sprite_instance::this_alive(player* marker) {
    as_object::this_alive(marker);
    m_display_list.mark_alive(marker);
    m_environment.mark_alive(marker);
    for (const auto& entry : m_frame_scripts) {
        marker->mark_alive(entry.second.get_ptr());
    }
    marker->mark_alive(m_pending_frame_script.get_ptr());
}

void sprite_instance::dump(base_string& indent) {
    base_string saved = indent;
    indent += "  ";
    log_msg("%s*** movieclip %p ***\n", indent.c_str(), static_cast<void*>(this));
    as_object::dump(indent);
    m_display_list.dump(indent);
    indent = saved;
}

// One frame step: the queued goto actions, the new frame's tags, onEnterFrame, the frame's
// actions, then the children. The first step fires onLoad instead of advancing the frame (the
// first frame was built when the sprite was placed).
void sprite_instance::advance(float delta_time) {
    smart_ptr<sprite_instance> hold(this);
    if (!m_has_advanced) {
        m_def->construct_symbol_class(this);
        on_event(event_id(event_id::LOAD));
    }
    do_mouse_drag();
    if (!m_goto_action_list.empty()) {
        // Swapped out first: a goto run by these actions queues its own for the next step.
        array<action_buffer*> pending;
        pending.swap(m_goto_action_list);
        execute_actions(&m_environment, pending);
    }
    if (m_play_state == PLAY) {
        int previous = m_current_frame;
        if (m_has_advanced && ++m_current_frame >= get_frame_count()) {
            m_current_frame = 0;
        }
        if (m_current_frame != previous) {
            if (m_current_frame == 0 && get_frame_count() >= 2) {
                // The timeline looped: only what frame 0 places stays, beside what scripts
                // placed (clips they made, the drawing canvas), which the timeline does not own.
                array<int> depths;
                for (execute_tag* tag : m_def->get_playlist(0)) {
                    uint32_t depth_id = tag->get_depth_id_of_replace_or_add_tag();
                    if (depth_id != 0xFFFFFFFF) {
                        depths.push_back(static_cast<int>(depth_id >> 16));
                    }
                }
                for (int i = 0; i < m_display_list.size(); i++) {
                    if (m_display_list.get_character(i)->get_place_key() < 0) {
                        depths.push_back(m_display_list.get_character(i)->get_depth());
                    }
                }
                if (depths.empty()) {
                    m_display_list.clear();
                } else {
                    m_display_list.clear_except(depths);
                }
            }
            execute_frame_tags(m_current_frame, false);
        }
    }
    if (m_has_advanced) {
        on_event(event_id(event_id::ENTER_FRAME));
    }
    run_action_list();
    run_pending_frame_script();
    m_display_list.advance(delta_time);
    m_has_advanced = true;
}

void sprite_instance::run_action_list() {
    for (int round = 0; !m_action_list.empty(); round++) {
        if (round == max_action_rounds) {
            log_error("sprite_instance: actions kept queueing actions for %d rounds; the rest are dropped\n", round);
            m_action_list.clear();
            return;
        }
        array<action_buffer*> running;
        running.swap(m_action_list);
        execute_actions(&m_environment, running);
    }
}

void sprite_instance::display() {
    if (!get_visible() || !is_displayable()) {
        return;
    }
    if (!m_has_advanced) {
        advance(1.0f);
    }
    m_display_list.display();
    do_display_callback();
}

void sprite_instance::get_bound(rect* r) {
    if (m_display_list.size() == 0) {
        *r = rect(0.0f, 0.0f, 0.0f, 0.0f);
        return;
    }
    *r = rect(FLT_MAX, -FLT_MAX, FLT_MAX, -FLT_MAX);
    for (int i = 0; i < m_display_list.size(); i++) {
        rect child;
        m_display_list.get_character(i)->get_bound(&child);
        get_matrix().transform(&child);
        r->expand_to_rect(child);
    }
}

// The topmost child hit, unless a child below it takes mouse events: then that one. A clip that
// takes mouse events itself answers for all its children.
character* sprite_instance::get_topmost_mouse_entity(float x, float y) {
    if (!get_visible()) {
        return nullptr;
    }
    point local;
    get_matrix().transform_by_inverse(&local, point(x, y));
    character* topmost = nullptr;
    character* handler = nullptr;
    for (int i = m_display_list.size() - 1; i >= 0 && handler == nullptr; i--) {
        character* child = m_display_list.get_character(i);
        if (!child->get_visible()) {
            continue;
        }
        character* hit = child->get_topmost_mouse_entity(local.x, local.y);
        if (hit && topmost == nullptr) {
            topmost = hit;
        }
        if (hit && hit->can_handle_mouse_event()) {
            handler = hit;
        }
    }
    if (topmost == nullptr) {
        return nullptr;
    }
    if (can_handle_mouse_event()) {
        return this;
    }
    return handler ? handler : topmost;
}

void sprite_instance::get_mouse_state(int* x, int* y, int* buttons) {
    if (movie_root* root = m_root.get_ptr()) {
        root->get_mouse_state(x, y, buttons);
    } else {
        *x = *y = *buttons = 0;
    }
}

float sprite_instance::get_pixel_scale() {
    movie_root* root = m_root.get_ptr();
    return root ? root->get_pixel_scale() : 1.0f;
}

void sprite_instance::get_drag_state(drag_state* state) {
    movie_root* root = m_root.get_ptr();
    *state = root ? root->get_drag_state() : drag_state();
}

void sprite_instance::set_drag_state(const drag_state& state) {
    if (movie_root* root = m_root.get_ptr()) {
        root->set_drag_state(state);
    }
}

void sprite_instance::stop_drag() {
    movie_root* root = m_root.get_ptr();
    if (root && get_parent() == nullptr) {
        root->stop_drag();
    }
}

void sprite_instance::set_background_color(const rgba& color) {
    if (movie_root* root = m_root.get_ptr()) {
        root->set_background_color(color);
    }
}

float sprite_instance::get_background_alpha() {
    movie_root* root = m_root.get_ptr();
    return root ? root->get_background_alpha() : 1.0f;
}

character* sprite_instance::get_root_movie() {
    movie_root* root = m_root.get_ptr();
    return root ? cast_to_character(root->get_root_movie()) : nullptr;
}

// A whole movie answers from its export table; clips defined inside a movie, and clips made by
// script, ask their parents.
character_def* sprite_instance::find_exported_resource(const base_string& name) {
    if (m_def->is(AS_MOVIE_DEF)) {
        if (character_def* found = m_def->get_exported_resource(name)) {
            return found;
        }
    }
    if (character* parent = get_parent()) {
        return parent->find_exported_resource(name);
    }
    if (get_verbose_action()) {
        log_msg("can't find exported resource '%s'\n", name.c_str());
    }
    return nullptr;
}

bool sprite_instance::has_keypress_event() {
    as_value value;
    return get_member("onKeyPress", &value);
}

bool sprite_instance::can_handle_mouse_event() {
    if (!is_enabled()) {
        return false;
    }
    as_value value;
    for (const char* name : mouse_handler_names) {
        if (get_member(name, &value)) {
            return true;
        }
    }
    return false;
}

bool sprite_instance::is_enabled() const {
    if (!m_enabled) {
        return false;
    }
    character* parent = get_parent();
    return parent == nullptr || parent->is_enabled();
}

bool sprite_instance::may_add_child(const char* operation) const {
    if (get_nesting() >= max_nesting) {
        log_error("sprite::%s(): clips nested more than %d deep; not placed\n", operation, max_nesting);
        return false;
    }
    player* owner = get_player();
    if (owner && nesting_of(owner).m_characters >= max_characters) {
        log_error("sprite::%s(): the movie holds %d characters already; no more are made\n", operation, max_characters);
        return false;
    }
    return true;
}

int sprite_instance::get_nesting() const {
    int nesting = 0;
    for (character* p = get_parent(); p && nesting <= max_nesting; p = p->get_parent()) {
        nesting++;
    }
    return nesting;
}

sprite_instance* cast_to_sprite_instance(as_object* object) {
    return object && object->is(AS_SPRITE) ? static_cast<sprite_instance*>(object) : nullptr;
}

}  // namespace swfplayer
