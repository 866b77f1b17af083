#include "swfplayer/main/swfplayer_as_classes/as_key.h"

#include "swfplayer/base/log.h"
#include "swfplayer/base/utf8.h"
#include "swfplayer/main/script/event_id.h"
#include "swfplayer/main/script/fn_call.h"

namespace swfplayer {

namespace {

as_key* this_key(const fn_call& fn) {
    return fn.this_ptr && fn.this_ptr->is(AS_KEY) ? static_cast<as_key*>(fn.this_ptr) : nullptr;
}

void key_add_listener(const fn_call& fn) {
    as_key* key = this_key(fn);
    if (key == nullptr) {
        return;
    }
    if (fn.nargs < 1) {
        log_error("key_add_listener needs one argument (the listener object)\n");
        return;
    }
    as_object* listener = fn.arg(0).to_object();
    if (listener == nullptr) {
        log_error("key_add_listener passed a NULL object; ignored\n");
        return;
    }
    key->add_listener(listener);
}

// The last key code as a one-character string; codes above 127 stand for the character of
// that code point, so the text stays valid UTF-8. Undefined before any key event.
void key_get_ascii(const fn_call& fn) {
    as_key* key = this_key(fn);
    if (key == nullptr || key->get_last_key_code() <= 0) {
        return;
    }
    char text[8] = {};
    int length = 0;
    encode_utf8_char(text, &length, static_cast<uint32_t>(key->get_last_key_code()));
    fn.result->set_string(text);
}

void key_get_code(const fn_call& fn) {
    if (as_key* key = this_key(fn)) {
        fn.result->set_int(key->get_last_key_code());
    }
}

void key_is_down(const fn_call& fn) {
    as_key* key = this_key(fn);
    if (key == nullptr) {
        return;
    }
    if (fn.nargs < 1) {
        log_error("key_is_down needs one argument (the key code)\n");
        return;
    }
    fn.result->set_bool(key->is_key_down(fn.arg(0).to_int()));
}

void key_is_toggled(const fn_call& fn) {
    if (this_key(fn)) {
        fn.result->set_bool(false);
    }
}

void key_remove_listener(const fn_call& fn) {
    as_key* key = this_key(fn);
    if (key == nullptr) {
        return;
    }
    if (fn.nargs < 1) {
        log_error("key_remove_listener needs one argument (the listener object)\n");
        return;
    }
    key->remove_listener(fn.arg(0).to_object());
}

}  // namespace

as_key::as_key(player* owner) : key_input(owner) {
    const struct {
        const char* name;
        int code;
    } codes[] = {
        {"BACKSPACE", 8}, {"CAPSLOCK", 20}, {"CONTROL", 17}, {"DELETEKEY", 46}, {"DOWN", 40}, {"END", 35},
        {"ENTER", 13},    {"ESCAPE", 27},   {"HOME", 36},    {"INSERT", 45},    {"LEFT", 37}, {"PGDN", 34},
        {"PGUP", 33},     {"RIGHT", 39},    {"SHIFT", 16},   {"SPACE", 32},     {"TAB", 9},   {"UP", 38},
    };
    for (const auto& code : codes) {
        set_member(code.name, as_value(code.code));
    }
    builtin_member("addListener", as_value(owner, key_add_listener));
    builtin_member("getAscii", as_value(owner, key_get_ascii));
    builtin_member("getCode", as_value(owner, key_get_code));
    builtin_member("isDown", as_value(owner, key_is_down));
    builtin_member("isToggled", as_value(owner, key_is_toggled));
    builtin_member("removeListener", as_value(owner, key_remove_listener));
}

bool as_key::is_key_down(int code) const {
    return code >= 0 && code <= max_key_code && (m_keymap[code >> 3] & (1 << (code & 7))) != 0;
}

void as_key::set_key_down(int code) {
    if (set_key(code, true)) {
        m_listeners.notify(event_id(event_id::KEY_DOWN));
    }
}

void as_key::set_key_up(int code) {
    if (set_key(code, false)) {
        m_listeners.notify(event_id(event_id::KEY_UP));
    }
}

bool as_key::set_key(int code, bool down) {
    if (code < 0 || code > max_key_code) {
        return false;
    }
    m_last_code = code;
    uint8_t bit = static_cast<uint8_t>(1 << (code & 7));
    m_keymap[code >> 3] = down ? (m_keymap[code >> 3] | bit) : (m_keymap[code >> 3] & ~bit);
    return true;
}

}  // namespace swfplayer
