#include "swfplayer/main/display/character.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/finite_float.h"
#include "swfplayer/main/common/point.h"
#include "swfplayer/main/display/character_def.h"
#include "swfplayer/main/display/display_list.h"
#include "swfplayer/main/script/movie_root.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/script/standard_member.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace swfplayer {

namespace {

// Reports a timeline call made on a character that has no timeline.
void not_a_sprite(const char* operation) {
    log_error("character::%s: only sprites answer this\n", operation);
}

// Reports a call of an operation that no character provides.
void not_provided(const char* operation) {
    log_error("character::%s: no character provides this\n", operation);
}

// A width or height of a bound; too small, broken (NaN) or negative sizes count as 0.
float bound_size(float min, float max) {
    float size = max - min;
    return size >= FLT_MIN ? size : 0.0f;
}

}  // namespace

character::character(player* owner, character* parent, int id)
    : as_object(owner), m_id(id), m_parent(parent), m_had_parent(parent != nullptr) {
    if (owner) {
        nesting_of(owner).m_characters++;
    }
}

bool character::has_left_stage() const {
    for (const character* ch = this;;) {
        if (ch->m_left_stage) {
            return true;
        }
        const character* parent = ch->get_parent();
        if (parent == nullptr) {
            return ch->m_had_parent;
        }
        ch = parent;
    }
}

character::~character() {
    if (player* owner = get_player()) {
        nesting_of(owner).m_characters--;
    }
}

void character::set_name(const base_string& name) {
    const base_string old_name = m_name;
    m_name = name;
    for (display_list* list : std::vector<display_list*>(m_holding_lists)) {
        list->rename(this, old_name);
    }
}

void character::remove_holding_list(display_list* list) {
    auto found = std::find(m_holding_lists.begin(), m_holding_lists.end(), list);
    if (found != m_holding_lists.end()) {
        m_holding_lists.erase(found);
    }
}

bool character::get_member(const base_stringi& name, as_value* value) {
    switch (get_standard_member(name)) {
    case M_X: value->set_double(m_matrix.m[0][2] / 20.0); return true;
    case M_Y: value->set_double(m_matrix.m[1][2] / 20.0); return true;
    case M_XSCALE: value->set_double(m_matrix.get_x_scale() * 100.0); return true;
    case M_YSCALE: value->set_double(m_matrix.get_y_scale() * 100.0); return true;
    case M_ALPHA: value->set_double(m_color_transform.m[3][0] * 100.0); return true;
    case M_VISIBLE: value->set_bool(get_visible()); return true;
    case M_WIDTH: value->set_double(std::trunc(get_width() / 20.0)); return true;
    case M_HEIGHT: value->set_double(std::trunc(get_height() / 20.0)); return true;
    case M_ROTATION: value->set_double(m_matrix.get_rotation() * 57.2957763671875); return true;
    case M_TARGET: value->set_base_string(get_target_path()); return true;
    case M_NAME: value->set_base_string(m_name); return true;
    case M_DROPTARGET: value->set_string("/_root"); return true;
    case M_URL: value->set_string("swfplayer"); return true;
    case M_HIGHQUALITY: value->set_bool(true); return true;
    case M_FOCUSRECT: value->set_bool(false); return true;
    case M_SOUNDBUFTIME: value->set_double(0.0); return true;
    case M_XMOUSE: value->set_double(get_local_mouse().x / 20.0); return true;
    case M_YMOUSE: value->set_double(get_local_mouse().y / 20.0); return true;
    case M_PARENT:
    case M_DOTDOT: value->set_as_object(get_parent()); return true;
    case M_THIS:
    case M_DOT: value->set_as_object(this); return true;
    case M_ROOT:
    case M_LEVEL0: value->set_as_object(get_root_movie()); return true;
    case M_GLOBAL: value->set_as_object(get_global()); return true;
    default: return as_object::get_member(name, value);
    }
}

