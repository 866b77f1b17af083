#pragma once

#include "swfplayer/main/script/as_object.h"

namespace swfplayer {

// What the root feeds key presses and releases into: the global "Key" object. The root looks
// the global up for every key event and forwards it only while it is still this object
// (is(AS_KEY)), so script that replaces "Key" stops the forwarding.
class key_input : public as_object {
public:
    explicit key_input(player* owner) : as_object(owner) {}

    // Codes are Windows virtual-key codes; codes outside 0..222 are ignored.
    virtual void set_key_down(int code) = 0;
    virtual void set_key_up(int code) = 0;
};

// The player's global "Key" while it is the key object, else null.
key_input* find_key_input(player* owner);

}  // namespace swfplayer
