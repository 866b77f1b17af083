#include "swfplayer/main/player/root.h"

#include "swfplayer/base/base_random.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/player/frame_scope.h"
#include "swfplayer/main/render/render_handler.h"
#include "swfplayer/main/script/event_id.h"
#include "swfplayer/main/script/player.h"

#include <cassert>
#include <cmath>
#include <cstring>
#include <string>

namespace swfplayer {

root::root(player* owner, movie_def_impl* def) : m_def(def), m_player(owner) {
    assert(m_def != NULL);
    set_display_viewport(0, 0, get_movie_width(), get_movie_height());
    // A frame rate of 0 gives an endless frame time: such a movie never ticks.
    m_frame_time = 1.0f / m_def->get_frame_rate();
    if (owner) {
        owner->set_root(this);
    }
}

root::~root() {
    // Both are given when the root is made (create_instance).
    assert(movie() != NULL);
    set_root_movie(nullptr);
    assert(m_def != NULL);
}

sprite_instance* root::get_root_sprite() const {
    return cast_to_sprite_instance(get_root_movie());
}

sprite_instance* root::movie() const {
    sprite_instance* m_movie = get_root_sprite();
    assert(m_movie != NULL);
    return m_movie;
}

bool root::reserved_checked_query() {
    return movie()->reserved_checked_query();
}

void root::set_display_viewport(int x0, int y0, int width, int height) {
    m_viewport_x0 = x0;
    m_viewport_y0 = y0;
    m_viewport_width = width;
    m_viewport_height = height;
    const rect& frame = m_def->get_frame_size();
    float scale_x = static_cast<float>(width) / ((frame.x_max - frame.x_min) / 20.0f);
    float scale_y = static_cast<float>(height) / ((frame.y_max - frame.y_min) / 20.0f);
    // An empty frame rectangle has no scale of its own: the side that has one decides, else 1.
    bool has_x = std::isfinite(scale_x);
    bool has_y = std::isfinite(scale_y);
    float scale = 1.0f;
    if (has_x && has_y) {
        scale = scale_y > scale_x ? scale_y : scale_x;
    } else if (has_x || has_y) {
        scale = has_x ? scale_x : scale_y;
    }
    set_pixel_scale(scale);
}

void root::set_background_alpha(float alpha) {
    float scaled = alpha * 255.0f + 0.5f;
    int byte = 0;
    if (scaled >= 255.0f) {
        byte = 255;
    } else if (scaled >= 1.0f) {
        byte = static_cast<int>(scaled);
    }
    rgba color = get_background_color();
    color.a = static_cast<uint8_t>(byte);
    set_background_color(color);
}

void root::set_frame_rate(float fps) {
    if (!(fps >= 1.0f && fps <= 120.0f)) {
        return;
    }
    m_frame_time = 1.0f / fps;
    m_def->set_frame_rate(fps);
}

// A movie loaded into the root movie takes over at a safe point: before this advance starts
// (a request made between advances, by the host or a key event) or after it ends (a request
// made by this advance's scripts), never while a script of the old movie runs.
void root::advance(float dt) {
    smart_ptr<root> hold(this);
    replace_if_requested();
    if (m_replacement) {
        smart_ptr<root> next = m_replacement;
        next->advance(dt);
        return;
    }
    play(dt);
    replace_if_requested();
}

void root::play(float dt) {
    if (!(dt >= 0.0f && std::isfinite(dt))) {
        dt = 0.0f;
    }
    // The frame's timers, events and actions share one script budget and one allowance of
    // network waits; a movie advanced from inside a script, or inside a frame its host opened
    // around several movies, shares those of the outer frame.
    const frame_scope frame;
    smart_ptr<sprite_instance> movie = get_root_sprite();
    smart_ptr<player> owner = m_player.get_ptr();
    if (movie == nullptr) {
        return;
    }
    int mouse_x = 0;
    int mouse_y = 0;
    int buttons = 0;
    get_mouse_state(&mouse_x, &mouse_y, &buttons);
    m_topmost_entity =
        movie->get_topmost_mouse_entity(static_cast<float>(mouse_x * 20.0), static_cast<float>(mouse_y * 20.0));
    m_mouse_down_now = (buttons & 1) != 0;
    update_mouse_buttons();
    if (owner) {
        owner->advance_frame_objects(dt);
    }
    m_time_remainder += dt;
    if (!(m_time_remainder >= m_frame_time)) {
        return;
    }
    if (owner) {
        owner->set_all_heap_flags();
    }
    base_random::next_random();
    if (!m_on_load_done) {
        apply_flash_vars();
    }
    // The root sprite's first advance sends its own onLoad; a second one from here would run
    // the movie's load handler twice.
    movie->advance(std::floor(m_time_remainder / m_frame_time) * m_frame_time);
    m_on_load_done = true;
    m_time_remainder = std::fmod(m_time_remainder - m_frame_time, m_frame_time);
    if (!std::isfinite(m_time_remainder)) {
        m_time_remainder = 0.0f;
    }
    // A movie advanced from inside a script (a host handler of that script's FSCommand) leaves
    // the collection to the outermost advance: the running script holds objects nobody can see.
    if (owner && frame_scope::is_outside_scripts()) {
        owner->sweep_heap();
    }
}

void root::apply_flash_vars() {
    player* owner = m_player.get_ptr();
    sprite_instance* movie = get_root_sprite();
    if (owner == nullptr || movie == nullptr) {
        return;
    }
    // name=value,name=value; values stay strings.
    const char* text = owner->get_flash_vars().c_str();
    while (const char* equals = std::strchr(text, '=')) {
        std::string name(text, equals);
        const char* value = equals + 1;
        const char* comma = std::strchr(value, ',');
        std::string value_text = comma ? std::string(value, comma) : std::string(value);
        movie->set_member(name.c_str(), as_value(value_text.c_str()));
        if (comma == nullptr) {
            break;
        }
        text = comma + 1;
    }
}

void root::display() {
    if (m_replacement) {
        smart_ptr<root> next = m_replacement;
        next->display();
        return;
    }
    sprite_instance* movie = get_root_sprite();
    if (movie == nullptr || !movie->get_visible()) {
        return;
    }
    const rect& frame = m_def->get_frame_size();
    render::begin_display(get_background_color(), m_viewport_x0, m_viewport_y0, m_viewport_width, m_viewport_height,
                          frame.x_min, frame.x_max, frame.y_min, frame.y_max);
    movie->display();
    render::end_display();
}

bool root::goto_labeled_frame(const char* label) {
    int frame = -1;
    if (!m_def->get_labeled_frame(label, &frame)) {
        if (get_verbose_action()) {
            log_error("error: movie_impl::goto_labeled_frame('%s') unknown label\n", label);
        }
        return false;
    }
    goto_frame(frame);
    return true;
}

void root::set_play_state(character::play_state state) {
    movie()->set_play_state(state);
}

character::play_state root::get_play_state() const {
    return movie()->get_play_state();
}

void root::set_variable(const char* path, const wchar_t* value) {
    movie()->set_variable(path, value);
}

void root::set_variable(const char* path, const char* value) {
    movie()->set_variable(path, value);
}

const char* root::get_variable(const char* path) const {
    return movie()->get_variable(path);
}

base_string root::call_method(const char* name, const as_value* args, int count) {
    return movie()->call_method(name, args, count);
}

const char* root::call_method(const char* name, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const char* result = call_method_args(name, format, args);
    va_end(args);
    return result;
}

const char* root::call_method_args(const char* name, const char* format, va_list args) {
    return movie()->call_method_args(name, format, args);
}

void root::set_visible(bool visible) {
    movie()->set_visible(visible);
}

bool root::get_visible() const {
    return movie()->get_visible();
}

void root::set_display_callback(const char* path, character::display_callback callback, void* user) {
    movie()->set_display_callback(path, callback, user);
}

int root::get_movie_version() const {
    return m_def->get_version();
}

int root::get_movie_width() const {
    return static_cast<int>(m_def->get_width_pixels());
}

int root::get_movie_height() const {
    return static_cast<int>(m_def->get_height_pixels());
}

float root::get_movie_fps() const {
    return m_def->get_frame_rate();
}

int root::get_current_frame() const {
    return movie()->get_current_frame();
}

void root::goto_frame(int frame) {
    movie()->goto_frame(frame);
}

void root::notify_key_event(int code, bool down) {
    movie_root::notify_key_event(m_player.get_ptr(), code, down);
}

}  // namespace swfplayer