bool character::set_member(const base_stringi& name, const as_value& value) {
    matrix m = m_matrix;
    switch (get_standard_member(name)) {
    case M_X:
        m.m[0][2] = finite_or_zero(value.to_number() * 20.0);
        set_matrix(m);
        return true;
    case M_Y:
        m.m[1][2] = finite_or_zero(value.to_number() * 20.0);
        set_matrix(m);
        return true;
    case M_XSCALE:
        m.set_scale_rotation(static_cast<float>(value.to_number() / 100.0), m.get_y_scale(), m.get_rotation());
        set_matrix(m);
        return true;
    case M_YSCALE:
        m.set_scale_rotation(m.get_x_scale(), static_cast<float>(value.to_number() / 100.0), m.get_rotation());
        set_matrix(m);
        return true;
    case M_ALPHA: m_color_transform.m[3][0] = finite_or_zero(value.to_number() / 100.0); return true;
    case M_VISIBLE: set_visible(value.to_bool()); return true;
    case M_WIDTH:
    case M_HEIGHT: {
        // Sizes are set through the scale; a character without extent cannot be scaled to one.
        bool width = get_standard_member(name) == M_WIDTH;
        double wanted = value.to_number();
        double current = (width ? get_width() : get_height()) / 20.0;
        if (wanted > 0.0 && current > 0.0) {
            float x_scale = m.get_x_scale();
            float y_scale = m.get_y_scale();
            if (width) {
                x_scale = static_cast<float>(x_scale * wanted / current);
            } else {
                y_scale = static_cast<float>(y_scale * wanted / current);
            }
            m.set_scale_rotation(x_scale, y_scale, m.get_rotation());
            set_matrix(m);
        }
        return true;
    }
    case M_ROTATION:
        m.set_scale_rotation(m.get_x_scale(), m.get_y_scale(),
                             static_cast<float>(value.to_number() * 3.1415927410125732 / 180.0));
        set_matrix(m);
        return true;
    case M_NAME: set_name(value.to_base_string()); return true;
    case M_HIGHQUALITY:
    case M_FOCUSRECT:
    case M_SOUNDBUFTIME: return true;
    default: return as_object::set_member(name, value);
    }
}

base_string character::get_target_path() {
    character* parent = get_parent();
    if (parent == nullptr) {
        return "/";
    }
    base_string path = parent->get_target_path();
    if (!(path == "/")) {
        path += "/";
    }
    path += m_name.size() > 0 ? m_name.c_str() : "noname";
    return path;
}

point character::get_local_mouse() {
    int x = 0;
    int y = 0;
    int buttons = 0;
    get_mouse_state(&x, &y, &buttons);
    point local;
    get_world_matrix().transform_by_inverse(&local, point(x * 20.0f, y * 20.0f));
    return local;
}

void character::get_mouse_state(int* x, int* y, int* buttons) {
    if (character* parent = get_parent()) {
        parent->get_mouse_state(x, y, buttons);
    } else if (movie_root* root = get_root()) {
        root->get_mouse_state(x, y, buttons);
    } else {
        *x = *y = *buttons = 0;
    }
}

movie_definition* character::get_movie_definition() {
    character* parent = get_parent();
    return parent ? parent->get_movie_definition() : nullptr;
}

character_def* character::find_exported_resource(const base_string& name) {
    character* parent = get_parent();
    return parent ? parent->find_exported_resource(name) : nullptr;
}

base_string character::call_method(const char*, const as_value*, int) {
    not_a_sprite("call_method");
    return base_string();
}

const char* character::call_method(const char* name, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const char* result = call_method_args(name, format, args);
    va_end(args);
    return result;
}

const char* character::call_method_args(const char*, const char*, va_list) {
    not_a_sprite("call_method_args");
    return nullptr;
}

character::play_state character::get_play_state() const {
    not_a_sprite("get_play_state");
    return STOP;
}

bool character::goto_labeled_frame(const char*) {
    not_a_sprite("goto_labeled_frame");
    return false;
}

execute_tag* character::find_previous_place_tag(int, int, int) {
    return nullptr;
}

void character::call_frame_actions(const as_value&) {
    not_a_sprite("call_frame_actions");
}

void character::remove_display_object(const base_string&) {
    not_a_sprite("remove_display_object");
}

void character::remove_display_object(int, int) {}

void character::remove_display_object(character*) {
    not_a_sprite("remove_display_object");
}

character* character::replace_me(movie_definition*) {
    not_a_sprite("replace_me");
    return nullptr;
}

character* character::replace_me(character_def*) {
    not_a_sprite("replace_me");
    return nullptr;
}

character* character::add_display_object(uint16_t, const base_string&, const array<swf_event*>&, int, bool,
                                         const cxform&, const matrix&, float, uint16_t) {
    return nullptr;
}

void character::move_display_object(int, bool, const cxform&, bool, const matrix&, float, uint16_t) {}

