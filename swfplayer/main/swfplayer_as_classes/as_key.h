#pragma once

#include "swfplayer/main/script/key_input.h"
#include "swfplayer/main/script/listener.h"

#include <cstdint>

namespace swfplayer {

// The global "Key" object: which keys are down, the last key pressed or released, and the
// objects that hear onKeyDown and onKeyUp. Its state changes only through the key events the
// root forwards (key_input); until then every key reads as up.
class as_key : public key_input {
public:
    // Highest key code the map holds.
    static constexpr int max_key_code = 222;

    explicit as_key(player* owner);

    bool is(int class_id) const override { return class_id == AS_KEY || as_object::is(class_id); }
    void set_key_down(int code) override;
    void set_key_up(int code) override;

    bool is_key_down(int code) const;
    int get_last_key_code() const { return m_last_code; }
    // False (logged by the list) when the list is full.
    bool add_listener(as_object* object) { return m_listeners.add(object); }
    void remove_listener(as_object* object) { m_listeners.remove(object); }

private:
    // Remembers the code and changes its bit, then tells the listeners; false for a code
    // outside the map.
    bool set_key(int code, bool down);

    uint8_t m_keymap[max_key_code / 8 + 1] = {};
    int m_last_code = 0;
    listener m_listeners;
};

}  // namespace swfplayer
