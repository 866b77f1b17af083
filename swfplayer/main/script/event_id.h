#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/base/base_string.h"
#include "swfplayer/main/script/as_value.h"

#include <cstdint>

namespace swfplayer {

// A clip or button event, with the key code of a key press and optional handler arguments.
struct event_id {
    enum id_code : uint8_t {
        INVALID = 0,
        PRESS,
        RELEASE,
        RELEASE_OUTSIDE,
        ROLL_OVER,
        ROLL_OUT,
        DRAG_OVER,
        DRAG_OUT,
        KEY_PRESS,
        INITIALIZE,
        LOAD,
        UNLOAD,
        ENTER_FRAME,
        MOUSE_DOWN,
        MOUSE_UP,
        MOUSE_MOVE,
        KEY_DOWN,
        KEY_UP,
        DATA,
        CONSTRUCT,
        SETFOCUS,
        KILLFOCUS,
        LOAD_COMPLETE,
        LOAD_ERROR,
        LOAD_INIT,
        LOAD_PROGRESS,
        LOAD_START,
        EVENT_COUNT
    };

    event_id() = default;
    event_id(uint8_t id, uint8_t key_code = 0, const array<as_value>* args = nullptr)
        : m_id(id), m_key_code(key_code), m_args(args) {}

    // The handler member name ("onLoad"); the empty string for ids outside 1..26.
    const base_string& handler_name() const;

    bool operator==(const event_id& other) const {
        return m_id == other.m_id && m_key_code == other.m_key_code && m_args == other.m_args;
    }

    uint8_t m_id = INVALID;
    uint8_t m_key_code = 0;
    // Handler arguments, argument 0 first; null for events without arguments.
    const array<as_value>* m_args = nullptr;
};

}  // namespace swfplayer
