// What the host asks of a movie's script through its root sprite: method calls, variables by
// path and display callbacks.
#include "swfplayer/base/log.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/script/call_method.h"
#include "swfplayer/main/script/call_method_parsed.h"
#include "swfplayer/main/script/movie_root.h"

#include <algorithm>

namespace swfplayer {

namespace {

// Paths are resolved as the host gives them, outside any With block.
const array<with_stack_entry>& no_with_blocks() {
    static const array<with_stack_entry> empty;
    return empty;
}

}  // namespace

base_string sprite_instance::call_method(const char* name, const as_value* args, int nargs) {
    as_value method;
    if (name == nullptr || !get_member(name, &method)) {
        return base_string();
    }
    smart_ptr<sprite_instance> hold(this);
    nargs = args ? std::max(nargs, 0) : 0;
    for (int i = nargs - 1; i >= 0; i--) {
        m_environment.push(args[i]);
    }
    as_value result =
        swfplayer::call_method(method, &m_environment, as_value(this), nargs, m_environment.get_top_index());
    m_environment.drop(nargs);
    return result.to_base_string();
}

const char* sprite_instance::call_method_args(const char* name, const char* format, va_list args) {
    smart_ptr<sprite_instance> hold(this);
    return call_method_parsed(&m_environment, this, name, format, args);
}

bool sprite_instance::is_root_movie(const char* operation) const {
    if (get_parent() != nullptr) {
        log_error("sprite_instance::%s: only the root movie answers this\n", operation);
        return false;
    }
    return true;
}

bool sprite_instance::can_set_variable(const char* path, bool has_value) const {
    if (!is_root_movie("set_variable")) {
        return false;
    }
    if (path == nullptr) {
        log_error("error: NULL path_to_var passed to set_variable()\n");
        return false;
    }
    if (!has_value) {
        log_error("error: NULL passed to set_variable('%s', NULL)\n", path);
        return false;
    }
    return true;
}

void sprite_instance::set_variable(const char* path, const wchar_t* value) {
    if (can_set_variable(path, value != nullptr)) {
        m_environment.set_variable(path, as_value(value), no_with_blocks());
    }
}

void sprite_instance::set_variable(const char* path, const char* value) {
    if (can_set_variable(path, value != nullptr)) {
        m_environment.set_variable(path, as_value(value), no_with_blocks());
    }
}

const char* sprite_instance::get_variable(const char* path) {
    static base_string s_text;
    if (!is_root_movie("get_variable") || path == nullptr) {
        return "";
    }
    s_text = m_environment.get_variable(path, no_with_blocks()).to_base_string();
    return s_text.c_str();
}

void sprite_instance::set_display_callback(const char* path, display_callback callback, void* user) {
    if (!is_root_movie("set_display_callback") || path == nullptr) {
        return;
    }
    as_value value = m_environment.get_variable(path, no_with_blocks());
    if (character* ch = cast_to_character(value.to_object())) {
        ch->set_display_callback(callback, user);
    }
}

void sprite_instance::set_fps(float fps) {
    if (movie_root* root = get_movie_root()) {
        root->set_frame_rate(fps);
    }
}

}  // namespace swfplayer