void character::replace_display_object(character*, const base_string&, int, bool, const cxform&, bool, const matrix&,
                                       float, uint16_t) {}

void character::replace_display_object(uint16_t, const base_string&, int, bool, const cxform&, bool, const matrix&,
                                       float, uint16_t) {}

character* character::clone_display_object(const base_string&, int) {
    not_a_sprite("clone_display_object");
    return nullptr;
}

void character::add_action_buffer(action_buffer*) {
    // Frame actions reach only sprites; anything else that is handed some drops them.
    log_error("character::add_action_buffer: actions ignored by a character that is not a sprite\n");
}

void character::do_actions(const array<action_buffer*>&) {
    not_a_sprite("do_actions");
}

void character::get_drag_state(drag_state* state) {
    if (character* parent = get_parent()) {
        parent->get_drag_state(state);
    } else if (movie_root* root = get_root()) {
        *state = root->get_drag_state();
    } else {
        *state = drag_state();
    }
}

void character::set_drag_state(const drag_state&) {
    not_a_sprite("set_drag_state");
}

void character::stop_drag() {
    not_a_sprite("stop_drag");
}

void character::set_background_color(const rgba&) {}

int character::reserved_count() {
    not_provided("reserved_count");
    return 0;
}

void character::reserved_checked_operation(int) {
    not_provided("reserved_checked_operation");
}

void character::set_variable(const char*, const wchar_t*) {
    not_a_sprite("set_variable");
}

void character::set_variable(const char*, const char*) {
    not_a_sprite("set_variable");
}

const char* character::get_variable(const char*) {
    not_a_sprite("get_variable");
    return "";
}

void character::set_display_callback(const char*, display_callback, void*) {
    not_a_sprite("set_display_callback");
}

matrix character::get_world_matrix() const {
    matrix m;
    if (character* parent = get_parent()) {
        m = parent->get_world_matrix();
    }
    m.concatenate(m_matrix);
    return m;
}

cxform character::get_world_cxform() const {
    cxform cx;
    character* parent = get_parent();
    if (m_inherit_cxform && parent) {
        cx = parent->get_world_cxform();
    }
    cx.concatenate(m_color_transform);
    return cx;
}

float character::get_width() {
    rect r;
    get_bound(&r);
    return bound_size(r.x_min, r.x_max);
}

float character::get_height() {
    rect r;
    get_bound(&r);
    return bound_size(r.y_min, r.y_max);
}

void character::get_bound(rect* r) {
    character_def* def = get_character_def();
    if (def == nullptr) {
        *r = rect(0.0f, 0.0f, 0.0f, 0.0f);
        return;
    }
    def->get_bound(r);
    m_matrix.transform(r);
}

character_def* character::get_character_def() {
    not_a_sprite("get_character_def");
    return nullptr;
}

character* character::get_root_movie() {
    character* parent = get_parent();
    return parent ? parent->get_root_movie() : nullptr;
}

bool character::reserved_checked_query() {
    not_provided("reserved_checked_query");
    return false;
}

void character::set_display_callback(display_callback callback, void* user) {
    m_display_callback = callback;
    m_display_callback_user = user;
}

void character::do_display_callback() {
    if (m_display_callback) {
        m_display_callback(m_display_callback_user);
    }
}

void character::do_mouse_drag() {
    drag_state state;
    get_drag_state(&state);
    if (state.m_character.get_ptr() != this) {
        return;
    }
    int x = 0;
    int y = 0;
    int buttons = 0;
    get_mouse_state(&x, &y, &buttons);
    point mouse(x * 20.0f, y * 20.0f);
    if (state.m_bound) {
        mouse.x = std::fmax(state.m_bound_x0, std::fmin(mouse.x, state.m_bound_x1));
        mouse.y = std::fmax(state.m_bound_y0, std::fmin(mouse.y, state.m_bound_y1));
    }
    if (!state.m_lock_center) {
        return;
    }
    point local = mouse;
    if (character* parent = get_parent()) {
        parent->get_world_matrix().transform_by_inverse(&local, mouse);
    }
    m_matrix.m[0][2] = finite_or_zero(local.x);
    m_matrix.m[1][2] = finite_or_zero(local.y);
}

character* cast_to_character(as_object* object) {
    return object && object->is(AS_CHARACTER) ? static_cast<character*>(object) : nullptr;
}

}  // namespace swfplayer
